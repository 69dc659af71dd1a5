// The shipped reference documents: the five manual PDFs as a reader's tools
// see them (poppler's pdftotext and pdftoppm), their agreement with the rules
// database they were made from, the help page and the version text.
#include "common/gui_fixture.h"

#include "app/version.h"
#include "documents/tform2.h"
#include "rules/tform5.h"
#include "app/tform6.h"
#include "support/tform7.h"
#include "support/update_check.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QToolBar>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>

using tpworm::testing::ProgramFixture;

namespace {

const QString kProgramDir = QStringLiteral(TPWORM_PROGRAM_DIR);

struct ProcessResult {
    int exitCode = -1;
    QByteArray out, err;
};

ProcessResult run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    ProcessResult r;
    if (!process.waitForFinished(120000))
        return r;
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

QString pdfText(const QString& pdf)
{
    const ProcessResult r = run("pdftotext", {"-enc", "UTF-8", pdf, "-"});
    EXPECT_EQ(r.exitCode, 0) << pdf.toStdString() << ": " << r.err.toStdString();
    // Line breaks inside a cell or a paragraph are no part of the text.
    return QString::fromUtf8(r.out).remove(QLatin1Char('\n')).remove(QLatin1Char(' '));
}

int pageCount(const QString& pdf)
{
    const ProcessResult r = run("pdfinfo", {pdf});
    for (const QByteArray& line : r.out.split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return 0;
}

// The share of a page's pixels that are not white, rendered by pdftoppm.
QList<double> inkPerPage(const QString& pdf, const QString& dir)
{
    const QString prefix = dir + "/page";
    const ProcessResult r = run("pdftoppm", {"-r", "30", "-gray", pdf, prefix});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QList<double> ink;
    for (int page = 1;; ++page) {
        QImage image;
        bool found = false;
        for (const QString& digits : {QString::number(page), QString::number(page).rightJustified(2, '0')})
            if (image.load(QStringLiteral("%1-%2.pgm").arg(prefix, digits))) {
                found = true;
                break;
            }
        if (!found)
            break;
        qint64 dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 200;
        ink << double(dark) / (image.width() * image.height());
    }
    return ink;
}

struct Expected {
    const char* file;
    QStringList phrases; // headings and values a reader must find
};

QList<Expected> expectations()
{
    return {
        {"canshu.pdf", {"推荐参数", "概述", "推荐参数的计算规则", "出厂计算法则系数", "修缘表", "入口修缘量", "参数选择建议", "第1页共"}},
        {"jishu.pdf", {"技术资料", "平面二次包络环面蜗杆传动", "第一次包络", "几何计算", "滚刀", "一般型传动修形参数", "计算实例",
                       "215.933", "197.889", "428.222", "252.278"}},
        {"jingdu.pdf", {"传动精度", "GB/T16445-1996", "公差项目", "6级精度", "7级精度", "8级精度", "标准侧隙",
                        "蜗杆齿厚公差Ts1"}},
        {"tuzhi.pdf", {"制图示例", "图面要求", "技术要求", "平面二次包络环面蜗杆", "平面二次包络环面蜗轮", "R215.933",
                       "R197.889", "Ø124.996", "Ø437", "R42", "TP250-22.5-01"}},
        {"xiuxing.pdf", {"修形原理", "为什么要修形", "一般型修形", "修缘", "磨齿增量", "22.75", "161.778", "13.804"}},
    };
}

} // namespace

TEST(ManualDocuments, AreRealPagesWithTheirHeadingsTablesAndDrawings)
{
    for (const Expected& expected : expectations()) {
        SCOPED_TRACE(expected.file);
        const QString pdf = kProgramDir + "/" + expected.file;
        ASSERT_TRUE(QFile::exists(pdf));
        const QString text = pdfText(pdf);
        for (const QString& phrase : expected.phrases)
            EXPECT_TRUE(text.contains(QString(phrase).remove(' '))) << "missing: " << phrase.toStdString();
        EXPECT_GE(pageCount(pdf), 2);

        QTemporaryDir pages;
        const QList<double> ink = inkPerPage(pdf, pages.path());
        EXPECT_EQ(ink.size(), pageCount(pdf));
        for (int page = 1; page <= ink.size(); ++page) {
            // Rendered, every page darkens a few per cent of its pixels at
            // least; one with only the header and the footer stays below one.
            EXPECT_GT(ink[page - 1], 0.015) << "page " << page << " is nearly empty";
            // And it carries text of its own besides the header and footer.
            const ProcessResult r = run("pdftotext", {"-enc", "UTF-8", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
            QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
            lines.removeIf([](const QString& line) {
                return line.contains("设计手册") || line.startsWith(QStringLiteral("第")) || line.trimmed().size() <= 4;
            });
            EXPECT_GT(lines.join(QString()).remove(' ').size(), 40) << "page " << page << " has hardly any text";
        }
    }
}

TEST(ManualDocuments, DrawingPagesAreLandscapeAndDense)
{
    for (const char* file : {"tuzhi.pdf", "xiuxing.pdf"}) {
        SCOPED_TRACE(file);
        const ProcessResult r = run("pdfinfo", {"-f", "1", "-l", "99", kProgramDir + "/" + file});
        int landscape = 0;
        for (const QByteArray& line : r.out.split('\n'))
            if (line.contains("size:") && line.contains("842 x 595"))
                ++landscape;
        EXPECT_GE(landscape, QByteArray(file) == "tuzhi.pdf" ? 2 : 1);
    }
}

namespace {

// A copy of the shipped database with values no other table holds.
QString distinctiveDatabase(const QString& dir)
{
    const QString path = dir + "/db1.mdb";
    EXPECT_TRUE(QFile::copy(kProgramDir + "/db1.mdb", path));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "manual-test");
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec("UPDATE nzhi SET N = 0.5625 WHERE rowid = (SELECT rowid FROM nzhi ORDER BY rowid LIMIT 1 OFFSET 5)"));
        EXPECT_TRUE(q.exec("UPDATE \"7ji\" SET standard_backlash = '0.3125' WHERE rowid = 5"));
        EXPECT_TRUE(q.exec("UPDATE \"8ji\" SET worm_thickness_tol = '0.4321' WHERE rowid = 3"));
        EXPECT_TRUE(q.exec("UPDATE xiuyuan SET relief_ratio_above_63 = 0.8765 WHERE rowid = 2"));
        db.close();
    }
    QSqlDatabase::removeDatabase("manual-test");
    return path;
}

} // namespace

TEST(ManualTool, PrintsTheRulesOfTheDatabaseItIsGiven)
{
    QTemporaryDir dir;
    const QString database = distinctiveDatabase(dir.path());
    const ProcessResult r = run(kProgramDir + "/tools/tpworm-manual",
                      {"--sources", QStringLiteral(TPWORM_SOURCE_DIR "/data/manual"), "--database", database, "--output", dir.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString canshu = pdfText(dir.filePath("canshu.pdf"));
    const QString jingdu = pdfText(dir.filePath("jingdu.pdf"));
    EXPECT_TRUE(canshu.contains("0.5625")) << "the changed coefficient N5";
    EXPECT_TRUE(canshu.contains("0.8765")) << "the changed relief amount";
    EXPECT_TRUE(jingdu.contains("0.3125")) << "the changed standard backlash";
    EXPECT_TRUE(jingdu.contains("0.4321")) << "the changed tolerance";
    // The worked design follows the coefficients too: with N5 = 0.5625 the
    // wheel's arc tooth thickness is 0.5625 p = 16.100 instead of 15.743.
    const QString jishu = pdfText(dir.filePath("jishu.pdf"));
    EXPECT_TRUE(jishu.contains("16.1")) << "wheel tooth thickness from the changed N5";
    EXPECT_FALSE(jishu.contains("15.743"));
}

TEST(ManualTool, FailsWithoutWritingWhenItsInputsAreMissing)
{
    QTemporaryDir dir;
    const QString sources = QStringLiteral(TPWORM_SOURCE_DIR "/data/manual");
    struct Case {
        const char* what;
        QStringList arguments;
        const char* message;
    };
    const Case cases[] = {
        {"no database", {"--sources", sources, "--database", dir.filePath("absent.mdb"), "--output", dir.path()}, "not found"},
        {"no sources", {"--sources", dir.filePath("nowhere"), "--database", kProgramDir + "/db1.mdb", "--output", dir.path()},
         "not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProcessResult r = run(kProgramDir + "/tools/tpworm-manual", c.arguments);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("canshu.pdf")));
    }

    // A source with a placeholder the tool does not know is an error, not a
    // page with braces on it.
    QTemporaryDir broken;
    for (const char* name : {"canshu.html", "jishu.html", "jingdu.html", "tuzhi.html", "xiuxing.html", "example.ini"})
        QFile::copy(sources + "/" + name, broken.filePath(name));
    QFile::remove(broken.filePath("canshu.html"));
    QFile file(broken.filePath("canshu.html"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<p>{{coefficient_table}}</p>");
    file.close();
    const ProcessResult r = run(kProgramDir + "/tools/tpworm-manual",
                      {"--sources", broken.path(), "--database", kProgramDir + "/db1.mdb", "--output", dir.path()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("coefficient_table")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("canshu.pdf")));
}

TEST(HelpPage, ExplainsEveryCommandAndWindowOfTheProgram)
{
    QFile file(kProgramDir + "/help.htm");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll());

    ProgramFixture fx;
    tpworm::TForm1& f = fx.start();
    QStringList names;
    for (QAction* menu : f.menuBar()->actions()) {
        names << menu->text();
        for (QAction* item : menu->menu()->actions())
            names << item->text();
    }
    for (QToolButton* button : f.ToolBar1->findChildren<QToolButton*>())
        if (!button->toolTip().isEmpty())
            names << button->toolTip();
    for (QWidget* w : {static_cast<QWidget*>(f.Form2), static_cast<QWidget*>(f.Form5), static_cast<QWidget*>(f.Form6)})
        if (w && !w->windowTitle().isEmpty())
            names << w->windowTitle();
    names << f.Form7->Label1->text() << f.Label50->text() << f.CheckBox1->text() << f.CheckBox2->text()
          << f.SpeedButton2->toolTip() << f.SpeedButton3->toolTip() << f.SpeedButton4->toolTip();
    for (const QString& name : names)
        EXPECT_TRUE(help.contains(name.toHtmlEscaped())) << "not explained: " << name.toStdString();
}

TEST(VersionText, IsTheVersionOfThisProgram)
{
    QFile file(kProgramDir + "/v.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(tpworm::support::firstLine(file.readAll()), tpworm::kProductVersion.toUtf8());
}
