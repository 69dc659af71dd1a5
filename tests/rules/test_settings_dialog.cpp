// The settings dialog "计算设置" driven through the real windows offscreen. The
// dialog is modal: each test acts from a timer inside its event loop and the
// dialog is closed at the end, so a test never waits for a user.
#include "common/gui_fixture.h"
#include "rules/tform5.h"
#include "rules_testing.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <functional>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

// Opens the dialog through the menu command and runs act inside it; the
// dialog is closed with "关  闭" afterwards unless act closed it.
void inDialog(TForm1& f, const std::function<void(TForm5&)>& act)
{
    bool ran = false;
    QTimer::singleShot(0, &f, [&] {
        ran = true;
        act(*f.Form5);
        if (f.Form5->isVisible())
            f.Form5->Button2->click();
    });
    f.N13Click();
    EXPECT_TRUE(ran) << "the dialog's event loop ran";
    EXPECT_FALSE(f.Form5->isVisible());
}

void clickRow(TForm5& d, int row)
{
    const QRect cell = d.DBGrid1->visualRect(d.ADOTable1->index(row, 1));
    QTest::mouseClick(d.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
}

void typeN(TForm5& d, const QString& text)
{
    d.DBEdit1->setFocus();
    d.DBEdit1->selectAll();
    QTest::keyClick(d.DBEdit1, Qt::Key_Backspace);
    QTest::keyClicks(d.DBEdit1, text);
}

QString gridText(TForm5& d, int row, int column) { return d.ADOTable1->index(row, column).data().toString(); }

} // namespace

TEST(SettingsDialog, OpensOnTheFirstRowAndTheFieldsFollowTheSelectedRow)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    inDialog(f, [&](TForm5& d) {
        EXPECT_TRUE(d.isModal());
        EXPECT_EQ(d.windowTitle(), "计算设置");
        EXPECT_EQ(d.GroupBox1->title(), "  参数设置  ");
        EXPECT_EQ(d.Label1->text(), "N值：");
        EXPECT_EQ(d.Button1->text(), "保  存");
        EXPECT_EQ(d.Button2->text(), "关  闭");
        EXPECT_EQ(d.minimumSize(), d.maximumSize()) << "fixed size";

        ASSERT_EQ(d.ADOTable1->rowCount(), 16);
        EXPECT_EQ(d.ADOTable1->columnCount(), 5) << "every column of nzhi";
        EXPECT_EQ(d.ADOTable1->headerData(2, Qt::Horizontal).toString(), "N值");
        EXPECT_TRUE(d.DBGrid1->horizontalHeader()->isVisible());
        EXPECT_TRUE(d.DBGrid1->verticalHeader()->isVisible());
        EXPECT_EQ(d.DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(d.DBGrid1->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(d.DBGrid1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(d.DBGrid1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        // Every row fits, since no scroll bar is shown.
        EXPECT_TRUE(d.DBGrid1->viewport()->rect().contains(d.DBGrid1->visualRect(d.ADOTable1->index(15, 0))));

        EXPECT_EQ(d.DBEdit1->text(), "0.875");
        EXPECT_EQ(d.DBText1->text(), gridText(d, 0, 4));
        clickRow(d, 5);
        EXPECT_EQ(d.DBGrid1->currentIndex().row(), 5);
        EXPECT_EQ(d.DBEdit1->text(), "0.55");
        EXPECT_EQ(d.DBText1->text(), gridText(d, 5, 4));
        EXPECT_TRUE(d.DBText1->text().contains("N5"));
    });
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
}

TEST(SettingsDialog, SaveWritesEveryEditAndReloadsTheCoefficients)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    ASSERT_TRUE(f.Label50->isHidden());
    inDialog(f, [&](TForm5& d) {
        clickRow(d, 1);
        typeN(d, "1.3");
        clickRow(d, 14);
        EXPECT_EQ(gridText(d, 1, 2), "1.3") << "moving on keeps the edit in the dialog's copy";
        typeN(d, "0.8");
        EXPECT_DOUBLE_EQ(storedCoefficient(fx.path("db1.mdb"), 1), 1.2) << "nothing is written before saving";
        EXPECT_DOUBLE_EQ(f.Design.RuleCoefficients[1], 1.2);

        d.Button1->click();
        ASSERT_EQ(fx.dialogs.messageTexts(), QStringList{"数据保存成功......"});
        EXPECT_EQ(fx.dialogs.messages[0].caption, "提示");
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
        EXPECT_EQ(d.DBGrid1->currentIndex().row(), 14);
        EXPECT_EQ(d.DBEdit1->text(), "0.8");
        EXPECT_FALSE(d.hasUnsavedEdits());
    });
    EXPECT_DOUBLE_EQ(storedCoefficient(fx.path("db1.mdb"), 1), 1.3);
    EXPECT_DOUBLE_EQ(storedCoefficient(fx.path("db1.mdb"), 14), 0.8);
    EXPECT_EQ(queryValue(fx.path("db1.mdb"), "SELECT N_default FROM nzhi WHERE ID = 2").toDouble(), 1.2)
        << "only N is written";
    EXPECT_EQ(f.Design.RuleCoefficients[1], 1.3);
    EXPECT_EQ(f.Design.RuleCoefficients[14], 0.8);
    EXPECT_FALSE(f.Label50->isHidden());
    EXPECT_TRUE(f.Design.UpdateCheckSuppressed) << "saving runs no update check";

    // Saving the defaults back leaves the notice: only restoring hides it.
    inDialog(f, [&](TForm5& d) {
        clickRow(d, 1);
        typeN(d, "1.2");
        clickRow(d, 14);
        typeN(d, "0.9");
        d.Button1->click();
    });
    EXPECT_EQ(f.Design.RuleCoefficients[1], 1.2);
    EXPECT_EQ(f.Design.RuleCoefficients[14], 0.9);
    EXPECT_FALSE(f.Label50->isHidden());
}

TEST(SettingsDialog, ClosingWithoutSavingDiscardsTheEdits)
{
    const std::pair<const char*, std::function<void(TForm5&)>> ways[] = {
        {"关  闭", [](TForm5& d) { d.Button2->click(); }},
        {"close box", [](TForm5& d) { d.close(); }},
        {"Escape", [](TForm5& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
    };
    for (const auto& [way, closeIt] : ways) {
        ProgramFixture fx;
        TForm1& f = fx.start();
        const QByteArray before = fileBytes(fx.path("db1.mdb"));
        inDialog(f, [&](TForm5& d) {
            clickRow(d, 3);
            typeN(d, "0.75");
            clickRow(d, 0);
            typeN(d, "1");
            EXPECT_TRUE(d.hasUnsavedEdits());
            closeIt(d);
            EXPECT_FALSE(d.isVisible()) << way;
        });
        EXPECT_EQ(fileBytes(fx.path("db1.mdb")), before) << way;
        EXPECT_EQ(f.Design.RuleCoefficients[3], 0.5) << way;
        EXPECT_TRUE(f.Label50->isHidden()) << way;
        inDialog(f, [&](TForm5& d) {
            EXPECT_EQ(d.DBEdit1->text(), "0.875") << way << ": reopened on the stored value";
            EXPECT_EQ(gridText(d, 3, 2), "0.5") << way;
            EXPECT_FALSE(d.hasUnsavedEdits()) << way;
        });
        EXPECT_TRUE(fx.dialogs.messages.isEmpty()) << way;
    }
}

TEST(SettingsDialog, AFailedSaveRollsBackAndKeepsTheEdits)
{
    ProgramFixture fx;
    // The database refuses to change N15, so the batch fails after row N1
    // has already been written inside it.
    makeRulesCopy(fx.path("db1.mdb"), {"CREATE TRIGGER refuse BEFORE UPDATE ON nzhi WHEN NEW.ID = 16 "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"});
    TForm1& f = fx.start();
    inDialog(f, [&](TForm5& d) {
        clickRow(d, 1);
        typeN(d, "1.3");
        clickRow(d, 15);
        typeN(d, "10");
        d.Button1->click();
        ASSERT_EQ(fx.dialogs.messageTexts(), QStringList{"数据保存失败......."});
        EXPECT_EQ(fx.dialogs.messages[0].caption, "提示");
        EXPECT_DOUBLE_EQ(storedCoefficient(fx.path("db1.mdb"), 1), 1.2) << "the batch is rolled back whole";
        EXPECT_EQ(f.Design.RuleCoefficients[1], 1.2) << "the reload reads the unchanged rules";
        EXPECT_TRUE(f.Design.UpdateCheckSuppressed);
        EXPECT_TRUE(d.hasUnsavedEdits());
        EXPECT_EQ(gridText(d, 1, 2), "1.3") << "the edits stay in the dialog's copy";
        EXPECT_EQ(gridText(d, 15, 2), "10");

        runSql(fx.path("db1.mdb"), {"DROP TRIGGER refuse"});
        d.Button1->click();
        EXPECT_EQ(fx.dialogs.messageTexts().last(), "数据保存成功......");
    });
    EXPECT_DOUBLE_EQ(storedCoefficient(fx.path("db1.mdb"), 1), 1.3);
    EXPECT_DOUBLE_EQ(storedCoefficient(fx.path("db1.mdb"), 15), 10);
    EXPECT_EQ(f.Design.RuleCoefficients[15], 10);
}

TEST(SettingsDialog, TextThatIsNoNumberIsNeverWritten)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const QByteArray before = fileBytes(fx.path("db1.mdb"));
    inDialog(f, [&](TForm5& d) {
        clickRow(d, 2);
        typeN(d, "1,x");
        d.Button1->click();
        EXPECT_EQ(fx.dialogs.messageTexts(), QStringList{"数据保存失败......."});
        EXPECT_EQ(gridText(d, 2, 2), "1");

        // Moving to another row refuses the text and says so.
        clickRow(d, 4);
        ASSERT_EQ(fx.dialogs.messages.size(), 2);
        EXPECT_TRUE(fx.dialogs.messages[1].text.contains("1,x"));
        EXPECT_EQ(gridText(d, 2, 2), "1");
        typeN(d, "1e999");
        clickRow(d, 5);
        EXPECT_EQ(gridText(d, 4, 2), "0") << "a number too large for the table is refused too";
    });
    EXPECT_EQ(fileBytes(fx.path("db1.mdb")), before);
    EXPECT_TRUE(f.isVisible());
}

TEST(SettingsDialog, OpeningFailureReportsAndClosesOnlyTheDialog)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    ASSERT_TRUE(QFile::remove(fx.path("db1.mdb")));
    bool closedItself = false;
    QTimer::singleShot(500, &f, [&] {
        closedItself = !f.Form5->isVisible();
        if (f.Form5->isVisible())
            f.Form5->Button2->click();
    });
    f.N13Click();
    EXPECT_EQ(fx.dialogs.messageTexts(), QStringList{"数据初始化失败，程序将关闭"});
    EXPECT_EQ(fx.dialogs.messages[0].caption, "提示");
    EXPECT_FALSE(f.Form5->isVisible());
    EXPECT_TRUE(f.isVisible()) << "the main window and the program go on";
    EXPECT_FALSE(QFile::exists(fx.path("db1.mdb"))) << "the dialog never creates a database";
}
