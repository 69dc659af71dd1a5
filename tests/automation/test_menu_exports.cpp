// The three "文件" menu exports driven through the real main window, with
// LibreOffice behind "Excel.Application" and without it. The written workbooks
// are read back with xlrd.
#include "common/gui_fixture.h"
#include "core/cell_address.h"
#include "documents/automation.h"
#include "documents/automation_cells.h"
#include "documents/form_fields.h"
#include "documents/tform2.h"
#include "lo_support.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <memory>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

const QString ExportFailed = QStringLiteral("导出文件错误,或者您还没安装EXCEL,请核实后重试.........");

// Counts the showings of a window.
class ShowCounter final : public QObject {
public:
    explicit ShowCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            ++shown;
        return false;
    }
    int shown = 0;
};

struct MenuExport {
    const char* name;
    QAction* TForm1::*item;
    QToolButton* TForm1::*toolButton; // the tool-bar export of the same table
    const char* templateName;
    const char* proposedName;
    documents::ParameterTable table;
};

const MenuExport kExports[] = {
    {"worm", &TForm1::N3, &TForm1::ToolButton5, "1.xls", "wogan", documents::ParameterTable::Worm},
    {"wheel", &TForm1::N14, &TForm1::ToolButton1, "1111.xls", "wolun", documents::ParameterTable::Wheel},
    {"hob", &TForm1::N4, &TForm1::ToolButton4, "11.xls", "gundao", documents::ParameterTable::Hob},
};

QString cellName(const documents::AutomationCell& c)
{
    return tpworm::CellAddress{c.column - 1, c.row - 1}.name();
}

// The value part of a result label, before its run of hyphens.
QString shown(const QLabel* label)
{
    const QString caption = label->text();
    return caption.left(caption.indexOf(QStringLiteral("--")));
}

class MenuExports : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = std::make_unique<ProgramFixture>();
        // The shipped templates where the build has them, else one of ours.
        for (const MenuExport& e : kExports)
            if (!QFileInfo::exists(program->path(e.templateName)))
                makeTemplate(program->path(e.templateName));
        form = &program->start();
        program->dialogs.messages.clear();
    }
    void TearDown() override
    {
        // The program closes: its server goes with it.
        program.reset();
        EXPECT_EQ(scratch.serversAfter(2000), QStringList()) << "a spreadsheet process was left behind";
        EXPECT_EQ(scratch.leftovers(), QStringList()) << "temporary files were left behind";
    }

    // The one server of the run, a child of this program; 0 (and a failure)
    // when there is none or more than one.
    qint64 theServer() const
    {
        const QList<qint64> pids = scratch.serverPids();
        EXPECT_EQ(pids.size(), 1) << scratch.servers().join("\n").toStdString();
        if (pids.size() != 1)
            return 0;
        EXPECT_EQ(parentOf(pids[0]), QCoreApplication::applicationPid());
        return pids[0];
    }

    // A design calculated as the user does it: the drive data typed, then
    // the calculate command.
    void calculate(const QString& centreDistance = "250", const QString& starts = "2", const QString& teeth = "45")
    {
        for (auto [field, text] : {std::pair{form->Edit1, centreDistance}, {form->Edit4, starts}, {form->Edit3, teeth}}) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QTest::keyClicks(field, text);
        }
        QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
        ASSERT_EQ(program->dialogs.messageTexts(), QStringList()) << "the example design did not calculate";
        for (const MenuExport& e : kExports)
            ASSERT_TRUE((form->*e.item)->isEnabled()) << e.name;
    }

    documents::FieldTexts fields() const { return documents::readFieldTexts(*form); }

    QStringList messages() const { return program->dialogs.messageTexts(); }

    Scratch scratch; // first, so that the program's folder and the profiles lie in it
    std::unique_ptr<ProgramFixture> program;
    TForm1* form = nullptr;
};

TEST_F(MenuExports, EachWritesItsTableAsTextOverTheTemplate)
{
    if (!automation::hasLibreOfficeBackend())
        GTEST_SKIP() << "built without the LibreOffice backend";
    calculate();
    for (const MenuExport& e : kExports) {
        SCOPED_TRACE(e.name);
        const QString target = scratch.path(QStringLiteral("%1 table").arg(e.name)); // no extension
        program->dialogs.files = {target};
        program->dialogs.fileDialogs.clear();
        (form->*e.item)->trigger();

        EXPECT_EQ(messages(), QStringList());
        ASSERT_EQ(program->dialogs.fileDialogs.size(), 1);
        EXPECT_EQ(program->dialogs.fileDialogs[0].name, "SaveDialog1");
        EXPECT_EQ(program->dialogs.fileDialogs[0].fileName, e.proposedName);
        EXPECT_NE(form->Design.AutomationApp, nullptr);
        EXPECT_FALSE(form->Form2->isVisible());
        EXPECT_NE(theServer(), 0) << "the server is kept for the next export";
        ASSERT_TRUE(QFileInfo::exists(target));

        Sheet expected = readSheet(program->path(e.templateName));
        for (const documents::AutomationCell& c : documents::automationCells(e.table, form->Design, fields())) {
            if (c.text.isEmpty())
                expected.erase(cellName(c));
            else
                expected[cellName(c)] = {"text", c.text};
        }
        const Sheet written = readSheet(target);
        EXPECT_EQ(written, expected);
        // Against what the window shows: the hand as the hand field says it.
        EXPECT_EQ(written.at("C2").second, form->Edit4->text());
        EXPECT_EQ(written.at("C4"), (std::pair<QString, QString>{"text", shown(form->Label25)}));
        EXPECT_EQ(written.at("B10").second, form->Edit10->text());
    }
    // The values that the earlier menu map put one row off.
    EXPECT_EQ(readSheet(scratch.path("worm table")).at("C20").second, form->Edit13->text());
    EXPECT_EQ(readSheet(scratch.path("wheel table")).at("C16").second, form->Edit1->text());
    EXPECT_EQ(readSheet(scratch.path("wheel table")).at("C17").second, form->Design.GradeTolerance9)
        << "the main base circle is no Fp2";
}

// The menu export and the tool-bar export of the same design hold the same
// text in every cell, read back by xlrd. TPWORM_MENU_DESIGNS widens the set
// of designs beyond the few ctest runs (LibreOffice starts once per design:
// each gets a fresh program).
TEST_F(MenuExports, MenuAndToolBarWriteTheSameTable)
{
    if (!automation::hasLibreOfficeBackend())
        GTEST_SKIP() << "built without the LibreOffice backend";
    struct Drive { QString a, z1, z2; };
    QList<Drive> drives = {{"250", "2", "45"}, {"160", "1", "40"}};
    const int wanted = qEnvironmentVariableIntValue("TPWORM_MENU_DESIGNS");
    // Centre distances of the usual series with ratios that make whole teeth.
    const char* distances[] = {"100", "125", "160", "200", "250", "280", "315", "355", "400", "450", "500"};
    const int starts[] = {1, 2, 3, 4};
    const int teeth[] = {30, 36, 40, 45, 50};
    for (int i = 0; drives.size() < wanted; ++i)
        drives.append({distances[i % 11], QString::number(starts[(i / 11) % 4]), QString::number(teeth[(i / 3) % 5])});
    int compared = 0;
    for (const Drive& drive : drives) {
        SCOPED_TRACE(QStringLiteral("%1/%2/%3").arg(drive.a, drive.z1, drive.z2).toStdString());
        program->dialogs.messages.clear();
        calculate(drive.a, drive.z1, drive.z2);
        if (HasFatalFailure())
            return;
        for (const MenuExport& e : kExports) {
            SCOPED_TRACE(e.name);
            const QString menuFile = scratch.path(QStringLiteral("menu %1").arg(e.name));
            const QString toolBarFile = scratch.path(QStringLiteral("tool %1.xls").arg(e.name));
            program->dialogs.files = {menuFile};
            (form->*e.item)->trigger();
            program->dialogs.files = {toolBarFile};
            QTest::mouseClick(form->*e.toolButton, Qt::LeftButton);
            ASSERT_EQ(messages(), QStringList());
            EXPECT_EQ(readSheet(menuFile), readSheet(toolBarFile));
            ++compared;
        }
        // The next drive in a fresh program: the calculate command locks the drive data.
        SetUp();
    }
    EXPECT_EQ(compared, 3 * drives.size());
}

TEST_F(MenuExports, CancelWritesNothingAndLeavesTheServerEmpty)
{
    if (!automation::hasLibreOfficeBackend())
        GTEST_SKIP() << "built without the LibreOffice backend";
    calculate();
    const QStringList before = QDir(scratch.dir.path()).entryList(QDir::Files);
    ShowCounter progress(form->Form2);
    program->dialogs.files = {std::nullopt};
    form->N14->trigger();
    EXPECT_EQ(program->dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(progress.shown, 0);
    EXPECT_EQ(QDir(scratch.dir.path()).entryList(QDir::Files), before);
    // The cancelled workbook is closed: the next export opens its own.
    const QString target = scratch.path("after cancel");
    program->dialogs.files = {target};
    form->N14->trigger();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(readSheet(target).at("C16").second, form->Edit1->text());
    theServer();
}

TEST_F(MenuExports, FailuresMidwayShowTheMessageAndLeaveTheServerForTheNextExport)
{
    if (!automation::hasLibreOfficeBackend())
        GTEST_SKIP() << "built without the LibreOffice backend";
    calculate();

    // The template is missing: the message comes before any dialog.
    QFile::remove(program->path("11.xls"));
    form->N4->trigger();
    EXPECT_EQ(messages(), QStringList{ExportFailed});
    EXPECT_EQ(program->dialogs.fileDialogs.size(), 0);
    EXPECT_NE(form->Design.AutomationApp, nullptr) << "the object is kept until the next export";
    const qint64 server = theServer();

    // The chosen file is write-protected: it keeps its content, the progress
    // window stays until "取  消".
    const QString target = scratch.path("protected.xls");
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier table");
    }
    QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    program->dialogs.messages.clear();
    program->dialogs.files = {target};
    form->N3->trigger();
    EXPECT_EQ(messages(), QStringList{ExportFailed});
    EXPECT_EQ(theServer(), server);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "earlier table");
    EXPECT_EQ(QFileInfo(target).permissions() & 0x7077, QFile::Permissions(0x4044)) << "still read-only";
    EXPECT_TRUE(form->Form2->isVisible());
    QTest::mouseClick(form->Form2->Button1, Qt::LeftButton);
    EXPECT_FALSE(form->Form2->isVisible());

    // The failures left nothing open in the server: the next export goes through on it.
    program->dialogs.messages.clear();
    program->dialogs.files = {scratch.path("after failures")};
    form->N3->trigger();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(readSheet(scratch.path("after failures")).at("C2").second, form->Edit4->text());
    EXPECT_EQ(theServer(), server);
}

// Twenty exports of one run are served by one server, started by the first.
TEST_F(MenuExports, TwentyExportsOfARunShareOneServer)
{
    if (!automation::hasLibreOfficeBackend())
        GTEST_SKIP() << "built without the LibreOffice backend";
    calculate();
    EXPECT_EQ(scratch.servers(), QStringList()) << "no server before the first export";
    qint64 server = 0;
    for (int k = 0; k < 20; ++k) {
        SCOPED_TRACE(k);
        const MenuExport& e = kExports[k % 3];
        const QString target = scratch.path(QStringLiteral("table %1").arg(k));
        program->dialogs.files = {target};
        (form->*e.item)->trigger();
        ASSERT_EQ(messages(), QStringList());
        const qint64 now = theServer();
        if (k == 0)
            server = now;
        EXPECT_EQ(now, server);
        ASSERT_TRUE(QFileInfo::exists(target));
    }
    EXPECT_EQ(readSheet(scratch.path("table 19")).at("C2").second, form->Edit4->text());
}

// Opening the "文件" menu with the exports enabled starts the server, and the
// export picked from it uses that one; with the exports disabled nothing starts.
TEST_F(MenuExports, OpeningTheFileMenuStartsTheServerTheExportThenUses)
{
    if (!automation::hasLibreOfficeBackend())
        GTEST_SKIP() << "built without the LibreOffice backend";
    // A profile made beforehand, as every run after the program's first
    // finds it (on a new profile LibreOffice restarts itself once).
    automation::platformRegistry().create("Excel.Application").reset();
    ASSERT_FALSE(form->N3->isEnabled());
    emit form->N1->aboutToShow();
    EXPECT_EQ(scratch.servers(), QStringList()) << "started with nothing to export";
    calculate();
    emit form->N1->aboutToShow();
    const qint64 early = theServer();
    ASSERT_NE(early, 0);
    emit form->N1->aboutToShow(); // once more: still the one server
    EXPECT_EQ(theServer(), early);
    const QString target = scratch.path("after the menu opened");
    program->dialogs.files = {target};
    form->N3->trigger();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(theServer(), early);
    EXPECT_EQ(readSheet(target).at("C2").second, form->Edit4->text());
}

// A server killed from outside between two exports is seen at the next one,
// which starts a new server and goes through.
TEST_F(MenuExports, AServerKilledFromOutsideIsReplacedAtTheNextExport)
{
    if (!automation::hasLibreOfficeBackend())
        GTEST_SKIP() << "built without the LibreOffice backend";
    calculate();
    program->dialogs.files = {scratch.path("first")};
    form->N3->trigger();
    const qint64 killed = theServer();
    ASSERT_NE(killed, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(killed), SIGKILL), 0);
    EXPECT_EQ(scratch.serversAfter(2000), QStringList());

    const QString target = scratch.path("second");
    program->dialogs.files = {target};
    form->N4->trigger();
    EXPECT_EQ(messages(), QStringList());
    const qint64 replacement = theServer();
    EXPECT_NE(replacement, killed);
    EXPECT_EQ(readSheet(target).at("C2").second, form->Edit4->text());
}

TEST_F(MenuExports, WithoutASpreadsheetApplicationTheMessageComesAtOnce)
{
    ScopedEnv hidden("TPWORM_SOFFICE", "/nonexistent/program/soffice.bin");
    calculate();
    const QStringList before = QDir(scratch.dir.path()).entryList(QDir::Files);
    for (const MenuExport& e : kExports) {
        SCOPED_TRACE(e.name);
        program->dialogs.messages.clear();
        program->dialogs.files = {scratch.path(e.proposedName)};
        (form->*e.item)->trigger();
        EXPECT_EQ(messages(), QStringList{ExportFailed});
    }
    EXPECT_EQ(program->dialogs.fileDialogs.size(), 0);
    EXPECT_EQ(QDir(scratch.dir.path()).entryList(QDir::Files), before);
}

} // namespace
