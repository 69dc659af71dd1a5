// The models of real designs: the fitted worm flank against the meshing
// theory it comes from (model/meshing.h), the fit against the computed
// points, the worm solid's validity and extents, its STEP file read back by
// OpenCASCADE's reader; designs at the ends of the range of centre
// distances and numbers of starts (tools/model/check_step.py reads the files
// of the command line with DRAWEXE and FreeCAD).
#include "core/core_rules.h"
#include "core/design_form.h"
#include "model/meshing.h"
#include "model/occt/model_files.h"
#include "model/occt/solids.h"
#include "step_read_back.h"
#include "worm_extents.h"
#include "model/placement.h"
#include "model/surfaces.h"

#include <BRepBndLib.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Plane.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopoDS_Edge.hxx>
#include <gp_Circ.hxx>
#include <BRepClass3d_SolidClassifier.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <Bnd_Box.hxx>
#include <TopExp_Explorer.hxx>


#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using namespace tpworm;
using tpworm::testing::countOf;
using tpworm::testing::readStepBack;
namespace occt = tpworm::model::occt;

struct Case {
    const char* centreDistance;
    const char* teeth;
    const char* starts;
};

// The worked example and the smallest centre distance with one start; more
// designs (up to 1400 mm, 4 starts) in tools/model/check_step.py runs.
const Case kCases[] = {{"250", "45", "2"}, {"80", "31", "1"}};

DesignValues design(const Case& c)
{
    core::DesignRequest request;
    request.centreDistance = c.centreDistance;
    request.teeth = c.teeth;
    request.starts = c.starts;
    const core::DesignForm f = core::runDesign(request, coretest::exampleRules());
    EXPECT_TRUE(f.calculated());
    return f.design();
}

class DesignModels : public ::testing::TestWithParam<Case> {};

TEST_P(DesignModels, FittedWormFlanksTouchTheGeneratingPlaneWhereTheyMesh)
{
    const DesignValues d = design(GetParam());
    const model::WormSurfaces surfaces = model::wormSurfaces(d);
    model::Generation g = model::wormGeneration(d, true);
    model::placeThread(g);
    const occt::FittedFlanks fitted = occt::fitFlankPair(surfaces.threads[0]);
    EXPECT_LE(occt::largestDeviation(fitted.left, surfaces.threads[0].left), occt::kFitTolerance);
    EXPECT_LE(occt::largestDeviation(fitted.right, surfaces.threads[0].right), occt::kFitTolerance);
    // Points of the fitted faces between the grid's nodes, inside the part:
    // between tip and root, within the working length.
    int checked = 0;
    for (const auto& [surface, flank] : {std::pair{fitted.left, model::Flank::Left}, std::pair{fitted.right, model::Flank::Right}})
        for (double u = 0.13; u < 0.9; u += 0.117)
            for (double v = 0.0137; v < 1; v += 0.0371) {
                const gp_Pnt p = surface->Value(u, v);
                const model::Vec X{p.X(), p.Y(), p.Z()};
                const long double section = std::hypot(surfaces.centreDistance - std::hypot(X.x, X.y), X.z);
                if (std::abs(X.z) > surfaces.workingLength / 2 || section > surfaces.rootArcRadius
                    || std::hypot(X.x, X.y) > surfaces.maxTipDiameter / 2)
                    continue;
                long double theta = 0;
                const long double distance = model::distanceToGeneratingPlane(g, flank, X, &theta);
                EXPECT_LE(std::abs(distance), 0.001L) << "u " << u << " v " << v;
                ++checked;
            }
    EXPECT_GT(checked, 50);
}

// The solid and its file for the worked example only: a model takes
// seconds.
TEST(DesignModel, WormOfTheWorkedExampleIsOneValidSolidOfItsExtentsAndReadsBackFromStep)
{
    const DesignValues d = design(kCases[0]);
    const model::WormSurfaces surfaces = model::wormSurfaces(d);
    const QByteArray bytes = model::solidModelStep(model::SolidPart::Worm, d);
    TopoDS_Shape shape;
    ASSERT_NO_FATAL_FAILURE(readStepBack(bytes, shape));
    EXPECT_EQ(countOf(shape, TopAbs_SOLID), 1);
    EXPECT_TRUE(BRepCheck_Analyzer(shape).IsValid());
    EXPECT_GT(countOf(shape, TopAbs_FACE), 12) << "the threads are part of the solid";
    tpworm::testing::expectWormExtents(shape, surfaces);
}

Bnd_Box tightBox(const TopoDS_Shape& shape)
{
    Bnd_Box box;
    BRepBndLib::AddOptimal(shape, box, false, false);
    return box;
}

// Whether a face of the worm is one of the shoulders' or stubs' cylinders
// and planes rather than a working face (flanks, root and tip tori).
bool shoulderOrStubFace(const TopoDS_Shape& face)
{
    const Handle(Geom_Surface) surface = BRep_Tool::Surface(TopoDS::Face(face));
    return surface->IsKind(STANDARD_TYPE(Geom_Plane)) || surface->IsKind(STANDARD_TYPE(Geom_CylindricalSurface));
}

// The worm's faces of one of the two kinds, as one compound.
TopoDS_Compound wormFaces(const TopoDS_Shape& worm, bool shouldersAndStubs)
{
    TopoDS_Compound faces;
    BRep_Builder builder;
    builder.MakeCompound(faces);
    for (TopExp_Explorer e(worm, TopAbs_FACE); e.More(); e.Next())
        if (shoulderOrStubFace(e.Current()) == shouldersAndStubs)
            builder.Add(faces, e.Current());
    return faces;
}

TopoDS_Compound workingFaces(const TopoDS_Shape& worm) { return wormFaces(worm, false); }
TopoDS_Compound otherFaces(const TopoDS_Shape& worm) { return wormFaces(worm, true); }

// The pair of the worked example, made once for the tests below (the wheel
// takes seconds): the wheel placed in mesh at the centre distance as the
// pair's file places it, and the smallest distances of the worm's working
// faces and of its other faces to it.
struct PairOfTheWorkedExample {
    DesignValues d = design(kCases[0]);
    model::WheelSurfaces wheelSurfaces = model::wheelSurfaces(d);
    occt::WheelModel wheel = occt::wheelModel(
        wheelSurfaces, occt::rimInnerDiameter(wheelSurfaces, d.WheelReferenceDiameter, d.TransverseModule));
    model::WormSurfaces wormSurfaces = model::wormSurfaces(d);
    occt::WormModel worm = occt::wormModel(wormSurfaces);
    TopoDS_Shape placedWheel = BRepBuilderAPI_Transform(wheel.solid, occt::wheelPlacement(d.CentreDistance), true).Shape();
    BRepExtrema_DistShapeShape threads{workingFaces(worm.solid), placedWheel};
    BRepExtrema_DistShapeShape shouldersAndStubs{otherFaces(worm.solid), placedWheel};
};

const PairOfTheWorkedExample& pairOfTheWorkedExample()
{
    static const PairOfTheWorkedExample pair;
    return pair;
}

// The wheel rim of the worked example: one valid solid of the rim width
// within the outer diameter; in mesh at the centre distance, the worm's
// threads and throat stand clear of the wheel (no interference) by no more
// than the backlash.
TEST(DesignModel, WheelOfTheWorkedExampleIsOneValidSolidAndMeshesWithTheThreadsWithinTheBacklash)
{
    const PairOfTheWorkedExample& pair = pairOfTheWorkedExample();
    EXPECT_TRUE(BRepCheck_Analyzer(pair.wheel.solid).IsValid());
    double x0, y0, z0, x1, y1, z1;
    tightBox(pair.wheel.solid).Get(x0, y0, z0, x1, y1, z1);
    EXPECT_NEAR(z1 - z0, double(pair.wheelSurfaces.rimWidth), 0.01);
    EXPECT_LE(std::max(x1 - x0, y1 - y0), double(pair.wheelSurfaces.maxOuterDiameter) + 0.01);
    EXPECT_GE(std::max(x1 - x0, y1 - y0), double(pair.wheelSurfaces.maxOuterDiameter) - 0.5) << "the teeth reach the outer diameter";

    ASSERT_TRUE(pair.threads.IsDone());
    EXPECT_GT(pair.threads.Value(), 0.0) << "the threads cut into the wheel";
    EXPECT_LE(pair.threads.Value(), pair.d.Backlash + 0.01);
}

// A four-start wheel: its tooth space's walls, continued past the space
// bottom, come close to each other near the rim faces. The rim is either
// built with a pair of walls for every tooth, as one valid solid of the rim
// width, or the modeller says why it could not be: never a plain rim without
// tooth spaces.
TEST(DesignModel, WheelOfFourStartsHasItsToothSpacesOrFailsSayingSo)
{
    const DesignValues d = design({"125", "40", "4"});
    const model::WheelSurfaces surfaces = model::wheelSurfaces(d);
    try {
        const occt::WheelModel wheel =
            occt::wheelModel(surfaces, occt::rimInnerDiameter(surfaces, d.WheelReferenceDiameter, d.TransverseModule));
        EXPECT_TRUE(BRepCheck_Analyzer(wheel.solid).IsValid());
        int walls = 0;
        for (TopExp_Explorer e(wheel.solid, TopAbs_FACE); e.More(); e.Next())
            if (!Handle(Geom_BSplineSurface)::DownCast(BRep_Tool::Surface(TopoDS::Face(e.Current()))).IsNull())
                ++walls;
        EXPECT_GE(walls, 2 * surfaces.teeth);
        double x0, y0, z0, x1, y1, z1;
        tightBox(wheel.solid).Get(x0, y0, z0, x1, y1, z1);
        EXPECT_NEAR(z1 - z0, double(surfaces.rimWidth), 0.01);
    } catch (const occt::ModelError& e) {
        EXPECT_NE(std::string(e.what()).find("tooth space"), std::string::npos) << e.what();
    }
}

// The whole worm against the wheel: the smallest distance between the two
// solids' boundaries (the working faces' and the shoulders' and stubs'
// faces together, which is every face of the worm) is more than 0 (no
// interference: the shoulders, of the root diameter at the ends of the
// working length, keep clear of the rim's corners) and no more than the
// backlash plus 0.01 mm.
TEST(DesignModel, WholeWormKeepsClearOfTheWheelWithinTheBacklash)
{
    const PairOfTheWorkedExample& pair = pairOfTheWorkedExample();
    ASSERT_TRUE(pair.threads.IsDone());
    ASSERT_TRUE(pair.shouldersAndStubs.IsDone());
    EXPECT_GT(pair.shouldersAndStubs.Value(), 0.0) << "the shoulders or stubs reach into the wheel";
    const double distance = std::min(pair.threads.Value(), pair.shouldersAndStubs.Value());
    EXPECT_GT(distance, 0.0) << "worm and wheel interfere";
    EXPECT_LE(distance, pair.d.Backlash + 0.01);
}

// The flanks in mesh at the centre distance, as B-rep faces: the left flank
// of the worm of the unmodified drive (the hob's own thread, whose wheel it
// meets without the modification's relief), fitted as the model fits it and
// turned until it lies on the wheel's left wall (the backlash taken out, as
// in the meshing tests of tests/model), against the wheel's fitted left
// wall. Points of the worm face on its contact lines with the wheel, and
// points spread over the part of it in mesh, are carried into the wheel
// frame, into the tooth space whose wall was fitted, and projected onto
// that face; the signed distance (positive inside the space, by the wall's
// normal turned towards the space) is never below -2 um, and along the
// contact lines it is within 2 um for most points (where other hob
// positions cut the wheel away beyond a contact there is a gap).
TEST(DesignModel, WormAndWheelFlanksTouchAlongTheContactLinesWithoutOverlap)
{
    const PairOfTheWorkedExample& pair = pairOfTheWorkedExample();
    const DesignValues& d = pair.d;
    const long double a = d.CentreDistance, i = d.Ratio;
    model::SurfaceSampling unmodified;
    unmodified.modifiedWorm = false;
    const model::WormSurfaces surfaces = model::wormSurfaces(d, unmodified);
    const Handle(Geom_BSplineSurface) wormFace = occt::fitGrid(surfaces.threads[0].left);
    const Handle(Geom_BSplineSurface) wheelFace = pair.wheel.flanks.left;
    model::Generation g = model::wormGeneration(d, false);
    model::placeThread(g);
    const model::HobCut cut = model::hobCut(d);
    const long double delta = -i * (cut.hob.tangentAngle - g.tangentAngle);
    const long double tau = 2.0L * std::numbers::pi_v<long double> / d.WheelTeeth;
    const long double uTip = d.WormTipArcRadius - d.TipEccentricity, uRoot = d.WormRootArcRadius;

    // The signed distance of a worm face point near X (worm frame) from the
    // wheel face; NaN where the hob's end cut the wall (no envelope there).
    auto gap = [&](const model::Vec& X) {
        GeomAPI_ProjectPointOnSurf onWorm(gp_Pnt(double(X.x), double(X.y), double(X.z)), wormFace);
        EXPECT_GT(onWorm.NbPoints(), 0);
        const gp_Pnt w = onWorm.NearestPoint();
        EXPECT_LE(onWorm.LowerDistance(), occt::kFitTolerance);
        model::Vec X2 = model::wormToWheel(model::wormToFixed({w.X(), w.Y(), w.Z()}, delta), a, i, 0);
        const long double zeta = std::atan2(X2.y, X2.x), turn = -tau * std::round(zeta / tau);
        X2 = {X2.x * std::cos(turn) - X2.y * std::sin(turn), X2.x * std::sin(turn) + X2.y * std::cos(turn), X2.z};
        long double theta = std::numeric_limits<long double>::quiet_NaN(), s = 0;
        const model::WheelFlankPoint p = model::wheelFlankPoint(cut, std::hypot(X2.x, X2.y), X2.z, theta, s);
        if (!p.ok || !p.interior)
            return std::numeric_limits<double>::quiet_NaN();
        const gp_Pnt q(double(X2.x), double(X2.y), double(X2.z));
        GeomAPI_ProjectPointOnSurf onWheel(q, wheelFace);
        EXPECT_GT(onWheel.NbPoints(), 0);
        double u = 0, v = 0;
        onWheel.LowerDistanceParameters(u, v);
        gp_Pnt foot;
        gp_Vec du, dv;
        wheelFace->D1(u, v, foot, du, dv);
        gp_Vec normal = du.Crossed(dv);
        // Turned towards the space: the wall is its +y side (larger wheel angle).
        const gp_Vec intoSpace(foot.Y(), -foot.X(), 0);
        if (normal.Dot(intoSpace) < 0)
            normal.Reverse();
        return gp_Vec(foot, q).Dot(normal.Normalized());
    };
    auto inMesh = [&](const model::Vec& X) {
        const model::Vec Xf = model::wormToFixed(X, delta);
        const long double rho = std::hypot(X.x, X.y);
        return std::fabs(std::atan2(Xf.y, Xf.x)) < 25 * std::numbers::pi_v<long double> / 180
               && std::fabs(Xf.y) <= 0.5L * d.RimWorkingWidth && std::fabs(X.z) <= 0.5L * d.WormWorkingLength
               && std::hypot(a + d.TipEccentricity - rho, X.z) >= d.WormTipArcRadius && std::hypot(a - rho, X.z) <= uRoot;
    };
    const int turns = static_cast<int>(std::ceil(d.WorkingHalfAngle * std::numbers::pi / 180 * i / (2 * std::numbers::pi))) + 1;
    int contacts = 0, touching = 0, sampled = 0;
    double smallest = std::numeric_limits<double>::infinity();
    for (int r = 1; r <= 4; ++r) {
        const long double u = uTip + (uRoot - uTip) * r / 5;
        for (int m = -turns; m <= turns; ++m) {
            const long double v0 = -0.4363L - delta + 2 * std::numbers::pi_v<long double> * m, v1 = v0 + 2 * 0.4363L;
            for (const model::Vec& X : model::wormWheelContactPoints(g, model::Flank::Left, delta, u, v0, v1, 40)) {
                if (!inMesh(X))
                    continue;
                const double gx = gap(X);
                if (std::isnan(gx))
                    continue;
                EXPECT_GT(gx, -0.002) << "overlap on a contact line at u " << double(u);
                ++contacts;
                touching += std::abs(gx) <= 0.002;
            }
            for (int c = -5; c <= 5; ++c) {
                const long double v = 0.0873L * c - delta + 2 * std::numbers::pi_v<long double> * m;
                const model::FlankPoint fp = model::wormFlankPoint(g, model::Flank::Left, u, v, std::numeric_limits<long double>::quiet_NaN());
                if (!fp.ok || !inMesh(fp.point))
                    continue;
                const double gx = gap(fp.point);
                if (std::isnan(gx))
                    continue;
                EXPECT_GT(gx, -0.002) << "overlap at u " << double(u) << " v " << double(v);
                smallest = std::min(smallest, gx);
                ++sampled;
            }
        }
    }
    EXPECT_GT(sampled, 10);
    EXPECT_GT(touching, 3);
    EXPECT_GE(touching, 0.8 * contacts) << "the contact lines touch, but for what the hob cut away";
    EXPECT_LT(smallest, 0.002);
}

INSTANTIATE_TEST_SUITE_P(Designs, DesignModels, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.centreDistance) + "_" + info.param.teeth + "_" + info.param.starts;
                         });

} // namespace
