// The relations of the drive check and where each one comes from.
//
// Sources (named again in the technical volume of the manual):
//  [B] R. G. Budynas, J. K. Nisbett, Shigley's Mechanical Engineering Design,
//      McGraw-Hill (9th ed., 2011), chapter 13, force analysis and efficiency
//      of worm gearing: sliding velocity V_S = V_W / cos λ, efficiency
//      e = (cos φn − f tan λ) / (cos φn + f cot λ) with the worm driving and
//      the wheel-driving counterpart, the force components at the pitch
//      point (the radial component here with friction left out).
//  [N] G. Niemann, H. Winter, Maschinenelemente Band III, Springer (2nd ed.,
//      1986), Schneckengetriebe: the same efficiencies written with the
//      friction angle, η = tan γ / tan(γ + ρ'), tan ρ' = μ / cos αn, and
//      self-locking when γ ≤ ρ'.
//  [P] 濮良贵, 纪名刚 主编,《机械设计》, 高等教育出版社 (第八版, 2006),
//      蜗杆传动的热平衡计算: heat loss 1000·P·(1 − η), oil temperature
//      t0 = ta + 1000·P·(1 − η) / (αd·S), the surface needed for a given oil
//      temperature, αd = 8.15 … 17.45 W/(m²·°C) for natural convection, and
//      T = 9550·P/n for torque from power.
//  [C] J. Carvill, Mechanical Engineer's Data Handbook, Butterworth-
//      Heinemann (1993), worm gears: friction coefficient against sliding
//      speed for a hardened steel worm with a phosphor-bronze wheel and for
//      cast iron on cast iron (the table shipped in the rules database).
//  [H] The housing-surface estimate S = 9·10⁻⁵·a^1.85 m² (a in mm) of the
//      Chinese design handbooks' worm-reducer heat balance (e.g. 成大先 主编
//      《机械设计手册》, 化学工业出版社, 蜗杆传动). Handbooks differ in the
//      exponent (1.85 … 1.88) and it holds for a plain housing without fins
//      or fan: the program shows it as an estimate and lets the user type S.
#include "rating/rating.h"

#include "core/numeric.h"

#include <algorithm>
#include <cmath>

namespace tpworm::rating {

namespace {

QString shown(long double value) { return FloatToStr(RoundTo(double(value), -3)); }

QString shown4(long double value) { return FloatToStr(RoundTo(double(value), -4)); }

// One duty text read as a number; name is what the window calls the input.
long double number(const QString& name, const QString& text)
{
    if (text.trimmed().isEmpty())
        throw RatingError(QStringLiteral("%1：不能为空").arg(name));
    long double value = 0;
    try {
        value = StrToFloat(text);
    } catch (const ConvertError&) {
        throw RatingError(QStringLiteral("%1：“%2”不是合法数字").arg(name, text));
    }
    if (!std::isfinite(value))
        throw RatingError(QStringLiteral("%1：“%2”超出数值范围").arg(name, text));
    return value;
}

long double positive(const QString& name, const QString& text)
{
    const long double value = number(name, text);
    if (value <= 0)
        throw RatingError(QStringLiteral("%1：必须大于 0（现为 %2）").arg(name, text.trimmed()));
    return value;
}

const QString kPower = QStringLiteral("输入功率 P1");
const QString kSpeed = QStringLiteral("蜗杆转速 n1");
const QString kFriction = QStringLiteral("摩擦系数 μ");
const QString kAmbient = QStringLiteral("环境温度 ta");
const QString kOilLimit = QStringLiteral("允许油温 tlim");
const QString kHeatTransfer = QStringLiteral("散热系数 αs");
const QString kArea = QStringLiteral("箱体散热面积 S");
const QString kOther = QStringLiteral("轴承及搅油效率 ηo");

long double lerp(long double x0, long double y0, long double x1, long double y1, long double x)
{
    return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

bool same(long double a, long double b) { return std::fabs(a - b) <= 1e-9L * std::max(1.0L, std::fabs(b)); }

// Rated power along one ratio line of the table, linear in worm speed.
long double alongSpeed(const QList<RatedPowerRow>& rows, long double centreDistance, long double ratio,
                       long double wormSpeed)
{
    QList<RatedPowerRow> line;
    for (const RatedPowerRow& row : rows)
        if (same(row.ratio, ratio))
            line.append(row);
    std::sort(line.begin(), line.end(),
              [](const RatedPowerRow& l, const RatedPowerRow& r) { return l.wormSpeed < r.wormSpeed; });
    for (int k = 1; k < line.size(); ++k)
        if (same(line[k].wormSpeed, line[k - 1].wormSpeed))
            throw RatingError(QStringLiteral("额定功率表中 a = %1 mm、i = %2、n1 = %3 r/min 的行重复")
                                  .arg(shown(centreDistance), shown(ratio), shown(line[k].wormSpeed)));
    const long double low = line.front().wormSpeed;
    const long double high = line.back().wormSpeed;
    if ((wormSpeed < low && !same(wormSpeed, low)) || (wormSpeed > high && !same(wormSpeed, high)))
        throw RatingError(QStringLiteral("蜗杆转速 n1 = %1 r/min 在额定功率表（a = %2 mm，i = %3）的 %4～%5 r/min 之外")
                              .arg(shown(wormSpeed), shown(centreDistance), shown(ratio), shown(low), shown(high)));
    for (int k = 0; k < line.size(); ++k) {
        if (same(line[k].wormSpeed, wormSpeed))
            return line[k].ratedPower;
        if (k > 0 && wormSpeed < line[k].wormSpeed)
            return lerp(line[k - 1].wormSpeed, line[k - 1].ratedPower, line[k].wormSpeed, line[k].ratedPower, wormSpeed);
    }
    return line.back().ratedPower;
}

} // namespace

RatingError::RatingError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString strengthNotComputedText()
{
    return QStringLiteral("未计算强度（承载能力）：规则数据库中的额定功率表 rated_power 没有数据。"
                          "此类传动没有公开的强度计算方法，本程序不自行计算；"
                          "请把产品样本或标准的额定输入功率填入该表，程序即给出使用系数 P额定/P1。");
}

Duty parseDuty(const DutyTexts& texts)
{
    Duty duty;
    duty.inputPower = positive(kPower, texts.inputPower);
    duty.wormSpeed = positive(kSpeed, texts.wormSpeed);
    if (!texts.friction.trimmed().isEmpty()) {
        duty.friction = positive(kFriction, texts.friction);
    } else {
        duty.material = texts.material.trimmed();
        if (duty.material.isEmpty())
            throw RatingError(QStringLiteral("%1：请选择材料配对，或直接输入摩擦系数").arg(kFriction));
    }
    // Temperatures are Celsius: zero and below are real ambient temperatures.
    duty.ambient = number(kAmbient, texts.ambient);
    if (duty.ambient <= -273.15L)
        throw RatingError(QStringLiteral("%1：低于绝对零度（现为 %2 °C）").arg(kAmbient, texts.ambient.trimmed()));
    duty.oilLimit = number(kOilLimit, texts.oilLimit);
    if (duty.oilLimit <= duty.ambient)
        throw RatingError(QStringLiteral("%1：必须高于环境温度 ta（现为 %2 °C，ta = %3 °C）")
                              .arg(kOilLimit, texts.oilLimit.trimmed(), texts.ambient.trimmed()));
    duty.heatTransfer = positive(kHeatTransfer, texts.heatTransfer);
    if (!texts.housingArea.trimmed().isEmpty())
        duty.housingArea = positive(kArea, texts.housingArea);
    duty.otherEfficiency = positive(kOther, texts.otherEfficiency);
    if (duty.otherEfficiency > 1)
        throw RatingError(QStringLiteral("%1：不能大于 1（现为 %2）").arg(kOther, texts.otherEfficiency.trimmed()));
    return duty;
}

DriveValues driveValues(const DesignValues& design)
{
    DriveValues values;
    values.centreDistance = design.CentreDistance;
    values.ratio = design.Ratio;
    values.wormReferenceDiameter = design.WormReferenceDiameter;
    values.wheelReferenceDiameter = design.WheelReferenceDiameter;
    values.throatLeadAngle = design.ThroatLeadAngle;
    values.profileAngle = design.ProfileAngle;
    return values;
}

// [H]
long double estimatedHousingArea(long double centreDistance)
{
    return 9e-5L * std::pow(centreDistance, 1.85L);
}

// [C], read linearly between its points.
long double frictionAt(const FrictionCurve& curve, long double slidingSpeed, bool* outside)
{
    if (curve.points.isEmpty())
        throw RatingError(QStringLiteral("摩擦系数表中材料配对 %1 没有数据").arg(curve.key));
    const QList<FrictionPoint>& p = curve.points;
    const bool below = slidingSpeed < p.front().slidingSpeed;
    const bool above = slidingSpeed > p.back().slidingSpeed;
    if (outside)
        *outside = below || above;
    if (below)
        return p.front().friction;
    if (above)
        return p.back().friction;
    for (int k = 1; k < p.size(); ++k)
        if (slidingSpeed <= p[k].slidingSpeed)
            return lerp(p[k - 1].slidingSpeed, p[k - 1].friction, p[k].slidingSpeed, p[k].friction, slidingSpeed);
    return p.back().friction;
}

long double ratedPowerAt(const QList<RatedPowerRow>& table, long double centreDistance, long double ratio,
                         long double wormSpeed)
{
    QList<RatedPowerRow> rows;
    for (const RatedPowerRow& row : table)
        if (same(row.centreDistance, centreDistance))
            rows.append(row);
    if (rows.isEmpty())
        throw RatingError(QStringLiteral("额定功率表中没有中心距 a = %1 mm 的数据").arg(shown(centreDistance)));
    QList<long double> ratios;
    for (const RatedPowerRow& row : rows)
        if (std::none_of(ratios.begin(), ratios.end(), [&](long double r) { return same(r, row.ratio); }))
            ratios.append(row.ratio);
    std::sort(ratios.begin(), ratios.end());
    for (int k = 0; k < ratios.size(); ++k) {
        if (same(ratios[k], ratio))
            return alongSpeed(rows, centreDistance, ratios[k], wormSpeed);
        if (k > 0 && ratio > ratios[k - 1] && ratio < ratios[k])
            return lerp(ratios[k - 1], alongSpeed(rows, centreDistance, ratios[k - 1], wormSpeed), ratios[k],
                        alongSpeed(rows, centreDistance, ratios[k], wormSpeed), ratio);
    }
    throw RatingError(QStringLiteral("传动比 i = %1 在额定功率表（a = %2 mm）的 %3～%4 之外")
                          .arg(shown(ratio), shown(centreDistance), shown(ratios.front()), shown(ratios.back())));
}

Rating rate(const DriveValues& design, const Duty& duty, const QList<FrictionCurve>& curves,
            const QList<RatedPowerRow>& ratedPower)
{
    const long double a = design.centreDistance;
    const long double i = design.ratio;
    const long double d1 = design.wormReferenceDiameter;
    const long double d2 = design.wheelReferenceDiameter;
    if (!(a > 0 && i > 0 && d1 > 0 && d2 > 0 && design.throatLeadAngle > 0 && design.throatLeadAngle < 90
          && design.profileAngle > 0 && design.profileAngle < 90))
        throw RatingError(QStringLiteral("设计的中心距、速比、分度圆直径、导程角或齿形角不可用于传动校核，请先完成计算"));
    const long double gamma = DegToRad(design.throatLeadAngle);
    const long double alpha = DegToRad(design.profileAngle);

    Rating r;
    ClearFaults();
    try {
        // Torque from power [P]; the wheel turns i times slower.
        r.inputTorque = 9550.0L * duty.inputPower / duty.wormSpeed;
        r.outputSpeed = duty.wormSpeed / i;
        // Sliding speed at the throat: the worm's pitch-line speed over cos γ [B].
        r.slidingSpeed = Pi * d1 * duty.wormSpeed / (60000.0L * std::cos(gamma));

        if (duty.friction) {
            r.friction = *duty.friction;
            r.frictionTyped = true;
        } else {
            if (curves.isEmpty())
                throw RatingError(QStringLiteral("规则数据库中没有摩擦系数表 friction（可能是旧的规则文件），请直接输入摩擦系数 μ"));
            const auto curve = std::find_if(curves.begin(), curves.end(),
                                            [&](const FrictionCurve& c) { return c.key == duty.material; });
            if (curve == curves.end())
                throw RatingError(QStringLiteral("规则数据库的摩擦系数表 friction 中没有材料配对“%1”").arg(duty.material));
            bool outside = false;
            r.friction = frictionAt(*curve, r.slidingSpeed, &outside);
            if (outside)
                r.warnings << QStringLiteral("滑动速度 vs = %1 m/s 在摩擦系数表（%2）的 %3～%4 m/s 之外，取表端值 μ = %5")
                                  .arg(shown(r.slidingSpeed), curve->name, shown(curve->points.front().slidingSpeed),
                                       shown(curve->points.back().slidingSpeed), shown4(r.friction));
        }

        // Friction angle in the normal section and the efficiencies [N], [B].
        const long double rho = std::atan(r.friction / std::cos(alpha));
        r.frictionAngle = RadToDeg(rho);
        if (gamma + rho >= Pi / 2)
            throw RatingError(QStringLiteral("摩擦角 ρ' = %1° 与导程角 γ 之和达到 90°，摩擦系数 μ = %2 过大")
                                  .arg(shown(r.frictionAngle), shown4(r.friction)));
        r.meshEfficiency = std::tan(gamma) / std::tan(gamma + rho);
        r.efficiency = r.meshEfficiency * duty.otherEfficiency;
        r.selfLocking = gamma <= rho;
        r.backdriveEfficiency = r.selfLocking ? 0.0L : std::tan(gamma - rho) / std::tan(gamma);

        r.outputTorque = r.inputTorque * i * r.efficiency;
        r.outputPower = duty.inputPower * r.efficiency;

        // Forces at the throat [B]: tangential from torque and diameter, the
        // radial one from the profile angle, friction left out.
        r.wheelTangentialForce = 2000.0L * r.outputTorque / d2;
        r.wormTangentialForce = 2000.0L * r.inputTorque / d1;
        r.radialForce = r.wheelTangentialForce * std::tan(alpha) / std::cos(gamma);

        // Heat balance [P], with the housing surface typed or estimated [H].
        r.heatLoss = 1000.0L * duty.inputPower * (1.0L - r.efficiency);
        r.surfaceEstimated = !duty.housingArea;
        r.surface = duty.housingArea ? *duty.housingArea : estimatedHousingArea(a);
        r.oilTemperature = duty.ambient + r.heatLoss / (duty.heatTransfer * r.surface);
        r.requiredSurface = r.heatLoss / (duty.heatTransfer * (duty.oilLimit - duty.ambient));
        r.thermalOk = r.oilTemperature <= duty.oilLimit;
        FaultCheck();
    } catch (const MathError&) {
        throw RatingError(QStringLiteral("传动校核的计算溢出或无意义（请检查输入数值的大小）"));
    }

    if (!r.thermalOk)
        r.warnings << QStringLiteral("热平衡校核不合格：油温 to = %1 °C 高于允许油温 tlim = %2 °C；"
                                     "所需散热面积 Sreq = %3 m²（现为 S = %4 m²）")
                          .arg(shown(r.oilTemperature), shown(duty.oilLimit), shown(r.requiredSurface), shown(r.surface));
    if (r.surfaceEstimated)
        r.warnings << QStringLiteral("箱体散热面积 S = %1 m² 是估算值（S = 9×10⁻⁵·a^1.85，无散热片的箱体），请以实际箱体核对")
                          .arg(shown(r.surface));

    if (ratedPower.isEmpty()) {
        r.warnings << strengthNotComputedText();
    } else {
        try {
            r.serviceFactor = ratedPowerAt(ratedPower, a, i, duty.wormSpeed) / duty.inputPower;
            if (*r.serviceFactor < 1)
                r.warnings << QStringLiteral("使用系数 P额定/P1 = %1 小于 1：额定功率表给出的额定输入功率低于 P1")
                                  .arg(shown(*r.serviceFactor));
        } catch (const RatingError& e) {
            r.warnings << QStringLiteral("未计算使用系数：") + e.message();
        }
    }
    return r;
}

} // namespace tpworm::rating
