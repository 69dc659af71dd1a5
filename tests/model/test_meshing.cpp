// The tooth surfaces against the meshing theory they come from: the worm
// flank touches the generating plane where the meshing equation holds, the
// thread sits where the design puts it, the wheel flank is the hob's
// envelope, and worm and wheel touch without overlap at the assembly
// position; over a table of designs from the smallest to the largest centre
// distance and 1 to 4 starts.
#include "model/meshing.h"
#include "model/placement.h"
#include "model/surfaces.h"

#include "core/core_rules.h"
#include "core/design_form.h"
#include "core/numeric.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <cmath>
#include <ostream>
#include <cstdio>
#include <cstdlib>
#include <limits>

using namespace tpworm;
using namespace tpworm::model;
using core::Field;

namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

struct Case {
    const char* centreDistance;
    const char* teeth;
    const char* starts;
};

// The worked example, the smallest and largest centre distances the method is
// given for (70 ... 1500 mm, core/design_form.cpp) with ratios near the ends
// of its range, and every number of starts.
const Case kCases[] = {
    {"250", "45", "2"}, {"80", "31", "1"}, {"125", "40", "4"}, {"400", "63", "3"}, {"1400", "50", "1"}, {"1000", "58", "4"},
};

DesignValues design(const Case& c)
{
    core::DesignRequest request;
    request.centreDistance = c.centreDistance;
    request.teeth = c.teeth;
    request.starts = c.starts;
    const core::DesignForm f = core::runDesign(request, coretest::exampleRules());
    EXPECT_TRUE(f.calculated()) << c.centreDistance << "/" << c.teeth << "/" << c.starts << ": "
                                << f.messages().join('|').toStdString();
    return f.design();
}

std::string name(const Case& c) { return std::string(c.centreDistance) + "/" + c.teeth + "/" + c.starts; }
void PrintTo(const Case& c, std::ostream* os) { *os << name(c); }

long double sectionU(long double a, const Vec& X) { return std::hypot(a - std::hypot(X.x, X.y), X.z); }
long double sectionPsi(long double a, const Vec& X) { return std::atan2(X.z, a - std::hypot(X.x, X.y)); }

// A grid node lies on the part (between tip and root, within the working length).
bool onWorm(const DesignValues& d, const Vec& X)
{
    const long double rho = std::hypot(X.x, X.y);
    const long double tip = std::hypot(d.CentreDistance + d.TipEccentricity - rho, X.z);
    const long double root = std::hypot(d.CentreDistance - rho, X.z);
    return tip >= d.WormTipArcRadius && root <= d.WormRootArcRadius && std::fabs(X.z) <= 0.5L * d.WormWorkingLength;
}

class ModelCase : public ::testing::TestWithParam<Case> {};

} // namespace

// Every node of both flanks of every thread lies on the generating plane of
// the tool angle at which it is in contact (found afresh from the point alone)
// and the meshing equation holds there; and no other tool position within a
// tool pitch either way cuts into it, so the grid is the material boundary
// the plane leaves, not another sheet of the envelope.
TEST_P(ModelCase, WormFlankIsTheEnvelopeOfTheGeneratingPlane)
{
    const DesignValues d = design(GetParam());
    SurfaceSampling sampling;
    sampling.rows = 9;
    sampling.cols = 41;
    for (bool modified : {true, false}) {
        sampling.modifiedWorm = modified;
        const WormSurfaces w = wormSurfaces(d, sampling);
        ASSERT_EQ(static_cast<int>(w.threads.size()), d.WormStarts);
        EXPECT_LE(w.extrapolatedNodes, sampling.cols) << name(GetParam()) << ": at most a row's worth in the margins";
        Generation g = wormGeneration(d, modified);
        placeThread(g);
        int checked = 0;
        for (int k = 0; k < d.WormStarts; ++k) {
            for (Flank flank : {Flank::Left, Flank::Right}) {
                const SurfaceGrid& grid = flank == Flank::Left ? w.threads[k].left : w.threads[k].right;
                // The first and last rows lie in the margin past tip and root,
                // where a node may be continued rather than touched.
                for (int r = 0; r < grid.rows; ++r)
                    for (int c = 0; c < grid.cols; c += 3) {
                        // Back onto thread 0: the threads are turns of one another.
                        const Vec X = fixedToWorm(toVec(grid.at(r, c)), 2.0L * Pi * k / d.WormStarts);
                        const long double u = sectionU(d.CentreDistance, X);
                        if (u < d.WormTipArcRadius - d.TipEccentricity || u > d.WormRootArcRadius)
                            continue;
                        long double theta = 0;
                        const long double dist = distanceToGeneratingPlane(g, flank, X, &theta);
                        EXPECT_LE(dist, 1e-6L) << name(GetParam()) << " row " << r << " col " << c;
                        const Vec Xf = wormToFixed(X, g.ratio * theta);
                        const long double mesh = meshingFunction(g, flank, theta, Xf) / norm(relativeVelocity(g, flank, Xf));
                        EXPECT_LE(std::fabs(mesh), 1e-9L) << name(GetParam()) << " row " << r << " col " << c;
                        if (k == 0 && onWorm(d, X)) {
                            // No cut from the other tool positions over a tool
                            // pitch, where the point passes through the tool's
                            // tooth (the wheel's tooth zone: tip to root about
                            // the wheel axis, within the rim width).
                            long double worst = -1;
                            const long double pitch = 2.0L * Pi / d.WheelTeeth;
                            for (int j = -60; j <= 60; ++j) {
                                const long double t = theta + 0.5L * pitch * j / 60;
                                const Vec Y = wormToFixed(X, g.ratio * t);
                                const long double Rw = std::hypot(d.CentreDistance - Y.x, Y.z);
                                if (Rw < d.WormTipArcRadius - d.TipEccentricity || Rw > d.WormRootArcRadius
                                    || std::fabs(Y.y) > 0.5L * d.RimWorkingWidth)
                                    continue;
                                const Plane pl = generatingPlane(g, flank, t);
                                worst = std::max(worst, dot(pl.n, Y) - pl.p);
                            }
                            EXPECT_LE(worst, 1e-7L) << name(GetParam()) << " row " << r << " col " << c;
                            ++checked;
                        }
                    }
            }
        }
        EXPECT_GT(checked, 10) << "nodes on the part";
    }
}

// The thread where the design puts it: thickness s1 on the throat's reference
// arc, the grid reaching past tip and root arcs and the working length, and
// the axial profile at the throat inclined at the profile angle.
TEST_P(ModelCase, ThreadHasTheDesignsThicknessProfileAndExtent)
{
    const DesignValues d = design(GetParam());
    const long double a = d.CentreDistance, r2 = 0.5L * d.WheelReferenceDiameter;
    for (bool modified : {true, false}) {
        Generation g = wormGeneration(d, modified);
        placeThread(g);
        const FlankPoint left = wormFlankPoint(g, Flank::Left, r2, 0, kNaN);
        const FlankPoint right = wormFlankPoint(g, Flank::Right, r2, 0, kNaN);
        ASSERT_TRUE(left.ok && right.ok);
        EXPECT_NEAR(static_cast<double>(r2 * (sectionPsi(a, left.point) - sectionPsi(a, right.point))), d.WormToothThickness, 1e-9)
            << name(GetParam());
        // The axial profile's inclination to the wheel's radius at the
        // reference point: tan = u dpsi/du along the section v = 0. It equals
        // the profile angle where the generating plane's trace is the profile;
        // the tilt beta turns the plane out of the axial section, so the
        // section of the envelope leans by a small amount, second order in
        // the tilt and lead angles. The plane touches the point at tool angle
        // theta*, the worm turned by i theta* from the section: the tilt's
        // component sin(beta) e_y of the plane normal turns into the section
        // by sin(i theta*), which bounds the lean.
        long double thetaStar = 0;
        distanceToGeneratingPlane(g, Flank::Left, left.point, &thetaStar);
        const long double phiStar = g.ratio * thetaStar;
        const long double lean = std::sin(g.tilt) * std::fabs(std::sin(phiStar)) + std::cos(g.tilt) * (1.0L - std::cos(phiStar));
        const long double bound = std::atan(lean / (std::cos(g.tilt) * std::cos(DegToRad(d.ProfileAngle)) - lean)) * 180.0L / Pi + 0.05L;
        const long double h = 1e-4L;
        const FlankPoint up = wormFlankPoint(g, Flank::Left, r2 + h, 0, left.theta);
        const FlankPoint down = wormFlankPoint(g, Flank::Left, r2 - h, 0, left.theta);
        const long double slope = r2 * (sectionPsi(a, up.point) - sectionPsi(a, down.point)) / (2 * h);
        const long double profile = std::atan(slope) * 180.0L / Pi;
        EXPECT_NEAR(static_cast<double>(profile), d.ProfileAngle, static_cast<double>(bound)) << name(GetParam()) << (modified ? " modified" : "");
        // The profile from the differences is perpendicular to the plane
        // normal's trace in the section.
        const Vec n = left.normal;
        const Vec t = up.point - down.point;
        EXPECT_LT(std::fabs(n.x * t.x + n.z * t.z) / (std::hypot(n.x, n.z) * std::hypot(t.x, t.z)), 1e-6L);
    }
    SurfaceSampling sampling;
    sampling.rows = 5;
    sampling.cols = 31;
    const WormSurfaces w = wormSurfaces(d, sampling);
    for (const FlankPair& pair : w.threads)
        for (const SurfaceGrid* grid : {&pair.left, &pair.right}) {
            long double zMin = 0, zMax = 0;
            for (int c = 0; c < grid->cols; ++c) {
                const Vec tip = toVec(grid->at(0, c)), root = toVec(grid->at(grid->rows - 1, c));
                const long double rhoTip = std::hypot(tip.x, tip.y), rhoRoot = std::hypot(root.x, root.y);
                // Row 0 beyond the tip arc (centre e past the wheel axis), the last row beyond the root arc.
                EXPECT_LT(std::hypot(a + d.TipEccentricity - rhoTip, tip.z), d.WormTipArcRadius) << name(GetParam());
                EXPECT_GT(std::hypot(a - rhoRoot, root.z), d.WormRootArcRadius) << name(GetParam());
                EXPECT_NEAR(static_cast<double>(sectionU(a, root)), d.WormRootArcRadius + w.margin, 1e-9);
                zMin = std::min({zMin, tip.z, root.z});
                zMax = std::max({zMax, tip.z, root.z});
            }
            EXPECT_LT(zMin, -0.5L * d.WormWorkingLength - w.margin + 1e-9L);
            EXPECT_GT(zMax, 0.5L * d.WormWorkingLength + w.margin - 1e-9L);
        }
    // The starts are turns of one another about the worm axis.
    if (w.starts > 1) {
        const Vec p0 = toVec(w.threads[0].left.at(2, 15));
        const Vec p1 = toVec(w.threads[1].left.at(2, 15));
        const Vec turned = wormToFixed(p0, 2.0L * Pi / w.starts);
        EXPECT_LT(norm(turned - p1), 1e-12L);
    }
}

// The wheel's walls: each point is cut by the hob (it lies on the hob flank at
// the hob angle found) where the hob-wheel meshing equation holds; the two
// walls are images of each other; the space is the hob's thread on the throat.
TEST_P(ModelCase, WheelFlankIsTheEnvelopeOfTheHob)
{
    const DesignValues d = design(GetParam());
    SurfaceSampling sampling;
    sampling.rows = 7;
    sampling.cols = 9;
    const WheelSurfaces w = wheelSurfaces(d, sampling);
    const HobCut cut = hobCut(d);
    int interior = 0, continued = 0;
    for (int r = 0; r < w.space.left.rows; ++r)
        for (int c = 0; c < w.space.left.cols; ++c) {
            const Vec X2 = toVec(w.space.left.at(r, c));
            const Vec mirrored = toVec(w.space.right.at(r, w.space.right.cols - 1 - c));
            EXPECT_LT(norm(mirrored - Vec{X2.x, -X2.y, -X2.z}), 1e-12L);
            const long double u = std::hypot(X2.x, X2.y);
            if (u > 0.5L * d.WheelMaxOuterDiameter) {
                // The rows past the outer diameter are continued, not cut
                // by the hob (they run into the hob flank's edge of
                // regression there): the rim's outer cylinder trims them.
                ++continued;
                continue;
            }
            long double theta = kNaN, s = 0;
            const WheelFlankPoint p = wheelFlankPoint(cut, u, X2.z, theta, s);
            if (!p.ok) {
                // Only a node of the margins may have been continued.
                EXPECT_TRUE(u < d.HobTipArcRadius - d.TipEccentricity || u > 0.5L * d.WheelMaxOuterDiameter);
                continue;
            }
            const Vec X1 = wheelToWorm(X2, cut.centreDistance, cut.ratio, p.phi);
            EXPECT_LE(distanceToGeneratingPlane(cut.hob, Flank::Left, X1), 1e-6L) << "on the hob flank";
            if (p.interior) {
                const Vec n1 = threadNormal(cut.hob, Flank::Left, p.theta);
                const Vec Xf = wormToFixed(X1, p.phi);
                const Vec v12 = relativeVelocity(cut.hob, Flank::Left, Xf);
                EXPECT_LE(std::fabs(wheelMeshingFunction(cut.centreDistance, cut.ratio, X1, n1, p.phi)) / norm(v12), 1e-9L)
                    << name(GetParam()) << " row " << r << " col " << c;
                ++interior;
            }
        }
    EXPECT_GT(interior, w.space.left.rows * w.space.left.cols / 2);
    EXPECT_LE(continued, w.extrapolatedNodes);
    long double theta = kNaN, s = 0;
    const WheelFlankPoint mid = wheelFlankPoint(cut, 0.5L * d.WheelReferenceDiameter, 0, theta, s);
    ASSERT_TRUE(mid.ok);
    // The hob at hob angle 0 leaves the space its thread's width there; the
    // neighbouring positions may take a little more (up to 0.13 % over the
    // table of designs: the contact lines do not pass through that point),
    // never less.
    const long double width = d.WheelReferenceDiameter * std::atan2(mid.point.y, mid.point.x);
    EXPECT_GE(width, d.HobToothThickness - 1e-9) << name(GetParam());
    EXPECT_LE(width, 1.005L * d.HobToothThickness) << name(GetParam());
}

// At the assembly position, the worm of the unmodified drive, turned until its
// left flank meets the wheel's, touches the wheel along the worm-wheel contact
// lines (but for what other hob positions cut away) and nowhere cuts into it
// by more than 2 um. Points whose wheel wall the hob's end cut (no envelope
// there) are left out.
TEST_P(ModelCase, WormAndWheelTouchWithoutOverlap)
{
    const DesignValues d = design(GetParam());
    const HobCut cut = hobCut(d);
    const long double a = d.CentreDistance, i = d.Ratio;
    {
        Generation g = wormGeneration(d, false);
        placeThread(g);
        // The backlash: the worm alone turned by delta until its left flank
        // lies on the hob's, which cut the wheel. The unmodified worm is the hob turned about its axis exactly: the
        // planes differ only in their tangent angle (chapter 9.2), and a tool
        // angle shift is a worm turn i times as large.
        const long double delta = -i * (cut.hob.tangentAngle - g.tangentAngle);
        const long double tau = 2.0L * Pi / d.WheelTeeth;
        // The gap along the wheel's circle through a worm point: wall angle
        // minus the point's, times the radius; negative is overlap.
        auto gap = [&](const Vec& X1) {
            const Vec X2 = wormToWheel(wormToFixed(X1, delta), a, i, 0);
            long double theta = kNaN, s = 0;
            const long double u = std::hypot(X2.x, X2.y);
            const WheelFlankPoint p = wheelFlankPoint(cut, u, X2.z, theta, s);
            EXPECT_TRUE(p.ok);
            if (!p.interior)
                return std::numeric_limits<long double>::quiet_NaN(); // cut by the hob's end, no envelope
            long double zeta = std::atan2(X2.y, X2.x);
            zeta -= tau * std::round(zeta / tau); // the point's own space
            return u * (std::atan2(p.point.y, p.point.x) - zeta);
        };
        // Worm points in mesh: facing the wheel (fixed-frame angle within
        // +-25 degrees of the line of centres), within the rim and the part.
        auto inMesh = [&](const Vec& X) {
            const Vec Xf = wormToFixed(X, delta);
            return std::fabs(std::atan2(Xf.y, Xf.x)) < DegToRad(25) && std::fabs(Xf.y) <= 0.5L * d.RimWorkingWidth
                   && onWorm(d, X);
        };
        const long double uTip = d.WormTipArcRadius - d.TipEccentricity, uRoot = d.WormRootArcRadius;
        const int turns = static_cast<int>(std::ceil(DegToRad(d.WorkingHalfAngle) * i / (2.0L * Pi))) + 1;
        long double smallest = std::numeric_limits<long double>::infinity();
        int touching = 0, contacts = 0, sampled = 0;
        for (int r = 1; r <= 4; ++r) {
            const long double u = uTip + (uRoot - uTip) * r / 5;
            for (int m = -turns; m <= turns; ++m) {
                for (int c = -5; c <= 5; ++c) {
                    const long double v = DegToRad(5.0L * c) - delta + 2.0L * Pi * m;
                    const FlankPoint fp = wormFlankPoint(g, Flank::Left, u, v, kNaN);
                    if (!fp.ok || !inMesh(fp.point))
                        continue;
                    const long double gp = gap(fp.point);
                    if (std::isnan(gp))
                        continue;
                    EXPECT_GT(gp, -2e-3L) << name(GetParam()) << " u " << static_cast<double>(u) << " v " << static_cast<double>(v);
                    smallest = std::min(smallest, gp);
                    ++sampled;
                }
                {
                    // Along the contact lines the surfaces touch.
                    const long double v0 = -DegToRad(25) - delta + 2.0L * Pi * m, v1 = DegToRad(25) - delta + 2.0L * Pi * m;
                    for (const Vec& X : wormWheelContactPoints(g, Flank::Left, delta, u, v0, v1, 60)) {
                        if (!inMesh(X))
                            continue;
                        const long double gx = gap(X);
                        if (std::isnan(gx))
                            continue;
                        // Never an overlap; a gap where another hob position
                        // cut the wheel away beyond this contact.
                        EXPECT_GT(gx, -2e-3L) << name(GetParam()) << " u " << static_cast<double>(u);
                        ++contacts;
                        if (std::fabs(gx) <= 2e-3L)
                            ++touching;
                    }
                }
            }
        }
        EXPECT_GT(sampled, 10) << name(GetParam());
        {
            EXPECT_GT(touching, 3) << name(GetParam());
            EXPECT_GE(touching, 0.8 * contacts) << name(GetParam()) << ": the contact lines touch, but for what the hob cut away";
            EXPECT_LT(smallest, 2e-3L);
        }
    }
}

// The worm flank against a direct sampled envelope in numpy
// (tests/model/envelope_check.py): the smallest crossing angle over the plane
// positions, computed without the contact lines, at nodes over the part.
TEST_P(ModelCase, WormFlankAgreesWithASampledEnvelope)
{
    const DesignValues d = design(GetParam());
    Generation g = wormGeneration(d, false);
    placeThread(g);
    const long double a = d.CentreDistance, uTip = d.WormTipArcRadius - d.TipEccentricity, uRoot = d.WormRootArcRadius;
    QJsonArray nodes;
    for (int r = 0; r <= 3; ++r)
        for (int c = -3; c <= 3; ++c) {
            const long double u = uTip + (uRoot - uTip) * (0.1L + 0.8L * r / 3);
            const long double v = 0.8L * DegToRad(d.WorkingHalfAngle) * d.Ratio * c / 3;
            const FlankPoint fp = wormFlankPoint(g, Flank::Left, u, v, kNaN);
            ASSERT_TRUE(fp.ok);
            nodes.append(QJsonArray{static_cast<double>(u), static_cast<double>(v), static_cast<double>(sectionPsi(a, fp.point))});
        }
    const QJsonObject input{{"a", d.CentreDistance},
                            {"i", d.Ratio},
                            {"rb", 0.5 * d.MainBaseDiameter},
                            {"beta", static_cast<double>(g.tilt)},
                            {"tangent", static_cast<double>(g.tangentAngle)},
                            {"teeth", d.WheelTeeth},
                            {"zone", QJsonArray{static_cast<double>(uTip), static_cast<double>(uRoot), 0.5 * d.RimWorkingWidth}},
                            {"nodes", nodes}};
    QProcess python;
    python.start(QStringLiteral(TPWORM_PYTHON3), {QStringLiteral(TPWORM_SOURCE_DIR "/tests/model/envelope_check.py")});
    ASSERT_TRUE(python.waitForStarted());
    python.write(QJsonDocument(input).toJson());
    python.closeWriteChannel();
    ASSERT_TRUE(python.waitForFinished(120000));
    const QString out = QString::fromUtf8(python.readAllStandardOutput()).trimmed();
    ASSERT_EQ(python.exitCode(), 0) << out.toStdString() << python.readAllStandardError().toStdString();
    bool ok = false;
    const double worst = out.toDouble(&ok);
    ASSERT_TRUE(ok) << out.toStdString();
    EXPECT_LT(worst, 1e-7) << name(GetParam()) << ": largest difference in mm";
    RecordProperty("largest_difference_mm", out.toStdString());
}

// Names from the drive data, so that the names ctest lists are the ones run.
INSTANTIATE_TEST_SUITE_P(Designs, ModelCase, ::testing::ValuesIn(kCases), [](const ::testing::TestParamInfo<Case>& info) {
    return std::string("a") + info.param.centreDistance + "_z" + info.param.teeth + "_s" + info.param.starts;
});
