// The shop drawings and the design report: the layout of the sheets (inside
// the frame, no text over another) for the worked design and the extreme
// centre distances, the parameter tables against the export cells, the scale
// series, and the window's drawing commands through the dialog seam.
#include "app/drawing_commands.h"
#include "app/tform_rating.h"
#include "common/gui_fixture.h"
#include "core/design_form.h"
#include "documents/cell_maps.h"
#include "drawing/paper.h"
#include "drawing/parameter_table.h"
#include "drawing/part_sheets.h"
#include "drawing/render.h"
#include "drawing/report.h"
#include "core/numeric.h"
#include "rules/rules_memory.h"

#include "../documents/design_window.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
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

// ---- the drive check in the report ---------------------------------------------

namespace {

// The report's section "7 传动校核" as pdftotext reads it, blanks and the
// running heads of the pages removed.
QString driveCheckSection(const QString& pdf)
{
    QString text = pdfText(pdf);
    text.remove(QRegularExpression(QStringLiteral("第\\d+页共\\d+页.*?规则数据为参考值")));
    const qsizetype from = text.indexOf(QStringLiteral("7传动校核"));
    const qsizetype to = text.indexOf(QStringLiteral("8图纸"), from);
    return from < 0 || to < 0 ? QString() : text.mid(from, to - from);
}

QString rounded(const QJsonObject& r, const char* key, int decimals)
{
    return FloatToStr(RoundTo(r.value(QLatin1String(key)).toDouble(), -decimals));
}

// Every number of rate --json stands in the section beside its caption and
// unit, rounded as the window shows it; every warning is there too.
void expectRatingInSection(const QJsonObject& r, const QString& section)
{
    struct Row {
        const char* key;
        const char* caption;
        int decimals;
        const char* unit;
    } rows[] = {
        {"input_torque", "输入转矩T1", 3, "N·m"},
        {"output_speed", "输出转速n2", 3, "r/min"},
        {"output_torque", "输出转矩T2", 3, "N·m"},
        {"output_power", "输出功率P2", 3, "kW"},
        {"sliding_speed", "滑动速度vs", 3, "m/s"},
        {"friction", "摩擦系数μ", 4, "（查表）"},
        {"friction_angle", "当量摩擦角ρ'", 3, "°"},
        {"mesh_efficiency", "啮合效率ηm", 4, ""},
        {"efficiency", "总效率η=ηm·ηo", 4, ""},
        {"backdrive_efficiency", "逆传动效率ηb（蜗轮主动）", 4, "（可逆转）"},
        {"wheel_tangential_force", "蜗轮圆周力Ft2=蜗杆轴向力Fa1", 3, "N"},
        {"worm_tangential_force", "蜗杆圆周力Ft1=蜗轮轴向力Fa2", 3, "N"},
        {"radial_force", "径向力Fr", 3, "N"},
        {"heat_loss", "发热功率H", 3, "W"},
        {"surface", "箱体散热面积S", 3, "（估算）m²"},
        {"oil_temperature", "油温to", 3, "°C"},
        {"required_surface", "所需散热面积Sreq", 3, "m²"},
    };
    for (const Row& row : rows) {
        const QString expected = QString::fromUtf8(row.caption) + rounded(r, row.key, row.decimals) + QString::fromUtf8(row.unit);
        EXPECT_TRUE(section.contains(expected)) << expected.toStdString();
    }
    for (const QJsonValue& w : r.value("warnings").toArray())
        EXPECT_TRUE(section.contains(w.toString().remove(QRegularExpression("\\s")))) << w.toString().toStdString();
    EXPECT_TRUE(section.contains(r.value("thermal_ok").toBool() ? QStringLiteral("热平衡校核合格") : QStringLiteral("警告热平衡校核不合格")));
    EXPECT_TRUE(section.contains(QStringLiteral("使用系数P额定/P1未计算"))) << "no rated-power rows shipped";
}

} // namespace

TEST(DesignReport, TheDriveCheckMarksWhatTheWindowShowsRed)
{
    const struct {
        const char* oilLimit;
        int red; // to, Sreq and the verdict when the heat check fails; the service factor not computed
    } cases[] = {{"80", 1}, {"50", 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.oilLimit);
        drawing::ShownDesign design = designOf("250");
        rating::DutyTexts duty;
        duty.inputPower = "10";
        duty.wormSpeed = "1450";
        duty.oilLimit = c.oilLimit;
        design.driveCheck = drawing::driveCheckOf(design.record, duty, kProgramDir + "/db1.mdb");
        ASSERT_TRUE(design.driveCheck->rating.has_value()) << design.driveCheck->problem.toStdString();
        const QString html = drawing::reportHtml(design, {"tpworm", "1.0", QDate(2026, 1, 2)});
        EXPECT_EQ(html.count(QStringLiteral("<font color=\"#ff0000\">")), c.red);
        EXPECT_TRUE(html.contains("Carvill")) << "the friction table's source";
    }
}

TEST_F(DrawingWindow, TheReportCarriesTheRunsDriveCheckAndTheDesignFileCarriesItToTheCommandLine)
{
    calculate();
    fx.dialogs.files.append(fx.path("none.pdf"));
    ASSERT_TRUE(commands->writeReport());
    const QString without = driveCheckSection(fx.path("none.pdf"));
    EXPECT_TRUE(without.contains(QStringLiteral("未给出工况，因此本报告不含传动校核"))) << without.toStdString();

    // A duty checked in "传动校核": the report shows what the window shows.
    showRatingWindow(*f);
    TFormRating* check = ratingWindow(*f);
    ASSERT_NE(check, nullptr);
    check->PowerEdit->setText("10");
    check->SpeedEdit->setText("1450");
    check->OilLimitEdit->setText("50");
    check->CheckButton->click();
    ASSERT_TRUE(check->hasResult());
    fx.dialogs.files.append(fx.path("window.pdf"));
    ASSERT_TRUE(commands->writeReport());
    const QString shown = driveCheckSection(fx.path("window.pdf"));
    for (const auto& [key, caption, unit] : std::initializer_list<std::array<const char*, 3>>{
             {"T2", "输出转矩T2", "N·m"}, {"to", "警告油温to", "°C"}, {"Sreq", "警告所需散热面积Sreq", "m²"}, {"eta", "总效率η=ηm·ηo", ""}})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(caption) + check->resultText(key) + QString::fromUtf8(unit))) << key;
    EXPECT_TRUE(shown.contains(QStringLiteral("允许油温tlim50°C")));

    // Saved with the design, the duty gives tpworm-cli report the same section as rate.
    fx.dialogs.files.append(fx.path("duty"));
    fx.dialogs.messages.clear();
    f->N5Click();
    ASSERT_TRUE(fx.dialogs.messages.isEmpty()) << fx.dialogs.messageTexts().join(' ').toStdString();
    QProcess rate;
    rate.start(kProgramDir + "/tpworm-cli", {"rate", "--json", "--file", fx.path("duty.wpx")});
    ASSERT_TRUE(rate.waitForFinished(60000));
    ASSERT_EQ(rate.exitCode(), 0) << rate.readAllStandardError().toStdString();
    const QJsonObject r = QJsonDocument::fromJson(rate.readAllStandardOutput()).object().value("rating").toObject();
    ASSERT_FALSE(r.value("thermal_ok").toBool()) << "the oil limit of 50 °C fails";
    const CliRun report = runCli({"report", "--file", fx.path("duty.wpx"), fx.path("file.pdf")});
    ASSERT_EQ(report.status, 0) << report.err.toStdString();
    const QString section = driveCheckSection(fx.path("file.pdf"));
    expectRatingInSection(r, section);
    EXPECT_EQ(section, shown) << "the window's report and the command line's say the same";
}

TEST(CliReport, TakesTheDutyOptionsOfRateAndSaysPlainlyWhenThereIsNone)
{
    QTemporaryDir dir;
    const QStringList drive = {"--centre-distance", "315", "--teeth", "45", "--starts", "2"};
    const QStringList duty = {"--power", "15", "--speed", "960", "--material-pair", "iron-iron", "--ambient", "25",
                              "--heat-transfer", "12", "--housing-area", "4.5", "--other-efficiency", "0.95"};
    QProcess rate;
    rate.start(kProgramDir + "/tpworm-cli", QStringList{"rate", "--json"} + drive + duty);
    ASSERT_TRUE(rate.waitForFinished(60000));
    ASSERT_EQ(rate.exitCode(), 0) << rate.readAllStandardError().toStdString();
    const QJsonObject r = QJsonDocument::fromJson(rate.readAllStandardOutput()).object().value("rating").toObject();
    // --material stays the title block's; the pair is --material-pair.
    const CliRun withDuty = runCli(QStringList{"report"} + drive + duty + QStringList{"--material", "HT250", dir.filePath("d.pdf")});
    ASSERT_EQ(withDuty.status, 0) << withDuty.err.toStdString();
    const QString section = driveCheckSection(dir.filePath("d.pdf"));
    for (const char* typed : {"输入功率P115kW", "蜗杆转速n1960r/min", "（iron-iron）", "环境温度ta25°C", "散热系数αs12W/(m²·°C)",
                              "箱体散热面积S4.5m²", "轴承及搅油效率ηo0.95"})
        EXPECT_TRUE(section.contains(QString::fromUtf8(typed))) << typed;
    EXPECT_TRUE(section.contains(QStringLiteral("箱体散热面积S") + rounded(r, "surface", 3) + QStringLiteral("m²")));
    EXPECT_TRUE(section.contains(QStringLiteral("油温to") + rounded(r, "oil_temperature", 3) + QStringLiteral("°C")));
    EXPECT_TRUE(section.contains(QStringLiteral("输出转矩T2") + rounded(r, "output_torque", 3) + QStringLiteral("N·m")));
    EXPECT_TRUE(pdfText(dir.filePath("d.pdf")).contains("HT250")) << "the title block's material";

    const CliRun plain = runCli(QStringList{"report"} + drive + QStringList{dir.filePath("p.pdf")});
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    const QString none = driveCheckSection(dir.filePath("p.pdf"));
    EXPECT_TRUE(none.contains(QStringLiteral("未给出工况，因此本报告不含传动校核"))) << none.toStdString();
    EXPECT_FALSE(none.contains(QStringLiteral("输出转矩")));

    // A duty that cannot be checked writes nothing, as rate checks nothing.
    const CliRun bad = runCli(QStringList{"report"} + drive + QStringList{"--power", "0", "--speed", "960", dir.filePath("b.pdf")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("输入功率 P1：必须大于 0（现为 0）"))) << bad.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("b.pdf")));
}
