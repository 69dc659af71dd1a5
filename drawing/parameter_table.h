// The parameter table of a sheet: the rows of the worm, wheel or hob
// parameter table with the captions, symbols and units of the template
// sources (data/templates/*.tsv, built into the library) and the values of
// the cells the tool-bar export writes (documents::tableCells), so a drawing
// and an exported table never differ by a character.
#pragma once

#include "documents/cell_maps.h"

#include <QList>
#include <QString>

namespace tpworm::drawing {

struct TableRow {
    QString caption;   // column A; for a heading row the heading
    QString symbol;    // column B
    QString value;     // column C, or B for a value across B:C
    QString deviation; // column D (the deviation line of a two-line value)
    QString unit;      // column E
    bool heading = false;
};

struct ParameterTableText {
    QString title; // row 1 of the template ("平面二次包络环面蜗杆参数表")
    QList<TableRow> rows;
    QStringList notes;
};

// Throws documents::DocumentError when the built-in template source is
// unreadable (a build fault).
ParameterTableText parameterTable(documents::ParameterTable table, const DesignRecord& design,
                                  const documents::FieldTexts& fields);

} // namespace tpworm::drawing
