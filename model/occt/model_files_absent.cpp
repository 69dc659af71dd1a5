// The 3D models when the program was built without OpenCASCADE: the
// commands stay, and say plainly what is missing.
#include "model/occt/model_files.h"

namespace tpworm::model {

bool solidModelsAvailable() { return false; }

QByteArray solidModelStep(SolidPart, const DesignValues&, SolidReferenceValues*)
{
    throw SolidModelError(solidModelsUnavailableText().toStdString());
}

WriteOutcome writeSolidModel(SolidPart, const DesignValues&, const QString&, SolidReferenceValues*)
{
    return {solidModelsUnavailableText()};
}

} // namespace tpworm::model
