#include "numeric.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

long double StrToFloat(const QString& text)
{
    // Grammar: blanks, [sign], digits [sep digits], [E [sign] digits], blanks.
    const int n = text.size();
    int i = 0;
    while (i < n && text[i] == QLatin1Char(' ')) ++i;
    int end = n;
    while (end > i && text[end - 1] == QLatin1Char(' ')) --end;

    std::string ascii;
    if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ascii += char(text[i++].unicode());
    bool mantissa = false;
    while (i < end && isDigit(text[i])) { ascii += char(text[i++].unicode()); mantissa = true; }
    if (i < end && text[i] == g_decimalSeparator) {
        ascii += '.';
        ++i;
        mantissa = true;
        while (i < end && isDigit(text[i])) ascii += char(text[i++].unicode());
    }
    if (!mantissa)
        throw ConvertError(text);
    if (i < end && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ascii += 'e';
        ++i;
        if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ascii += char(text[i++].unicode());
        bool exponentDigits = false;
        while (i < end && isDigit(text[i])) { ascii += char(text[i++].unicode()); exponentDigits = true; }
        if (!exponentDigits)
            throw ConvertError(text);
    }
    if (i != end)
        throw ConvertError(text);

    // strtold does not take "." or "-." alone; they stand for zero.
    std::string number = ascii;
    const std::size_t dot = number.find('.');
    if (dot != std::string::npos && (dot + 1 == number.size() || !std::isdigit(static_cast<unsigned char>(number[dot + 1]))))
        number.insert(dot + 1, "0");
    if (number[0] == '.' || ((number[0] == '+' || number[0] == '-') && number[1] == '.'))
        number.insert(number[0] == '.' ? 0 : 1, "0");

    errno = 0;
    char* stop = nullptr;
    const long double value = strtold_l(number.c_str(), &stop, cLocale());
    if (stop == number.c_str() || *stop != '\0')
        throw ConvertError(text);
    if (errno == ERANGE && std::isinf(value))
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

double RoundTo(double value, int digit)
{
    long double power = 1.0L;
    for (int k = 0; k < (digit < 0 ? -digit : digit); ++k)
        power *= 10.0L;
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
    const double factor = static_cast<double>(digit < 0 ? 1.0L / power : power);
    const long double quotient = static_cast<long double>(value) / static_cast<long double>(factor);
    FaultCheck();
    const long double n = static_cast<long double>(Round(quotient));
    const double result = static_cast<double>(n * static_cast<long double>(factor));
    FaultCheck();
    if (raisedBefore)
        std::fesetexceptflag(&before, faults);
    return result;
}

std::int64_t Round(long double value)
{
    // nearbyintl rounds in the current mode, which is to nearest, ties to even.
    return toInt64(std::nearbyint(value));
}

std::int64_t Trunc(long double value) { return toInt64(std::trunc(value)); }

QString FloatToStr(long double value)
{
    if (value == 0.0L)
        return QStringLiteral("0");
    if (!std::isfinite(value))
        throw MathError(MathError::Kind::InvalidOperation);

    // Enough digits to see whether the sixteenth digit is an exact half: a long
    // double never lies closer than about 1e-19 relative to such a tie without
    // being one.
    //
    // Eighteen correctly rounded digits decide almost always, and far faster:
    // rounded to eighteen digits the value moves by at most half a unit of the
    // eighteenth, so digits 16 ... 18 other than 499 and 500 tell on which side
    // of the half it lies (a carry through the kept digits comes out the same
    // either way). Only those two patterns take the long way. A value that is
    // exactly a double (most results are) is written by the double's exact
    // conversion, which gives the same digits much faster.
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
    const long double magnitude = std::fabs(value);
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

    // Round to 15 significant digits, halves away from zero.
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

    const QChar sep = g_decimalSeparator;
    QString out;
    if (value < 0) out += QLatin1Char('-');
    const QString d = QString::fromLatin1(kept.c_str());
    if (exponent >= -3 && exponent <= 15) {
        if (exponent > 0) {
            if (d.size() <= exponent) {
                out += d + QString(exponent - d.size(), QLatin1Char('0'));
            } else {
                out += d.left(exponent) + sep + d.mid(exponent);
            }
        } else {
            out += QLatin1Char('0') + QString(sep) + QString(-exponent, QLatin1Char('0')) + d;
        }
    } else {
        out += d.left(1);
        if (d.size() > 1) out += sep + d.mid(1);
        out += QLatin1Char('E') + QString::number(exponent - 1);
    }
    return out;
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
