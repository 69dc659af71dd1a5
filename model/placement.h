// The steps of the worm surfaces that the wheel's and the tests reuse.
#pragma once

#include "model/meshing.h"

#include <vector>

namespace tpworm::model {

// Sets g.tangentAngle so that the left flank crosses the reference arc of the
// throat's axial section (u = referenceRadius, v = 0) at psi = thickness /
// (2 referenceRadius): the thread, centred on the line of centres, has the
// design's thickness there; the right flank follows by symmetry.
void placeThread(Generation& g);

// The grid values of the worm flanks: u from past the tip to past the root,
// v (symmetric about 0) far enough that every row passes the ends of the
// working length by the margin.
struct WormGridAxes {
    std::vector<long double> u;
    std::vector<long double> v;
};
WormGridAxes wormGridAxes(const DesignValues& d, const Generation& g, const SurfaceSampling& sampling);

// One flank of thread 0 on the grid; nodes past tip or root (u outside
// [uTip, uRoot]) that have no contact are extrapolated (counted).
SurfaceGrid wormFlankGrid(const Generation& g, Flank flank, const std::vector<long double>& us,
                          const std::vector<long double>& vs, long double uTip, long double uRoot, int* extrapolated);
// Fills the unsolved nodes of a grid outside u in [uFrom, uTo] by continuing
// each column's flank angle linearly in u; throws for one inside. A worm grid
// gives its centre distance (u about the wheel-axis circle of the sections),
// a wheel grid 0 (u about the wheel axis).
void fillOvershoot(SurfaceGrid& grid, const std::vector<char>& solved, const std::vector<long double>& us,
                   long double uFrom, long double uTo, int* extrapolated, long double wormCentreDistance);

} // namespace tpworm::model

namespace tpworm::model {

// The hob placed on its throat and the motion in which it cuts the wheel:
// the pair's centre distance and ratio, the hob's half angle (HobHalfAngle)
// bounding the travel of a tooth space through it.
struct HobCut {
    Generation hob;
    long double centreDistance = 0;
    long double ratio = 0;
    long double halfAngle = 0; // radians
};
HobCut hobCut(const DesignValues& d);

// The left wall of the wheel's tooth space at radius u and height vw (wheel
// frame): the largest wheel angle at which the hob's left flank crosses that
// circle while the space travels through the hob. theta, s: the hob flank's
// parameters, a guess in (NaN: estimated) and the answer out.
WheelFlankPoint wheelFlankPoint(const HobCut& cut, long double u, long double vw, long double& theta, long double& s);

} // namespace tpworm::model
