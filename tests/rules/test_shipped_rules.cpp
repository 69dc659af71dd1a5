// The rules database the build ships: structure, coverage of every key that
// can be typed, and the orderings an engineer relies on.
#include "core/numeric.h"
#include "rules/rules_db.h"
#include "rules_testing.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tpworm;
using namespace tpworm::rules;
using namespace tpworm::testing;

namespace {

class ShippedRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.SetReadOnly(true);
        connection.SetConnectionString(connectionString(kConnectionPrefix, shippedDatabase()));
        connection.Open();
    }

    std::unique_ptr<RulesTable> open(const QString& name)
    {
        auto table = std::make_unique<RulesTable>(connection, name);
        table->Open();
        return table;
    }

    RulesConnection connection;
};

// Keys a user can type: a centre distance of up to five characters, and their
// neighbours around each bound of the table.
QList<long double> centreDistanceKeys(const RulesTable& table)
{
    QList<long double> keys{0.0L, 0.001L, 1.0L, 70.0L, 99999.0L, 9999.5L};
    for (int row = 0; row < table.RowCount(); ++row) {
        const long double upper = table.Number(row, 2);
        for (long double key : {upper - 0.001L, upper, upper + 0.001L})
            if (key <= 99999.0L)
                keys << key;
    }
    return keys;
}

} // namespace

TEST_F(ShippedRules, DefaultSetIsACopyOfTheDatabase)
{
    EXPECT_FALSE(fileBytes(shippedDatabase()).isEmpty());
    EXPECT_EQ(fileBytes(shippedDefaultSet()), fileBytes(shippedDatabase()));
}

TEST_F(ShippedRules, CoefficientsStartAtTheirDefaultsWithARuleEach)
{
    auto nzhi = open("nzhi");
    ASSERT_EQ(nzhi->RowCount(), kCoefficientCount);
    EXPECT_EQ(nzhi->ColumnNames().mid(2, 2), (QStringList{"N", "N_default"}));
    const double expected[kCoefficientCount] = {0.875, 1.2, 1, 0.5, 0, 0.55, 2, 0, 0.15, 0.5, 0.5, 1, 0.5, 1, 0.9, 9};
    for (int k = 0; k < kCoefficientCount; ++k) {
        EXPECT_EQ(nzhi->Field(k, 2).typeId(), QMetaType::Double) << "row " << k;
        EXPECT_EQ(double(nzhi->Number(k, 2)), expected[k]) << "row " << k;
        EXPECT_EQ(nzhi->Number(k, 3), nzhi->Number(k, 2)) << "row " << k;
        const QString rule = nzhi->FieldByName(k, "JSGS").toString();
        EXPECT_GE(rule.size(), 8) << "row " << k;
        // The rule text names its coefficient (the unused one says so).
        if (k != 4) {
            EXPECT_TRUE(rule.contains(QStringLiteral("N%1").arg(k))) << rule.toStdString();
        }
    }
}

TEST_F(ShippedRules, GradeTablesCoverEveryCentreDistanceAndTightenWithTheGrade)
{
    auto g6 = open("6ji"), g7 = open("7ji"), g8 = open("8ji");
    const RulesTable* grades[] = {g6.get(), g7.get(), g8.get()};
    const int tolerances[] = {3, 4, 8, 9, 10, 11, 16};
    for (const RulesTable* t : grades) {
        ASSERT_GE(t->ColumnCount(), 17) << t->TableName().toStdString();
        ASSERT_EQ(t->RowCount(), g7->RowCount());
        for (long double key : centreDistanceKeys(*t)) {
            const int row = t->RangeSearch(key);
            EXPECT_LT(t->Number(row, 1), key) << t->TableName().toStdString() << " key " << double(key);
            EXPECT_GE(t->Number(row, 2), key) << t->TableName().toStdString() << " key " << double(key);
        }
        for (int row = 1; row < t->RowCount(); ++row) {
            EXPECT_EQ(t->Number(row, 1), t->Number(row - 1, 2)) << "ranges are contiguous";
            for (int column : tolerances)
                EXPECT_GT(t->Number(row, column), t->Number(row - 1, column))
                    << t->TableName().toStdString() << " row " << row << " column " << column;
        }
    }
    for (int row = 0; row < g7->RowCount(); ++row) {
        EXPECT_EQ(g6->Number(row, 2), g7->Number(row, 2));
        EXPECT_EQ(g8->Number(row, 2), g7->Number(row, 2));
        for (int column : tolerances) {
            EXPECT_LT(g6->Number(row, column), g7->Number(row, column)) << "row " << row << " column " << column;
            EXPECT_LT(g7->Number(row, column), g8->Number(row, column)) << "row " << row << " column " << column;
            // Printed as they stand: plain decimal texts, nothing to convert.
            EXPECT_EQ(g7->Field(row, column).typeId(), QMetaType::QString);
        }
    }
}

TEST_F(ShippedRules, ReliefTablesCoverEveryKeyAndKeepTheirColumnTypes)
{
    auto relief = open("xiuyuan");
    ASSERT_GE(relief->ColumnCount(), 7);
    for (long double key : centreDistanceKeys(*relief))
        EXPECT_GE(relief->Number(relief->RangeSearch(key), 2), key) << double(key);
    for (int row = 0; row < relief->RowCount(); ++row) {
        for (int column = 2; column <= 6; ++column)
            EXPECT_TRUE(relief->Field(row, column).typeId() == QMetaType::Double ||
                        relief->Field(row, column).typeId() == QMetaType::LongLong);
        // A larger ratio takes a smaller relief.
        for (int column = 4; column <= 6; ++column)
            EXPECT_LT(relief->Number(row, column), relief->Number(row, column - 1)) << "row " << row;
        if (row > 0) {
            EXPECT_GE(relief->Number(row, 3), relief->Number(row - 1, 3));
        }
    }

    auto lengths = open("xiuyuanchangdu");
    ASSERT_GE(lengths->ColumnCount(), 5);
    for (int teeth : {-99, 0, 1, 25, 26, 150, 151, 998, 999}) {
        const int row = lengths->RangeSearch(teeth);
        EXPECT_GE(lengths->Number(row, 2), teeth) << teeth;
    }
    for (int row = 0; row < lengths->RowCount(); ++row) {
        // Joined to other text by the calculate command: must be text columns.
        EXPECT_EQ(lengths->Field(row, 3).typeId(), QMetaType::QString);
        EXPECT_EQ(lengths->Field(row, 4).typeId(), QMetaType::QString);
        EXPECT_FALSE(lengths->Text(row, 3).isEmpty());
    }
}
