// The 3D models of a calculated design as STEP files, and their line view
// for the design report: the interface the window, the command line and the
// drawing library use, free of OpenCASCADE's headers, and present whether or
// not the program was built with OpenCASCADE (without it, every call says
// that 3D models need OpenCASCADE).
#pragma once

#include "core/design_record.h"
#include "core/safe_file.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <stdexcept>
#include <vector>

namespace tpworm::model {

enum class SolidPart { Worm, Wheel, Pair };

// worm, wheel or pair.
std::optional<SolidPart> solidPartFromWord(const QString& word);
// The file name's stem the window offers: 蜗杆 / 蜗轮 / 蜗杆副.
QString solidPartName(SolidPart part);

// Was the program built with OpenCASCADE?
bool solidModelsAvailable();
// What the commands say when it was not.
QString solidModelsUnavailableText();

// A model that cannot be made; the words say why (in English, from the
// modeller).
struct SolidModelError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The STEP AP214 file (mm) of the part of a calculated design: the worm or
// the wheel rim alone, or both placed in mesh at the centre distance.
// SolidModelError when it cannot be made or OpenCASCADE is missing.
QByteArray solidModelStep(SolidPart part, const DesignValues& design);

// Checks the target, makes the model and writes it atomically.
WriteOutcome writeSolidModel(SolidPart part, const DesignValues& design, const QString& path);

// A line view of the worm and the wheel in mesh, seen along the wheel axis
// and from the side: polylines in mm of the model's edges, projected.
struct LineView {
    QString title;
    std::vector<std::vector<QPointF>> lines;
};
// Empty when OpenCASCADE is missing or the model cannot be made.
std::vector<LineView> solidModelViews(const DesignValues& design);

} // namespace tpworm::model
