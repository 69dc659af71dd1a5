#include "model/occt/solids.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BOPAlgo_GlueEnum.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeSolid.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepLib.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GeomAPI_PointsToBSplineSurface.hxx>
#include <GeomFill.hxx>
#include <Geom_Curve.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <gp_Ax1.hxx>
#include <gp_Ax2.hxx>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace tpworm::model::occt {

namespace {

gp_Pnt toPnt(const Point& p) { return gp_Pnt(double(p.x), double(p.y), double(p.z)); }

// A closed profile in the half plane y = 0 (x the distance from the z axis),
// made of lines and circular arcs, to be turned about the z axis.
class Profile {
public:
    explicit Profile(double r, double z) : first_(r, 0, z), last_(first_) {}
    void lineTo(double r, double z)
    {
        const gp_Pnt next(r, 0, z);
        if (next.Distance(last_) < 1e-9)
            return;
        wire_.Add(BRepBuilderAPI_MakeEdge(last_, next).Edge());
        last_ = next;
    }
    void arcTo(double throughR, double throughZ, double r, double z)
    {
        const gp_Pnt next(r, 0, z);
        const Handle(Geom_TrimmedCurve) arc = GC_MakeArcOfCircle(last_, gp_Pnt(throughR, 0, throughZ), next).Value();
        wire_.Add(BRepBuilderAPI_MakeEdge(arc).Edge());
        last_ = next;
    }
    TopoDS_Shape revolved(double angle = 2 * std::numbers::pi)
    {
        lineTo(first_.X(), first_.Z());
        const TopoDS_Face face = BRepBuilderAPI_MakeFace(wire_.Wire(), true).Face();
        BRepPrimAPI_MakeRevol revol(face, gp_Ax1(gp::Origin(), gp::DZ()), angle);
        if (!revol.IsDone())
            throw ModelError("the blank could not be turned from its profile");
        return revol.Shape();
    }

private:
    gp_Pnt first_, last_;
    BRepBuilderAPI_MakeWire wire_;
};

// Do the computed points of the tooth space that fall within the rim keep
// clear of the mid-tooth planes half a pitch either side?
bool spaceWithinItsPitch(const WheelSurfaces& wheel, double pitch)
{
    const double half = double(wheel.rimWidth) / 2, outer = double(wheel.maxOuterDiameter) / 2;
    for (const SurfaceGrid* grid : {&wheel.space.left, &wheel.space.right})
        for (const Point& p : grid->points) {
            if (std::abs(double(p.z)) > half + 1 || std::hypot(double(p.x), double(p.y)) > outer + 1)
                continue;
            if (std::abs(std::atan2(double(p.y), double(p.x))) > 0.47 * pitch)
                return false;
        }
    return true;
}

// The radius at height z of a concave throat arc of radius arc whose centre
// lies at distance centre from the axis of revolution.
double throatRadius(double centre, double arc, double z) { return centre - std::sqrt(arc * arc - z * z); }

TopoDS_Shape checkedBoolean(BRepAlgoAPI_BooleanOperation& op, const char* what)
{
    op.Build();
    if (!op.IsDone() || op.HasErrors())
        throw ModelError(std::string("the boolean operation failed: ") + what);
    return op.Shape();
}

TopoDS_Shape common(const TopoDS_Shape& a, const TopoDS_Shape& b, const char* what)
{
    BRepAlgoAPI_Common op(a, b);
    return checkedBoolean(op, what);
}

} // namespace

double distanceNear(const Handle(Geom_Surface)& surface, const gp_Pnt& p, double u, double v)
{
    // Gauss-Newton from a nearby parameter pair: the foot of the normal
    // through p, within the surface's domain.
    double u0, u1, v0, v1;
    surface->Bounds(u0, u1, v0, v1);
    gp_Pnt s;
    gp_Vec su, sv;
    for (int step = 0; step < 12; ++step) {
        surface->D1(u, v, s, su, sv);
        const gp_Vec d(s, p);
        const double a = su.Dot(su), b = su.Dot(sv), c = sv.Dot(sv), e = su.Dot(d), f = sv.Dot(d);
        const double det = a * c - b * b;
        if (!(std::abs(det) > 1e-300))
            break;
        const double du = (c * e - b * f) / det, dv = (a * f - b * e) / det;
        u = std::clamp(u + du, u0, u1);
        v = std::clamp(v + dv, v0, v1);
        if (std::abs(du) < 1e-12 * (u1 - u0) && std::abs(dv) < 1e-12 * (v1 - v0))
            break;
    }
    return surface->Value(u, v).Distance(p);
}

Handle(Geom_BSplineSurface) fitGrid(const SurfaceGrid& grid)
{
    if (grid.rows < 4 || grid.cols < 4 || grid.points.size() != std::size_t(grid.rows) * std::size_t(grid.cols))
        throw ModelError("a flank grid has too few points");
    TColgp_Array2OfPnt points(1, grid.rows, 1, grid.cols);
    for (int r = 0; r < grid.rows; ++r)
        for (int c = 0; c < grid.cols; ++c)
            points.SetValue(r + 1, c + 1, toPnt(grid.at(r, c)));
    // An approximation to half the tolerance, C2, of degree 3 to 8, on
    // uniform parameters: the grid is uniform in its own parameters, and the
    // two flanks of a pair then share their parametrization, so that the
    // caps between them are ruled along matching points. (Interpolation
    // through every point swings at the ends of the grid.)
    GeomAPI_PointsToBSplineSurface fit;
    fit.Init(points, Approx_IsoParametric, 3, 8, GeomAbs_C2, kFitTolerance / 2);
    if (!fit.IsDone())
        throw ModelError("a flank could not be fitted");
    Handle(Geom_BSplineSurface) surface = fit.Surface();
    const double deviation = largestDeviation(surface, grid);
    if (!(deviation <= kFitTolerance))
        throw ModelError("a fitted flank deviates from its computed points by " + std::to_string(deviation * 1000)
                         + " µm, more than the fitting tolerance of " + std::to_string(kFitTolerance * 1000) + " µm");
    return surface;
}

double largestDeviation(const Handle(Geom_Surface)& surface, const SurfaceGrid& grid)
{
    double u0, u1, v0, v1;
    surface->Bounds(u0, u1, v0, v1);
    double worst = 0;
    for (int r = 0; r < grid.rows; ++r)
        for (int c = 0; c < grid.cols; ++c) {
            // The parameters of the point's place in the grid are a close
            // first guess; the foot of the normal is the distance.
            const double u = u0 + (u1 - u0) * r / (grid.rows - 1), v = v0 + (v1 - v0) * c / (grid.cols - 1);
            worst = std::max(worst, distanceNear(surface, toPnt(grid.at(r, c)), u, v));
        }
    return worst;
}

FittedFlanks fitFlankPair(const FlankPair& pair)
{
    if (pair.left.rows != pair.right.rows || pair.left.cols != pair.right.cols)
        throw ModelError("the two flanks of a pair are not sampled on one grid");
    return {fitGrid(pair.left), fitGrid(pair.right)};
}

TopoDS_Solid closedBody(const FittedFlanks& flanks)
{
    double u0, u1, v0, v1;
    flanks.left->Bounds(u0, u1, v0, v1);
    BRepBuilderAPI_Sewing sewing(1e-4);
    sewing.Add(BRepBuilderAPI_MakeFace(flanks.left, 1e-7).Face());
    sewing.Add(BRepBuilderAPI_MakeFace(flanks.right, 1e-7).Face());
    const std::pair<Handle(Geom_Curve), Handle(Geom_Curve)> edges[] = {
        {flanks.left->UIso(u0), flanks.right->UIso(u0)},
        {flanks.left->UIso(u1), flanks.right->UIso(u1)},
        {flanks.left->VIso(v0), flanks.right->VIso(v0)},
        {flanks.left->VIso(v1), flanks.right->VIso(v1)},
    };
    for (const auto& [a, b] : edges)
        sewing.Add(BRepBuilderAPI_MakeFace(GeomFill::Surface(a, b), 1e-7).Face());
    sewing.Perform();
    const TopoDS_Shape sewn = sewing.SewedShape();
    TopExp_Explorer shells(sewn, TopAbs_SHELL);
    if (!shells.More())
        throw ModelError("the flanks and caps did not close into a shell");
    BRepBuilderAPI_MakeSolid maker(TopoDS::Shell(shells.Current()));
    TopoDS_Solid solid = maker.Solid();
    if (!BRepLib::OrientClosedSolid(solid))
        throw ModelError("the body between two flanks is not closed");
    return solid;
}

TopoDS_Solid onlySolid(const TopoDS_Shape& shape, const char* what)
{
    TopoDS_Solid found;
    int count = 0;
    for (TopExp_Explorer e(shape, TopAbs_SOLID); e.More(); e.Next(), ++count)
        found = TopoDS::Solid(e.Current());
    if (count != 1)
        throw ModelError(std::string(what) + " is " + std::to_string(count) + " solids, not one");
    if (!BRepCheck_Analyzer(found).IsValid())
        throw ModelError(std::string(what) + " is not a valid solid");
    return found;
}

long double stubLength(const WormSurfaces& worm) { return std::round(0.25L * worm.workingLength); }

long double rimInnerDiameter(const WheelSurfaces& wheel, long double referenceDiameter, long double transverseModule)
{
    const long double proportion = referenceDiameter - 7.4L * transverseModule;
    const long double spaceBottom = 2 * (wheel.centreDistance - wheel.rootArcRadius);
    return std::min(proportion, spaceBottom - 2 * transverseModule);
}

WormModel wormModel(const WormSurfaces& worm)
{
    if (worm.threads.empty() || worm.workingLength <= 0)
        throw ModelError("the worm has no threads to model");
    const double half = double(worm.workingLength) / 2;
    const double tipArc = double(worm.tipArcRadius), rootArc = double(worm.rootArcRadius);
    const double shoulder = double(worm.shoulderSize), tipMax = double(worm.maxTipDiameter) / 2;
    const double stub = double(stubLength(worm)), stubRadius = double(worm.throatRootDiameter) / 2;
    const double end = half + shoulder + stub;

    // Root core, shoulders and stubs: one turned profile.
    Profile core(0, -end);
    core.lineTo(stubRadius, -end);
    core.lineTo(stubRadius, -half - shoulder);
    core.lineTo(tipMax, -half - shoulder);
    core.lineTo(tipMax, -half);
    // Each throat arc about its own centre: the root arc's is the wheel
    // axis, the tip arc's lies farther out by the tip eccentricity.
    const double rootCentre = double(worm.throatRootDiameter) / 2 + rootArc;
    const double tipCentre = double(worm.throatTipDiameter) / 2 + tipArc;
    core.lineTo(throatRadius(rootCentre, rootArc, -half), -half);
    core.arcTo(rootCentre - rootArc, 0, throatRadius(rootCentre, rootArc, half), half);
    core.lineTo(tipMax, half);
    core.lineTo(tipMax, half + shoulder);
    core.lineTo(stubRadius, half + shoulder);
    core.lineTo(stubRadius, end);
    core.lineTo(0, end);
    const TopoDS_Shape coreSolid = core.revolved();

    // The envelope of the threads: the tip torus over the working length.
    Profile tip(0, -half);
    tip.lineTo(throatRadius(tipCentre, tipArc, -half), -half);
    tip.arcTo(tipCentre - tipArc, 0, throatRadius(tipCentre, tipArc, half), half);
    tip.lineTo(0, half);
    const TopoDS_Shape tipSolid = tip.revolved();

    WormModel model;
    TopTools_ListOfShape threads;
    for (const FlankPair& pair : worm.threads) {
        model.flanks.push_back(fitFlankPair(pair));
        threads.Append(common(closedBody(model.flanks.back()), tipSolid, "a thread and the tip torus"));
    }
    BRepAlgoAPI_Fuse fuse;
    TopTools_ListOfShape arguments;
    arguments.Append(coreSolid);
    fuse.SetArguments(arguments);
    fuse.SetTools(threads);
    model.solid = onlySolid(checkedBoolean(fuse, "the threads and the root core"), "the worm");
    return model;
}

WheelModel wheelModel(const WheelSurfaces& wheel, long double rimInnerDiameterValue)
{
    if (wheel.teeth < 1 || wheel.rimWidth <= 0)
        throw ModelError("the wheel has no teeth to model");
    const double a = double(wheel.centreDistance), half = double(wheel.rimWidth) / 2;
    const double tipArc = double(wheel.tipArcRadius), outer = double(wheel.maxOuterDiameter) / 2;
    const double inner = double(rimInnerDiameterValue) / 2;

    // The rim: the throat arc about the worm axis, cut off at the outer
    // diameter, over the rim width.
    Profile rim(inner, -half);
    const double tipCentre = double(wheel.throatDiameter) / 2 + tipArc;
    const double reach = tipArc * tipArc - (tipCentre - outer) * (tipCentre - outer);
    const double cut = reach > 0 ? std::sqrt(reach) : 0;
    if (cut > 0 && cut < half) {
        rim.lineTo(outer, -half);
        rim.lineTo(outer, -cut);
        rim.arcTo(tipCentre - tipArc, 0, outer, cut);
        rim.lineTo(outer, half);
    } else {
        rim.lineTo(throatRadius(tipCentre, tipArc, -half), -half);
        rim.arcTo(tipCentre - tipArc, 0, throatRadius(tipCentre, tipArc, half), half);
    }
    rim.lineTo(inner, half);
    // One tooth space: between its flanks, inside the root torus.
    WheelModel model;
    model.flanks = fitFlankPair(wheel.space);
    const TopoDS_Shape rootTorus =
        BRepPrimAPI_MakeTorus(gp_Ax2(gp::Origin(), gp::DZ()), a, double(wheel.rootArcRadius)).Shape();
    const TopoDS_Shape space = common(closedBody(model.flanks), rootTorus, "a tooth space and the root torus");
    const double pitch = 2 * std::numbers::pi / wheel.teeth;
    auto turned = [](const TopoDS_Shape& shape, double angle) {
        gp_Trsf turn;
        turn.SetRotation(gp_Ax1(gp::Origin(), gp::DZ()), angle);
        return BRepBuilderAPI_Transform(shape, turn, true).Shape();
    };

    if (spaceWithinItsPitch(wheel, pitch)) {
        // The space lies within the pitch about it: cut it from that sector
        // of the rim alone, and glue the sectors, which meet on whole faces
        // (many times faster than cutting every space from the whole rim).
        const TopoDS_Shape sector = turned(rim.revolved(pitch), -pitch / 2);
        BRepAlgoAPI_Cut cutOne(sector, space);
        const TopoDS_Shape toothed = checkedBoolean(cutOne, "a tooth space and its sector of the rim");
        TopTools_ListOfShape first, others;
        first.Append(toothed);
        for (int k = 1; k < wheel.teeth; ++k)
            others.Append(turned(toothed, pitch * k));
        BRepAlgoAPI_Fuse glue;
        glue.SetArguments(first);
        glue.SetTools(others);
        glue.SetGlue(BOPAlgo_GlueShift);
        model.solid = onlySolid(checkedBoolean(glue, "the sectors of the rim"), "the wheel");
        return model;
    }
    TopTools_ListOfShape spaces;
    for (int k = 0; k < wheel.teeth; ++k)
        spaces.Append(turned(space, pitch * k));
    BRepAlgoAPI_Cut cutter;
    TopTools_ListOfShape arguments;
    arguments.Append(rim.revolved());
    cutter.SetArguments(arguments);
    cutter.SetTools(spaces);
    model.solid = onlySolid(checkedBoolean(cutter, "the tooth spaces and the rim"), "the wheel");
    return model;
}

gp_Trsf wheelPlacement(long double centreDistance)
{
    // A wheel point p2 is the worm point (a - p2.x, p2.z, p2.y).
    gp_Trsf t;
    t.SetValues(-1, 0, 0, double(centreDistance), 0, 0, 1, 0, 0, 1, 0, 0);
    return t;
}

} // namespace tpworm::model::occt
