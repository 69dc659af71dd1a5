// The 3D models of a calculated design as STEP files: the interface the
// command line uses, free of OpenCASCADE's headers, and present whether or
// not the program was built with OpenCASCADE (without it, every call says
// that 3D models need OpenCASCADE).
#pragma once

#include "core/design_record.h"
#include "core/safe_file.h"

#include <QString>

#include <optional>
#include <stdexcept>

namespace tpworm::model {

enum class SolidPart { Worm, Wheel, Pair };

// worm, wheel or pair.
std::optional<SolidPart> solidPartFromWord(const QString& word);

// Was the program built with OpenCASCADE?
bool solidModelsAvailable();
// What the commands say when it was not.
QString solidModelsUnavailableText();

// A model that cannot be made; the words say why (in English, from the
// modeller).
struct SolidModelError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The model's sizes that do not come from the design but were chosen by this
// program, only to show the part whole: reference values, said so wherever
// the model is written (0: not in this part).
struct SolidReferenceValues {
    double stubLength = 0;  // mm, each shaft stub of the worm beyond its shoulder
    double rimBore = 0;     // mm, the wheel rim's inner diameter
    double shoulderDiameter = 0; // mm, the worm's shoulders (their width is the design's 肩台)
};
// One line of them in English, for the command line and the STEP file.
QString solidReferenceText(const SolidReferenceValues& values);

// The STEP AP214 file (mm) of the part of a calculated design: the worm or
// the wheel rim alone, or both placed in mesh at the centre distance.
// SolidModelError when it cannot be made or OpenCASCADE is missing.
QByteArray solidModelStep(SolidPart part, const DesignValues& design, SolidReferenceValues* reference = nullptr);

// Checks the target, makes the model and writes it atomically.
WriteOutcome writeSolidModel(SolidPart part, const DesignValues& design, const QString& path,
                             SolidReferenceValues* reference = nullptr);

} // namespace tpworm::model
