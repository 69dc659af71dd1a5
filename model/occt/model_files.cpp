// The 3D models of a calculated design: the tooth surfaces from the meshing
// calculation (model/), the solids and STEP files from model/occt.
#include "model/occt/model_files.h"

#include "model/occt/solids.h"
#include "model/occt/step_file.h"
#include "model/surfaces.h"


namespace tpworm::model {

namespace {

using occt::ModelError;

occt::WormModel worm(const DesignValues& design) { return occt::wormModel(wormSurfaces(design)); }

occt::WheelModel wheel(const DesignValues& design)
{
    const WheelSurfaces surfaces = wheelSurfaces(design);
    return occt::wheelModel(surfaces, occt::rimInnerDiameter(surfaces, design.WheelReferenceDiameter,
                                                                 design.TransverseModule));
}

std::string partName(const char* part, const DesignValues& d)
{
    return std::string(part) + " a=" + std::to_string(d.CentreDistance) + " z2=" + std::to_string(d.WheelTeeth)
           + " z1=" + std::to_string(d.WormStarts);
}

} // namespace

bool solidModelsAvailable() { return true; }

QByteArray solidModelStep(SolidPart part, const DesignValues& design)
{
    try {
        switch (part) {
        case SolidPart::Worm: return occt::stepFile({{worm(design).solid, partName("worm", design), {}}}, "");
        case SolidPart::Wheel: return occt::stepFile({{wheel(design).solid, partName("wheel", design), {}}}, "");
        case SolidPart::Pair:
            return occt::stepFile({{worm(design).solid, partName("worm", design), {}},
                                   {wheel(design).solid, partName("wheel", design),
                                    occt::wheelPlacement(design.CentreDistance)}},
                                  partName("pair", design));
        }
    } catch (const std::exception& error) {
        throw SolidModelError(error.what());
    }
    throw SolidModelError("unknown part");
}

WriteOutcome writeSolidModel(SolidPart part, const DesignValues& design, const QString& path)
{
    // The target first: a model takes seconds to make.
    if (const WriteOutcome target = checkWritableTarget(path); !target.ok())
        return target;
    QByteArray bytes;
    try {
        bytes = solidModelStep(part, design);
    } catch (const SolidModelError& error) {
        return {QString::fromStdString(error.what())};
    }
    return writeFileAtomically(path, bytes);
}

} // namespace tpworm::model
