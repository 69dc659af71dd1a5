// The calculate command: recommended values, reliefs, the lock, and what a
// failure leaves behind.
#include "calcflow_fixture.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

#include <functional>

using tpworm::TForm1;
using tpworm::testing::CalcFlowTest;
using tpworm::testing::ProgramFixture;
using tpworm::testing::RulesFixture;

namespace {

const QString kCalculateMessage = QStringLiteral("您输入的内容不符合要求,请输入合法数字且不能为空...");
const QString kCalculationMessage = QStringLiteral("只能输入合法数字，且不能为空");

bool resultsShown(const TForm1& f)
{
    for (const QWidget* g : {f.GroupBox1, f.GroupBox2, f.GroupBox3, f.GroupBox4, f.GroupBox6})
        if (!g->isVisible())
            return false;
    return f.CheckBox1->isVisible();
}

struct Fields {
    QString ratio, referenceCircle, mainBase, grinding, tipEccentricity, entryRelief, exitRelief;
    bool operator==(const Fields&) const = default;
};

Fields recommended(const TForm1& f)
{
    return {f.Edit2->text(), f.Edit7->text(), f.Edit5->text(), f.Edit13->text(),
            f.Edit6->text(), f.Edit11->text(), f.Edit12->text()};
}

void PrintTo(const Fields& v, std::ostream* os)
{
    *os << "{" << QStringList{v.ratio, v.referenceCircle, v.mainBase, v.grinding, v.tipEccentricity, v.entryRelief, v.exitRelief}
                      .join(" | ")
                      .toStdString()
        << "}";
}

bool locked(const TForm1& f)
{
    return !f.Edit1->isEnabled() && !f.Edit3->isEnabled() && !f.Edit4->isEnabled() && !f.SpeedButton2->isEnabled();
}

bool editable(const TForm1& f)
{
    return f.Edit1->isEnabled() && f.Edit3->isEnabled() && f.Edit4->isEnabled() && f.SpeedButton2->isEnabled();
}

} // namespace

class Calculate : public CalcFlowTest {};

TEST_F(Calculate, TheThreeExamplesFieldForField)
{
    struct Case {
        const char* a;
        const char* teeth;
        const char* starts;
        Fields expected;
    };
    const Case cases[] = {
        // 127.97 -> 128 -> 130; 93.12 -> 93 -> 95; 95 / 4 = 23.75; relief row
        // 200 mm column 3 (0.5, exit 0.335), length row 30 teeth.
        {"160", "30", "3", {"10", "130", "95", "0.3", "24", "0.5 * 30", "0.34 * 20"}},
        // 190.89 -> 191 -> 190; 155.46 -> 155; ratio 40 takes column 4.
        {"250", "40", "1", {"40", "190", "155", "0.4", "0", "0.7 * 40", "0.47 * 25"}},
        // Not above 90: no snapping; 0.4 x 56 = 22.4; 100 mm is the first row's bound.
        {"100", "31", "4", {"7.75", "81", "56", "0.3", "22", "0.3 * 40", "0.2 * 25"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " mm, " << c.teeth << " teeth, " << c.starts << " starts");
        TForm1& f = start();
        calculate(f, c.a, c.teeth, c.starts);
        EXPECT_EQ(recommended(f), c.expected);
        EXPECT_FALSE(messages().contains(kCalculateMessage));
        EXPECT_TRUE(locked(f));
        EXPECT_TRUE(f.SpeedButton3->isEnabled());
        // Backlash, grade text and hand belong to others.
        EXPECT_EQ(f.Edit10->text(), "右旋");
        EXPECT_EQ(f.Edit9->text(), "7j(GB/T16445-1996)");
    }
}

TEST_F(Calculate, TheCalculationRunsOnTheWrittenValuesAfterTheLock)
{
    TForm1& f = start();
    calculate(f, "160", "30", "3");
    EXPECT_EQ(messages(), QStringList());
    EXPECT_TRUE(resultsShown(f));
    EXPECT_TRUE(f.ToolButton11->isEnabled());
    const tpworm::DesignRecord& d = f.Design;
    EXPECT_EQ(d.CentreDistance, 160);
    EXPECT_EQ(d.Ratio, 10);
    EXPECT_EQ(d.WormReferenceDiameter, 130);
    EXPECT_EQ(d.MainBaseDiameter, 95);
    EXPECT_EQ(d.TipEccentricity, 24);
    EXPECT_EQ(d.Backlash, 0.21);
    EXPECT_EQ(d.GrindingIncrement, 0.3);
    EXPECT_EQ(f.Label24->text(), "24-----蜗杆齿顶圆弧偏心量");
    EXPECT_FALSE(d.DesignSaved);
}

TEST_F(Calculate, ReliefByCentreDistanceRatioAndTeeth)
{
    struct Case {
        const char* a;
        const char* teeth;
        const char* starts;
        const char* entry;
        const char* exit;
    };
    const Case cases[] = {
        {"300", "48", "2", "0.80 * 40", "0.54 * 25"},   // i = 24: column 3, a text copied as it stands
        {"300", "25", "1", "0.7 * 30", "0.47 * 20"},    // i = 25: column 4
        {"300", "81", "2", "0.6 * 55", "0.4 * 35"},     // i = 40.5: column 5
        {"300", "63", "1", "0.6 * 55", "0.4 * 35"},     // i = 63: still column 5
        {"300", "127", "2", "0.5 * 70", "0.34 * 45"},   // i = 63.5: column 6
        {"400", "40", "1", "0.7 * 40", "0.47 * 25"},    // a equal to a bound takes that row
        {"400.5", "50", "1", "1 * 40", "0.67 * 25"},    // next row; teeth equal to a bound
        {"1000", "300", "3", "0.8 * 70", "0.54 * 45"},  // the last rows themselves
        {"50", "10", "1", "0.3 * 30", "0.2 * 20"},      // below the first bounds: first rows
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " mm, " << c.teeth << " teeth, " << c.starts << " starts");
        TForm1& f = start();
        calculate(f, c.a, c.teeth, c.starts);
        EXPECT_EQ(f.Edit11->text(), c.entry);
        EXPECT_EQ(f.Edit12->text(), c.exit);
        EXPECT_TRUE(locked(f));
    }
}

TEST_F(Calculate, FailuresReportLeaveWhatWasWrittenAndLockNothing)
{
    struct Case {
        const char* what;
        const char* a;
        const char* teeth;
        const char* starts;
        std::function<void(RulesFixture&)> rules;
        Fields expected; // the fields as the failure leaves them
    };
    const auto keep = [](RulesFixture&) {};
    const Fields untouched{"", "", "", "0", "0", "0", "0"};
    const Case cases[] = {
        {"centre distance above every relief row", "1001", "40", "1", keep,
         {"40", "770", "640", "0.4", "0", "0", "0"}},
        {"teeth above every length row", "160", "301", "3", keep,
         {"100.333333333333", "120", "100", "3", "0", "0.35", "0.23"}},
        // 0.4 x 81 = 32.4; the relief amount is written before the length
        // search reads the teeth as a whole number.
        {"teeth that are no whole number", "160", "4.5", "1", keep,
         {"4.5", "150", "81", "0", "32", "0.5", "0.34"}},
        {"zero teeth: no power of a zero ratio", "160", "0", "1", keep, {"0", "", "", "0", "0", "0", "0"}},
        {"negative centre distance", "-160", "30", "3", keep, {"10", "", "", "0", "0", "0", "0"}},
        {"no relief table", "160", "30", "3", [](RulesFixture& r) { r.drop("xiuyuan"); },
         {"10", "130", "95", "0.3", "24", "0", "0"}},
        {"no relief-length table", "160", "30", "3", [](RulesFixture& r) { r.drop("xiuyuanchangdu"); },
         {"10", "130", "95", "0.3", "24", "0.5", "0.34"}},
        {"an empty relief amount", "160", "30", "3", [](RulesFixture& r) { r.table("xiuyuan").rows[1][3] = QVariant(); },
         {"10", "130", "95", "0.3", "24", "", "0"}},
        {"a length bound that is no number", "160", "30", "3",
         [](RulesFixture& r) { r.table("xiuyuanchangdu").rows[0][2] = QStringLiteral("thirty"); },
         {"10", "130", "95", "0.3", "24", "0.5", "0.34"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rules = RulesFixture::standard();
        c.rules(rules);
        TForm1& f = start();
        ASSERT_EQ(recommended(f), untouched);
        enter(f, c.a, c.teeth, c.starts);
        program->dialogs.messages.clear(); // a typed "-" reports on its own
        press(f);
        EXPECT_EQ(messages(), QStringList{kCalculateMessage});
        EXPECT_EQ(recommended(f), c.expected);
        EXPECT_TRUE(editable(f));
        EXPECT_FALSE(f.SpeedButton3->isEnabled());
    }
}

TEST_F(Calculate, MissingRulesDatabaseIsReported)
{
    TForm1& f = start();
    enter(f, "160", "30", "3");
    ASSERT_TRUE(QFile::remove(program->path("db1.mdb")));
    press(f);
    EXPECT_EQ(messages(), QStringList{kCalculateMessage});
    EXPECT_EQ(recommended(f), (Fields{"10", "130", "95", "0.3", "24", "0", "0"}));
    EXPECT_TRUE(editable(f));
}

TEST_F(Calculate, RulesNamedAtStartAreReadInsteadOfDb1)
{
    ProgramFixture& directory = prepare();
    rules.table("7ji").rows[1][16] = QStringLiteral("0.99");
    rules.table("xiuyuan").rows[1][3] = 0.9;
    rules.table("xiuyuanchangdu").rows[0][3] = QStringLiteral("33");
    const QString other = directory.path("other-rules.db");
    rules.write(other);
    directory.context.rulesOverride = other;
    TForm1& f = start();
    calculate(f, "160", "30", "3");
    EXPECT_EQ(f.Edit8->text(), "0.99");
    EXPECT_EQ(f.Edit11->text(), "0.9 * 33");
    EXPECT_EQ(f.Edit12->text(), "0.6 * 20");
}

TEST_F(Calculate, ARetryAfterAFailureSearchesFromTheFirstRowAgain)
{
    TForm1& f = start();
    calculate(f, "1001", "30", "3");
    ASSERT_EQ(messages(), QStringList{kCalculateMessage});
    type(f.Edit1, "160");
    press(f);
    EXPECT_EQ(recommended(f), (Fields{"10", "130", "95", "0.3", "24", "0.5 * 30", "0.34 * 20"}));
    EXPECT_TRUE(locked(f));
    EXPECT_TRUE(f.SpeedButton3->isEnabled());
    EXPECT_EQ(messages(), QStringList{kCalculateMessage});
}

TEST_F(Calculate, WithoutARatioNothingIsRecommendedAndColumn3IsUsed)
{
    TForm1& f = start();
    type(f.Edit1, "160");
    f.Edit4->clear();
    type(f.Edit3, "40");
    ASSERT_EQ(f.Edit2->text(), "");
    press(f);
    EXPECT_EQ(recommended(f), (Fields{"", "", "", "0", "0", "0.5 * 40", "0.34 * 25"}));
    // The calculation itself then rejects the design: the drive data stay
    // editable so that it can be corrected, and editing is offered so that
    // the values can be typed in.
    EXPECT_FALSE(locked(f));
    EXPECT_TRUE(editable(f));
    EXPECT_TRUE(f.SpeedButton3->isEnabled());
    EXPECT_EQ(messages(), QStringList{kCalculationMessage});
    EXPECT_FALSE(resultsShown(f));
}

TEST_F(Calculate, EmptyCentreDistanceFailsInTheReliefSearch)
{
    TForm1& f = start();
    type(f.Edit3, "40");
    ASSERT_EQ(f.Edit2->text(), "40");
    press(f);
    EXPECT_EQ(messages(), QStringList{kCalculateMessage});
    EXPECT_EQ(recommended(f), (Fields{"40", "", "", "0", "0", "0", "0"}));
    EXPECT_TRUE(editable(f));
}
