// tpworm-cli batch: one design per row of a CSV, against rules read once;
// also the options batch and sweep share.
#include "app/cli_commands.h"
#include "app/cli_batch_options.h"
#include "app/cli_design.h"

#include "batch/batch_run.h"
#include "rating/rating_tables.h"
#include "rules/rules_memory.h"

#include <QCoreApplication>
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
    rating::DutyTexts& duty = options.duty;
    auto dutyValue = [&](QString& field) {
        field = value();
        options.dutyGiven = true;
    };
    if (a == QLatin1String("--rules")) options.rulesFile = value();
    else if (a == QLatin1String("--coefficients")) options.batch.coefficients = parseCoefficients(value());
    else if (a == QLatin1String("--format")) {
        const QString f = value();
        if (f == QLatin1String("jsonl")) options.batch.format = batch::Format::Jsonl;
        else if (f == QLatin1String("csv")) options.batch.format = batch::Format::Csv;
        else throw UsageError("--format takes jsonl or csv");
    }
    // The duty, as `rate` reads it: a later --material takes the table again.
    else if (a == QLatin1String("--power")) dutyValue(duty.inputPower);
    else if (a == QLatin1String("--speed")) dutyValue(duty.wormSpeed);
    else if (a == QLatin1String("--material")) dutyValue(duty.material), duty.friction.clear();
    else if (a == QLatin1String("--friction")) dutyValue(duty.friction);
    else if (a == QLatin1String("--ambient")) dutyValue(duty.ambient);
    else if (a == QLatin1String("--oil-limit")) dutyValue(duty.oilLimit);
    else if (a == QLatin1String("--heat-transfer")) dutyValue(duty.heatTransfer);
    else if (a == QLatin1String("--housing-area")) dutyValue(duty.housingArea);
    else if (a == QLatin1String("--other-efficiency")) dutyValue(duty.otherEfficiency);
    else return false;
    return true;
}

rules::RulesData finishBatchOptions(BatchCommandOptions& options)
{
    const QString db = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("db1.mdb"));
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
