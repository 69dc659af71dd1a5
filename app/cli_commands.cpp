#include "app/cli_commands.h"

#include "app/cli.h"
#include "app/cli_drawing.h"
#include "app/cli_rate.h"
#include "app/cli_rules.h"

#include <stdexcept>

namespace tpworm::cli {
int runBatchCommand(const QStringList& arguments); // app/cli_batch.cpp
int runSweepCommand(const QStringList& arguments); // app/cli_sweep.cpp
}

namespace tpworm::cli {

namespace {

#ifdef TPWORM_CLI_GUI
constexpr auto kRunDrawing = &runDrawing;
constexpr auto kRunReport = &runReport;
constexpr auto kRunModel = &runModel;
#else
// tpworm-cli hands the painting commands to tpworm-cli-gui before Qt starts
// (cli_main.cpp); their rows only say so.
int inGuiProgram(const QStringList&) { throw std::logic_error("this command runs in tpworm-cli-gui"); }
constexpr auto kRunDrawing = &inGuiProgram;
constexpr auto kRunReport = &inGuiProgram;
constexpr auto kRunModel = &inGuiProgram;
#endif

// Each command adds one row here and keeps its code in a file of its own.
const Command kCommands[] = {
    {"calc", Needs::Plain, run, "tpworm-cli calc   [COMMON] [--save FILE.wpx] [FIELD=TEXT ...]"},
    {"design", Needs::Plain, run,
     "tpworm-cli design [COMMON] --centre-distance TEXT --teeth TEXT [--starts TEXT]\n"
     "                  [--grade 6|7|8] [--no-standard-backlash] [--save FILE.wpx] [FIELD=TEXT ...]"},
    {"open", Needs::Plain, run, "tpworm-cli open   [COMMON] DESIGN-FILE"},
    {"export", Needs::Plain, runExportCommand,
     "tpworm-cli export [COMMON] worm|wheel|hob DESIGN-FILE OUTPUT.xls [worm|wheel|hob DESIGN-FILE OUTPUT.xls ...]\n"
     "tpworm-cli export --automation [--rules FILE] [--coefficients ...] [--whole-teeth]\n"
     "                  worm|wheel|hob DESIGN-FILE OUTPUT.xls [...]"},
    {"drawing", Needs::Gui, kRunDrawing,
     "tpworm-cli drawing worm|wheel|hob [DESIGN] [TITLE] OUT.pdf|OUT.dxf|OUT.svg"},
    {"report", Needs::Gui, kRunReport,
     "tpworm-cli report [DESIGN] [DUTY] [TITLE] OUT.pdf\n"
     "           DESIGN: the options of design, or --file DESIGN-FILE;\n"
     "           DUTY: the duty options of rate (--power, --speed, ...), the pair as --material-pair KEY;\n"
     "           TITLE: --name, --number, --material, --designer, --date TEXT"},
    {"model", Needs::Gui, kRunModel, "tpworm-cli model worm|wheel|pair [DESIGN] OUT.step"},
    {"rate", Needs::Plain, runRate,
     "tpworm-cli rate   [COMMON] (--centre-distance TEXT --teeth TEXT [design options] | --file DESIGN-FILE)\n"
     "                  --power KW --speed RPM [--material KEY | --friction MU] [--ambient C] [--oil-limit C]\n"
     "                  [--heat-transfer W/M2C] [--housing-area M2] [--other-efficiency ETA]"},
    {"batch", Needs::Plain, runBatchCommand,
     "tpworm-cli batch  [--rules FILE] [--coefficients c0,...,c15] [--format jsonl|csv] [DUTY] [INPUT.csv|-]\n"
     "           DUTY: --power KW --speed RPM [--material KEY | --friction MU] [--ambient C] [--oil-limit C]\n"
     "                 [--heat-transfer W/M2C] [--housing-area M2] [--other-efficiency ETA], as for rate"},
    {"sweep", Needs::Plain, runSweepCommand,
     "tpworm-cli sweep  [--rules FILE] [--coefficients c0,...,c15] [--format jsonl|csv] --teeth Z|--ratio I\n"
     "                  [--starts 1,2,...] [--grades 6,7,8] [--from A] [--to A] [--series FILE]\n"
     "                  [--no-standard-backlash] [--whole-teeth] [DUTY as for batch] [EditN=TEXT ...]"},
    {"workbook", Needs::Plain, run,
     "tpworm-cli workbook cat FILE\n"
     "tpworm-cli workbook set FILE OUTPUT CELL=TEXT ..."},
    {"rules", Needs::Plain, runRules,
     "tpworm-cli rules show [--rules FILE]\n"
     "tpworm-cli rules export TABLE OUT.csv [--rules FILE]\n"
     "tpworm-cli rules import TABLE IN.csv [--rules FILE] [--source TEXT]\n"
     "                 [--covers-above N] [--covers-upto N]"},
};

} // namespace

std::span<const Command> commands() { return kCommands; }

const Command* findCommand(const QString& name)
{
    for (const Command& command : kCommands)
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

Needs needsOf(const Command& command, const QStringList& arguments)
{
    if (command.run == runExportCommand && arguments.contains(QStringLiteral("--automation")))
        return Needs::Core;
    return command.needs;
}

QString usageText()
{
    QString text = QStringLiteral("usage:\n");
    for (const Command& command : kCommands)
        for (const QString& line : QString::fromUtf8(command.usage).split(QLatin1Char('\n')))
            text += QStringLiteral("  ") + line + QLatin1Char('\n');
    text += QStringLiteral(
        "COMMON: --rules FILE, --coefficients c0,...,c15, --whole-teeth, --json, --lang en|zh\n"
        "FIELD: Edit1 ... Edit13 (or centre-distance, ratio, teeth, starts, main-base, tip-eccentricity,\n"
        "       reference-diameter, backlash, grade-text, hand, entry-relief, exit-relief, grinding)\n");
    return text;
}

} // namespace tpworm::cli
