#include "rating/rating_output.h"

#include "core/numeric.h"

#include <QJsonArray>

namespace tpworm::rating {

namespace {

QJsonValue number(long double v) { return double(v); }

} // namespace

QJsonObject ratingJson(const DriveValues& d, const Rating& r)
{
    QJsonArray warnings;
    for (const QString& w : r.warnings)
        warnings.append(w);
    return QJsonObject{
        {"input_torque", number(r.inputTorque)},
        {"output_torque", number(r.outputTorque)},
        {"output_speed", number(r.outputSpeed)},
        {"output_power", number(r.outputPower)},
        {"sliding_speed", number(r.slidingSpeed)},
        {"friction", number(r.friction)},
        {"friction_angle", number(r.frictionAngle)},
        {"mesh_efficiency", number(r.meshEfficiency)},
        {"efficiency", number(r.efficiency)},
        {"backdrive_efficiency", number(r.backdriveEfficiency)},
        {"self_locking", r.selfLocking},
        {"wheel_tangential_force", number(r.wheelTangentialForce)},
        {"worm_tangential_force", number(r.wormTangentialForce)},
        {"radial_force", number(r.radialForce)},
        {"heat_loss", number(r.heatLoss)},
        {"oil_temperature", number(r.oilTemperature)},
        {"required_surface", number(r.requiredSurface)},
        {"surface", number(r.surface)},
        {"thermal_ok", r.thermalOk},
        {"service_factor", r.serviceFactor ? number(*r.serviceFactor) : QJsonValue(QJsonValue::Null)},
        {"warnings", warnings},
        {"centre_distance", number(d.centreDistance)},
        {"ratio", number(d.ratio)},
        {"worm_reference_diameter", number(d.wormReferenceDiameter)},
        {"wheel_reference_diameter", number(d.wheelReferenceDiameter)},
        {"throat_lead_angle", number(d.throatLeadAngle)},
        {"profile_angle", number(d.profileAngle)},
    };
}

QStringList ratingColumnNames()
{
    return {QStringLiteral("efficiency"), QStringLiteral("output_torque"), QStringLiteral("oil_temperature"),
            QStringLiteral("thermal_ok"), QStringLiteral("self_locking"), QStringLiteral("service_factor")};
}

QStringList ratingColumnTexts(const Rating& r)
{
    auto yesNo = [](bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); };
    return {FloatToStr(r.efficiency), FloatToStr(r.outputTorque), FloatToStr(r.oilTemperature), yesNo(r.thermalOk),
            yesNo(r.selfLocking), r.serviceFactor ? FloatToStr(*r.serviceFactor) : QString()};
}

} // namespace tpworm::rating
