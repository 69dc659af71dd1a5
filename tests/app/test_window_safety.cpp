// The window's guards against losing a design or sending numbers that do not
// belong together, and its conveniences, walked at the real window offscreen.
#include "common/gui_fixture.h"

#include "app/conveniences.h"
#include "app/design_state.h"
#include "app/translations.h"
#include "documents/design_rules.h"
#include "support/manual_viewer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace tpworm;
using tpworm::testing::ProgramFixture;

namespace {

const QString kSaveQuestion = QStringLiteral("数据尚未保存，是否保存？");

void calculate(TForm1& f, const char* a = "250", const char* z2 = "45", const char* z1 = "1")
{
    f.Edit1->setText(a);
    f.Edit3->setText(z2);
    f.Edit4->setText(z1);
    f.SpeedButton2->click();
}

QList<bool> saveAndExportEnabled(const TForm1& f)
{
    return {f.ToolButton11->isEnabled(), f.ToolButton5->isEnabled(), f.ToolButton1->isEnabled(),
            f.ToolButton4->isEnabled(),  f.N5->isEnabled(),          f.N3->isEnabled(),
            f.N14->isEnabled(),          f.N4->isEnabled()};
}

const QList<bool> kAllOn(8, true);
const QList<bool> kAllOff(8, false);

QString saveDesign(ProgramFixture& fx, TForm1& f, const QString& name)
{
    fx.dialogs.files << fx.path(name);
    f.N5->trigger();
    return fx.path(name + ".wpx");
}

} // namespace

// While the recommended parameters are open, nothing can be saved or exported,
// and a note stands where the results were; "确定" (or Enter in a field)
// calculates and gives the commands back.
TEST(WindowSafety, EditingKeepsSaveAndExportDisabledUntilConfirmed)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculate(f);
    ASSERT_EQ(saveAndExportEnabled(f), kAllOn);
    EXPECT_TRUE(f.Tracker->note()->isHidden());
    f.SpeedButton3->click();
    EXPECT_EQ(saveAndExportEnabled(f), kAllOff);
    EXPECT_FALSE(f.Tracker->note()->isHidden());
    EXPECT_EQ(f.Tracker->note()->text(), kResultsOutOfDate);
    EXPECT_FALSE(f.Tracker->resultsCurrent());
    f.Edit5->setText("160");
    QTest::keyClick(f.Edit5, Qt::Key_Return);
    EXPECT_FALSE(f.SpeedButton4->isEnabled()) << "Enter confirmed";
    EXPECT_EQ(saveAndExportEnabled(f), kAllOn);
    EXPECT_TRUE(f.Tracker->note()->isHidden());
    EXPECT_TRUE(f.Tracker->resultsCurrent());
    EXPECT_TRUE(f.Label12->text().startsWith("160")) << f.Label12->text().toStdString();
}

// Closing while editing with Yes calculates the edited values first and saves
// them; a design whose edited values do not calculate is kept open.
TEST(WindowSafety, ClosingWhileEditingCalculatesBeforeItSaves)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculate(f);
    const QString saved = saveDesign(fx, f, "kept");
    ASSERT_TRUE(f.Design.DesignSaved);
    f.SpeedButton3->click();
    f.Edit5->setText("x");
    fx.dialogs.messages.clear();
    fx.dialogs.answers << Answer::Yes;
    f.ToolButton13->click();
    EXPECT_EQ(fx.dialogs.messageTexts().value(0), kSaveQuestion) << "edited values count as unsaved";
    EXPECT_TRUE(f.isVisible()) << "the edited values did not calculate";
    EXPECT_TRUE(QFile::exists(saved));
}

// A grade the user picks recalculates; a grade the program selects does not.
TEST(WindowSafety, AGradeThePickedRecalculatesAndTheRecordFollows)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculate(f);
    const QString thickness7 = f.Label16->text();
    f.ComboBox1->setCurrentIndex(2);
    emit f.ComboBox1->activated(2);
    EXPECT_EQ(f.Edit9->text(), "8j(GB/T16445-1996)");
    EXPECT_TRUE(f.Tracker->resultsCurrent());
    EXPECT_NE(f.Label16->text(), thickness7);

    // The same design typed at grade 8 gives the same results.
    ProgramFixture other;
    TForm1& g = other.start();
    g.ComboBox1->setCurrentIndex(2);
    g.ComboBox1Change();
    calculate(g);
    EXPECT_EQ(f.Label16->text(), g.Label16->text());
    EXPECT_EQ(f.Design.Backlash, g.Design.Backlash);
}

// The design file records the coefficients in force below the inputs;
// opening under other rules says so and calculates with the rules in force.
TEST(WindowSafety, TheDesignFileRecordsItsRulesAndOpeningSaysWhenTheyDiffer)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculate(f);
    const auto inForce = f.Design.RuleCoefficients;
    const QString file = saveDesign(fx, f, "ruled");
    ASSERT_TRUE(QFile::exists(file));
    const documents::RuleRecord record = documents::readRuleRecord([&f, &file](int c, int r) {
        f.Workbook1.SetFileName(file);
        f.Workbook1.Load();
        return f.Workbook1.GetCellText(c, r);
    });
    ASSERT_EQ(record.state, documents::RuleRecord::State::Readable);
    EXPECT_EQ(record.coefficients, inForce);

    // An independent reader sees the old layout untouched and the record as text.
    QProcess xlrd;
    xlrd.start("/usr/bin/python3",
               {"-c",
                "import sys, xlrd\n"
                "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                "for r in list(range(14)) + list(range(15, 32)):\n"
                "    c = s.cell(r, 0)\n"
                "    print(r + 1, c.ctype, c.value, s.cell(r, 1).value, sep='\\t')\n",
                file});
    ASSERT_TRUE(xlrd.waitForFinished(20000));
    const QStringList lines = QString::fromUtf8(xlrd.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 31) << xlrd.readAllStandardError().toStdString();
    const QStringList a1 = lines[0].split('\t');
    EXPECT_EQ(a1.value(2), "250");
    EXPECT_EQ(a1.value(3), "中心距 a") << "the template's captions stay";
    const QStringList a16 = lines[14].split('\t');
    EXPECT_EQ(a16.value(1), "1") << "a text cell";
    EXPECT_EQ(a16.value(2), documents::coefficientText(inForce[0]));

    // Opened under the same rules: no word. Under other rules: the message.
    {
        ProgramFixture same;
        TForm1& g = same.start({file});
        EXPECT_TRUE(same.dialogs.messages.isEmpty()) << same.dialogs.messageTexts().join('\n').toStdString();
        EXPECT_TRUE(g.Tracker->resultsCurrent());
    }
    ProgramFixture differs;
    auto changed = inForce;
    changed[1] += 0.1;
    differs.context.coefficientOverride = changed;
    TForm1& h = differs.start({file});
    ASSERT_EQ(differs.dialogs.messages.size(), 1);
    EXPECT_TRUE(differs.dialogs.messages[0].text.contains(QStringLiteral("N[1]：文件中 %1，当前 %2")
                                                              .arg(documents::coefficientText(inForce[1]),
                                                                   documents::coefficientText(changed[1]))))
        << differs.dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(h.Tracker->resultsCurrent()) << "the design opens and calculates with the rules in force";
    EXPECT_TRUE(h.Design.DesignSaved);
}

TEST(WindowSafety, RuleRecordReadsOldFilesAndDamagedRecords)
{
    const auto reader = [](QMap<int, QString> cells) {
        return [cells](int, int row) { return cells.value(row); };
    };
    EXPECT_EQ(documents::readRuleRecord(reader({})).state, documents::RuleRecord::State::Absent);
    QMap<int, QString> record;
    for (int i = 0; i < 16; ++i)
        record.insert(15 + i, QString::number(i) + ",5"); // a number cell written back with a comma
    const documents::RuleRecord comma = documents::readRuleRecord(reader(record));
    EXPECT_EQ(comma.state, documents::RuleRecord::State::Readable);
    EXPECT_EQ(comma.coefficients[3], 3.5);
    record[20] = "abc";
    EXPECT_EQ(documents::readRuleRecord(reader(record)).state, documents::RuleRecord::State::Unreadable);
    documents::Coefficients c{};
    c[0] = 0.65;
    EXPECT_EQ(documents::coefficientText(0.65), "0.65");
    const QList<documents::CellText> cells = documents::ruleRecordCells(c, QString());
    ASSERT_EQ(cells.size(), 17);
    EXPECT_EQ(cells.first(), (documents::CellText{0, 15, "0.65"}));
    EXPECT_EQ(cells.last(), (documents::CellText{0, 31, ""}));
}

// "打开" asks about the unsaved design first; Cancel shows no file dialog.
TEST(WindowSafety, OpenAsksFirstAndCancelKeepsTheDesign)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculate(f);
    fx.dialogs.answers << Answer::Cancel;
    f.N11->trigger();
    EXPECT_EQ(fx.dialogs.messageTexts(), QStringList{kSaveQuestion});
    EXPECT_TRUE(fx.dialogs.fileDialogs.isEmpty());
    EXPECT_TRUE(f.Tracker->resultsCurrent());
}

TEST(WindowSafety, ShortcutsAndUnitTooltips)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    EXPECT_EQ(f.N11->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(f.N5->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(f.ToolButton13->shortcut(), QKeySequence(QKeySequence::Close));
    EXPECT_EQ(f.SpeedButton2->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(f.N11->text(), "打开") << "captions stay";
    EXPECT_EQ(f.SpeedButton2->toolTip(), "计算") << "hints stay";

    EXPECT_EQ(f.SpeedButton4->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Return));
    EXPECT_EQ(f.N6->shortcut(), QKeySequence(QKeySequence::Quit));

    // Every input field and every result label names its unit.
    for (QLineEdit* e : f.findChildren<QLineEdit*>())
        if (e->objectName().startsWith("Edit"))
            EXPECT_FALSE(e->toolTip().isEmpty()) << e->objectName().toStdString();
    for (QGroupBox* g : {f.GroupBox1, f.GroupBox2, f.GroupBox3, f.GroupBox4, f.GroupBox6})
        for (QLabel* l : g->findChildren<QLabel*>()) {
            const QString tip = l->toolTip();
            EXPECT_TRUE(tip.contains("mm") || tip.contains("°") || tip.contains("无单位") || tip.contains("齿"))
                << l->objectName().toStdString();
        }
    EXPECT_TRUE(f.Label13->toolTip().contains("°"));
    EXPECT_TRUE(f.Label16->toolTip().contains("mm"));
}

// The menu exports show a busy cursor while their server starts, and give it
// back however they end.
TEST(WindowSafety, MenuExportShowsABusyCursorWhileTheServerStarts)
{
    qputenv("TPWORM_SOFFICE", "/nonexistent/soffice.bin");
    ProgramFixture fx;
    TForm1& f = fx.start();
    calculate(f);
    fx.dialogs.messages.clear();
    Qt::CursorShape shape = Qt::ArrowCursor;
    bool overridden = false;
    fx.dialogs.onMessage = [&](const MessageBox&) {
        overridden = QApplication::overrideCursor() != nullptr;
        if (overridden)
            shape = QApplication::overrideCursor()->shape();
    };
    f.N3->trigger();
    qunsetenv("TPWORM_SOFFICE");
    ASSERT_EQ(fx.dialogs.messages.size(), 1);
    EXPECT_TRUE(overridden);
    EXPECT_EQ(shape, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(WindowSafety, FileDialogsStartInTheFolderLastChosen)
{
    FolderMemory memory;
    FileDialog design{"SaveDialog2", FileDialog::Kind::Save, "*.wpx|*.wpx", "200-40"};
    FileDialog rules{"OpenDialog2", FileDialog::Kind::Open, "*.wrx|*.wrx", ""};
    EXPECT_EQ(memory.startPath(design), "200-40");
    memory.remember(design, "/tmp/designs/a.wpx");
    EXPECT_EQ(memory.startPath(design), "/tmp/designs/200-40");
    FileDialog open{"OpenDialog1", FileDialog::Kind::Open, "*.wpx|*.wpx", ""};
    EXPECT_EQ(memory.startPath(open), "/tmp/designs") << "design files share their folder";
    EXPECT_EQ(memory.startPath(rules), "") << "rule sets have their own";
    design.fileName = "/elsewhere/x";
    EXPECT_EQ(memory.startPath(design), "/elsewhere/x");

    // Qt's dialog itself starts there.
    QTemporaryDir dir;
    QtDialogs dialogs;
    FileDialog save{"SaveDialog1", FileDialog::Kind::Save, ".xls", "wogan.xls"};
    QString shownFolder;
    auto answer = [&](const QString& name) {
        QTimer::singleShot(200, [&, name] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            shownFolder = d->directory().absolutePath();
            d->setDirectory(dir.path());
            if (auto* edit = d->findChild<QLineEdit*>("fileNameEdit"))
                edit->setText(name);
            QMetaObject::invokeMethod(d, "accept");
        });
    };
    answer("first.xls");
    EXPECT_EQ(dialogs.chooseFile(nullptr, save), QDir(dir.path()).filePath("first.xls"));
    answer("second.xls");
    dialogs.chooseFile(nullptr, save);
    EXPECT_EQ(shownFolder, QDir(dir.path()).absolutePath());
}

TEST(WindowSafety, QtSpeaksChinese)
{
    ASSERT_TRUE(installQtTranslations(*QCoreApplication::instance(), QString()));
    QMessageBox box(QMessageBox::Warning, "", kSaveQuestion, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().contains("取消")) << box.button(QMessageBox::Cancel)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().contains("是")) << box.button(QMessageBox::Yes)->text().toStdString();
}

// The real desktop believes the opener's exit status, not its start: a desktop
// without an application for the document fails, so the program's own viewer
// takes over.
TEST(WindowSafety, SystemDesktopBelievesTheOpenersExitStatus)
{
    QTemporaryDir dir;
    const QString document = dir.filePath("a.pdf");
    QFile(document).open(QIODevice::WriteOnly);
    auto script = [&](const char* name, const char* body) {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray("#!/bin/sh\n") + body + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };
    EXPECT_TRUE(SystemDesktop(script("found", "exit 0"), 3000).openDocument(document));
    EXPECT_FALSE(SystemDesktop(script("none", "exit 3"), 3000).openDocument(document));
    EXPECT_TRUE(SystemDesktop(script("foreground", "sleep 2"), 300).openDocument(document))
        << "a viewer in the opener's foreground is showing the document";
    EXPECT_FALSE(SystemDesktop(dir.filePath("missing-opener"), 3000).openDocument(document));
    EXPECT_FALSE(SystemDesktop(script("found2", "exit 0"), 3000).openDocument(dir.filePath("gone.pdf")));
}

// A document neither the desktop nor the own viewer can show is reported.
TEST(WindowSafety, ADamagedManualWithoutAViewerIsReported)
{
    ProgramFixture fx;
    fx.desktop.documentsOpen = false;
    QFile file(fx.path("canshu.pdf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("not a PDF document");
    file.close();
    TForm1& f = fx.start();
    f.N20->trigger();
    EXPECT_EQ(fx.dialogs.messageTexts(), QStringList{"未安装PDF阅读器(Adobe Reader)或者技术资料丢失...."});
    EXPECT_TRUE(f.findChildren<ManualViewer*>().isEmpty());
}

// Without a browser the help page opens in the program's own viewer.
TEST(WindowSafety, HelpOpensInTheOwnViewerWithoutABrowser)
{
    ProgramFixture fx;
    fx.desktop.documentsOpen = false;
    TForm1& f = fx.start();
    f.N2->trigger();
    const QList<ManualViewer*> viewers = f.findChildren<ManualViewer*>();
    ASSERT_EQ(viewers.size(), 1);
    EXPECT_EQ(viewers.first()->documentPath(), fx.path("help.htm"));
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
}
