// Design files through the real window, offscreen: round trips of designs in
// the states that matter, the save dialog and its names, the save question of
// "关闭", the command line, and files the open command must refuse without
// touching the design on screen.
#include "common/gui_fixture.h"
#include "design_window.h"
#include "documents/cell_maps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QToolButton>

#include <unistd.h>

using namespace tpworm;
using tpworm::testing::DesignInput;
using tpworm::testing::ProgramFixture;

namespace {

const QString kOpenFailed = QStringLiteral("文件打开错误,或者您还没安装EXCEL.........");
const QString kSaveFailed = QStringLiteral("保存过程中发生错误,或者您还没安装EXCEL，保存失败........");
const QString kSaveQuestion = QStringLiteral("数据尚未保存，是否保存？");

// Saves the design of a window never opened from a file, choosing the name
// given; returns the file written (the name with ".wpx").
QString saveAs(ProgramFixture& fx, const QString& chosen)
{
    fx.dialogs.files << chosen;
    fx.form->N5Click();
    return chosen + QStringLiteral(".wpx");
}

void openFromDialog(ProgramFixture& fx, const QString& path)
{
    fx.dialogs.files << path;
    fx.form->N11Click();
}

// A path no save can write to, not even one run by root.
QString unwritablePath(const QTemporaryDir& dir, const QString& name)
{
    if (geteuid() == 0)
        return QStringLiteral("/proc/") + name;
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    return QDir(locked).filePath(name);
}

QString gradeText(int grade, bool standard)
{
    return QString::number(grade) + (standard ? QStringLiteral("j(GB/T16445-1996)") : QStringLiteral("级(GB/T16445-1996)"));
}

// A design file written directly from cell texts (the template with A1...A14).
QString writeDesignFile(const ProgramFixture& fx, const QString& name, const QStringList& a1ToA14)
{
    QMap<QString, QString> cells;
    for (int i = 0; i < a1ToA14.size(); ++i)
        cells.insert(documents::cellName(0, i), a1ToA14[i]);
    const QString path = fx.path(name);
    tpworm::testing::writeWorkbook(fx.path("111.xls"), path, cells);
    return path;
}

QStringList designCells(const QString& path)
{
    QStringList cells;
    for (int i = 0; i < documents::kDesignFileCells; ++i)
        cells << tpworm::testing::engineCellText(path, documents::cellName(0, i));
    return cells;
}

} // namespace

TEST(DesignFileRoundTrip, RestoresEveryFieldAndResultCaption)
{
    struct Case {
        const char* why;
        DesignInput input;
        std::function<void(TForm1&)> change; // after the calculate command
    };
    auto edit = [](std::function<QList<QPair<QLineEdit*, QString>>(TForm1&)> fields) {
        return [fields](TForm1& f) { tpworm::testing::editRecommended(f, fields(f)); };
    };
    auto plus = [](const QLineEdit* e, double delta) { return QString::number(e->text().toDouble() + delta); };
    const Case cases[] = {
        {"grade 7 with the standard backlash", {7, true, "250", "45", "1"}, {}},
        {"grade 6 with the standard backlash, two starts", {6, true, "160", "41", "2"}, {}},
        {"grade 8 with the standard backlash", {8, true, "400", "50", "1"}, {}},
        {"grade 8 without the standard backlash, backlash edited", {8, false, "315", "62", "1"},
         edit([](TForm1& f) { return QList<QPair<QLineEdit*, QString>>{{f.Edit8, "0.35"}}; })},
        {"grade 6 without the standard backlash", {6, false, "200", "40", "1"}, {}},
        {"whole-number box ticked", {7, true, "200", "40", "1"}, [](TForm1& f) { f.CheckBox1->setChecked(true); }},
        {"recommended parameters edited", {7, true, "250", "45", "1"},
         edit([plus](TForm1& f) {
             return QList<QPair<QLineEdit*, QString>>{{f.Edit5, plus(f.Edit5, 2.5)}, {f.Edit7, plus(f.Edit7, -1)},
                                                      {f.Edit6, "0.5"}, {f.Edit13, "0.25"}};
         })},
        {"relief texts with ' * ' and the hand edited", {7, true, "250", "45", "1"},
         edit([](TForm1& f) {
             return QList<QPair<QLineEdit*, QString>>{{f.Edit11, "0.45 * 30"}, {f.Edit12, "0.3 * 22"}, {f.Edit10, "左旋"}};
         })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ProgramFixture first;
        TForm1& f = first.start();
        tpworm::testing::calculateDesign(f, c.input);
        if (c.change)
            c.change(f);
        ASSERT_TRUE(tpworm::testing::resultsShown(f)) << first.dialogs.messageTexts().join('|').toStdString();
        const tpworm::testing::WindowState saved = tpworm::testing::windowState(f);
        const QString path = saveAs(first, first.path("design"));
        ASSERT_TRUE(QFile::exists(path)) << first.dialogs.messageTexts().join('|').toStdString();
        EXPECT_TRUE(f.Design.DesignSaved);
        EXPECT_TRUE(f.Design.DesignFileName.isEmpty()) << "saving never makes the file the current one";

        // The file holds the field texts exactly as shown.
        const QStringList cells = designCells(path);
        for (int i = 0; i < 13; ++i)
            EXPECT_EQ(cells[i], saved.value(QStringLiteral("Edit%1").arg(i + 1))) << "A" << i + 1;
        EXPECT_EQ(cells[13], f.CheckBox1->isChecked() ? "zhengshu" : "");

        ProgramFixture second;
        TForm1& g = second.start();
        openFromDialog(second, path);
        EXPECT_TRUE(second.dialogs.messages.isEmpty()) << second.dialogs.messageTexts().join('|').toStdString();
        EXPECT_EQ(tpworm::testing::differences(saved, tpworm::testing::windowState(g)).join('\n').toStdString(), "");
        EXPECT_TRUE(g.Design.DesignSaved);
        EXPECT_EQ(g.Design.DesignFileName, path);
        EXPECT_TRUE(g.Design.CommandLineConsumed);
    }
}

TEST(DesignFileSave, DialogProposesNameAndSuffixIsAlwaysAppended)
{
    struct Case { const char* chosen; const char* written; };
    for (const Case& c : {Case{"a", "a.wpx"}, Case{"a.wpx", "a.wpx.wpx"}, Case{"b.xls", "b.xls.wpx"}}) {
        ProgramFixture fx;
        TForm1& f = fx.start();
        tpworm::testing::calculateDesign(f, {7, true, "200", "40", "1"});
        ASSERT_TRUE(tpworm::testing::resultsShown(f));
        fx.dialogs.files << fx.path(c.chosen);
        f.ToolButton11->click();
        ASSERT_EQ(fx.dialogs.fileDialogs.size(), 1);
        const FileDialog& d = fx.dialogs.fileDialogs.first();
        EXPECT_EQ(d.name, "SaveDialog2");
        EXPECT_EQ(d.kind, FileDialog::Kind::Save);
        EXPECT_EQ(d.filter, "*.wpx|*.wpx");
        EXPECT_EQ(d.fileName, f.Edit1->text() + "-" + f.Edit2->text());
        EXPECT_EQ(d.fileName, "200-40");
        EXPECT_TRUE(QFile::exists(fx.path(c.written))) << c.written;
        EXPECT_EQ(QDir(fx.dir.path()).entryList({"*.wpx"}, QDir::Files).size(), 1) << "only " << c.written;
        EXPECT_TRUE(f.Design.DesignSaved);
        EXPECT_TRUE(fx.dialogs.messages.isEmpty());
    }
}

TEST(DesignFileSave, EverySaveOfANewDesignAsksForAName)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    tpworm::testing::calculateDesign(f, {});
    saveAs(fx, fx.path("one"));
    saveAs(fx, fx.path("two"));
    EXPECT_EQ(fx.dialogs.fileDialogs.size(), 2);
    EXPECT_TRUE(QFile::exists(fx.path("one.wpx")));
    EXPECT_TRUE(QFile::exists(fx.path("two.wpx")));
}

TEST(DesignFileSave, FailuresReportAndChangeNothing)
{
    struct Case {
        const char* why;
        bool removeTemplate;
        bool unwritable;
        bool cancel;
        const char* message; // empty: no message
    };
    const Case cases[] = {
        {"cancelled dialog", false, false, true, ""},
        {"template missing", true, false, false, "保存过程中发生错误,或者您还没安装EXCEL，保存失败........"},
        {"target not writable", false, true, false, "保存过程中发生错误,或者您还没安装EXCEL，保存失败........"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ProgramFixture fx;
        TForm1& f = fx.start();
        tpworm::testing::calculateDesign(f, {});
        ASSERT_TRUE(tpworm::testing::resultsShown(f));
        ASSERT_FALSE(f.Design.DesignSaved);
        if (c.removeTemplate)
            QFile::remove(fx.path("111.xls"));
        const QStringList before = QDir(fx.dir.path()).entryList(QDir::Files);
        if (!c.cancel)
            fx.dialogs.files << (c.unwritable ? unwritablePath(fx.dir, "design") : fx.path("design"));
        f.N5Click();
        EXPECT_EQ(fx.dialogs.messageTexts().join('|'), QString::fromUtf8(c.message));
        EXPECT_FALSE(f.Design.DesignSaved);
        EXPECT_EQ(QDir(fx.dir.path()).entryList(QDir::Files), before) << "nothing written, no temporary file left";
        // A template that is missing is found before the dialog is shown.
        EXPECT_EQ(fx.dialogs.fileDialogs.size(), c.removeTemplate ? 0 : 1);
        EXPECT_TRUE(f.isVisible()) << "the program goes on";
    }
}

TEST(DesignFileSave, AfterAnOpenWritesIntoTheFileAndKeepsItsOtherCells)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    tpworm::testing::calculateDesign(f, {});
    const QString saved = saveAs(fx, fx.path("design"));
    // Someone adds a note beside the design in a spreadsheet program.
    tpworm::testing::writeWorkbook(saved, saved, {{"B20", "备注：样机"}, {"C3", "42"}});

    ProgramFixture other;
    TForm1& g = other.start();
    openFromDialog(other, saved);
    ASSERT_TRUE(tpworm::testing::resultsShown(g));
    tpworm::testing::editRecommended(g, {{g.Edit10, "左旋"}});
    EXPECT_FALSE(g.Design.DesignSaved);
    const int dialogsBefore = other.dialogs.fileDialogs.size();
    g.ToolButton11->click();
    EXPECT_EQ(other.dialogs.fileDialogs.size(), dialogsBefore) << "no dialog for the opened file";
    EXPECT_TRUE(g.Design.DesignSaved);
    EXPECT_EQ(tpworm::testing::engineCellText(saved, "A10"), "左旋");
    EXPECT_EQ(tpworm::testing::engineCellText(saved, "B20"), "备注：样机");
    EXPECT_EQ(tpworm::testing::engineCellText(saved, "C3"), "42");
    EXPECT_EQ(QDir(fx.dir.path()).entryList({"*.wpx*"}, QDir::Files), QStringList{"design.wpx"});

    // The opened file gone: the save fails, nothing is created in its place.
    QFile::remove(saved);
    tpworm::testing::editRecommended(g, {{g.Edit10, "右旋"}});
    g.N5Click();
    EXPECT_EQ(other.dialogs.messageTexts().last(), kSaveFailed);
    EXPECT_FALSE(g.Design.DesignSaved);
    EXPECT_FALSE(QFile::exists(saved));
}

// "关闭" asks Yes / No / Cancel while the design is unsaved; only No or a save
// that wrote the file lets the program end. Cancel, a cancelled save dialog
// and a failed save keep the design on screen.
TEST(DesignFileClose, AsksToSaveOnlyAnUnsavedDesign)
{
    struct Case {
        const char* why;
        bool calculate;
        Answer answer;
        bool chooseFile;
        bool asked, written, closes;
    };
    const Case cases[] = {
        {"nothing calculated", false, Answer::No, false, false, false, true},
        {"unsaved, No", true, Answer::No, false, true, false, true},
        {"unsaved, Yes, a name chosen", true, Answer::Yes, true, true, true, true},
        {"unsaved, Yes, the dialog cancelled", true, Answer::Yes, false, true, false, false},
        {"unsaved, Cancel", true, Answer::Cancel, false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ProgramFixture fx;
        TForm1& f = fx.start();
        if (c.calculate)
            tpworm::testing::calculateDesign(f, {});
        fx.dialogs.answers << c.answer;
        if (c.chooseFile)
            fx.dialogs.files << fx.path("closing");
        f.ToolButton13->click();
        EXPECT_EQ(fx.dialogs.messageTexts().contains(kSaveQuestion), c.asked);
        if (c.asked) {
            EXPECT_EQ(fx.dialogs.messages.first().buttons, MessageBox::Buttons::YesNoCancel);
            EXPECT_EQ(fx.dialogs.messages.first().icon, MessageBox::Icon::Warning);
        }
        EXPECT_EQ(QFile::exists(fx.path("closing.wpx")), c.written);
        EXPECT_EQ(f.isVisible(), !c.closes);
        if (!c.closes)
            EXPECT_TRUE(tpworm::testing::resultsShown(f)) << "the design stays";
    }
}

TEST(DesignFileClose, AFailedSaveKeepsTheProgramOpen)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    tpworm::testing::calculateDesign(f, {});
    fx.dialogs.answers << Answer::Yes;
    fx.dialogs.files << fx.path("no such folder/closing");
    f.ToolButton13->click();
    EXPECT_EQ(fx.dialogs.messageTexts(), (QStringList{kSaveQuestion, kSaveFailed}));
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.Design.DesignSaved);
}

TEST(DesignFileClose, StillAsksAfterACancelledSave)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    tpworm::testing::calculateDesign(f, {});
    f.N5Click(); // cancelled: no file prepared
    EXPECT_FALSE(f.Design.DesignSaved);
    f.ToolButton13Click();
    EXPECT_EQ(fx.dialogs.messageTexts(), QStringList{kSaveQuestion});
}

TEST(DesignFileOpen, RefusedFilesLeaveTheDesignOnScreen)
{
    struct Case {
        const char* why;
        std::function<QString(ProgramFixture&)> make;
    };
    auto textFile = [](ProgramFixture& fx, const char* name, const QByteArray& bytes) {
        QFile file(fx.path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    auto design = [](const char* a9) {
        return [a9](ProgramFixture& fx) {
            return writeDesignFile(fx, "bad.wpx", {"315", "62", "62", "1", "200", "0", "90", "0.3", QString::fromUtf8(a9),
                                                   "右旋", "0", "0", "0", ""});
        };
    };
    const Case cases[] = {
        {"missing file", [](ProgramFixture& fx) { return fx.path("missing.wpx"); }},
        {"not a workbook", [textFile](ProgramFixture& fx) { return textFile(fx, "text.wpx", "250\n45\n1\n"); }},
        {"damaged workbook",
         [textFile](ProgramFixture& fx) {
             QFile t(fx.path("111.xls"));
             EXPECT_TRUE(t.open(QIODevice::ReadOnly));
             return textFile(fx, "cut.wpx", t.readAll().left(1536));
         }},
        {"empty file", [textFile](ProgramFixture& fx) { return textFile(fx, "empty.wpx", ""); }},
        {"A9 starts with a letter", design("j7(GB/T16445-1996)")},
        {"A9 empty", design("")},
        {"a folder", [](ProgramFixture& fx) { QDir().mkpath(fx.path("folder.wpx")); return fx.path("folder.wpx"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ProgramFixture fx;
        TForm1& f = fx.start();
        tpworm::testing::calculateDesign(f, {7, true, "250", "45", "1"});
        ASSERT_TRUE(tpworm::testing::resultsShown(f));
        const tpworm::testing::WindowState before = tpworm::testing::windowState(f);
        const QString path = c.make(fx);
        // "打开" first asks about the unsaved design; No goes on to the file.
        fx.dialogs.answers << Answer::No;
        openFromDialog(fx, path);
        EXPECT_EQ(fx.dialogs.messageTexts(), (QStringList{kSaveQuestion, kOpenFailed}));
        EXPECT_EQ(tpworm::testing::differences(before, tpworm::testing::windowState(f)).join('\n').toStdString(), "");
        EXPECT_FALSE(f.Design.DesignSaved) << "the unsaved design stays unsaved";
        EXPECT_TRUE(f.Design.DesignFileName.isEmpty());
        EXPECT_TRUE(f.Design.CommandLineConsumed);
        EXPECT_EQ(fx.desktop.terminations, 0) << "the program goes on";
        EXPECT_TRUE(f.isVisible());
    }
}

TEST(DesignFileOpen, CancelledDialogChangesNothing)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const tpworm::testing::WindowState before = tpworm::testing::windowState(f);
    f.ToolButton3->click();
    ASSERT_EQ(fx.dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(fx.dialogs.fileDialogs.first().name, "OpenDialog1");
    EXPECT_EQ(fx.dialogs.fileDialogs.first().kind, FileDialog::Kind::Open);
    EXPECT_EQ(fx.dialogs.fileDialogs.first().filter, "*.wpx|*.wpx");
    EXPECT_EQ(tpworm::testing::differences(before, tpworm::testing::windowState(f)).join('\n').toStdString(), "");
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
    EXPECT_TRUE(f.Design.CommandLineConsumed);
    EXPECT_TRUE(f.Design.DesignSaved);
}

TEST(DesignFileOpen, GradeTextDecidesTheStandardBacklash)
{
    struct Case {
        const char* why;
        const char* a9;
        int index;
        bool standard;
        bool backlashKept;
    };
    const Case cases[] = {
        {"standard backlash re-derived", "8j(GB/T16445-1996)", 2, true, false},
        {"stored backlash kept", "8级(GB/T16445-1996)", 2, false, true},
        {"a grade outside the list", "9级(GB/T16445-1996)", -1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ProgramFixture fx;
        TForm1& f = fx.start();
        const QString path = writeDesignFile(fx, "grade.wpx", {"315", "62", "62", "1", "204.75", "0", "90", "0.987",
                                                               QString::fromUtf8(c.a9), "右旋", "0", "0", "0", ""});
        openFromDialog(fx, path);
        EXPECT_TRUE(fx.dialogs.messages.isEmpty() || !fx.dialogs.messageTexts().contains(kOpenFailed));
        EXPECT_EQ(f.ComboBox1->currentIndex(), c.index);
        EXPECT_EQ(f.CheckBox2->isChecked(), c.standard);
        EXPECT_EQ(f.Edit8->text() == "0.987", c.backlashKept) << f.Edit8->text().toStdString();
        if (c.standard) {
            EXPECT_EQ(f.Edit9->text(), gradeText(8, true));
        }
        EXPECT_EQ(f.Design.DesignFileName, path);
        EXPECT_TRUE(f.Design.DesignSaved);
        // The drive data of an opened design is locked.
        EXPECT_FALSE(f.Edit1->isEnabled());
        EXPECT_FALSE(f.Edit3->isEnabled());
        EXPECT_FALSE(f.Edit4->isEnabled());
        EXPECT_FALSE(f.SpeedButton2->isEnabled());
        EXPECT_TRUE(f.SpeedButton3->isEnabled());
    }
}

TEST(DesignFileOpen, NeverClearsTheWholeNumberBox)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    tpworm::testing::calculateDesign(f, {7, true, "200", "40", "1"});
    f.CheckBox1->setChecked(true);
    const QString path = writeDesignFile(fx, "plain.wpx", {"250", "45", "45", "1", "162.5", "0", "90", "0.2",
                                                           gradeText(7, true), "右旋", "0", "0", "0", ""});
    openFromDialog(fx, path);
    EXPECT_TRUE(f.CheckBox1->isChecked());
    EXPECT_EQ(f.Edit1->text(), "250");
    EXPECT_EQ(f.Design.DesignFileName, path);
}

TEST(DesignFileOpen, CommandLineJoinsTheArgumentsOnce)
{
    // A design saved first, then the program started with its path split at
    // the blank, as an unquoted path arrives.
    ProgramFixture maker;
    TForm1& m = maker.start();
    tpworm::testing::calculateDesign(m, {8, true, "400", "50", "1"});
    QDir().mkpath(maker.path("my designs"));
    const QString path = saveAs(maker, maker.path("my designs/x"));
    const tpworm::testing::WindowState saved = tpworm::testing::windowState(m);

    ProgramFixture fx;
    TForm1& f = fx.start({maker.path("my"), "designs/x.wpx"});
    EXPECT_TRUE(fx.dialogs.fileDialogs.isEmpty()) << "the start-up open shows no dialog";
    EXPECT_TRUE(fx.dialogs.messages.isEmpty()) << fx.dialogs.messageTexts().join('|').toStdString();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Design.UpdateCheckSuppressed);
    EXPECT_TRUE(f.Design.CommandLineConsumed);
    EXPECT_EQ(f.Design.DesignFileName, path);
    EXPECT_EQ(tpworm::testing::differences(saved, tpworm::testing::windowState(f)).join('\n').toStdString(), "");

    // The arguments are still there, but a later open asks.
    f.N11Click();
    ASSERT_EQ(fx.dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(fx.dialogs.fileDialogs.first().name, "OpenDialog1");
}

TEST(DesignFileOpen, FailedStartUpOpenEndsTheProgram)
{
    ProgramFixture fx;
    TForm1& f = fx.start({fx.path("nowhere.wpx")});
    EXPECT_EQ(fx.dialogs.messageTexts(), QStringList{kOpenFailed});
    EXPECT_EQ(fx.desktop.terminations, 1);
    EXPECT_TRUE(f.Design.CommandLineConsumed);
    EXPECT_TRUE(f.Design.DesignSaved);
}

TEST(DesignFileOpen, WithoutArgumentsTheFirstOpenAsks)
{
    ProgramFixture fx;
    TForm1& f = fx.start({"", "ignored"});
    EXPECT_FALSE(f.Design.CommandLineConsumed) << "an empty first argument opens nothing at start";
    EXPECT_TRUE(f.Design.DesignFileName.isEmpty());
    f.N11Click();
    EXPECT_EQ(fx.dialogs.fileDialogs.size(), 1);
    EXPECT_TRUE(f.Design.CommandLineConsumed);
}
