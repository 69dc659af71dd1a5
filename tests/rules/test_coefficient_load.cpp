// The coefficient load at every showing of the main window, driven through the
// real window offscreen.
#include "common/gui_fixture.h"
#include "rules_testing.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

const QString kFailure = QStringLiteral("您的系统可能缺少相应的驱动，数据初始化失败，请联系开发商QQ:");

} // namespace

TEST(CoefficientLoadWindow, ShippedRulesLoadWithoutNotice)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    QCoreApplication::processEvents();
    EXPECT_TRUE(fx.dialogs.messages.isEmpty()) << fx.dialogs.messageTexts().join('|').toStdString();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Label50->isHidden());
    EXPECT_EQ(f.Design.RuleCoefficients[0], 0.875);
    EXPECT_EQ(f.Design.RuleCoefficients[15], 9);
    EXPECT_FALSE(f.ADOConnection1.IsOpen()) << "the load closes the connection";
}

TEST(CoefficientLoadWindow, ADifferingCoefficientShowsTheNoticeAndNoLoadHidesIt)
{
    ProgramFixture fx;
    makeRulesCopy(fx.path("db1.mdb"), {"UPDATE nzhi SET N = 1 WHERE Coefficient = 'N0'"});
    TForm1& f = fx.start();
    EXPECT_FALSE(f.Label50->isHidden());
    EXPECT_EQ(f.Label50->text(), "注意：默认计算法则已被修改...");
    EXPECT_EQ(f.Design.RuleCoefficients[0], 1.0);

    // Back to the defaults behind the window's back: the next showing reloads
    // the values but leaves the notice up.
    makeRulesCopy(fx.path("db1.mdb"));
    f.hide();
    f.show();
    EXPECT_EQ(f.Design.RuleCoefficients[0], 0.875);
    EXPECT_FALSE(f.Label50->isHidden());
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
}

TEST(CoefficientLoadWindow, FailureReportsAndEndsTheProgramAfterTheShowHandler)
{
    struct Case {
        const char* why;
        std::function<void(const QString&)> damage;
    };
    const Case cases[] = {
        {"database missing", [](const QString& path) { QFile::remove(path); }},
        {"not a database", [](const QString& path) { writeBytes(path, QByteArray(2048, '\x7f')); }},
        {"a value that is not a number",
         [](const QString& path) { makeRulesCopy(path, {"UPDATE nzhi SET N = '1,5' WHERE ID = 9"}); }},
    };
    for (const Case& c : cases) {
        ProgramFixture fx;
        c.damage(fx.path("db1.mdb"));
        const QByteArray before = fileBytes(fx.path("db1.mdb"));
        TForm1& f = fx.start();
        ASSERT_EQ(fx.dialogs.messages.size(), 1) << c.why;
        EXPECT_TRUE(fx.dialogs.messages[0].text.startsWith(kFailure)) << c.why;
        EXPECT_GT(fx.dialogs.messages[0].text.size(), kFailure.size()) << "a contact number follows";
        EXPECT_EQ(fx.dialogs.messages[0].caption, "提示");
        // The window is still being shown while the show handler runs ...
        EXPECT_TRUE(f.isVisible()) << c.why;
        // ... and closes once it has finished.
        QTRY_VERIFY_WITH_TIMEOUT(!f.isVisible(), 2000);
        EXPECT_FALSE(f.ADOConnection1.IsOpen());
        EXPECT_EQ(fileBytes(fx.path("db1.mdb")), before) << c.why << ": the load writes nothing";
        EXPECT_FALSE(QFile::exists(fx.path("db1.mdb")) && before.isEmpty()) << "a missing database is not created";
    }
}

TEST(CoefficientLoadWindow, AFailedLoadKeepsTheValuesItDidNotReach)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    ASSERT_TRUE(fx.dialogs.messages.isEmpty());
    makeRulesCopy(fx.path("db1.mdb"), {"UPDATE nzhi SET N = 2 WHERE ID = 1", "UPDATE nzhi SET N = 'x' WHERE ID = 3"});
    f.Design.UpdateCheckSuppressed = true;
    f.FormShow();
    EXPECT_EQ(f.Design.RuleCoefficients[0], 2.0);
    EXPECT_EQ(f.Design.RuleCoefficients[2], 1.0) << "entry 2 keeps the value of the last load";
    EXPECT_EQ(f.Design.RuleCoefficients[15], 9.0);
    EXPECT_FALSE(f.Label50->isHidden()) << "the differing first row was read before the failure";
    ASSERT_EQ(fx.dialogs.messages.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!f.isVisible(), 2000);
}
