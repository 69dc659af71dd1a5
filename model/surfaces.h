// The tooth surfaces of the pair as sampled grids: the contract between the
// meshing calculation (which computes the points) and the solid modeller
// (which fits B-spline faces to them and closes the solids). Widget-free and
// free of OpenCASCADE, so the calculation can be tested and used without it.
//
// Frames (all lengths in mm):
//  - Worm frame: z along the worm axis, origin at the throat centre (the
//    point of the worm axis nearest the wheel axis), x pointing to the wheel
//    axis; the wheel axis is the line x = centreDistance, z = 0, parallel to y.
//  - Wheel frame: z along the wheel axis, origin at the wheel centre (mid
//    plane of the rim), x pointing to the worm axis; the worm axis is the line
//    x = centreDistance, z = 0, parallel to y.
// At the assembly position (worm angle 0, wheel angle 0) a worm point p1 and
// a wheel point p2 are the same point in space when
//   p2 = (centreDistance - p1.x, p1.z, p1.y)
// (wheel x = -worm x, wheel y = worm z, wheel z = worm y: right-handed).
#pragma once

#include <vector>

namespace tpworm {
struct DesignValues;
}

namespace tpworm::model {

struct Point {
    long double x = 0, y = 0, z = 0;
};

// A surface sampled on a regular grid of its two parameters. Rows run along
// the first parameter (u), columns along the second (v); row-major.
struct SurfaceGrid {
    int rows = 0;
    int cols = 0;
    std::vector<Point> points;
    const Point& at(int row, int col) const { return points[static_cast<std::size_t>(row) * cols + col]; }
};

// One flank pair bounding a thread (worm) or a tooth space (wheel). Both
// grids share their parameter values: row r of both lies on the same
// coordinate surface of u, column c of both on the same coordinate surface
// of v, so the caps closing the two grids into a solid are simple:
//  - worm: u is the distance from the wheel axis in the worm's axial section
//    (so u = const is a torus about the worm axis: tip and root are such), v
//    is the worm rotation angle of that axial section (so each column lies in
//    one plane through the worm axis).
//  - wheel: u is the distance from the wheel axis (u = const: a cylinder about
//    the wheel axis), v is the height along the wheel axis (each column lies
//    in one plane perpendicular to the wheel axis).
// The grids overshoot the part on every side (past tip, root, working length
// or rim width, by `margin`), so the modeller closes an oversized body and
// trims it with the blank's surfaces of revolution.
// Left: the worm flank facing +z (worm frame), and the wheel wall on the +y
// side of the space (wheel frame), which meets it; right: the other, the
// image of the left under the half turn about x (x, y, z) -> (x, -y, -z),
// which maps the pair onto itself. On the worm the right grid's column c is
// that image of the left grid's column cols-1-c (v runs symmetrically about
// 0), on the wheel likewise for the height v. The grid points are in the
// part's own frame: worm frame at worm angle 0, wheel frame at wheel angle 0.
struct FlankPair {
    SurfaceGrid left;
    SurfaceGrid right;
};

struct WormSurfaces {
    int starts = 0;
    long double centreDistance = 0;
    long double tipArcRadius = 0;  // of the throat form, about the wheel axis
    long double rootArcRadius = 0; // of the throat form, about the wheel axis
    long double throatTipDiameter = 0;
    long double throatRootDiameter = 0;
    long double maxTipDiameter = 0;  // at the ends of the working length
    long double workingLength = 0;
    long double shoulderSize = 0;
    long double margin = 0;
    // Grid nodes in the margin past tip or root where no contact line reaches
    // (the plane does not touch the worm there): continued linearly along
    // their column, per flank of thread 0.
    int extrapolatedNodes = 0;
    std::vector<FlankPair> threads; // one per start, in turn about the worm axis
};

struct WheelSurfaces {
    int teeth = 0;
    long double centreDistance = 0;
    long double throatDiameter = 0;
    long double maxOuterDiameter = 0;
    long double tipArcRadius = 0;  // of the rim's throat, about the worm axis (label 40's formula, unrounded)
    long double rootArcRadius = 0; // of the tooth-space bottom, about the worm axis: a + e - Rh, the hob's tip
    long double rimWidth = 0;
    long double margin = 0;
    int extrapolatedNodes = 0; // as for the worm, left wall
    FlankPair space; // one tooth space; the others follow by turns of 2π/teeth
};

// How densely the grids sample the flanks and how far they overshoot the part.
struct SurfaceSampling {
    int rows = 21;             // values of u
    int cols = 161;            // values of v (the worm's columns span the turns of the thread)
    long double margin = 2.0L; // mm past tip, root, working length or rim width
    // The worm as ground to the modified drive (一般型修形: a', i', db', beta',
    // xiuxing.html section 4); false: the worm of the unmodified drive. The
    // hob, and with it the wheel, always follows the unmodified drive.
    bool modifiedWorm = true;
};

// The worm's threads (all starts, both flanks), from the envelope of the
// generating plane; the wheel's tooth space, from the envelope of the hob.
// Throws std::runtime_error when the design has not been calculated or a
// grid node has no solution.
WormSurfaces wormSurfaces(const DesignValues& design, const SurfaceSampling& sampling = {});
WheelSurfaces wheelSurfaces(const DesignValues& design, const SurfaceSampling& sampling = {});

} // namespace tpworm::model
