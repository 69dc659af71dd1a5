// Where the tables of the rules database come from, and the texts that tell
// the user: the short notice of the main window's grade area, the warning
// beyond the range a grade table's source covers, the line for a design file
// and the paragraph for the About window and the design report. Widget-free,
// so that every front end says the same thing.
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace tpworm::rules {

// One table of the database and what rules_sources says of it.
struct TableSource {
    QString table;
    QString title;          // the table's readable name
    int rowCount = 0;
    bool recorded = false;  // rules_sources has a row for it
    QString source;         // where the values come from
    QString changed;        // YYYY-MM-DD
    bool referenceValues = false; // still the reference values shipped with the program
    QString keyUnit;        // "mm", "teeth" or empty
    std::optional<long double> coversAbove; // the range of the key the source covers
    std::optional<long double> coversUpto;
};

// The editable tables present in the database at path (rules_tables.h,
// editableTables()), in that order, with their sources. A database without
// rules_sources (a rule set saved before the table existed) gives every
// table as not recorded. Errors: RulesError.
QList<TableSource> readSources(const QString& databasePath);

// The entry of table in sources, or nothing.
std::optional<TableSource> findSource(const QList<TableSource>& sources, const QString& table);

// A short line for the window and the details for its tooltip.
struct Notice {
    QString line;
    QString details;
    bool shown() const { return !line.isEmpty(); }
};

// Shown while any table still carries the shipped reference values or has no
// recorded source.
Notice referenceNotice(const QList<TableSource>& sources);

// Shown when the centre distance lies outside the range that the grade
// table's source covers; the calculation runs all the same.
Notice rangeWarning(const TableSource& gradeTable, long double centreDistance);

// One line naming the database and the sources of its tables, for a design
// file (cell B17) and status lines. Never fails: a database that cannot be
// read is said to be so.
QString provenanceSummary(const QString& databasePath);

// Several lines: the database's path and, for each table, its name, rows,
// date, source and covered range. For the About window and the design report.
// Never fails.
QString rulesSourcesText(const QString& databasePath);

} // namespace tpworm::rules
