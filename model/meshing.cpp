#include "model/meshing.h"

#include "core/numeric.h"

#include <cmath>
#include <limits>

namespace tpworm::model {

long double norm(Vec a) { return std::sqrt(dot(a, a)); }

namespace {

const Vec kEy{0, 1, 0};
const Vec kEz{0, 0, 1};

Vec unit(Vec a) { return (1.0L / norm(a)) * a; }

Vec rotateZ(const Vec& a, long double t)
{
    const long double c = std::cos(t), s = std::sin(t);
    return {c * a.x - s * a.y, s * a.x + c * a.y, a.z};
}

// e_r(psi): the unit vector from the tool axis at angle psi about it in the
// wheel's mid plane y = 0, psi counted from the direction to the worm axis
// (-x) towards +z; given by cos psi and sin psi.
Vec radial(long double c, long double s) { return {-c, 0, s}; }

// The left flank's plane at tool angle theta (chapter 9.2): it touches the
// main base circle at angle psi = tangentAngle - theta and is turned by beta
// about that tangent, n = -cos(beta) e_r - sin(beta) e_y,
// n . (X - C) = -r_b cos(beta). From cos and sin of beta and of psi.
Plane leftPlane(const Generation& g, long double cb, long double sb, long double cpsi, long double spsi)
{
    const Vec n = (-cb) * radial(cpsi, spsi) - sb * kEy;
    const Vec C{g.centreDistance, 0, 0};
    return {n, dot(n, C) - g.baseRadius * cb};
}

Plane leftPlane(const Generation& g, long double theta)
{
    const long double psi = g.tangentAngle - theta;
    return leftPlane(g, std::cos(g.tilt), std::sin(g.tilt), std::cos(psi), std::sin(psi));
}

Line leftContactLine(const Generation& g, const Plane& pl)
{
    const Vec C{g.centreDistance, 0, 0};
    const Vec w{0, -1, 0};
    // Meshing: n . v12 = 0 with v12 = (1/i) w x (X - C) - e_z x X, i.e.
    // ((1/i) n x w - n x e_z) . X = (1/i) (n x w) . C: a plane m . X = q.
    const Vec nw = cross(pl.n, w);
    const Vec m = (1.0L / g.ratio) * nw - cross(pl.n, kEz);
    const long double q = (1.0L / g.ratio) * dot(nw, C);
    const Vec D = unit(cross(pl.n, m));
    // The point of the line with D . X = 0, by Cramer's rule on the rows n, m, D.
    const long double det = dot(pl.n, cross(m, D));
    const Vec P = (1.0L / det) * (pl.p * cross(m, D) + q * cross(D, pl.n));
    return {P, D};
}

Line leftContactLine(const Generation& g, long double theta) { return leftContactLine(g, leftPlane(g, theta)); }

} // namespace

Generation wormGeneration(const DesignValues& d, bool modified)
{
    Generation g;
    g.pairCentreDistance = d.CentreDistance;
    g.referenceRadius = 0.5L * d.WheelReferenceDiameter;
    g.thickness = d.WormToothThickness;
    g.starts = d.WormStarts;
    if (modified) {
        g.centreDistance = d.ModifiedCentreDistance;
        g.ratio = d.ModifiedRatio;
        g.baseRadius = 0.5L * d.ModifiedMainBaseDiameter;
        g.tilt = DegToRad(d.ModifiedGeneratingPlaneTilt);
    } else {
        g.centreDistance = d.CentreDistance;
        g.ratio = d.Ratio;
        g.baseRadius = 0.5L * d.MainBaseDiameter;
        g.tilt = DegToRad(d.GeneratingPlaneTilt);
    }
    return g;
}

Generation hobGeneration(const DesignValues& d)
{
    Generation g = wormGeneration(d, false);
    g.thickness = d.HobToothThickness;
    return g;
}

Plane generatingPlane(const Generation& g, Flank flank, long double theta)
{
    if (flank == Flank::Left)
        return leftPlane(g, theta);
    const Plane l = leftPlane(g, -theta);
    return {mirrorX(l.n), l.p};
}

Vec relativeVelocity(const Generation& g, Flank flank, const Vec& X)
{
    // The mirrored motion is the same motion (both angles reverse), so the
    // relative velocity field is one for both flanks.
    (void)flank;
    const Vec C{g.centreDistance, 0, 0};
    const Vec w{0, -1, 0};
    return (1.0L / g.ratio) * cross(w, X - C) - cross(kEz, X);
}

long double meshingFunction(const Generation& g, Flank flank, long double theta, const Vec& X)
{
    return dot(generatingPlane(g, flank, theta).n, relativeVelocity(g, flank, X));
}

Line contactLine(const Generation& g, Flank flank, long double theta)
{
    if (flank == Flank::Left)
        return leftContactLine(g, theta);
    const Line l = leftContactLine(g, -theta);
    return {mirrorX(l.point), mirrorX(l.direction)};
}

LeftContactLines::LeftContactLines(const Generation& g)
    : g_(g), cb_(std::cos(g.tilt)), sb_(std::sin(g.tilt)), cT_(std::cos(g.tangentAngle)), sT_(std::sin(g.tangentAngle))
{
}

Line LeftContactLines::operator()(long double theta) const
{
    // cos and sin of psi = tangentAngle - theta by the sum formulas: theta
    // stays within a quarter turn, where the library's sine needs no long
    // argument reduction.
    long double s, c;
    ::sincosl(theta, &s, &c);
    return leftContactLine(g_, leftPlane(g_, cb_, sb_, cT_ * c + sT_ * s, sT_ * c - cT_ * s));
}

Vec wormToFixed(const Vec& X1, long double phi) { return rotateZ(X1, phi); }
Vec fixedToWorm(const Vec& Xf, long double phi) { return rotateZ(Xf, -phi); }

Vec wormToWheel(const Vec& X1, long double a, long double i, long double phi)
{
    const Vec f = rotateZ(X1, phi);
    // Fixed worm frame to the wheel's frame at rest, then undo the wheel's
    // turn of -phi/i about its z.
    const Vec w0{a - f.x, f.z, f.y};
    return rotateZ(w0, phi / i);
}

Vec wheelToWorm(const Vec& X2, long double a, long double i, long double phi)
{
    const Vec w0 = rotateZ(X2, -phi / i);
    const Vec f{a - w0.x, w0.z, w0.y};
    return rotateZ(f, -phi);
}

Vec threadSurface(const Generation& g, Flank flank, long double theta, long double s)
{
    const Line l = contactLine(g, flank, theta);
    return fixedToWorm(l.point + s * l.direction, g.ratio * theta);
}

Vec threadNormal(const Generation& g, Flank flank, long double theta)
{
    return fixedToWorm(generatingPlane(g, flank, theta).n, g.ratio * theta);
}

namespace {

// On the contact line of tool angle theta (left flank, fixed frame), the
// point at section distance u from the pair's wheel-axis circle. The line
// crosses the wheel's mid plane y = 0 inside the tooth or below its root;
// from there towards -y it rises through root and tip on the tooth the plane
// is cutting (chapter 9.3). It also comes back through the same distances far
// off the mid plane, on the worm's side, where the tool does not reach: the
// crossing taken is the first one from the mid plane, found by stepping and
// then refined by Newton.
bool pointAtDistance(const Generation& g, const Line& l, long double u, long double& s, Vec& X)
{
    const long double a = g.pairCentreDistance;
    auto distance = [&](long double t) {
        const Vec P = l.point + t * l.direction;
        return std::hypot(a - std::hypot(P.x, P.y), P.z);
    };
    if (std::fabs(l.direction.y) < 1e-9L)
        return false;
    const long double s0 = -l.point.y / l.direction.y;
    const long double f0 = distance(s0) - u;
    // Towards -y when the mid plane lies below the wanted distance (deeper,
    // larger u), towards +y otherwise.
    long double step = (f0 > 0) == (l.direction.y > 0) ? -1.0L : 1.0L;
    long double lo = s0, flo = f0, hi = s0, fhi = f0;
    bool bracketed = false;
    for (int k = 1; k <= 400; ++k) {
        hi = s0 + step * k;
        fhi = distance(hi) - u;
        if ((fhi > 0) != (flo > 0)) {
            bracketed = true;
            break;
        }
        lo = hi;
        flo = fhi;
    }
    if (!bracketed)
        return false;
    // Newton inside the bracket, bisecting when a step leaves it.
    s = lo - flo * (hi - lo) / (fhi - flo);
    for (int k = 0; k < 100; ++k) {
        X = l.point + s * l.direction;
        const long double rho = std::hypot(X.x, X.y);
        const long double uu = std::hypot(a - rho, X.z);
        const long double f = uu - u;
        if ((f > 0) == (flo > 0)) {
            lo = s;
            flo = f;
        } else {
            hi = s;
            fhi = f;
        }
        const Vec grad{-(a - rho) / uu * X.x / rho, -(a - rho) / uu * X.y / rho, X.z / uu};
        const long double slope = dot(grad, l.direction);
        long double next = slope != 0 ? s - f / slope : 0.5L * (lo + hi);
        if (!(next > std::min(lo, hi) && next < std::max(lo, hi)))
            next = 0.5L * (lo + hi);
        const long double change = std::fabs(next - s);
        s = next;
        if (change < 1e-16L * (1.0L + std::fabs(s))) {
            X = l.point + s * l.direction;
            return true;
        }
    }
    X = l.point + s * l.direction;
    return std::fabs(distance(s) - u) < 1e-12L;
}

// The section angle (unwrapped near vRef) of the worm-frame point of the
// contact line of theta at distance u; NaN when there is none.
long double sectionAngleAt(const Generation& g, long double theta, long double u, long double vRef, long double& s, Vec& X1)
{
    const Line l = leftContactLine(g, theta);
    Vec Xf;
    if (!pointAtDistance(g, l, u, s, Xf))
        return std::numeric_limits<long double>::quiet_NaN();
    X1 = fixedToWorm(Xf, g.ratio * theta);
    const long double chi = std::atan2(Xf.y, Xf.x);
    long double v = chi - g.ratio * theta;
    // The section angle counts turns: keep the branch nearest vRef.
    v += 2.0L * Pi * std::round((vRef - v) / (2.0L * Pi));
    return v;
}

FlankPoint leftFlankPoint(const Generation& g, long double u, long double v, long double thetaGuess)
{
    FlankPoint fp;
    long double theta = thetaGuess;
    if (std::isnan(theta)) {
        // The contact lines cross the tooth a little off the axial plane of
        // the fixed frame: the section angle v is reached near chi = 0.
        theta = -v / g.ratio;
    }
    long double s = 0;
    Vec X;
    // Secant iteration on v(theta) - v = 0; dv/dtheta is close to -i.
    long double t0 = theta, f0 = sectionAngleAt(g, t0, u, v, s, X) - v;
    if (std::isnan(f0))
        return fp;
    long double t1 = t0 + f0 / g.ratio;
    long double f1 = sectionAngleAt(g, t1, u, v, s, X) - v;
    for (int k = 0; k < 60 && !std::isnan(f1); ++k) {
        if (std::fabs(f1) < 1e-17L)
            break;
        const long double slope = (f1 - f0) / (t1 - t0);
        const long double t2 = t1 - f1 / (slope != 0 ? slope : -g.ratio);
        t0 = t1;
        f0 = f1;
        t1 = t2;
        f1 = sectionAngleAt(g, t1, u, v, s, X) - v;
        if (std::fabs(t1 - t0) < 1e-18L)
            break;
    }
    if (std::isnan(f1) || std::fabs(f1) > 1e-12L)
        return fp;
    fp.point = X;
    fp.theta = t1;
    fp.s = s;
    fp.normal = fixedToWorm(leftPlane(g, t1).n, g.ratio * t1);
    fp.ok = true;
    return fp;
}

} // namespace

FlankPoint wormFlankPoint(const Generation& g, Flank flank, long double u, long double v, long double thetaGuess)
{
    if (flank == Flank::Left)
        return leftFlankPoint(g, u, v, thetaGuess);
    // The right flank at (u, v) is the image of the left one at (u, -v).
    FlankPoint fp = leftFlankPoint(g, u, -v, std::isnan(thetaGuess) ? thetaGuess : -thetaGuess);
    fp.point = mirrorX(fp.point);
    fp.normal = mirrorX(fp.normal);
    fp.theta = -fp.theta;
    return fp;
}

long double distanceToGeneratingPlane(const Generation& g, Flank flank, const Vec& wormPoint, long double* thetaOut)
{
    const Vec X = flank == Flank::Left ? wormPoint : mirrorX(wormPoint);
    // Signed distance of X from the plane of theta carried into the worm
    // frame: h(theta) = n(theta) . Rz(i theta) X - p(theta). The contact is
    // where h is stationary: h' = -i n . v12, the meshing equation.
    auto h = [&](long double t) {
        const Plane pl = leftPlane(g, t);
        return dot(pl.n, wormToFixed(X, g.ratio * t)) - pl.p;
    };
    auto dh = [&](long double t) { return meshingFunction(g, Flank::Left, t, wormToFixed(X, g.ratio * t)); };
    // One turn of the worm is 2 pi / i of tool angle; h' changes sign twice
    // per turn. Over the turns within half a tool turn either way (far
    // beyond any working range), bracket every sign change of h' by a scan
    // and bisect; keep the stationary point whose h is nearest zero.
    const long double turn = 2.0L * Pi / g.ratio;
    const int perTurn = 24;
    const int halfTurns = static_cast<int>(0.5L * g.ratio) + 1;
    long double best = std::numeric_limits<long double>::infinity(), bestTheta = 0;
    long double t0 = -halfTurns * turn, d0 = dh(t0);
    for (int k = 1; k <= 2 * halfTurns * perTurn; ++k) {
        const long double t1 = -halfTurns * turn + k * turn / perTurn;
        const long double d1 = dh(t1);
        if ((d0 > 0) != (d1 > 0)) {
            long double lo = t0, hi = t1, dlo = d0;
            for (int it = 0; it < 200 && hi - lo > 1e-18L * (1.0L + std::fabs(hi)); ++it) {
                const long double mid = 0.5L * (lo + hi);
                const long double dm = dh(mid);
                if ((dm > 0) == (dlo > 0)) {
                    lo = mid;
                    dlo = dm;
                } else {
                    hi = mid;
                }
            }
            const long double t = 0.5L * (lo + hi);
            const long double value = h(t);
            if (std::fabs(value) < std::fabs(best)) {
                best = value;
                bestTheta = t;
            }
        }
        t0 = t1;
        d0 = d1;
    }
    if (thetaOut)
        *thetaOut = flank == Flank::Left ? bestTheta : -bestTheta;
    return std::fabs(best);
}

long double wheelMeshingFunction(long double a, long double i, const Vec& X1, const Vec& n1, long double phi)
{
    // In the fixed frame: the hob turns about +z (unit rate), the wheel by
    // 1/i about -y through (a, 0, 0).
    const Vec Xf = wormToFixed(X1, phi);
    const Vec nf = wormToFixed(n1, phi);
    const Vec C{a, 0, 0};
    const Vec w{0, -1, 0};
    const Vec v12 = (1.0L / i) * cross(w, Xf - C) - cross(kEz, Xf);
    return dot(nf, v12);
}

} // namespace tpworm::model

namespace tpworm::model {

std::vector<Vec> wormWheelContactPoints(const Generation& g, Flank flank, long double phi, long double u,
                                        long double vFrom, long double vTo, int samples)
{
    // The worm-wheel motion is the generating motion (the wheel turns with
    // the tool): the meshing function of the worm flank point of section v,
    // with the flank's normal, in the fixed frame at worm angle phi.
    auto f = [&](long double v, Vec& X) {
        const FlankPoint fp = wormFlankPoint(g, flank, u, v, std::numeric_limits<long double>::quiet_NaN());
        if (!fp.ok)
            return std::numeric_limits<long double>::quiet_NaN();
        X = fp.point;
        const Vec Xf = wormToFixed(fp.point, phi);
        const Vec nf = wormToFixed(fp.normal, phi);
        return dot(nf, relativeVelocity(g, flank, Xf)) / norm(relativeVelocity(g, flank, Xf));
    };
    std::vector<Vec> points;
    Vec X;
    long double v0 = vFrom, f0 = f(v0, X);
    for (int k = 1; k <= samples; ++k) {
        const long double v1 = vFrom + (vTo - vFrom) * k / samples;
        const long double f1 = f(v1, X);
        if (!std::isnan(f0) && !std::isnan(f1) && (f0 > 0) != (f1 > 0)) {
            long double lo = v0, hi = v1, flo = f0;
            for (int it = 0; it < 200 && hi - lo > 1e-16L * (1.0L + std::fabs(hi)); ++it) {
                const long double mid = 0.5L * (lo + hi);
                const long double fm = f(mid, X);
                if ((fm > 0) == (flo > 0)) {
                    lo = mid;
                    flo = fm;
                } else {
                    hi = mid;
                }
            }
            f(0.5L * (lo + hi), X);
            points.push_back(X);
        }
        v0 = v1;
        f0 = f1;
    }
    return points;
}

} // namespace tpworm::model
