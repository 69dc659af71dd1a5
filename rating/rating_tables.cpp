#include "rating/rating_tables.h"

#include "rules/rules_db.h"

#include <QSqlDatabase>

#include <algorithm>

namespace tpworm::rating {

namespace {

// Column positions; see data/rules/db1.sql.
constexpr int kFrictionKey = 1, kFrictionName = 2, kFrictionSpeed = 3, kFrictionValue = 4;
constexpr int kRatedCentre = 1, kRatedRatio = 2, kRatedSpeed = 3, kRatedPower = 4;

QString where(const QString& table, int row) { return QStringLiteral("数据表 %1 第 %2 行").arg(table).arg(row + 1); }

long double positiveNumber(const rules::RulesTable& table, int row, int column)
{
    const long double value = table.Number(row, column);
    if (!(value > 0))
        throw RatingError(QStringLiteral("%1 第 %2 列的值必须大于 0").arg(where(table.TableName(), row)).arg(column));
    return value;
}

QList<FrictionCurve> readFriction(const rules::RulesTable& table)
{
    QList<FrictionCurve> curves;
    for (int row = 0; row < table.RowCount(); ++row) {
        const QString key = table.Text(row, kFrictionKey).trimmed();
        if (key.isEmpty())
            throw RatingError(where(table.TableName(), row) + QStringLiteral(" 没有材料配对的代号"));
        auto curve = std::find_if(curves.begin(), curves.end(), [&](const FrictionCurve& c) { return c.key == key; });
        if (curve == curves.end()) {
            curves.append({key, table.Text(row, kFrictionName).trimmed(), {}});
            curve = curves.end() - 1;
            if (curve->name.isEmpty())
                curve->name = key;
        }
        const FrictionPoint point{positiveNumber(table, row, kFrictionSpeed), positiveNumber(table, row, kFrictionValue)};
        if (!curve->points.isEmpty() && point.slidingSpeed <= curve->points.back().slidingSpeed)
            throw RatingError(where(table.TableName(), row)
                              + QStringLiteral(" 的滑动速度不大于材料配对 %1 的上一行：每种材料配对的行须按滑动速度递增").arg(key));
        curve->points.append(point);
    }
    return curves;
}

QList<RatedPowerRow> readRatedPower(const rules::RulesTable& table)
{
    QList<RatedPowerRow> rows;
    for (int row = 0; row < table.RowCount(); ++row)
        rows.append({positiveNumber(table, row, kRatedCentre), positiveNumber(table, row, kRatedRatio),
                     positiveNumber(table, row, kRatedSpeed), positiveNumber(table, row, kRatedPower)});
    return rows;
}

} // namespace

RatingTables loadRatingTables(const QString& databasePath)
{
    RatingTables tables;
    try {
        rules::RulesConnection connection;
        connection.SetReadOnly(true);
        connection.SetConnectionString(rules::connectionString(rules::kConnectionPrefix, databasePath));
        connection.Open();
        const QStringList present = QSqlDatabase::database(connection.name(), false).tables();
        rules::RulesTable table(connection, kFrictionTable);
        if ((tables.frictionTableFound = present.contains(kFrictionTable))) {
            table.Open();
            tables.friction = readFriction(table);
        }
        if ((tables.ratedPowerTableFound = present.contains(kRatedPowerTable))) {
            table.SetTableName(kRatedPowerTable);
            table.Open();
            tables.ratedPower = readRatedPower(table);
        }
    } catch (const rules::RulesError& e) {
        throw RatingError(QString::fromStdString(e.what()));
    }
    return tables;
}

} // namespace tpworm::rating
