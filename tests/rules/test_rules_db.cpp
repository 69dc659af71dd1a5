// The widget-free rules access: range search, coefficient load, the check of
// a rule-set file and the atomic file replacement.
#include "rules/rules_db.h"
#include "rules_testing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace tpworm;
using namespace tpworm::rules;
using namespace tpworm::testing;

namespace {

QString stringFor(const QString& path) { return connectionString(kConnectionPrefix, path); }

// A table "r" whose column 2 holds the given bounds, in stored order.
void makeRangeTable(const QString& path, const QStringList& bounds)
{
    QStringList sql{QStringLiteral("CREATE TABLE r (ID INTEGER, lower REAL, upper)")};
    for (int k = 0; k < bounds.size(); ++k)
        sql << QStringLiteral("INSERT INTO r VALUES (%1, 0, %2)").arg(k).arg(bounds[k]);
    runSql(path, sql);
}

int search(const QString& path, long double key)
{
    RulesConnection connection;
    connection.SetConnectionString(stringFor(path));
    connection.Open();
    RulesTable table(connection, QStringLiteral("r"));
    table.Open();
    return table.RangeSearch(key);
}

} // namespace

TEST(RangeSearch, FindsTheFirstRowWhoseUpperBoundReachesTheKey)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.db");
    // Stored order matters, not the ID: rows are inserted as listed.
    makeRangeTable(path, {"10", "20", "'30'"});
    struct Case {
        long double key;
        int row;
        const char* why;
    };
    const Case cases[] = {
        {-5.0L, 0, "below every bound: the first row"},
        {10.0L, 0, "equal to a bound: that row, not the next"},
        {10.0001L, 1, "just above a bound: the next row"},
        {20.0L, 1, "equal to the second bound"},
        {29.999L, 2, "a bound stored as text reads as a number"},
        {30.0L, 2, "equal to the last bound"},
        {1e9L, 2, "above every bound: stops at the last row"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(search(path, c.key), c.row) << c.why << " (key " << double(c.key) << ")";
}

TEST(RangeSearch, EmptyTablesAndNonNumericBoundsAreErrors)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.db");
    makeRangeTable(empty, {});
    EXPECT_THROW(search(empty, 1.0L), RulesError);

    const QString bad = dir.filePath("bad.db");
    makeRangeTable(bad, {"10", "'zwanzig'", "30"});
    EXPECT_EQ(search(bad, 5.0L), 0) << "the bad row is not reached";
    EXPECT_THROW(search(bad, 15.0L), RulesError);
}

TEST(ConnectionString, CarriesThePathBetweenPrefixAndSuffix)
{
    const QString path = QStringLiteral("/opt/tp worm/db1.mdb");
    const QString text = connectionString(kConnectionPrefix, path);
    EXPECT_TRUE(text.startsWith(kConnectionPrefix));
    EXPECT_EQ(dataSource(text), path);
}

TEST(RulesConnection, NeverCreatesAMissingDatabase)
{
    QTemporaryDir dir;
    RulesConnection connection;
    connection.SetConnectionString(stringFor(dir.filePath("db1.mdb")));
    EXPECT_THROW(connection.Open(), RulesError);
    EXPECT_FALSE(QFile::exists(dir.filePath("db1.mdb")));
}

// ---- Coefficient load ---------------------------------------------------------

namespace {

struct LoadResult {
    bool failed = false;
    bool differs = false;
    Coefficients values;
};

// Loads from the database at path into entries that start at -1, so that
// entries a failed load did not reach stay recognisable.
LoadResult load(const QString& path)
{
    RulesConnection connection;
    RulesTable nzhi(connection, QStringLiteral("nzhi"));
    LoadResult result;
    result.values.fill(-1.0);
    try {
        LoadCoefficients(connection, nzhi, stringFor(path), result.values, result.differs);
    } catch (const RulesError&) {
        result.failed = true;
    }
    EXPECT_FALSE(connection.IsOpen()) << "the connection is closed after the load";
    EXPECT_FALSE(nzhi.IsOpen()) << "the table is closed after the load";
    return result;
}

const Coefficients kShippedDefaults{0.875, 1.2, 1, 0.5, 0, 0.55, 2, 0, 0.15, 0.5, 0.5, 1, 0.5, 1, 0.9, 9};

} // namespace

TEST(CoefficientLoad, ReadsColumnTwoOfTheRowsInStoredOrder)
{
    QTemporaryDir dir;
    const QString same = dir.filePath("same.mdb");
    makeRulesCopy(same);
    const LoadResult defaults = load(same);
    EXPECT_FALSE(defaults.failed);
    EXPECT_FALSE(defaults.differs) << "every current value equals its default";
    EXPECT_EQ(defaults.values, kShippedDefaults);

    // Stored order, not the ID column, decides which row is which entry.
    const QString reordered = dir.filePath("reordered.mdb");
    makeRulesCopy(reordered, {"CREATE TABLE t AS SELECT * FROM nzhi ORDER BY ID DESC", "DROP TABLE nzhi",
                              "ALTER TABLE t RENAME TO nzhi"});
    const LoadResult reversed = load(reordered);
    EXPECT_EQ(reversed.values[0], 9);
    EXPECT_EQ(reversed.values[15], 0.875);
}

TEST(CoefficientLoad, OneDifferingRowRaisesTheNotice)
{
    QTemporaryDir dir;
    struct Case {
        const char* sql;
        int entry;
        double value;
        bool differs;
    };
    const Case cases[] = {
        {"UPDATE nzhi SET N = 1.25 WHERE Coefficient = 'N1'", 1, 1.25, true},
        {"UPDATE nzhi SET N = 9.000001 WHERE Coefficient = 'N15'", 15, 9.000001, true},
        // The comparison is by value: the same number stored as text is no change.
        {"UPDATE nzhi SET N = '0.55' WHERE Coefficient = 'N5'", 5, 0.55, false},
        {"UPDATE nzhi SET N = 1, N_default = 1 WHERE Coefficient = 'N0'", 0, 1, false},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath("case.mdb");
        makeRulesCopy(path, {c.sql});
        const LoadResult result = load(path);
        EXPECT_FALSE(result.failed) << c.sql;
        EXPECT_EQ(result.values[c.entry], c.value) << c.sql;
        EXPECT_EQ(result.differs, c.differs) << c.sql;
    }
}

TEST(CoefficientLoad, FewerThanSixteenRowsRepeatTheLastRow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("short.mdb");
    makeRulesCopy(path, {"DELETE FROM nzhi WHERE ID > 3", "UPDATE nzhi SET N = 4.5 WHERE ID = 3"});
    const LoadResult result = load(path);
    ASSERT_FALSE(result.failed);
    EXPECT_EQ(result.values[0], 0.875);
    EXPECT_EQ(result.values[1], 1.2);
    for (int k = 2; k < kCoefficientCount; ++k)
        EXPECT_EQ(result.values[k], 4.5) << "entry " << k;
    EXPECT_TRUE(result.differs);
}

TEST(CoefficientLoad, FailuresLeaveTheEntriesNotReached)
{
    QTemporaryDir dir;
    struct Case {
        QStringList sql;
        int reached; // entries 0 .. reached-1 hold the new values
        bool differs;
        const char* why;
    };
    const Case cases[] = {
        {{"UPDATE nzhi SET N = 'abc' WHERE ID = 6"}, 5, false, "a value that is not a number in row 6"},
        {{"UPDATE nzhi SET N = '' WHERE ID = 1"}, 0, false, "an empty value in the first row"},
        {{"UPDATE nzhi SET N = 3 WHERE ID = 2", "UPDATE nzhi SET N_default = 'x' WHERE ID = 4"}, 4, true,
         "a differing row before a default that is not a number"},
        {{"DELETE FROM nzhi"}, 0, false, "an empty table"},
        {{"DROP TABLE nzhi"}, 0, false, "no table nzhi"},
        {{"CREATE TABLE t AS SELECT ID, Coefficient, N FROM nzhi", "DROP TABLE nzhi", "ALTER TABLE t RENAME TO nzhi"},
         1, false, "too few columns: column 2 of row 1 is read before column 3 is missed"},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath("case.mdb");
        makeRulesCopy(path, c.sql);
        const LoadResult result = load(path);
        EXPECT_TRUE(result.failed) << c.why;
        EXPECT_EQ(result.differs, c.differs) << c.why;
        for (int k = 0; k < kCoefficientCount; ++k) {
            if (k < c.reached) {
                EXPECT_NE(result.values[k], -1.0) << c.why << ", entry " << k;
            } else if (k > c.reached) {
                EXPECT_EQ(result.values[k], -1.0) << c.why << ", entry " << k;
            }
        }
    }
    EXPECT_TRUE(load(dir.filePath("missing.mdb")).failed);
    writeBytes(dir.filePath("garbage.mdb"), QByteArray(4096, 'x'));
    EXPECT_TRUE(load(dir.filePath("garbage.mdb")).failed);
}

// ---- Rule-set check -------------------------------------------------------------

TEST(RulesDatabaseCheck, AcceptsTheShippedRulesAndEditedCoefficients)
{
    EXPECT_NO_THROW(CheckRulesDatabase(shippedDatabase()));
    EXPECT_NO_THROW(CheckRulesDatabase(shippedDefaultSet()));
    QTemporaryDir dir;
    const QString path = dir.filePath("edited.wrx");
    makeRulesCopy(path, {"UPDATE nzhi SET N = 1 WHERE ID = 1", "DELETE FROM nzhi WHERE ID > 10"});
    EXPECT_NO_THROW(CheckRulesDatabase(path));
}

TEST(RulesDatabaseCheck, RefusesFilesTheProgramCannotRead)
{
    QTemporaryDir dir;
    struct Case {
        QStringList sql;
        const char* why;
    };
    const Case cases[] = {
        {{"DROP TABLE xiuyuanchangdu"}, "a table missing"},
        {{"DELETE FROM \"8ji\""}, "an empty grade table"},
        {{"CREATE TABLE t AS SELECT ID, centre_distance_above_mm, centre_distance_upto_mm, worm_pitch_deviation FROM "
          "\"7ji\"",
          "DROP TABLE \"7ji\"", "ALTER TABLE t RENAME TO \"7ji\""},
         "a grade table without its tolerance columns"},
        {{"ALTER TABLE nzhi RENAME COLUMN JSGS TO rule"}, "no rule text column"},
        {{"UPDATE nzhi SET N = 'viel' WHERE ID = 16"}, "a coefficient that is not a number"},
        {{"UPDATE \"6ji\" SET centre_distance_upto_mm = 'x' WHERE ID = 3"}, "a bound that is not a number"},
        {{"UPDATE xiuyuan SET relief_ratio_above_63 = '' WHERE ID = 2"}, "an empty relief amount"},
        {{"UPDATE xiuyuanchangdu SET wheel_teeth_upto = 10 WHERE ID = 5"}, "rows out of ascending order"},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath("case.wrx");
        makeRulesCopy(path, c.sql);
        const QByteArray before = fileBytes(path);
        EXPECT_THROW(CheckRulesDatabase(path), RulesError) << c.why;
        EXPECT_EQ(fileBytes(path), before) << c.why << ": the checked file is not changed";
    }

    const QByteArray shipped = fileBytes(shippedDatabase());
    writeBytes(dir.filePath("half.wrx"), shipped.left(shipped.size() / 2));
    writeBytes(dir.filePath("foreign.wrx"), QByteArray("PK\x03\x04 not a database at all", 29) + QByteArray(4000, 'z'));
    writeBytes(dir.filePath("empty.wrx"), QByteArray());
    for (const char* name : {"half.wrx", "foreign.wrx", "empty.wrx", "missing.wrx"})
        EXPECT_THROW(CheckRulesDatabase(dir.filePath(name)), RulesError) << name;
    EXPECT_EQ(fileBytes(dir.filePath("empty.wrx")), QByteArray()) << "SQLite must not initialise an empty file";
}

TEST(ReplaceFile, ReplacesWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("db1.mdb");
    writeBytes(target, "old rules");
    writeBytes(dir.filePath("new.wrx"), "new rules");

    ReplaceFile(dir.filePath("new.wrx"), target);
    EXPECT_EQ(fileBytes(target), "new rules");

    EXPECT_THROW(ReplaceFile(dir.filePath("missing.wrx"), target), RulesError);
    EXPECT_EQ(fileBytes(target), "new rules");
    EXPECT_THROW(ReplaceFile(dir.filePath("new.wrx"), dir.filePath("no/such/folder/set.wrx")), RulesError);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.wrx"));
    EXPECT_THROW(ReplaceFile(dir.filePath("new.wrx"), dir.filePath("folder.wrx")), RulesError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file is left";
}
