// tpworm-cli drawing and report: the shop drawings and the design report of
// a design given by the design options or a design file, written as the
// window's drawing commands write them (the same library, the same bytes).
//
//   tpworm-cli drawing worm|wheel|hob [DESIGN OPTIONS | --file F] [TITLE OPTIONS] OUT.pdf|.dxf|.svg
//   tpworm-cli report [DESIGN OPTIONS | --file F] [DUTY OPTIONS] [TITLE OPTIONS] OUT.pdf
//
// TITLE OPTIONS fill the title block: --name, --number, --material,
// --designer, --date. DUTY OPTIONS are those of rate (app/cli_duty.h), the
// material pair as --material-pair since --material is the title block's;
// with them, or with a design file that holds a duty, the report carries
// the drive check.
#include "app/cli_commands.h"
#include "core/program_paths.h"
#include "app/cli_design.h"
#include "app/cli_drawing.h"
#include "app/cli_duty.h"
#include "app/version.h"

#include "core/safe_file.h"
#include "drawing/part_sheets.h"
#include "drawing/render.h"
#include "drawing/report.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>

#include <cstdio>

namespace tpworm::cli {

namespace {

// Takes the title-block options out of the arguments.
drawing::TitleFields takeTitleFields(QStringList& arguments)
{
    drawing::TitleFields t;
    const std::pair<const char*, QString*> options[] = {{"--name", &t.name},         {"--number", &t.number},
                                                        {"--material", &t.material}, {"--designer", &t.designer},
                                                        {"--date", &t.date}};
    QStringList rest;
    for (int k = 0; k < arguments.size(); ++k) {
        bool taken = false;
        for (const auto& [name, value] : options) {
            if (arguments[k] != QLatin1String(name))
                continue;
            if (k + 1 >= arguments.size())
                throw UsageError(std::string(name) + " needs a value");
            *value = arguments[++k];
            taken = true;
        }
        if (!taken)
            rest << arguments[k];
    }
    arguments = rest;
    return t;
}

void printLines(const QStringList& lines)
{
    for (const QString& line : lines)
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}

// The rules database the options name, or the program's.
QString rulesPath(const DesignOptions& options)
{
    return options.rules.isEmpty() ? rulesDatabaseFor(runningProgramPaths().programDir) : options.rules;
}

// The design the options name, shown as the window would show it; nothing
// when it did not calculate (the reasons printed).
std::optional<drawing::ShownDesign> design(const DesignOptions& options)
{
    const QString programDir = runningProgramPaths().programDir;
    const core::DesignForm form = calculatedDesign(options, programDir);
    printLines(form.messages());
    if (!form.calculated()) {
        std::fprintf(stderr, "the design could not be calculated; nothing written\n");
        return std::nullopt;
    }
    return drawing::shownDesign(form, rulesPath(options));
}

int write(const QString& path, const QByteArray& bytes)
{
    const WriteOutcome written = writeFileAtomically(path, bytes);
    if (!written.ok()) {
        std::fprintf(stderr, "%s: %s\n", path.toUtf8().constData(), written.error.toUtf8().constData());
        return 1;
    }
    return 0;
}

} // namespace

int runDrawing(const QStringList& arguments)
{
    const std::optional<drawing::Part> part = drawing::partFromWord(arguments.value(1));
    if (!part)
        throw UsageError("drawing takes worm, wheel or hob");
    QStringList rest;
    const DesignOptions options = parseDesignOptions(arguments.mid(2), rest);
    const drawing::TitleFields title = takeTitleFields(rest);
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--")))
        throw UsageError("drawing needs one output file OUT.pdf, OUT.dxf or OUT.svg");
    const std::optional<drawing::Format> format = drawing::formatOf(rest.first());
    if (!format)
        throw UsageError("the output file must end in .pdf, .dxf or .svg");
    const std::optional<drawing::ShownDesign> shown = design(options);
    if (!shown)
        return 1;
    return write(rest.first(), drawing::renderSheet(drawing::partSheet(*part, *shown, title), *format));
}

int runReport(const QStringList& arguments)
{
    QStringList rest;
    const DesignOptions options = parseDesignOptions(arguments.mid(1), rest);
    // The duty as rate reads it: the design file's, if it holds one, with the
    // options over it.
    const std::optional<rating::DutyTexts> saved = options.file.isEmpty() ? std::nullopt : dutyInFile(options.file);
    rating::DutyTexts duty = saved.value_or(rating::DutyTexts{});
    const bool dutyGiven = takeDutyOptions(rest, duty, MaterialOption::TitleBlock) || saved;
    const drawing::TitleFields title = takeTitleFields(rest);
    if (rest.size() != 1 || drawing::formatOf(rest.first()) != drawing::Format::Pdf)
        throw UsageError("report needs one output file OUT.pdf");
    std::optional<drawing::ShownDesign> shown = design(options);
    if (!shown)
        return 1;
    if (dutyGiven) {
        shown->driveCheck = drawing::driveCheckOf(shown->record, duty, rulesPath(options));
        // As rate: a duty that cannot be checked is an error, not a report.
        if (!shown->driveCheck->rating) {
            std::fprintf(stderr, "%s\nthe duty could not be checked; nothing written\n",
                         shown->driveCheck->problem.toUtf8().constData());
            return 1;
        }
    }
    return write(rest.first(), drawing::designReport(*shown, title, {kProductTitle, kProductVersion, QDate::currentDate()}));
}

} // namespace tpworm::cli
