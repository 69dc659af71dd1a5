// The shop drawings and the design report: the layout of the sheets (inside
// the frame, no text over another) for the worked design and the extreme
// centre distances, the parameter tables against the export cells, the scale
// series, and the window's drawing commands through the dialog seam.
#include "app/drawing_commands.h"
#include "common/gui_fixture.h"
#include "core/design_form.h"
#include "documents/cell_maps.h"
#include "drawing/paper.h"
#include "drawing/parameter_table.h"
#include "drawing/part_sheets.h"
#include "drawing/render.h"
#include "drawing/report.h"
#include "rules/rules_memory.h"

#include "../documents/design_window.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QToolButton>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tpworm;
using drawing::Part;

namespace {

const QString kProgramDir = QStringLiteral(TPWORM_PROGRAM_DIR);

drawing::ShownDesign designOf(const QString& centreDistance, const QString& teeth = "45", const QString& starts = "2")
{
    const rules::RulesData rules = rules::readRulesData(kProgramDir + "/db1.mdb");
    core::DesignRequest request;
    request.centreDistance = centreDistance;
    request.teeth = teeth;
    request.starts = starts;
    const core::DesignForm form = core::runDesign(request, rules);
    EXPECT_TRUE(form.calculated()) << centreDistance.toStdString();
    return drawing::shownDesign(form, kProgramDir + "/db1.mdb");
}

QString pdfText(const QString& path)
{
    QProcess p;
    p.start("pdftotext", {"-enc", "UTF-8", path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).remove(QRegularExpression("\\s"));
}

bool overlap(const QPolygonF& a, const QPolygonF& b)
{
    const QRectF common = a.intersected(b).boundingRect();
    // Boxes that only touch along an edge (neighbouring table cells) do not
    // overlap.
    return common.width() > 0.05 && common.height() > 0.05;
}

struct Extreme {
    const char* centreDistance;
    const char* why;
};

// The worked design and the ends of what calculates for 45 teeth and two
// starts: a centre distance of 1 faults in the calculation, 2 is the first
// that calculates, and 99999 is the largest a five-character field holds
// (the rules tables reach it).
const Extreme kDesigns[] = {
    {"250", "the worked design"},
    {"2", "the smallest centre distance that calculates"},
    {"99999", "the largest centre distance that can be typed"},
};

} // namespace

TEST(DrawingLayout, EveryTextAndLineStaysInsideTheFrameAndNoTextCoversAnother)
{
    for (const Extreme& e : kDesigns) {
        const drawing::ShownDesign design = designOf(e.centreDistance);
        for (Part part : {Part::Worm, Part::Wheel, Part::Hob}) {
            SCOPED_TRACE(std::string(e.why) + ", " + drawing::partWord(part).toStdString());
            const drawing::Sheet sheet = drawing::partSheet(part, design);
            const QRectF frame = sheet.frame().adjusted(-0.01, -0.01, 0.01, 0.01);
            const drawing::Paper paper = drawing::layOut(sheet);
            ASSERT_GT(paper.texts.size(), 50u);
            for (const drawing::PaperPath& path : paper.paths)
                for (const QPointF& p : path.points)
                    ASSERT_TRUE(frame.contains(p)) << "a line reaches " << p.x() << ", " << p.y();
            for (size_t i = 0; i < paper.texts.size(); ++i) {
                const drawing::PaperText& t = paper.texts[i];
                ASSERT_TRUE(frame.contains(t.box.boundingRect())) << "outside the frame: " << t.text.toStdString();
                for (size_t j = i + 1; j < paper.texts.size(); ++j)
                    EXPECT_FALSE(overlap(t.box, paper.texts[j].box))
                        << "“" << t.text.toStdString() << "” covers “" << paper.texts[j].text.toStdString() << "”";
            }
            // And as painted: nothing but white outside the frame line.
            const double dpi = 60, k = dpi / 25.4;
            const QImage image = drawing::sheetImage(sheet, dpi);
            const QRect inside = QRectF(drawing::kSheetMarginMm * k - 2, drawing::kSheetMarginMm * k - 2,
                                        sheet.width() * k + 4, sheet.height() * k + 4)
                                     .toAlignedRect();
            int stray = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (!inside.contains(x, y) && image.pixel(x, y) != qRgb(255, 255, 255))
                        ++stray;
            EXPECT_EQ(stray, 0);
        }
    }
}

TEST(DrawingLayout, ScalesComeFromThePreferredSeries)
{
    struct Case {
        double width, height, room;
        const char* scale;
        const char* why;
    } cases[] = {
        {100, 50, 120, "1:1", "fits at full size"},
        {10, 5, 120, "10:1", "a small part is enlarged"},
        {260, 100, 120, "1:2.5", "GB/T 14690's second series between 1:2 and 1:5"},
        {700, 100, 120, "1:6", "the second series again"},
        {200000, 100, 120, "1:2000", "the series continues by decades"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(drawing::scaleText(drawing::fittingScale(c.width, c.height, c.room, c.room)), QString::fromUtf8(c.scale));
    }
    EXPECT_EQ(drawing::scaleText(drawing::fittingScale(10, 5, 120, 120, false)), "1:1") << "no enlargement unless asked";
}

TEST(DrawingTables, EveryCellOfTheExportTableStandsInTheSheetsTable)
{
    const drawing::ShownDesign design = designOf("250");
    const std::pair<Part, documents::ParameterTable> tables[] = {{Part::Worm, documents::ParameterTable::Worm},
                                                                 {Part::Wheel, documents::ParameterTable::Wheel},
                                                                 {Part::Hob, documents::ParameterTable::Hob}};
    for (const auto& [part, table] : tables) {
        SCOPED_TRACE(drawing::partWord(part).toStdString());
        QStringList texts;
        for (const drawing::PaperText& t : drawing::layOut(drawing::partSheet(part, design)).texts)
            texts << t.text;
        const QList<documents::CellText> cells = documents::tableCells(table, design.record, design.fields);
        ASSERT_GT(cells.size(), 10);
        for (const documents::CellText& cell : cells)
            if (!cell.text.isEmpty())
                EXPECT_TRUE(texts.contains(cell.text)) << documents::cellName(cell.column, cell.row).toStdString() << " "
                                                       << cell.text.toStdString();
        // The captions come from the template sources, row by row.
        const drawing::ParameterTableText parameters = drawing::parameterTable(table, design.record, design.fields);
        for (const drawing::TableRow& row : parameters.rows)
            EXPECT_TRUE(texts.contains(row.caption)) << row.caption.toStdString();
    }
}

TEST(DrawingTables, TheHobsUpperDeviationAndTheWormsLowerDeviationStandBesideTheirValues)
{
    const drawing::ShownDesign design = designOf("250");
    const auto find = [&](documents::ParameterTable table, const QString& symbolOrCaption) {
        for (const drawing::TableRow& row : drawing::parameterTable(table, design.record, design.fields).rows)
            if (row.symbol == symbolOrCaption || row.caption == symbolOrCaption)
                return row;
        return drawing::TableRow{};
    };
    EXPECT_EQ(find(documents::ParameterTable::Worm, "sn1").deviation, "-" + design.record.GradeTolerance8);
    EXPECT_EQ(find(documents::ParameterTable::Wheel, "sn2").deviation, "-" + design.record.GradeTolerance11);
    EXPECT_EQ(find(documents::ParameterTable::Hob, "滚刀法向弦齿厚 sn0").deviation, "+" + design.record.GradeTolerance11);
    EXPECT_EQ(find(documents::ParameterTable::Worm, "旋向").value, design.edit(10));
}

TEST(DesignReport, CarriesEveryCaptionTheNoticeTheCoefficientsAndTheThreeSheets)
{
    drawing::ShownDesign design = designOf("250");
    design.warnings = {QStringLiteral("一条来自计算的警告")};
    const QByteArray pdf = drawing::designReport(design, {}, {"tpworm", "1.0", QDate(2026, 1, 2)});
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    const QString text = pdfText(path);
    int captions = 0;
    for (const drawing::ShownGroup& group : design.groups)
        for (const drawing::ShownResult& r : group.results) {
            EXPECT_TRUE(text.contains(QString(r.caption).remove(' '))) << r.caption.toStdString();
            ++captions;
        }
    EXPECT_EQ(captions, 35);
    for (const char* needed : {"设计报告", "参考值", "data/rules", "db1.mdb", "N15", "一条来自计算的警告", "传动校核", "2026-01-02",
                               "平面二次包络环面蜗轮滚刀参数表", "TP250-22.5-03"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(needed))) << needed;
}

namespace {

struct DrawingWindow : ::testing::Test {
    tpworm::testing::ProgramFixture fx;
    TForm1* f = nullptr;
    DrawingCommands* commands = nullptr;

    void SetUp() override
    {
        f = &fx.start();
        commands = f->findChild<DrawingCommands*>("DrawingCommands");
        ASSERT_NE(commands, nullptr);
        // The start's update check fails in the fixture and says so.
        fx.dialogs.messages.clear();
    }
    void calculate()
    {
        tpworm::testing::DesignInput input;
        input.starts = "2";
        tpworm::testing::calculateDesign(*f, input);
    }
    QAction* action(const char* name) { return f->findChild<QAction*>(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(DrawingWindow, CommandsFollowTheCalculation)
{
    ASSERT_NE(commands->menu(), nullptr);
    EXPECT_EQ(commands->menu()->title(), "图纸");
    EXPECT_EQ(f->menuBar()->actions().indexOf(commands->menu()->menuAction()), 1) << "after 文件";
    EXPECT_EQ(commands->reportAction()->text(), "设计报告");
    EXPECT_EQ(commands->reportButton()->toolTip(), "设计报告");
    EXPECT_FALSE(commands->reportAction()->isEnabled());
    EXPECT_FALSE(commands->reportButton()->isEnabled());
    EXPECT_FALSE(action("DrawingWorm")->isEnabled());
    calculate();
    EXPECT_TRUE(commands->reportAction()->isEnabled());
    EXPECT_TRUE(commands->reportButton()->isEnabled());
    EXPECT_TRUE(action("DrawingHob")->isEnabled());
    // A calculation that fails takes them away again.
    f->SpeedButton3->click();
    f->Edit5->setText("x");
    f->SpeedButton4->click();
    EXPECT_FALSE(commands->reportButton()->isEnabled());
    EXPECT_FALSE(action("DrawingWheel")->isEnabled());
    EXPECT_GT(f->Label32->x(), commands->reportButton()->geometry().right()) << "the notice leaves the button free";
}

TEST_F(DrawingWindow, ExportsWriteTheChosenFileWithTheWindowsValuesAndTheRememberedTitle)
{
    calculate();
    drawing::TitleFields title;
    title.designer = QStringLiteral("张工");
    commands->setTitleFields(title);
    const struct {
        const char* action;
        const char* file;
        const char* start;
    } exports[] = {{"DrawingWormDxf", "worm.dxf", "999\ndxflib"},
                   {"DrawingWheelSvg", "wheel", "<?xml"}, // the suffix is added
                   {"DrawingHobPdf", "hob.pdf", "%PDF"}};
    for (const auto& e : exports) {
        SCOPED_TRACE(e.action);
        fx.dialogs.files.append(fx.path(e.file));
        action(e.action)->trigger();
        const QString written = QFileInfo(fx.path(e.file)).suffix().isEmpty()
                                    ? fx.path(e.file) + ".svg" : fx.path(e.file);
        QFile file(written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith(e.start));
        if (QByteArray(e.action) == "DrawingWheelSvg") {
            EXPECT_TRUE(bytes.contains(("Ø" + f->Label33->text().section('-', 0, 0)).toUtf8()));
            EXPECT_TRUE(bytes.contains(QStringLiteral("张工").toUtf8())) << "the remembered designer";
        }
    }
    EXPECT_TRUE(fx.dialogs.messages.isEmpty()) << fx.dialogs.messageTexts().join(' ').toStdString();
    ASSERT_EQ(fx.dialogs.fileDialogs.size(), 3);
    EXPECT_EQ(fx.dialogs.fileDialogs[0].fileName, "TP250-22.5-01.dxf");
}

TEST_F(DrawingWindow, AFailedWriteSaysSoAndLeavesTheOldFile)
{
    calculate();
    const QString target = fx.path("old.pdf");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    // A read-only target is refused, root or not.
    QFile::setPermissions(target, QFileDevice::ReadOwner);
    fx.dialogs.files.append(target);
    commands->reportAction()->trigger();
    ASSERT_EQ(fx.dialogs.messages.size(), 1) << fx.dialogs.messageTexts().join(' ').toStdString();
    EXPECT_TRUE(fx.dialogs.messages[0].text.startsWith("设计报告写入失败，原有文件未改动："));
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old contents");
}

TEST_F(DrawingWindow, TheReportShowsTheWindowsCaptionsAndTheCancelledDialogWritesNothing)
{
    calculate();
    fx.dialogs.files.append(std::nullopt);
    EXPECT_FALSE(commands->writeReport());
    fx.dialogs.files.append(fx.path("report.pdf"));
    commands->reportButton()->click();
    ASSERT_TRUE(QFile::exists(fx.path("report.pdf")));
    const QString text = pdfText(fx.path("report.pdf"));
    for (QLabel* label : {f->Label8, f->Label10, f->Label33, f->Label35, f->Label53, f->Label52})
        EXPECT_TRUE(text.contains(label->text().remove(' '))) << label->text().toStdString();
    EXPECT_EQ(fx.dialogs.fileDialogs.last().fileName, "250-22.5-设计报告.pdf");
}

TEST_F(DrawingWindow, PrintingPaintsTheSheetOnThePrintersPage)
{
    calculate();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fx.path("printed.pdf"));
    printSheet(printer, drawing::partSheet(Part::Wheel, shownDesign(*f)));
    const QString text = pdfText(fx.path("printed.pdf"));
    EXPECT_TRUE(text.contains("Ø" + f->Label35->text().section('-', 0, 0)));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

namespace {

struct CliRun {
    int status;
    QString err;
};

CliRun runCli(const QStringList& arguments)
{
    QProcess p;
    p.start(kProgramDir + "/tpworm-cli", arguments);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(CliDrawing, WritesTheFormatTheSuffixNamesAndRefusesWhatItCannotDo)
{
    QTemporaryDir dir;
    const QStringList drive = {"--centre-distance", "250", "--teeth", "45", "--starts", "2"};
    struct Case {
        QStringList arguments;
        int status;
        const char* why;
    } cases[] = {
        {QStringList{"drawing", "wheel"} + drive + QStringList{"--designer", "李工", dir.filePath("w.svg")}, 0, "an SVG"},
        {QStringList{"drawing", "gear"} + drive + QStringList{dir.filePath("g.pdf")}, 2, "no such part"},
        {QStringList{"drawing", "worm"} + drive + QStringList{dir.filePath("w.png")}, 2, "no such format"},
        {QStringList{"drawing", "worm", dir.filePath("w.pdf")}, 2, "no design"},
        {QStringList{"report", "--centre-distance", "1", "--teeth", "45", "--starts", "2", dir.filePath("r.pdf")}, 1,
         "a design that does not calculate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const CliRun r = runCli(c.arguments);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    }
    QFile svg(dir.filePath("w.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains(QStringLiteral("李工").toUtf8()));
    EXPECT_FALSE(QFile::exists(dir.filePath("r.pdf"))) << "nothing written for a design that does not calculate";

    // A target that cannot be replaced keeps what it held.
    const QString old = dir.filePath("old.dxf");
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("kept");
    file.close();
    QFile::setPermissions(old, QFileDevice::ReadOwner);
    const CliRun r = runCli(QStringList{"drawing", "hob"} + drive + QStringList{old});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("read-only")) << r.err.toStdString();
    QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "kept");
}

TEST_F(DrawingWindow, TheDesignOnTheScreenCarriesTheCoresWarnings)
{
    EXPECT_TRUE(designOf("250").warnings.isEmpty()) << "the worked design is sound";
    tpworm::testing::DesignInput tiny;
    tiny.centreDistance = "2";
    tiny.starts = "2";
    tpworm::testing::calculateDesign(*f, tiny);
    const drawing::ShownDesign shown = shownDesign(*f);
    ASSERT_FALSE(shown.warnings.isEmpty());
    EXPECT_TRUE(shown.warnings.join(' ').contains("蜗杆齿顶宽为负"));
    EXPECT_TRUE(drawing::reportHtml(shown, {"tpworm", "1.0", QDate(2026, 1, 2)}).contains("蜗杆齿顶宽为负"));
}

TEST_F(DrawingWindow, TheGeometryReadsTheNamedResultsOnlyWhileTheyAreTheOnesOnTheScreen)
{
    calculate();
    const drawing::ShownDesign shown = shownDesign(*f);
    ASSERT_TRUE(shown.results.has_value());
    EXPECT_DOUBLE_EQ(shown.number(33), double(shown.results->wheelMaxOuterDiameter));
    // Edited but not confirmed: the screen still shows the last calculation.
    f->SpeedButton3->click();
    f->Edit7->setText(f->Edit7->text() == "90" ? "95" : "90");
    const drawing::ShownDesign edited = shownDesign(*f);
    EXPECT_FALSE(edited.results.has_value());
    EXPECT_EQ(edited.number(33), shown.number(33)) << "read from the caption on the screen";
}

TEST_F(DrawingWindow, TheTitleBlockDialogRemembersItsFieldsAndPrintingShowsThePreview)
{
    calculate();
    QString seen;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        seen = modal->objectName();
        const QList<QLineEdit*> edits = modal->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 5);
        edits[3]->setText(QStringLiteral("  赵工 "));
        edits[2]->setText(QStringLiteral("40Cr"));
        static_cast<QDialog*>(modal)->accept();
    });
    action("DrawingTitle")->trigger();
    EXPECT_EQ(seen, "TitleFieldsDialog");
    EXPECT_EQ(commands->titleFields().designer, QStringLiteral("赵工"));
    EXPECT_EQ(commands->titleFields().material, QStringLiteral("40Cr"));
    // Cancelled, it keeps what it had.
    QTimer::singleShot(0, [] { static_cast<QDialog*>(QApplication::activeModalWidget())->reject(); });
    action("DrawingTitle")->trigger();
    EXPECT_EQ(commands->titleFields().designer, QStringLiteral("赵工"));

    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        seen = modal ? modal->objectName() : QString();
        if (modal)
            modal->close();
    });
    action("DrawingWormPrint")->trigger();
    EXPECT_EQ(seen, "DrawingPreview");
}
