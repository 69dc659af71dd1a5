// The worked design of the manual: a drive and recommended parameters from
// data/manual/example.ini, run through the program's own design core (the
// same grade and relief look-ups, the same calculation) with the shipped
// rules, so every number in the manual is the number the program shows for
// the same input.
#pragma once

#include "rules_snapshot.h"

#include "core/design_record.h"
#include "core/results.h"

#include <QMap>
#include <QString>

namespace tpworm::manual {

struct ExampleDesign {
    // The field texts of the main window.
    QString centreDistance, wheelTeeth, wormStarts, ratio;
    QString mainBase, tipEccentricity, referenceDiameter, backlash, grindingIncrement;
    QString hand, grade, gradeText, entryRelief, exitRelief;
    bool standardBacklash = true;

    // The result labels' values (caption without its suffix), by label number.
    QMap<int, QString> shown;
    // The texts of the grade row the grade look-up found, by column (3 ... 16),
    // for the tolerances and the notes.
    QMap<int, QString> tolerance;
    DesignRecord record;
    core::Results results;
    // The warning labels (14, 28, 53) the calculation turned red.
    QList<int> warnings;
    bool calculated = false;

    QString value(int label) const { return shown.value(label); }
    // The value of a result label as a number, from the named result.
    double number(int label) const;
};

// Types the drive data, presses the calculate command, then puts in the
// example's parameters and confirms, as a user would. ManualError when the
// example does not calculate.
ExampleDesign calculateExample(const QString& iniPath, const RulesSnapshot& rules);

// The design the calculate command proposes for a drive (grade 7, standard
// backlash), calculated; `calculated` tells whether the calculation
// completed.
ExampleDesign recommendedDesign(const QString& centreDistance, const QString& wheelTeeth, const QString& wormStarts,
                                const RulesSnapshot& rules);

} // namespace tpworm::manual
