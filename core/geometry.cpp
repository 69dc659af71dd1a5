#include "calc/geometry.h"

#include "core/numeric.h"
#include "core/results.h"
#include "core/rules_data.h"
#include "core/translation.h"

#include <cmath>
#include <optional>

namespace tpworm::calc {

namespace {

namespace c = rules::coefficient;

// The warning labels turn red outside these limits: the profile angle of a
// sound drive lies in 20.5 ... 24.5 degrees, the throat lead angle at most 25
// degrees, and the root diameter at the worm throat at least 30 mm.
constexpr long double kMinProfileAngle = 20.5L;
constexpr long double kMaxProfileAngle = 24.5L;
constexpr long double kMaxThroatLeadAngle = 25.0L;
constexpr long double kMinThroatRootDiameter = 30.0L;

long double sinDeg(long double degrees) { return std::sin(DegToRad(degrees)); }
long double cosDeg(long double degrees) { return std::cos(DegToRad(degrees)); }
long double tanDeg(long double degrees) { return std::tan(DegToRad(degrees)); }

// Tilt of the generating plane, in degrees, from the reference diameter d2,
// the centre distance a, the profile angle alpha, the ratio-class angle delta
// and the ratio i.
long double generatingPlaneTilt(long double d2, long double a, long double alpha, int delta, long double i)
{
    const long double r = d2 / a / 2.0L;
    const long double c1 = cosDeg(delta + alpha);
    const long double c0 = cosDeg(alpha);
    return std::atan(c0 * (c1 * r) / ((c1 - c0 * r) * i)) * 180.0L / Pi;
}

// One run of the calculation. Checked, every step looks at the fault flags
// before its value is stored or shown, so a fault ends the run at the step
// that raised it. Unchecked, the same arithmetic runs without looking (each
// look waits for the x87 unit to finish all it has in hand, which costs more
// than the arithmetic) and the flags are read once at the end: the flags only
// ever gather, so none raised at the end means that no step of a checked run
// would have found one, and the two runs wrote the same values.
class Run {
public:
    Run(const GeometryTexts& t, const std::array<double, 16>& N, DesignValues& r, core::Results& s, bool checked)
        : t_(t), N_(N), r_(r), res_(s), checked_(checked)
    {
    }

    GeometryOutcome execute();
    // Unchecked: the outcome, or none when a fault was raised or anything
    // threw (then only a checked run tells where it stopped).
    std::optional<GeometryOutcome> executeUnchecked();

private:
    // A value computed in extended precision, checked for the three faults
    // before it is stored or shown.
    template <class T>
    T ok(T value)
    {
        // The value is made before the flags are read: arithmetic has no
        // effects the compiler sees, so without this it may move a step past
        // the check (a division by zero would then be taken for no fault).
        asm volatile("" : "+m"(value) : : "memory");
        check();
        return value;
    }
    void check()
    {
        if (checked_)
            FaultCheck();
    }
    double roundTo(double value, int digit) { return checked_ ? RoundTo(value, digit) : RoundToUnchecked(value, digit); }

    // The next result in writing order; label names it for the reader and
    // is checked against the table.
    const core::ResultLabel& next(int label)
    {
        const core::ResultLabel& row = core::resultLabels()[res_.written];
        Q_ASSERT(row.label == label);
        (void)label;
        return row;
    }
    void show(int label, long double value)
    {
        ok(value);
        // A value that cannot be shown is a fault, as its formatting would be.
        if (!std::isfinite(value))
            throw MathError(MathError::Kind::InvalidOperation);
        res_.*next(label).number = value;
        written();
    }
    void showWhole(int label, std::int64_t value)
    {
        check();
        res_.*next(label).whole = value;
        written();
    }
    void showText(int label, const QString& text)
    {
        check();
        res_.*next(label).text = text;
        written();
    }
    // Each result stands on its own: flags raised after a value was checked
    // and kept would be none of the next step's. Every caller has just found
    // the flags clear (FaultCheck) and only stored values since, which raises
    // none, so there is nothing to clear.
    void written() { ++res_.written; }
    void warn(int label, bool warning)
    {
        check();
        res_.*next(label).red = warning;
    }

    bool driveAndWorm();
    void hobAndWheel();
    void tipWidthsAndModification();

    const GeometryTexts& t_;
    const std::array<double, 16>& N_;
    DesignValues& r_;
    core::Results& res_;
    const bool checked_;
};

std::optional<GeometryOutcome> Run::executeUnchecked()
{
    try {
        ClearFaults();
        const bool matched = driveAndWorm();
        if (matched) {
            hobAndWheel();
            tipWidthsAndModification();
        }
        if (FaultRaised())
            return std::nullopt;
        return matched ? GeometryOutcome::Completed : GeometryOutcome::RatioMismatch;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

GeometryOutcome Run::execute()
{
    try {
        ClearFaults();
        if (!driveAndWorm())
            return GeometryOutcome::RatioMismatch;
        hobAndWheel();
        tipWidthsAndModification();
        return GeometryOutcome::Completed;
    } catch (const ConvertError&) {
        return GeometryOutcome::Fault;
    } catch (const MathError&) {
        ClearFaults();
        return GeometryOutcome::Fault;
    }
}

bool Run::driveAndWorm()
{
    DesignValues& r = r_;
    r.CentreDistance = ok(static_cast<double>(StrToFloat(t_.centreDistance)));
    r.Ratio = ok(static_cast<double>(StrToFloat(t_.ratio)));
    r.WheelTeeth = StrToInt(t_.wheelTeeth);
    r.WormStarts = StrToInt(t_.wormStarts);
    const long double a = r.CentreDistance;
    const long double i = r.Ratio;
    const int z2 = r.WheelTeeth;
    const int z1 = r.WormStarts;

    const long double quotient = ok(static_cast<long double>(z2) / z1);
    if (std::fabs(i - quotient) > 0.001L)
        return false;
    // Counts below one give no drive; zero starts already fault above.
    if (z1 < 1 || z2 < 1)
        throw MathError(MathError::Kind::InvalidOperation);

    r.RatioClassAngle = i < 10.0L ? 4 : (i <= 30.99L ? 6 : 8);
    const int delta = r.RatioClassAngle;

    StrToFloat(t_.mainBaseDiameter);
    r.TipEccentricity = ok(static_cast<double>(StrToFloat(t_.tipEccentricity)));
    StrToFloat(t_.wormReferenceDiameter);
    r.Backlash = ok(static_cast<double>(StrToFloat(t_.backlash)));
    const long double e = r.TipEccentricity;
    const long double j = r.Backlash;
    show(24, e);

    r.WormReferenceDiameter = ok(static_cast<double>(StrToFloat(t_.wormReferenceDiameter)));
    const long double d1 = r.WormReferenceDiameter;
    r.WheelReferenceDiameter = roundTo(ok(static_cast<double>(2.0L * a - d1)), -3);
    const long double d2 = r.WheelReferenceDiameter;
    show(23, d2);

    r.TransverseModule = roundTo(ok(static_cast<double>(d2 / z2)), -3);
    const long double mt = r.TransverseModule;

    r.Dedendum = roundTo(ok(static_cast<double>(N_[c::kDedendum] * mt)), -3);
    r.WormThroatRootDiameter = roundTo(ok(static_cast<double>(d1 - 2.0L * r.Dedendum)), -3);
    r.WormRootArcRadius = roundTo(ok(static_cast<double>(a - r.WormThroatRootDiameter / 2.0L)), -3);
    const long double Rf1 = r.WormRootArcRadius;
    show(8, Rf1);

    r.Addendum = roundTo(ok(static_cast<double>(N_[c::kAddendum] * mt)), -3);
    const long double ha = r.Addendum;
    r.WormThroatTipDiameter = ok(static_cast<double>(2.0L * ha + d1));
    r.WormTipArcRadius = roundTo(ok(static_cast<double>(a - r.WormThroatTipDiameter / 2.0L + e)), -3);
    const long double Ra1 = r.WormTipArcRadius;
    show(9, Ra1);

    r.AngularPitch = roundTo(ok(static_cast<double>(360.0L / z2)), -3);
    const long double tau = r.AngularPitch;

    // Whole teeth, plus one half from a last digit of 5 on.
    const long double K0 = std::floor(static_cast<long double>(z2) / 5.0L) / 2.0L;
    // Each step stores the count in its double field before the next reads it.
    r.EnclosedTeeth = ok(static_cast<double>(K0 + N_[c::kEnclosedTeethAddition]));
    if (t_.wholeTeeth)
        r.EnclosedTeeth = static_cast<double>(Trunc(r.EnclosedTeeth));
    if (r.EnclosedTeeth > N_[c::kEnclosedTeethCap])
        r.EnclosedTeeth = N_[c::kEnclosedTeethCap];
    const long double K = r.EnclosedTeeth;

    r.WorkingHalfAngle = roundTo(ok(static_cast<double>(0.5L * tau * (K - N_[c::kWorkingAngleTeeth]))), -3);
    const long double phiW = r.WorkingHalfAngle;

    r.WormWorkingLength = roundTo(ok(static_cast<double>(d2 * sinDeg(phiW) + 1.0L)), 0);
    const long double Lw = r.WormWorkingLength;
    show(10, Lw);

    r.ShoulderSize = static_cast<std::int32_t>(Trunc(ok(N_[c::kShoulder] * mt)));
    showWhole(11, r.ShoulderSize);

    r.MainBaseDiameter = ok(static_cast<double>(StrToFloat(t_.mainBaseDiameter)));
    const long double db = r.MainBaseDiameter;
    show(12, db);

    r.ThroatLeadAngleRad = ok(static_cast<double>(std::atan(d2 / i / d1)));
    r.ThroatLeadAngle = roundTo(ok(static_cast<double>(r.ThroatLeadAngleRad * 180.0L / Pi)), -3);
    const long double gamma = r.ThroatLeadAngle;

    r.ProfileAngle = roundTo(ok(static_cast<double>(ArcSin(db / d2) * 180.0L / Pi)), -3);
    const long double alpha = r.ProfileAngle;
    warn(14, alpha < kMinProfileAngle || alpha > kMaxProfileAngle);
    show(14, alpha);

    r.CircularPitch = roundTo(ok(static_cast<double>(Pi * mt)), -3);
    const long double p = r.CircularPitch;

    r.GeneratingPlaneTilt = ok(static_cast<double>(generatingPlaneTilt(d2, a, alpha, delta, i)));
    r.GeneratingPlaneTiltText = FloatToStr(roundTo(r.GeneratingPlaneTilt, -3));
    showText(13, r.GeneratingPlaneTiltText);

    r.WormToothThickness = roundTo(ok(static_cast<double>(p - N_[c::kWheelThickness] * p - j)), -3);
    const long double s1 = r.WormToothThickness;

    r.WormNormalChordalThickness = roundTo(ok(static_cast<double>(cosDeg(gamma) * s1)), -3);
    show(16, r.WormNormalChordalThickness);

    r.WormNormalChordalHeight
        = roundTo(ok(static_cast<double>(ha - (1.0L - std::cos(ArcSin(s1 / d2))) * (0.5L * d2))), -3);
    show(17, r.WormNormalChordalHeight);

    show(25, mt);
    show(26, K);
    show(27, phiW);

    warn(28, gamma > kMaxThroatLeadAngle);
    show(28, gamma);

    const double rootCheck = roundTo(ok(static_cast<double>(2.0L * (a - Rf1))), -2);
    warn(53, !(rootCheck >= kMinThroatRootDiameter));
    show(53, rootCheck);
    return true;
}

void Run::hobAndWheel()
{
    DesignValues& r = r_;
    const long double mt = r.TransverseModule;
    const long double Ra1 = r.WormTipArcRadius;
    const long double Rf1 = r.WormRootArcRadius;
    const long double d1 = r.WormReferenceDiameter;
    const long double d2 = r.WheelReferenceDiameter;
    const long double ha = r.Addendum;
    const long double tau = r.AngularPitch;
    const long double j = r.Backlash;
    const long double gamma = r.ThroatLeadAngle;
    const long double p = r.CircularPitch;
    const long double sn1 = r.WormNormalChordalThickness;
    const long double hn1 = r.WormNormalChordalHeight;

    r.HobTipArcRadius = roundTo(ok(static_cast<double>(Ra1 - 0.2L * mt - N_[c::kHobClearance] * mt)), -3);
    show(18, r.HobTipArcRadius);
    show(19, Rf1 + N_[c::kHobRootAddition]);

    r.HobEnclosedTeeth = ok(static_cast<double>(Trunc(r.EnclosedTeeth) + static_cast<long double>(N_[c::kHobTeethAddition])));
    const long double Kh = r.HobEnclosedTeeth;
    r.HobHalfAngle = roundTo(ok(static_cast<double>(0.5L * tau * (Kh - N_[c::kHobAngleTeeth]))), -3);
    r.HobEffectiveLength = roundTo(ok(static_cast<double>(d2 * sinDeg(r.HobHalfAngle) + 0.5L)), 0);
    show(20, r.HobEffectiveLength);

    show(21, sn1 + j);
    r.HobToothThickness = roundTo(ok(static_cast<double>((sn1 + j) / cosDeg(gamma))), -3);
    r.HobNormalChordalHeight = roundTo(ok(static_cast<double>(0.2L * mt + hn1 + N_[c::kHobClearance] * mt)), -3);
    show(22, r.HobNormalChordalHeight);
    show(29, Kh);

    r.WheelMaxOuterDiameter = roundTo(ok(static_cast<double>(2.0L * ha + d2 + N_[c::kWheelOuterAddition] * mt)), 0);
    r.WheelToothThickness = roundTo(ok(static_cast<double>(p * N_[c::kWheelThickness])), -3);
    const long double s2 = r.WheelToothThickness;
    r.WheelNormalChordalThickness = roundTo(ok(static_cast<double>(cosDeg(gamma) * s2)), -3);
    show(44, r.WheelNormalChordalThickness);
    r.WheelNormalChordalHeight
        = roundTo(ok(static_cast<double>((1.0L - std::cos(ArcSin(s2 / d2))) * (0.5L * d2) + ha)), -3);
    show(45, r.WheelNormalChordalHeight);
    show(33, r.WheelMaxOuterDiameter);
    r.RimWorkingWidth = static_cast<std::int32_t>(Trunc(ok(N_[c::kRimWidth] * d1)));
    showWhole(34, r.RimWorkingWidth);
    show(35, roundTo(ok(static_cast<double>(2.0L * ha + d2)), -3));
}

void Run::tipWidthsAndModification()
{
    DesignValues& r = r_;
    const long double a = r.CentreDistance;
    const long double e = r.TipEccentricity;
    const long double Ra1 = r.WormTipArcRadius;
    const long double Rf1 = r.WormRootArcRadius;
    const long double Lw = r.WormWorkingLength;
    const long double s1 = r.WormToothThickness;
    const long double hn1 = r.WormNormalChordalHeight;
    const long double alpha = r.ProfileAngle;
    const long double mt = r.TransverseModule;
    const int z1 = r.WormStarts;
    const int z2 = r.WheelTeeth;

    show(48, roundTo(ok(static_cast<double>(2.0L * (a + e - std::sqrt(ok(Ra1 * Ra1 - (0.5L * Lw) * (0.5L * Lw)))))), -3));
    show(40, roundTo(ok(static_cast<double>((a - std::sqrt(ok(Rf1 * Rf1 - (0.5L * Lw) * (0.5L * Lw)))) * (2.0L * N_[c::kWheelTipArc]))), 0));

    const long double theta = ok(std::atan((s1 / 2.0L) / (Ra1 - e + hn1)) * 180.0L / Pi + alpha);
    show(43, roundTo(ok(static_cast<double>(2.0L * (s1 / 2.0L - tanDeg(theta) * hn1))), -2));

    const long double sh = r.HobToothThickness;
    const long double Rh = r.HobTipArcRadius;
    const long double hh = r.HobNormalChordalHeight;
    const long double thetaH = ok(std::atan((sh / 2.0L) / (Rh - e + hh)) * 180.0L / Pi + alpha);
    show(49, roundTo(ok(static_cast<double>(2.0L * (sh / 2.0L - tanDeg(thetaH) * hh))), -2));

    r.GrindingIncrement = ok(static_cast<double>(StrToFloat(t_.grindingIncrement)));
    const long double dz = r.GrindingIncrement;
    r.ModifiedRatio = roundTo(ok(static_cast<double>((z2 + dz) / z1)), -3);
    r.ModifiedCentreDistance = ok(static_cast<double>(dz * mt / 2.0L + a));
    r.ModifiedWheelReferenceDiameter = ok(static_cast<double>((z2 + dz) * mt));
    r.ModifiedMainBaseDiameter = ok(static_cast<double>(sinDeg(alpha) * r.ModifiedWheelReferenceDiameter));
    r.ModifiedProfileAngle
        = ok(static_cast<double>(ArcSin(r.ModifiedMainBaseDiameter / static_cast<long double>(r.ModifiedWheelReferenceDiameter)) * 180.0L / Pi));
    r.ModifiedGeneratingPlaneTilt = ok(static_cast<double>(generatingPlaneTilt(
        r.ModifiedWheelReferenceDiameter, r.ModifiedCentreDistance, r.ModifiedProfileAngle, r.RatioClassAngle, r.ModifiedRatio)));

    show(41, roundTo(r.ModifiedGeneratingPlaneTilt, -3));
    show(42, r.ModifiedRatio);
    show(51, roundTo(r.ModifiedCentreDistance, -3));
    show(52, roundTo(r.ModifiedMainBaseDiameter, -3));
}

} // namespace

QString resultSuffix(int label)
{
    const core::ResultLabel* row = core::resultLabel(label);
    // In the language in force: the window, the listing and the JSON alike.
    return row ? uiText(row->suffix) : QString();
}

GeometryOutcome calculate(const GeometryTexts& texts, const std::array<double, 16>& N, DesignValues& record,
                          core::Results& results)
{
    // Nearly every design runs through unchecked; one that faults (or
    // throws) is run again checked from the values it started with, so that
    // it stops where it always stopped.
    {
        const DesignValues recordBefore = record;
        const core::Results resultsBefore = results;
        results.written = 0;
        if (const std::optional<GeometryOutcome> outcome = Run(texts, N, record, results, false).executeUnchecked())
            return *outcome;
        record = recordBefore;
        results = resultsBefore;
    }
    results.written = 0;
    return Run(texts, N, record, results, true).execute();
}

GeometryOutcome calculateGeometry(const GeometryTexts& texts, const std::array<double, 16>& N, DesignValues& record,
                                  ResultSink& sink)
{
    core::Results results;
    const GeometryOutcome outcome = calculate(texts, N, record, results);
    const auto rows = core::resultLabels();
    for (int k = 0; k < results.written; ++k) {
        if (rows[k].red)
            sink.warning(rows[k].label, results.*rows[k].red);
        sink.caption(rows[k].label, core::resultCaption(results, rows[k]));
    }
    return outcome;
}

} // namespace tpworm::calc
