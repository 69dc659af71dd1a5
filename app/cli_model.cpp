// tpworm-cli model: the 3D model (STEP AP214, mm) of the worm, the wheel rim
// or the pair in mesh, of a design given by the design options or a design
// file. Runs in tpworm-cli-gui, which links the solid modeller; tpworm-cli
// itself stays on Qt Core and Qt Sql.
//
//   tpworm-cli model worm|wheel|pair [DESIGN OPTIONS | --file F] OUT.step
#include "app/cli_commands.h"
#include "app/cli_design.h"
#include "app/cli_drawing.h"
#include "core/program_paths.h"
#include "model/occt/model_files.h"

#include <QFileInfo>

#include <cstdio>

namespace tpworm::cli {

int runModel(const QStringList& arguments)
{
    const std::optional<model::SolidPart> part = model::solidPartFromWord(arguments.value(1));
    if (!part)
        throw UsageError("model takes worm, wheel or pair");
    QStringList rest;
    const DesignOptions options = parseDesignOptions(arguments.mid(2), rest);
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--")))
        throw UsageError("model needs one output file OUT.step");
    const QString suffix = QFileInfo(rest.first()).suffix().toLower();
    if (suffix != QLatin1String("step") && suffix != QLatin1String("stp"))
        throw UsageError("the output file must end in .step or .stp");
    if (!model::solidModelsAvailable()) {
        std::fprintf(stderr, "%s\n", model::solidModelsUnavailableText().toUtf8().constData());
        return 1;
    }
    const core::DesignForm form = calculatedDesign(options, runningProgramPaths().programDir);
    for (const QString& line : form.messages())
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    if (!form.calculated()) {
        std::fprintf(stderr, "the design could not be calculated; nothing written\n");
        return 1;
    }
    model::SolidReferenceValues reference;
    const WriteOutcome written = model::writeSolidModel(*part, form.design(), rest.first(), &reference);
    if (!written.ok()) {
        std::fprintf(stderr, "%s: %s\n", rest.first().toUtf8().constData(), written.error.toUtf8().constData());
        return 1;
    }
    // The sizes this program chose, not the design's: said with the file.
    if (const QString text = model::solidReferenceText(reference); !text.isEmpty())
        std::printf("%s\n", text.toUtf8().constData());
    return 0;
}

} // namespace tpworm::cli
