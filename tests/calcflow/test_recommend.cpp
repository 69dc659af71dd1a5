// The recommendation as functions of plain values. Expected values come from
// an independent model of the arithmetic (64-bit significands, ties to even)
// and from the three worked designs of the calculate command with N0 = 1.
#include "core/numeric.h"
#include "calc/recommend.h"

#include <gtest/gtest.h>

#include <limits>

namespace rec = tpworm::recommend;

namespace {

struct DesignCase {
    long double a;
    double ratio;
    std::int64_t d1;        // before snapping
    std::int32_t d1Snapped;
    std::int64_t db;
    std::int32_t dbSnapped;
    const char* tip;
};

} // namespace

TEST(Recommendation, DiametersSnappingAndTipEccentricity)
{
    const DesignCase cases[] = {
        {160, 10, 128, 130, 93, 95, "24"},      // 127.97 and 93.12; e = 95 / 4 = 23.75
        {250, 40, 191, 190, 155, 155, "0"},     // 190.89 and 155.46; ratio from 35 on
        {100, 7.75, 81, 81, 56, 56, "22"},      // not above 90: no snapping; 0.4 x 56
        {125, 8, 102, 100, 71, 71, "27"},       // ratio exactly 8: 0.375 x 71 = 26.625
        {200, 12, 158, 160, 119, 120, "20"},    // ratio exactly 12: 120 / 6
        {80, 17.5, 62, 62, 48, 48, "8"},        // 48 / 6
        {500, 45, 382, 380, 316, 315, "0"},
        {1000, 40, 767, 765, 639, 640, "0"},
    };
    for (const DesignCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "a = " << double(c.a) << ", i = " << c.ratio);
        const std::int64_t d1 = rec::referenceDiameter(c.a, c.ratio, 1.0);
        const std::int64_t db = rec::mainBaseDiameter(c.a, c.ratio);
        EXPECT_EQ(d1, c.d1);
        EXPECT_EQ(rec::snapToFive(std::int32_t(d1)), c.d1Snapped);
        EXPECT_EQ(db, c.db);
        const std::int32_t snapped = rec::snapToFive(std::int32_t(db));
        EXPECT_EQ(snapped, c.dbSnapped);
        EXPECT_EQ(rec::tipEccentricityText(snapped, c.ratio), c.tip);
    }
}

TEST(Recommendation, ReferenceDiameterFollowsTheExponentN0)
{
    // 0.76 a^N0 + 0.25 a^1.5 i^-1.9 with N0 = 0.875: a = 250, i = 40 gives
    // 95.3 + 0.9.
    EXPECT_EQ(rec::referenceDiameter(250, 40, 0.875), 96);
    // N0 = 0 makes the first term 0.76 whatever the distance.
    EXPECT_EQ(rec::referenceDiameter(160, 10, 0.0), 7);
}

TEST(Recommendation, SnappingToMultiplesOfFive)
{
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {88, 88}, {90, 90}, {91, 90}, {92, 90}, {93, 95}, {94, 95}, {95, 95},
        {96, 95}, {97, 95}, {98, 100}, {99, 100}, {100, 100}, {1002, 1000}, {1003, 1005},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(rec::snapToFive(in), out) << in;
}

TEST(Recommendation, TipEccentricityBands)
{
    struct Case {
        long double d;
        double ratio;
        const char* text;
    };
    const Case cases[] = {
        {100, 7.5, "40"},      // 0.4 d
        {56, 7.75, "22"},      // 22.4
        {100, 8, "38"},        // 0.375 d = 37.5, tie to even
        {4, 9, "2"},           // 1.5 goes to 2
        {100, 7.99, "38"},     // the double nearest 7.99 lies above the threshold
        {100, 9.98, "38"},
        {100, 9.99, "25"},     // d / 4, for the same reason
        {100, 10, "25"},
        {110, 11, "28"},       // 27.5 goes to 28
        {90, 11.98, "22"},     // 22.5 goes to 22
        {90, 11.99, "15"},     // d / 6
        {100, 12, "17"},       // d / 6 = 16.67
        {105, 20, "18"},       // 17.5 goes to 18
        {15, 30, "2"},         // 2.5 goes to 2
        {100, 34.99, "17"},
        {100, 35, "0"},        // from 35 on
        {100, 120, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rec::tipEccentricityText(c.d, c.ratio), c.text) << "d = " << double(c.d) << ", i = " << c.ratio;
}

TEST(Recommendation, EntryReliefColumnByRatio)
{
    const std::pair<double, int> cases[] = {
        {0, 3},           // no ratio: step A skipped
        {13.6666666666667, 3},
        {24.5, 3},
        {24.999999, 3},   // the double nearest the threshold lies below it
        {24.9999995, 4},  // within the tolerance below 25
        {25, 4},
        {40, 4},
        {40.0000005, 4},  // within the tolerance above 40
        {40.000001, 4},
        {40.5, 5},
        {63, 5},
        {63.000001, 5},
        {63.5, 6},
        {149, 6},
    };
    for (auto [ratio, column] : cases)
        EXPECT_EQ(rec::entryReliefColumn(ratio), column) << ratio;
}

TEST(Recommendation, GrindingIncrementAndExitRelief)
{
    // z2 / 100 to one decimal: the double nearest 0.35 lies below it and that
    // nearest 0.45 above the tie seen through the divisor, so both go down.
    const std::pair<long double, const char*> increments[] = {
        {30, "0.3"}, {31, "0.3"}, {35, "0.3"}, {45, "0.4"}, {55, "0.6"}, {65, "0.6"},
        {25, "0.2"}, {15, "0.1"}, {5, "0"}, {149, "1.5"}, {250, "2.5"}, {999, "10"},
    };
    for (auto [teeth, text] : increments)
        EXPECT_EQ(tpworm::FloatToStr(rec::grindingIncrement(teeth)), text) << double(teeth);

    const std::pair<long double, const char*> exits[] = {
        {0.5L, "0.34"},   // 0.335
        {0.3L, "0.2"},    // 0.201
        {0.7L, "0.47"},   // 0.469
        {0.8L, "0.54"},   // 0.536
        {0.25L, "0.17"},  // 0.1675
        {0.15L, "0.1"},   // 0.1005
        {1.5L, "1"},      // 1.005
        {0, "0"},
    };
    for (auto [entry, text] : exits)
        EXPECT_EQ(tpworm::FloatToStr(rec::exitReliefAmount(entry)), text) << double(entry);
}

TEST(Recommendation, BasisHintsRoundTiesToEven)
{
    const std::pair<long double, std::int64_t> mainBase[] = {
        {250, 162},  // 162.5
        {90, 58},    // 58.5
        {110, 72},   // 71.5
        {170, 110},  // 110.5
        {100, 65},
        {70.5L, 46},
        {-100, -65},
    };
    for (auto [a, basis] : mainBase)
        EXPECT_EQ(rec::mainBaseBasis(a), basis) << double(a);

    struct Case {
        long double a;
        double n0;
        std::int64_t basis;
    };
    const Case reference[] = {
        {100, 1, 76},
        {250, 0.875, 95},
        {1000, 0.875, 320},
        {160, 0.9, 73},
        {100, 0, 1},     // exponent 0 gives 1
        {0, 0.875, 0},   // base 0, positive exponent
        {-100, 1, -76},  // whole exponent: a negative base multiplies out
        {-10, 2, 76},
    };
    for (const Case& c : reference)
        EXPECT_EQ(rec::referenceBasis(c.a, c.n0), c.basis) << double(c.a) << "^" << c.n0;
}

TEST(Recommendation, UndefinedPowersAreErrors)
{
    // A negative base with a fractional exponent, a zero base with a
    // negative exponent, a zero ratio: each ends the command.
    EXPECT_THROW(rec::referenceBasis(-100, 0.875), tpworm::MathError);
    EXPECT_THROW(rec::referenceBasis(0, -1.5), tpworm::MathError);
    EXPECT_THROW(rec::referenceDiameter(160, 0, 1), tpworm::MathError);
    EXPECT_THROW(rec::referenceDiameter(-160, 10, 1), tpworm::MathError);
    EXPECT_THROW(rec::mainBaseDiameter(160, -10), tpworm::MathError);
    // Too large for a whole number.
    EXPECT_THROW(rec::mainBaseBasis(1e30L), tpworm::MathError);
    EXPECT_THROW(rec::exitReliefAmount(std::numeric_limits<long double>::max()), tpworm::MathError);
}

TEST(Recommendation, GradeTextsAndTables)
{
    EXPECT_EQ(rec::gradeText("7", true), "7j(GB/T16445-1996)");
    EXPECT_EQ(rec::gradeText("8", false), "8级(GB/T16445-1996)");
    EXPECT_EQ(rec::gradeTableName("6"), "6ji");
    EXPECT_EQ(rec::gradeTableName("7"), "7ji");
    EXPECT_EQ(rec::gradeTableName("8"), "8ji");
    EXPECT_EQ(rec::gradeTableName(""), "");
}
