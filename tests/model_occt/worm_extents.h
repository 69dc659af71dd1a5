// The extents a worm solid must have, shared by the tests of the modeller
// and of real designs.
#pragma once

#include "model/occt/solids.h"
#include "model/surfaces.h"

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Circ.hxx>

#include <gtest/gtest.h>

#include <algorithm>

namespace tpworm::testing {

// The worm's extents: along its axis the working length, the shoulders and
// the stubs; across it the largest tip diameter, which only the threads'
// ends reach (the shoulders are smaller, solids.h): the solid stays inside
// that cylinder and touches its circles at both ends of the working length.
inline void expectWormExtents(const TopoDS_Shape& shape, const model::WormSurfaces& surfaces)
{
    Bnd_Box box;
    BRepBndLib::AddOptimal(shape, box, false, false);
    double x0, y0, z0, x1, y1, z1;
    box.Get(x0, y0, z0, x1, y1, z1);
    const double tip = double(surfaces.maxTipDiameter);
    EXPECT_LE(std::max(x1 - x0, y1 - y0), tip + 0.01);
    EXPECT_GT(std::min(x1 - x0, y1 - y0), double(model::occt::shoulderDiameter(surfaces)));
    EXPECT_NEAR(z1 - z0, double(surfaces.workingLength + 2 * surfaces.shoulderSize + 2 * model::occt::stubLength(surfaces)), 0.01);
    const double half = double(surfaces.workingLength) / 2;
    for (double z : {-half, half}) {
        const TopoDS_Edge circle = BRepBuilderAPI_MakeEdge(gp_Circ(gp_Ax2(gp_Pnt(0, 0, z), gp::DZ()), tip / 2)).Edge();
        BRepExtrema_DistShapeShape reach(shape, circle);
        ASSERT_TRUE(reach.IsDone());
        EXPECT_LE(reach.Value(), 0.01) << "the threads reach the largest tip diameter at z = " << z;
    }
    // Inside the cylinder of the largest tip diameter: nothing of the solid
    // on or beyond the cylinder 0.01 mm outside it.
    const TopoDS_Shape outside = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(0, 0, z0 - 1), gp::DZ()), tip / 2 + 0.01, z1 - z0 + 2).Shape();
    TopoDS_Face mantle;
    for (TopExp_Explorer e(outside, TopAbs_FACE); e.More(); e.Next())
        if (BRep_Tool::Surface(TopoDS::Face(e.Current()))->IsKind(STANDARD_TYPE(Geom_CylindricalSurface)))
            mantle = TopoDS::Face(e.Current());
    BRepExtrema_DistShapeShape beyond(shape, mantle);
    ASSERT_TRUE(beyond.IsDone());
    EXPECT_GT(beyond.Value(), 0.0);
}

} // namespace tpworm::testing
