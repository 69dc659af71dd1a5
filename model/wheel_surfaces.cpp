// The wheel's tooth-space flanks: the envelope of the hob (chapter 9.6).
#include "model/meshing.h"
#include "model/placement.h"

#include "core/numeric.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace tpworm::model {

namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

// Where the hob's left flank crosses the wheel circle of radius u at height
// vw at hob angle phi: solves for the flank's (theta, s) by Newton from the
// guess, returns the wheel angle zeta of the crossing (NaN if none).
long double crossing(const HobCut& cut, long double u, long double vw, long double phi, long double& theta,
                     long double& s, Vec* wheelPoint = nullptr)
{
    auto residual = [&](long double t, long double ss, Vec& X2) {
        X2 = wormToWheel(threadSurface(cut.hob, Flank::Left, t, ss), cut.centreDistance, cut.ratio, phi);
        return std::pair<long double, long double>{X2.z - vw, std::hypot(X2.x, X2.y) - u};
    };
    Vec X2;
    for (int k = 0; k < 60; ++k) {
        const auto [f1, f2] = residual(theta, s, X2);
        if (std::fabs(f1) < 1e-13L && std::fabs(f2) < 1e-13L) {
            if (wheelPoint)
                *wheelPoint = X2;
            return std::atan2(X2.y, X2.x);
        }
        const long double ht = 1e-8L, hs = 1e-6L;
        Vec tmp;
        const auto [a1, a2] = residual(theta + ht, s, tmp);
        const auto [b1, b2] = residual(theta, s + hs, tmp);
        const long double j11 = (a1 - f1) / ht, j21 = (a2 - f2) / ht;
        const long double j12 = (b1 - f1) / hs, j22 = (b2 - f2) / hs;
        const long double det = j11 * j22 - j12 * j21;
        if (det == 0 || !std::isfinite(det))
            return kNaN;
        long double dt = (f1 * j22 - f2 * j12) / det;
        long double ds = (j11 * f2 - j21 * f1) / det;
        // Keep a step within a fraction of a turn of the hob.
        const long double limit = 0.05L / cut.hob.ratio;
        if (std::fabs(dt) > limit) {
            ds *= limit / std::fabs(dt);
            dt = dt > 0 ? limit : -limit;
        }
        theta -= dt;
        s -= ds;
    }
    return kNaN;
}

} // namespace

HobCut hobCut(const DesignValues& d)
{
    HobCut cut;
    cut.hob = hobGeneration(d);
    placeThread(cut.hob);
    cut.centreDistance = d.CentreDistance;
    cut.ratio = d.Ratio;
    cut.halfAngle = DegToRad(d.HobHalfAngle);
    return cut;
}

WheelFlankPoint wheelFlankPoint(const HobCut& cut, long double u, long double vw, long double& theta, long double& s)
{
    WheelFlankPoint result;
    const long double i = cut.ratio;
    if (std::isnan(theta)) {
        // At hob angle 0 the space sits on the hob's throat: start from the
        // hob's own flank point in the axial section through the node.
        const long double zeta0 = 0.5L * cut.hob.thickness / cut.hob.referenceRadius;
        const Vec X1{cut.centreDistance - u * std::cos(zeta0), vw, u * std::sin(zeta0)};
        const long double rho = std::hypot(X1.x, X1.y);
        const FlankPoint fp = wormFlankPoint(cut.hob, Flank::Left, std::hypot(cut.centreDistance - rho, X1.z),
                                             std::atan2(X1.y, X1.x), kNaN);
        if (!fp.ok)
            return result;
        theta = fp.theta;
        s = fp.s;
    }
    long double t0 = theta, s0 = s;
    const long double zetaMid = crossing(cut, u, vw, 0, t0, s0);
    if (std::isnan(zetaMid))
        return result;
    theta = t0;
    s = s0;
    // The space travels through the hob while the hob turns by i times its
    // half angle either way; the left wall is the farthest the left flank
    // reaches (max of zeta over phi), chapter 9.6.
    const long double phiEnd = i * cut.halfAngle;
    const int steps = std::max(8, static_cast<int>(std::ceil(cut.halfAngle / DegToRad(0.25L))));
    const long double h = phiEnd / steps;
    long double bestZeta = zetaMid, bestPhi = 0, bestT = t0, bestS = s0;
    int bestK = 0;
    for (int dir : {1, -1}) {
        long double t = t0, ss = s0;
        for (int k = 1; k <= steps; ++k) {
            const long double phi = dir * k * h;
            t += dir * h / i;
            const long double z = crossing(cut, u, vw, phi, t, ss);
            if (std::isnan(z))
                break;
            if (z > bestZeta) {
                bestZeta = z;
                bestPhi = phi;
                bestT = t;
                bestS = ss;
                bestK = dir * k;
            }
        }
    }
    // Golden-section refinement on the bracket around the best sample.
    long double lo = bestPhi - h, hi = bestPhi + h;
    lo = std::max(lo, -phiEnd);
    hi = std::min(hi, phiEnd);
    const long double gr = 0.5L * (std::sqrt(5.0L) - 1.0L);
    long double tA = bestT, sA = bestS, tB = bestT, sB = bestS;
    long double x1 = hi - gr * (hi - lo), x2 = lo + gr * (hi - lo);
    long double z1 = crossing(cut, u, vw, x1, tA, sA), z2 = crossing(cut, u, vw, x2, tB, sB);
    for (int k = 0; k < 90 && !std::isnan(z1) && !std::isnan(z2); ++k) {
        if (z1 > z2) {
            hi = x2;
            x2 = x1;
            z2 = z1;
            tB = tA;
            sB = sA;
            x1 = hi - gr * (hi - lo);
            z1 = crossing(cut, u, vw, x1, tA, sA);
        } else {
            lo = x1;
            x1 = x2;
            z1 = z2;
            tA = tB;
            sA = sB;
            x2 = lo + gr * (hi - lo);
            z2 = crossing(cut, u, vw, x2, tB, sB);
        }
        if (hi - lo < 1e-15L * (1.0L + std::fabs(hi)))
            break;
    }
    long double phi = 0.5L * (lo + hi);
    long double t = tA, ss = sA;
    // At an interior extreme the meshing equation holds: the golden section
    // leaves phi good to the square root of the precision, a secant on the
    // meshing function n . v12 takes it to full precision.
    if (std::abs(bestK) < steps) {
        auto meshing = [&](long double ph, long double& th, long double& sv) {
            if (std::isnan(crossing(cut, u, vw, ph, th, sv)))
                return kNaN;
            const Vec X1 = threadSurface(cut.hob, Flank::Left, th, sv);
            return wheelMeshingFunction(cut.centreDistance, cut.ratio, X1, threadNormal(cut.hob, Flank::Left, th), ph);
        };
        long double p0 = phi - 1e-6L * h, t0s = t, s0s = ss;
        long double m0 = meshing(p0, t0s, s0s);
        long double p1 = phi, t1s = t, s1s = ss;
        long double m1 = meshing(p1, t1s, s1s);
        for (int k = 0; k < 20 && !std::isnan(m0) && !std::isnan(m1) && m1 != m0; ++k) {
            const long double p2 = p1 - m1 * (p1 - p0) / (m1 - m0);
            if (!(p2 > phi - h && p2 < phi + h))
                break;
            p0 = p1;
            m0 = m1;
            p1 = p2;
            m1 = meshing(p1, t1s, s1s);
            if (std::fabs(p1 - p0) < 1e-17L * (1.0L + std::fabs(p1)))
                break;
        }
        if (!std::isnan(m1) && std::fabs(p1 - phi) < h) {
            phi = p1;
            t = t1s;
            ss = s1s;
        }
    }
    Vec X2;
    const long double z = crossing(cut, u, vw, phi, t, ss, &X2);
    if (std::isnan(z) || z < bestZeta - 1e-12L)
        return result;
    result.point = X2;
    result.phi = phi;
    result.theta = t;
    result.s = ss;
    result.interior = std::abs(bestK) < steps;
    result.ok = true;
    return result;
}

WheelSurfaces wheelSurfaces(const DesignValues& d, const SurfaceSampling& sampling)
{
    if (!(d.CentreDistance > 0) || d.WheelTeeth < 1 || !(d.HobToothThickness > 0))
        throw std::runtime_error("model: the design has not been calculated");
    if (sampling.rows < 2 || sampling.cols < 2 || !(sampling.margin >= 0))
        throw std::runtime_error("model: the sampling needs two rows, two columns and a margin of zero or more");
    const HobCut cut = hobCut(d);
    const long double e = d.TipEccentricity;
    const long double a = d.CentreDistance;
    const long double Rh = d.HobTipArcRadius;

    WheelSurfaces w;
    w.teeth = d.WheelTeeth;
    w.centreDistance = a;
    w.throatDiameter = 2.0L * d.Addendum + d.WheelReferenceDiameter;
    w.maxOuterDiameter = d.WheelMaxOuterDiameter;
    {
        // The wheel's tip arc as the geometry gives it (label 40 of
        // core/geometry.cpp, before its rounding): (a - sqrt(Rf1^2 - (Lw/2)^2)) 2 N12.
        const long double Rf1 = d.WormRootArcRadius, half = 0.5L * d.WormWorkingLength;
        w.tipArcRadius = (a - std::sqrt(Rf1 * Rf1 - half * half)) * (2.0L * d.RuleCoefficients[12]);
    }
    // The space bottom is cut by the hob's tip, an arc of radius Rh about the
    // point e beyond the wheel axis: about the worm axis its radius is a + e - Rh.
    w.rootArcRadius = a + e - Rh;
    w.rimWidth = d.RimWorkingWidth;
    w.margin = sampling.margin;

    const long double uMin = Rh - e - sampling.margin;
    const long double uMax = 0.5L * d.WheelMaxOuterDiameter + sampling.margin;
    const long double vEnd = 0.5L * d.RimWorkingWidth + sampling.margin;
    std::vector<long double> us, vs;
    for (int r = 0; r < sampling.rows; ++r)
        us.push_back(uMin + (uMax - uMin) * r / (sampling.rows - 1));
    for (int c = 0; c < sampling.cols; ++c)
        vs.push_back(-vEnd + 2.0L * vEnd * c / (sampling.cols - 1));

    SurfaceGrid left;
    left.rows = sampling.rows;
    left.cols = sampling.cols;
    left.points.resize(us.size() * vs.size());
    std::vector<char> solved(us.size() * vs.size(), 0);
    for (int r = 0; r < left.rows; ++r) {
        for (int c = 0; c < left.cols; ++c) {
            long double theta = kNaN, s = 0;
            const WheelFlankPoint p = wheelFlankPoint(cut, us[r], vs[c], theta, s);
            if (!p.ok)
                continue;
            left.points[static_cast<std::size_t>(r) * left.cols + c] = toPoint(p.point);
            solved[static_cast<std::size_t>(r) * left.cols + c] = 1;
        }
    }
    fillOvershoot(left, solved, us, Rh - e, 0.5L * d.WheelMaxOuterDiameter, &w.extrapolatedNodes, 0);
    // The right wall is the left one's image under the half turn about the
    // wheel's x axis, (x, y, z) -> (x, -y, -z), which takes height v to -v.
    SurfaceGrid right = left;
    for (int r = 0; r < left.rows; ++r)
        for (int c = 0; c < left.cols; ++c)
            right.points[static_cast<std::size_t>(r) * left.cols + c]
                = toPoint(mirrorX(toVec(left.at(r, left.cols - 1 - c))));
    w.space = {std::move(left), std::move(right)};
    return w;
}

} // namespace tpworm::model
