// tpworm-cli rate: the drive check of a design named as for `design` (or by
// --file) under a duty given by options. No windows: the design comes from
// the core, the check from rating/.
#include "app/cli_rate.h"

#include "app/cli_commands.h"
#include "core/program_paths.h"
#include "app/cli_design.h"
#include "app/cli_duty.h"
#include "core/numeric.h"
#include "rating/rating_output.h"
#include "rating/rating_tables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace tpworm::cli {

namespace {

void parseDutyOptions(QStringList arguments, rating::DutyTexts& duty, bool& json)
{
    takeDutyOptions(arguments, duty, MaterialOption::MaterialPair);
    for (const QString& a : arguments) {
        if (a == "--json") json = true;
        else throw UsageError("rate: unknown argument " + a.toStdString());
    }
}

QString shown(long double v) { return FloatToStr(RoundTo(double(v), -4)); }

QByteArray ratingListing(const rating::Rating& r)
{
    QString t = QStringLiteral("[传动校核]\n");
    auto line = [&t](const QString& name, const QString& value, const char* unit) {
        t += QStringLiteral("  ") + name + QStringLiteral("：") + value;
        if (*unit)
            t += QLatin1Char(' ') + QString::fromUtf8(unit);
        t += QLatin1Char('\n');
    };
    line("输入转矩 T1", shown(r.inputTorque), "N·m");
    line("输出转速 n2", shown(r.outputSpeed), "r/min");
    line("输出转矩 T2", shown(r.outputTorque), "N·m");
    line("输出功率 P2", shown(r.outputPower), "kW");
    line("滑动速度 vs", shown(r.slidingSpeed), "m/s");
    line("摩擦系数 μ", shown(r.friction), "");
    line("当量摩擦角 ρ'", shown(r.frictionAngle), "°");
    line("啮合效率 ηm", shown(r.meshEfficiency), "");
    line("总效率 η", shown(r.efficiency), "");
    line("逆传动效率 ηb", r.selfLocking ? QStringLiteral("0（自锁）") : shown(r.backdriveEfficiency), "");
    line("蜗轮圆周力 Ft2 = 蜗杆轴向力 Fa1", shown(r.wheelTangentialForce), "N");
    line("蜗杆圆周力 Ft1 = 蜗轮轴向力 Fa2", shown(r.wormTangentialForce), "N");
    line("径向力 Fr", shown(r.radialForce), "N");
    line("发热功率 H", shown(r.heatLoss), "W");
    line("箱体散热面积 S", shown(r.surface) + (r.surfaceEstimated ? QStringLiteral("（估算）") : QString()), "m²");
    line("油温 to", shown(r.oilTemperature), "°C");
    line("所需散热面积 Sreq", shown(r.requiredSurface), "m²");
    line("热平衡校核", r.thermalOk ? QStringLiteral("合格") : QStringLiteral("不合格"), "");
    line("使用系数 P额定/P1", r.serviceFactor ? shown(*r.serviceFactor) : QStringLiteral("未计算"), "");
    for (const QString& w : r.warnings)
        t += QStringLiteral("! ") + w + QLatin1Char('\n');
    return t.toUtf8();
}

void print(const QByteArray& bytes) { std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout); }

} // namespace

int runRate(const QStringList& arguments)
{
    QStringList rest;
    const DesignOptions options = parseDesignOptions(arguments.mid(1), rest);
    rating::DutyTexts dutyTexts =
        options.file.isEmpty() ? rating::DutyTexts{} : dutyInFile(options.file).value_or(rating::DutyTexts{});
    bool json = false;
    parseDutyOptions(rest, dutyTexts, json);

    const QString programDir = runningProgramPaths().programDir;
    core::DesignForm form = calculatedDesign(options, programDir);
    for (const QString& m : form.messages())
        std::fprintf(stderr, "%s\n", m.toUtf8().constData());

    std::optional<rating::Rating> result;
    std::optional<rating::DriveValues> values;
    QString problem;
    if (form.calculated()) {
        try {
            const rating::Duty duty = rating::parseDuty(dutyTexts);
            const rating::RatingTables tables = rating::loadRatingTables(
                options.rules.isEmpty() ? rulesDatabaseFor(programDir) : options.rules);
            values = rating::driveValues(form.design());
            result = rating::rate(*values, duty, tables.friction, tables.ratedPower);
        } catch (const rating::RatingError& e) {
            problem = e.message();
            std::fprintf(stderr, "%s\n", problem.toUtf8().constData());
        }
    }

    if (json) {
        QJsonObject document = core::designJsonObject(form);
        if (!problem.isEmpty()) {
            QJsonArray messages = document.value("messages").toArray();
            messages.append(problem);
            document.insert("messages", messages);
        }
        document.insert("rating", result ? QJsonValue(rating::ratingJson(*values, *result)) : QJsonValue(QJsonValue::Null));
        print(QJsonDocument(document).toJson(QJsonDocument::Indented));
    } else {
        print(core::designListing(form));
        if (result)
            print(ratingListing(*result));
    }
    return result ? 0 : 1;
}

} // namespace tpworm::cli
