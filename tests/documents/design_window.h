// Driving the main window as a designer does, and taking down what it shows,
// for the design-file and export tests.
#pragma once

#include "app/tform1.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

class QLineEdit;

namespace tpworm::testing {

struct DesignInput {
    int grade = 7;
    bool standardBacklash = true;
    QString centreDistance = QStringLiteral("250");
    QString teeth = QStringLiteral("45");
    QString starts = QStringLiteral("1");
};

// Picks the grade, sets "标准侧隙", types the drive data and presses
// the calculate command.
void calculateDesign(TForm1& f, const DesignInput& input);

// Presses "编辑", sets the given fields and presses "确定".
void editRecommended(TForm1& f, const QList<QPair<QLineEdit*, QString>>& edits);

// What the window shows of a design, by control name: field texts and
// states, the grade, both check boxes, every caption of the five result
// groups (with "red" for a warning), the hints, the command states and the
// grade tolerance texts of the design record.
using WindowState = QMap<QString, QString>;
WindowState windowState(const TForm1& f);

// Differences between two states, one line each ("Label8: a | b").
QStringList differences(const WindowState& expected, const WindowState& actual);

// Whether the five result groups are shown (the last calculation succeeded).
bool resultsShown(const TForm1& f);

// Writes a workbook with the program's engine: the named template (or
// existing file) with the cells set, saved as target.
void writeWorkbook(const QString& source, const QString& target, const QMap<QString, QString>& cells);

// The text of one cell of the first sheet, through the engine.
QString engineCellText(const QString& path, const QString& cell);

} // namespace tpworm::testing
