// tpworm-cli rules: a user's own table typed in a CSV file goes into a rules
// database, the next design uses it, and a file that is not a sound table is
// refused with its problems while the database stays byte for byte as it was.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_run.h"

#include <functional>

namespace {

using clitest::cli;
using clitest::CliResult;

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString programFile(const char* name) { return QFileInfo(QStringLiteral(TPWORM_CLI)).dir().filePath(name); }

// A rules database of its own and the 7ji table exported from it.
struct RulesCopy {
    QTemporaryDir dir;
    QString db = dir.filePath("rules.mdb");
    QList<QByteArray> lines; // the exported CSV, heading first
    RulesCopy()
    {
        QFile::copy(programFile("db1.mdb"), db);
        QFile(db).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const CliResult exported = cli({"rules", "export", "7ji", dir.filePath("7ji.csv"), "--rules", db});
        EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        lines = bytesOf(dir.filePath("7ji.csv")).split('\n');
        for (QByteArray& line : lines)
            line = line.trimmed();
        lines.removeAll(QByteArray());
    }
    QByteArray csv(const QList<QByteArray>& of) const { return of.join('\n') + '\n'; }
    CliResult design(const QString& rules, const char* a = "200")
    {
        return cli({"design", "--json", "--rules", rules, "--centre-distance", a, "--teeth", "40"});
    }
};

// Field k (0-based) of a CSV line replaced.
QByteArray withField(const QByteArray& line, int k, const QByteArray& value)
{
    QList<QByteArray> fields = line.trimmed().split(',');
    fields[k] = value;
    return fields.join(',');
}

} // namespace

TEST(CliRules, AnImportedTableServesTheNextDesignAndTravelsWithItsRuleSet)
{
    RulesCopy r;
    ASSERT_EQ(r.lines.size(), 17) << "heading and sixteen ranges";
    ASSERT_TRUE(r.lines[5].startsWith("160,250,0.02,")) << "the row of a = 200";
    QList<QByteArray> own = r.lines;
    own[5] = withField(withField(own[5], 2, "0.0444"), 15, "0.333");
    write(r.dir.filePath("own.csv"), r.csv(own));

    const CliResult imported = cli({"rules", "import", "7ji", r.dir.filePath("own.csv"), "--rules", r.db, "--source",
                              "本厂标准 Q/XX 7-2024", "--covers-upto", "2000"});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains("已把 16 行导入数据表 7ji"));

    // The grade look-up and the calculate command of the next design.
    const CliResult design = r.design(r.db);
    ASSERT_EQ(design.exitCode, 0) << design.err.toStdString();
    EXPECT_EQ(design.json["gradeTolerances"].toObject()["3"].toString(), "0.0444");
    EXPECT_EQ(design.json["fields"].toObject()["Edit8"].toString(), "0.333") << "the standard backlash";
    EXPECT_TRUE(design.json["calculated"].toBool());

    const CliResult show = cli({"rules", "show", "--rules", r.db});
    ASSERT_EQ(show.exitCode, 0);
    EXPECT_TRUE(show.out.contains("来源：本厂标准 Q/XX 7-2024"));
    EXPECT_TRUE(show.out.contains("来源覆盖的中心距：至 2000 mm"));
    EXPECT_TRUE(show.out.contains("xiuyuan（入口修缘量），17 行"));

    // A rule set is a whole copy: the table travels with it, and the default
    // set still holds the shipped values.
    const QString set = r.dir.filePath("mine.wrx");
    ASSERT_TRUE(QFile::copy(r.db, set));
    EXPECT_EQ(r.design(set).json["gradeTolerances"].toObject()["3"].toString(), "0.0444");
    const CliResult defaults = r.design(programFile("db1.wrx"));
    EXPECT_EQ(defaults.json["gradeTolerances"].toObject()["3"].toString(), "0.02");
    EXPECT_EQ(defaults.json["fields"].toObject()["Edit8"].toString(), "0.3");

    // Export gives back what was imported.
    ASSERT_EQ(cli({"rules", "export", "7ji", r.dir.filePath("again.csv"), "--rules", r.db}).exitCode, 0);
    EXPECT_EQ(bytesOf(r.dir.filePath("again.csv")).replace("\r\n", "\n"), r.csv(own));
}

TEST(CliRules, BadFilesAreRefusedWithRowAndColumnAndTheDatabaseStaysAsItWas)
{
    RulesCopy r;
    const QByteArray before = bytesOf(r.db);
    struct Case {
        const char* why;
        std::function<QByteArray(QList<QByteArray>)> file;
        const char* says;
    };
    const Case cases[] = {
        {"unsorted bounds",
         [&](QList<QByteArray> l) { l.swapItemsAt(4, 5); return r.csv(l); },
         "第 5 行，列 centre_distance_upto_mm：上限 160 须大于上一行的上限 250"},
        {"text in a numeric column",
         [&](QList<QByteArray> l) { l[2] = withField(l[2], 3, "abc"); return r.csv(l); },
         "第 2 行，列 worm_cumulative_pitch_tol：“abc”不是数字"},
        {"a missing column",
         [&](QList<QByteArray> l) {
             for (QByteArray& line : l)
                 line = line.left(line.lastIndexOf(','));
             return r.csv(l);
         },
         "列 standard_backlash：标题行缺少这一列"},
        {"an empty file", [](QList<QByteArray>) { return QByteArray(); }, "文件是空的"},
        {"a 10 MB file",
         [&](QList<QByteArray> l) { return r.csv(l).repeated(10 * 1024 * 1024 / r.csv(l).size() + 1); },
         "超过表格文件的上限"},
        {"a file that is not UTF-8",
         [&](QList<QByteArray> l) { l[3] = withField(l[3], 2, "\xd6\xd0"); return r.csv(l); },
         "文件第 4 行不是 UTF-8 编码的文字"},
        {"a short last range",
         [&](QList<QByteArray> l) { l.last() = withField(l.last(), 1, "5000"); return r.csv(l); },
         "第 16 行，列 centre_distance_upto_mm：最后一行的上限 5000 小于可输入的最大值 99999 mm"},
    };
    for (const Case& c : cases) {
        const QString file = r.dir.filePath("bad.csv");
        write(file, c.file(r.lines));
        const CliResult run = cli({"rules", "import", "7ji", file, "--rules", r.db});
        EXPECT_EQ(run.exitCode, 1) << c.why;
        EXPECT_TRUE(run.err.contains("计算法则数据库没有改变")) << c.why;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << c.why << "\n" << run.err.toStdString();
        EXPECT_EQ(bytesOf(r.db), before) << c.why;
    }
}

TEST(CliRules, OnlyTheRangeTablesAndSoundCommandLines)
{
    RulesCopy r;
    const CliResult coefficients = cli({"rules", "export", "nzhi", r.dir.filePath("n.csv"), "--rules", r.db});
    EXPECT_EQ(coefficients.exitCode, 1);
    EXPECT_TRUE(coefficients.err.contains("nzhi 不是可导入导出的数据表"));
    EXPECT_FALSE(QFile::exists(r.dir.filePath("n.csv")));
    EXPECT_EQ(cli({"rules", "export", "7ji"}).exitCode, 2);
    EXPECT_EQ(cli({"rules", "show", "--source", "x"}).exitCode, 2) << "--source belongs to import";
    EXPECT_EQ(cli({"rules", "import", "7ji", r.dir.filePath("7ji.csv"), "--covers-upto", "viel"}).exitCode, 2);
    const CliResult missing = cli({"rules", "show", "--rules", r.dir.filePath("none.mdb")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("不存在"));
}
