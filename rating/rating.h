// The drive check of a calculated pair: torques, sliding speed, friction,
// efficiencies, self-locking, mesh forces, heat balance and, where the user
// has supplied a rated-power table, the service factor.
//
// Everything here is classical worm-drive mechanics applied to the throat
// values of the design (reference diameters, throat lead angle, profile
// angle); rating.cpp names the source of every relation. No load-capacity
// (contact or bending strength) formula for this drive type is public, so
// none is computed: the strength verdict comes only from the user's table.
//
// Widget-free: Qt Core only. Lengths in mm, angles in degrees at this
// interface; power kW, speed r/min, torque N·m, force N, heat W, °C, m².
#pragma once

#include "core/design_record.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace tpworm::rating {

// A duty or a design that cannot be checked; the message says which input
// and why, worded for the user.
class RatingError : public std::runtime_error {
public:
    explicit RatingError(const QString& message);
    QString message() const { return QString::fromStdString(what()); }
};

// One material pair of the friction table: μ against sliding speed.
struct FrictionPoint {
    long double slidingSpeed = 0; // m/s
    long double friction = 0;     // μ
};

struct FrictionCurve {
    QString key;  // "steel-bronze", "iron-iron", or the user's own
    QString name; // what the window lists, e.g. "淬硬钢蜗杆 / 磷青铜蜗轮"
    QList<FrictionPoint> points; // ascending in sliding speed
};

// One row of the user's rated-power table (a catalogue or a standard).
struct RatedPowerRow {
    long double centreDistance = 0; // mm
    long double ratio = 0;
    long double wormSpeed = 0;      // r/min
    long double ratedPower = 0;     // kW, rated input power
};

// The duty as plain values, checked.
struct Duty {
    long double inputPower = 0; // P1, kW
    long double wormSpeed = 0;  // n1, r/min
    // Either a material pair of the friction table or a typed μ.
    QString material;
    std::optional<long double> friction;
    long double ambient = 20;        // ta, °C
    long double oilLimit = 80;       // tlim, °C
    long double heatTransfer = 14;   // αs, W/(m²·°C)
    std::optional<long double> housingArea; // S, m²; none: the estimate
    long double otherEfficiency = 0.96;      // ηo, bearings and churning
};

// The duty as the fields (or the command line, or a design file) hold it.
// An empty housing area means the estimate; an empty friction text means
// the material pair.
struct DutyTexts {
    QString inputPower;
    QString wormSpeed;
    QString material = QStringLiteral("steel-bronze");
    QString friction;
    QString ambient = QStringLiteral("20");
    QString oilLimit = QStringLiteral("80");
    QString heatTransfer = QStringLiteral("14");
    QString housingArea;
    QString otherEfficiency = QStringLiteral("0.96");
    friend bool operator==(const DutyTexts&, const DutyTexts&) = default;
};

// Reads and checks every text; RatingError naming the first bad input:
// empty, not a number, zero or negative where only a positive value means
// anything, ηo outside (0, 1], an oil limit not above the ambient.
Duty parseDuty(const DutyTexts& texts);

// The design values the check uses, taken from a calculated design.
struct DriveValues {
    long double centreDistance = 0;        // a, mm
    long double ratio = 0;                 // i
    long double wormReferenceDiameter = 0; // d1, mm
    long double wheelReferenceDiameter = 0; // d2, mm
    long double throatLeadAngle = 0;       // γ, degrees
    long double profileAngle = 0;          // αn, degrees
};

// The values the design shows (γ and α as rounded for their labels, so a
// check by hand from the screen gives the same numbers).
DriveValues driveValues(const DesignValues& design);

struct Rating {
    long double inputTorque = 0;    // T1, N·m
    long double outputSpeed = 0;    // n2, r/min
    long double slidingSpeed = 0;   // vs, m/s
    long double friction = 0;       // μ
    bool frictionTyped = false;
    long double frictionAngle = 0;  // ρ', degrees
    long double meshEfficiency = 0; // ηm
    long double efficiency = 0;     // η = ηm·ηo
    long double backdriveEfficiency = 0; // ηb; 0 when self-locking
    bool selfLocking = false;
    long double outputTorque = 0;   // T2, N·m
    long double outputPower = 0;    // P2, kW
    long double wheelTangentialForce = 0; // Ft2 = Fa1, N
    long double wormTangentialForce = 0;  // Ft1 = Fa2, N
    long double radialForce = 0;          // Fr, N
    long double heatLoss = 0;        // H, W
    long double surface = 0;         // S used, m²
    bool surfaceEstimated = false;
    long double oilTemperature = 0;  // to, °C
    long double requiredSurface = 0; // Sreq, m²
    bool thermalOk = false;
    std::optional<long double> serviceFactor; // P_rated / P1
    QStringList warnings;
};

// S = 9·10⁻⁵·a^1.85, m², a in mm: an estimate of a smooth housing.
long double estimatedHousingArea(long double centreDistance);

// μ at vs by linear interpolation; outside the points the end value, with
// *outside set. RatingError for a curve without points.
long double frictionAt(const FrictionCurve& curve, long double slidingSpeed, bool* outside = nullptr);

// Rated input power for the design and worm speed, linear in worm speed and
// ratio between the table's points for the design's centre distance.
// RatingError when the table does not cover the design (the message says
// which of centre distance, ratio or speed lies outside).
long double ratedPowerAt(const QList<RatedPowerRow>& table, long double centreDistance, long double ratio,
                         long double wormSpeed);

// The check. curves: the friction table (needed unless the duty types μ);
// ratedPower: the user's table, empty when none is supplied. RatingError for
// a design without usable values, a material not in the table, or an
// arithmetic fault.
Rating rate(const DriveValues& design, const Duty& duty, const QList<FrictionCurve>& curves,
            const QList<RatedPowerRow>& ratedPower);

// The texts of the warnings, for tests and the manual.
QString strengthNotComputedText();

} // namespace tpworm::rating
