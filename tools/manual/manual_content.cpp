#include "manual_content.h"

#include "rating_example.h"

#include "core/numeric.h"
#include "app/version.h"

#include <QRegularExpression>

#include <map>

namespace tpworm::manual {

namespace {

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

QString table(const QStringList& header, const QList<QStringList>& rows, const QString& widths = QString())
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\" "
                                  "style=\"border-collapse:collapse; font-size:9pt;\"><thead><tr>");
    const QStringList w = widths.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int c = 0; c < header.size(); ++c)
        html += QStringLiteral("<th bgcolor=\"#a6caf0\"%1>%2</th>")
                    .arg(c < w.size() ? QStringLiteral(" width=\"%1%\"").arg(w[c]) : QString(), header[c]);
    html += QStringLiteral("</tr></thead>");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : row)
            html += QStringLiteral("<td>") + cell + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

// The role of each coefficient in the calculation, in the designer's words.
const char* const kCoefficientRoles[16] = {
    "蜗杆分度圆推荐值和基础值中中心距的指数",
    "齿根高系数 hf = N1·mt",
    "齿顶高系数 ha = N2·mt",
    "工作半包角中从包围齿数减去的齿数",
    "备用，不参与计算",
    "蜗轮齿厚占周节的份额 s2 = N5·p",
    "肩台系数：肩台 = N6·mt 取整",
    "包围齿数中加上的齿数",
    "滚刀齿顶加高系数（模数的倍数）",
    "滚刀齿根圆弧半径比蜗杆大的毫米数",
    "滚刀半包角中减去的齿数",
    "滚刀包围齿数中加上的齿数",
    "蜗轮齿顶圆弧半径系数",
    "蜗轮最大外径中加上的模数个数",
    "齿圈工作宽度系数 b2 = N14·d1",
    "包围齿数的上限",
};

QString coefficientsTable(const RulesSnapshot& rules)
{
    QList<QStringList> rows;
    for (int k = 0; k < rules.coefficients.size(); ++k) {
        const Coefficient& c = rules.coefficients[k];
        rows << QStringList{escaped(c.name), escaped(c.value), escaped(c.defaultValue),
                            QString::fromUtf8(kCoefficientRoles[k]), escaped(c.rule)};
    }
    return table({"系数", "出厂值", "默认值", "在计算中的作用", "计算法则（数据库中的说明）"}, rows, "7,8,8,27,50");
}

const std::map<QString, QString>& gradeColumnNames()
{
    static const std::map<QString, QString> names = {
        // The worm's pitch is uniform as an angle about the wheel axis: its
        // pitch items are circular pitches on the wheel's reference arc, not
        // the axial pitch of a cylindrical worm, whose symbols they share.
        {"worm_pitch_deviation", "蜗杆圆周齿距极限偏差 ±fpx"},
        {"worm_cumulative_pitch_tol", "蜗杆圆周齿距累积公差 fpxl"},
        {"worm_profile_tol", "蜗杆齿形公差 ff1"},
        {"worm_radial_runout_tol", "蜗杆齿槽径向跳动公差 fr"},
        {"worm_helix_tol", "蜗杆螺旋线公差 fh"},
        {"worm_thickness_tol", "蜗杆齿厚公差 Ts1"},
        {"wheel_cumulative_pitch_tol", "蜗轮齿距累积公差 Fp2"},
        {"wheel_pitch_deviation", "蜗轮齿距极限偏差 ±fpt"},
        {"wheel_thickness_tol", "蜗轮齿厚公差 Ts2"},
        {"wheel_radial_runout_tol", "蜗轮齿圈径向跳动公差 Fr2"},
        {"centre_distance_deviation", "中心距极限偏差 ±fa"},
        {"midplane_offset_deviation", "蜗轮中间平面极限偏移 ±fx"},
        {"shaft_angle_deviation", "轴交角极限偏差 ±fΣ"},
        {"standard_backlash", "标准侧隙 jn"},
    };
    return names;
}

QString columnTitle(const TableText& table, int column)
{
    const QString name = table.columns.value(column);
    const QString meaning = gradeColumnMeaning(name);
    return meaning.isEmpty() ? escaped(name) : meaning;
}

QString rangeText(const QStringList& row)
{
    const long double above = StrToFloat(row[1]);
    return above < 0 ? QStringLiteral("≤ %1").arg(row[2]) : QStringLiteral("%1 ～ %2").arg(row[1], row[2]);
}

QString gradeTables(const RulesSnapshot& rules, int grade)
{
    const TableText& t = rules.grade(grade);
    QString html;
    for (const auto& columns : {std::vector<int>{3, 4, 5, 6, 7, 8}, std::vector<int>{9, 10, 11, 12, 13, 14, 15, 16}}) {
        QStringList header{QStringLiteral("中心距 a / mm")};
        for (int c : columns)
            header << QStringLiteral("%1<br>（列 %2）").arg(columnTitle(t, c)).arg(c);
        QList<QStringList> rows;
        for (const QStringList& row : t.rows) {
            QStringList cells{rangeText(row)};
            for (int c : columns)
                cells << escaped(row[c]);
            rows << cells;
        }
        html += QStringLiteral("<p><b>%1 级精度（表 %2）：%3</b></p>")
                    .arg(grade)
                    .arg(escaped(t.name), columns.front() == 3 ? QStringLiteral("蜗杆公差") : QStringLiteral("蜗轮、传动公差和标准侧隙"));
        html += table(header, rows);
    }
    return html;
}

QString gradeColumns(const RulesSnapshot& rules)
{
    const TableText& t = rules.grade(7);
    QList<QStringList> rows;
    const std::map<int, QString> printed = {
        {3, "蜗杆参数表 C17"}, {4, "蜗杆参数表 C18"}, {8, "蜗杆参数表 D13（法向弦齿厚的下偏差，前加“-”）"},
        {9, "蜗轮参数表 C17"}, {10, "蜗轮参数表 C18"},
        {11, "蜗轮参数表 D15（前加“-”）；滚刀参数表 D11（前加“+”）"}, {16, "勾选“标准侧隙”时写入“侧隙”字段"}};
    for (int c = 3; c <= 16; ++c)
        rows << QStringList{QString::number(c), columnTitle(t, c), escaped(t.columns.value(c)),
                            printed.count(c) ? printed.at(c) : QStringLiteral("供设计和检验参考")};
    return table({"列", "项目", "数据库列名", "程序中的用途"}, rows, "6,34,25,35");
}

QString backlashTable(const RulesSnapshot& rules)
{
    QList<QStringList> rows;
    for (int r = 0; r < rules.grade(7).rows.size(); ++r) {
        QStringList cells{rangeText(rules.grade(7).rows[r])};
        for (int g = 6; g <= 8; ++g)
            cells << (r < rules.grade(g).rows.size() ? escaped(rules.grade(g).rows[r][16]) : QString());
        rows << cells;
    }
    return table({"中心距 a / mm", "6 级 jn / mm", "7 级 jn / mm", "8 级 jn / mm"}, rows);
}

QString reliefAmounts(const RulesSnapshot& rules)
{
    QList<QStringList> rows;
    for (const QStringList& row : rules.reliefAmounts.rows)
        rows << QStringList{rangeText(row), escaped(row[3]), escaped(row[4]), escaped(row[5]), escaped(row[6])};
    return table({"中心距 a / mm", "i &lt; 25", "25 ≤ i ≤ 40", "40 &lt; i ≤ 63", "i &gt; 63"}, rows);
}

QString reliefLengths(const RulesSnapshot& rules)
{
    QList<QStringList> rows;
    for (const QStringList& row : rules.reliefLengths.rows)
        rows << QStringList{rangeText(row), escaped(row[3]), escaped(row[4])};
    return table({"蜗轮齿数 z2", "入口修缘长度", "出口修缘长度"}, rows);
}

struct ResultLine {
    int label;
    const char* group;
    const char* name;
    const char* symbol;
    const char* unit;
};

const ResultLine kResults[] = {
    {12, "传动特性", "主基圆直径", "db", "mm"},
    {13, "传动特性", "母平面倾斜角", "β", "°"},
    {25, "传动特性", "端面模数", "mt", "mm"},
    {27, "传动特性", "工作半包角", "φw", "°"},
    {14, "传动特性", "分度圆齿形角", "α", "°"},
    {24, "蜗杆", "蜗杆齿顶圆弧偏心量", "e", "mm"},
    {8, "蜗杆", "蜗杆齿根圆弧半径", "Rf1", "mm"},
    {10, "蜗杆", "蜗杆工作长度", "Lw", "mm"},
    {9, "蜗杆", "蜗杆齿顶圆弧半径", "Ra1", "mm"},
    {11, "蜗杆", "肩台", "", "mm"},
    {26, "蜗杆", "包围齿数", "K", ""},
    {28, "蜗杆", "蜗杆喉部导程角", "γ", "°"},
    {48, "蜗杆", "蜗杆最大齿顶圆直径", "", "mm"},
    {43, "蜗杆", "蜗杆齿顶宽", "", "mm"},
    {53, "蜗杆", "蜗杆喉部齿根直径", "", "mm"},
    {16, "蜗杆", "法向弦齿厚", "sn1", "mm"},
    {17, "蜗杆", "法向弦齿高", "hn1", "mm"},
    {33, "蜗轮", "蜗轮最大外径", "", "mm"},
    {35, "蜗轮", "蜗轮喉径", "", "mm"},
    {34, "蜗轮", "齿圈工作宽度", "b2", "mm"},
    {40, "蜗轮", "蜗轮齿顶圆弧半径", "", "mm"},
    {23, "蜗轮", "蜗轮分度圆直径", "d2", "mm"},
    {44, "蜗轮", "蜗轮法向弦齿厚", "", "mm"},
    {45, "蜗轮", "蜗轮法向弦齿高", "", "mm"},
    {18, "滚刀", "滚刀齿顶圆弧半径", "Rh", "mm"},
    {19, "滚刀", "滚刀齿根圆弧半径", "", "mm"},
    {20, "滚刀", "滚刀有效长度", "Lh", "mm"},
    {29, "滚刀", "滚刀包围齿数", "Kh", ""},
    {49, "滚刀", "滚刀齿顶宽", "", "mm"},
    {21, "滚刀", "滚刀法向弦齿厚", "", "mm"},
    {22, "滚刀", "滚刀法向弦齿高", "hh", "mm"},
    {41, "修形", "修形母面倾斜角", "β′", "°"},
    {42, "修形", "修形传动比", "i′", ""},
    {51, "修形", "修形中心距", "a′", "mm"},
    {52, "修形", "修形主基圆直径", "db′", "mm"},
};

QString exampleResults(const ExampleDesign& d)
{
    QList<QStringList> rows;
    for (const ResultLine& line : kResults)
        rows << QStringList{QString::fromUtf8(line.group), QString::fromUtf8(line.name), QString::fromUtf8(line.symbol),
                            escaped(d.value(line.label)), QString::fromUtf8(line.unit)};
    return table({"组", "项目", "符号", "计算结果", "单位"}, rows, "14,36,12,26,12");
}

QString exampleDriveData(const ExampleDesign& d)
{
    const QList<QStringList> rows = {
        {"中心距 a", escaped(d.centreDistance), "mm"},
        {"蜗轮齿数 z2", escaped(d.wheelTeeth), ""},
        {"蜗杆头数 z1", escaped(d.wormStarts), ""},
        {"实际速比 i", escaped(d.ratio), ""},
        {"精度等级", escaped(d.gradeText), ""},
        {"主基圆 db", escaped(d.mainBase), "mm"},
        {"齿顶偏心 e", escaped(d.tipEccentricity), "mm"},
        {"杆分度圆 d1", escaped(d.referenceDiameter), "mm"},
        {"侧隙 j（标准侧隙）", escaped(d.backlash), "mm"},
        {"入口修缘", escaped(d.entryRelief), "mm * °"},
        {"出口修缘", escaped(d.exitRelief), "mm * °"},
        {"磨齿增量 Δz", escaped(d.grindingIncrement), "齿"},
        {"旋向", escaped(d.hand), ""},
    };
    return table({"输入项", "取值", "单位"}, rows, "40,40,20");
}

// What the calculate command proposes for typical drive data, each
// written "a/z2/z1", and what the calculation then gives.
QString recommendations(const RulesSnapshot& rules, const QString& driveData)
{
    QList<QStringList> rows;
    for (const QString& entry : driveData.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = entry.trimmed().split(QLatin1Char('/'));
        if (parts.size() != 3)
            throw ManualError(QStringLiteral("recommendation \"%1\" is not a/z2/z1").arg(entry));
        const ExampleDesign d = recommendedDesign(parts[0], parts[1], parts[2], rules);
        QStringList warned;
        const std::map<int, QString> names = {{14, "α"}, {28, "γ"}, {53, "齿根"}};
        for (int label : d.warnings)
            warned << names.at(label);
        rows << QStringList{escaped(d.centreDistance), escaped(d.wheelTeeth + "/" + d.wormStarts), escaped(d.ratio),
                            escaped(d.referenceDiameter), escaped(d.mainBase), escaped(d.tipEccentricity),
                            escaped(d.grindingIncrement), escaped(d.backlash), escaped(d.entryRelief), escaped(d.exitRelief),
                            d.calculated ? escaped(d.value(14)) : QStringLiteral("—"),
                            d.calculated ? escaped(d.value(28)) : QStringLiteral("—"),
                            d.calculated ? escaped(d.value(53)) : QStringLiteral("—"),
                            d.calculated ? (warned.isEmpty() ? QStringLiteral("无") : warned.join(QStringLiteral("、")))
                                         : QStringLiteral("计算失败")};
    }
    return table({"a", "z2/z1", "i", "d1", "db", "e", "Δz", "j", "入口修缘", "出口修缘", "α/°", "γ/°", "喉部齿根直径", "警示"}, rows);
}

QString recordValue(const ExampleDesign& d, const QString& name)
{
    const DesignRecord& r = d.record;
    const std::map<QString, double> values = {
        {"ha", r.Addendum}, {"hf", r.Dedendum}, {"df1", r.WormThroatRootDiameter}, {"da1", r.WormThroatTipDiameter},
        {"tau", r.AngularPitch}, {"p", r.CircularPitch}, {"s1", r.WormToothThickness}, {"s2", r.WheelToothThickness},
        {"sh", r.HobToothThickness}, {"phih", r.HobHalfAngle}, {"gammar", r.ThroatLeadAngleRad},
        {"d2m", r.ModifiedWheelReferenceDiameter}, {"alpham", r.ModifiedProfileAngle}, {"delta", double(r.RatioClassAngle)},
        {"betaraw", r.GeneratingPlaneTilt}, {"am", r.ModifiedCentreDistance}, {"dbm", r.ModifiedMainBaseDiameter},
        {"betam", r.ModifiedGeneratingPlaneTilt}};
    const auto it = values.find(name);
    if (it == values.end())
        throw ManualError(QStringLiteral("unknown design value {{value:%1}}").arg(name));
    return FloatToStr(it->second);
}

QString exampleField(const ExampleDesign& d, const QString& name)
{
    const std::map<QString, QString> fields = {
        {"a", d.centreDistance}, {"z2", d.wheelTeeth}, {"z1", d.wormStarts}, {"i", d.ratio}, {"db", d.mainBase},
        {"e", d.tipEccentricity}, {"d1", d.referenceDiameter}, {"j", d.backlash}, {"dz", d.grindingIncrement},
        {"hand", d.hand}, {"grade", d.gradeText}, {"entry", d.entryRelief}, {"exit", d.exitRelief}};
    const auto it = fields.find(name);
    if (it == fields.end())
        throw ManualError(QStringLiteral("unknown field {{field:%1}}").arg(name));
    return escaped(it->second);
}

QString coefficientValue(const RulesSnapshot& rules, const QString& name)
{
    for (const Coefficient& c : rules.coefficients)
        if (c.name == name)
            return escaped(c.value);
    throw ManualError(QStringLiteral("no coefficient %1 in the rules database").arg(name));
}

QString fill(const QString& name, const QString& argument, const ContentData& data)
{
    if (name == "coefficients") return coefficientsTable(data.rules);
    if (name == "coefficient") return coefficientValue(data.rules, argument);
    if (name == "grade_columns") return gradeColumns(data.rules);
    if (name == "grade_table") return gradeTables(data.rules, argument.toInt());
    if (name == "backlash_table") return backlashTable(data.rules);
    if (name == "relief_amounts") return reliefAmounts(data.rules);
    if (name == "relief_lengths") return reliefLengths(data.rules);
    if (name == "recommendations") return recommendations(data.rules, argument);
    if (name == "example_drive_data") return exampleDriveData(data.example);
    if (name == "example_results") return exampleResults(data.example);
    if (name == "result") return escaped(data.example.value(argument.toInt()));
    if (name == "value") return recordValue(data.example, argument);
    if (name == "field") return exampleField(data.example, argument);
    if (name == "tolerance") return escaped(data.example.tolerance.value(argument.toInt()));
    if (name == "rating") return ratingExampleValue(data.example, data.rules, argument);
    if (name == "version") return escaped(kProductVersion);
    if (name == "product") return escaped(kProductTitle);
    throw ManualError(QStringLiteral("unknown placeholder {{%1}}").arg(name));
}

} // namespace

QString gradeColumnMeaning(const QString& columnName)
{
    const auto it = gradeColumnNames().find(columnName);
    return it == gradeColumnNames().end() ? QString() : it->second;
}

QString fillPlaceholders(const QString& source, const ContentData& data)
{
    static const QRegularExpression placeholder(QStringLiteral(R"(\{\{([a-z_]+)(?::([^}]*))?\}\})"));
    QString out;
    qsizetype last = 0;
    for (auto it = placeholder.globalMatch(source); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += source.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1), argument = m.captured(2);
        if (name == "result" && data.example.value(argument.toInt()).isEmpty())
            throw ManualError(QStringLiteral("the calculation shows nothing in label %1").arg(argument));
        out += fill(name, argument, data);
        last = m.capturedEnd();
    }
    out += source.mid(last);
    if (out.contains(QStringLiteral("{{")))
        throw ManualError(QStringLiteral("a placeholder is left unfilled near \"%1\"").arg(out.mid(out.indexOf("{{"), 30)));
    return out;
}

} // namespace tpworm::manual
