// The worked design of the manual: a drive and recommended
// parameters from data/manual/example.ini, calculated by the program's own
// geometry calculation with the shipped coefficients, so every number in the
// manual is the number the program shows for the same input.
#pragma once

#include "rules_snapshot.h"

#include "core/design_record.h"
#include "drawing/shown_design.h"

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
    // The six tolerance texts of the grade row, by column (3, 4, 8, 9, 10, 11)
    // and the rest of that row for the notes.
    QMap<int, QString> tolerance;
    DesignRecord record;
    // The warning labels (14, 28, 53) the calculation turned red.
    QList<int> warnings;
    bool calculated = false;

    QString value(int label) const { return shown.value(label); }
    double number(int label) const;
};

// Reads the drive data, looks up tolerances and reliefs in the snapshot
// as the program does, and calculates. ManualError when the example does not
// calculate.
ExampleDesign calculateExample(const QString& iniPath, const RulesSnapshot& rules);

// The design the calculate command proposes for a drive (grade 7,
// standard backlash), calculated; `calculated` tells whether the geometry
// calculation completed.
ExampleDesign recommendedDesign(const QString& centreDistance, const QString& wheelTeeth, const QString& wormStarts,
                                const RulesSnapshot& rules);

// Runs the geometry calculation on the design's texts; false when it fails.
bool calculate(ExampleDesign& design, const RulesSnapshot& rules);

// The design as the drawing library takes it: the field texts the window
// would hold, the record with the grade tolerances, and every caption.
drawing::ShownDesign shownDesign(const ExampleDesign& design);

// The first row of a range table whose column 2 is at least the key; the last
// row when the key exceeds them all.
int coveringRow(const TableText& table, long double key);

} // namespace tpworm::manual
