#include "rating/rating_output.h"

#include "core/design_form.h"
#include "core/numeric.h"

#include <QLocale>

#include <charconv>
#include <cmath>

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

void appendJsonNumber(std::string& out, double v)
{
    // A QJsonValue keeps a whole number up to 2^53 as an integer, and writes
    // every other finite number in the shortest form that reads back the
    // same; what is not finite it writes as null.
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    if (std::trunc(v) == v && std::fabs(v) <= 9007199254740992.0) {
        char text[24];
        const std::to_chars_result r = std::to_chars(text, text + sizeof text, static_cast<long long>(v));
        out.append(text, r.ptr);
        return;
    }
    const QByteArray text = QByteArray::number(v, 'g', QLocale::FloatingPointShortest);
    out.append(text.constData(), std::size_t(text.size()));
}

void appendRatingJson(std::string& out, const DriveValues& d, const Rating& r)
{
    // The keys in the order a JSON object keeps them (sorted as texts).
    auto number = [&out](const char* key, long double v) {
        out += '"';
        out += key;
        out += "\":";
        appendJsonNumber(out, double(v));
        out += ',';
    };
    auto boolean = [&out](const char* key, bool v) {
        out += '"';
        out += key;
        out += "\":";
        out += v ? "true" : "false";
        out += ',';
    };
    out += '{';
    number("backdrive_efficiency", r.backdriveEfficiency);
    number("centre_distance", d.centreDistance);
    number("efficiency", r.efficiency);
    number("friction", r.friction);
    number("friction_angle", r.frictionAngle);
    number("heat_loss", r.heatLoss);
    number("input_torque", r.inputTorque);
    number("mesh_efficiency", r.meshEfficiency);
    number("oil_temperature", r.oilTemperature);
    number("output_power", r.outputPower);
    number("output_speed", r.outputSpeed);
    number("output_torque", r.outputTorque);
    number("profile_angle", d.profileAngle);
    number("radial_force", r.radialForce);
    number("ratio", d.ratio);
    number("required_surface", r.requiredSurface);
    boolean("self_locking", r.selfLocking);
    if (r.serviceFactor)
        number("service_factor", *r.serviceFactor);
    else
        out += "\"service_factor\":null,";
    number("sliding_speed", r.slidingSpeed);
    number("surface", r.surface);
    boolean("thermal_ok", r.thermalOk);
    number("throat_lead_angle", d.throatLeadAngle);
    out += "\"warnings\":[";
    for (int k = 0; k < r.warnings.size(); ++k) {
        if (k)
            out += ',';
        out += '"';
        core::appendJsonText(out, r.warnings[k]);
        out += '"';
    }
    out += "],";
    number("wheel_reference_diameter", d.wheelReferenceDiameter);
    number("wheel_tangential_force", r.wheelTangentialForce);
    number("worm_reference_diameter", d.wormReferenceDiameter);
    number("worm_tangential_force", r.wormTangentialForce);
    out.back() = '}';
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
