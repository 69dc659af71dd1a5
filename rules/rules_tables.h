// The range tables of the rules database as the user sees and replaces them:
// what each column holds, the checks a table must pass before it is written,
// writing a whole table in one transaction, and CSV import and export.
//
// The look-ups of the calculation read these tables by position and never
// use anything here; this layer only makes sure that what it writes is what
// they can read: bounds that are numbers in ascending order, a last row that
// covers every key that can be typed, numbers where numbers are read and text
// where text is joined to other text.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tpworm::rules {

// The largest keys that can be typed: a centre distance of five characters
// and a wheel tooth count of three digits.
inline constexpr long double kLargestCentreDistance = 99999.0L;
inline constexpr long double kLargestWheelTeeth = 999.0L;

// A CSV file of a table is a few kilobytes; anything far larger is not one.
inline constexpr qint64 kMaxCsvBytes = 1 << 20;

// Our own table of where each table comes from (see data/rules/sources.sql).
inline const QString kSourcesTable = QStringLiteral("rules_sources");

enum class ColumnKind {
    LowerBound, // column 1 of a range table: the range starts above it
    UpperBound, // column 2 of a range table: the range ends at it
    Number,     // must read as a number
    Text,       // any text but an empty one
};

struct ColumnLayout {
    QString name;        // the database column's name, also the CSV heading
    QString heading;     // what the grid shows: the quantity, its symbol, its unit
    ColumnKind kind = ColumnKind::Text;
    bool storedAsText = false; // a TEXT column: a number is kept as typed
    // A magnitude (a tolerance, a backlash, a relief): written without a
    // sign, since the parameter tables put the sign in front of it.
    bool magnitude = false;
};

struct TableLayout {
    QString name;
    QString title;          // the table's readable name
    QString keyUnit;        // "mm", "teeth", or empty: not a range table
    bool numbered = false;  // column 0 is the row number ID (1, 2, ...), not shown
    QList<ColumnLayout> columns; // stored order, ID left out

    bool isRangeTable() const { return !keyUnit.isEmpty(); }
    // The key the last row must reach: 99999 mm or 999 teeth.
    long double largestKey() const;
    int indexOf(const QString& columnName) const;
};

// A table's values as texts, one list per row in stored order, one text per
// column of the layout (ID left out).
struct TableTexts {
    QList<QStringList> rows;
    bool operator==(const TableTexts&) const = default;
};

// One thing wrong with a table or a file. row is the data row counted from 1
// (in a CSV file the line after the heading is row 1); 0 when the problem is
// not in one row. column is the column's name, empty when not in one column.
struct Problem {
    int row = 0;
    QString column;
    QString message;
    // "第 3 行，列 centre_distance_upto_mm（中心距 至 (mm)）：…"
    QString text() const;
};

// The tables a user may see, edit, import and export, in the order they are
// offered. Only those present in a database are offered for it.
QStringList editableTables();

// Reads the layout of a table from the database at path: its columns as the
// database declares them, with the headings and kinds this program knows for
// the shipped tables, and for other tables what the declared column types and
// the key unit of rules_sources tell. Errors: RulesError (no such table).
TableLayout readTableLayout(const QString& databasePath, const QString& table);

// Every value of the table as text, in stored order. Numbers stored as
// numbers are written as the program writes numbers. Errors: RulesError.
TableTexts readTable(const QString& databasePath, const TableLayout& layout);

// Every problem of the data against the layout, in row order; none when the
// table may be written.
QList<Problem> validateTable(const TableLayout& layout, const TableTexts& data);

// What the write records in rules_sources about the table.
struct SourceUpdate {
    QString source;           // where the values come from
    bool referenceValues = false;
    // The range of the key the source covers; nothing: no limit.
    std::optional<long double> coversAbove;
    std::optional<long double> coversUpto;
};

// Validates the data and, only when nothing is wrong, replaces every row of
// the table and its row in rules_sources (dated today) in one transaction.
// Returns the problems; when there are any, the file is not opened for
// writing at all. Errors: RulesError when the database refuses the write (it
// is then rolled back).
QList<Problem> writeTable(const QString& databasePath, const TableLayout& layout, const TableTexts& data,
                          const SourceUpdate& source);

// The table as CSV: UTF-8 without byte-order mark, a heading line of the
// column names, then one line per row; fields quoted where they hold a comma,
// a quote or a line break; lines end in CRLF.
QByteArray tableToCsv(const TableLayout& layout, const TableTexts& data);

// Reads CSV bytes as a table of the layout. The heading line must name every
// column of the layout (the database names, in any order) and nothing else;
// every line must have one field per heading. The problems say what is
// wrong, with the row and the column; the values are then not to be used.
TableTexts csvToTable(const QByteArray& bytes, const TableLayout& layout, QList<Problem>& problems);

// Reads a CSV file of at most kMaxCsvBytes (also refusing a FIFO or a
// device) and checks it as csvToTable and validateTable do.
TableTexts readCsvFile(const QString& path, const TableLayout& layout, QList<Problem>& problems);

} // namespace tpworm::rules
