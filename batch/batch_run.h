// One design per input row, each run exactly as `tpworm-cli design` runs it,
// against rules read once; the records are written in input order as they
// are made, so memory stays the same for any number of rows. With a duty
// each calculated design also gets the drive check, as `tpworm-cli rate`.
#pragma once

#include "batch/batch_input.h"
#include "core/rules_data.h"
#include "rating/rating.h"
#include "rating/rating_tables.h"

#include <cstdio>
#include <optional>

namespace tpworm::batch {

enum class Format { Jsonl, Csv };

// The drive check of every calculated design (the duty options): the duty
// as checked, and the rating tables read once, or the reason they could not
// be read, which every checked design then carries as `rate` would.
struct BatchDuty {
    rating::Duty duty;
    rating::RatingTables tables;
    QString tablesError;
};

struct BatchOptions {
    Format format = Format::Jsonl;
    std::optional<rules::Coefficients> coefficients; // --coefficients
    bool progress = false;                           // a progress line on standard error
    std::optional<BatchDuty> duty;                   // none: no drive check, records as before
};

// Reads the CSV from input, writes the records to output and the batch's
// own problems (header, malformed rows) to errors. Returns the exit status:
// 0 when every row calculated, 1 otherwise.
int runBatch(std::FILE* input, std::FILE* output, std::FILE* errors, const rules::RulesData& rules,
             const BatchOptions& options);

// The common sweep without a CSV: every centre distance of the series x
// every number of starts x every grade, for a fixed number of teeth or a
// fixed ratio (teeth = ratio x starts; a number of starts that gives no whole
// number of teeth is skipped with a note on standard error).
struct SweepOptions {
    QStringList centreDistances;
    QString teeth; // or
    QString ratio;
    QStringList starts{QStringLiteral("1")};
    QStringList grades{QStringLiteral("7")};
    bool standardBacklash = true;
    bool wholeTeeth = false;
    QList<QPair<QString, QString>> fields; // Edit5 ... Edit13 overrides for every design
};
int runSweep(const SweepOptions& sweep, std::FILE* output, std::FILE* errors, const rules::RulesData& rules,
             const BatchOptions& options);

// The centre distances of a series file: one per line, '#' starts a comment
// line. Throws std::runtime_error when the file cannot be read.
QStringList readSeries(const QString& path);

// The CSV header of --format csv, one name per column; with a duty the
// rating columns follow.
QStringList csvColumnNames();
QStringList csvColumnNames(bool withDuty);

} // namespace tpworm::batch
