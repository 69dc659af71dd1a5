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

} // namespace

QString rulesDataNotice()
{
    // Until the rules database carries where each table comes from, the
    // report says plainly what the shipped tables are.
    return QStringLiteral("注意：随程序提供的精度等级公差表和修缘表是本程序选用的参考值，"
                          "并非标准原文（见程序源代码 data/rules）；用于生产前请按 GB/T 16445-1996 核对。");
}

QString reportHtml(const ShownDesign& d, const ReportInfo& info)
{
    QString html;
    html += QStringLiteral("<h1 align=\"center\">设计报告</h1>");
    html += QStringLiteral("<p align=\"center\">%1 V%2　生成日期 %3</p>")
                .arg(escaped(info.product), escaped(info.version), info.date.toString(Qt::ISODate));
    html += QStringLiteral("<p><b>%1</b></p>").arg(escaped(rulesDataNotice()));
    html += QStringLiteral("<h2>1 传动参数</h2>") + fields(d.drive);
    html += QStringLiteral("<h2>2 精度等级与公差</h2>");
    html += table(row(QStringLiteral("精度等级"), d.edit(9))
                  + row(QStringLiteral("标准侧隙"), d.standardBacklash ? QStringLiteral("是") : QStringLiteral("否")));
    html += QStringLiteral("<p>所选精度等级与中心距所在行的公差（规则数据库公差表的列号在括号中）：</p>") + tolerances(d.record);
    html += QStringLiteral("<h2>3 推荐参数（计算所用）</h2>") + fields(d.recommended);
    html += QStringLiteral("<h2>4 计算结果</h2><p>各项结果与主窗口显示的文字相同。</p>") + results(d);
    html += QStringLiteral("<h2>5 警告</h2>") + warnings(d);
    html += QStringLiteral("<h2>6 计算法则</h2>");
    html += QStringLiteral("<p>规则数据库：%1</p>").arg(escaped(d.rulesDatabase.isEmpty() ? QStringLiteral("（未记录）") : d.rulesDatabase));
    for (const QString& line : d.rulesSources.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        html += QStringLiteral("<p>%1</p>").arg(escaped(line));
    if (d.rulesModified)
        html += QStringLiteral("<p><b>%1</b></p>").arg(escaped(d.rulesNotice));
    html += QStringLiteral("<p>计算所用的计算法则系数：</p>") + coefficients(d);
    html += QStringLiteral("<h2>7 传动校核</h2>");
    if (d.driveCheck.isEmpty()) {
        html += QStringLiteral("<p>本程序尚未提供传动校核，本报告不含此项。</p>");
    } else {
        for (const QString& line : d.driveCheck)
            html += QStringLiteral("<p>%1</p>").arg(escaped(line));
    }
    html += QStringLiteral("<h2>8 图纸</h2><p>蜗杆、蜗轮和滚刀工作图见以下各页（图中比例为图纸原尺寸的比例，页面按需缩小）。</p>");
    return html;
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
