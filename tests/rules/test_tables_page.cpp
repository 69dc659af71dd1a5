// The tables page of "计算设置", the notice in the grade area and the About
// window's rules paragraph, driven through the real windows offscreen.
#include "common/gui_fixture.h"
#include "app/tform6.h"
#include "rules/rules_notice.h"
#include "rules/rules_tables.h"
#include "rules/tables_page.h"
#include "rules/tform5.h"
#include "rules_testing.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <functional>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

// Opens "计算设置" on its tables page with the table shown and runs act inside
// the dialog's event loop; the dialog is closed afterwards.
void onTablesPage(TForm1& f, const QString& table, const std::function<void(TablesPage&)>& act)
{
    bool ran = false;
    QTimer::singleShot(0, &f, [&] {
        ran = true;
        TForm5& d = *f.Form5;
        d.PageControl1->setCurrentWidget(d.TabSheet2);
        EXPECT_FALSE(d.Button1->isVisible()) << "the coefficients' save button belongs to their page";
        TablesPage& page = *d.TabSheet2;
        const int index = page.TableBox->findData(table);
        EXPECT_GE(index, 0) << table.toStdString();
        page.TableBox->setCurrentIndex(index);
        emit page.TableBox->activated(index);
        act(page);
        if (d.isVisible())
            d.Button2->click();
    });
    f.N13Click();
    EXPECT_TRUE(ran);
}

void typeIntoCell(TablesPage& page, int row, int column, const QString& text)
{
    page.Grid->setCurrentCell(row, column);
    page.Grid->editItem(page.Grid->item(row, column));
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : page.Grid->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible())
            editor = e;
    ASSERT_TRUE(editor) << "the cell is being edited";
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    // What the delegate does on Return: the text goes into the cell.
    emit page.Grid->itemDelegate()->commitData(editor);
    emit page.Grid->itemDelegate()->closeEditor(editor);
    // The closed editor goes only when control returns to the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void typeText(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QString cell(const QString& db, const QString& table, const QString& column, int id)
{
    return queryValue(db, QStringLiteral("SELECT %1 FROM \"%2\" WHERE ID = %3").arg(column, table).arg(id)).toString();
}

QStringList listed(const TablesPage& page)
{
    QStringList items;
    for (int i = 0; i < page.ProblemList->count(); ++i)
        items << page.ProblemList->item(i)->text();
    return items;
}

// The shipped 7ji as CSV with the row of a = 200 changed: ±fpx 0.0444 and a
// standard backlash of 0.333.
QString ownGradeTable(const QString& db, const QString& path)
{
    const rules::TableLayout layout = rules::readTableLayout(db, "7ji");
    rules::TableTexts data = rules::readTable(db, layout);
    EXPECT_EQ(data.rows[4][1], "250");
    data.rows[4][2] = "0.0444";
    data.rows[4][15] = "0.333";
    writeBytes(path, rules::tableToCsv(layout, data));
    return path;
}

} // namespace

TEST(TablesPage, AnImportedTableServesTheLookUpsAndTravelsWithTheRuleSets)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const QString db = fx.path("db1.mdb");
    QTest::keyClicks(f.Edit1, "200");
    ASSERT_EQ(f.Design.GradeTolerance3, "0.02");
    const QString csv = ownGradeTable(db, fx.path("own.csv"));

    onTablesPage(f, "7ji", [&](TablesPage& page) {
        const QByteArray before = fileBytes(db);
        fx.dialogs.files = {csv};
        page.ImportButton->click();
        EXPECT_EQ(fx.dialogs.fileDialogs.last().name, "OpenDialogCsv");
        EXPECT_EQ(page.Grid->item(4, 2)->text(), "0.0444");
        EXPECT_EQ(page.SourceEdit->toPlainText(), "用户导入：own.csv");
        EXPECT_TRUE(page.hasUnsavedEdits());
        EXPECT_EQ(fileBytes(db), before) << "importing fills the page; saving writes";
        page.SourceEdit->setPlainText("本厂标准 Q/XX 7-2024");
        page.SaveButton->click();
        EXPECT_EQ(fx.dialogs.messageTexts(), QStringList{"数据保存成功......"});
        EXPECT_FALSE(page.hasUnsavedEdits());
    });
    // The grade look-up ran again at once.
    EXPECT_EQ(f.Design.GradeTolerance3, "0.0444");
    EXPECT_EQ(f.Edit8->text(), "0.333");
    EXPECT_FALSE(rules::rulesNotice(f)->toolTip().contains("7ji（")) << "7ji has a source of the user's";

    // The calculate command of the next calculation.
    QTest::keyClicks(f.Edit3, "40");
    f.SpeedButton2->click();
    EXPECT_TRUE(f.ToolButton11->isEnabled()) << "calculated";
    EXPECT_EQ(f.Edit8->text(), "0.333");

    // Saved into a rule set, replaced by the defaults, restored by loading the set.
    QTemporaryDir sets;
    fx.dialogs.files = {sets.filePath("mine")};
    f.N17Click();
    EXPECT_EQ(cell(sets.filePath("mine.wrx"), "7ji", "worm_pitch_deviation", 5), "0.0444");
    EXPECT_EQ(queryValue(sets.filePath("mine.wrx"), "SELECT source FROM rules_sources WHERE table_name = '7ji'").toString(),
              "本厂标准 Q/XX 7-2024")
        << "the set carries where its tables come from";
    f.N15Click();
    EXPECT_EQ(cell(db, "7ji", "worm_pitch_deviation", 5), "0.02");
    f.ComboBox1Change();
    EXPECT_EQ(f.Design.GradeTolerance3, "0.02");
    EXPECT_TRUE(rules::rulesNotice(f)->toolTip().contains("7ji（")) << "the reference values are back";
    fx.dialogs.files = {sets.filePath("mine.wrx")};
    f.N16Click();
    f.ComboBox1Change();
    EXPECT_EQ(f.Design.GradeTolerance3, "0.0444");
    EXPECT_FALSE(rules::rulesNotice(f)->toolTip().contains("7ji（"));
    EXPECT_EQ(fx.dialogs.messageTexts(), QStringList{"数据保存成功......"}) << "no other message on the way";
}

TEST(TablesPage, AnEditedToleranceShowsInTheGradeLookUpAtOnce)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const QString db = fx.path("db1.mdb");
    QTest::keyClicks(f.Edit1, "300");
    ASSERT_EQ(f.Design.GradeTolerance3, "0.023");
    onTablesPage(f, "7ji", [&](TablesPage& page) {
        // Headings say what each column is.
        EXPECT_EQ(page.Grid->horizontalHeaderItem(1)->text(), "中心距 至 (mm)");
        EXPECT_EQ(page.Grid->horizontalHeaderItem(2)->text(), "蜗杆圆周齿距极限偏差 ±fpx (mm)");
        EXPECT_EQ(page.Grid->rowCount(), 16);
        EXPECT_TRUE(page.StateLabel->text().contains("仍为随程序提供的参考值"));
        typeIntoCell(page, 5, 2, "0.0234");
        EXPECT_EQ(page.Grid->item(5, 2)->text(), "0.0234");
        EXPECT_TRUE(page.hasUnsavedEdits());
        page.SaveButton->click();
    });
    EXPECT_EQ(f.Design.GradeTolerance3, "0.0234");
    EXPECT_EQ(cell(db, "7ji", "worm_pitch_deviation", 6), "0.0234");
    // One value changed under the shipped source text: still reference values.
    EXPECT_EQ(queryValue(db, "SELECT reference_values FROM rules_sources WHERE table_name = '7ji'").toInt(), 1);
    EXPECT_EQ(queryValue(db, "SELECT changed FROM rules_sources WHERE table_name = '7ji'").toString(),
              QDate::currentDate().toString(Qt::ISODate));
    EXPECT_TRUE(rules::rulesNotice(f)->isVisible());
}

TEST(TablesPage, ProblemsAreListedWithRowAndColumnAndNothingIsWrittenUntilMended)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const QString db = fx.path("db1.mdb");
    const QByteArray before = fileBytes(db);
    onTablesPage(f, "8ji", [&](TablesPage& page) {
        typeIntoCell(page, 2, 1, "abc");
        typeIntoCell(page, 15, 1, "5000");
        EXPECT_EQ(page.Grid->item(15, 1)->text(), "5000");
        page.SaveButton->click();
        ASSERT_EQ(fx.dialogs.messages.size(), 1);
        EXPECT_EQ(fx.dialogs.messages[0].text, "数据表 8ji 有 2 处问题，没有保存；问题列在表格页下方，改正后再保存。");
        const QStringList problems = listed(page);
        EXPECT_TRUE(problems.contains("第 3 行，列 centre_distance_upto_mm：“abc”不是数字")) << problems.join('\n').toStdString();
        EXPECT_TRUE(problems.contains("第 16 行，列 centre_distance_upto_mm：最后一行的上限 5000 小于可输入的最大值 99999 mm，较大的输入将查不到范围"));
        EXPECT_EQ(fileBytes(db), before);
        EXPECT_EQ(page.Grid->currentRow(), 2) << "the first problem is shown in the grid";
        EXPECT_EQ(page.Grid->currentColumn(), 1);

        // A new row is checked like the others; deleting it again mends that.
        page.Grid->setCurrentCell(15, 0);
        page.AddRowButton->click();
        EXPECT_EQ(page.Grid->rowCount(), 17);
        EXPECT_EQ(page.Grid->item(16, 0)->text(), "5000") << "a new range starts where the last ended";
        page.DeleteRowButton->click();
        EXPECT_EQ(page.Grid->rowCount(), 16);

        typeIntoCell(page, 2, 1, "120");
        typeIntoCell(page, 15, 1, "99999");
        page.SourceEdit->setPlainText("");
        page.SaveButton->click();
        EXPECT_TRUE(listed(page).contains("请写明这些数值的来源（标准、手册或本厂标准）"));
        EXPECT_EQ(fileBytes(db), before);
        page.SourceEdit->setPlainText("GB/T16445-1996 表 4");
        typeText(page.CoversUptoEdit, "1250");
        page.SaveButton->click();
        EXPECT_EQ(fx.dialogs.messages.last().text, "数据保存成功......");
    });
    EXPECT_EQ(queryValue(db, "SELECT source FROM rules_sources WHERE table_name = '8ji'").toString(), "GB/T16445-1996 表 4");
    EXPECT_EQ(queryValue(db, "SELECT reference_values FROM rules_sources WHERE table_name = '8ji'").toInt(), 0);
}

TEST(TablesPage, UnsavedEditsAskBeforeAnotherTableAndABadFileLeavesTheGrid)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    onTablesPage(f, "xiuyuanchangdu", [&](TablesPage& page) {
        EXPECT_EQ(page.Grid->horizontalHeaderItem(2)->text(), "入口修缘长度（文字，如 7°）");
        typeIntoCell(page, 0, 2, "8°");
        fx.dialogs.answers = {Answer::No};
        const int other = page.TableBox->findData("xiuyuan");
        emit page.TableBox->activated(other);
        EXPECT_EQ(page.currentTable(), "xiuyuanchangdu") << "No keeps the edits";
        EXPECT_EQ(page.TableBox->currentData().toString(), "xiuyuanchangdu");
        EXPECT_EQ(page.Grid->item(0, 2)->text(), "8°");

        writeBytes(fx.path("bad.csv"), "wheel_teeth_above,wheel_teeth_upto,entry_relief_length\n-1,999,7°\n");
        fx.dialogs.files = {fx.path("bad.csv")};
        page.ImportButton->click();
        EXPECT_TRUE(listed(page).contains("列 exit_relief_length：标题行缺少这一列（出口修缘长度（文字，如 5°））"));
        EXPECT_EQ(page.Grid->item(0, 2)->text(), "8°") << "a refused file changes nothing";

        fx.dialogs.files = {fx.path("out.csv")};
        page.ExportButton->click();
        EXPECT_EQ(fx.dialogs.fileDialogs.last().fileName, "xiuyuanchangdu.csv");
        EXPECT_TRUE(fileBytes(fx.path("out.csv")).startsWith("wheel_teeth_above,wheel_teeth_upto,entry_relief_length,exit_relief_length\r\n-1,25,8°,5°\r\n"))
            << "the grid as it stands";

        fx.dialogs.answers = {Answer::Yes};
        emit page.TableBox->activated(other);
        EXPECT_EQ(page.currentTable(), "xiuyuan");
    });
    EXPECT_EQ(cell(fx.path("db1.mdb"), "xiuyuanchangdu", "entry_relief_length", 1), "7°") << "never saved";
}

TEST(RulesNotice, TellsReferenceValuesAndTheRangeOfTheGradeTableWhileTheCalculationRuns)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    rules::RulesNotice* notice = rules::rulesNotice(f);
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), "表格数据为参考值");
    EXPECT_TRUE(notice->toolTip().contains("不是标准表中的数值"));
    EXPECT_TRUE(f.centralWidget()->rect().contains(notice->geometry()));

    QTest::keyClicks(f.Edit1, "1600");
    EXPECT_EQ(notice->text(), "超出精度表来源范围\n表格数据为参考值");
    EXPECT_TRUE(notice->toolTip().contains("中心距 1600 mm 在精度表 7ji（7 级精度公差与标准侧隙）的来源所覆盖的范围（至 1250 mm）以外"))
        << notice->toolTip().toStdString();
    QTest::keyClicks(f.Edit3, "60");
    f.SpeedButton2->click();
    EXPECT_TRUE(f.ToolButton11->isEnabled()) << "the calculation still runs";
    EXPECT_FALSE(f.Design.GradeTolerance3.isEmpty());
}

TEST(RulesNotice, NoneOnceEveryTableHasTheUsersSourceAndTheAboutWindowNamesThem)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    QTemporaryDir sets;
    const QString own = sets.filePath("own.wrx");
    makeRulesCopy(own, {"UPDATE rules_sources SET reference_values = 0, source = '本厂标准 Q/XX 9', covers_upto = NULL"});
    fx.dialogs.files = {own};
    f.N16Click();
    QTest::keyClicks(f.Edit1, "1600");
    EXPECT_FALSE(rules::rulesNotice(f)->isVisible());

    bool inspected = false;
    QTimer::singleShot(0, [&] {
        const QString text = f.Form6->Memo1->toPlainText();
        EXPECT_TRUE(text.contains("八、计算法则数据库\n计算法则数据库：" + QDir::toNativeSeparators(fx.path("db1.mdb"))));
        EXPECT_TRUE(text.contains("7ji（7 级精度公差与标准侧隙），16 行"));
        EXPECT_TRUE(text.contains("来源：本厂标准 Q/XX 9"));
        inspected = true;
        f.Form6->accept();
    });
    f.N26->trigger();
    EXPECT_TRUE(inspected);
}
