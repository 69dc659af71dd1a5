// A calculated design from a command line, for every tpworm-cli command that
// starts from one (rating, drawings, reports): the design options of
// `tpworm-cli design`, or a design file.
#pragma once

#include "core/design_form.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tpworm::cli {

// The options that name a design, as parsed.
struct DesignOptions {
    QString rules;                                   // --rules FILE ("": db1.mdb of the program directory)
    std::optional<rules::Coefficients> coefficients; // --coefficients c0,...,c15
    bool wholeTeeth = false;                         // --whole-teeth
    QString file;                                    // --file DESIGN-FILE
    bool centreGiven = false, teethGiven = false;
    core::DesignRequest request;                     // --centre-distance, --teeth, --starts, --grade,
                                                     // --no-standard-backlash, FIELD=TEXT
};

// Takes the design options out of arguments (the command's own options are
// left in rest, in order). UsageError for a wrong design option, for neither
// --file nor both --centre-distance and --teeth, or for both.
DesignOptions parseDesignOptions(const QStringList& arguments, QStringList& rest);

// The design the options name, calculated as `design` or `open` would: the
// rules read once from the database, the form's messages in messages(), its
// state as the JSON of `design --json` shows it. calculated() tells whether
// it calculated.
core::DesignForm calculatedDesign(const DesignOptions& options, const QString& programDir);

// Both in one: parse, then calculate.
core::DesignForm designFromArguments(const QStringList& arguments, QStringList& rest, const QString& programDir);

} // namespace tpworm::cli
