#include "model/occt/solids.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BOPAlgo_Alerts.hxx>
#include <BOPAlgo_GlueEnum.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeSolid.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>
#include <Geom_BSplineSurface.hxx>
#include <BRepLib.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <GeomAPI_PointsToBSplineSurface.hxx>
#include <GeomFill.hxx>
#include <Geom_Curve.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <BRep_Tool.hxx>
#include <Geom_Plane.hxx>
#include <gp_Pln.hxx>
#include <TopLoc_Location.hxx>
#include <gp_Ax1.hxx>
#include <gp_Ax2.hxx>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace tpworm::model::occt {

namespace {

gp_Pnt toPnt(const Point& p) { return gp_Pnt(double(p.x), double(p.y), double(p.z)); }

// The threads end this far inside the ends of the working length: ending in
// the planes of the root core's and the shoulders' end discs, their end
// faces would lie in those discs in part only (the shoulders are smaller
// than the tip), and OpenCASCADE's fuse then lost the stubs or the whole
// solid (the 1400/40/1 worm). At the ends the tip then lies the tip arc's
// slope times 0.005 mm below the largest tip diameter (250/45/2: 0.0014 mm).
constexpr double kThreadEndInset = 0.005; // mm

// Do the computed points of the tooth space that fall within the rim keep
// clear of the half planes half a pitch either side? (When not, the
// neighbouring spaces reach into the pitch too.)
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

TopoDS_Shape cut(const TopoDS_Shape& a, const TopoDS_Shape& b, const char* what)
{
    BRepAlgoAPI_Cut op(a, b);
    return checkedBoolean(op, what);
}

// The blanks are built from OpenCASCADE's analytic primitives (cylinders,
// tori, planes) rather than turned from a profile: a turned arc becomes a
// general surface of revolution, which every later boolean operation against
// the fitted flanks evaluates several times more slowly than a torus.

// The cylinder of radius r about the z axis from z0 to z1 (a sector of
// `angle` from the x axis when less than a full turn).
TopoDS_Shape cylinder(double r, double z0, double z1, double angle = 2 * std::numbers::pi)
{
    return BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(0, 0, z0), gp::DZ()), r, z1 - z0, angle).Shape();
}

// The torus about the z axis whose tube of radius arc runs round the circle
// of radius centre in the plane z = 0.
TopoDS_Shape torus(double centre, double arc)
{
    return BRepPrimAPI_MakeTorus(gp_Ax2(gp::Origin(), gp::DZ()), centre, arc).Shape();
}

// The solid of revolution about the z axis under a concave throat arc over
// |z| <= half: radius centre - sqrt(arc^2 - z^2), the arc of radius arc
// about the circle of radius centre in the plane z = 0. The cylinder of
// radius centre less the torus: where |z| < arc the torus takes the radii
// from the arc out to the cylinder, beyond it takes none.
TopoDS_Shape throatSolid(double centre, double arc, double half, const char* what)
{
    return cut(cylinder(centre, -half, half), torus(centre, arc), what);
}

// One solid of pieces that meet on faces (coaxial, touching along planar
// discs): glued, not intersected.
TopoDS_Shape gluedTogether(const std::vector<TopoDS_Shape>& pieces, const char* what)
{
    TopTools_ListOfShape first, others;
    first.Append(pieces.front());
    for (std::size_t k = 1; k < pieces.size(); ++k)
        others.Append(pieces[k]);
    BRepAlgoAPI_Fuse glue;
    glue.SetArguments(first);
    glue.SetTools(others);
    glue.SetGlue(BOPAlgo_GlueShift);
    return checkedBoolean(glue, what);
}

// The columns of a worm flank pair from the last that lies below z = -limit
// in some row to the first above z = limit in some row, one more each way:
// every row of both flanks passes both ends.
FlankPair columnsPast(const FlankPair& pair, double limit)
{
    const int rows = pair.left.rows, cols = pair.left.cols;
    int first = cols - 1, last = 0;
    for (const SurfaceGrid* g : {&pair.left, &pair.right})
        for (int r = 0; r < rows; ++r) {
            int c0 = 0, c1 = cols - 1;
            for (int c = 0; c < cols; ++c)
                if (double(g->at(r, c).z) < -limit) c0 = c;
            for (int c = cols - 1; c >= 0; --c)
                if (double(g->at(r, c).z) > limit) c1 = c;
            first = std::min(first, c0);
            last = std::max(last, c1);
        }
    first = std::max(0, first - 1);
    last = std::min(cols - 1, last + 1);
    FlankPair out;
    for (auto [from, to] : {std::pair{&pair.left, &out.left}, std::pair{&pair.right, &out.right}}) {
        to->rows = rows;
        to->cols = last - first + 1;
        for (int r = 0; r < rows; ++r)
            for (int c = first; c <= last; ++c)
                to->points.push_back(from->at(r, c));
    }
    return out;
}

// The faces of a pitch sector of a solid of z pitches about the z axis,
// turned z times and sewn into one solid: the sector's faces on its two
// bounding half planes (planes through the axis) meet their neighbour's and
// drop out.
gp_Trsf turnAboutZ(double angle);

TopoDS_Shape patterned(const TopoDS_Shape& sector, int z, const char* what)
{
    std::vector<TopoDS_Face> outer;
    for (TopExp_Explorer e(sector, TopAbs_FACE); e.More(); e.Next()) {
        const TopoDS_Face face = TopoDS::Face(e.Current());
        const Handle(Geom_Plane) plane = Handle(Geom_Plane)::DownCast(BRep_Tool::Surface(face));
        if (!plane.IsNull()) {
            const gp_Pln p = plane->Pln();
            const bool throughAxis = std::abs(p.Axis().Direction().Z()) < 1e-12 && p.Distance(gp::Origin()) < 1e-9
                                     && p.Distance(gp_Pnt(0, 0, 1)) < 1e-9;
            if (throughAxis)
                continue;
        }
        outer.push_back(face);
    }
    const double pitch = 2 * std::numbers::pi / z;
    BRepBuilderAPI_Sewing sewing(1e-6);
    for (int k = 0; k < z; ++k) {
        const gp_Trsf turn = turnAboutZ(pitch * k);
        for (const TopoDS_Face& face : outer)
            sewing.Add(face.Moved(TopLoc_Location(turn)));
    }
    sewing.Perform();
    TopExp_Explorer shells(sewing.SewedShape(), TopAbs_SHELL);
    if (!shells.More())
        throw ModelError(std::string(what) + " did not close into a shell");
    BRepBuilderAPI_MakeSolid maker(TopoDS::Shell(shells.Current()));
    TopoDS_Solid solid = maker.Solid();
    if (!BRepLib::OrientClosedSolid(solid))
        throw ModelError(std::string(what) + " is not closed");
    return solid;
}

gp_Trsf turnAboutZ(double angle)
{
    gp_Trsf turn;
    turn.SetRotation(gp_Ax1(gp::Origin(), gp::DZ()), angle);
    return turn;
}

TopoDS_Shape turned(const TopoDS_Shape& shape, double angle)
{
    return BRepBuilderAPI_Transform(shape, turnAboutZ(angle), true).Shape();
}

Handle(Geom_BSplineSurface) turned(const Handle(Geom_BSplineSurface)& surface, double angle)
{
    return Handle(Geom_BSplineSurface)::DownCast(surface->Transformed(turnAboutZ(angle)));
}

// The faces of a shape on B-spline surfaces: on the wheel, the walls of its
// tooth spaces (the blank is all planes, cylinders and tori).
int bsplineFaces(const TopoDS_Shape& shape)
{
    int count = 0;
    for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next())
        if (!Handle(Geom_BSplineSurface)::DownCast(BRep_Tool::Surface(TopoDS::Face(e.Current()))).IsNull())
            ++count;
    return count;
}

// The tooth space trimmed by the root torus must be a solid of some volume
// bounded by both walls. When the closed body between the walls is not a
// proper solid (the walls, continued past the space bottom, cross each
// other), the common comes back empty or with faces it could not use, and
// only as a warning: without this check a plain rim without tooth spaces
// would be written as if it were the wheel.
void checkToothSpace(const BRepAlgoAPI_BooleanOperation& op, const TopoDS_Shape& space)
{
    int solids = 0;
    for (TopExp_Explorer e(space, TopAbs_SOLID); e.More(); e.Next())
        ++solids;
    GProp_GProps props;
    BRepGProp::VolumeProperties(space, props);
    const bool unusedFaces = op.HasWarning(STANDARD_TYPE(BOPAlgo_AlertSolidBuilderUnusedFaces));
    if (solids != 1 || !(props.Mass() > 0) || unusedFaces || bsplineFaces(space) < 2)
        throw ModelError("the wheel's tooth space could not be built: the body between its walls trimmed by the "
                         "root torus is " + std::to_string(solids) + " solids of volume "
                         + std::to_string(props.Mass()) + " mm³" + (unusedFaces ? ", with faces left unused" : "")
                         + " (the walls cross each other below the space bottom)");
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
    // An approximation to half the tolerance, C2, of degree 3 to 5 (a higher
    // degree takes fewer poles but makes every later boolean operation
    // against the face several times slower: the wheel's tooth space of the
    // 250/45/2 design took 36 s to cut at degree 8, 5 s at degree 3), on
    // uniform parameters: the grid is uniform in its own parameters, and the
    // two flanks of a pair then share their parametrization, so that the
    // caps between them are ruled along matching points. (Interpolation
    // through every point swings at the ends of the grid.)
    GeomAPI_PointsToBSplineSurface fit;
    fit.Init(points, Approx_IsoParametric, 3, 5, GeomAbs_C2, kFitTolerance / 2);
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

long double shoulderDiameter(const WormSurfaces& worm)
{
    const long double half = 0.5L * worm.workingLength, rootArc = worm.rootArcRadius;
    const long double rootAtTheEnds = 2 * (worm.centreDistance - std::sqrt(rootArc * rootArc - half * half));
    // In whole millimetres, at least 0.5 mm below the root rather than flush
    // with it: flush (and the threads ending in the same plane), the
    // 1400/40/1 worm lost its stubs in OpenCASCADE's glue; a step leaves the
    // end discs coinciding in part, as the stubs' do.
    return std::floor(rootAtTheEnds - 0.5L);
}

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
    const double shoulder = double(worm.shoulderSize), shoulderRadius = double(shoulderDiameter(worm)) / 2;
    const double stub = double(stubLength(worm)), stubRadius = double(worm.throatRootDiameter) / 2;
    const double end = half + shoulder + stub;
    // Each throat arc about its own centre: the root arc's is the wheel
    // axis, the tip arc's lies farther out by the tip eccentricity.
    const double rootCentre = double(worm.throatRootDiameter) / 2 + rootArc;
    const double tipCentre = double(worm.throatTipDiameter) / 2 + tipArc;

    // Root core over the working length, shoulders (a step below the root
    // core's ends) and stubs, glued on its end discs.
    const TopoDS_Shape coreSolid = gluedTogether(
        {throatSolid(rootCentre, rootArc, half, "the root core"), cylinder(shoulderRadius, -half - shoulder, -half),
         cylinder(shoulderRadius, half, half + shoulder), cylinder(stubRadius, -end, -half - shoulder),
         cylinder(stubRadius, half + shoulder, end)},
        "the root core, shoulders and stubs");
    // The envelope of the threads: the tip torus over the working length.
    const TopoDS_Shape tipSolid = throatSolid(tipCentre, tipArc, half - kThreadEndInset, "the tip torus");

    // The threads follow each other by turns of a pitch about the axis
    // (model/surfaces.h): thread 0 is fitted and trimmed, the others are
    // its turned copies, each checked against its own computed points.
    WormModel model;
    // Only the columns that reach past the working length are fitted: the
    // rest would be cut away, and long faces slow every boolean operation.
    const double reach = half + double(worm.margin) / 2;
    model.flanks.push_back(fitFlankPair(columnsPast(worm.threads.front(), reach)));
    const TopoDS_Shape thread = common(closedBody(model.flanks.front()), tipSolid, "a thread and the tip torus");
    TopTools_ListOfShape threads;
    threads.Append(thread);
    for (std::size_t k = 1; k < worm.threads.size(); ++k) {
        const double angle = 2 * std::numbers::pi * double(k) / double(worm.threads.size());
        FittedFlanks flanks{turned(model.flanks.front().left, angle), turned(model.flanks.front().right, angle)};
        const FlankPair own = columnsPast(worm.threads[k], reach);
        for (const auto& [surface, grid] : {std::pair{flanks.left, &own.left}, std::pair{flanks.right, &own.right}})
            if (const double deviation = largestDeviation(surface, *grid); !(deviation <= kFitTolerance))
                throw ModelError("thread " + std::to_string(k + 1) + " is not the first turned by its pitch: "
                                 + std::to_string(deviation * 1000) + " µm off");
        model.flanks.push_back(flanks);
        threads.Append(turned(thread, angle));
    }
    BRepAlgoAPI_Fuse fuse;
    TopTools_ListOfShape arguments;
    arguments.Append(coreSolid);
    fuse.SetArguments(arguments);
    fuse.SetTools(threads);
    const TopoDS_Shape fused = checkedBoolean(fuse, "the threads and the root core");
    model.solid = onlySolid(fused, "the worm");
    return model;
}

WheelModel wheelModel(const WheelSurfaces& wheel, long double rimInnerDiameterValue)
{
    if (wheel.teeth < 1 || wheel.rimWidth <= 0)
        throw ModelError("the wheel has no teeth to model");
    const double a = double(wheel.centreDistance), half = double(wheel.rimWidth) / 2;
    const double tipArc = double(wheel.tipArcRadius), outer = double(wheel.maxOuterDiameter) / 2;
    const double inner = double(rimInnerDiameterValue) / 2;
    const double tipCentre = double(wheel.throatDiameter) / 2 + tipArc;
    const double pitch = 2 * std::numbers::pi / wheel.teeth;

    // One pitch of the rim, centred on the tooth space at wheel angle 0:
    // the throat arc about the worm axis, cut off at the outer diameter,
    // over the rim width, less the bore.
    const TopoDS_Shape sector =
        cut(common(turned(cylinder(outer, -half, half, pitch), -pitch / 2), throatSolid(tipCentre, tipArc, half, "the rim's throat"),
                   "the rim's outer diameter"),
            cylinder(inner, -half - 1, half + 1), "the rim's bore");
    // The tooth space: between its flanks, inside the root torus.
    WheelModel model;
    model.flanks = fitFlankPair(wheel.space);
    // Both booleans against the fitted flanks filter the pairs of faces to
    // intersect by oriented bounding boxes: the flanks' axis-aligned boxes
    // are loose about a space that leans across the rim, so many more face
    // pairs would be intersected only to find nothing (the cut takes half
    // the time on the 250/45/2 design).
    TopTools_ListOfShape body, rootTorus;
    body.Append(closedBody(model.flanks));
    rootTorus.Append(torus(a, double(wheel.rootArcRadius)));
    BRepAlgoAPI_Common bottom;
    bottom.SetUseOBB(true);
    bottom.SetArguments(body);
    bottom.SetTools(rootTorus);
    const TopoDS_Shape space = checkedBoolean(bottom, "a tooth space and the root torus");
    checkToothSpace(bottom, space);
    // The space and its neighbours, as far as they reach into this pitch
    // (a space across the width may lean past the pitch's bounding planes),
    // cut from the sector; the toothed sectors then follow each other by
    // turns of a pitch and meet on whole faces, so they are glued, not
    // intersected: many times faster than cutting every space from the
    // whole rim.
    TopTools_ListOfShape arguments, tools;
    arguments.Append(sector);
    tools.Append(space);
    if (wheel.teeth > 2 && !spaceWithinItsPitch(wheel, pitch)) {
        tools.Append(turned(space, pitch));
        tools.Append(turned(space, -pitch));
    }
    BRepAlgoAPI_Cut cutter;
    cutter.SetUseOBB(true);
    cutter.SetArguments(arguments);
    cutter.SetTools(tools);
    const TopoDS_Shape toothed = onlySolid(checkedBoolean(cutter, "a tooth space and its pitch of the rim"), "a pitch of the rim");
    if (bsplineFaces(toothed) < 2)
        throw ModelError("the tooth space left no walls in its pitch of the rim");
    const TopoDS_Shape glued = patterned(toothed, wheel.teeth, "the pitches of the rim");
    model.solid = onlySolid(glued, "the wheel");
    if (bsplineFaces(model.solid) < 2 * wheel.teeth)
        throw ModelError("the wheel has " + std::to_string(bsplineFaces(model.solid)) + " faces of tooth-space walls, fewer than two for each of its "
                         + std::to_string(wheel.teeth) + " teeth");
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
