// Rules as plain values for the core's tests: small tables with the columns
// the program reads, so that every looked-up text can be traced to a cell.
#pragma once

#include "core/rules_data.h"

namespace tpworm::coretest {

inline rules::TableData table(const QString& name, int columns, const QList<QVariantList>& rows)
{
    rules::TableData t;
    t.name = name;
    for (int c = 0; c < columns; ++c)
        t.columnNames << QStringLiteral("c%1").arg(c);
    t.rows = rows;
    return t;
}

// A grade-table row: range (from, to], tolerance texts "T<col>-<grade>" and
// the standard backlash.
inline QVariantList gradeRow(double from, double to, const QString& grade, const QVariant& backlash)
{
    QVariantList row{1, from, to};
    for (int c = 3; c < 16; ++c)
        row << QStringLiteral("T%1-%2-%3").arg(c).arg(grade).arg(to);
    row << backlash;
    return row;
}

// The coefficients of the worked example.
inline const rules::Coefficients kExampleN = {0.875, 1.2, 1, 0.5, 0, 0.55, 2, 0, 0.15, 0.5, 0.5, 1, 0.5, 1, 0.9, 9};

inline rules::RulesData exampleRules()
{
    rules::RulesData r;
    r.coefficients = kExampleN;
    r.coefficientsLoaded = true;
    for (auto [loaded, grade] : {std::pair{&r.grade6, QStringLiteral("6")}, std::pair{&r.grade7, QStringLiteral("7")},
                                 std::pair{&r.grade8, QStringLiteral("8")}})
        loaded->data = table(grade + "ji", 17,
                             {gradeRow(40, 160, grade, 0.1 * grade.toInt()), gradeRow(160, 315, grade, 0.2 * grade.toInt()),
                              gradeRow(315, 1600, grade, 0.3 * grade.toInt())});
    r.reliefAmounts.data = table("xiuyuan", 7,
                                 {{1, 0, 200, 0.3, 0.25, 0.2, 0.15}, {2, 200, 400, 0.36, 0.3, 0.24, 0.18},
                                  {3, 400, 1600, 0.5, 0.4, 0.3, 0.2}});
    r.reliefLengths.data = table("xiuyuanchangdu", 5, {{1, 0, 40, "4.5°", "3°"}, {2, 40, 100, "5°", "3.5°"}});
    return r;
}

} // namespace tpworm::coretest
