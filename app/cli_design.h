// A calculated design from a command line, for every tpworm-cli command that
// starts from one (rating, drawings, reports): the design options of
// `tpworm-cli design`, or a design file.
#pragma once

#include "core/design_form.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tpworm::cli {

// The pieces of the design options, for commands that parse their own.
// UsageError for a text that is none.
rules::Coefficients parseCoefficients(const QString& list); // sixteen numbers, comma-separated
QString parseGrade(const QString& grade);                  // "6", "7" or "8"
// FIELD=TEXT, FIELD one of Edit1 ... Edit13 or its alias (centre-distance,
// ratio, teeth, starts, main-base, tip-eccentricity, reference-diameter,
// backlash, grade-text, hand, entry-relief, exit-relief, grinding).
QPair<core::Field, QString> parseFieldText(const QString& pair);

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

// Opens a design file into a started form as the open command does (the
// drive data locked, calculated); false, with the open command's message in
// the form, when the file cannot be read as a design file.
bool openDesignFile(core::DesignForm& form, const QString& file, const rules::RulesData& rules);

// Both in one: parse, then calculate.
core::DesignForm designFromArguments(const QStringList& arguments, QStringList& rest, const QString& programDir);

} // namespace tpworm::cli
