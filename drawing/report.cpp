#include "drawing/report.h"

#include "drawing/part_sheets.h"
#include "drawing/pdf_book.h"
#include "drawing/render.h"

#include "core/numeric.h"

#include <QFileInfo>

namespace tpworm::drawing {

namespace {

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

QString row(const QString& a, const QString& b)
{
    return QStringLiteral("<tr><td width=\"45%\">%1</td><td>%2</td></tr>").arg(escaped(a), escaped(b));
}

QString table(const QString& rows)
{
    return QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">%1</table>").arg(rows);
}

// The six tolerance texts of the grade row, named as the parameter tables
// print them (GB/T 16445-1996 symbols).
QString tolerances(const DesignRecord& r)
{
    const std::pair<const char*, QString> items[] = {
        {"蜗杆轴向齿距极限偏差 ±fpx（3）", r.GradeTolerance3}, {"蜗杆轴向齿距累积公差 fpxl（4）", r.GradeTolerance4},
        {"蜗杆法向弦齿厚下偏差 Ts1（8）", r.GradeTolerance8},   {"蜗轮齿距累积公差 Fp2（9）", r.GradeTolerance9},
        {"蜗轮齿距极限偏差 ±fpt（10）", r.GradeTolerance10},    {"蜗轮法向弦齿厚偏差 Ts2（11）", r.GradeTolerance11},
    };
    QString rows;
    for (const auto& [name, value] : items)
        rows += row(QString::fromUtf8(name), value);
    return table(rows);
}

QString results(const ShownDesign& d)
{
    QString html;
    for (const ShownGroup& group : d.groups) {
        // The group's title heads its own table, so a page never ends on a
        // title whose rows stand on the next.
        QString rows = QStringLiteral("<tr><td colspan=\"2\" bgcolor=\"#a6caf0\"><b>%1</b></td></tr>").arg(escaped(group.title));
        for (const ShownResult& r : group.results)
            rows += QStringLiteral("<tr><td width=\"12%\">%1</td><td>%2</td></tr>")
                        .arg(r.warning ? QStringLiteral("<b>警告</b>") : QString(), escaped(r.caption));
        html += table(rows) + QStringLiteral("<p></p>");
    }
    return html;
}

QString warnings(const ShownDesign& d)
{
    QStringList lines;
    for (const ShownGroup& group : d.groups)
        for (const ShownResult& r : group.results)
            if (r.warning)
                lines << QStringLiteral("%1：%2（窗口中以红色标出）").arg(group.title, r.caption);
    lines += d.warnings;
    if (lines.isEmpty())
        return QStringLiteral("<p>无。</p>");
    QString html = QStringLiteral("<ul>");
    for (const QString& line : lines)
        html += QStringLiteral("<li><b>警告</b>：%1</li>").arg(escaped(line));
    return html + QStringLiteral("</ul>");
}

QString coefficients(const ShownDesign& d)
{
    QString rows;
    for (int k = 0; k < 16; ++k)
        rows += row(QStringLiteral("N%1").arg(k), FloatToStr(d.record.RuleCoefficients[size_t(k)]));
    return table(rows);
}

QString fields(const QList<ShownField>& list)
{
    QString rows;
    for (const ShownField& f : list)
        rows += row(f.caption, f.text);
    return table(rows);
}

// Rounded as the drive check window shows them.
QString value3(long double v) { return FloatToStr(RoundTo(double(v), -3)); }
QString value4(long double v) { return FloatToStr(RoundTo(double(v), -4)); }

// A result of the drive check: marked and red where the window shows it red.
QString ratingRow(const QString& caption, const QString& value, const QString& unit, bool red = false)
{
    const QString shown = escaped(unit.isEmpty() ? value : value + QLatin1Char(' ') + unit);
    return QStringLiteral("<tr><td width=\"12%\">%1</td><td width=\"45%\">%2</td><td>%3</td></tr>")
        .arg(red ? QStringLiteral("<b>警告</b>") : QString(), escaped(caption),
             red ? QStringLiteral("<font color=\"#ff0000\"><b>%1</b></font>").arg(shown) : shown);
}

QString dutyTable(const ShownDriveCheck& c)
{
    const rating::DutyTexts& t = c.duty;
    auto typed = [](const QString& text, const char* unit) {
        return *unit ? text.trimmed() + QLatin1Char(' ') + QString::fromUtf8(unit) : text.trimmed();
    };
    QString rows = row(QStringLiteral("输入功率 P1"), typed(t.inputPower, "kW"))
                   + row(QStringLiteral("蜗杆转速 n1"), typed(t.wormSpeed, "r/min"));
    if (!t.friction.trimmed().isEmpty())
        rows += row(QStringLiteral("摩擦系数 μ"), t.friction.trimmed() + QStringLiteral("（输入值）"));
    else
        rows += row(QStringLiteral("材料配对"), c.materialName.isEmpty()
                                                    ? t.material.trimmed()
                                                    : QStringLiteral("%1（%2）").arg(c.materialName, t.material.trimmed()));
    rows += row(QStringLiteral("环境温度 ta"), typed(t.ambient, "°C"))
            + row(QStringLiteral("允许油温 tlim"), typed(t.oilLimit, "°C"))
            + row(QStringLiteral("散热系数 αs"), typed(t.heatTransfer, "W/(m²·°C)"))
            + row(QStringLiteral("箱体散热面积 S"), t.housingArea.trimmed().isEmpty()
                                                        ? QStringLiteral("未输入：按 S = 9×10⁻⁵·a^1.85 估算")
                                                        : typed(t.housingArea, "m²"))
            + row(QStringLiteral("轴承及搅油效率 ηo"), t.otherEfficiency.trimmed() + QStringLiteral("（假设值）"));
    return table(rows);
}

QString ratingTable(const rating::Rating& r, const rating::Duty& duty)
{
    QString rows;
    rows += ratingRow(QStringLiteral("输入转矩 T1"), value3(r.inputTorque), QStringLiteral("N·m"));
    rows += ratingRow(QStringLiteral("输出转速 n2"), value3(r.outputSpeed), QStringLiteral("r/min"));
    rows += ratingRow(QStringLiteral("输出转矩 T2"), value3(r.outputTorque), QStringLiteral("N·m"));
    rows += ratingRow(QStringLiteral("输出功率 P2"), value3(r.outputPower), QStringLiteral("kW"));
    rows += ratingRow(QStringLiteral("滑动速度 vs"), value3(r.slidingSpeed), QStringLiteral("m/s"));
    rows += ratingRow(QStringLiteral("摩擦系数 μ"),
                      value4(r.friction) + (r.frictionTyped ? QStringLiteral("（输入值）") : QStringLiteral("（查表）")), {});
    rows += ratingRow(QStringLiteral("当量摩擦角 ρ'"), value3(r.frictionAngle), QStringLiteral("°"));
    rows += ratingRow(QStringLiteral("啮合效率 ηm"), value4(r.meshEfficiency), {});
    rows += ratingRow(QStringLiteral("总效率 η = ηm·ηo"), value4(r.efficiency), {});
    rows += ratingRow(QStringLiteral("逆传动效率 ηb（蜗轮主动）"),
                      r.selfLocking ? QStringLiteral("0（自锁）") : value4(r.backdriveEfficiency) + QStringLiteral("（可逆转）"), {});
    rows += ratingRow(QStringLiteral("蜗轮圆周力 Ft2 = 蜗杆轴向力 Fa1"), value3(r.wheelTangentialForce), QStringLiteral("N"));
    rows += ratingRow(QStringLiteral("蜗杆圆周力 Ft1 = 蜗轮轴向力 Fa2"), value3(r.wormTangentialForce), QStringLiteral("N"));
    rows += ratingRow(QStringLiteral("径向力 Fr"), value3(r.radialForce), QStringLiteral("N"));
    rows += ratingRow(QStringLiteral("发热功率 H"), value3(r.heatLoss), QStringLiteral("W"));
    rows += ratingRow(QStringLiteral("箱体散热面积 S"), value3(r.surface) + (r.surfaceEstimated ? QStringLiteral("（估算）") : QString()),
                      QStringLiteral("m²"));
    rows += ratingRow(QStringLiteral("油温 to"), value3(r.oilTemperature), QStringLiteral("°C"), !r.thermalOk);
    rows += ratingRow(QStringLiteral("所需散热面积 Sreq"), value3(r.requiredSurface), QStringLiteral("m²"), !r.thermalOk);
    rows += ratingRow(QStringLiteral("热平衡校核"),
                      r.thermalOk ? QStringLiteral("合格（to ≤ %1 °C）").arg(value3(duty.oilLimit))
                                  : QStringLiteral("不合格（to > %1 °C）").arg(value3(duty.oilLimit)),
                      {}, !r.thermalOk);
    rows += ratingRow(QStringLiteral("使用系数 P额定/P1"), r.serviceFactor ? value3(*r.serviceFactor) : QStringLiteral("未计算"), {},
                      !r.serviceFactor || *r.serviceFactor < 1);
    return table(rows);
}

// The duty, every result with its unit (red as in the window), where the
// friction and the rated power come from, and the check's warnings.
QString driveCheck(const ShownDriveCheck& c)
{
    QString html = QStringLiteral("<p>工况（按输入的文字）：</p>") + dutyTable(c);
    if (!c.rating || !c.parsed)
        return html + QStringLiteral("<p><b>警告</b>：此工况不能校核，本报告不含校核结果：%1</p>").arg(escaped(c.problem));
    const rating::Rating& r = *c.rating;
    html += QStringLiteral("<p>校核结果（与“传动校核”窗口相同的关系和位数；关系及其来源见技术手册）：</p>") + ratingTable(r, *c.parsed);
    html += r.frictionTyped
                ? QStringLiteral("<p>摩擦系数 μ 为输入值，未查摩擦系数表。</p>")
                : QStringLiteral("<p>摩擦系数 μ 按滑动速度查规则数据库的摩擦系数表 friction（材料配对 %1），该表来源：%2</p>")
                      .arg(escaped(c.materialName.isEmpty() ? c.parsed->material : c.materialName), escaped(c.frictionSource));
    if (r.serviceFactor)
        html += QStringLiteral("<p>使用系数由规则数据库的额定功率表 rated_power 得出，该表来源：%1</p>").arg(escaped(c.ratedPowerSource));
    if (r.warnings.isEmpty())
        return html;
    html += QStringLiteral("<p>传动校核的警告：</p><ul>");
    for (const QString& w : r.warnings)
        html += QStringLiteral("<li><b>警告</b>：%1</li>").arg(escaped(w));
    return html + QStringLiteral("</ul>");
}

} // namespace

QString rulesDataNotice()
{
    // Until the rules database carries where each table comes from, the
    // report says plainly what the shipped tables are.
    return QStringLiteral("注意：随程序提供的精度等级公差表和修缘表是本程序选用的参考值，"
                          "并非标准原文（见程序源代码 data/rules）；用于生产前请按 GB/T 16445-1996 核对。");
}

namespace {

// Each section of the report is a function of its own, so that a section can
// be added or moved without touching the others.

QString titleSection(const ReportInfo& info)
{
    return QStringLiteral("<h1 align=\"center\">设计报告</h1>")
           + QStringLiteral("<p align=\"center\">%1 V%2　生成日期 %3</p>")
                 .arg(escaped(info.product), escaped(info.version), info.date.toString(Qt::ISODate))
           + QStringLiteral("<p><b>%1</b></p>").arg(escaped(rulesDataNotice()));
}

QString driveSection(const ShownDesign& d) { return QStringLiteral("<h2>1 传动参数</h2>") + fields(d.drive); }

QString gradeSection(const ShownDesign& d)
{
    return QStringLiteral("<h2>2 精度等级与公差</h2>")
           + table(row(QStringLiteral("精度等级"), d.edit(9))
                   + row(QStringLiteral("标准侧隙"), d.standardBacklash ? QStringLiteral("是") : QStringLiteral("否")))
           + QStringLiteral("<p>所选精度等级与中心距所在行的公差（规则数据库公差表的列号在括号中）：</p>") + tolerances(d.record);
}

QString recommendedSection(const ShownDesign& d)
{
    return QStringLiteral("<h2>3 推荐参数（计算所用）</h2>") + fields(d.recommended);
}

QString resultsSection(const ShownDesign& d)
{
    return QStringLiteral("<h2>4 计算结果</h2><p>各项结果与主窗口显示的文字相同。</p>") + results(d);
}

QString warningsSection(const ShownDesign& d) { return QStringLiteral("<h2>5 警告</h2>") + warnings(d); }

QString rulesSection(const ShownDesign& d)
{
    QString html = QStringLiteral("<h2>6 计算法则</h2>");
    html += QStringLiteral("<p>规则数据库：%1</p>").arg(escaped(d.rulesDatabase.isEmpty() ? QStringLiteral("（未记录）") : d.rulesDatabase));
    for (const QString& line : d.rulesSources.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        html += QStringLiteral("<p>%1</p>").arg(escaped(line));
    if (d.rulesModified)
        html += QStringLiteral("<p><b>%1</b></p>").arg(escaped(d.rulesNotice));
    html += QStringLiteral("<p>计算所用的计算法则系数：</p>") + coefficients(d);
    return html;
}

QString driveCheckSection(const ShownDesign& d)
{
    QString html = QStringLiteral("<h2>7 传动校核</h2>");
    if (!d.driveCheck)
        return html + QStringLiteral("<p>未给出工况，因此本报告不含传动校核。</p>");
    return html + driveCheck(*d.driveCheck);
}

QString drawingsSection()
{
    return QStringLiteral("<h2>8 图纸</h2><p>蜗杆、蜗轮和滚刀工作图见以下各页（图中比例为图纸原尺寸的比例，页面按需缩小）。</p>");
}

} // namespace

QString reportHtml(const ShownDesign& d, const ReportInfo& info)
{
    return titleSection(info) + driveSection(d) + gradeSection(d) + recommendedSection(d) + resultsSection(d)
           + warningsSection(d) + rulesSection(d) + driveCheckSection(d) + drawingsSection();
}

QByteArray designReport(const ShownDesign& d, const TitleFields& title, const ReportInfo& info)
{
    PdfBook book(info.product + QStringLiteral("  设计报告"),
                 QStringLiteral("%1-%2  %3  规则数据为参考值").arg(d.edit(1), d.edit(2), info.date.toString(Qt::ISODate)));
    book.addText(reportHtml(d, info));
    for (Part part : {Part::Worm, Part::Wheel, Part::Hob}) {
        const Sheet sheet = partSheet(part, d, title);
        book.addDrawing(partName(part), [sheet](QPainter& painter, const QRectF& area, int dpi) {
            paintSheetFitted(painter, sheet, area, dpi);
        });
    }
    return book.render();
}

} // namespace tpworm::drawing
