// tpworm-cli sweep: the standard series of centre distances x starts x
// grades for a given number of teeth or ratio, into the output of batch.
#include "app/cli_commands.h"
#include "core/program_paths.h"
#include "app/cli_batch_options.h"
#include "app/cli_design.h"

#include "batch/batch_run.h"
#include "rules/rules_memory.h"

#include <QDir>

#include <cstdio>
#include <unistd.h>

namespace tpworm::cli {

namespace {

QStringList list(const QString& text, const char* option)
{
    QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& item : items)
        item = item.trimmed();
    if (items.isEmpty())
        throw UsageError(std::string(option) + " takes a comma-separated list");
    return items;
}

double number(const QString& text, const char* option)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value <= 0)
        throw UsageError(std::string(option) + " takes a positive number");
    return value;
}

} // namespace

int runSweepCommand(const QStringList& arguments)
{
    BatchCommandOptions options;
    batch::SweepOptions sweep;
    QString seriesFile = QDir(runningProgramPaths().programDir).filePath(QStringLiteral("centre_distances.txt"));
    double from = 0, to = 1e300;
    for (int k = 1; k < arguments.size(); ++k) {
        const QString& a = arguments[k];
        auto value = [&]() -> QString {
            if (k + 1 >= arguments.size())
                throw UsageError(a.toStdString() + " needs a value");
            return arguments[++k];
        };
        if (parseBatchOption(arguments, k, options)) continue;
        if (a == QLatin1String("--teeth")) sweep.teeth = value();
        else if (a == QLatin1String("--ratio")) {
            sweep.ratio = value();
            number(sweep.ratio, "--ratio");
        } else if (a == QLatin1String("--starts")) sweep.starts = list(value(), "--starts");
        else if (a == QLatin1String("--grades")) {
            sweep.grades = list(value(), "--grades");
            for (const QString& g : sweep.grades)
                parseGrade(g);
        } else if (a == QLatin1String("--from")) from = number(value(), "--from");
        else if (a == QLatin1String("--to")) to = number(value(), "--to");
        else if (a == QLatin1String("--series")) seriesFile = value();
        else if (a == QLatin1String("--no-standard-backlash")) sweep.standardBacklash = false;
        else if (a == QLatin1String("--whole-teeth")) sweep.wholeTeeth = true;
        else if (a.contains(QLatin1Char('=')) && !a.startsWith(QLatin1String("--"))) {
            const auto [field, text] = parseFieldText(a);
            if (int(field) < int(core::Field::MainBase))
                throw UsageError("sweep takes overrides of Edit5 ... Edit13 only");
            sweep.overrides.append({field, text});
        } else throw UsageError("unknown argument " + a.toStdString());
    }
    if (sweep.teeth.isEmpty() == sweep.ratio.isEmpty())
        throw UsageError("sweep needs either --teeth or --ratio");
    const rules::RulesData rules = finishBatchOptions(options);
    for (const QString& a : batch::readSeries(seriesFile)) {
        const double value = a.toDouble();
        if (value >= from && value <= to)
            sweep.centreDistances << a;
    }
    if (sweep.centreDistances.isEmpty()) {
        std::fprintf(stderr, "tpworm-cli: no centre distance of the series lies in the range given\n");
        return 1;
    }
    return batch::runSweep(sweep, stdout, stderr, rules, options.batch);
}

} // namespace tpworm::cli
