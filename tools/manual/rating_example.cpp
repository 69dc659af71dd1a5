#include "rating_example.h"

#include "core/numeric.h"
#include "rating/rating_tables.h"

#include <map>

namespace tpworm::manual {

namespace {

// The chapter's duty: 15 kW at 1450 r/min, hardened steel on phosphor bronze,
// every other input at the window's default.
rating::DutyTexts exampleDuty()
{
    rating::DutyTexts duty;
    duty.inputPower = QStringLiteral("15");
    duty.wormSpeed = QStringLiteral("1450");
    duty.material = QStringLiteral("steel-bronze");
    return duty;
}

QString v3(long double v) { return FloatToStr(RoundTo(double(v), -3)); }
QString v4(long double v) { return FloatToStr(RoundTo(double(v), -4)); }

} // namespace

QString ratingExampleValue(const ExampleDesign& example, const RulesSnapshot& rules, const QString& key)
{
    rating::Rating r;
    rating::Duty duty;
    const rating::DriveValues d = rating::driveValues(example.record);
    try {
        duty = rating::parseDuty(exampleDuty());
        const rating::RatingTables tables = rating::loadRatingTables(rules.databasePath);
        r = rating::rate(d, duty, tables.friction, tables.ratedPower);
    } catch (const rating::RatingError& e) {
        throw ManualError(QStringLiteral("drive-check example: %1").arg(e.message()));
    }
    const std::map<QString, QString> values = {
        {"P1", v3(duty.inputPower)}, {"n1", v3(duty.wormSpeed)}, {"ta", v3(duty.ambient)},
        {"tlim", v3(duty.oilLimit)}, {"alpha_s", v3(duty.heatTransfer)}, {"eta_o", v4(duty.otherEfficiency)},
        {"d1", v3(d.wormReferenceDiameter)}, {"d2", v3(d.wheelReferenceDiameter)}, {"gamma", v3(d.throatLeadAngle)},
        {"alpha", v3(d.profileAngle)}, {"i", v3(d.ratio)}, {"a", v3(d.centreDistance)},
        {"T1", v3(r.inputTorque)}, {"n2", v3(r.outputSpeed)}, {"T2", v3(r.outputTorque)}, {"P2", v3(r.outputPower)},
        {"vs", v3(r.slidingSpeed)}, {"mu", v4(r.friction)}, {"rho", v3(r.frictionAngle)},
        {"eta_m", v4(r.meshEfficiency)}, {"eta", v4(r.efficiency)},
        {"eta_b", r.selfLocking ? QStringLiteral("0（自锁）") : v4(r.backdriveEfficiency)},
        {"Ft2", v3(r.wheelTangentialForce)}, {"Ft1", v3(r.wormTangentialForce)}, {"Fr", v3(r.radialForce)},
        {"H", v3(r.heatLoss)}, {"S", v3(r.surface)}, {"to", v3(r.oilTemperature)}, {"Sreq", v3(r.requiredSurface)},
        {"verdict", r.thermalOk ? QStringLiteral("合格") : QStringLiteral("不合格")},
        {"locking", r.selfLocking ? QStringLiteral("自锁") : QStringLiteral("不自锁，可由蜗轮反向驱动")},
    };
    const auto it = values.find(key);
    if (it == values.end())
        throw ManualError(QStringLiteral("unknown placeholder {{rating:%1}}").arg(key));
    return it->second.toHtmlEscaped();
}

} // namespace tpworm::manual
