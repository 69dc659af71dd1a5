// tpworm-cli run as a separate process, as a script would run it.
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_run.h"

namespace {

using clitest::cli;
using clitest::CliResult;

const QString kExampleCoefficients = QStringLiteral("0.875,1.2,1,0.5,0,0.55,2,0,0.15,0.5,0.5,1,0.5,1,0.9,9");
// The ratio comes after teeth and starts, whose handlers rewrite it.
const QStringList kExampleFields = {"Edit1=250", "Edit3=45", "Edit4=2", "Edit2=22.5", "Edit5=160",
                                    "Edit6=2", "Edit7=90", "Edit8=0.3", "Edit13=0.5"};

QString caption(const CliResult& r, const char* label)
{
    return r.json["labels"].toObject()[label].toObject()["caption"].toString();
}

TEST(CliCalc, WorkedExampleAsJson)
{
    const CliResult r = cli(QStringList{"calc", "--json", "--coefficients", kExampleCoefficients} + kExampleFields);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.json["calculated"].toBool());
    EXPECT_EQ(caption(r, "Label8"), "215.933-----蜗杆齿根圆弧半径");
    EXPECT_EQ(caption(r, "Label26"), "4.5-----包围齿数");
    EXPECT_EQ(caption(r, "Label41"), "13.804---修形母面倾斜角");
    EXPECT_FALSE(r.json["labels"].toObject()["Label14"].toObject()["red"].toBool());
    EXPECT_EQ(r.json["labels"].toObject().size(), 35);
    EXPECT_EQ(r.json["fields"].toObject()["Edit7"].toString(), "90");
    EXPECT_TRUE(r.json["messages"].toArray().isEmpty());

    const CliResult whole = cli(QStringList{"calc", "--json", "--whole-teeth", "--coefficients", kExampleCoefficients} + kExampleFields);
    ASSERT_EQ(whole.exitCode, 0);
    EXPECT_TRUE(whole.json["wholeTeeth"].toBool());
    EXPECT_EQ(caption(whole, "Label26"), "4-----包围齿数");
    EXPECT_EQ(caption(whole, "Label48"), "121.064-----蜗杆最大齿顶圆直径");
    EXPECT_EQ(caption(whole, "Label40"), "40-----蜗轮齿顶圆弧半径");
}

TEST(CliCalc, FailuresPrintTheirMessageAndExitOne)
{
    QStringList fields = kExampleFields;
    fields.replaceInStrings("Edit2=22.5", "Edit2=20");
    const CliResult ratio = cli(QStringList{"calc", "--json", "--coefficients", kExampleCoefficients} + fields);
    EXPECT_EQ(ratio.exitCode, 1);
    EXPECT_FALSE(ratio.json["calculated"].toBool());
    EXPECT_EQ(ratio.json["messages"].toArray().first().toString(), "输入参数不正确......（速比=齿数/头数）");
    EXPECT_TRUE(ratio.err.contains("输入参数不正确"));

    const CliResult fault = cli({"calc", "--coefficients", kExampleCoefficients, "Edit1=250"});
    EXPECT_EQ(fault.exitCode, 1);
    EXPECT_TRUE(fault.err.contains("只能输入合法数字，且不能为空"));
}

struct DesignCase { const char* a; const char* teeth; const char* starts; const char* d1; const char* db; const char* grinding; const char* eccentricity; };

TEST(CliDesign, RecommendationExamplesWithExponentOne)
{
    const QString coefficients = QStringLiteral("1,1.2,1,0.5,0,0.55,2,0,0.15,0.5,0.5,1,0.5,1,0.9,9");
    const DesignCase cases[] = {
        {"160", "30", "3", "130", "95", "0.3", "24"},  // 127.97 -> 128 -> 130; 93 -> 95; 95/4 = 23.75
        {"250", "40", "1", "190", "155", "0.4", "0"},  // 191 -> 190; i = 40 takes no eccentricity
        {"100", "31", "4", "81", "56", "0.3", "22"},   // not above 90: no snapping; 0.4 x 56 = 22.4
    };
    for (const auto& c : cases) {
        const CliResult r = cli({"design", "--json", "--coefficients", coefficients, "--centre-distance", c.a,
                                 "--teeth", c.teeth, "--starts", c.starts});
        const QJsonObject f = r.json["fields"].toObject();
        EXPECT_EQ(f["Edit7"].toString(), c.d1) << c.a;
        EXPECT_EQ(f["Edit5"].toString(), c.db) << c.a;
        EXPECT_EQ(f["Edit13"].toString(), c.grinding) << c.a;
        EXPECT_EQ(f["Edit6"].toString(), c.eccentricity) << c.a;
        EXPECT_TRUE(f["Edit11"].toString().contains(" * ")) << f["Edit11"].toString().toStdString();
        EXPECT_TRUE(f["Edit12"].toString().contains(" * ")) << f["Edit12"].toString().toStdString();
        EXPECT_EQ(r.json["grade"].toString(), "7");
        EXPECT_TRUE(r.json["standardBacklash"].toBool());
        EXPECT_TRUE(f["Edit9"].toString().startsWith("7j(GB/T16445-1996)"));
        EXPECT_FALSE(r.json["gradeTolerances"].toObject()["3"].toString().isEmpty());
    }
}

TEST(CliDesign, EditedParametersAreRecalculated)
{
    const CliResult r = cli({"design", "--json", "--coefficients", kExampleCoefficients, "--centre-distance", "250",
                             "--teeth", "45", "--starts", "2", "Edit5=160", "Edit6=2", "Edit7=90", "Edit8=0.30",
                             "Edit13=0.5"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(caption(r, "Label8"), "215.933-----蜗杆齿根圆弧半径");
    EXPECT_FALSE(r.json["standardBacklash"].toBool()) << "a changed backlash clears the standard-backlash box";
}

TEST(CliWorkbook, CatAndSetThroughTheCommandLine)
{
    const QString source = QStringLiteral(TPWORM_CORPUS_DIR "/poi-Simple.xls");
    const CliResult cat = cli({"workbook", "cat", source});
    ASSERT_EQ(cat.exitCode, 0) << cat.err.toStdString();
    EXPECT_FALSE(cat.out.isEmpty());
    EXPECT_TRUE(cat.out.split('\n').first().contains('\t'));

    QTemporaryDir dir;
    const QString output = dir.filePath("out.xls");
    const CliResult set = cli({"workbook", "set", source, output, "C2=蜗杆头数", "D5=a\tb"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const CliResult back = cli({"workbook", "cat", output});
    EXPECT_TRUE(back.out.contains("C2\t蜗杆头数\n")) << back.out.toStdString();
    EXPECT_TRUE(back.out.contains("D5\ta\\tb\n")) << back.out.toStdString();

    const CliResult missing = cli({"workbook", "cat", dir.filePath("none.xls")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}

TEST(CliDocuments, OpenAndExportADesignFile)
{
    QTemporaryDir dir;
    const QString design = dir.filePath("d.wpx");
    const CliResult made = cli({"workbook", "set", QStringLiteral(TPWORM_PROGRAM_DIR "/111.xls"), design, "A1=250",
                                "A2=22.5", "A3=45", "A4=2", "A5=160", "A6=2", "A7=90", "A8=0.3",
                                "A9=7级(GB/T16445-1996)", "A10=右旋", "A11=0.3 * 30", "A12=0.2 * 25", "A13=0.5", "A14="});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();

    const CliResult opened = cli({"open", "--json", "--coefficients", kExampleCoefficients, design});
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_EQ(caption(opened, "Label8"), "215.933-----蜗杆齿根圆弧半径");
    EXPECT_EQ(opened.json["fields"].toObject()["Edit11"].toString(), "0.3 * 30");
    EXPECT_FALSE(opened.json["standardBacklash"].toBool()) << "A9 in the 级 form clears the standard-backlash box";

    const QString table = dir.filePath("wogan.xls");
    const CliResult exported = cli({"export", "--coefficients", kExampleCoefficients, "worm", design, table});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const CliResult cells = cli({"workbook", "cat", table});
    EXPECT_TRUE(cells.out.contains("C4\t9.111\n")) << cells.out.toStdString();
    EXPECT_TRUE(cells.out.contains("C15\t0.3 * 30\n")) << cells.out.toStdString();

    const CliResult missing = cli({"open", dir.filePath("none.wpx")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("文件打开错误")) << missing.err.toStdString();
}

TEST(CliUsage, ErrorsExitTwo)
{
    for (const QStringList& args : {QStringList{}, QStringList{"frobnicate"}, QStringList{"calc", "Edit99=1"},
                                    QStringList{"calc", "--coefficients", "1,2,3"}, QStringList{"design", "--teeth", "40"},
                                    QStringList{"export", "screw", "a.wpx", "b.xls"}}) {
        const CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage")) << args.join(' ').toStdString();
    }
}

} // namespace

namespace {

// A design that never calculated is reported as such, whatever stopped it.
TEST(CliDesign, ADesignThatNeverCalculatedSaysSoAndExitsOne)
{
    for (const char* a : {"x", "", "NaN", "-5", "1e4000", "0"}) {
        const CliResult r = cli({"design", "--json", "--centre-distance", a, "--teeth", "40"});
        EXPECT_EQ(r.exitCode, 1) << a;
        EXPECT_FALSE(r.json["calculated"].toBool()) << a;
        EXPECT_FALSE(r.json["messages"].toArray().isEmpty()) << a;
        EXPECT_TRUE(r.json["warnings"].toArray().isEmpty()) << a;
    }
}

TEST(CliDesign, RulesThatCannotBeLoadedStillGiveTheDocument)
{
    QTemporaryDir dir;
    QFile garbage(dir.filePath("garbage.mdb"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    QFile empty(dir.filePath("empty.mdb"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    for (const QString& rules : {dir.filePath("missing.mdb"), garbage.fileName(), empty.fileName()}) {
        for (const QStringList& command : {QStringList{"design", "--centre-distance", "250", "--teeth", "45"},
                                           QStringList{"calc", "Edit1=250"}}) {
            const CliResult r = cli(command + QStringList{"--json", "--rules", rules});
            EXPECT_EQ(r.exitCode, 1) << rules.toStdString();
            ASSERT_FALSE(r.json.isEmpty()) << rules.toStdString() << " printed: " << r.out.toStdString();
            EXPECT_FALSE(r.json["calculated"].toBool());
            EXPECT_TRUE(r.json["messages"].toArray().first().toString().startsWith("您的系统可能缺少相应的驱动"));
        }
    }
}

TEST(CliDesign, FindingsAreListedInTheDocument)
{
    const CliResult r = cli({"design", "--json", "--coefficients", kExampleCoefficients, "--centre-distance", "250",
                             "--teeth", "45", "--starts", "2", "Edit5=200"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray warnings = r.json["warnings"].toArray();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].toString().startsWith("滚刀齿顶宽为负（-")) << warnings[0].toString().toStdString();
    EXPECT_FALSE(r.json["labels"].toObject()["Label49"].toObject()["red"].toBool());
}

TEST(CliDocuments, DesignSavesAFileThatOpensToTheSameDesignAndSeveralTablesExportInOneRun)
{
    QTemporaryDir dir;
    const QString design = dir.filePath("made.wpx");
    const CliResult made = cli({"design", "--json", "--coefficients", kExampleCoefficients, "--centre-distance", "250",
                                "--teeth", "45", "--starts", "2", "Edit5=160", "Edit6=2", "Edit7=90", "Edit8=0.3",
                                "Edit13=0.5", "--save", design});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    ASSERT_TRUE(QFileInfo(design).isFile());
    const CliResult opened = cli({"open", "--json", "--coefficients", kExampleCoefficients, design});
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_EQ(opened.json["fields"], made.json["fields"]);
    EXPECT_EQ(opened.json["labels"], made.json["labels"]);

    const CliResult failed = cli({"design", "--centre-distance", "0", "--teeth", "40", "--save", dir.filePath("no.wpx")});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no.wpx"))) << "a design that did not calculate is not saved";

    const CliResult both = cli({"export", "--coefficients", kExampleCoefficients, "worm", design, dir.filePath("w.xls"),
                                "hob", design, dir.filePath("h.xls")});
    ASSERT_EQ(both.exitCode, 0) << both.err.toStdString();
    for (const char* table : {"worm", "hob"}) {
        const QString one = dir.filePath(QStringLiteral("%1-alone.xls").arg(table));
        ASSERT_EQ(cli({"export", "--coefficients", kExampleCoefficients, table, design, one}).exitCode, 0);
        EXPECT_EQ(cli({"workbook", "cat", one}).out,
                  cli({"workbook", "cat", dir.filePath(table == QLatin1String("worm") ? "w.xls" : "h.xls")}).out)
            << table;
    }
    EXPECT_EQ(cli({"export", "worm", design}).exitCode, 2) << "an incomplete triple is a usage error";
}

// The menu export from the command line: the same cells as the tool-bar
// export, written by the spreadsheet application, for several triples in one
// run; without a spreadsheet application, the menu's message and exit 1.
TEST(CliDocuments, AutomationExportWritesWhatTheToolBarWrites)
{
    QTemporaryDir dir;
    const QString design = dir.filePath("made.wpx");
    ASSERT_EQ(cli({"design", "--centre-distance", "250", "--teeth", "45", "--starts", "2", "--save", design}).exitCode, 0);
    const QStringList tables = {"worm", "wheel", "hob"};
    EXPECT_EQ(cli({"export", "--automation", "worm", design}).exitCode, 2) << "an incomplete triple is a usage error";
    EXPECT_EQ(cli({"export", "--automation", "screw", design, dir.filePath("x.xls")}).exitCode, 2);
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TPWORM_SOFFICE", "/nonexistent/program/soffice.bin");
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TPWORM_CLI), {"export", "--automation", "worm", design, dir.filePath("none.xls")});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("导出文件错误,或者您还没安装EXCEL,请核实后重试"));
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.xls")));
    }
    if (!QFileInfo::exists("/usr/lib/libreoffice/program/soffice.bin"))
        GTEST_SKIP() << "LibreOffice is not installed";
    QStringList menu = {"export", "--automation"}, toolBar = {"export"};
    for (const QString& t : tables) {
        menu << t << design << dir.filePath("menu-" + t + ".xls");
        toolBar << t << design << dir.filePath("tool-" + t + ".xls");
    }
    const CliResult m = cli(menu);
    ASSERT_EQ(m.exitCode, 0) << m.err.toStdString();
    ASSERT_EQ(cli(toolBar).exitCode, 0);
    for (const QString& t : tables) {
        const QString written = cli({"workbook", "cat", dir.filePath("menu-" + t + ".xls")}).out;
        EXPECT_FALSE(written.isEmpty()) << t.toStdString();
        EXPECT_EQ(written, cli({"workbook", "cat", dir.filePath("tool-" + t + ".xls")}).out) << t.toStdString();
    }
}

// The design commands run on the core: the dynamic loader never maps the
// toolkit's display libraries, not even with no display at all.
TEST(CliDesign, NoWindowLibraryIsEverLoaded)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("LD_DEBUG", "files");
    p.setProcessEnvironment(env);
    QTemporaryDir dir;
    const QString design = dir.filePath("d.wpx");
    p.start(QStringLiteral(TPWORM_CLI), {"design", "--centre-distance", "250", "--teeth", "45", "--starts", "2",
                                         "--save", design});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString loader = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(loader.contains("libQt6Core")) << "the loader's trace is there to read";
    EXPECT_FALSE(loader.contains("libQt6Gui")) << "Qt Gui loaded";
    EXPECT_FALSE(loader.contains("libQt6Widgets")) << "Qt Widgets loaded";
}

} // namespace
