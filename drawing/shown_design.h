// The calculated design as the window shows it, which is what the drawings
// and the report print: the values of the design record for the geometry, and
// the texts exactly as they stand on the screen for every number a reader
// sees (captions of the five result groups, field texts, grade texts).
#pragma once

#include "core/design_form.h"
#include "core/design_record.h"
#include "documents/cell_maps.h"
#include "rating/rating.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace tpworm::drawing {

// One result label: its number (Label8 is 8), its caption as shown
// ("215.933-----蜗杆齿根圆弧半径") and whether it is shown as a warning.
struct ShownResult {
    int label = 0;
    QString caption;
    bool warning = false;
};

struct ShownGroup {
    QString title; // "传动特性", as the group box's title, trimmed
    QList<ShownResult> results;
};

// One recommended parameter: its caption and the field's text.
struct ShownField {
    QString caption; // "主  基  圆："
    QString text;
};

// The drive check of the design under a duty, as the report prints it: the
// duty as typed, and the results of rating:: (or why there are none).
struct ShownDriveCheck {
    rating::DutyTexts duty;
    QString materialName;  // the friction table's name of the pair; empty when μ is typed
    std::optional<rating::Duty> parsed;
    std::optional<rating::Rating> rating; // none: problem says why
    QString problem;
    QString frictionSource;     // where the friction table comes from (rules_sources)
    QString ratedPowerSource;   // and the rated-power table
};

// Checks the design under the duty with the tables of the rules database;
// never fails: a bad duty or an unusable table is kept as the problem.
ShownDriveCheck driveCheckOf(const DesignValues& design, const rating::DutyTexts& duty, const QString& rulesDatabase);

struct ShownDesign {
    DesignRecord record;
    // The named results of the calculation, when the one who fills this
    // design has them: the geometry reads them rather than the captions.
    std::optional<core::Results> results;
    documents::FieldTexts fields;
    QString grade;               // "6", "7" or "8"
    bool standardBacklash = true;
    QList<ShownGroup> groups;    // the five result groups, in the window's order
    QList<ShownField> drive;     // centre distance, teeth, starts, ratio, grade text
    QList<ShownField> recommended;
    // Warnings about the design in words. The window marks three results red
    // (their labels are flagged above); warnings the calculation states in
    // words are added here by whoever fills this design.
    QStringList warnings;
    QString rulesDatabase;       // the file the rules were read from
    QString rulesSources;        // where each of its tables comes from, a line each
    bool rulesModified = false;  // the window's "注意：默认计算法则已被修改..." notice
    QString rulesNotice;         // that notice's text when shown
    // The drive check under the duty of the run (the window) or of the
    // options or design file (tpworm-cli); none: no duty was given, and the
    // report says so.
    std::optional<ShownDriveCheck> driveCheck;

    // The value part of a result's caption (its caption less the suffix of
    // dashes and name); empty when the label is not among the groups.
    QString value(int label) const;
    // The value as a number, for geometry only: the named result, or the
    // caption's value read back where there are no named results.
    double number(int label) const;
    const ShownResult* result(int label) const;
    // Edit1 ... Edit13.
    const QString& edit(int number) const { return fields.edit(number); }
};

// The design of a form calculated without a window (tpworm-cli), with the
// window's captions; the rules database named as the run read it.
ShownDesign shownDesign(const core::DesignForm& form, const QString& rulesDatabase);

// Fields of the title block that the user may edit; remembered for the rest
// of the run by the window, given by options on the command line.
struct TitleFields {
    QString name;     // empty: the part's name
    QString number;   // empty: TPa-i-01/02/03
    QString material; // empty: the reference material of the part
    QString designer;
    QString date;     // empty: today, yyyy-MM-dd
};

} // namespace tpworm::drawing
