// The range tables as the user replaces them: the checks before a write, the
// one-transaction write with its source, CSV in both directions, and the
// texts that say where the tables come from.
#include "rules/rules_db.h"
#include "rules/rules_sources.h"
#include "rules/rules_tables.h"
#include "rules_testing.h"

#include <QDate>
#include <QTemporaryDir>

#include <functional>

using namespace tpworm;
using namespace tpworm::rules;
using namespace tpworm::testing;

namespace {

struct TablesFixture : ::testing::Test {
    QTemporaryDir dir;
    QString db = dir.filePath("rules.mdb");
    void SetUp() override { makeRulesCopy(db); }
    QString csv(const QByteArray& bytes, const QString& name = "in.csv")
    {
        const QString path = dir.filePath(name);
        writeBytes(path, bytes);
        return path;
    }
};

QStringList columnNames(const TableLayout& layout)
{
    QStringList names;
    for (const ColumnLayout& c : layout.columns)
        names << c.name;
    return names;
}

} // namespace

TEST_F(TablesFixture, SpecsNameEveryColumnWithItsUnitAndKeepTheStoredPositions)
{
    const TableLayout grade = readTableLayout(db, "7ji");
    EXPECT_TRUE(grade.numbered) << "ID is the row number, not a column the user edits";
    ASSERT_EQ(grade.columns.size(), 16) << "columns 1 to 16 of the look-up";
    EXPECT_EQ(grade.columns[0].kind, ColumnKind::LowerBound);
    EXPECT_EQ(grade.columns[1].kind, ColumnKind::UpperBound);
    EXPECT_EQ(grade.columns[0].heading, "中心距 大于 (mm)");
    // Columns 3 and 4 of the table: the worm's pitch items are circular
    // pitches for this worm, not the axial pitch of a cylindrical worm.
    EXPECT_EQ(grade.columns[2].heading, "蜗杆圆周齿距极限偏差 ±fpx (mm)");
    EXPECT_EQ(grade.columns[3].heading, "蜗杆圆周齿距累积公差 fpxl (mm)");
    EXPECT_EQ(grade.columns[15].heading, "标准侧隙 jn (mm)");
    for (int c = 2; c < 16; ++c) {
        EXPECT_EQ(grade.columns[c].kind, ColumnKind::Number) << c;
        EXPECT_TRUE(grade.columns[c].storedAsText) << "printed as stored";
        EXPECT_TRUE(grade.columns[c].heading.contains("(mm)")) << c;
    }
    EXPECT_EQ(grade.largestKey(), 99999.0L);

    const TableLayout lengths = readTableLayout(db, "xiuyuanchangdu");
    EXPECT_EQ(lengths.keyUnit, "teeth");
    EXPECT_EQ(lengths.largestKey(), 999.0L);
    EXPECT_EQ(lengths.columns[1].heading, "蜗轮齿数 至 (齿)");
    EXPECT_EQ(lengths.columns[2].kind, ColumnKind::Text) << "relief lengths are joined to text";
    EXPECT_FALSE(readTableLayout(db, "xiuyuan").columns[2].storedAsText) << "relief amounts are numbers";

    EXPECT_THROW(readTableLayout(db, "no_such_table"), RulesError);
}

TEST_F(TablesFixture, ATableOfUnknownColumnsTakesItsKindsFromTheDeclaredTypes)
{
    // Whatever the shipped database holds of these tables, ours stand in.
    runSql(db, {"DROP TABLE IF EXISTS friction", "DROP TABLE IF EXISTS rated_power",
                "CREATE TABLE friction (ID INTEGER PRIMARY KEY, speed_above REAL, speed_upto REAL, mu REAL, note TEXT)",
                "INSERT INTO friction VALUES (1, -1, 5, 0.05, 'a'), (2, 5, 99999, 0.03, 'b')",
                "UPDATE rules_sources SET key_unit = 'mm' WHERE table_name = 'friction'"});
    const TableLayout layout = readTableLayout(db, "friction");
    ASSERT_EQ(layout.columns.size(), 4);
    EXPECT_EQ(layout.columns[0].kind, ColumnKind::LowerBound) << "the key unit of rules_sources makes it a range table";
    EXPECT_EQ(layout.columns[2].kind, ColumnKind::Number);
    EXPECT_EQ(layout.columns[3].kind, ColumnKind::Text);
    EXPECT_TRUE(validateTable(layout, readTable(db, layout)).isEmpty());
    EXPECT_TRUE(findSource(readSources(db), "friction").has_value()) << "offered once it exists";

    // A table that is not a range table may be emptied, also from a file with
    // its heading only.
    runSql(db, {"CREATE TABLE rated_power (ID INTEGER PRIMARY KEY, centre_distance_mm REAL, rated_input_power_kw REAL)"});
    const TableLayout power = readTableLayout(db, "rated_power");
    EXPECT_FALSE(power.isRangeTable());
    QList<Problem> problems;
    const TableTexts none = csvToTable("centre_distance_mm,rated_input_power_kw\r\n", power, problems);
    EXPECT_TRUE(problems.isEmpty());
    EXPECT_TRUE(validateTable(power, none).isEmpty());
    EXPECT_FALSE(findSource(readSources(db), "rated_power")->referenceValues) << "ships empty: nothing of ours";
    const QString without = dir.filePath("without.mdb");
    makeRulesCopy(without, {"DROP TABLE IF EXISTS friction"});
    EXPECT_FALSE(findSource(readSources(without), "friction").has_value()) << "a row in rules_sources alone offers no table";
}

TEST_F(TablesFixture, ShippedTablesPassTheirOwnChecks)
{
    for (const TableSource& s : readSources(db)) {
        const TableLayout layout = readTableLayout(db, s.table);
        EXPECT_TRUE(validateTable(layout, readTable(db, layout)).isEmpty()) << s.table.toStdString();
    }
}

TEST_F(TablesFixture, ValidationNamesEveryProblemWithItsRowAndColumn)
{
    const TableLayout layout = readTableLayout(db, "xiuyuanchangdu");
    const TableTexts good = readTable(db, layout);
    struct Case {
        const char* why;
        std::function<void(TableTexts&)> change;
        int row;
        const char* column;
        const char* says;
    };
    const Case cases[] = {
        {"an upper bound not above the one before", [](TableTexts& d) { d.rows[2][1] = "28"; }, 3, "wheel_teeth_upto", "须大于上一行的上限"},
        {"a gap between two ranges", [](TableTexts& d) { d.rows[3][0] = "36"; }, 4, "wheel_teeth_above", "不能有空档或重叠"},
        {"a range whose start is not below its end", [](TableTexts& d) { d.rows[0][0] = "25"; }, 1, "wheel_teeth_above", "须小于本行的上限"},
        {"a bound that is text", [](TableTexts& d) { d.rows[4][1] = "四十五"; }, 5, "wheel_teeth_upto", "“四十五”不是数字"},
        {"a last range short of 999 teeth", [](TableTexts& d) { d.rows.last()[1] = "200"; }, 13, "wheel_teeth_upto", "999"},
        {"an empty relief length", [](TableTexts& d) { d.rows[1][3] = " "; }, 2, "exit_relief_length", "不能为空"},
        {"a row with a value missing", [](TableTexts& d) { d.rows[6].removeLast(); }, 7, "", "有 3 个值"},
    };
    for (const Case& c : cases) {
        TableTexts data = good;
        c.change(data);
        const QList<Problem> problems = validateTable(layout, data);
        ASSERT_FALSE(problems.isEmpty()) << c.why;
        const bool named = std::any_of(problems.begin(), problems.end(), [&](const Problem& p) {
            return p.row == c.row && p.column == c.column && p.message.contains(QString::fromUtf8(c.says));
        });
        EXPECT_TRUE(named) << c.why << ": " << problems.first().text().toStdString();
    }
    EXPECT_EQ(validateTable(layout, TableTexts{}).size(), 1) << "a range table without rows";

    // A first range may start below zero; a tolerance carries no sign, since
    // the parameter tables put "±", "-" or "+" in front of it.
    const TableLayout grade = readTableLayout(db, "7ji");
    TableTexts signedValue = readTable(db, grade);
    signedValue.rows[0][0] = "-5";
    signedValue.rows[0][2] = "-0.01";
    const QList<Problem> sign = validateTable(grade, signedValue);
    ASSERT_EQ(sign.size(), 1);
    EXPECT_EQ(sign[0].column, "worm_pitch_deviation");
    EXPECT_TRUE(sign[0].message.contains("不带正负号"));

    // Every problem is listed, not only the first.
    TableTexts many = good;
    many.rows[0][2] = "";
    many.rows[5][1] = "x";
    many.rows.last()[1] = "150.5";
    EXPECT_GE(validateTable(layout, many).size(), 3);
}

TEST_F(TablesFixture, WriteReplacesTheTableAndItsSourceInOneTransaction)
{
    const TableLayout layout = readTableLayout(db, "7ji");
    TableTexts data = readTable(db, layout);
    data.rows.removeAt(1); // rows 1 and 2 merge into one range
    data.rows[0][1] = "80";
    data.rows[0][2] = "0.0111";
    SourceUpdate source{"Q/XX 12-2020 本厂标准", false, std::nullopt, 1600.0L};
    ASSERT_TRUE(writeTable(db, layout, data, source).isEmpty());

    EXPECT_EQ(readTable(db, layout), data);
    EXPECT_EQ(queryValue(db, "SELECT worm_pitch_deviation FROM \"7ji\" WHERE ID = 1").toString(), "0.0111");
    EXPECT_EQ(queryValue(db, "SELECT typeof(worm_pitch_deviation) FROM \"7ji\" WHERE ID = 1").toString(), "text");
    EXPECT_EQ(queryValue(db, "SELECT typeof(centre_distance_upto_mm) FROM \"7ji\" WHERE ID = 1").toString(), "real");
    EXPECT_EQ(queryValue(db, "SELECT max(ID) FROM \"7ji\"").toInt(), 15) << "rows renumbered in order";
    const TableSource s = *findSource(readSources(db), "7ji");
    EXPECT_EQ(s.source, "Q/XX 12-2020 本厂标准");
    EXPECT_FALSE(s.referenceValues);
    EXPECT_EQ(s.changed, QDate::currentDate().toString(Qt::ISODate));
    EXPECT_EQ(s.coversUpto, 1600.0L);
    EXPECT_FALSE(s.coversAbove);
    CheckRulesDatabase(db); // still a database the program can use

    // A refused table never opens the file for writing.
    const QByteArray before = fileBytes(db);
    data.rows[3][1] = "1";
    EXPECT_FALSE(writeTable(db, layout, data, source).isEmpty());
    EXPECT_EQ(fileBytes(db), before);
}

TEST_F(TablesFixture, ARuleSetWithoutSourcesGetsTheTableOnItsFirstWrite)
{
    runSql(db, {"DROP TABLE rules_sources"});
    for (const TableSource& s : readSources(db))
        EXPECT_FALSE(s.recorded) << s.table.toStdString();
    EXPECT_TRUE(referenceNotice(readSources(db)).details.contains("来源未记录"));
    const TableLayout layout = readTableLayout(db, "8ji");
    SourceUpdate source;
    source.source = "GB/T16445-1996 表 3";
    ASSERT_TRUE(writeTable(db, layout, readTable(db, layout), source).isEmpty());
    EXPECT_TRUE(findSource(readSources(db), "8ji")->recorded);
    EXPECT_EQ(findSource(readSources(db), "8ji")->keyUnit, "mm");
}

TEST_F(TablesFixture, CsvRoundTripsEveryTable)
{
    for (const QString table : {"6ji", "xiuyuan", "xiuyuanchangdu"}) {
        const TableLayout layout = readTableLayout(db, table);
        const TableTexts data = readTable(db, layout);
        const QByteArray bytes = tableToCsv(layout, data);
        EXPECT_TRUE(bytes.startsWith(columnNames(layout).join(',').toUtf8() + "\r\n")) << "a heading line of column names";
        QList<Problem> problems;
        EXPECT_EQ(csvToTable(bytes, layout, problems), data) << table.toStdString();
        EXPECT_TRUE(problems.isEmpty());
    }
}

TEST_F(TablesFixture, CsvReadsWhatSpreadsheetsWrite)
{
    const TableLayout layout = readTableLayout(db, "xiuyuanchangdu");
    // A byte-order mark, columns in another order, quoted fields with a
    // comma and a doubled quote, LF line ends and a blank line at the end.
    const QByteArray bytes = "\xEF\xBB\xBF" "wheel_teeth_upto,wheel_teeth_above,exit_relief_length,entry_relief_length\n"
                             "40,-1,\"3,5°\",\"7\"\"\"\n"
                             "999,40,2°,5°\n\n";
    QList<Problem> problems;
    const TableTexts data = csvToTable(bytes, layout, problems);
    ASSERT_TRUE(problems.isEmpty()) << problems.first().text().toStdString();
    ASSERT_EQ(data.rows.size(), 2);
    EXPECT_EQ(data.rows[0], QStringList({"-1", "40", "7\"", "3,5°"}));
    EXPECT_TRUE(validateTable(layout, data).isEmpty());
    // Written back, the comma and the quote are quoted again.
    EXPECT_TRUE(tableToCsv(layout, data).contains("\"7\"\"\",\"3,5°\""));
}

TEST_F(TablesFixture, SourcesTextsTellReferenceValuesAndTheCoveredRange)
{
    const QList<TableSource> shipped = readSources(db);
    const Notice notice = referenceNotice(shipped);
    EXPECT_EQ(notice.line, "表格数据为参考值");
    for (const char* table : {"6ji", "7ji", "8ji", "xiuyuan", "xiuyuanchangdu"}) {
        ASSERT_TRUE(findSource(shipped, table)) << table;
        EXPECT_TRUE(findSource(shipped, table)->referenceValues) << table;
        EXPECT_TRUE(notice.details.contains(QString::fromUtf8(table) + "（")) << table;
    }
    // The friction table cites its handbook; the rated powers ship empty.
    for (const char* table : {"friction", "rated_power"}) {
        if (const auto s = findSource(shipped, table)) {
            EXPECT_FALSE(s->referenceValues) << table;
        }
    }

    const TableSource grade = *findSource(shipped, "7ji");
    EXPECT_EQ(grade.coversUpto, 1250.0L);
    EXPECT_FALSE(rangeWarning(grade, 1250).shown()) << "the last distance the source covers";
    const Notice beyond = rangeWarning(grade, 1250.5L);
    EXPECT_TRUE(beyond.shown());
    EXPECT_EQ(beyond.line, "超出精度表来源范围");
    EXPECT_TRUE(beyond.details.contains("（至 1250 mm）"));
    EXPECT_TRUE(beyond.details.contains("计算照常进行"));
    TableSource below = grade;
    below.coversAbove = 80;
    EXPECT_TRUE(rangeWarning(below, 80).shown()) << "the lower bound is excluded";

    const QString summary = provenanceSummary(db);
    EXPECT_FALSE(summary.contains('\n')) << "one line";
    EXPECT_TRUE(summary.startsWith("计算法则数据库 rules.mdb："));
    EXPECT_TRUE(summary.contains("6ji、7ji、8ji、xiuyuan、xiuyuanchangdu 为随程序提供的参考值"));
    const QString text = rulesSourcesText(db);
    EXPECT_TRUE(text.contains("7ji（7 级精度公差与标准侧隙），16 行，修改于 2026-12-10"));
    EXPECT_TRUE(text.contains("来源覆盖的中心距：至 1250 mm"));

    // Once every table has a source of the user's, nothing is shown.
    runSql(db, {"UPDATE rules_sources SET reference_values = 0, source = '本厂标准'"});
    EXPECT_FALSE(referenceNotice(readSources(db)).shown());
    EXPECT_TRUE(provenanceSummary(db).contains("7ji 来源“本厂标准”"));
    EXPECT_TRUE(provenanceSummary(dir.filePath("missing.mdb")).contains("无法读取"));
}

TEST_F(TablesFixture, AWriteThatFailsPartWayLeavesTheTableAsItWas)
{
    // The rows are replaced first, the source row last: refusing the last
    // statement shows that the rows go back as well.
    runSql(db, {"CREATE TRIGGER refuse BEFORE INSERT ON rules_sources BEGIN SELECT RAISE(ABORT, 'refused here'); END"});
    const TableLayout layout = readTableLayout(db, "xiuyuan");
    const TableTexts before = readTable(db, layout);
    TableTexts changed = before;
    changed.rows[0][2] = "0.33";
    SourceUpdate source;
    source.source = "本厂经验";
    try {
        writeTable(db, layout, changed, source);
        ADD_FAILURE() << "the write was refused";
    } catch (const RulesError& error) {
        EXPECT_TRUE(QString::fromStdString(error.what()).contains("refused here"));
    }
    EXPECT_EQ(readTable(db, layout), before);
    EXPECT_TRUE(findSource(readSources(db), "xiuyuan")->referenceValues);
}
