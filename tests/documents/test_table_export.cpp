// The tool-bar exports through the real window, offscreen, read back by the
// program's engine, python3-xlrd and LibreOffice; the progress window; the
// names and failure paths; and a design file edited in LibreOffice.
#include "common/gui_fixture.h"
#include "design_window.h"
#include "documents/cell_maps.h"
#include "documents/form_fields.h"
#include "documents/tform2.h"
#include "readers.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <unistd.h>

using namespace tpworm;
using namespace tpworm::documents;
using tpworm::testing::ProgramFixture;
using tpworm::testing::ReadBook;
using tpworm::testing::ReadSheet;

namespace {

const QString kExportFailed = QStringLiteral("导出文件错误,或者您还没安装EXCEL,请核实后重试.........");

struct Export {
    ParameterTable table;
    QToolButton* TForm1::*button;
};

const Export kExports[] = {
    {ParameterTable::Worm, &TForm1::ToolButton5},
    {ParameterTable::Wheel, &TForm1::ToolButton1},
    {ParameterTable::Hob, &TForm1::ToolButton4},
};

QString unwritablePath(const QTemporaryDir& dir, const QString& name)
{
    if (geteuid() == 0)
        return QStringLiteral("/proc/") + name;
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    return QDir(locked).filePath(name);
}

// The number a result label shows in front of its run of hyphens.
QString labelNumber(const QLabel* label) { return label->text().section(QStringLiteral("--"), 0, 0); }

// Counts the showings of a window.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget* w) { w->installEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            ++shown;
        return false;
    }
};

// A calculated design with reliefs in the " * " form and a backlash typed
// with a trailing zero.
TForm1& calculatedDesign(ProgramFixture& fx)
{
    TForm1& f = fx.start();
    tpworm::testing::calculateDesign(f, {7, true, "250", "45", "1"});
    tpworm::testing::editRecommended(f, {{f.Edit11, "0.45 * 30"}, {f.Edit12, "0.3 * 22"}, {f.Edit8, "0.20"}});
    return f;
}

QString exportTo(ProgramFixture& fx, const Export& e, const QString& target)
{
    fx.dialogs.files << target;
    (fx.form.get()->*e.button)->click();
    return target;
}

} // namespace

TEST(TableExport, WrittenCellsReadBackByEveryReader)
{
    ProgramFixture fx;
    TForm1& f = calculatedDesign(fx);
    ASSERT_TRUE(tpworm::testing::resultsShown(f)) << fx.dialogs.messageTexts().join('|').toStdString();
    const FieldTexts fields = readFieldTexts(f);

    QStringList paths;
    QList<QList<CellText>> maps;
    for (const Export& e : kExports) {
        const QString path = exportTo(fx, e, fx.path("out-" + tableFiles(e.table).proposedName));
        ASSERT_TRUE(QFile::exists(path)) << fx.dialogs.messageTexts().join('|').toStdString();
        paths << path;
        maps << tableCells(e.table, f.Design, fields);
    }
    // The design file goes along: its cells are text cells too.
    fx.dialogs.files << fx.path("out-design");
    f.N5Click();
    paths << fx.path("out-design.wpx");
    maps << designFileCells(fields);
    EXPECT_TRUE(fx.dialogs.messages.isEmpty()) << fx.dialogs.messageTexts().join('|').toStdString();

    const QList<ReadBook> office = tpworm::testing::readWithLibreOffice(paths);
    const QStringList templates{"1.xls", "1111.xls", "11.xls", "111.xls"};
    for (int i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i].toStdString());
        const ReadBook xlrd = tpworm::testing::readWithXlrd(paths[i]);
        const ReadBook templ = tpworm::testing::readWithXlrd(fx.path(templates[i]));
        ASSERT_TRUE(xlrd.error.isEmpty()) << xlrd.error.toStdString();
        ASSERT_TRUE(office[i].error.isEmpty()) << office[i].error.toStdString();
        ASSERT_FALSE(xlrd.sheets.isEmpty());
        ASSERT_FALSE(office[i].sheets.isEmpty());
        ASSERT_FALSE(templ.sheets.isEmpty());
        const ReadSheet& x = xlrd.sheets.first();
        const ReadSheet& lo = office[i].sheets.first();
        QSet<QString> written;
        for (const CellText& c : maps[i]) {
            const QString cell = cellName(c.column, c.row);
            written << cell;
            EXPECT_EQ(tpworm::testing::engineCellText(paths[i], cell), c.text) << cell.toStdString();
            if (c.text.isEmpty())
                continue; // an empty text cell may be read as empty
            EXPECT_EQ(x.cells.value(cell).type, "text") << cell.toStdString();
            EXPECT_EQ(x.text(cell), c.text) << cell.toStdString();
            EXPECT_EQ(lo.cells.value(cell).type, "string") << cell.toStdString();
            EXPECT_EQ(lo.text(cell), c.text) << cell.toStdString();
        }
        // The template's captions, units and notes are intact.
        const ReadSheet& t = templ.sheets.first();
        for (auto it = t.cells.begin(); it != t.cells.end(); ++it) {
            if (written.contains(it.key()) || it->type != "text")
                continue;
            EXPECT_EQ(x.text(it.key()), it->text) << it.key().toStdString();
            EXPECT_EQ(lo.text(it.key()), it->text) << it.key().toStdString();
        }
        EXPECT_EQ(x.name, t.name);
        EXPECT_EQ(x.merged.size(), t.merged.size());
        EXPECT_TRUE(office[i].fitsOnePage);
    }
}

TEST(TableExport, ValuesAreThoseTheLabelsShow)
{
    ProgramFixture fx;
    TForm1& f = calculatedDesign(fx);
    ASSERT_TRUE(tpworm::testing::resultsShown(f));
    const QString worm = exportTo(fx, kExports[0], fx.path("wogan.xls"));
    const QString wheel = exportTo(fx, kExports[1], fx.path("wolun.xls"));
    const QString hob = exportTo(fx, kExports[2], fx.path("gundao.xls"));
    using tpworm::testing::engineCellText;
    EXPECT_EQ(engineCellText(worm, "C4"), labelNumber(f.Label25));
    EXPECT_EQ(engineCellText(worm, "C8"), labelNumber(f.Label28));
    EXPECT_EQ(engineCellText(worm, "C12"), labelNumber(f.Label16));
    EXPECT_EQ(engineCellText(worm, "C21"), labelNumber(f.Label51));
    EXPECT_EQ(engineCellText(worm, "C15"), "0.45 * 30");
    EXPECT_EQ(engineCellText(worm, "C16"), "0.3 * 22");
    EXPECT_EQ(engineCellText(worm, "D13"), "-" + f.Design.GradeTolerance8);
    EXPECT_FALSE(f.Design.GradeTolerance8.isEmpty());
    // The backlash as the last calculation read it, not the field's text.
    EXPECT_EQ(f.Edit8->text(), "0.20");
    EXPECT_EQ(engineCellText(wheel, "C12"), "0.2");
    EXPECT_EQ(engineCellText(wheel, "C16"), f.Edit1->text());
    EXPECT_EQ(engineCellText(wheel, "C14"), labelNumber(f.Label44));
    EXPECT_EQ(engineCellText(hob, "C11"), labelNumber(f.Label21));
    EXPECT_EQ(engineCellText(hob, "C13"), labelNumber(f.Label22));
    EXPECT_EQ(engineCellText(hob, "D11").mid(1), engineCellText(wheel, "D15").mid(1));
    EXPECT_EQ(engineCellText(hob, "D11").left(1), "+");
    EXPECT_EQ(engineCellText(wheel, "D15").left(1), "-");
}

TEST(TableExport, DialogNamesAndTheProgressWindow)
{
    ProgramFixture fx;
    TForm1& f = calculatedDesign(fx);
    ASSERT_NE(f.Form2, nullptr);
    ShowCounter progress(f.Form2);
    const tpworm::testing::WindowState before = tpworm::testing::windowState(f);
    const bool savedBefore = f.Design.DesignSaved;
    for (const Export& e : kExports) {
        SCOPED_TRACE(tableFiles(e.table).proposedName.toStdString());
        // The name is used as chosen, without an extension added.
        exportTo(fx, e, fx.path("t"));
        const FileDialog& d = fx.dialogs.fileDialogs.last();
        EXPECT_EQ(d.name, "SaveDialog1");
        EXPECT_EQ(d.kind, FileDialog::Kind::Save);
        EXPECT_EQ(d.filter, ".xls");
        EXPECT_EQ(d.fileName, tableFiles(e.table).proposedName);
        EXPECT_TRUE(QFile::exists(fx.path("t")));
        EXPECT_FALSE(QFile::exists(fx.path("t.xls")));
        EXPECT_FALSE(f.Form2->isVisible()) << "closed after the save";
        QFile::remove(fx.path("t"));
    }
    EXPECT_EQ(progress.shown, 3);
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
    // The exports change neither the design nor its saved state.
    EXPECT_EQ(tpworm::testing::differences(before, tpworm::testing::windowState(f)).join('\n').toStdString(), "");
    EXPECT_EQ(f.Design.DesignSaved, savedBefore);
    EXPECT_TRUE(f.Design.DesignFileName.isEmpty());

    EXPECT_EQ(f.Form2->windowTitle(), "导出文件");
    EXPECT_EQ(f.Form2->size(), QSize(305, 105));
    EXPECT_EQ(f.Form2->Panel1->text(), "正在保存，请稍候.............");
    EXPECT_EQ(f.Form2->Button1->text(), "取  消");
    EXPECT_EQ(f.Form2->Button1->geometry(), QRect(192, 64, 75, 25));
}

TEST(TableExport, CancelReplaceAndFailures)
{
    struct Case {
        const char* why;
        bool removeTemplate;
        int target; // 0 cancel, 1 an existing file, 2 a path no one may write
        bool written, dialogShown, progressLeftOpen;
        const char* message;
    };
    const Case cases[] = {
        {"cancelled", false, 0, false, true, false, ""},
        {"existing file replaced without a question", false, 1, true, true, false, ""},
        {"template missing", true, 1, false, false, false, "导出文件错误,或者您还没安装EXCEL,请核实后重试........."},
        {"target not writable", false, 2, false, true, true, "导出文件错误,或者您还没安装EXCEL,请核实后重试........."},
    };
    for (const Export& e : kExports) {
        for (const Case& c : cases) {
            SCOPED_TRACE(tableFiles(e.table).templateName.toStdString() + ": " + c.why);
            ProgramFixture fx;
            TForm1& f = calculatedDesign(fx);
            ASSERT_TRUE(tpworm::testing::resultsShown(f));
            ShowCounter progress(f.Form2);
            if (c.removeTemplate)
                QFile::remove(fx.path(tableFiles(e.table).templateName));
            const QString existing = fx.path("existing.xls");
            {
                QFile old(existing);
                ASSERT_TRUE(old.open(QIODevice::WriteOnly));
                old.write("an old table");
            }
            if (c.target == 1)
                fx.dialogs.files << existing;
            else if (c.target == 2)
                fx.dialogs.files << unwritablePath(fx.dir, "table.xls");
            (f.*e.button)->click();
            EXPECT_EQ(fx.dialogs.messageTexts().join('|'), QString::fromUtf8(c.message));
            EXPECT_EQ(fx.dialogs.fileDialogs.size(), c.dialogShown ? 1 : 0);
            QFile old(existing);
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll() != "an old table", c.written);
            if (c.written) {
                EXPECT_EQ(tpworm::testing::engineCellText(existing, "C3"), f.Edit3->text());
            }
            EXPECT_EQ(progress.shown, c.progressLeftOpen || c.written ? 1 : 0);
            EXPECT_EQ(f.Form2->isVisible(), c.progressLeftOpen);
            if (c.progressLeftOpen) {
                // Modeless: the main window stays usable beside it, until
                // "取  消" hides it.
                EXPECT_FALSE(f.Form2->isModal());
                EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
                f.Form2->Button1->click();
                EXPECT_FALSE(f.Form2->isVisible());
            }
            EXPECT_EQ(QDir(fx.dir.path()).entryList({"*.tmp", "*~*"}, QDir::Files), QStringList{});
        }
    }
}

TEST(DesignFileEditedInLibreOffice, OpensAndSavingKeepsTheExtraSheet)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    tpworm::testing::calculateDesign(f, {7, true, "250", "45", "1"});
    ASSERT_TRUE(tpworm::testing::resultsShown(f));
    fx.dialogs.files << fx.path("edited");
    f.N5Click();
    ASSERT_TRUE(QFile::exists(fx.path("edited.wpx")));
    const tpworm::testing::WindowState saved = tpworm::testing::windowState(f);

    // In LibreOffice: the numbers of column A retyped as numbers, a sheet
    // added, the file written back as an Excel 97-2003 workbook.
    QTemporaryDir work;
    QString error;
    QFile::copy(fx.path("edited.wpx"), work.filePath("edited.xls"));
    const QString flat = tpworm::testing::convertWithLibreOffice(work.filePath("edited.xls"), "fods", "fods", work.path(), &error);
    ASSERT_FALSE(flat.isEmpty()) << error.toStdString();
    ASSERT_TRUE(tpworm::testing::runTestScript("lo_edit.py", {flat, work.filePath("changed.fods")}, nullptr, &error))
        << error.toStdString();
    const QString xls = tpworm::testing::convertWithLibreOffice(work.filePath("changed.fods"), "xls:MS Excel 97", "xls",
                                                                work.filePath("out"), &error);
    ASSERT_FALSE(xls.isEmpty()) << error.toStdString();
    const QString path = fx.path("changed.wpx");
    ASSERT_TRUE(QFile::copy(xls, path));
    const ReadBook edited = tpworm::testing::readWithXlrd(path);
    ASSERT_EQ(edited.sheets.size(), 2) << edited.error.toStdString();
    ASSERT_EQ(edited.sheets[0].cells.value("A1").type, "number") << "the edit made A1 a number";

    ProgramFixture other;
    TForm1& g = other.start();
    other.dialogs.files << path;
    g.N11Click();
    EXPECT_TRUE(other.dialogs.messages.isEmpty()) << other.dialogs.messageTexts().join('|').toStdString();
    // Numbers read back as their decimal texts: the same design.
    EXPECT_EQ(tpworm::testing::differences(saved, tpworm::testing::windowState(g)).join('\n').toStdString(), "");

    tpworm::testing::editRecommended(g, {{g.Edit10, "左旋"}});
    g.N5Click();
    EXPECT_TRUE(other.dialogs.messages.isEmpty()) << other.dialogs.messageTexts().join('|').toStdString();
    const ReadBook resaved = tpworm::testing::readWithXlrd(path);
    ASSERT_EQ(resaved.sheets.size(), 2) << resaved.error.toStdString();
    EXPECT_EQ(resaved.sheets[1].name, "备注");
    EXPECT_EQ(resaved.sheets[1].text("A1"), "校核：张工");
    EXPECT_EQ(resaved.sheets[1].cells.value("A2").type, "number");
    EXPECT_EQ(resaved.sheets[0].cells.value("A1").type, "text") << "saving writes every cell as text again";
    EXPECT_EQ(resaved.sheets[0].text("A1"), "250");
    EXPECT_EQ(resaved.sheets[0].text("A10"), "左旋");
}
