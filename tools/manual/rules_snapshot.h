// The shipped rules as the manual prints them: read from the rules database
// with the program's own table access, so the manual and the program can
// never disagree about a coefficient, a tolerance or a relief.
#pragma once

#include "core/rules_data.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace tpworm::manual {

class ManualError : public std::runtime_error {
public:
    explicit ManualError(const QString& message);
};

struct Coefficient {
    QString name;         // column 1 ("N0" ... "N15")
    QString value;        // column 2, as the program shows numbers
    QString defaultValue; // column 3
    QString rule;         // column JSGS
};

// A table as the program reads it: column names and the texts of every row.
struct TableText {
    QString name;
    QStringList columns;
    QList<QStringList> rows;
};

struct RulesSnapshot {
    QList<Coefficient> coefficients; // the sixteen rows the program reads
    TableText grades[3];             // 6ji, 7ji, 8ji
    TableText reliefAmounts;         // xiuyuan
    TableText reliefLengths;         // xiuyuanchangdu
    // The same rules as the program's look-ups read them.
    rules::RulesData data;

    const TableText& grade(int grade) const { return grades[grade - 6]; }
    // N0 ... N15 as numbers.
    double coefficient(int index) const;
};

// Reads the snapshot; ManualError when the database or a table is missing or
// holds fewer rows or columns than the program reads.
RulesSnapshot readRules(const QString& databasePath);

} // namespace tpworm::manual
