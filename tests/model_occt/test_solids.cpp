// The solid modeller on surfaces whose shape is known exactly (the toroidal
// helicoids of helicoid_fixture.h): the fit between and at the sampled
// points, the closed bodies, the solids' validity and extents, the STEP
// file read back by OpenCASCADE's reader.
#include "helicoid_fixture.h"

#include "model/occt/solids.h"
#include "step_read_back.h"
#include "worm_extents.h"
#include "model/occt/step_file.h"

#include <BRepBndLib.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <TopExp_Explorer.hxx>


#include <gtest/gtest.h>

namespace {

using tpworm::testing::HelicoidPair;
using tpworm::testing::countOf;
using tpworm::testing::readStepBack;
namespace occt = tpworm::model::occt;

gp_Pnt pnt(const tpworm::model::Point& p) { return gp_Pnt(double(p.x), double(p.y), double(p.z)); }

Bnd_Box tightBox(const TopoDS_Shape& shape)
{
    Bnd_Box box;
    BRepBndLib::AddOptimal(shape, box, false, false);
    return box;
}

double distanceTo(const Handle(Geom_Surface)& surface, const gp_Pnt& p)
{
    GeomAPI_ProjectPointOnSurf projection(p, surface);
    return projection.NbPoints() > 0 ? projection.LowerDistance() : 1e9;
}

TEST(FittedFlanks, PassThroughTheGridAndStayOnTheSurfaceBetweenItsPoints)
{
    const HelicoidPair pair;
    const tpworm::model::WormSurfaces worm = pair.worm();
    const occt::FittedFlanks fitted = occt::fitFlankPair(worm.threads[0]);
    EXPECT_LE(occt::largestDeviation(fitted.left, worm.threads[0].left), occt::kFitTolerance);
    // Midway between the rows and columns: the true surface, not sampled.
    double worst = 0;
    for (int r = 0; r + 1 < pair.rows; r += 2)
        for (int c = 0; c + 1 < pair.cols; c += 7) {
            const long double u = (pair.wormU(r) + pair.wormU(r + 1)) / 2, v = (pair.wormV(0, c) + pair.wormV(0, c + 1)) / 2;
            worst = std::max(worst, distanceTo(fitted.left, pnt(pair.wormFlank(0, u, v, -1))));
            worst = std::max(worst, distanceTo(fitted.right, pnt(pair.wormFlank(0, u, v, +1))));
        }
    EXPECT_LE(worst, occt::kFitTolerance);
}

TEST(FittedFlanks, TheCheckSeesAPointOffTheFittedSurface)
{
    const HelicoidPair pair;
    const tpworm::model::WormSurfaces worm = pair.worm();
    const Handle(Geom_BSplineSurface) fitted = occt::fitGrid(worm.threads[0].left);
    // The same grid with one point 5 µm off the surface along its normal
    // (the helicoid's normal is near z there): the check must report it.
    tpworm::model::SurfaceGrid moved = worm.threads[0].left;
    moved.points[std::size_t(3 * moved.cols + 51)].z += 0.005L;
    EXPECT_LE(occt::largestDeviation(fitted, worm.threads[0].left), occt::kFitTolerance);
    EXPECT_GT(occt::largestDeviation(fitted, moved), 0.003);
}

TEST(ClosedBody, IsAValidClosedSolidBetweenTheFlanks)
{
    const HelicoidPair pair;
    const occt::FittedFlanks fitted = occt::fitFlankPair(pair.worm().threads[0]);
    const TopoDS_Solid body = occt::closedBody(fitted);
    EXPECT_TRUE(BRepCheck_Analyzer(body).IsValid());
    GProp_GProps props;
    BRepGProp::VolumeProperties(body, props);
    EXPECT_GT(props.Mass(), 0);
}

TEST(WormSolid, IsOneValidSolidOfTheLargestTipDiameterAndItsLength)
{
    const HelicoidPair pair;
    const tpworm::model::WormSurfaces surfaces = pair.worm();
    const occt::WormModel worm = occt::wormModel(surfaces);
    EXPECT_TRUE(BRepCheck_Analyzer(worm.solid).IsValid());
    tpworm::testing::expectWormExtents(worm.solid, surfaces);
}

TEST(WheelSolid, IsOneValidSolidOfTheRimWidth)
{
    // Twelve teeth keep the run short; the cut is the same for any number.
    HelicoidPair pair;
    pair.teeth = 12;
    const tpworm::model::WheelSurfaces surfaces = pair.wheel();
    const occt::WheelModel wheel = occt::wheelModel(surfaces, 2 * (pair.wheelRoot - 15));
    EXPECT_TRUE(BRepCheck_Analyzer(wheel.solid).IsValid());
    const Bnd_Box box = tightBox(wheel.solid);
    double x0, y0, z0, x1, y1, z1;
    box.Get(x0, y0, z0, x1, y1, z1);
    EXPECT_NEAR(z1 - z0, double(surfaces.rimWidth), 0.01);
    EXPECT_LE(x1 - x0, double(surfaces.maxOuterDiameter) + 0.01);
}

TEST(StepFile, OfTheWormReadsBackAsOneValidSolid)
{
    const HelicoidPair pair;
    const occt::WormModel worm = occt::wormModel(pair.worm());
    const QByteArray bytes = occt::stepFile({{worm.solid, "worm", {}}}, "");
    TopoDS_Shape shape;
    ASSERT_NO_FATAL_FAILURE(readStepBack(bytes, shape));
    EXPECT_EQ(countOf(shape, TopAbs_SOLID), 1);
    EXPECT_TRUE(BRepCheck_Analyzer(shape).IsValid());
    EXPECT_TRUE(bytes.contains("AUTOMOTIVE_DESIGN"));
    EXPECT_TRUE(bytes.contains("SI_UNIT(.MILLI.,.METRE.)"));
}

} // namespace
