// The worm's thread flanks on the grid of surfaces.h (chapter 9.5).
#include "model/meshing.h"
#include "model/placement.h"

#include "core/numeric.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace tpworm::model {

namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

long double psiOf(const Generation& g, const Vec& X)
{
    const long double rho = std::hypot(X.x, X.y);
    return std::atan2(X.z, g.pairCentreDistance - rho);
}

} // namespace

void placeThread(Generation& g)
{
    // The untilted plane through the thickness point F of the reference arc
    // touches the base circle at psi_F - (pi/2 - alpha_g) (chapter 9.2); the
    // tilt and the enveloping move the flank a little, which the iteration
    // takes out.
    const long double r1 = g.pairCentreDistance - g.referenceRadius;
    const long double r2g = g.centreDistance - r1;
    const long double alpha = std::asin(g.baseRadius / r2g);
    const long double target = 0.5L * g.thickness / g.referenceRadius;
    g.tangentAngle = target - (0.5L * Pi - alpha);
    for (int k = 0; k < 40; ++k) {
        const FlankPoint fp = wormFlankPoint(g, Flank::Left, g.referenceRadius, 0, kNaN);
        if (!fp.ok)
            throw std::runtime_error("model: the thread cannot be placed on the throat");
        const long double error = target - psiOf(g, fp.point);
        g.tangentAngle += error;
        if (std::fabs(error) < 1e-17L)
            return;
    }
}

SurfaceGrid wormFlankGrid(const Generation& g, Flank flank, const std::vector<long double>& us,
                          const std::vector<long double>& vs, long double uTip, long double uRoot, int* extrapolated)
{
    SurfaceGrid grid;
    grid.rows = static_cast<int>(us.size());
    grid.cols = static_cast<int>(vs.size());
    grid.points.resize(us.size() * vs.size());
    std::vector<char> solved(us.size() * vs.size(), 0);
    std::vector<long double> previousRow(vs.size(), kNaN);
    for (int r = 0; r < grid.rows; ++r) {
        long double guess = kNaN;
        for (int c = 0; c < grid.cols; ++c) {
            const long double start = !std::isnan(previousRow[c]) ? previousRow[c] : guess;
            const FlankPoint fp = wormFlankPoint(g, flank, us[r], vs[c], start);
            if (!fp.ok)
                continue;
            grid.points[static_cast<std::size_t>(r) * grid.cols + c] = toPoint(fp.point);
            solved[static_cast<std::size_t>(r) * grid.cols + c] = 1;
            previousRow[c] = fp.theta;
            guess = fp.theta;
        }
    }
    fillOvershoot(grid, solved, us, uTip, uRoot, extrapolated, g.pairCentreDistance);
    return grid;
}

void fillOvershoot(SurfaceGrid& grid, const std::vector<char>& solved, const std::vector<long double>& us,
                   long double uFrom, long double uTo, int* extrapolated, long double wormCentreDistance)
{
    // Past the root (or the tip) the contact lines of some sections stop
    // short of the margin: the plane never touches the worm there, which the
    // part does not need, but the modeller's oversized body does. Such nodes
    // continue their column from the two nearest solved nodes: the flank's
    // angle about the wheel axis (psi in the worm's section, the wheel angle
    // on the wheel's circle) linearly in u, the node on its own coordinate
    // surfaces. A node inside the part without a solution is a fault.
    for (int c = 0; c < grid.cols; ++c)
        for (int r = 0; r < grid.rows; ++r) {
            const std::size_t k = static_cast<std::size_t>(r) * grid.cols + c;
            if (solved[k])
                continue;
            if (us[r] >= uFrom && us[r] <= uTo)
                throw std::runtime_error("model: a flank grid node inside the part has no solution");
            const int dir = us[r] > uTo ? -1 : 1;
            int r1 = r + dir;
            while (r1 >= 0 && r1 < grid.rows && !solved[static_cast<std::size_t>(r1) * grid.cols + c])
                r1 += dir;
            const int r2 = r1 + dir;
            if (r1 < 0 || r1 >= grid.rows || r2 < 0 || r2 >= grid.rows || !solved[static_cast<std::size_t>(r2) * grid.cols + c])
                throw std::runtime_error("model: a flank grid column has too few solved nodes");
            const Vec p1 = toVec(grid.at(r1, c)), p2 = toVec(grid.at(r2, c));
            const long double t = (us[r] - us[r1]) / (us[r1] - us[r2]);
            const long double u = us[r];
            if (wormCentreDistance > 0) {
                const long double a = wormCentreDistance;
                const long double psi1 = std::atan2(p1.z, a - std::hypot(p1.x, p1.y));
                const long double psi2 = std::atan2(p2.z, a - std::hypot(p2.x, p2.y));
                const long double psi = psi1 + t * (psi1 - psi2);
                const long double v = std::atan2(p1.y, p1.x);
                const long double rho = a - u * std::cos(psi);
                grid.points[k] = {rho * std::cos(v), rho * std::sin(v), u * std::sin(psi)};
            } else {
                const long double z1 = std::atan2(p1.y, p1.x), z2 = std::atan2(p2.y, p2.x);
                const long double zeta = z1 + t * (z1 - z2);
                grid.points[k] = {u * std::cos(zeta), u * std::sin(zeta), p1.z};
            }
            if (extrapolated)
                ++*extrapolated;
        }
}

WormGridAxes wormGridAxes(const DesignValues& d, const Generation& g, const SurfaceSampling& sampling)
{
    if (sampling.rows < 2 || sampling.cols < 2 || !(sampling.margin >= 0))
        throw std::runtime_error("model: the sampling needs two rows, two columns and a margin of zero or more");
    const long double e = d.TipEccentricity;
    const long double uMin = d.WormTipArcRadius - e - sampling.margin;
    const long double uMax = d.WormRootArcRadius + sampling.margin;
    const long double zEnd = 0.5L * d.WormWorkingLength + sampling.margin;
    if (!(uMin > 0) || !(zEnd < uMin))
        throw std::runtime_error("model: the working length does not fit the throat form");
    const long double psiEnd = std::asin(zEnd / uMin);
    // The flank crosses the section of angle v at psi ~ psi0(u) + v / i: wide
    // enough that every row passes psiEnd at both ends; checked below.
    long double vEnd = g.ratio * (psiEnd + 0.1L);
    WormGridAxes axes;
    for (int attempt = 0; attempt < 8; ++attempt) {
        bool covers = true;
        for (long double u : {uMin, uMax}) {
            const FlankPoint hi = wormFlankPoint(g, Flank::Left, u, vEnd, kNaN);
            const FlankPoint lo = wormFlankPoint(g, Flank::Left, u, -vEnd, kNaN);
            if (!hi.ok || !lo.ok)
                throw std::runtime_error("model: the worm flank does not reach the ends of the working length");
            if (psiOf(g, hi.point) < psiEnd || psiOf(g, lo.point) > -psiEnd)
                covers = false;
        }
        if (covers)
            break;
        vEnd *= 1.1L;
    }
    for (int r = 0; r < sampling.rows; ++r)
        axes.u.push_back(uMin + (uMax - uMin) * r / (sampling.rows - 1));
    for (int c = 0; c < sampling.cols; ++c)
        axes.v.push_back(-vEnd + 2.0L * vEnd * c / (sampling.cols - 1));
    return axes;
}

WormSurfaces wormSurfaces(const DesignValues& d, const SurfaceSampling& sampling)
{
    if (!(d.CentreDistance > 0) || d.WormStarts < 1 || !(d.Ratio > 0) || !(d.WormToothThickness > 0))
        throw std::runtime_error("model: the design has not been calculated");
    Generation g = wormGeneration(d, sampling.modifiedWorm);
    placeThread(g);
    const WormGridAxes axes = wormGridAxes(d, g, sampling);

    WormSurfaces w;
    w.starts = d.WormStarts;
    w.centreDistance = d.CentreDistance;
    w.tipArcRadius = d.WormTipArcRadius;
    w.rootArcRadius = d.WormRootArcRadius;
    w.throatTipDiameter = d.WormThroatTipDiameter;
    w.throatRootDiameter = d.WormThroatRootDiameter;
    {
        const long double half = 0.5L * d.WormWorkingLength;
        const long double Ra1 = d.WormTipArcRadius;
        w.maxTipDiameter = 2.0L * (d.CentreDistance + d.TipEccentricity - std::sqrt(Ra1 * Ra1 - half * half));
    }
    w.workingLength = d.WormWorkingLength;
    w.shoulderSize = d.ShoulderSize;
    w.margin = sampling.margin;

    FlankPair first;
    first.left = wormFlankGrid(g, Flank::Left, axes.u, axes.v, d.WormTipArcRadius - d.TipEccentricity,
                               d.WormRootArcRadius, &w.extrapolatedNodes);
    // The right flank is the image of the left under the half turn about x,
    // which takes the section of angle v to that of -v: on the shared
    // (symmetric) v values it is the left grid read backwards.
    first.right = first.left;
    for (int r = 0; r < first.left.rows; ++r)
        for (int c = 0; c < first.left.cols; ++c)
            first.right.points[static_cast<std::size_t>(r) * first.left.cols + c]
                = toPoint(mirrorX(toVec(first.left.at(r, first.left.cols - 1 - c))));
    for (int k = 0; k < d.WormStarts; ++k) {
        const long double turn = 2.0L * Pi * k / d.WormStarts;
        FlankPair pair = first;
        for (SurfaceGrid* grid : {&pair.left, &pair.right})
            for (Point& p : grid->points)
                p = toPoint(wormToFixed(toVec(p), turn));
        w.threads.push_back(std::move(pair));
    }
    return w;
}

} // namespace tpworm::model
