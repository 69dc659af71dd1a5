// One design per input row, each run exactly as `tpworm-cli design` runs it,
// against rules read once; the records are written in input order as they
// are made, so memory stays the same for any number of rows.
#pragma once

#include "batch/batch_input.h"
#include "core/rules_data.h"

#include <cstdio>
#include <optional>

namespace tpworm::batch {

enum class Format { Jsonl, Csv };

struct BatchOptions {
    Format format = Format::Jsonl;
    std::optional<rules::Coefficients> coefficients; // --coefficients
    bool progress = false;                           // a progress line on standard error
};

// Reads the CSV from input, writes the records to output and the batch's
// own problems (header, malformed rows) to errors. Returns the exit status:
// 0 when every row calculated, 1 otherwise.
int runBatch(std::FILE* input, std::FILE* output, std::FILE* errors, const rules::RulesData& rules,
             const BatchOptions& options);

// The CSV header of --format csv, one name per column.
QStringList csvColumnNames();

} // namespace tpworm::batch
