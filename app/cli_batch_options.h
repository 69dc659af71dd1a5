// The options batch and sweep share, read by one parser: the rules, the
// coefficients, the output format and the duty of the drive check.
#pragma once

#include "batch/batch_run.h"
#include "rating/rating.h"

#include <QString>
#include <QStringList>

namespace tpworm::cli {

struct BatchCommandOptions {
    batch::BatchOptions batch;
    QString rulesFile;             // --rules; empty: db1.mdb in the program directory
    rating::DutyTexts duty;        // --power, --speed, ... as `rate` takes them
    bool dutyGiven = false;        // any duty option
};

// Reads the option at arguments[k] (and its value, advancing k) when it is
// one of the shared ones; false for any other argument. UsageError for a
// shared option without its value or with a wrong one.
bool parseBatchOption(const QStringList& arguments, int& k, BatchCommandOptions& options);

// After the arguments: reads the rules and, with a duty, checks it (a bad
// duty is a UsageError with the message `rate` gives) and reads the rating
// tables once. Returns the rules.
rules::RulesData finishBatchOptions(BatchCommandOptions& options);

} // namespace tpworm::cli
