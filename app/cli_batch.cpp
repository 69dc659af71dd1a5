// tpworm-cli batch: one design per row of a CSV, against rules read once.
#include "app/cli_commands.h"
#include "app/cli_design.h"

#include "batch/batch_run.h"
#include "rules/rules_memory.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <unistd.h>

namespace tpworm::cli {

int runBatchCommand(const QStringList& arguments)
{
    batch::BatchOptions options;
    QString rulesFile;
    QString input;
    bool inputGiven = false;
    for (int k = 1; k < arguments.size(); ++k) {
        const QString& a = arguments[k];
        auto value = [&]() -> QString {
            if (k + 1 >= arguments.size())
                throw UsageError(a.toStdString() + " needs a value");
            return arguments[++k];
        };
        if (a == QLatin1String("--rules")) rulesFile = value();
        else if (a == QLatin1String("--coefficients")) options.coefficients = parseCoefficients(value());
        else if (a == QLatin1String("--format")) {
            const QString f = value();
            if (f == QLatin1String("jsonl")) options.format = batch::Format::Jsonl;
            else if (f == QLatin1String("csv")) options.format = batch::Format::Csv;
            else throw UsageError("--format takes jsonl or csv");
        } else if (a.startsWith(QLatin1String("--"))) throw UsageError("unknown option " + a.toStdString());
        else if (inputGiven) throw UsageError("batch takes one input");
        else input = a, inputGiven = true;
    }
    std::FILE* in = stdin;
    if (inputGiven && input != QLatin1String("-")) {
        in = std::fopen(QFile::encodeName(input).constData(), "rb");
        if (!in) {
            std::fprintf(stderr, "tpworm-cli batch: cannot open %s\n", input.toUtf8().constData());
            return 1;
        }
    }
    const QString dir = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("db1.mdb"));
    const rules::RulesData rules = rules::readRulesData(rulesFile.isEmpty() ? dir : rulesFile);
    options.progress = isatty(STDERR_FILENO) != 0;
    const int status = batch::runBatch(in, stdout, stderr, rules, options);
    if (in != stdin)
        std::fclose(in);
    return status;
}

} // namespace tpworm::cli
