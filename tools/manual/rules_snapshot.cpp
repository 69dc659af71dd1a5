#include "rules_snapshot.h"

#include "core/numeric.h"
#include "rules/rules_db.h"
#include "rules/rules_memory.h"

#include <QFileInfo>

namespace tpworm::manual {

ManualError::ManualError(const QString& message) : std::runtime_error(message.toStdString()) {}

double RulesSnapshot::coefficient(int index) const
{
    return double(StrToFloat(coefficients.value(index).value));
}

namespace {

TableText readTable(rules::RulesConnection& connection, const QString& name, int minColumns)
{
    rules::RulesTable table(connection, name);
    table.Open();
    TableText text;
    text.name = name;
    text.columns = table.ColumnNames();
    if (table.ColumnCount() < minColumns)
        throw ManualError(QStringLiteral("table %1 has %2 columns, the program reads %3")
                              .arg(name).arg(table.ColumnCount()).arg(minColumns));
    if (table.RowCount() == 0)
        throw ManualError(QStringLiteral("table %1 is empty").arg(name));
    for (int row = 0; row < table.RowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table.ColumnCount(); ++column)
            cells << table.Text(row, column);
        text.rows << cells;
    }
    table.Close();
    return text;
}

QList<Coefficient> coefficientsOf(const TableText& nzhi)
{
    const int ruleColumn = nzhi.columns.indexOf(QStringLiteral("JSGS"));
    if (ruleColumn < 0)
        throw ManualError(QStringLiteral("table nzhi has no column JSGS"));
    if (nzhi.rows.size() < 16)
        throw ManualError(QStringLiteral("table nzhi has %1 rows, the program reads 16").arg(nzhi.rows.size()));
    QList<Coefficient> coefficients;
    for (int k = 0; k < 16; ++k) {
        const QStringList& row = nzhi.rows[k];
        coefficients.append({row[1], row[2], row[3], row[ruleColumn]});
    }
    return coefficients;
}

} // namespace

RulesSnapshot readRules(const QString& databasePath)
{
    if (!QFileInfo(databasePath).isFile())
        throw ManualError(QStringLiteral("rules database %1 not found").arg(databasePath));
    try {
        rules::RulesConnection connection;
        connection.SetConnectionString(rules::connectionString(rules::kConnectionPrefix, databasePath));
        connection.Open();
        RulesSnapshot snapshot;
        snapshot.coefficients = coefficientsOf(readTable(connection, QStringLiteral("nzhi"), 4));
        snapshot.grades[0] = readTable(connection, QStringLiteral("6ji"), 17);
        snapshot.grades[1] = readTable(connection, QStringLiteral("7ji"), 17);
        snapshot.grades[2] = readTable(connection, QStringLiteral("8ji"), 17);
        snapshot.reliefAmounts = readTable(connection, QStringLiteral("xiuyuan"), 7);
        snapshot.reliefLengths = readTable(connection, QStringLiteral("xiuyuanchangdu"), 5);
        connection.Close();
        snapshot.data = rules::readRulesData(databasePath);
        if (!snapshot.data.coefficientsLoaded)
            throw ManualError(QStringLiteral("rules database %1: %2").arg(databasePath, snapshot.data.loadError));
        return snapshot;
    } catch (const rules::RulesError& error) {
        throw ManualError(QStringLiteral("rules database %1: %2").arg(databasePath, QString::fromUtf8(error.what())));
    } catch (const ConvertError& error) {
        throw ManualError(QStringLiteral("rules database %1: %2").arg(databasePath, QString::fromUtf8(error.what())));
    }
}

} // namespace tpworm::manual
