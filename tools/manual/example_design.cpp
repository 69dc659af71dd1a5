#include "example_design.h"

#include "core/numeric.h"
#include "calc/geometry.h"
#include "calc/recommend.h"

#include <QFileInfo>
#include <QSettings>

#include <array>

namespace tpworm::manual {

double ExampleDesign::number(int label) const { return double(StrToFloat(value(label))); }

int coveringRow(const TableText& table, long double key)
{
    for (int row = 0; row < table.rows.size(); ++row)
        if (StrToFloat(table.rows[row][2]) >= key)
            return row;
    return int(table.rows.size()) - 1;
}

namespace {

class Captions final : public calc::ResultSink {
public:
    explicit Captions(QMap<int, QString>& shown) : shown_(shown) {}
    void caption(int label, const QString& text) override
    {
        const QString suffix = calc::resultSuffix(label);
        shown_[label] = text.endsWith(suffix) ? text.chopped(suffix.size()) : text;
    }
    void warning(int label, bool warn) override
    {
        if (warn && warnings)
            warnings->append(label);
    }
    QList<int>* warnings = nullptr;

private:
    QMap<int, QString>& shown_;
};

QString required(const QSettings& ini, const QString& key)
{
    const QString value = ini.value(key).toString();
    if (value.isEmpty())
        throw ManualError(QStringLiteral("%1: no value for %2").arg(ini.fileName(), key));
    return value;
}

// The reliefs the calculate command writes: the amount of the ratio band,
// the exit amount 0.67 of it, each with the length of the teeth row.
void lookUpReliefs(ExampleDesign& d, const RulesSnapshot& rules)
{
    const long double a = StrToFloat(d.centreDistance);
    const int column = recommend::entryReliefColumn(double(StrToFloat(d.ratio)));
    const QStringList& amounts = rules.reliefAmounts.rows[coveringRow(rules.reliefAmounts, a)];
    const QStringList& lengths = rules.reliefLengths.rows[coveringRow(rules.reliefLengths, StrToInt(d.wheelTeeth))];
    const QString entry = amounts[column];
    const QString exit = FloatToStr(recommend::exitReliefAmount(StrToFloat(entry)));
    d.entryRelief = entry + QStringLiteral(" * ") + lengths[3];
    d.exitRelief = exit + QStringLiteral(" * ") + lengths[4];
}

void lookUpGrade(ExampleDesign& d, const RulesSnapshot& rules)
{
    const TableText& table = rules.grade(StrToInt(d.grade));
    const QStringList& row = table.rows[coveringRow(table, StrToFloat(d.centreDistance))];
    for (int column = 3; column <= 16; ++column)
        d.tolerance[column] = row[column];
    if (d.standardBacklash)
        d.backlash = row[16];
    d.gradeText = recommend::gradeText(d.grade, d.standardBacklash);
}

} // namespace

ExampleDesign calculateExample(const QString& iniPath, const RulesSnapshot& rules)
{
    if (!QFileInfo(iniPath).isFile())
        throw ManualError(QStringLiteral("example %1 not found").arg(iniPath));
    QSettings ini(iniPath, QSettings::IniFormat);
    ExampleDesign d;
    d.centreDistance = required(ini, "drive/centre_distance");
    d.wheelTeeth = required(ini, "drive/wheel_teeth");
    d.wormStarts = required(ini, "drive/worm_starts");
    d.grade = required(ini, "drive/grade");
    d.standardBacklash = ini.value("drive/standard_backlash", true).toBool();
    d.mainBase = required(ini, "parameters/main_base");
    d.tipEccentricity = required(ini, "parameters/tip_eccentricity");
    d.referenceDiameter = required(ini, "parameters/reference_diameter");
    d.grindingIncrement = required(ini, "parameters/grinding_increment");
    d.hand = required(ini, "parameters/hand");
    d.backlash = ini.value("parameters/backlash").toString();

    try {
        d.ratio = FloatToStr(StrToFloat(d.wheelTeeth) / StrToFloat(d.wormStarts));
        lookUpGrade(d, rules);
        lookUpReliefs(d, rules);
    } catch (const std::exception& error) {
        throw ManualError(QStringLiteral("example %1: %2").arg(iniPath, QString::fromUtf8(error.what())));
    }
    d.calculated = calculate(d, rules);
    if (!d.calculated)
        throw ManualError(QStringLiteral("example %1 does not calculate with the shipped coefficients").arg(iniPath));
    return d;
}

bool calculate(ExampleDesign& d, const RulesSnapshot& rules)
{
    std::array<double, 16> N{};
    for (int k = 0; k < 16; ++k)
        N[k] = rules.coefficient(k);
    calc::GeometryTexts texts;
    texts.centreDistance = d.centreDistance;
    texts.ratio = d.ratio;
    texts.wheelTeeth = d.wheelTeeth;
    texts.wormStarts = d.wormStarts;
    texts.mainBaseDiameter = d.mainBase;
    texts.tipEccentricity = d.tipEccentricity;
    texts.wormReferenceDiameter = d.referenceDiameter;
    texts.backlash = d.backlash;
    texts.grindingIncrement = d.grindingIncrement;
    Captions captions(d.shown);
    d.warnings.clear();
    captions.warnings = &d.warnings;
    return calc::calculateGeometry(texts, N, d.record, captions) == calc::GeometryOutcome::Completed;
}

ExampleDesign recommendedDesign(const QString& centreDistance, const QString& wheelTeeth, const QString& wormStarts,
                                const RulesSnapshot& rules)
{
    ExampleDesign d;
    d.centreDistance = centreDistance;
    d.wheelTeeth = wheelTeeth;
    d.wormStarts = wormStarts;
    d.grade = QStringLiteral("7");
    d.hand = QStringLiteral("右旋");
    try {
        d.ratio = FloatToStr(StrToFloat(wheelTeeth) / StrToFloat(wormStarts));
        const long double a = StrToFloat(centreDistance);
        const double i = double(StrToFloat(d.ratio));
        d.referenceDiameter = IntToStr(recommend::snapToFive(std::int32_t(recommend::referenceDiameter(a, i, rules.coefficient(0)))));
        d.mainBase = IntToStr(recommend::snapToFive(std::int32_t(recommend::mainBaseDiameter(a, i))));
        d.grindingIncrement = FloatToStr(recommend::grindingIncrement(StrToFloat(wheelTeeth)));
        d.tipEccentricity = recommend::tipEccentricityText(StrToFloat(d.mainBase), i);
        lookUpGrade(d, rules);
        lookUpReliefs(d, rules);
    } catch (const std::exception& error) {
        throw ManualError(QStringLiteral("recommendation for a = %1, z2 = %2, z1 = %3: %4")
                              .arg(centreDistance, wheelTeeth, wormStarts, QString::fromUtf8(error.what())));
    }
    d.calculated = calculate(d, rules);
    return d;
}

drawing::ShownDesign shownDesign(const ExampleDesign& d)
{
    drawing::ShownDesign shown;
    shown.record = d.record;
    shown.record.GradeTolerance3 = d.tolerance.value(3);
    shown.record.GradeTolerance4 = d.tolerance.value(4);
    shown.record.GradeTolerance8 = d.tolerance.value(8);
    shown.record.GradeTolerance9 = d.tolerance.value(9);
    shown.record.GradeTolerance10 = d.tolerance.value(10);
    shown.record.GradeTolerance11 = d.tolerance.value(11);
    const QString edits[13] = {d.centreDistance, d.ratio,     d.wheelTeeth, d.wormStarts,  d.mainBase,
                               d.tipEccentricity, d.referenceDiameter, d.backlash, d.gradeText, d.hand,
                               d.entryRelief,     d.exitRelief, d.grindingIncrement};
    for (int k = 0; k < 13; ++k)
        shown.fields.edits[size_t(k)] = edits[k];
    shown.grade = d.grade;
    shown.standardBacklash = d.standardBacklash;
    drawing::ShownGroup group;
    for (auto it = d.shown.begin(); it != d.shown.end(); ++it)
        group.results.append({it.key(), it.value() + calc::resultSuffix(it.key()), d.warnings.contains(it.key())});
    shown.groups.append(group);
    return shown;
}

} // namespace tpworm::manual
