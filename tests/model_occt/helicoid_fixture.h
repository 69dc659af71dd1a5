// Grids of simple toroidal surfaces in the layout of model/surfaces.h, for
// the solid modeller's own checks on surfaces whose shape we know exactly:
// each worm flank is, in every axial section, a straight line through the
// wheel axis turned with the section (a toroidal helicoid); each wheel flank
// a radial line in every plane across the wheel, twisted along its height.
// Not the pair's meshing surfaces: those come from model/ and are checked
// against the meshing equation separately.
#pragma once

#include "model/surfaces.h"

#include <cmath>
#include <numbers>

namespace tpworm::testing {

struct HelicoidPair {
    long double centreDistance = 250, ratio = 22.5L;
    int starts = 2, teeth = 45;
    long double tipArc = 192, rootArc = 210, halfAngle = 20 * std::numbers::pi_v<long double> / 180;
    long double shoulder = 6, margin = 3;
    long double wormHalfThickness = 0.45L * std::numbers::pi_v<long double> / 45; // wheel angle
    long double wheelTip = 200 + 8, wheelRoot = 200 - 10, rimWidth = 60, twist = 0.001L;
    int rows = 9, cols = 181;

    // The section point of a worm flank at distance u from the wheel axis,
    // wheel angle phi, in the axial section at worm angle v.
    static model::Point sectionPoint(long double a, long double u, long double phi, long double v)
    {
        const long double r = a - u * std::cos(phi), z = u * std::sin(phi);
        return {r * std::cos(v), r * std::sin(v), z};
    }

    // u of row r: from past the tip to past the root; v of column c over the
    // working length and the margin.
    long double wormU(int r) const { return tipArc - margin + (rootArc - tipArc + 2 * margin) * r / (rows - 1); }
    long double wormV(int k, int c) const
    {
        const long double reach = ratio * (halfAngle + 0.1L);
        return -reach + 2 * reach * c / (cols - 1) - 2 * std::numbers::pi_v<long double> * k / starts;
    }
    model::Point wormFlank(int k, long double u, long double v, int side) const
    {
        const long double phi = (v + 2 * std::numbers::pi_v<long double> * k / starts) / ratio + side * wormHalfThickness;
        return sectionPoint(centreDistance, u, phi, v);
    }

    model::WormSurfaces worm() const
    {
        model::WormSurfaces w;
        w.starts = starts;
        w.centreDistance = centreDistance;
        w.tipArcRadius = tipArc;
        w.rootArcRadius = rootArc;
        w.throatTipDiameter = 2 * (centreDistance - tipArc);
        w.throatRootDiameter = 2 * (centreDistance - rootArc);
        const long double half = 200 * std::sin(halfAngle);
        w.workingLength = 2 * half;
        w.maxTipDiameter = 2 * (centreDistance - std::sqrt(tipArc * tipArc - half * half));
        w.shoulderSize = shoulder;
        w.margin = margin;
        for (int k = 0; k < starts; ++k) {
            model::FlankPair pair;
            for (model::SurfaceGrid* g : {&pair.left, &pair.right}) {
                g->rows = rows;
                g->cols = cols;
            }
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c) {
                    pair.left.points.push_back(wormFlank(k, wormU(r), wormV(k, c), -1));
                    pair.right.points.push_back(wormFlank(k, wormU(r), wormV(k, c), +1));
                }
            w.threads.push_back(pair);
        }
        return w;
    }

    long double wheelU(int r) const { return wheelRoot - margin + (wheelTip - wheelRoot + 2 * margin + 2) * r / (rows - 1); }
    long double wheelV(int c) const { return -(rimWidth / 2 + margin) + (rimWidth + 2 * margin) * c / (cols - 1); }
    model::Point wheelFlank(long double u, long double v, int side) const
    {
        const long double psi = side * 0.55L * std::numbers::pi_v<long double> / teeth + twist * v;
        return {u * std::cos(psi), u * std::sin(psi), v};
    }

    model::WheelSurfaces wheel() const
    {
        model::WheelSurfaces w;
        w.teeth = teeth;
        w.centreDistance = centreDistance;
        w.throatDiameter = 2 * wheelTip;
        w.tipArcRadius = centreDistance - wheelTip;
        w.rootArcRadius = centreDistance - wheelRoot;
        w.rimWidth = rimWidth;
        // The outer diameter cuts the throat arc inside the rim width.
        const long double z = 0.4L * rimWidth;
        w.maxOuterDiameter = 2 * (centreDistance - std::sqrt(w.tipArcRadius * w.tipArcRadius - z * z));
        w.margin = margin;
        for (model::SurfaceGrid* g : {&w.space.left, &w.space.right}) {
            g->rows = rows;
            g->cols = 41;
        }
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 41; ++c) {
                const long double v = -(rimWidth / 2 + margin) + (rimWidth + 2 * margin) * c / 40;
                w.space.left.points.push_back(wheelFlank(wheelU(r), v, -1));
                w.space.right.points.push_back(wheelFlank(wheelU(r), v, +1));
            }
        return w;
    }
};

} // namespace tpworm::testing
