#include "core/numeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using namespace tpworm;

namespace {

struct RoundToCase { double value; int digit; double expected; const char* why; };

TEST(RoundTo, TiesAndTheFactorAboveOneThousandth)
{
    const RoundToCase cases[] = {
        {0.1875, -3, 0.187, "the double factor lies above 0.001, so an exact binary half rounds down"},
        {7.6875, -3, 7.687, "same at a larger magnitude"},
        {12.3455, -3, 12.345, "12.3455 is stored below the half"},
        {2.5, 0, 2, "ties to even"},
        {3.5, 0, 4, "ties to even"},
        {-0.0004, -3, 0, "negative values round toward the nearest thousandth"},
        {68.134, -2, 68.13, "hundredths"},
        {-2.5, 0, -2, "negative tie to even"},
        {410, -3, 410, "whole numbers stay"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundTo(c.value, c.digit), c.expected) << c.value << " at " << c.digit << ": " << c.why;
    EXPECT_EQ(FloatToStr(RoundTo(-0.0004, -3)), "0");
    // 0.35 is stored below the half; 3 x 0.1 rounds to the double above 0.3,
    // which still shows as 0.3.
    EXPECT_EQ(FloatToStr(RoundTo(0.35, -1)), "0.3");
    EXPECT_EQ(static_cast<double>(1.0L / 1000.0L), 0.001) << "the factor is the double nearest to 0.001";
}

TEST(RoundTo, QuotientOutsideTheIntegerRangeIsAnInvalidOperation)
{
    EXPECT_THROW(RoundTo(1e300, -3), MathError);
}

struct FloatTextCase { long double value; const char* text; };

TEST(FloatToStr, GeneralFormatFifteenDigits)
{
    const FloatTextCase cases[] = {
        {0, "0"}, {-0.0L, "0"}, {120, "120"}, {12.5, "12.5"}, {4.5, "4.5"}, {5, "5"},
        {0.0001L, "0.0001"}, {0.00009L, "9E-5"}, {123456.789L, "123456.789"}, {-0.5, "-0.5"},
        {1e15L, "1E15"}, {999999999999999.0L, "999999999999999"}, {1e14L, "100000000000000"},
        {40.0L / 3.0L, "13.3333333333333"}, {41.0L / 3.0L, "13.6666666666667"},
        {0.001L, "0.001"}, {1.5e-10L, "1.5E-10"}, {-2.5e20L, "-2.5E20"},
        {0.99999999999999999L, "1"}, {9.9999999999999999e14L, "1E15"},
        // An exact tie at the sixteenth digit goes away from zero.
        {1234567890123.125L, "1234567890123.13"}, {-1234567890123.125L, "-1234567890123.13"},
        {static_cast<double>(0.1), "0.1"}, {static_cast<long double>(static_cast<double>(0.1)) * 3, "0.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.value), c.text) << static_cast<double>(c.value);
}

TEST(FloatToStr, FollowsTheDecimalSeparator)
{
    setDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(FloatToStr(12.5), "12,5");
    EXPECT_EQ(StrToFloat("1,5"), 1.5L);
    EXPECT_THROW(StrToFloat("1.5"), ConvertError);
    setDecimalSeparator(QLatin1Char('.'));
}

struct ParseCase { const char* text; bool ok; long double value; };

TEST(StrToFloat, Grammar)
{
    const ParseCase cases[] = {
        {" 12.5 ", true, 12.5L}, {"12.5", true, 12.5L}, {".", true, 0}, {"-.", true, 0}, {"+.5", true, 0.5L},
        {"1.", true, 1}, {"1e3", true, 1000}, {"1E-3", true, 0.001L}, {"-2.5e+2", true, -250},
        {"250", true, 250}, {"0.3", true, 0.3L},
        {"", false, 0}, {"   ", false, 0}, {"1,5", false, 0}, {"12a", false, 0}, {"1e", false, 0},
        {"e5", false, 0}, {"1 2", false, 0}, {"--1", false, 0}, {"1e99999", false, 0}, {"\t1", false, 0},
        {"0x10", false, 0}, {"1.2.3", false, 0},
    };
    for (const auto& c : cases) {
        if (c.ok)
            EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
        else
            EXPECT_THROW(StrToFloat(c.text), ConvertError) << c.text;
        // The reading without exceptions agrees, and leaves the value alone
        // where it refuses the text.
        long double value = -7;
        EXPECT_EQ(TryStrToFloat(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : -7) << c.text;
    }
    // Decimal texts convert to the nearest extended value.
    EXPECT_EQ(StrToFloat("0.1"), 0.1L);
}

struct IntCase { const char* text; bool ok; int value; };

TEST(StrToInt, Grammar)
{
    const IntCase cases[] = {
        {"45", true, 45}, {" 45", true, 45}, {"-7", true, -7}, {"+3", true, 3}, {"$1F", true, 31}, {"0x10", true, 16},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"45 ", false, 0}, {"", false, 0}, {" ", false, 0}, {"40.5", false, 0}, {"4x", false, 0},
        {"2147483648", false, 0}, {"$", false, 0}, {"1e2", false, 0},
    };
    for (const auto& c : cases) {
        if (c.ok)
            EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
        else
            EXPECT_THROW(StrToInt(c.text), ConvertError) << c.text;
    }
}

TEST(RoundAndTrunc, TiesToEvenAndTowardZero)
{
    EXPECT_EQ(Trunc(-2.7L), -2);
    EXPECT_EQ(Trunc(2.7L), 2);
    EXPECT_EQ(Round(4.5L), 4);
    EXPECT_EQ(Round(5.5L), 6);
    EXPECT_EQ(Round(-4.5L), -4);
    EXPECT_EQ(Round(0.65L * 250), 162);
    EXPECT_THROW(Round(1e30L), MathError);
}

TEST(Power, Rules)
{
    EXPECT_EQ(Power(0, 0), 1);
    EXPECT_EQ(Power(-3, 0), 1);
    EXPECT_EQ(Power(0, 1.5L), 0);
    EXPECT_EQ(Power(-2, 3), -8);
    EXPECT_EQ(Power(2, -2), 0.25L);
    EXPECT_EQ(Power(100, 1), 100);
    EXPECT_EQ(Power(100, 1.5L), std::exp(1.5L * std::log(100.0L)));

    ClearFaults();
    Power(-2, 0.5L);
    EXPECT_THROW(FaultCheck(), MathError) << "a fractional power of a negative base is undefined";
    ClearFaults();
    Power(0, -1);
    EXPECT_THROW(FaultCheck(), MathError) << "zero to a negative whole power divides by zero";
    ClearFaults();
    Power(0, -0.5L);
    EXPECT_THROW(FaultCheck(), MathError) << "zero to a negative fractional power";
}

TEST(Faults, DetectedThroughTheFlags)
{
    volatile long double zero = 0;
    ClearFaults();
    volatile long double q = 1 / zero;
    (void)q;
    try {
        FaultCheck();
        FAIL() << "division by zero not seen";
    } catch (const MathError& e) {
        EXPECT_EQ(e.kind(), MathError::Kind::DivisionByZero);
    }
    EXPECT_NO_THROW(FaultCheck()) << "the flags are cleared once reported";

    ClearFaults();
    volatile long double r = ArcSin(1.0000001L);
    (void)r;
    EXPECT_THROW(FaultCheck(), MathError) << "arcsine outside -1..1";

    ClearFaults();
    volatile long double big = LDBL_MAX;
    volatile double d = static_cast<double>(big);
    (void)d;
    EXPECT_THROW(FaultCheck(), MathError) << "storing an extended value too large for a double";

    ClearFaults();
    volatile long double tiny = 1e-4000L;
    volatile long double u = tiny * tiny;
    (void)u;
    EXPECT_NO_THROW(FaultCheck()) << "underflow is not an error";
}

TEST(Angles, ExtendedPi)
{
    EXPECT_EQ(DegToRad(180), Pi);
    EXPECT_EQ(ArcSin(1), Pi / 2);
    EXPECT_NEAR(static_cast<double>(RadToDeg(ArcSin(0.5L))), 30.0, 1e-15);
}

} // namespace

namespace {

TEST(Faults, RoundToIgnoresFlagsRaisedBeforeItAndKeepsThemForTheCaller)
{
    volatile long double zero = 0;
    ClearFaults();
    volatile long double q = 1 / zero; // left over from unrelated code
    (void)q;
    EXPECT_EQ(RoundTo(12.3455, -3), 12.345);
    EXPECT_THROW(FaultCheck(), MathError) << "the earlier fault is still there for its owner";
    EXPECT_NO_THROW(RoundTo(1.5, 0));
}

} // namespace

// ---- FloatToStr against the general conversion ---------------------------------
//
// FloatToStr computes its digits in integers for the values a design shows.
// The reference below is the conversion it replaced, which reads the digits
// off the C library's printed decimal expansion; both must give the same text
// for every finite value.

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

QString printedFloatText(long double value)
{
    if (value == 0.0L)
        return QStringLiteral("0");
    char buffer[64];
    std::string digits;
    int exponent = 0;
    auto scan = [&](const char* end) {
        digits.clear();
        const char* p = buffer;
        for (; p != end && *p != 'e'; ++p)
            if (*p >= '0' && *p <= '9') digits += *p;
        exponent = std::atoi(std::string(p + 1, end).c_str()) + 1;
    };
    const long double magnitude = std::fabs(value);
    scan(buffer + std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude));
    if (digits.compare(15, 3, "499") == 0 || digits.compare(15, 3, "500") == 0)
        scan(buffer + std::snprintf(buffer, sizeof buffer, "%.35Le", magnitude));
    std::string kept = digits.substr(0, 15);
    if (digits[15] >= '5') {
        int k = 14;
        while (k >= 0 && kept[k] == '9') kept[k--] = '0';
        if (k < 0) {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            ++exponent;
        } else {
            ++kept[k];
        }
    }
    while (kept.size() > 1 && kept.back() == '0') kept.pop_back();
    QString out;
    if (value < 0) out += QLatin1Char('-');
    const QString d = QString::fromLatin1(kept.c_str());
    if (exponent >= -3 && exponent <= 15) {
        if (exponent > 0) {
            if (d.size() <= exponent)
                out += d + QString(exponent - d.size(), QLatin1Char('0'));
            else
                out += d.left(exponent) + QLatin1Char('.') + d.mid(exponent);
        } else {
            out += QStringLiteral("0.") + QString(-exponent, QLatin1Char('0')) + d;
        }
    } else {
        out += d.left(1);
        if (d.size() > 1) out += QLatin1Char('.') + d.mid(1);
        out += QLatin1Char('E') + QString::number(exponent - 1);
    }
    return out;
}

// An extended value from its 64-bit mantissa (top bit set) and binary exponent.
long double extended(std::uint64_t mantissa, int exponent)
{
    return std::ldexp(static_cast<long double>(mantissa | (1ULL << 63)), exponent - 63);
}

TEST(FloatToStr, SameTextAsTheGeneralConversionForEveryKindOfValue)
{
    std::mt19937_64 random(20261211);
    std::vector<long double> values;
    // Ties at the sixteenth digit and their nearest neighbours on both sides,
    // at every decimal exponent the exact digits cover and beyond: the
    // cases where rounding decides.
    for (int e10 = -16; e10 <= 18; ++e10) {
        for (int k = 0; k < 300; ++k) {
            const std::uint64_t d = 100000000000000ULL + random() % 900000000000000ULL;
            const long double tie = (static_cast<long double>(d) + 0.5L) * std::pow(10.0L, e10 - 14);
            values.push_back(tie);
            values.push_back(std::nextafter(tie, 0.0L));
            values.push_back(std::nextafter(tie, 1e30L));
            const double asDouble = static_cast<double>(tie);
            values.push_back(asDouble);
            values.push_back(std::nextafter(asDouble, 0.0));
            values.push_back(std::nextafter(asDouble, 1e300));
        }
        // Powers of ten and their neighbours, 999...9 patterns that carry.
        const long double p = std::pow(10.0L, e10);
        for (long double v : {p, std::nextafter(p, 0.0L), std::nextafter(p, 1e30L), p * 0.9999999999999995L,
                              p * 0.99999999999999949L, p * 0.99999999999999951L})
            values.push_back(v);
    }
    // Values as the calculation rounds them, and plain whole numbers.
    for (int k = 0; k < 40000; ++k) {
        const double v = std::ldexp(static_cast<double>(random() >> 11), -53) * std::pow(10.0, int(random() % 8) - 2);
        values.push_back(RoundTo(v, -int(random() % 5)));
        values.push_back(static_cast<long double>(random() % 2000000000000000ULL));
    }
    // Random extended values (quotients and sums in long double) and random
    // doubles over the whole exponent range that matters, and far beyond.
    for (int k = 0; k < 60000; ++k) {
        values.push_back(extended(random(), int(random() % 140) - 70));
        values.push_back(static_cast<double>(extended(random(), int(random() % 140) - 70)));
        values.push_back(extended(random(), int(random() % 32000) - 16000));
    }
    for (long double v : {std::numeric_limits<long double>::max(), std::numeric_limits<long double>::min(),
                          std::numeric_limits<long double>::denorm_min(),
                          static_cast<long double>(std::numeric_limits<double>::max()),
                          static_cast<long double>(std::numeric_limits<double>::min()), 1e-13L, 9.99e-14L, 1e15L,
                          999999999999999.5L, 999999999999999.49L, 99999999999999.95L, 0.00009999999999999995L,
                          40.0L / 3.0L, 80.0L / 3.0L, 2.0L / 3.0L, 1.0L / 7.0L})
        values.push_back(v);

    int differ = 0;
    for (const long double v : values) {
        for (const long double signedValue : {v, -v}) {
            const QString fast = FloatToStr(signedValue);
            const QString reference = printedFloatText(signedValue);
            if (fast != reference && ++differ <= 10) {
                char text[64];
                std::snprintf(text, sizeof text, "%.25Le", signedValue);
                ADD_FAILURE() << text << ": " << fast.toStdString() << " instead of " << reference.toStdString();
            }
        }
    }
    EXPECT_EQ(differ, 0) << "of " << 2 * values.size() << " values";
}

} // namespace

namespace {

// Short decimal texts are read as a whole number over a power of ten; that
// must be the value the C library's correctly rounded strtold gives, for
// every length up to the limits of that way and past them.
TEST(StrToFloat, SameValueAsTheCLibrary)
{
    std::mt19937_64 random(7);
    int differ = 0;
    for (int k = 0; k < 200000; ++k) {
        const int digits = 1 + int(random() % 24);
        std::string text = random() % 4 == 0 ? "-" : "";
        for (int d = 0; d < digits; ++d)
            text += char('0' + random() % 10);
        const int point = int(random() % (digits + 1));
        if (point < digits)
            text.insert(text.size() - std::size_t(digits - point), ".");
        const long double fast = StrToFloat(QString::fromStdString(text));
        const long double reference = std::strtold(text.c_str(), nullptr);
        if ((fast != reference || std::signbit(fast) != std::signbit(reference)) && ++differ <= 10)
            ADD_FAILURE() << text;
    }
    EXPECT_EQ(differ, 0);
}

} // namespace
