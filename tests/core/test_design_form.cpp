// The design core without a window: the command sequences of the form, the
// named results, the findings and the JSON document, against rules made in
// the test.
#include "core_rules.h"

#include "core/design_form.h"
#include "core/numeric.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace tpworm;
using core::Field;
using coretest::exampleRules;

namespace {

const QString kCalculateMessage = QStringLiteral("您输入的内容不符合要求,请输入合法数字且不能为空...");
const QString kCalculationMessage = QStringLiteral("只能输入合法数字，且不能为空");

// The worked example's fields, the ratio after teeth and starts.
core::CalcRequest workedExample(const QList<QPair<Field, QString>>& changes = {})
{
    core::CalcRequest request;
    request.fields = {{Field::CentreDistance, "250"}, {Field::WheelTeeth, "45"}, {Field::WormStarts, "2"},
                      {Field::Ratio, "22.5"},         {Field::MainBase, "160"},  {Field::TipEccentricity, "2"},
                      {Field::ReferenceDiameter, "90"}, {Field::Backlash, "0.3"}, {Field::GrindingIncrement, "0.5"}};
    request.fields += changes;
    return request;
}

core::DesignRequest drive(const QString& a, const QString& teeth, const QString& starts = "1")
{
    core::DesignRequest request;
    request.centreDistance = a;
    request.teeth = teeth;
    request.starts = starts;
    return request;
}

bool locked(const core::DesignForm& f) { return !f.driveDataEnabled() && !f.calculateEnabled(); }

TEST(DesignCore, WorkedExampleGivesNamedResultsAndTheirCaptions)
{
    const rules::RulesData rules = exampleRules();
    const core::DesignForm f = core::runCalc(workedExample(), rules);
    ASSERT_TRUE(f.calculated()) << f.messages().join('|').toStdString();
    const core::Results& r = f.results();
    EXPECT_EQ(r.written, 35);
    // The worked example's own figures.
    EXPECT_EQ(FloatToStr(r.wormRootArcRadius), "215.933");
    EXPECT_EQ(FloatToStr(r.wormTipArcRadius), "197.889");
    EXPECT_EQ(FloatToStr(r.wormMaxTipDiameter), "124.996");
    EXPECT_EQ(FloatToStr(r.wormTipWidth), "4.28");
    EXPECT_EQ(r.generatingPlaneTilt, "13.758");
    EXPECT_EQ(r.shoulderSize, 18);
    EXPECT_FALSE(r.profileAngleRed || r.throatLeadAngleRed || r.wormThroatRootDiameterRed);
    EXPECT_EQ(f.label(8).caption, "215.933-----蜗杆齿根圆弧半径");
    EXPECT_EQ(f.label(26).caption, "4.5-----包围齿数");
    EXPECT_EQ(f.label(41).caption, "13.804---修形母面倾斜角");
    // Each caption is its named value and the suffix of its row.
    for (const core::ResultLabel& row : core::resultLabels())
        EXPECT_EQ(f.label(row.label).caption, core::resultText(r, row) + QString::fromUtf8(row.suffix)) << row.label;
    EXPECT_TRUE(f.warnings().isEmpty());
    EXPECT_TRUE(f.exportsEnabled() && f.wholeTeethShown());

    core::CalcRequest whole = workedExample();
    whole.wholeTeeth = true;
    const core::DesignForm w = core::runCalc(whole, rules);
    EXPECT_EQ(w.label(26).caption, "4-----包围齿数");
    EXPECT_EQ(FloatToStr(w.results().wormMaxTipDiameter), "121.064");
}

TEST(DesignCore, AFaultPartWayKeepsTheResultsBeforeItAndIsNotCalculated)
{
    // A main base circle above the wheel's reference circle: no profile angle.
    const core::DesignForm f = core::runCalc(workedExample({{Field::MainBase, "1000"}}), exampleRules());
    EXPECT_FALSE(f.calculated());
    EXPECT_EQ(f.messages(), QStringList{kCalculationMessage});
    EXPECT_EQ(f.results().written, 7) << "24, 23, 8, 9, 10, 11 and 12 come before the profile angle";
    EXPECT_EQ(f.label(12).caption, "1000-----主基圆直径");
    EXPECT_EQ(f.label(14).caption, "分度圆齿形角") << "not reached: the caption of the start stays";
    EXPECT_FALSE(f.exportsEnabled());
    EXPECT_TRUE(f.warnings().isEmpty());
}

TEST(DesignCore, AFaultAfterACalculationKeepsTheRecordPastTheFaultAsItWas)
{
    // The values past the failing step stay those of the calculation before,
    // as the window has always kept them, although a calculation runs first
    // without looking at the fault flags after each step.
    core::DesignForm f = core::runCalc(workedExample(), exampleRules());
    ASSERT_TRUE(f.calculated());
    const DesignValues before = f.design();
    const QString profileCaption = f.label(14).caption;
    f.setText(Field::MainBase, "1000");
    f.Button1Click();
    EXPECT_FALSE(f.calculated());
    EXPECT_EQ(f.results().written, 7);
    EXPECT_EQ(f.design().MainBaseDiameter, 1000);
    EXPECT_EQ(f.design().ProfileAngle, before.ProfileAngle) << "the failing step stored nothing";
    EXPECT_EQ(f.design().CircularPitch, before.CircularPitch);
    EXPECT_EQ(f.design().HobTipArcRadius, before.HobTipArcRadius);
    EXPECT_EQ(f.design().ModifiedMainBaseDiameter, before.ModifiedMainBaseDiameter);
    EXPECT_EQ(f.label(8).caption, "215.933-----蜗杆齿根圆弧半径");
    EXPECT_EQ(f.label(14).caption, profileCaption) << "not reached: the caption of the last calculation stays";

    // Back to a sound value: the same results as the first time.
    f.setText(Field::MainBase, core::runCalc(workedExample(), exampleRules()).text(Field::MainBase));
    f.Button1Click();
    ASSERT_TRUE(f.calculated());
    EXPECT_EQ(f.design().ModifiedMainBaseDiameter, before.ModifiedMainBaseDiameter);
    EXPECT_EQ(f.results().written, 35);
}

TEST(DesignCore, TheCalculateCommandLooksUpGradeAndReliefsFromTheRulesInMemory)
{
    const core::DesignForm f = core::runDesign(drive("250", "45", "2"), exampleRules());
    ASSERT_TRUE(f.calculated()) << f.messages().join('|').toStdString();
    // Row (200, 400] of xiuyuan, column 3 for a ratio below 25; row (40, 100]
    // of xiuyuanchangdu; the exit amount 0.67 of the entry, to two decimals.
    EXPECT_EQ(f.text(Field::EntryRelief), "0.36 * 5°");
    EXPECT_EQ(f.text(Field::ExitRelief), "0.24 * 3.5°");
    // Row (160, 315] of 7ji: its standard backlash and tolerances.
    EXPECT_EQ(f.text(Field::Backlash), "1.4");
    EXPECT_EQ(f.text(Field::GradeText), "7j(GB/T16445-1996)");
    EXPECT_EQ(f.design().GradeTolerance3, "T3-7-315");
    EXPECT_EQ(f.design().GradeTolerance11, "T11-7-315");
    EXPECT_EQ(f.text(Field::Ratio), "22.5");
    EXPECT_TRUE(locked(f));
    EXPECT_TRUE(f.editEnabled());

    // Grade 8 without the standard backlash: the backlash field stays.
    core::DesignRequest other = drive("250", "45", "2");
    other.grade = "8";
    other.standardBacklash = false;
    const core::DesignForm g = core::runDesign(other, exampleRules());
    EXPECT_EQ(g.text(Field::GradeText), "8级(GB/T16445-1996)");
    EXPECT_EQ(g.text(Field::Backlash), "0");
    EXPECT_EQ(g.design().GradeTolerance4, "T4-8-315");
}

TEST(DesignCore, OverridesAreEditedAndConfirmedAsAtTheWindow)
{
    core::DesignRequest request = drive("250", "45", "2");
    request.overrides = {{Field::MainBase, "160"}, {Field::TipEccentricity, "2"}, {Field::ReferenceDiameter, "90"},
                         {Field::Backlash, "0.3"}, {Field::GrindingIncrement, "0.5"}};
    const core::DesignForm f = core::runDesign(request, exampleRules());
    ASSERT_TRUE(f.calculated());
    EXPECT_EQ(f.label(8).caption, "215.933-----蜗杆齿根圆弧半径");
    EXPECT_FALSE(f.standardBacklash()) << "a changed backlash clears the standard-backlash box";
    EXPECT_EQ(f.text(Field::GradeText), "7级(GB/T16445-1996)");
    EXPECT_FALSE(f.recommendedEditable());
    EXPECT_FALSE(f.confirmEnabled());
}

struct FailedDrive {
    const char* a;
    const char* teeth;
    const char* starts;
    QStringList messages;
    bool recommended; // the calculate command got through its look-ups
};

TEST(DesignCore, ADriveThatDoesNotCalculateIsNeitherCalculatedNorLocked)
{
    const FailedDrive cases[] = {
        // Zero centre distance: recommended, then the calculation faults.
        {"0", "40", "1", {kCalculationMessage}, true},
        // Above every relief row: the calculate command's own failure.
        {"1700", "40", "1", {kCalculateMessage}, false},
        {"x", "40", "1", {QStringLiteral("输入参数有误，请输入合法有效的数字........."), kCalculateMessage}, false},
        {"", "40", "1", {kCalculateMessage}, false},
        // Teeth that are no whole number find no relief-length row.
        {"250", "45.5", "2", {kCalculateMessage}, false},
    };
    for (const FailedDrive& c : cases) {
        const core::DesignForm f = core::runDesign(drive(c.a, c.teeth, c.starts), exampleRules());
        EXPECT_FALSE(f.calculated()) << c.a;
        EXPECT_FALSE(f.exportsEnabled()) << c.a;
        EXPECT_FALSE(locked(f)) << c.a << ": the drive data stay editable so that it can be corrected";
        EXPECT_EQ(f.editEnabled(), c.recommended) << c.a;
        EXPECT_EQ(f.messages(), c.messages) << c.a;
        const QJsonObject json = QJsonDocument::fromJson(core::designJson(f)).object();
        EXPECT_FALSE(json["calculated"].toBool()) << c.a;
    }
    // The zero design keeps the fields the calculate command wrote.
    const core::DesignForm zero = core::runDesign(drive("0", "40"), exampleRules());
    EXPECT_EQ(zero.text(Field::ReferenceDiameter), "0");
    EXPECT_EQ(zero.text(Field::EntryRelief), "0.25 * 4.5°");
}

TEST(DesignCore, AGradeRowHoldsOnlyDistancesAboveItsLowerBound)
{
    // 40 is the lower bound of the first 7ji row, so no row holds it; 40.5 lies in it.
    const core::DesignForm at = core::runDesign(drive("40", "40"), exampleRules());
    EXPECT_EQ(at.text(Field::GradeText), "7级(GB/T16445-1996)");
    EXPECT_TRUE(at.design().GradeTolerance3.isEmpty());
    const core::DesignForm in = core::runDesign(drive("40.5", "40"), exampleRules());
    EXPECT_EQ(in.text(Field::GradeText), "7j(GB/T16445-1996)");
    EXPECT_EQ(in.design().GradeTolerance3, "T3-7-160");
}

TEST(DesignCore, RulesThatCannotBeReadStillGiveADocument)
{
    rules::RulesData broken = exampleRules();
    broken.coefficientsLoaded = false;
    const core::DesignForm f = core::runDesign(drive("250", "45", "2"), broken);
    EXPECT_EQ(f.messages(), QStringList{rules::kLoadFailureMessage});
    const QJsonObject json = QJsonDocument::fromJson(core::designJson(f)).object();
    EXPECT_FALSE(json["calculated"].toBool());
    EXPECT_EQ(json["messages"].toArray().first().toString(), rules::kLoadFailureMessage);

    // A relief-length table that could not be read fails the calculate
    // command after the amounts were written, as the per-use read would.
    rules::RulesData noLengths = exampleRules();
    noLengths.reliefLengths.error = QStringLiteral("无法读取数据表 xiuyuanchangdu");
    const core::DesignForm g = core::runDesign(drive("250", "45", "2"), noLengths);
    EXPECT_EQ(g.messages(), QStringList{kCalculateMessage});
    EXPECT_EQ(g.text(Field::EntryRelief), "0.36");
    EXPECT_EQ(g.text(Field::ExitRelief), "0.24");
    EXPECT_FALSE(g.calculated());
    EXPECT_FALSE(locked(g));
}

struct Finding {
    QList<QPair<Field, QString>> changes;
    QStringList expected; // the start of each warning, in order
};

TEST(DesignCore, FindingsOfImpossibleGeometryAndOfDrivesOutsideTheValidRange)
{
    const Finding cases[] = {
        {{}, {}},
        // The manual's range leaves its bounds out: 70 mm < a < 1500 mm.
        {{{Field::CentreDistance, "70.5"}, {Field::ReferenceDiameter, "40"}, {Field::MainBase, "40"}}, {}},
        {{{Field::CentreDistance, "70"}, {Field::ReferenceDiameter, "40"}, {Field::MainBase, "40"}}, {"中心距 70 超出"}},
        {{{Field::CentreDistance, "1499.5"}, {Field::MainBase, "1000"}, {Field::ReferenceDiameter, "300"}}, {}},
        {{{Field::CentreDistance, "1500"}, {Field::MainBase, "1000"}, {Field::ReferenceDiameter, "300"}},
         {"中心距 1500 超出"}},
        // The centre distance typed last brings the standard backlash of its
        // grade row (0.7), which the worm's tip no longer leaves room for.
        {{{Field::CentreDistance, "60"}, {Field::ReferenceDiameter, "40"}, {Field::MainBase, "40"}},
         {"蜗杆齿顶宽为负", "滚刀齿顶宽为负", "中心距 60 超出"}},
        {{{Field::WheelTeeth, "14"}, {Field::Ratio, "7"}, {Field::Backlash, "-0.3"}},
         {"滚刀齿顶宽为负（-0.88）", "侧隙为负（-0.3）", "速比 7 超出"}},
    };
    for (const Finding& c : cases) {
        const core::DesignForm f = core::runCalc(workedExample(c.changes), exampleRules());
        ASSERT_TRUE(f.calculated()) << f.messages().join('|').toStdString() << " " << f.text(Field::CentreDistance).toStdString();
        ASSERT_EQ(f.warnings().size(), c.expected.size()) << f.warnings().join('|').toStdString();
        for (int k = 0; k < c.expected.size(); ++k)
            EXPECT_TRUE(f.warnings()[k].startsWith(c.expected[k])) << f.warnings()[k].toStdString();
        // The findings never change a label's red: that keeps its meaning.
        EXPECT_FALSE(f.label(49).red);
        const QJsonArray listed = QJsonDocument::fromJson(core::designJson(f)).object()["warnings"].toArray();
        EXPECT_EQ(listed.size(), c.expected.size());
    }
}

TEST(DesignCore, TheJsonDocumentHasTheKeysOfTheContract)
{
    const core::DesignForm f = core::runDesign(drive("250", "45", "2"), exampleRules());
    const QJsonObject json = QJsonDocument::fromJson(core::designJson(f)).object();
    EXPECT_EQ(json.keys(), (QStringList{"calculated", "fields", "grade", "gradeTolerances", "hints", "labels",
                                        "messages", "rulesModified", "standardBacklash", "warnings", "wholeTeeth"}));
    EXPECT_EQ(json["labels"].toObject().size(), 35);
    EXPECT_EQ(json["fields"].toObject().size(), 13);
    EXPECT_EQ(json["fields"].toObject()["Edit10"].toString(), "右旋");
    EXPECT_EQ(json["hints"].toObject()["Label46"].toString(), "↑基础值：162") << "0.65 × 250 = 162.5, ties to even";
    const QByteArray listing = core::designListing(f);
    EXPECT_TRUE(listing.startsWith("[传动特性]\n")) << listing.left(40).toStdString();
    EXPECT_TRUE(listing.endsWith(QStringLiteral("  精度等级：7j(GB/T16445-1996)\n").toUtf8()));
}

} // namespace

namespace {

// The document is written directly; it must be exactly what QJsonDocument
// writes for the same object, whatever the texts hold.
TEST(DesignCore, TheDocumentIsByteForByteQtsIndentedJson)
{
    const QString odd = QStringLiteral("a\"b\\c\nd\te\u0001f\u001f\u007f é/<😀") + QChar(0xD800) + QStringLiteral("x")
                        + QChar(0xDC00);
    QList<core::DesignForm> forms;
    forms << core::runCalc(workedExample(), exampleRules());
    forms << core::runCalc(workedExample({{Field::Hand, odd}, {Field::EntryRelief, QString()}}), exampleRules());
    forms << core::runCalc(workedExample({{Field::MainBase, "1000"}}), exampleRules());
    forms << core::runCalc(workedExample({{Field::WheelTeeth, "14"}, {Field::Ratio, "7"}, {Field::Backlash, "-0.3"}}),
                           exampleRules());
    for (const char* a : {"250", "0", "x", "", "40", "1700"})
        forms << core::runDesign(drive(a, "45", "2"), exampleRules());
    rules::RulesData broken = exampleRules();
    broken.coefficientsLoaded = false;
    broken.anyDiffers = true;
    forms << core::runDesign(drive("250", "45", "2"), broken);
    core::DesignRequest grade6 = drive("250", "45", "2");
    grade6.grade = "6";
    grade6.wholeTeeth = true;
    forms << core::runDesign(grade6, exampleRules());
    for (const core::DesignForm& f : forms) {
        EXPECT_EQ(core::designJson(f), QJsonDocument(core::designJsonObject(f)).toJson(QJsonDocument::Indented))
            << f.text(Field::CentreDistance).toStdString();
        EXPECT_EQ(core::designJsonLine(f), QJsonDocument(core::designJsonObject(f)).toJson(QJsonDocument::Compact));
        QJsonObject withRow = core::designJsonObject(f);
        withRow.insert("row", 1234567);
        EXPECT_EQ(core::designJsonLine(f, 1234567), QJsonDocument(withRow).toJson(QJsonDocument::Compact));
    }
}

} // namespace
