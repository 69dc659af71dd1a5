#include "drawing/shown_design.h"

#include "rating/rating_tables.h"
#include "rules/rules_sources.h"

#include "calc/geometry.h"
#include "core/numeric.h"

#include <QFileInfo>

namespace tpworm::drawing {

const ShownResult* ShownDesign::result(int label) const
{
    for (const ShownGroup& group : groups)
        for (const ShownResult& r : group.results)
            if (r.label == label)
                return &r;
    return nullptr;
}

QString ShownDesign::value(int label) const
{
    const ShownResult* r = result(label);
    if (!r)
        return QString();
    const QString suffix = calc::resultSuffix(label);
    return !suffix.isEmpty() && r->caption.endsWith(suffix) ? r->caption.chopped(suffix.size()) : r->caption;
}

double ShownDesign::number(int label) const
{
    if (const core::ResultLabel* row = results ? core::resultLabel(label) : nullptr) {
        switch (row->kind) {
        case core::ResultKind::Number: return double((*results).*row->number);
        case core::ResultKind::Whole: return double((*results).*row->whole);
        case core::ResultKind::Text: break;
        }
    }
    try {
        return double(StrToFloat(value(label)));
    } catch (const ConvertError&) {
        return 0;
    }
}

namespace {

// The captions of the window's drive-data and recommended-parameter fields,
// in the order the report lists them.
const std::pair<const char*, core::Field> kDriveCaptions[] = {
    {"中  心  距：", core::Field::CentreDistance}, {"蜗轮齿数：", core::Field::WheelTeeth},
    {"蜗杆头数：", core::Field::WormStarts},       {"实际速比：", core::Field::Ratio},
    {"精度等级：", core::Field::GradeText},
};
const std::pair<const char*, core::Field> kRecommendedCaptions[] = {
    {"主  基  圆：", core::Field::MainBase},         {"齿顶偏心：", core::Field::TipEccentricity},
    {"杆分度圆：", core::Field::ReferenceDiameter},  {"侧         隙：", core::Field::Backlash},
    {"入口修缘：", core::Field::EntryRelief},        {"出口修缘：", core::Field::ExitRelief},
    {"磨齿增量：", core::Field::GrindingIncrement},  {"旋         向：", core::Field::Hand},
};

} // namespace

ShownDesign shownDesign(const core::DesignForm& form, const QString& rulesDatabase)
{
    ShownDesign d;
    static_cast<DesignValues&>(d.record) = form.design();
    for (int k = 0; k < core::kFieldCount; ++k)
        d.fields.edits[size_t(k)] = form.texts()[size_t(k)];
    d.fields.wholeTeeth = form.wholeTeeth();
    d.grade = form.grade();
    d.standardBacklash = form.standardBacklash();
    for (const core::ResultGroup& group : core::resultGroups()) {
        ShownGroup shown;
        shown.title = QString::fromUtf8(group.title).trimmed();
        for (int label : group.labels)
            shown.results.append({label, form.label(label).caption, form.label(label).red});
        d.groups.append(shown);
    }
    for (const auto& [caption, field] : kDriveCaptions)
        d.drive.append({QString::fromUtf8(caption), form.text(field)});
    for (const auto& [caption, field] : kRecommendedCaptions)
        d.recommended.append({QString::fromUtf8(caption), form.text(field)});
    d.warnings = form.warnings();
    d.results = form.results();
    d.rulesDatabase = QFileInfo(rulesDatabase).fileName();
    d.rulesSources = rules::rulesSourcesText(rulesDatabase);
    d.rulesModified = form.rulesModified();
    if (d.rulesModified)
        d.rulesNotice = QStringLiteral("注意：默认计算法则已被修改...");
    return d;
}

ShownDriveCheck driveCheckOf(const DesignValues& design, const rating::DutyTexts& duty, const QString& rulesDatabase)
{
    ShownDriveCheck check;
    check.duty = duty;
    auto sourceOf = [](const QList<rules::TableSource>& sources, const QString& table) {
        const std::optional<rules::TableSource> s = rules::findSource(sources, table);
        return s && s->recorded ? s->source.simplified() : QStringLiteral("未记录");
    };
    try {
        const QList<rules::TableSource> sources = rules::readSources(rulesDatabase);
        check.frictionSource = sourceOf(sources, rating::kFrictionTable);
        check.ratedPowerSource = sourceOf(sources, rating::kRatedPowerTable);
    } catch (const std::exception& error) {
        check.frictionSource = check.ratedPowerSource =
            QStringLiteral("规则数据库无法读取：%1").arg(QString::fromStdString(error.what()));
    }
    try {
        check.parsed = rating::parseDuty(duty);
        const rating::RatingTables tables = rating::loadRatingTables(rulesDatabase);
        for (const rating::FrictionCurve& c : tables.friction)
            if (!check.parsed->friction && c.key == check.parsed->material)
                check.materialName = c.name;
        check.rating = rating::rate(rating::driveValues(design), *check.parsed, tables.friction, tables.ratedPower);
    } catch (const rating::RatingError& error) {
        check.problem = error.message();
    }
    return check;
}

} // namespace tpworm::drawing
