#include "numeric.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <limits>
#include <cerrno>
#include <locale.h>
#include <string>

namespace tpworm {

namespace {

QChar g_decimalSeparator = QLatin1Char('.');

const char* faultText(MathError::Kind kind)
{
    switch (kind) {
    case MathError::Kind::DivisionByZero: return "division by zero";
    case MathError::Kind::InvalidOperation: return "invalid floating-point operation";
    case MathError::Kind::Overflow: return "floating-point overflow";
    }
    return "floating-point fault";
}

// The "C" numeric locale, so that strtold reads "." whatever setlocale() the
// toolkit made at start.
locale_t cLocale()
{
    static locale_t loc = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    return loc;
}

constexpr long double kInt64Limit = 9223372036854775808.0L; // 2^63

std::int64_t toInt64(long double integral)
{
    if (std::isnan(integral) || integral >= kInt64Limit || integral < -kInt64Limit)
        throw MathError(MathError::Kind::InvalidOperation);
    return static_cast<std::int64_t>(integral);
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

} // namespace

ConvertError::ConvertError(const QString& text)
    : std::runtime_error(("'" + text + "' is not a valid number").toStdString())
{
}

MathError::MathError(Kind kind) : std::runtime_error(faultText(kind)), kind_(kind) {}

QChar decimalSeparator() { return g_decimalSeparator; }
void setDecimalSeparator(QChar separator) { g_decimalSeparator = separator; }

void ClearFaults()
{
    // Clearing rewrites the whole x87 environment, which costs far more than
    // looking; the flags are almost never raised.
    constexpr int faults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
    if (std::fetestexcept(faults))
        std::feclearexcept(faults);
}

bool FaultRaised() { return std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW) != 0; }

void FaultCheck()
{
    const int raised = std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
    if (raised == 0)
        return;
    ClearFaults();
    if (raised & FE_INVALID) throw MathError(MathError::Kind::InvalidOperation);
    if (raised & FE_DIVBYZERO) throw MathError(MathError::Kind::DivisionByZero);
    throw MathError(MathError::Kind::Overflow);
}

bool TryStrToFloat(const QString& text, long double& value)
{
    // Grammar: blanks, [sign], digits [sep digits], [E [sign] digits], blanks.
    const int n = text.size();
    int i = 0;
    while (i < n && text[i] == QLatin1Char(' ')) ++i;
    int end = n;
    while (end > i && text[end - 1] == QLatin1Char(' ')) --end;

    std::string ascii;
    ascii.reserve(std::size_t(end - i) + 2);
    if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ascii += char(text[i++].unicode());
    bool mantissa = false;
    // The digits as a whole number and the count after the separator, for
    // the short texts a design holds.
    std::uint64_t whole = 0;
    int significant = 0;
    int decimals = 0;
    auto digit = [&](QChar c, bool fraction) {
        ascii += char(c.unicode());
        if (whole != 0 || c != QLatin1Char('0'))
            ++significant;
        if (significant <= 19)
            whole = whole * 10 + (c.unicode() - '0');
        if (fraction)
            ++decimals;
    };
    while (i < end && isDigit(text[i])) { digit(text[i++], false); mantissa = true; }
    if (i < end && text[i] == g_decimalSeparator) {
        ascii += '.';
        ++i;
        mantissa = true;
        while (i < end && isDigit(text[i])) digit(text[i++], true);
    }
    if (!mantissa)
        return false;
    bool exponent = false;
    if (i < end && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        exponent = true;
        ascii += 'e';
        ++i;
        if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ascii += char(text[i++].unicode());
        bool exponentDigits = false;
        while (i < end && isDigit(text[i])) { ascii += char(text[i++].unicode()); exponentDigits = true; }
        if (!exponentDigits)
            return false;
    }
    if (i != end)
        return false;

    // Up to 19 significant digits and 27 decimals without an exponent: the
    // whole number and the power of ten are both exact in extended precision,
    // so their quotient is the correctly rounded value, as strtold gives it
    // (both round to nearest).
    if (!exponent && significant <= 19 && decimals <= 27) {
        static const long double kPow10[28] = {
            1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
            1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
        const long double magnitude = static_cast<long double>(whole) / kPow10[decimals];
        value = ascii[0] == '-' ? -magnitude : magnitude;
        return true;
    }

    // strtold does not take "." or "-." alone; they stand for zero.
    std::string number = ascii;
    const std::size_t dot = number.find('.');
    if (dot != std::string::npos && (dot + 1 == number.size() || !std::isdigit(static_cast<unsigned char>(number[dot + 1]))))
        number.insert(dot + 1, "0");
    if (number[0] == '.' || ((number[0] == '+' || number[0] == '-') && number[1] == '.'))
        number.insert(number[0] == '.' ? 0 : 1, "0");

    errno = 0;
    char* stop = nullptr;
    const long double parsed = strtold_l(number.c_str(), &stop, cLocale());
    if (stop == number.c_str() || *stop != '\0')
        return false;
    if (errno == ERANGE && std::isinf(parsed))
        return false;
    value = parsed;
    return true;
}

long double StrToFloat(const QString& text)
{
    long double value = 0;
    if (!TryStrToFloat(text, value))
        throw ConvertError(text);
    return value;
}

std::int32_t StrToInt(const QString& text)
{
    const int n = text.size();
    int i = 0;
    while (i < n && text[i] == QLatin1Char(' ')) ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        throw ConvertError(text);
    long long magnitude = 0;
    for (; i < n; ++i) {
        const int digit = base == 16 ? hexValue(text[i]) : (isDigit(text[i]) ? text[i].unicode() - '0' : -1);
        if (digit < 0)
            throw ConvertError(text);
        magnitude = magnitude * base + digit;
        if (magnitude > 2147483648LL)
            throw ConvertError(text);
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > 2147483647LL || value < -2147483648LL)
        throw ConvertError(text);
    return static_cast<std::int32_t>(value);
}

namespace {

// The factor of RoundTo's position, 10^digit as a double.
double makeRoundFactor(int digit)
{
    long double power = 1.0L;
    for (int k = 0; k < (digit < 0 ? -digit : digit); ++k)
        power *= 10.0L;
    return static_cast<double>(digit < 0 ? 1.0L / power : power);
}

// The positions the calculation rounds to (-3 ... 0) made once: the same
// factors, without a division each time.
double roundFactor(int digit)
{
    static const double kFactors[4] = {makeRoundFactor(-3), makeRoundFactor(-2), makeRoundFactor(-1), makeRoundFactor(0)};
    return digit >= -3 && digit <= 0 ? kFactors[digit + 3] : makeRoundFactor(digit);
}

} // namespace

double RoundToUnchecked(double value, int digit)
{
    const double factor = roundFactor(digit);
    const long double quotient = static_cast<long double>(value) / static_cast<long double>(factor);
    const long double n = static_cast<long double>(Round(quotient));
    return static_cast<double>(n * static_cast<long double>(factor));
}

double RoundTo(double value, int digit)
{
    // Only this function's own faults count here; flags raised before it (by
    // the caller or by the toolkit between commands) are left for the caller.
    constexpr int faults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
    // Saved and restored only when there is something to keep (rarely).
    std::fexcept_t before{};
    const bool raisedBefore = std::fetestexcept(faults) != 0;
    if (raisedBefore) {
        std::fegetexceptflag(&before, faults);
        std::feclearexcept(faults);
    }
    const double factor = roundFactor(digit);
    long double quotient = static_cast<long double>(value) / static_cast<long double>(factor);
    // Made before the flags are read (see ok() in core/geometry.cpp).
    asm volatile("" : "+m"(quotient) : : "memory");
    FaultCheck();
    const long double n = static_cast<long double>(Round(quotient));
    double result = static_cast<double>(n * static_cast<long double>(factor));
    asm volatile("" : "+m"(result) : : "memory");
    FaultCheck();
    if (raisedBefore)
        std::fesetexceptflag(&before, faults);
    return result;
}

std::int64_t Round(long double value)
{
    // rintl rounds in the current mode, which is to nearest, ties to even, as
    // nearbyintl does, but in one instruction instead of saving and restoring
    // the whole x87 environment; the inexact flag it may raise is not one of
    // the faults (nothing reads it).
    return toInt64(std::rint(value));
}

std::int64_t Trunc(long double value) { return toInt64(std::trunc(value)); }

namespace {

// The fifteen significant digits of a positive value, rounded halves away
// from zero, with value = 0.d1d2...d15 x 10^exponent.
struct Digits15 {
    char digits[15];
    int exponent;
    int count = 15; // digits written; those past it are zeros
};

// The digits read off the decimal expansion printed to enough places (the
// general way, for every finite value; slow: the C library's printf).
Digits15 printedDigits(long double magnitude)
{
    // Enough digits to see whether the sixteenth digit is an exact half: a long
    // double never lies closer than about 1e-19 relative to such a tie without
    // being one.
    //
    // Eighteen correctly rounded digits decide almost always, and far faster:
    // rounded to eighteen digits the value moves by at most half a unit of the
    // eighteenth, so digits 16 ... 18 other than 499 and 500 tell on which side
    // of the half it lies (a carry through the kept digits comes out the same
    // either way). Only those two patterns take the long way. A value that is
    // exactly a double is written by the double's exact conversion, which gives
    // the same digits faster.
    char buffer[64];
    std::string digits;
    int exponent = 0; // value = 0.d1d2... x 10^exponent
    auto scan = [&](const char* end) {
        digits.clear();
        const char* p = buffer;
        for (; p != end && *p != 'e'; ++p)
            if (*p >= '0' && *p <= '9') digits += *p;
        exponent = std::atoi(std::string(p + 1, end).c_str()) + 1;
    };
    // Only inside the double's normal range, where the narrowing raises no
    // fault flag that a later check could take for the caller's.
    const bool inDoubleRange = magnitude >= std::numeric_limits<double>::min()
                               && magnitude <= std::numeric_limits<double>::max();
    const double asDouble = inDoubleRange ? static_cast<double>(magnitude) : 0.0;
    if (inDoubleRange && static_cast<long double>(asDouble) == magnitude) {
        const std::to_chars_result r
            = std::to_chars(buffer, buffer + sizeof buffer, asDouble, std::chars_format::scientific, 17);
        scan(r.ptr);
    } else {
        scan(buffer + std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude));
    }
    if (digits.compare(15, 3, "499") == 0 || digits.compare(15, 3, "500") == 0)
        scan(buffer + std::snprintf(buffer, sizeof buffer, "%.35Le", magnitude));

    Digits15 out;
    std::copy_n(digits.begin(), 15, out.digits);
    out.exponent = exponent;
    if (digits[15] >= '5') {
        int k = 14;
        while (k >= 0 && out.digits[k] == '9') out.digits[k--] = '0';
        if (k < 0) {
            out.digits[0] = '1';
            ++out.exponent;
        } else {
            ++out.digits[k];
        }
    }
    return out;
}

// The same digits computed exactly in integers, for 1e-13 <= magnitude <
// 1e15 (nearly every value the program shows): the value is m x 2^e with a
// 64-bit m, so value / 10^k for k = -27 ... 0 is (m x 5^-k) / 2^(k - e), a
// quotient of integers below 2^128 whose remainder says exactly whether the
// part cut off is below, at or above one half.
bool exactDigits(long double magnitude, Digits15& out)
{
    static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended precision");
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &magnitude, sizeof magnitude);
    std::uint64_t m = 0;
    std::uint16_t signAndExponent = 0;
    std::memcpy(&m, bytes, 8);
    std::memcpy(&signAndExponent, bytes + 8, 2);
    const int biased = signAndExponent & 0x7fff;
    if (biased == 0 || biased == 0x7fff || (m >> 63) == 0)
        return false;
    const int e2 = biased - 16383; // 2^e2 <= magnitude < 2^(e2 + 1)
    const int e = e2 - 63;         // magnitude = m x 2^e
    static constexpr std::uint64_t kPow5[28] = {
        1ULL, 5ULL, 25ULL, 125ULL, 625ULL, 3125ULL, 15625ULL, 78125ULL, 390625ULL, 1953125ULL, 9765625ULL,
        48828125ULL, 244140625ULL, 1220703125ULL, 6103515625ULL, 30517578125ULL, 152587890625ULL,
        762939453125ULL, 3814697265625ULL, 19073486328125ULL, 95367431640625ULL, 476837158203125ULL,
        2384185791015625ULL, 11920928955078125ULL, 59604644775390625ULL, 298023223876953125ULL,
        1490116119384765625ULL, 7450580596923828125ULL};
    constexpr std::uint64_t kLow = 100000000000000ULL; // 10^14
    constexpr std::uint64_t kHigh = 10 * kLow;        // 10^15
    if (e2 < -50 || e2 > 50)
        return false; // outside 1e-13 ... 1e15 in any case
    // floor(log10(2^e2)) (78913 / 2^18 is log10(2) to the digits needed for
    // these exponents) is the decimal exponent or one below it.
    int e10 = (e2 * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = e10 - 14; // value / 10^k has fifteen digits before the point
        if (k > 0 || k < -27)
            return false;
        const unsigned __int128 n = static_cast<unsigned __int128>(m) * kPow5[-k];
        const int shift = k - e;
        if (shift <= 0 || shift >= 128)
            return false;
        std::uint64_t q = static_cast<std::uint64_t>(n >> shift);
        if (q >= kHigh) {
            ++e10;
            continue;
        }
        if (q < kLow) {
            --e10;
            continue;
        }
        const unsigned __int128 rest = n & ((static_cast<unsigned __int128>(1) << shift) - 1);
        if (rest >= static_cast<unsigned __int128>(1) << (shift - 1))
            ++q; // half or more: away from zero
        out.exponent = e10 + 1;
        if (q == kHigh) {
            q = kLow;
            ++out.exponent;
        }
        // The trailing zeros, which are not shown, taken off first (at
        // most 14: q has fifteen digits), so that only the digits shown are
        // made one by one.
        int count = 15;
        if (q % 100000000 == 0) q /= 100000000, count -= 8;
        if (q % 10000 == 0) q /= 10000, count -= 4;
        if (q % 100 == 0) q /= 100, count -= 2;
        if (q % 10 == 0) q /= 10, count -= 1;
        out.count = count;
        for (int d = count - 1; d >= 0; --d, q /= 10)
            out.digits[d] = static_cast<char>('0' + q % 10);
        return true;
    }
    return false;
}

} // namespace

int FloatToChars(long double value, char16_t* out)
{
    if (value == 0.0L) {
        out[0] = u'0';
        return 1;
    }
    if (!std::isfinite(value))
        throw MathError(MathError::Kind::InvalidOperation);

    const long double magnitude = std::fabs(value);
    Digits15 digits;
    if (!exactDigits(magnitude, digits))
        digits = printedDigits(magnitude);
    int n = digits.count;
    while (n > 1 && digits.digits[n - 1] == '0') --n;
    const char* d = digits.digits;
    const int exponent = digits.exponent;

    // At most: sign, "0.000" and 15 digits, or 15 digits, or
    // "d.ddddddddddddddE-4951".
    int length = 0;
    const char16_t sep = g_decimalSeparator.unicode();
    if (value < 0) out[length++] = u'-';
    if (exponent >= -3 && exponent <= 15) {
        if (exponent > 0) {
            for (int k = 0; k < exponent; ++k)
                out[length++] = k < n ? char16_t(d[k]) : u'0';
            if (n > exponent) {
                out[length++] = sep;
                for (int k = exponent; k < n; ++k) out[length++] = char16_t(d[k]);
            }
        } else {
            out[length++] = u'0';
            out[length++] = sep;
            for (int k = 0; k < -exponent; ++k) out[length++] = u'0';
            for (int k = 0; k < n; ++k) out[length++] = char16_t(d[k]);
        }
    } else {
        out[length++] = char16_t(d[0]);
        if (n > 1) {
            out[length++] = sep;
            for (int k = 1; k < n; ++k) out[length++] = char16_t(d[k]);
        }
        out[length++] = u'E';
        char e[16];
        const std::to_chars_result r = std::to_chars(e, e + sizeof e, exponent - 1);
        for (const char* p = e; p != r.ptr; ++p) out[length++] = char16_t(*p);
    }
    return length;
}

QString FloatToStr(long double value)
{
    char16_t text[kFloatTextCapacity];
    const int length = FloatToChars(value, text);
    return QString(reinterpret_cast<const QChar*>(text), length);
}

QString IntToStr(std::int64_t value) { return QString::number(value); }

long double DegToRad(long double degrees) { return degrees * (Pi / 180.0L); }
long double RadToDeg(long double radians) { return radians * (180.0L / Pi); }

long double ArcSin(long double x) { return std::atan2(x, std::sqrt(1.0L - x * x)); }

namespace {

// Square and multiply in extended precision; a negative exponent takes the
// reciprocal at the end, so 0 to a negative power is a division by zero.
long double IntPower(long double base, long long exponent)
{
    unsigned long long e = exponent < 0 ? static_cast<unsigned long long>(-exponent) : static_cast<unsigned long long>(exponent);
    long double result = 1.0L;
    long double x = base;
    while (e != 0) {
        if (e & 1ULL) result *= x;
        e >>= 1;
        if (e != 0) x *= x;
    }
    if (exponent < 0)
        result = 1.0L / result;
    return result;
}

} // namespace

long double Power(long double base, long double exponent)
{
    if (exponent == 0.0L)
        return 1.0L;
    if (base == 0.0L && exponent > 0.0L)
        return 0.0L;
    if (std::trunc(exponent) == exponent && std::fabs(exponent) <= 2147483647.0L)
        return IntPower(base, static_cast<long long>(exponent));
    return std::exp(exponent * std::log(base));
}

} // namespace tpworm
