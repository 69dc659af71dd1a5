// The solids of the pair from the computed tooth surfaces (model/surfaces.h),
// through OpenCASCADE: each flank a B-spline surface fitted to its grid, each
// flank pair closed into an oversized body, the body trimmed by the blank's
// surfaces of revolution.
//
// The worm: the threads, trimmed by the tip torus and the working length,
// fused with the root core, the two shoulders (cylinders of the root
// diameter at the ends of the working length, see shoulderDiameter) and a
// shaft stub of the throat root diameter at each end.
// The wheel: a rim of the computed throat, tip arc, outer diameter and rim
// width, the tooth spaces (bottomed by the root torus) cut into it.
// Lengths in mm, in the frames of model/surfaces.h.
#pragma once

#include "model/surfaces.h"

#include <Geom_BSplineSurface.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_Solid.hxx>
#include <gp_Pnt.hxx>
#include <gp_Trsf.hxx>

#include <stdexcept>
#include <vector>

namespace tpworm::model::occt {

// The fitting tolerance: every computed point lies within this distance of
// its fitted flank. Checked after each fit; a model whose fit is worse is
// not written.
constexpr double kFitTolerance = 0.002; // mm

// A model that cannot be made: the words say what failed.
struct ModelError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct FittedFlanks {
    Handle(Geom_BSplineSurface) left;
    Handle(Geom_BSplineSurface) right;
};

// The B-spline surface fitted to a grid (rows along its first parameter),
// checked against every point: ModelError when one lies farther than
// kFitTolerance from it.
Handle(Geom_BSplineSurface) fitGrid(const SurfaceGrid& grid);
FittedFlanks fitFlankPair(const FlankPair& pair);
// The largest distance of the grid's points from the surface (each the foot
// of its normal, found from its place in the grid).
double largestDeviation(const Handle(Geom_Surface)& surface, const SurfaceGrid& grid);
// The distance of p from the surface, searched from the parameters (u, v).
double distanceNear(const Handle(Geom_Surface)& surface, const gp_Pnt& p, double u, double v);

// The closed body between two fitted flanks: the flanks and four ruled caps
// along the edges of their common parameter rectangle.
TopoDS_Solid closedBody(const FittedFlanks& flanks);

// The shaft stub beyond each shoulder: a length we chose, only to show the
// worm on a piece of its shaft (a reference value, as on the drawing).
long double stubLength(const WormSurfaces& worm);
// The shoulders' diameter: a reference value we chose, the worm's root
// diameter at the ends of the working length, 2(a - sqrt(Rf1^2 - (Lw/2)^2)),
// less at least 0.5 mm and rounded down to whole millimetres: each shoulder
// a small step below the root core's end. The calculation gives the
// shoulder's width (肩台) only, and no handbook or standard we could name
// gives its diameter for this drive. Drawn at the largest tip diameter, the
// shoulders would reach into the wheel rim's corners: past the working
// length the rim's teeth reach down to the worm's root (the 250/45/2 design:
// to 48.3 mm from the worm axis at the shoulder's face, where the tip is
// 66.1 mm and the root 46.8 mm from it).
long double shoulderDiameter(const WormSurfaces& worm);
// The inner diameter of the wheel rim: the drawing's reference proportion
// (reference diameter less 7.4 transverse modules), kept below the bottom
// of the tooth spaces.
long double rimInnerDiameter(const WheelSurfaces& wheel, long double referenceDiameter, long double transverseModule);

struct WormModel {
    TopoDS_Shape solid;
    std::vector<FittedFlanks> flanks; // one pair per thread
};
struct WheelModel {
    TopoDS_Shape solid;
    FittedFlanks flanks; // of the tooth space at wheel angle 0
};

WormModel wormModel(const WormSurfaces& worm);
WheelModel wheelModel(const WheelSurfaces& wheel, long double rimInnerDiameter);

// The wheel frame placed in the worm frame at the assembly position.
gp_Trsf wheelPlacement(long double centreDistance);

// The one solid of a shape (after booleans a compound of one); ModelError
// when there is not exactly one.
TopoDS_Solid onlySolid(const TopoDS_Shape& shape, const char* what);

} // namespace tpworm::model::occt
