// tpworm-cli batch run as a script runs it: against tpworm-cli design, and on
// malformed input.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

CliRun cli(const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess p;
    p.start(QStringLiteral(TPWORM_CLI), arguments);
    p.write(input);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(100000));
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

QList<QJsonObject> lines(const QByteArray& out)
{
    QList<QJsonObject> objects;
    for (const QByteArray& line : out.split('\n'))
        if (!line.isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    return objects;
}

// Designs of every kind: valid and faulty drive data, all grades, whole
// teeth on and off, standard backlash on and off, overrides.
struct Row {
    QString a, teeth, starts, grade, backlash, whole, edit5, edit8, edit13;
};

std::vector<Row> generatedRows(int count)
{
    QRandomGenerator rng(11);
    const QStringList distances = {"100", "160", "250", "315", "400", "63", "1000", "", "25O", "-40", "250.5"};
    const QStringList teeth = {"40", "45", "31", "80", "29", "61", "", "4x", "0"};
    const QStringList starts = {"1", "2", "3", "4", "", "0"};
    const QStringList overrides = {"", "", "", "150", "abc", "0"};
    std::vector<Row> rows;
    for (int k = 0; k < count; ++k) {
        Row r;
        r.a = distances[rng.bounded(distances.size())];
        r.teeth = teeth[rng.bounded(teeth.size())];
        r.starts = starts[rng.bounded(starts.size())];
        r.grade = QString::number(6 + rng.bounded(3));
        r.backlash = rng.bounded(2) ? "yes" : "no";
        r.whole = rng.bounded(2) ? "yes" : "no";
        r.edit5 = overrides[rng.bounded(overrides.size())];
        r.edit8 = rng.bounded(4) == 0 ? "0.2" : "";
        r.edit13 = rng.bounded(5) == 0 ? "1" : "";
        rows.push_back(r);
    }
    return rows;
}

QStringList designArguments(const Row& r)
{
    QStringList args{"design", "--json", "--centre-distance", r.a, "--teeth", r.teeth, "--grade", r.grade};
    if (!r.starts.isEmpty())
        args << "--starts" << r.starts;
    if (r.backlash == "no")
        args << "--no-standard-backlash";
    if (r.whole == "yes")
        args << "--whole-teeth";
    if (!r.edit5.isEmpty())
        args << "Edit5=" + r.edit5;
    if (!r.edit8.isEmpty())
        args << "Edit8=" + r.edit8;
    if (!r.edit13.isEmpty())
        args << "Edit13=" + r.edit13;
    return args;
}

TEST(Batch, AgreesWithDesignForEveryRow)
{
    const std::vector<Row> rows = generatedRows(300);
    QByteArray csv = "centre_distance,teeth,starts,grade,standard_backlash,whole_teeth,Edit5,Edit8,Edit13\n";
    for (const Row& r : rows)
        csv += QStringList{r.a, r.teeth, r.starts, r.grade, r.backlash, r.whole, r.edit5, r.edit8, r.edit13}
                   .join(',').toUtf8() + "\n";
    const CliRun batch = cli({"batch", "-"}, csv);
    const QList<QJsonObject> records = lines(batch.out);
    ASSERT_EQ(records.size(), int(rows.size())) << batch.err.toStdString();
    int calculated = 0;
    bool anyFailed = false;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        QJsonObject record = records[int(k)];
        EXPECT_EQ(record.take("row").toInteger(), qint64(k + 1));
        const CliRun design = cli(designArguments(rows[k]));
        EXPECT_EQ(record, QJsonDocument::fromJson(design.out).object()) << "row " << k + 1;
        calculated += record["calculated"].toBool();
        anyFailed = anyFailed || design.exitCode != 0;
    }
    // The generator must exercise both outcomes.
    EXPECT_GT(calculated, 30);
    EXPECT_LT(calculated, int(rows.size()) - 30);
    EXPECT_EQ(batch.exitCode, anyFailed ? 1 : 0);
}

TEST(Batch, CsvOutputHasOneLinePerRowWithNamedResults)
{
    const CliRun r = cli({"batch", "--format", "csv", "-"},
                      "centre_distance,teeth,starts\r\n250,45,2\r\n250,45,x\r\n");
    EXPECT_EQ(r.exitCode, 1);
    const QList<QByteArray> out = r.out.split('\n');
    ASSERT_GE(out.size(), 3);
    const QList<QByteArray> header = out[0].split(',');
    const QList<QByteArray> first = out[1].split(',');
    ASSERT_EQ(header.size(), first.size());
    EXPECT_EQ(first[header.indexOf("calculated")], "yes");
    EXPECT_EQ(first[header.indexOf("worm_root_arc_radius")], "210.667");
    EXPECT_EQ(first[header.indexOf("Edit5")], "155");
    EXPECT_TRUE(out[2].contains(",no,")) << out[2].toStdString();
    EXPECT_TRUE(out[2].contains("参数输入不合法")) << out[2].toStdString();
}

struct BadInput {
    const char* what;
    QByteArray csv;
    int exitCode;
    int records;     // JSON lines written
    const char* err; // part of the message on standard error
};

TEST(Batch, BadInputIsNamedByRowAndColumn)
{
    const QByteArray longField(1000 * 1000, '1');
    const BadInput cases[] = {
        {"empty file", "", 1, 0, "the input is empty"},
        {"header only", "centre_distance,teeth\n", 0, 0, "no rows"},
        {"missing column", "centre_distance,teeth,starts\n250,45\n250,45,2\n", 1, 2, "row 1 (line 2), column starts: missing"},
        {"extra column", "centre_distance,teeth\n250,45,2\n", 1, 1, "row 1 (line 2), column 3: extra field"},
        {"grade not a number", "centre_distance,teeth,grade\n250,45,seven\n250,45,8\n", 1, 2, "column grade: \"seven\" is not a grade"},
        {"1 MB field", "centre_distance,teeth\n" + longField + ",45\n250,45\n", 1, 2, "column centre_distance: the field is longer than"},
        {"unknown column", "centre_distance,teeth,colour\n250,45,red\n", 1, 0, "unknown column \"colour\""},
        {"required column missing", "centre_distance,starts\n250,2\n", 1, 0, "the column teeth is missing"},
        {"unclosed quote", "centre_distance,teeth\n\"250,45\n", 1, 1, "not closed"},
        {"not UTF-8", "centre_distance,teeth\n250,4\xb5\n", 1, 1, "column teeth: the field is not UTF-8"},
    };
    for (const BadInput& c : cases) {
        const CliRun r = cli({"batch", "-"}, c.csv);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what;
        EXPECT_EQ(lines(r.out).size(), c.records) << c.what;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << c.what << ": " << r.err.toStdString();
    }
}

TEST(Batch, ByteOrderMarkAndCrlfReadAsPlainLf)
{
    const CliRun plain = cli({"batch", "-"}, "centre_distance,teeth,starts\n250,45,2\n160,40,1\n");
    const CliRun marked = cli({"batch", "-"}, "\xef\xbb\xbf\"centre_distance\",teeth,starts\r\n250,\"45\",2\r\n160,40,1");
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(marked.exitCode, 0);
    EXPECT_EQ(plain.out, marked.out);
    EXPECT_EQ(lines(plain.out).size(), 2);
}

// The batch runs with no display and never maps the window libraries, nor
// the export back ends' (LibreOffice's UNO libraries, libgsf with GObject),
// whose loading was most of a short run's time: read its memory map while it
// waits for input.
TEST(Batch, RunsWithoutDisplayAndWithoutWidgets)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TPWORM_CLI), {"batch", "-"});
    ASSERT_TRUE(p.waitForStarted());
    // The rules are read (the SQLite driver is loaded) before the input is:
    // by then every library the command uses is mapped.
    QByteArray map;
    for (int k = 0; k < 200 && !map.contains("qsqlite"); ++k) {
        QThread::msleep(50);
        QFile maps(QStringLiteral("/proc/%1/maps").arg(p.processId()));
        ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
        map = maps.readAll();
    }
    ASSERT_TRUE(map.contains("qsqlite")) << "the rules were never read";
    p.write("centre_distance,teeth,starts\n250,45,2\n");
    EXPECT_TRUE(map.contains("libQt6Core")) << "the map was not read";
    EXPECT_FALSE(map.contains("libQt6Widgets"));
    EXPECT_FALSE(map.contains("libQt6Gui"));
    EXPECT_FALSE(map.contains("libuno_")) << "the LibreOffice backend's libraries are mapped";
    EXPECT_FALSE(map.contains("libgsf")) << "the workbook reader's libraries are mapped";
    EXPECT_FALSE(map.contains("libgobject")) << "the workbook reader's libraries are mapped";
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
}

} // namespace

namespace {

// The sweep runs the series x starts x grades, in that nesting, as the
// equivalent CSV runs through batch.
TEST(Sweep, IsTheBatchOfTheSeriesTimesStartsTimesGrades)
{
    const CliRun sweep = cli({"sweep", "--teeth", "45", "--starts", "1,2", "--grades", "6,8", "--from", "200", "--to", "250"});
    QByteArray csv = "centre_distance,teeth,starts,grade\n";
    for (const char* a : {"200", "224", "250"})
        for (const char* z1 : {"1", "2"})
            for (const char* grade : {"6", "8"})
                csv += QByteArray(a) + ",45," + z1 + "," + grade + "\n";
    const CliRun batch = cli({"batch", "-"}, csv);
    EXPECT_EQ(lines(sweep.out).size(), 12);
    EXPECT_EQ(sweep.out, batch.out);
    EXPECT_EQ(sweep.exitCode, batch.exitCode);

    // A ratio fixes the teeth per number of starts; 22.5 x 1 is no whole number.
    const CliRun ratio = cli({"sweep", "--ratio", "22.5", "--starts", "1,2,4", "--from", "250", "--to", "250"});
    const QList<QJsonObject> records = lines(ratio.out);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0]["fields"].toObject()["Edit3"].toString(), "45");
    EXPECT_EQ(records[1]["fields"].toObject()["Edit3"].toString(), "90");
    EXPECT_TRUE(ratio.err.contains("ratio 22.5 with 1 starts gives no whole number of teeth")) << ratio.err.toStdString();

    EXPECT_EQ(cli({"sweep", "--starts", "1"}).exitCode, 2);
    EXPECT_EQ(cli({"sweep", "--teeth", "45", "--grades", "9"}).exitCode, 2);
}

} // namespace

namespace {

// ---- The drive check under a duty ----------------------------------------------

struct DutyCase {
    const char* what;
    QStringList duty;      // the options as rate takes them
    QList<QStringList> rows; // centre_distance, teeth, starts, grade, whole_teeth
};

QStringList rateArguments(const QStringList& row, const QStringList& duty)
{
    QStringList args{"rate", "--json", "--centre-distance", row[0], "--teeth", row[1], "--starts", row[2],
                     "--grade", row[3]};
    if (row[4] == "yes")
        args << "--whole-teeth";
    return args + duty;
}

// Each calculated design carries exactly the rate --json document (its
// `rating` object included, and a check's problem among the messages);
// the CSV's rating columns hold the same values, empty for a design that
// was not checked.
TEST(BatchDuty, EachDesignIsCheckedAsRateChecksIt)
{
    const DutyCase cases[] = {
        {"the default material pair",
         {"--power", "5", "--speed", "1450"},
         {{"250", "45", "2", "7", "no"}, {"315", "80", "2", "7", "yes"}, {"25O", "40", "1", "7", "no"}}},
        {"a typed friction that locks a single start",
         {"--power", "2.2", "--speed", "960", "--friction", "0.09"},
         {{"100", "40", "1", "6", "no"}, {"160", "31", "1", "8", "yes"}}},
        {"cast iron, a given housing, a hot room",
         {"--power", "15", "--speed", "1450", "--material", "iron-iron", "--housing-area", "0.8", "--ambient",
          "35", "--oil-limit", "75", "--heat-transfer", "10", "--other-efficiency", "0.94"},
         {{"400", "61", "3", "8", "yes"}, {"200", "50", "1", "7", "no"}}},
        {"a friction so large that the check cannot run",
         {"--power", "5", "--speed", "1450", "--friction", "40"},
         {{"250", "45", "2", "7", "no"}}},
    };
    for (const DutyCase& c : cases) {
        QByteArray csv = "centre_distance,teeth,starts,grade,whole_teeth\n";
        for (const QStringList& row : c.rows)
            csv += row.join(',').toUtf8() + "\n";
        const CliRun jsonl = cli(QStringList{"batch"} + c.duty + QStringList{"-"}, csv);
        const CliRun table = cli(QStringList{"batch", "--format", "csv"} + c.duty + QStringList{"-"}, csv);
        const QList<QJsonObject> records = lines(jsonl.out);
        const QList<QByteArray> csvLines = table.out.trimmed().split('\n');
        ASSERT_EQ(records.size(), c.rows.size()) << c.what << jsonl.err.toStdString();
        ASSERT_EQ(csvLines.size(), c.rows.size() + 1) << c.what;
        const QList<QByteArray> header = csvLines[0].split(',');
        const QStringList ratingColumns{"efficiency", "output_torque", "oil_temperature", "thermal_ok",
                                        "self_locking", "service_factor"};
        EXPECT_EQ(header.mid(header.size() - 6), (QList<QByteArray>{"efficiency", "output_torque", "oil_temperature",
                                                                     "thermal_ok", "self_locking", "service_factor"}));
        bool allRated = true;
        for (int k = 0; k < c.rows.size(); ++k) {
            const CliRun rate = cli(rateArguments(c.rows[k], c.duty));
            const QJsonObject expected = QJsonDocument::fromJson(rate.out).object();
            QJsonObject record = records[k];
            EXPECT_EQ(record.take("row").toInteger(), k + 1);
            EXPECT_EQ(record, expected) << c.what << ", row " << k + 1;
            allRated = allRated && rate.exitCode == 0;

            // The CSV cells (no quoted fields among the last ones).
            const QList<QByteArray> cells = csvLines[k + 1].split(',');
            const QList<QByteArray> last = cells.mid(cells.size() - 6);
            const QJsonValue rating = expected["rating"];
            if (rating.isNull()) {
                EXPECT_EQ(last, QList<QByteArray>(6)) << c.what << ", row " << k + 1 << ": empty cells";
                continue;
            }
            const QJsonObject r = rating.toObject();
            for (int n = 0; n < 3; ++n) {
                const double value = r[ratingColumns[n]].toDouble();
                EXPECT_NEAR(last[n].toDouble(), value, 1e-13 * std::fabs(value)) << c.what << " " << ratingColumns[n].toStdString();
            }
            EXPECT_EQ(last[3], r["thermal_ok"].toBool() ? "yes" : "no") << c.what;
            EXPECT_EQ(last[4], r["self_locking"].toBool() ? "yes" : "no") << c.what;
            EXPECT_EQ(last[5], "") << "no rated-power table is shipped";
        }
        EXPECT_EQ(jsonl.exitCode, allRated ? 0 : 1) << c.what;
        EXPECT_EQ(table.exitCode, jsonl.exitCode) << c.what;
    }
}

TEST(BatchDuty, CasesCoverBothVerdicts)
{
    // The cases above must reach a self-locking drive, a failed heat check
    // and a check that could not run; rate decides, read it back here.
    const QJsonObject locked = QJsonDocument::fromJson(
        cli(rateArguments({"100", "40", "1", "6", "no"}, {"--power", "2.2", "--speed", "960", "--friction", "0.09"})).out)
                                   .object()["rating"].toObject();
    EXPECT_TRUE(locked["self_locking"].toBool());
    const QJsonObject hot = QJsonDocument::fromJson(
        cli(rateArguments({"400", "61", "3", "8", "yes"},
                          {"--power", "15", "--speed", "1450", "--material", "iron-iron", "--housing-area", "0.8",
                           "--ambient", "35", "--oil-limit", "75", "--heat-transfer", "10", "--other-efficiency", "0.94"}))
            .out).object()["rating"].toObject();
    EXPECT_FALSE(hot["thermal_ok"].toBool());
    EXPECT_TRUE(QJsonDocument::fromJson(cli(rateArguments({"250", "45", "2", "7", "no"},
                                                           {"--power", "5", "--speed", "1450", "--friction", "40"})).out)
                    .object()["rating"].isNull());
}

TEST(BatchDuty, ABadDutyIsAUsageErrorWithRatesMessage)
{
    const QByteArray csv = "centre_distance,teeth\n250,45\n";
    struct Bad { QStringList arguments; const char* message; };
    const Bad cases[] = {
        {{"batch", "--power", "0", "--speed", "1450", "-"}, "输入功率 P1：必须大于 0（现为 0）"},
        {{"batch", "--speed", "1450", "-"}, "输入功率 P1：不能为空"},
        {{"batch", "--power", "5", "--speed", "1450", "--other-efficiency", "1.2", "-"}, "不能大于 1"},
        {{"sweep", "--teeth", "45", "--power", "5", "--speed", "fast"}, "蜗杆转速 n1：“fast”不是合法数字"},
        {{"batch", "--power", "5", "--speed", "1450", "--oil-limit"}, "--oil-limit needs a value"},
        {{"batch", "--power", "5", "--speed", "1450", "--oil-limit", "-"}, "允许油温 tlim：“-”不是合法数字"},
    };
    for (const Bad& c : cases) {
        const CliRun r = cli(c.arguments, csv);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_TRUE(r.out.isEmpty()) << c.message;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
}

TEST(BatchDuty, TakesTheDutyOptionsAsRateReadsThem)
{
    // One reader of the duty options serves rate, report, batch and sweep:
    // the pair by either spelling, and a pair named after a typed friction
    // takes the table again.
    const QByteArray csv = "centre_distance,teeth,starts\n250,45,2\n";
    const QStringList duty{"batch", "--power", "5", "--speed", "1450"};
    const CliRun iron = cli(duty + QStringList{"--material", "iron-iron", "-"}, csv);
    ASSERT_EQ(iron.exitCode, 0) << iron.err.toStdString();
    EXPECT_NE(cli(duty + QStringList{"-"}, csv).out, iron.out) << "the default pair is steel-bronze";
    for (const QStringList& spelling : {QStringList{"--material-pair", "iron-iron"},
                                        QStringList{"--friction", "0.05", "--material", "iron-iron"}})
        EXPECT_EQ(cli(duty + spelling + QStringList{"-"}, csv).out, iron.out) << spelling.join(' ').toStdString();
    EXPECT_NE(cli(duty + QStringList{"--material", "iron-iron", "--friction", "0.05", "-"}, csv).out, iron.out)
        << "a friction typed after the pair replaces the table";
}

TEST(BatchDuty, SweepChecksEveryDesignAsBatchDoes)
{
    const QStringList duty{"--power", "7.5", "--speed", "1000"};
    const CliRun sweep = cli(QStringList{"sweep", "--teeth", "45", "--starts", "1,2", "--from", "200", "--to", "224"} + duty);
    QByteArray csv = "centre_distance,teeth,starts\n";
    for (const char* a : {"200", "224"})
        for (const char* z1 : {"1", "2"})
            csv += QByteArray(a) + ",45," + z1 + "\n";
    const CliRun batch = cli(QStringList{"batch"} + duty + QStringList{"-"}, csv);
    EXPECT_EQ(sweep.out, batch.out);
    const QList<QJsonObject> records = lines(sweep.out);
    ASSERT_EQ(records.size(), 4);
    for (const QJsonObject& r : records)
        EXPECT_TRUE(r["rating"].isObject());
}

} // namespace
