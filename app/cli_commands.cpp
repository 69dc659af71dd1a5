#include "app/cli_commands.h"

#include "app/cli.h"

namespace tpworm::cli {

namespace {

// Each command adds one row here and keeps its code in a file of its own.
const Command kCommands[] = {
    {"calc", Needs::Core, run, "tpworm-cli calc   [COMMON] [--save FILE.wpx] [FIELD=TEXT ...]"},
    {"design", Needs::Core, run,
     "tpworm-cli design [COMMON] --centre-distance TEXT --teeth TEXT [--starts TEXT]\n"
     "                  [--grade 6|7|8] [--no-standard-backlash] [--save FILE.wpx] [FIELD=TEXT ...]"},
    {"open", Needs::Core, run, "tpworm-cli open   [COMMON] DESIGN-FILE"},
    {"export", Needs::Core, runExportCommand,
     "tpworm-cli export [COMMON] worm|wheel|hob DESIGN-FILE OUTPUT.xls [worm|wheel|hob DESIGN-FILE OUTPUT.xls ...]\n"
     "tpworm-cli export --automation [--rules FILE] [--coefficients ...] [--whole-teeth]\n"
     "                  worm|wheel|hob DESIGN-FILE OUTPUT.xls [...]"},
    {"workbook", Needs::Core, run,
     "tpworm-cli workbook cat FILE\n"
     "tpworm-cli workbook set FILE OUTPUT CELL=TEXT ..."},
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

QString usageText()
{
    QString text = QStringLiteral("usage:\n");
    for (const Command& command : kCommands)
        for (const QString& line : QString::fromUtf8(command.usage).split(QLatin1Char('\n')))
            text += QStringLiteral("  ") + line + QLatin1Char('\n');
    text += QStringLiteral(
        "COMMON: --rules FILE, --coefficients c0,...,c15, --whole-teeth, --json\n"
        "FIELD: Edit1 ... Edit13 (or centre-distance, ratio, teeth, starts, main-base, tip-eccentricity,\n"
        "       reference-diameter, backlash, grade-text, hand, entry-relief, exit-relief, grinding)\n");
    return text;
}

} // namespace tpworm::cli
