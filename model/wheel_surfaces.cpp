// The wheel's tooth-space flanks: the envelope of the hob (chapter 9.6).
#include "model/meshing.h"
#include "model/placement.h"

#include "core/numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace tpworm::model {

namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
// How far along its line (mm) a crossing may lie from where the neighbouring
// crossings put it: the scan's steps move it by a fraction of that.
constexpr long double kReach = 1.0L;

// Where the hob's left flank crosses the wheel circle of radius u at height
// vw at hob angle phi: solves for the flank's (theta, s) by Newton from the
// guess, returns the wheel angle zeta of the crossing (NaN if none). The
// general two-parameter solution, used where the ruled one below finds none.
long double crossingNewton(const HobCut& cut, long double u, long double vw, long double phi, long double& theta,
                           long double& s)
{
    auto residual = [&](long double t, long double ss, Vec& X2) {
        X2 = wormToWheel(threadSurface(cut.hob, Flank::Left, t, ss), cut.centreDistance, cut.ratio, phi);
        return std::pair<long double, long double>{X2.z - vw, std::hypot(X2.x, X2.y) - u};
    };
    Vec X2;
    for (int k = 0; k < 60; ++k) {
        const auto [f1, f2] = residual(theta, s, X2);
        if (std::fabs(f1) < 1e-13L && std::fabs(f2) < 1e-13L)
            return std::atan2(X2.y, X2.x);
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

// The hob's flank is ruled by the contact lines of its generation (chapter
// 9.3): the line of tool angle theta, carried to hob angle phi, is a straight
// line in the wheel frame whose height along the wheel axis is linear in s.
// So the point of that line at height vw is closed form, and the crossing is
// one equation in theta: that point's distance from the wheel axis is u.
// Returns false when the line runs parallel to the wheel's mid plane.
// The node's circle, and the hob's lines with their constant trigonometry.
struct Node {
    const HobCut& cut;
    LeftContactLines lines;
    long double u;
    long double vw;
};

// The point of a line at the node's height: its parameter s, its distance
// from the wheel axis less u, and the two coordinates that give its wheel
// angle (zeta = atan2(z, x) + phi / i).
struct LinePoint {
    long double s = 0;
    long double residual = 0;
    long double x = 0;
    long double z = 0;
};

bool lineAtHeight(const Node& node, long double phi, long double theta, LinePoint& out)
{
    const HobCut& cut = node.cut;
    const Line l = node.lines(theta);
    // Hob frame to fixed frame at hob angle phi: Rz(phi) Rz(-i theta), one
    // turn by alpha; the fixed frame's y is the wheel axis' direction.
    const long double alpha = phi - cut.hob.ratio * theta;
    long double sn, c;
    ::sincosl(alpha, &sn, &c);
    const long double dy = sn * l.direction.x + c * l.direction.y;
    if (!(std::fabs(dy) > 1e-6L))
        return false;
    out.s = (node.vw - (sn * l.point.x + c * l.point.y)) / dy;
    const Vec X = l.point + out.s * l.direction;
    // In the wheel frame the point is (a - x, z, y) turned by phi/i about z.
    out.x = cut.centreDistance - (c * X.x - sn * X.y);
    out.z = X.z;
    // (No overflow or underflow to guard against at these sizes.)
    out.residual = std::sqrt(out.x * out.x + out.z * out.z) - node.u;
    return std::isfinite(out.residual);
}

// One crossing of the flank with the circle: wheel angle zeta, flank
// parameters theta and s.
struct Crossing {
    long double zeta = kNaN;
    long double theta = 0;
    long double s = 0;
    bool ok() const { return !std::isnan(zeta); }
};

// The crossing at hob angle phi from a guess of theta and s: Newton on the
// one equation with the slope carried in (from the previous crossing of a
// scan, where it changes little; none: a difference quotient), updated to a
// secant as the iteration goes; out of it, the slope there. The lines of
// the flank run on past the tooth and come back through the same circles on
// other sheets (chapter 9.3); an answer farther than sReach along the line
// from the guess is such a sheet, not the crossing followed. Where the one
// equation finds none within reach, the two-parameter Newton from the guess.
Crossing cross(const Node& node, long double phi, long double theta, long double sGuess, long double sReach,
               long double& slope)
{
    const HobCut& cut = node.cut;
    Crossing out;
    long double t = theta;
    LinePoint p;
    bool ok = lineAtHeight(node, phi, t, p);
    if (ok && !(std::isfinite(slope) && slope != 0)) {
        const long double ht = 1e-7L;
        LinePoint q;
        ok = lineAtHeight(node, phi, t + ht, q);
        slope = (q.residual - p.residual) / ht;
    }
    const long double limit = 0.05L / cut.hob.ratio;
    for (int k = 0; ok && k < 60; ++k) {
        if (std::fabs(p.residual) < 1e-13L) {
            if (!(std::fabs(p.s - sGuess) <= sReach))
                break;
            out.zeta = std::atan2(p.z, p.x) + phi / cut.ratio;
            out.theta = t;
            out.s = p.s;
            return out;
        }
        if (!(std::isfinite(slope) && slope != 0))
            break;
        long double dt = p.residual / slope;
        if (std::fabs(dt) > limit)
            dt = dt > 0 ? limit : -limit;
        const long double t1 = t - dt;
        LinePoint q;
        if (!lineAtHeight(node, phi, t1, q))
            break;
        if (q.residual != p.residual)
            slope = (q.residual - p.residual) / (t1 - t);
        t = t1;
        p = q;
    }
    long double tn = theta, sn = sGuess;
    const long double z = crossingNewton(cut, node.u, node.vw, phi, tn, sn);
    if (!std::isnan(z) && std::fabs(sn - sGuess) <= sReach) {
        out.zeta = z;
        out.theta = tn;
        out.s = sn;
        slope = kNaN;
    }
    return out;
}

// The hob-wheel meshing function at a crossing: zero where zeta(phi) is
// stationary.
long double meshingAt(const HobCut& cut, long double phi, const Crossing& c)
{
    const Vec X1 = threadSurface(cut.hob, Flank::Left, c.theta, c.s);
    return wheelMeshingFunction(cut.centreDistance, cut.ratio, X1, threadNormal(cut.hob, Flank::Left, c.theta), phi);
}

struct Sample {
    long double phi = 0;
    Crossing c;
    long double mesh = kNaN; // the meshing function, when asked for
    bool edge = false;       // the last crossing before the circle leaves the flank
};

// The wall's candidate from one bracket of the scan.
struct Candidate {
    long double phi = 0;
    Crossing c;
    bool interior = false;
};

// The root of the meshing function between two samples of opposite sign: a
// secant through the last two iterates, bisecting when it leaves the
// bracket; each value a crossing at the new hob angle.
bool meshingRoot(const Node& node, Sample lo, Sample hi, Candidate& found)
{
    const HobCut& cut = node.cut;
    long double slope = kNaN;
    Sample a = lo, b = hi; // the bracket
    Sample p0 = lo, p1 = hi; // the secant's points
    for (int k = 0; k < 80; ++k) {
        long double x = p1.phi - p1.mesh * (p1.phi - p0.phi) / (p1.mesh - p0.mesh);
        const long double left = std::min(a.phi, b.phi), right = std::max(a.phi, b.phi);
        if (!(x > left && x < right))
            x = 0.5L * (a.phi + b.phi);
        const long double w = (x - a.phi) / (b.phi - a.phi);
        Sample m;
        m.phi = x;
        m.c = cross(node, x, a.c.theta + w * (b.c.theta - a.c.theta), a.c.s + w * (b.c.s - a.c.s),
                    kReach + std::fabs(b.c.s - a.c.s), slope);
        if (!m.c.ok())
            return false;
        m.mesh = meshingAt(cut, x, m.c);
        const long double change = std::fabs(x - p1.phi);
        if (m.mesh == 0 || change < 1e-17L * (1.0L + std::fabs(x)) || right - left < 1e-17L * (1.0L + std::fabs(x))) {
            // A root, not a jump of the crossing from one sheet of the
            // flank's lines to another inside the bracket.
            if (!(std::fabs(m.mesh) <= 1e-12L * (std::fabs(lo.mesh) + std::fabs(hi.mesh))))
                return false;
            found = {x, m.c, true};
            return true;
        }
        if ((m.mesh > 0) == (a.mesh > 0))
            a = m;
        else
            b = m;
        p0 = p1;
        p1 = m;
    }
    return false;
}

// The old refinement, kept for a bracket where the meshing function shows no
// sign change: golden section on zeta between lo and hi.
Candidate goldenSection(const Node& node, long double lo, long double hi, const Crossing& start, long double reach)
{
    const HobCut& cut = node.cut;
    const long double loFrom = lo, hiFrom = hi;
    const long double gr = 0.5L * (std::sqrt(5.0L) - 1.0L);
    long double slopeA = kNaN, slopeB = kNaN;
    long double x1 = hi - gr * (hi - lo), x2 = lo + gr * (hi - lo);
    Crossing c1 = cross(node, x1, start.theta, start.s, reach, slopeA);
    Crossing c2 = cross(node, x2, start.theta, start.s, reach, slopeB);
    for (int k = 0; k < 90 && c1.ok() && c2.ok(); ++k) {
        if (c1.zeta > c2.zeta) {
            hi = x2;
            x2 = x1;
            c2 = c1;
            x1 = hi - gr * (hi - lo);
            c1 = cross(node, x1, c2.theta, c2.s, reach, slopeA);
        } else {
            lo = x1;
            x1 = x2;
            c1 = c2;
            x2 = lo + gr * (hi - lo);
            c2 = cross(node, x2, c1.theta, c1.s, reach, slopeB);
        }
        if (hi - lo < 1e-15L * (1.0L + std::fabs(hi)))
            break;
    }
    const long double phi = 0.5L * (lo + hi);
    long double slope = kNaN;
    const Crossing c = cross(node, phi, (c1.ok() ? c1 : start).theta, (c1.ok() ? c1 : start).s, reach, slope);
    if (!c.ok())
        return {phi, start, false};
    // The golden section leaves phi good to the square root of the
    // precision; a secant on the meshing function from there takes it to
    // full precision where it converges inside the bracket.
    Sample p0{phi - 1e-6L * (hiFrom - loFrom), {}, kNaN}, p1{phi, c, kNaN};
    p0.c = cross(node, p0.phi, c.theta, c.s, reach, slope);
    if (!p0.c.ok())
        return {phi, c, false};
    p0.mesh = meshingAt(cut, p0.phi, p0.c);
    p1.mesh = meshingAt(cut, p1.phi, p1.c);
    for (int k = 0; k < 20 && p1.mesh != p0.mesh; ++k) {
        const long double x = p1.phi - p1.mesh * (p1.phi - p0.phi) / (p1.mesh - p0.mesh);
        if (!(x > loFrom && x < hiFrom))
            break;
        Sample next{x, cross(node, x, p1.c.theta, p1.c.s, reach, slope), kNaN};
        if (!next.c.ok())
            break;
        next.mesh = meshingAt(cut, x, next.c);
        p0 = p1;
        p1 = next;
        if (std::fabs(p1.phi - p0.phi) < 1e-17L * (1.0L + std::fabs(p1.phi)) || p1.mesh == 0) {
            if (p1.c.zeta >= c.zeta - 1e-15L)
                return {p1.phi, p1.c, true};
            break;
        }
    }
    return {phi, c, false};
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
    // The space travels through the hob while the hob turns by i times its
    // half angle either way; the left wall is the farthest the left flank
    // reaches (max of zeta over phi), chapter 9.6. zeta(phi) has more than
    // one local maximum (the plane's and the second envelope's, and the
    // hob's ends), so it is sampled over the whole travel first.
    const Node node{cut, LeftContactLines(cut.hob), u, vw};
    const long double phiEnd = i * cut.halfAngle;
    const int steps = std::max(8, static_cast<int>(std::ceil(cut.halfAngle / DegToRad(0.25L))));
    const long double h = phiEnd / steps;
    std::vector<Sample> samples(static_cast<std::size_t>(2 * steps + 1));
    auto sample = [&](int k) -> Sample& { return samples[static_cast<std::size_t>(k + steps)]; };
    // The first crossing by the two-parameter Newton from the hob's own
    // flank point, which is on the sheet of the tooth.
    {
        long double t0 = theta, s0 = s;
        sample(0).c.zeta = crossingNewton(cut, u, vw, 0, t0, s0);
        sample(0).c.theta = t0;
        sample(0).c.s = s0;
    }
    if (!sample(0).c.ok())
        return result;
    long double slope0 = kNaN;
    theta = sample(0).c.theta;
    s = sample(0).c.s;
    int kFrom = 0, kTo = 0; // the samples with a crossing
    for (int dir : {1, -1}) {
        long double slope = slope0;
        for (int k = 1; k <= steps; ++k) {
            // The next theta and s: carried on from the last three by a
            // parabola (from fewer, a line or the hob's turn).
            const Crossing& c1 = sample(dir * (k - 1)).c;
            long double guess = c1.theta + dir * h / i, sGuess = c1.s;
            if (k >= 3) {
                const Crossing &c2 = sample(dir * (k - 2)).c, &c3 = sample(dir * (k - 3)).c;
                guess = 3.0L * (c1.theta - c2.theta) + c3.theta;
                sGuess = 3.0L * (c1.s - c2.s) + c3.s;
            } else if (k == 2) {
                const Crossing& c2 = sample(dir * (k - 2)).c;
                guess = 2.0L * c1.theta - c2.theta;
                sGuess = 2.0L * c1.s - c2.s;
            }
            Sample& next = sample(dir * k);
            next.phi = dir * k * h;
            if (k == 1) {
                // The first step by the two-parameter Newton, which moves
                // theta and s together from the crossing at phi = 0.
                long double t1 = guess, s1 = sGuess;
                next.c.zeta = crossingNewton(cut, u, vw, next.phi, t1, s1);
                next.c.theta = t1;
                next.c.s = s1;
            } else {
                // Within reach: a step's worth of s beyond the guess.
                const long double reach = kReach + std::fabs(c1.s - sample(dir * (k - 2)).c.s);
                next.c = cross(node, next.phi, guess, sGuess, reach, slope);
            }
            if (!next.c.ok())
                break;
            (dir > 0 ? kTo : kFrom) = dir * k;
        }
    }
    // Where the scan stopped short of the travel's end, the circle left the
    // flank (past a fold of the crossing, where the wall may still rise to a
    // maximum): the last hob angle with a crossing, found by bisection,
    // closes the bracket on that side.
    std::vector<Sample> run(samples.begin() + (kFrom + steps), samples.begin() + (kTo + steps + 1));
    for (int dir : {1, -1}) {
        const int k = dir > 0 ? kTo : kFrom;
        if (dir * k >= steps)
            continue;
        Sample good = sample(k);
        const long double reach = kReach + (k != 0 ? std::fabs(good.c.s - sample(k - dir).c.s) : 0.0L);
        long double bad = good.phi + dir * h;
        for (int it = 0; it < 64 && std::fabs(bad - good.phi) > 1e-16L * (1.0L + std::fabs(bad)); ++it) {
            const long double mid = 0.5L * (good.phi + bad);
            long double slope = kNaN;
            const Crossing c = cross(node, mid, good.c.theta, good.c.s, reach, slope);
            if (c.ok())
                good = {mid, c, kNaN, true};
            else
                bad = mid;
        }
        if (good.phi != sample(k).phi) {
            if (dir > 0)
                run.push_back(good);
            else
                run.insert(run.begin(), good);
        }
    }
    long double bestZeta = -std::numeric_limits<long double>::infinity();
    for (const Sample& p : run)
        if (!p.edge)
            bestZeta = std::max(bestZeta, p.c.zeta);
    // Every local maximum of the samples is refined: in the bracket on either
    // side of it where the meshing function changes sign, its root (the
    // meshing equation holds there); a maximum at an end of the travel is
    // also taken as it is (cut by the hob's end).
    auto meshOf = [&](std::size_t k) -> long double {
        Sample& p = run[k];
        if (std::isnan(p.mesh))
            p.mesh = meshingAt(cut, p.phi, p.c);
        return p.mesh;
    };
    Candidate best;
    bool found = false;
    auto consider = [&](const Candidate& c) {
        if (c.c.ok() && (!found || c.c.zeta > best.c.zeta)) {
            best = c;
            found = true;
        }
    };
    const std::size_t last = run.size() - 1;
    for (std::size_t k = 0; k <= last; ++k) {
        const long double z = run[k].c.zeta;
        if ((k > 0 && run[k - 1].c.zeta > z) || (k < last && run[k + 1].c.zeta > z))
            continue;
        long double refined = -std::numeric_limits<long double>::infinity();
        for (int side : {-1, 1}) {
            if ((side < 0 && k == 0) || (side > 0 && k == last))
                continue;
            const std::size_t j = side < 0 ? k - 1 : k + 1;
            const long double mk = meshOf(k), mj = meshOf(j);
            if (mk == 0) {
                consider({run[k].phi, run[k].c, true});
                refined = z;
                break;
            }
            if ((mk > 0) == (mj > 0)) {
                // Towards the flank's edge the wall may rise to a maximum and
                // fall again before the edge: a golden section finds it,
                // taken only where the meshing equation holds.
                if (run[j].edge || run[k].edge) {
                    const std::size_t inner = run[j].edge ? k : j;
                    const Candidate c = goldenSection(node, std::min(run[j].phi, run[k].phi), std::max(run[j].phi, run[k].phi),
                                                      run[inner].c, kReach + std::fabs(run[j].c.s - run[k].c.s));
                    if (c.interior) {
                        consider(c);
                        refined = std::max(refined, c.c.zeta);
                    }
                }
                continue;
            }
            Candidate c;
            if (meshingRoot(node, run[std::min(j, k)], run[std::max(j, k)], c)) {
                consider(c);
                refined = std::max(refined, c.c.zeta);
            }
        }
        if (run[k].edge) {
            // Not a wall point of its own: the circle leaves the flank at its
            // edge of regression, where the flank folds back (its contact
            // with the plane there is degenerate); the last sample before it
            // stands for that end.
            consider({run[k - (k == last ? 1 : -1)].phi, run[k - (k == last ? 1 : -1)].c, false});
        } else if (k == 0 || k == last)
            consider({run[k].phi, run[k].c, false});
        else if (refined < z)
            // No root reaching the sample's height (zeta flat to rounding,
            // or the meshing function not changing sign with it): as before.
            consider(goldenSection(node, run[k - 1].phi, run[k + 1].phi, run[k].c,
                                   kReach + std::fabs(run[k + 1].c.s - run[k - 1].c.s)));
    }
    if (!found || best.c.zeta < bestZeta - 1e-12L)
        return result;
    result.point = wormToWheel(threadSurface(cut.hob, Flank::Left, best.c.theta, best.c.s), cut.centreDistance, cut.ratio,
                               best.phi);
    result.phi = best.phi;
    result.theta = best.c.theta;
    result.s = best.c.s;
    result.interior = best.interior;
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
    // The rows past the outer diameter are continued, not solved: there the
    // node's circle runs into the hob flank's edge of regression, where the
    // wall folds and its points, though they are crossings, jump from row to
    // row (by tenths of a millimetre on the 80/31/1 design); a face fitted
    // through them is wavy beyond the rim, and the boolean cut of the rim
    // then never ends. The rim's outer cylinder trims the continued rows away.
    const long double uOuter = 0.5L * d.WheelMaxOuterDiameter;
    for (int r = 0; r < left.rows; ++r) {
        if (us[r] > uOuter)
            continue;
        for (int c = 0; c < left.cols; ++c) {
            long double theta = kNaN, s = 0;
            const WheelFlankPoint p = wheelFlankPoint(cut, us[r], vs[c], theta, s);
            if (!p.ok)
                continue;
            left.points[static_cast<std::size_t>(r) * left.cols + c] = toPoint(p.point);
            solved[static_cast<std::size_t>(r) * left.cols + c] = 1;
        }
    }
    fillOvershoot(left, solved, us, Rh - e, uOuter, &w.extrapolatedNodes, 0);
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
