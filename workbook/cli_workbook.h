// The `tpworm-cli workbook cat` and `workbook set` commands.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tpworm::workbook {

// Prints every non-empty cell of the first sheet: "A1<tab>text", tab, newline
// and backslash escaped. Returns the exit status (0, or 1 with the message on err).
int workbookCat(const QString& file, QTextStream& out, QTextStream& err);

// Loads file, sets each "A1=TEXT" cell as a text cell, saves to output. Returns
// 0, 1 when the workbook cannot be read or written, 2 for a malformed assignment.
int workbookSet(const QString& file, const QString& output, const QStringList& cellAssignments,
                QTextStream& out, QTextStream& err);

// Reads A1 notation (letters then row number, case-insensitive, columns A ... IV,
// rows 1 ... 65536) into 0-based column and row.
bool parseCellName(const QString& name, int& column, int& row);

} // namespace tpworm::workbook
