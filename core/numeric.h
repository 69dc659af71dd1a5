// Numeric conventions shared by every calculation and export.
//
// Formulas are evaluated in x87 extended precision (long double) and rounded to
// double only where a value is stored in a double field or handed to RoundTo.
// Division by zero, invalid operations and overflow are errors that end the
// running command; they are caught through the floating-point status flags.
#pragma once

#include <QChar>
#include <QString>

#include <cstdint>
#include <stdexcept>

namespace tpworm {

// A text that does not read as a number where one is required.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const QString& text);
};

// One of the three arithmetic faults.
class MathError : public std::runtime_error {
public:
    enum class Kind { DivisionByZero, InvalidOperation, Overflow };
    explicit MathError(Kind kind);
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// The decimal separator of the user's regional settings; "." unless the program
// start says otherwise.
QChar decimalSeparator();
void setDecimalSeparator(QChar separator);

long double StrToFloat(const QString& text);
// The same reading without the exception, for callers that try many texts
// of which some are no numbers: false, and value untouched, where StrToFloat
// throws.
bool TryStrToFloat(const QString& text, long double& value);
std::int32_t StrToInt(const QString& text);
// Rounds to the decimal position 10^digit (digit -3 keeps thousandths).
double RoundTo(double value, int digit);
// The same arithmetic without RoundTo's fault checks, for a run that looks at
// the flags once at its end and runs again checked when any was raised: it
// neither tests nor clears them (a quotient that is no number still throws,
// as Round does).
double RoundToUnchecked(double value, int digit);
// Nearest integer, ties to the even integer.
std::int64_t Round(long double value);
// Toward zero.
std::int64_t Trunc(long double value);
// General format with 15 significant digits.
QString FloatToStr(long double value);
// The same text written into out, which holds kFloatTextCapacity units;
// returns its length. For writers that put many numbers into one text.
inline constexpr int kFloatTextCapacity = 32;
int FloatToChars(long double value, char16_t* out);
QString IntToStr(std::int64_t value);

inline constexpr long double Pi = 3.141592653589793238462643383279502884L;

long double DegToRad(long double degrees);
long double RadToDeg(long double radians);
// atan2(x, sqrt(1 - x*x)): an argument outside -1 ... 1 is an invalid operation.
long double ArcSin(long double x);
// base^exponent: 0 -> 1, 0^positive -> 0, whole exponents multiplied out
// (negative bases allowed), otherwise exp(exponent * ln(base)).
long double Power(long double base, long double exponent);

// Clears the fault flags; FaultCheck() throws MathError when one was raised
// since, so a command can test after each step before anything is shown.
void ClearFaults();
void FaultCheck();
// Whether one of the three faults has been raised since the flags were last
// cleared (what FaultCheck throws for), without clearing it.
bool FaultRaised();

} // namespace tpworm
