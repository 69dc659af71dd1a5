#include "calc/recommend.h"

#include "core/numeric.h"
#include "core/rules_data.h"

namespace tpworm::recommend {

namespace {

// Rounds a freshly evaluated formula to a whole number once the fault flags
// show that no step of it failed.
std::int64_t wholeResult(long double value)
{
    FaultCheck();
    return Round(value);
}

} // namespace

std::int64_t mainBaseBasis(long double centreDistance)
{
    ClearFaults();
    return wholeResult(0.65L * centreDistance);
}

std::int64_t referenceBasis(long double centreDistance, double n0)
{
    ClearFaults();
    return wholeResult(0.76L * Power(centreDistance, n0));
}

std::int64_t referenceDiameter(long double centreDistance, double ratio, double n0)
{
    ClearFaults();
    const long double k = 0.25L * Power(centreDistance, 1.5L) * Power(ratio, -1.9L);
    return wholeResult(0.76L * Power(centreDistance, n0) + k);
}

std::int64_t mainBaseDiameter(long double centreDistance, double ratio)
{
    ClearFaults();
    return wholeResult((0.76L - Power(ratio, -1.3L)) * Power(centreDistance, 1.02L) / 1.35L);
}

std::int32_t snapToFive(std::int32_t diameter)
{
    if (diameter <= 90)
        return diameter;
    const std::int32_t remainder = diameter % 5;
    return remainder < 3 ? diameter - remainder : diameter - remainder + 5;
}

double grindingIncrement(long double wheelTeeth)
{
    ClearFaults();
    const long double increment = wheelTeeth / 100.0L;
    FaultCheck();
    return RoundTo(static_cast<double>(increment), -1);
}

QString tipEccentricityText(long double mainBase, double ratio)
{
    if (ratio >= 35.0L)
        return QStringLiteral("0");
    // The bands overlap on purpose: each rule that applies overrides the one
    // before it, so the last matching band wins. The thresholds are extended
    // constants: the double nearest 7.99 lies above 7.99 and so falls in the
    // next band.
    ClearFaults();
    QString text;
    if (ratio < 8.0L)
        text = IntToStr(wholeResult(mainBase / 2.0L / 5.0L * 4.0L));
    if (ratio > 7.99L)
        text = IntToStr(wholeResult(mainBase / 2.0L / 4.0L * 3.0L));
    if (ratio > 9.99L)
        text = IntToStr(wholeResult(mainBase / 2.0L / 2.0L));
    if (ratio > 11.99L)
        text = IntToStr(wholeResult(mainBase / 2.0L / 3.0L));
    return text;
}

int entryReliefColumn(double ratio)
{
    int column = 0;
    if (ratio < 25.0L)
        column = 3;
    if (ratio > 24.999999L)
        column = 4;
    if (ratio > 40.000001L)
        column = 5;
    if (ratio > 63.000001L)
        column = 6;
    return column;
}

double exitReliefAmount(long double entryRelief)
{
    ClearFaults();
    const long double exit = entryRelief * 0.67L;
    FaultCheck();
    return RoundTo(static_cast<double>(exit), -2);
}

QString gradeTableName(const QString& grade)
{
    if (grade == QLatin1String("6"))
        return QStringLiteral("6ji");
    if (grade == QLatin1String("7"))
        return QStringLiteral("7ji");
    if (grade == QLatin1String("8"))
        return QStringLiteral("8ji");
    return QString();
}

QString gradeText(const QString& grade, bool standardBacklash)
{
    return grade + (standardBacklash ? QStringLiteral("j(GB/T16445-1996)") : QStringLiteral("级(GB/T16445-1996)"));
}

std::optional<int> gradeRow(const rules::TableData& table, long double centreDistance)
{
    namespace col = rules::column;
    const int row = table.RangeSearch(centreDistance);
    if (table.TextNumber(row, col::kRangeFrom) < centreDistance && table.TextNumber(row, col::kRangeTo) >= centreDistance)
        return row;
    return std::nullopt;
}

int coveringRow(const rules::TableData& table, long double key)
{
    const int row = table.RangeSearch(key);
    if (table.TextNumber(row, rules::column::kRangeTo) < key)
        throw rules::RulesError(QStringLiteral("table %1 of the rules database has no row for %2: its last row ends at %3")
                                    .arg(table.name, FloatToStr(key), table.Text(row, rules::column::kRangeTo)));
    return row;
}

} // namespace tpworm::recommend
