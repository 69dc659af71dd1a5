// tpworm-cli batch: one design per row of a CSV, against rules read once;
// also the options batch and sweep share.
#include "app/cli_commands.h"
#include "core/program_paths.h"
#include "app/cli_batch_options.h"
#include "app/cli_design.h"
#include "app/cli_duty.h"

#include "batch/batch_run.h"
#include "rating/rating_tables.h"
#include "rules/rules_memory.h"

#include <QFile>
#include <QDir>

#include <cstdio>
#include <unistd.h>

namespace tpworm::cli {

bool parseBatchOption(const QStringList& arguments, int& k, BatchCommandOptions& options)
{
    const QString& a = arguments[k];
    auto value = [&]() -> QString {
        if (k + 1 >= arguments.size())
            throw UsageError(a.toStdString() + " needs a value");
        return arguments[++k];
    };
    // The duty, as `rate` reads it.
    if (parseDutyOption(arguments, k, options.duty, MaterialOption::MaterialPair)) {
        options.dutyGiven = true;
        return true;
    }
    if (a == QLatin1String("--rules")) options.rulesFile = value();
    else if (a == QLatin1String("--coefficients")) options.batch.coefficients = parseCoefficients(value());
    else if (a == QLatin1String("--format")) {
        const QString f = value();
        if (f == QLatin1String("jsonl")) options.batch.format = batch::Format::Jsonl;
        else if (f == QLatin1String("csv")) options.batch.format = batch::Format::Csv;
        else throw UsageError("--format takes jsonl or csv");
    }
    else return false;
    return true;
}

rules::RulesData finishBatchOptions(BatchCommandOptions& options)
{
    // The rules every other command reads: the user's copy when the program
    // keeps one, else the shipped set (in the installed layout not beside the
    // executable).
    const QString db = rulesDatabaseFor(runningProgramPaths().programDir);
    const QString rulesPath = options.rulesFile.isEmpty() ? db : options.rulesFile;
    if (options.dutyGiven) {
        batch::BatchDuty duty;
        try {
            duty.duty = rating::parseDuty(options.duty);
        } catch (const rating::RatingError& e) {
            throw UsageError(e.message().toStdString());
        }
        // Read once; a failure is every checked design's problem, as it is
        // the problem of each `rate`.
        try {
            duty.tables = rating::loadRatingTables(rulesPath);
        } catch (const rating::RatingError& e) {
            duty.tablesError = e.message();
        }
        options.batch.duty = std::move(duty);
    }
    rules::RulesData rules = rules::readRulesData(rulesPath);
    options.batch.progress = isatty(STDERR_FILENO) != 0;
    return rules;
}

int runBatchCommand(const QStringList& arguments)
{
    BatchCommandOptions options;
    QString input;
    bool inputGiven = false;
    for (int k = 1; k < arguments.size(); ++k) {
        const QString& a = arguments[k];
        if (parseBatchOption(arguments, k, options)) continue;
        if (a.startsWith(QLatin1String("--"))) throw UsageError("unknown option " + a.toStdString());
        if (inputGiven) throw UsageError("batch takes one input");
        input = a, inputGiven = true;
    }
    const rules::RulesData rules = finishBatchOptions(options);
    std::FILE* in = stdin;
    if (inputGiven && input != QLatin1String("-")) {
        in = std::fopen(QFile::encodeName(input).constData(), "rb");
        if (!in) {
            std::fprintf(stderr, "tpworm-cli batch: cannot open %s\n", input.toUtf8().constData());
            return 1;
        }
    }
    const int status = batch::runBatch(in, stdout, stderr, rules, options.batch);
    if (in != stdin)
        std::fclose(in);
    return status;
}

} // namespace tpworm::cli
