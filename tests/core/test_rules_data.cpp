// Look-ups in rules read once: the same answers and the same errors as the
// per-use table reads.
#include "core_rules.h"

#include "core/numeric.h"
#include "core/recommend.h"

#include <gtest/gtest.h>

#include <string>

using namespace tpworm;
using coretest::table;

namespace {

TEST(RulesData, RangeSearchAndTheCoveringRow)
{
    const rules::TableData t = table("xiuyuan", 7, {{1, 0, 200, 0.3, 0, 0, 0}, {2, 200, "400", 0.36, 0, 0, 0}});
    EXPECT_EQ(t.RangeSearch(0), 0);
    EXPECT_EQ(t.RangeSearch(200), 0);
    EXPECT_EQ(t.RangeSearch(200.5), 1);
    EXPECT_EQ(t.RangeSearch(1e6), 1) << "the search stops at the last row";
    EXPECT_EQ(recommend::coveringRow(t, 400), 1);
    EXPECT_THROW(recommend::coveringRow(t, 400.5), rules::RulesError) << "no fall-back to a row that does not cover it";
    EXPECT_EQ(t.Text(1, 3), "0.36");
    EXPECT_THROW(t.Text(2, 0), rules::RulesError);
    EXPECT_THROW(t.Text(0, 7), rules::RulesError);
    EXPECT_THROW(table("x", 3, {}).RangeSearch(1), rules::RulesError);
    EXPECT_THROW(table("x", 3, {{1, 0, "abc"}, {2, 0, 5}}).RangeSearch(1), rules::RulesError);
}

TEST(RulesData, GradeRowNeedsTheDistanceAboveTheLowerBound)
{
    const rules::TableData t = table("7ji", 17, {coretest::gradeRow(40, 160, "7", 0.1), coretest::gradeRow(160, 315, "7", 0.2)});
    EXPECT_EQ(recommend::gradeRow(t, 40), std::nullopt);
    EXPECT_EQ(recommend::gradeRow(t, 40.001), 0);
    EXPECT_EQ(recommend::gradeRow(t, 160), 0);
    EXPECT_EQ(recommend::gradeRow(t, 315), 1);
    EXPECT_EQ(recommend::gradeRow(t, 316), std::nullopt);
}

TEST(RulesData, TheCoefficientLoadRepeatsTheLastRowAndNotesAChangedValue)
{
    rules::Coefficients n{};
    bool differs = false;
    rules::loadCoefficients(table("nzhi", 4, {{0, "N0", 0.875, 0.875}, {1, "N1", 1.2, 1.2}}), n, differs);
    EXPECT_EQ(n[0], 0.875);
    EXPECT_EQ(n[1], 1.2);
    EXPECT_EQ(n[15], 1.2);
    EXPECT_FALSE(differs);

    n = {};
    EXPECT_THROW(rules::loadCoefficients(table("nzhi", 4, {{0, "N0", 1.5, 1.0}, {1, "N1", "x", 1.2}}), n, differs),
                 rules::RulesError);
    EXPECT_EQ(n[0], 1.5) << "entries read before the failure stay";
    EXPECT_TRUE(differs) << "and so does the notice of the row read";
    EXPECT_THROW(rules::loadCoefficients(table("nzhi", 4, {}), n, differs), rules::RulesError);
}

TEST(RulesData, ATableThatCouldNotBeReadFailsAtItsUse)
{
    rules::RulesData r = coretest::exampleRules();
    r.grade6.error = QStringLiteral("无法读取数据表 6ji");
    EXPECT_THROW(r.table("6ji"), rules::RulesError);
    EXPECT_NO_THROW(r.table("7ji"));
    EXPECT_THROW(r.table("nzhi"), rules::RulesError);
}

// What a look-up of one cell gives: its value, or the type and text of the
// error it throws.
template <class F>
std::string outcome(F lookUp)
{
    try {
        return "value " + lookUp();
    } catch (const rules::RulesError& e) {
        return std::string("RulesError ") + e.what();
    } catch (const ConvertError& e) {
        return std::string("ConvertError ") + e.what();
    }
}

TEST(RulesData, APreparedTableAnswersEveryLookUpAsTheTableItWasMadeFrom)
{
    // Doubles that print in 15 digits or with an exponent, whole numbers,
    // numeric and other texts, a null cell and a row shorter than the header.
    const rules::TableData plain = table("7ji", 5, {{1, 0.1, 200.0, 1e-7, QVariant()},
                                                    {2, "200", "400.5", "abc", 1.0 / 3.0},
                                                    {3, 123456789012345678.0, " 7 ", "1,5"},
                                                    {4, -0.0}});
    rules::TableData prepared = plain;
    prepared.prepare();
    for (QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        // A separator changed after the preparation: the cells convert as before.
        setDecimalSeparator(separator);
        for (int row = -1; row <= plain.RowCount(); ++row)
            for (int column = -1; column <= plain.ColumnCount(); ++column) {
                auto text = [](const rules::TableData& t, int r, int c) { return t.Text(r, c).toStdString(); };
                auto number = [](const rules::TableData& t, int r, int c) { return FloatToStr(t.Number(r, c)).toStdString(); };
                auto textNumber = [](const rules::TableData& t, int r, int c) {
                    return FloatToStr(t.TextNumber(r, c)).toStdString();
                };
                for (auto lookUp : {+text, +number, +textNumber})
                    EXPECT_EQ(outcome([&] { return lookUp(prepared, row, column); }),
                              outcome([&] { return lookUp(plain, row, column); }))
                        << "row " << row << ", column " << column << ", separator " << separator.toLatin1();
            }
        EXPECT_EQ(outcome([&] { return std::to_string(prepared.RangeSearch(300)); }),
                  outcome([&] { return std::to_string(plain.RangeSearch(300)); }));
    }
    setDecimalSeparator(QLatin1Char('.'));
    EXPECT_EQ(prepared.Text(0, 3), "1E-7");
    EXPECT_EQ(prepared.Number(1, 2), 400.5L);
    EXPECT_THROW(prepared.Number(1, 3), rules::RulesError);
    EXPECT_THROW(prepared.TextNumber(1, 3), ConvertError);
}

} // namespace
