// Solids as a STEP AP214 file in millimetres, written through OpenCASCADE's
// XCAF document, so that every solid carries its name and a pair is an
// assembly of two placed parts.
#pragma once

#include <QByteArray>

#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

#include <string>
#include <vector>

namespace tpworm::model::occt {

struct StepPart {
    TopoDS_Shape shape;
    std::string name;
    gp_Trsf placement; // in the assembly; ignored for a file of one part
};

// The bytes of the STEP file: one part as itself, more as an assembly named
// assemblyName. ModelError when OpenCASCADE fails to translate or write.
QByteArray stepFile(const std::vector<StepPart>& parts, const std::string& assemblyName);

} // namespace tpworm::model::occt
