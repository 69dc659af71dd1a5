#include "example_design.h"

#include "core/design_form.h"
#include "core/numeric.h"
#include "core/recommend.h"

#include <QFileInfo>
#include <QSettings>

namespace tpworm::manual {

double ExampleDesign::number(int label) const
{
    // The named result itself, never its caption read back.
    const core::ResultLabel* row = core::resultLabel(label);
    if (!row || !shown.contains(label))
        throw ManualError(QStringLiteral("the design shows no result in label %1").arg(label));
    switch (row->kind) {
    case core::ResultKind::Number:
        return double(results.*row->number);
    case core::ResultKind::Whole:
        return double(results.*row->whole);
    case core::ResultKind::Text:
        break;
    }
    return double(StrToFloat(results.*row->text));
}

namespace {

using core::Field;

QString required(const QSettings& ini, const QString& key)
{
    const QString value = ini.value(key).toString();
    if (value.isEmpty())
        throw ManualError(QStringLiteral("%1: no value for %2").arg(ini.fileName(), key));
    return value;
}

// The texts, values and captions of the form after the run.
ExampleDesign fromForm(const core::DesignForm& form, const RulesSnapshot& rules)
{
    ExampleDesign d;
    d.centreDistance = form.text(Field::CentreDistance);
    d.ratio = form.text(Field::Ratio);
    d.wheelTeeth = form.text(Field::WheelTeeth);
    d.wormStarts = form.text(Field::WormStarts);
    d.mainBase = form.text(Field::MainBase);
    d.tipEccentricity = form.text(Field::TipEccentricity);
    d.referenceDiameter = form.text(Field::ReferenceDiameter);
    d.backlash = form.text(Field::Backlash);
    d.gradeText = form.text(Field::GradeText);
    d.hand = form.text(Field::Hand);
    d.entryRelief = form.text(Field::EntryRelief);
    d.exitRelief = form.text(Field::ExitRelief);
    d.grindingIncrement = form.text(Field::GrindingIncrement);
    d.grade = form.grade();
    d.standardBacklash = form.standardBacklash();
    d.calculated = form.calculated();
    static_cast<DesignValues&>(d.record) = form.design();
    d.results = form.results();
    const auto rows = core::resultLabels();
    for (int k = 0; k < d.results.written; ++k) {
        d.shown[rows[k].label] = core::resultText(d.results, rows[k]);
        if (rows[k].red && d.results.*rows[k].red)
            d.warnings.append(rows[k].label);
    }
    // The rest of the row the grade look-up took its tolerances from.
    try {
        const rules::TableData& table = rules.data.table(recommend::gradeTableName(d.grade));
        if (const std::optional<int> row = recommend::gradeRow(table, StrToFloat(d.centreDistance)))
            for (int column = rules::column::kTolerance3; column <= rules::column::kStandardBacklash; ++column)
                d.tolerance[column] = table.Text(*row, column);
    } catch (const std::exception&) {
        // No row: the design shows no tolerances.
    }
    return d;
}

core::DesignRequest driveRequest(const QString& centreDistance, const QString& wheelTeeth, const QString& wormStarts,
                                 const RulesSnapshot& rules)
{
    core::DesignRequest request;
    request.centreDistance = centreDistance;
    request.teeth = wheelTeeth;
    request.starts = wormStarts;
    // The rules printed are the rules in force: the coefficients as shown.
    rules::Coefficients n{};
    for (int k = 0; k < rules::kCoefficientCount; ++k)
        n[k] = rules.coefficient(k);
    request.coefficients = n;
    return request;
}

QString messagesOf(const core::DesignForm& form) { return form.messages().join(QStringLiteral(" | ")); }

} // namespace

ExampleDesign calculateExample(const QString& iniPath, const RulesSnapshot& rules)
{
    if (!QFileInfo(iniPath).isFile())
        throw ManualError(QStringLiteral("example %1 not found").arg(iniPath));
    QSettings ini(iniPath, QSettings::IniFormat);
    core::DesignRequest request = driveRequest(required(ini, "drive/centre_distance"), required(ini, "drive/wheel_teeth"),
                                               required(ini, "drive/worm_starts"), rules);
    request.grade = required(ini, "drive/grade");
    request.standardBacklash = ini.value("drive/standard_backlash", true).toBool();
    request.overrides = {
        {Field::MainBase, required(ini, "parameters/main_base")},
        {Field::TipEccentricity, required(ini, "parameters/tip_eccentricity")},
        {Field::ReferenceDiameter, required(ini, "parameters/reference_diameter")},
        {Field::GrindingIncrement, required(ini, "parameters/grinding_increment")},
        {Field::Hand, required(ini, "parameters/hand")},
    };
    // With the standard backlash in force the grade table gives it.
    if (!request.standardBacklash)
        request.overrides.append({Field::Backlash, ini.value("parameters/backlash").toString()});
    if (!core::kGrades.contains(request.grade))
        throw ManualError(QStringLiteral("example %1: grade %2 is not 6, 7 or 8").arg(iniPath, request.grade));

    const core::DesignForm form = core::runDesign(request, rules.data);
    if (!form.calculated())
        throw ManualError(QStringLiteral("example %1 does not calculate with the shipped rules: %2")
                              .arg(iniPath, messagesOf(form)));
    return fromForm(form, rules);
}

ExampleDesign recommendedDesign(const QString& centreDistance, const QString& wheelTeeth, const QString& wormStarts,
                                const RulesSnapshot& rules)
{
    const core::DesignForm form = core::runDesign(driveRequest(centreDistance, wheelTeeth, wormStarts, rules), rules.data);
    // A drive whose recommendation fails (no relief row, a text that is no
    // number) leaves the fields as the failure left them.
    if (!form.editEnabled())
        throw ManualError(QStringLiteral("recommendation for a = %1, z2 = %2, z1 = %3: %4")
                              .arg(centreDistance, wheelTeeth, wormStarts, messagesOf(form)));
    return fromForm(form, rules);
}

} // namespace tpworm::manual
