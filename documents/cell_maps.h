// What the design file and the parameter tables hold, cell by cell, as plain
// values: the window's handlers, tpworm-cli and the automation export all take
// their cells from here, so the three never disagree about a digit.
#pragma once

#include "core/design_record.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <stdexcept>

namespace tpworm::documents {

// A problem with a document: a design file the program cannot take, a cell
// name it cannot read. Worded for the user.
class DocumentError : public std::runtime_error {
public:
    explicit DocumentError(const QString& message);
    QString message() const { return QString::fromStdString(what()); }
};

// One cell of the first sheet: 0-based column and row (A1 is 0, 0) and the
// text written there as a text cell.
struct CellText {
    int column = 0;
    int row = 0;
    QString text;
    friend bool operator==(const CellText&, const CellText&) = default;
};

// "C2" for column 2, row 1; columns beyond Z continue AA, AB, ...
QString cellName(int column, int row);
// The reverse; throws DocumentError for a text that names no cell.
CellText parseCellName(const QString& name);

// The texts of the main window's fields that the documents store or print.
struct FieldTexts {
    std::array<QString, 13> edits; // Edit1 ... Edit13 at 0 ... 12
    bool wholeTeeth = false;       // CheckBox1, "取整数"

    const QString& edit(int number) const { return edits.at(number - 1); }
    QString& edit(int number) { return edits.at(number - 1); }
};

// ---- Design file ----------------------------------------------------------

// A14 holds this text while "取整数" is ticked, an empty text otherwise.
inline const QString kWholeTeethMark = QStringLiteral("zhengshu");
inline constexpr int kDesignFileCells = 14; // A1 ... A14

// A1 ... A13: the texts of Edit1 ... Edit13; A14: the whole-number mark.
QList<CellText> designFileCells(const FieldTexts& fields);

// A design file's content after it has been read and checked whole, before
// anything on screen changes.
struct DesignFileContent {
    std::array<QString, 13> edits; // A1 ... A13
    QString wholeTeethCell;        // A14 as stored
    int grade = 0;                 // the digit A9 starts with
    // Whether A9 says the standard backlash was in force ("7j(...)"); only its
    // second character decides.
    bool standardBacklash = false;
    bool wholeTeeth() const { return wholeTeethCell == kWholeTeethMark; }
    // The index in the grade list ("6", "7", "8"), -1 when the digit is none of them.
    int gradeIndex() const { return grade >= 6 && grade <= 8 ? grade - 6 : -1; }
};

// Reads A1 ... A14 through get(column, row) and checks them: A9 must begin with
// a decimal digit. Throws DocumentError otherwise.
using CellReader = std::function<QString(int column, int row)>;
DesignFileContent readDesignFile(const CellReader& get);

// The name the save dialog proposes for a design never saved: centre
// distance, a hyphen and the ratio ("200-40").
QString proposedDesignName(const QString& centreDistance, const QString& ratio);
// A chosen design-file name always gets the suffix, even when it has one.
QString designFileTarget(const QString& chosen);

// The design file named on the command line: the first four arguments joined
// with single blanks, blanks at either end removed, so that a path with blanks
// that arrived unquoted is whole again.
QString commandLineDesignFile(const QStringList& arguments);

// ---- Parameter tables -----------------------------------------------------

enum class ParameterTable { Worm, Wheel, Hob };

struct TableFiles {
    QString templateName; // in the program directory
    QString proposedName; // what the save dialog proposes
};

// Template and proposed name of the tool-bar exports ("1.xls", "wogan.xls"...).
TableFiles tableFiles(ParameterTable table);
// The cells the tool-bar export writes, in the order written.
QList<CellText> tableCells(ParameterTable table, const DesignRecord& design, const FieldTexts& fields);

// Template and proposed name of the menu exports through a spreadsheet
// application (the same templates; names without an extension). Their cells
// are tableCells' too: see documents/automation_cells.h.
TableFiles automationTableFiles(ParameterTable table);

// Value forms of the tables: a result as its label shows it, and a result
// rounded to thousandths first.
QString numberText(long double value);
QString number3Text(double value);

} // namespace tpworm::documents
