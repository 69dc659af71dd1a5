// The recommendation of the calculate command and the basis hints shown
// while the drive data is typed, as functions of plain values.
//
// Every formula is evaluated in extended precision with the program's power
// rule; a formula that divides by zero, takes the logarithm of a negative
// number or overflows throws MathError, and a whole-number result outside the
// 64-bit range does too.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tpworm::rules {
struct TableData;
}

namespace tpworm::recommend {

// The prefix of both basis hints under the main-base-circle and the
// worm-reference-circle fields.
inline const QString kBasisPrefix = QStringLiteral("↑基础值：");

// 0.65 a, the basis of the main base circle, whole (ties to even).
std::int64_t mainBaseBasis(long double centreDistance);
// 0.76 a^N0, the basis of the worm reference diameter, whole.
std::int64_t referenceBasis(long double centreDistance, double n0);

// d1 = 0.76 a^N0 + 0.25 a^1.5 i^-1.9, whole.
std::int64_t referenceDiameter(long double centreDistance, double ratio, double n0);
// db = (0.76 - i^-1.3) a^1.02 / 1.35, whole.
std::int64_t mainBaseDiameter(long double centreDistance, double ratio);
// Above 90 a diameter goes to the nearest multiple of 5 (remainders 1 and 2
// down, 3 and 4 up); 90 and less stay as they are.
std::int32_t snapToFive(std::int32_t diameter);
// z2 / 100 to one decimal.
double grindingIncrement(long double wheelTeeth);
// The tip eccentricity text for the (snapped) main base circle d: "0" from a
// ratio of 35 on, otherwise 0.4 d, 0.375 d, d / 4 or d / 6 by ratio band,
// whole.
QString tipEccentricityText(long double mainBase, double ratio);
// The column of table xiuyuan that holds the entry relief for the ratio: 3
// below 25, 4 up to 40, 5 up to 63, 6 above (with the tolerances of the
// thresholds that whole tooth counts never meet).
int entryReliefColumn(double ratio);
// The exit relief amount: 0.67 of the entry relief, to two decimals.
double exitReliefAmount(long double entryRelief);

// The grade table of a grade "6", "7" or "8"; an empty text for any other.
QString gradeTableName(const QString& grade);
// "7j(GB/T16445-1996)" when the standard backlash of the table was applied,
// "7级(GB/T16445-1996)" when it was not.
QString gradeText(const QString& grade, bool standardBacklash);

// The row of a grade table (6ji, 7ji, 8ji) whose centre-distance range holds
// the centre distance: above column 1 and at most column 2 of the row the
// range search finds; nothing when no row holds it. Errors as RangeSearch,
// and ConvertError for a range bound that is no number.
std::optional<int> gradeRow(const rules::TableData& table, long double centreDistance);

// The row of an open table whose range reaches the key: the first row whose
// column 2 is at least the key. A key above every row throws RulesError
// rather than falling back to a row that does not cover it.
int coveringRow(const rules::TableData& table, long double key);

} // namespace tpworm::recommend
