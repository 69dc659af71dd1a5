// The three "文件" menu exports driven through the real main window, with
// LibreOffice behind "Excel.Application" and without it. The written workbooks
// are read back with xlrd.
#include "common/gui_fixture.h"
#include "core/cell_address.h"
#include "documents/automation.h"
#include "documents/automation_cells.h"
#include "documents/tform2.h"
#include "lo_support.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

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
    const char* templateName;
    const char* proposedName;
    QList<documents::AutomationCell> (*cells)(const DesignRecord&, const documents::MenuFieldTexts&);
};

const MenuExport kExports[] = {
    {"worm", &TForm1::N3, "1.xls", "wogan", &documents::menuWormCells},
    {"wheel", &TForm1::N14, "1111.xls", "wolun", &documents::menuWheelCells},
    {"hob", &TForm1::N4, "11.xls", "gundao", &documents::menuHobCells},
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
        EXPECT_EQ(scratch.servers(), QStringList()) << "a spreadsheet process was left behind";
        EXPECT_EQ(scratch.leftovers(), QStringList()) << "a server profile was left behind";
    }

    // A design calculated as the user does it: the drive data typed, then
    // the calculate command.
    void calculate()
    {
        for (auto [field, text] : {std::pair{form->Edit1, "250"}, {form->Edit4, "2"}, {form->Edit3, "45"}}) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QTest::keyClicks(field, text);
        }
        QTest::mouseClick(form->SpeedButton2, Qt::LeftButton);
        ASSERT_EQ(program->dialogs.messageTexts(), QStringList()) << "the example design did not calculate";
        for (const MenuExport& e : kExports)
            ASSERT_TRUE((form->*e.item)->isEnabled()) << e.name;
    }

    documents::MenuFieldTexts fields() const
    {
        return {form->Edit1->text(),  form->Edit3->text(),  form->Edit4->text(),  form->Edit9->text(),
                form->Edit10->text(), form->Edit11->text(), form->Edit12->text(), form->Edit13->text()};
    }

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
        EXPECT_EQ(scratch.servers(), QStringList());
        ASSERT_TRUE(QFileInfo::exists(target));

        Sheet expected = readSheet(program->path(e.templateName));
        for (const documents::AutomationCell& c : e.cells(form->Design, fields())) {
            if (c.text.isEmpty())
                expected.erase(cellName(c));
            else
                expected[cellName(c)] = {"text", c.text};
        }
        const Sheet written = readSheet(target);
        EXPECT_EQ(written, expected);
        // Against what the window shows and the fixed hand.
        EXPECT_EQ(written.at("C2").second, form->Edit4->text());
        EXPECT_EQ(written.at("C4"), (std::pair<QString, QString>{"text", shown(form->Label25)}));
        EXPECT_EQ(written.at("B10").second, "右");
    }
    EXPECT_EQ(readSheet(scratch.path("hob table")).at("B11").second, form->Edit10->text());
    EXPECT_EQ(readSheet(scratch.path("wheel table")).count("C16"), 0u);
    EXPECT_EQ(readSheet(scratch.path("wheel table")).at("C17").second, form->Edit5->text());
}

TEST_F(MenuExports, CancelWritesNothingAndStillEndsTheServer)
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
}

TEST_F(MenuExports, FailuresMidwayShowTheMessageAndEndTheServer)
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
    EXPECT_EQ(scratch.servers(), QStringList()) << "the server was not ended after the failure";

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
    EXPECT_EQ(scratch.servers(), QStringList()) << "the server was not ended after the failure";
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "earlier table");
    EXPECT_TRUE(form->Form2->isVisible());
    QTest::mouseClick(form->Form2->Button1, Qt::LeftButton);
    EXPECT_FALSE(form->Form2->isVisible());
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
