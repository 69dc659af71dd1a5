// The 3D models of a calculated design: the tooth surfaces from the meshing
// calculation (model/), the solids and STEP files from model/occt.
#include "model/occt/model_files.h"

#include "model/occt/solids.h"
#include "model/occt/step_file.h"
#include "model/surfaces.h"


namespace tpworm::model {

namespace {

struct Made {
    TopoDS_Shape solid;
    std::string name;
};

Made worm(const DesignValues& design, SolidReferenceValues& reference)
{
    const WormSurfaces surfaces = wormSurfaces(design);
    reference.stubLength = double(occt::stubLength(surfaces));
    reference.shoulderDiameter = double(occt::shoulderDiameter(surfaces));
    return {occt::wormModel(surfaces).solid, ""};
}

Made wheel(const DesignValues& design, SolidReferenceValues& reference)
{
    const WheelSurfaces surfaces = wheelSurfaces(design);
    const long double bore = occt::rimInnerDiameter(surfaces, design.WheelReferenceDiameter, design.TransverseModule);
    reference.rimBore = double(bore);
    return {occt::wheelModel(surfaces, bore).solid, ""};
}

// The part's name in the file, with its reference values.
std::string partName(const char* part, const DesignValues& d, const SolidReferenceValues& reference)
{
    std::string name = std::string(part) + " a=" + std::to_string(d.CentreDistance) + " z2=" + std::to_string(d.WheelTeeth)
                       + " z1=" + std::to_string(d.WormStarts);
    if (const QString text = solidReferenceText(reference); !text.isEmpty())
        name += " (" + text.toStdString() + ")";
    return name;
}

} // namespace

bool solidModelsAvailable() { return true; }

QByteArray solidModelStep(SolidPart part, const DesignValues& design, SolidReferenceValues* referenceOut)
{
    try {
        SolidReferenceValues wormReference, wheelReference;
        QByteArray bytes;
        switch (part) {
        case SolidPart::Worm: {
            const Made w = worm(design, wormReference);
            bytes = occt::stepFile({{w.solid, partName("worm", design, wormReference), {}}}, "");
            break;
        }
        case SolidPart::Wheel: {
            const Made g = wheel(design, wheelReference);
            bytes = occt::stepFile({{g.solid, partName("wheel", design, wheelReference), {}}}, "");
            break;
        }
        case SolidPart::Pair: {
            const Made w = worm(design, wormReference);
            const Made g = wheel(design, wheelReference);
            const SolidReferenceValues both{wormReference.stubLength, wheelReference.rimBore, wormReference.shoulderDiameter};
            bytes = occt::stepFile({{w.solid, partName("worm", design, wormReference), {}},
                                    {g.solid, partName("wheel", design, wheelReference),
                                     occt::wheelPlacement(design.CentreDistance)}},
                                   partName("pair", design, both));
            break;
        }
        }
        if (referenceOut)
            *referenceOut = {wormReference.stubLength, wheelReference.rimBore, wormReference.shoulderDiameter};
        return bytes;
    } catch (const std::exception& error) {
        throw SolidModelError(error.what());
    }
}

WriteOutcome writeSolidModel(SolidPart part, const DesignValues& design, const QString& path,
                             SolidReferenceValues* reference)
{
    // The target first: a model takes seconds to make.
    if (const WriteOutcome target = checkWritableTarget(path); !target.ok())
        return target;
    QByteArray bytes;
    try {
        bytes = solidModelStep(part, design, reference);
    } catch (const SolidModelError& error) {
        return {QString::fromStdString(error.what())};
    }
    return writeFileAtomically(path, bytes);
}

} // namespace tpworm::model
