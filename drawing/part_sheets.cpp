#include "drawing/part_sheets.h"

#include "drawing/draft.h"
#include "drawing/parameter_table.h"

#include "core/numeric.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tpworm::drawing {

namespace {

constexpr double kDeg = M_PI / 180;
constexpr double kTableText = 2.3;
constexpr double kNoteText = 2.3;
constexpr double kLabelText = 2.5;

QString diameter(const QString& value) { return QStringLiteral("Ø") + value; }

// The nearer or farther crossing of the line p + t·w with a circle, as t.
std::optional<double> crossing(QPointF p, QPointF w, QPointF centre, double radius, bool nearer)
{
    const QPointF d = p - centre;
    const double b = QPointF::dotProduct(d, w);
    const double c = QPointF::dotProduct(d, d) - radius * radius;
    const double disc = b * b - c;
    if (disc < 0)
        return std::nullopt;
    const double t1 = -b - std::sqrt(disc), t2 = -b + std::sqrt(disc);
    const bool firstNearer = std::abs(t1) < std::abs(t2);
    return nearer == firstNearer ? t1 : t2;
}

QPointF rotated(QPointF v, double radians)
{
    return QPointF(v.x() * std::cos(radians) - v.y() * std::sin(radians), v.x() * std::sin(radians) + v.y() * std::cos(radians));
}

// Model points of the part of a circle facing the worm axis (below its
// centre) between two x positions.
std::vector<QPointF> lowerArc(QPointF centre, double radius, double x0, double x1)
{
    std::vector<QPointF> points;
    const int steps = 48;
    for (int k = 0; k <= steps; ++k) {
        const double x = x0 + (x1 - x0) * k / steps;
        points.emplace_back(x, centre.y() - std::sqrt(std::max(0.0, radius * radius - (x - centre.x()) * (x - centre.x()))));
    }
    return points;
}

// The half angle, seen from a circle's centre, of the chord between ±half.
double halfAngleDeg(double radius, double half) { return std::asin(std::clamp(half / radius, -1.0, 1.0)) / kDeg; }

// The axial tooth profile of the upper half of a worm or hob: root and tip
// lands joined by straight flanks tangent to the main base circle (the
// generating plane's trace in the axial section).
struct ToothForm {
    double centreDistance, tipEccentricity, referenceRadius, profileAngleDeg, toothThickness, angularPitchDeg;
    double tipArcRadius, rootArcRadius, halfLength, halfAngleDeg;
};

struct Flank {
    QPointF pitch, root, tip, tangent;
};

std::optional<Flank> flankAt(const ToothForm& f, double psi, double turn)
{
    const QPointF wheel(0, f.centreDistance), tipCentre(0, f.centreDistance + f.tipEccentricity);
    const double r2 = f.referenceRadius;
    const QPointF p = wheel + r2 * QPointF(std::sin(psi), -std::cos(psi));
    const QPointF w = rotated((wheel - p) / r2, turn);
    const auto tipT = crossing(p, w, tipCentre, f.tipArcRadius, true);
    const auto rootT = crossing(p, w, wheel, f.rootArcRadius, true);
    if (!tipT || !rootT)
        return std::nullopt;
    // The foot of the perpendicular from the wheel centre: where the flank
    // line touches the main base circle.
    const double foot = QPointF::dotProduct(wheel - p, w);
    return Flank{p, p + *rootT * w, p + *tipT * w, p + foot * w};
}

std::vector<QPointF> toothProfile(const ToothForm& f)
{
    const QPointF wheel(0, f.centreDistance), tipCentre(0, f.centreDistance + f.tipEccentricity);
    const double alpha = f.profileAngleDeg * kDeg;
    const double halfTooth = f.toothThickness / 2 / f.referenceRadius;
    const double tau = f.angularPitchDeg * kDeg, half = f.halfLength;
    std::vector<QPointF> out;
    auto append = [&out](const std::vector<QPointF>& arc) { out.insert(out.end(), arc.begin(), arc.end()); };
    double x = -half;
    const int count = tau > 0 ? int(std::ceil(f.halfAngleDeg * kDeg / tau)) + 1 : 0;
    for (int k = -count; k <= count; ++k) {
        const double psi = k * tau;
        const auto left = flankAt(f, psi - halfTooth, -alpha);
        const auto right = flankAt(f, psi + halfTooth, alpha);
        if (!left || !right || left->root.x() < x || right->root.x() > half)
            continue;
        append(lowerArc(wheel, f.rootArcRadius, x, left->root.x()));
        out.push_back(left->tip);
        append(lowerArc(tipCentre, f.tipArcRadius, left->tip.x(), right->tip.x()));
        out.push_back(right->root);
        x = right->root.x();
    }
    append(lowerArc(wheel, f.rootArcRadius, x, half));
    return out;
}

// A structural size of a reference proportion: down to a multiple of 5 mm
// where it is that large, otherwise to tenths, so that tiny designs keep
// their proportions.
double roundedDown(double size)
{
    return size >= 20 ? 5 * std::floor(size / 5) : std::max(std::floor(size * 10) / 10, size * 0.5);
}

// The right-hand column of every sheet: the parameter table, the technical
// requirements and the title block, from the top of the frame down.
struct Column {
    double left, width;
};

Column rightColumn(const Sheet& s) { return {s.width() * 0.6 + 2, s.width() * 0.4 - 4}; }

std::vector<QStringList> tableRows(const ParameterTableText& table)
{
    std::vector<QStringList> rows;
    rows.push_back({table.title});
    rows.push_back({QStringLiteral("名称"), QStringLiteral("代号"), QStringLiteral("数值"), QStringLiteral("偏差"),
                    QStringLiteral("单位")});
    for (const TableRow& row : table.rows) {
        if (row.heading)
            rows.push_back({row.caption});
        else if (row.symbol.isEmpty() && row.unit.isEmpty() && row.deviation.isEmpty())
            rows.push_back({row.caption, row.value}); // a text across 代号 and 数值
        else
            rows.push_back({row.caption, row.symbol, row.value, row.deviation, row.unit});
    }
    return rows;
}

void titleBlock(Draft& draft, const QRectF& box, Part part, const ShownDesign& d, const TitleFields& t, double scale)
{
    const double w = box.width();
    const std::vector<double> columns = {w * 0.14, w * 0.4, w * 0.14, w * 0.32};
    const QString name = t.name.isEmpty() ? partName(part) : t.name;
    const QString number = t.number.isEmpty() ? drawingNumber(part, d) : t.number;
    const QString material = t.material.isEmpty() ? referenceMaterial(part) : t.material;
    const QString date = t.date.isEmpty() ? QDate::currentDate().toString(Qt::ISODate) : t.date;
    draft.table(box.topLeft(), columns,
                {{QStringLiteral("名称"), name, QStringLiteral("比例"), scaleText(scale)},
                 {QStringLiteral("图号"), number, QStringLiteral("材料"), material},
                 {QStringLiteral("设计"), t.designer, QStringLiteral("日期"), date},
                 {QStringLiteral("审核"), QString(), QStringLiteral("共 1 张"), QStringLiteral("第 1 张")}},
                box.height() / 4, 2.5);
}

void sheetColumn(Draft& draft, Part part, const ShownDesign& d, const TitleFields& t, double scale,
                 const QStringList& requirements)
{
    Sheet& s = draft.sheet();
    const Column c = rightColumn(s);
    const documents::ParameterTable which = part == Part::Worm ? documents::ParameterTable::Worm
                                          : part == Part::Wheel ? documents::ParameterTable::Wheel
                                                                : documents::ParameterTable::Hob;
    const std::vector<QStringList> rows = tableRows(parameterTable(which, d.record, d.fields));
    const double w = c.width;
    const double tableHeight = draft.table(QPointF(c.left, 2), {w * 0.42, w * 0.12, w * 0.22, w * 0.13, w * 0.11}, rows,
                                           4.6, kTableText);
    const double titleHeight = 22;
    const double notesTop = 2 + tableHeight + 4;
    draft.paragraph(QPointF(c.left, notesTop), requirements, kNoteText, 4.0);
    titleBlock(draft, QRectF(c.left, s.height() - titleHeight - 2, w, titleHeight), part, d, t, scale);
    draft.polyline(0, {QPointF(0, 0), QPointF(s.width(), 0), QPointF(s.width(), s.height()), QPointF(0, s.height())},
                   Layer::Frame, true);
}

// The paper for a view of the given size: A4 unless the view would need a
// smaller scale there than on A3 and more reduction than 1:2.
PaperSize choosePaper(double widthMm, double heightMm, double roomShareW, double reserveW, double reserveH)
{
    const auto scaleOn = [&](PaperSize paper) {
        const QSizeF size = paperSizeMm(paper);
        const double w = size.width() - 2 * kSheetMarginMm, h = size.height() - 2 * kSheetMarginMm;
        return fittingScale(widthMm, heightMm, w * roomShareW - reserveW, h - reserveH);
    };
    const double a4 = scaleOn(PaperSize::A4), a3 = scaleOn(PaperSize::A3);
    return a4 < 0.5 && a3 > a4 ? PaperSize::A3 : PaperSize::A4;
}

// The worm and the hob share the drawing of a toroidal worm body.
struct BodyView {
    int view;
    double scale;
};

QStringList wormRequirements(const ShownDesign& d)
{
    return {QStringLiteral("技术要求"),
            QStringLiteral("1. 齿面按修形参数磨削（磨齿增量 Δz=%1），表面粗糙度 Ra 0.8。").arg(d.edit(13)),
            QStringLiteral("2. 齿顶两端按入口修缘 %1、出口修缘 %2 修缘。").arg(d.edit(11), d.edit(12)),
            QStringLiteral("3. 轴颈、轴伸与键槽为参考结构尺寸，按减速器结构确定。"),
            QStringLiteral("4. 材料与热处理为参考选择，按设计要求确定。")};
}

} // namespace

QString partWord(Part part)
{
    switch (part) {
    case Part::Worm: return QStringLiteral("worm");
    case Part::Wheel: return QStringLiteral("wheel");
    case Part::Hob: return QStringLiteral("hob");
    }
    return QString();
}

std::optional<Part> partFromWord(const QString& word)
{
    for (Part part : {Part::Worm, Part::Wheel, Part::Hob})
        if (word == partWord(part))
            return part;
    return std::nullopt;
}

QString partName(Part part)
{
    switch (part) {
    case Part::Worm: return QStringLiteral("平面二次包络环面蜗杆");
    case Part::Wheel: return QStringLiteral("平面二次包络环面蜗轮");
    case Part::Hob: return QStringLiteral("平面二次包络环面蜗轮滚刀");
    }
    return QString();
}

QString drawingNumber(Part part, const ShownDesign& d)
{
    const char* suffix = part == Part::Worm ? "01" : part == Part::Wheel ? "02" : "03";
    return QStringLiteral("TP%1-%2-%3").arg(d.edit(1), d.edit(2), QString::fromLatin1(suffix));
}

QString referenceMaterial(Part part)
{
    switch (part) {
    case Part::Worm: return QStringLiteral("42CrMo（参考）");
    case Part::Wheel: return QStringLiteral("ZCuSn10P1/HT250（参考）");
    case Part::Hob: return QStringLiteral("W6Mo5Cr4V2（参考）");
    }
    return QString();
}

Sheet wormSheet(const ShownDesign& d, const TitleFields& t)
{
    const DesignRecord& r = d.record;
    const double a = r.CentreDistance, e = r.TipEccentricity, half = r.WormWorkingLength / 2;
    const double shoulder = r.ShoulderSize, tipMax = d.number(48) / 2;
    // Journals and shaft extension: reference proportions of the working
    // length and the throat root diameter, only to show the part whole.
    const double journalDia = roundedDown(0.7 * std::abs(d.number(53)));
    const double journal = std::round(0.45 * r.WormWorkingLength);
    const double extension = std::round(0.9 * r.WormWorkingLength);
    const double left = half + shoulder + journal, right = half + shoulder + journal + extension;
    const double partW = left + right, partH = (a + tipMax) * 1.08;

    const PaperSize paper = choosePaper(partW, partH, 0.6, 40, 50);
    Sheet s(paper, partName(Part::Worm));
    Draft draft(s);
    const double roomW = s.width() * 0.6 - 40, roomH = s.height() - 50;
    const double scale = fittingScale(partW, partH, roomW, roomH);
    const double viewLeft = 26 + (roomW - partW * scale) / 2;
    const int v = s.addView(View{QStringLiteral("worm"), QPointF(viewLeft + left * scale, 30 + a * scale), scale});
    const double mm = 1 / scale; // one millimetre of paper in model units

    // Axis and the body: journals, shoulders, working part.
    draft.line(v, {-left - 4 * mm, 0}, {right + 4 * mm, 0}, Layer::Centre);
    auto cylinder = [&](double x0, double x1, double radius) {
        draft.line(v, {x0, radius}, {x1, radius});
        draft.line(v, {x0, -radius}, {x1, -radius});
    };
    auto step = [&](double x, double radius) { draft.line(v, {x, radius}, {x, -radius}); };
    cylinder(-left, -half - shoulder, journalDia / 2);
    cylinder(-half - shoulder, -half, tipMax);
    cylinder(half, half + shoulder, tipMax);
    cylinder(half + shoulder, right, journalDia / 2);
    step(-left, journalDia / 2);
    step(-half - shoulder, tipMax);
    step(-half, tipMax);
    step(half, tipMax);
    step(half + shoulder, tipMax);
    step(right, journalDia / 2);
    const double keyX0 = half + shoulder + journal + extension * 0.15, keyX1 = right - extension * 0.1;
    const double keyW = journalDia * 0.14;
    draft.polyline(v, {{keyX0, keyW}, {keyX1, keyW}, {keyX1, -keyW}, {keyX0, -keyW}}, Layer::Outline, true);

    // Working part: the axial tooth profile above; tip and root arcs below.
    const ToothForm form{a, e, r.WheelReferenceDiameter / 2, r.ProfileAngle, r.WormToothThickness, r.AngularPitch,
                         r.WormTipArcRadius, r.WormRootArcRadius, half, r.WorkingHalfAngle};
    draft.polyline(v, toothProfile(form));
    const double tipHalf = halfAngleDeg(r.WormTipArcRadius, half), rootHalf = halfAngleDeg(r.WormRootArcRadius, half);
    draft.arc(v, {0, -(a + e)}, r.WormTipArcRadius, 90 - tipHalf, 90 + tipHalf);
    draft.arc(v, {0, -a}, r.WormRootArcRadius, 90 - rootHalf, 90 + rootHalf, Layer::Thin);
    const double r2 = r.WheelReferenceDiameter / 2, refHalf = halfAngleDeg(r2, half + 3 * mm);
    draft.arc(v, {0, a}, r2, 270 - refHalf, 270 + refHalf, Layer::Centre);
    draft.arc(v, {0, -a}, r2, 90 - refHalf, 90 + refHalf, Layer::Centre);

    // The wheel centre, the main base circle every flank touches, and the
    // flanks of the throat tooth produced to their points of tangency.
    draft.line(v, {-6 * mm, a}, {6 * mm, a}, Layer::Centre);
    draft.line(v, {0, a - 6 * mm}, {0, a + 6 * mm}, Layer::Centre);
    const double rb = r.MainBaseDiameter / 2;
    draft.arc(v, {0, a}, rb, 225, 315, Layer::Centre);
    const double halfTooth = r.WormToothThickness / 2 / r2, alpha = r.ProfileAngle * kDeg;
    for (const auto& [psi, turn] : {std::pair{-halfTooth, -alpha}, std::pair{halfTooth, alpha}})
        if (const auto f = flankAt(form, psi, turn))
            draft.line(v, f->tip, f->tangent, Layer::Thin);
    const QPointF baseLabel(rb * std::cos(315 * kDeg), a + rb * std::sin(315 * kDeg));
    draft.text(v, baseLabel + QPointF(2 * mm, 0),
               QStringLiteral("主基圆 Ø%1，母平面倾斜角 β=%2°").arg(d.value(12), d.value(13)), kLabelText, HAlign::Left,
               VAlign::Middle);
    draft.text(v, {-2 * mm, a + 2 * mm}, QStringLiteral("O₂"), kLabelText, HAlign::Right, VAlign::Bottom);

    // Dimensions: lengths above the part, diameters to the right and on the
    // throat, the centre distance on the left, the two arc radii.
    const double top = tipMax + 8 * mm;
    draft.horizontalDimension(v, {-half, tipMax}, {half, tipMax}, top, d.value(10));
    if (shoulder > 0) {
        draft.horizontalDimension(v, {half, tipMax}, {half + shoulder, tipMax}, top, d.value(11));
        draft.horizontalDimension(v, {-half - shoulder, tipMax}, {-half, tipMax}, top, d.value(11));
    }
    draft.verticalDimension(v, {half + shoulder, tipMax}, {half + shoulder, -tipMax}, half + shoulder + 10 * mm,
                            diameter(d.value(48)));
    const double throatRoot = d.number(53) / 2;
    draft.verticalDimension(v, {-half * 0.3, throatRoot}, {-half * 0.3, -throatRoot}, -half * 0.3, diameter(d.value(53)));
    const double throatTip = r.WormThroatTipDiameter / 2;
    draft.verticalDimension(v, {half * 0.3, throatTip}, {half * 0.3, -throatTip}, half * 0.3,
                            diameter(FloatToStr(RoundTo(r.WormThroatTipDiameter, -3))));
    draft.verticalDimension(v, {-left, 0}, {-6 * mm, a}, -left - 8 * mm, QStringLiteral("a=") + d.edit(1));
    {
        // On the tip arc three quarters of the way to the left end, clear of
        // the throat diameters.
        const double angle = -std::asin(std::clamp(0.75 * half / r.WormTipArcRadius, -1.0, 1.0));
        const QPointF onTip(r.WormTipArcRadius * std::sin(angle), -(a + e) + r.WormTipArcRadius * std::cos(angle));
        draft.radiusDimension(v, {0, -(a + e)}, onTip, QStringLiteral("R") + d.value(9), 10);
        const double rootAngle = 10 * kDeg;
        const QPointF onRoot(r.WormRootArcRadius * std::sin(rootAngle), a - r.WormRootArcRadius * std::cos(rootAngle));
        draft.radiusDimension(v, {0, a}, onRoot, QStringLiteral("R") + d.value(8), 12);
    }
    // The view's caption under the shaft extension, clear of the radius
    // leaders that run down towards the tip arc's centre.
    draft.text(v, {right, -tipMax - 10 * mm},
               QStringLiteral("蜗杆轴向剖面  %1    齿顶圆弧圆心偏移 e=%2").arg(scaleText(scale), d.value(24)), 3.0,
               HAlign::Right, VAlign::Top);

    sheetColumn(draft, Part::Worm, d, t, scale, wormRequirements(d));
    return s;
}

Sheet hobSheet(const ShownDesign& d, const TitleFields& t)
{
    const DesignRecord& r = d.record;
    const double a = r.CentreDistance, e = r.TipEccentricity, half = r.HobEffectiveLength / 2;
    const double tipArc = r.HobTipArcRadius, rootArc = d.number(19);
    // The largest tip diameter at the ends of the effective length.
    const double tipMax = (a + e) - std::sqrt(std::max(0.0, tipArc * tipArc - half * half));
    const double rootThroat = a - rootArc;
    // Collars and bore of a shell hob: reference proportions, only to show
    // the tool whole.
    const double collar = std::max(0.12 * r.HobEffectiveLength, 0.05 * a);
    // A design whose root arc passes the axis (it calculates, but no tool
    // can be made) still gets a body within its tip.
    const double body = rootThroat > 0 ? rootThroat : 0.5 * tipMax;
    const double collarR = 0.8 * body;
    const double bore = roundedDown(0.9 * body) / 2;
    const double total = half + collar;
    const double partW = 2 * total, partH = (a + tipMax) * 1.08;

    const PaperSize paper = choosePaper(partW, partH, 0.6, 40, 50);
    Sheet s(paper, partName(Part::Hob));
    Draft draft(s);
    const double roomW = s.width() * 0.6 - 40, roomH = s.height() - 50;
    const double scale = fittingScale(partW, partH, roomW, roomH);
    const int v = s.addView(View{QStringLiteral("hob"), QPointF(26 + roomW / 2, 30 + a * scale), scale});
    const double mm = 1 / scale;

    draft.line(v, {-total - 4 * mm, 0}, {total + 4 * mm, 0}, Layer::Centre);
    // Collars, bore (hidden) and keyway.
    for (double sign : {-1.0, 1.0}) {
        draft.line(v, {sign * half, collarR}, {sign * total, collarR});
        draft.line(v, {sign * half, -collarR}, {sign * total, -collarR});
        draft.line(v, {sign * total, collarR}, {sign * total, -collarR});
        draft.line(v, {sign * half, tipMax}, {sign * half, -tipMax});
    }
    draft.line(v, {-total, bore}, {total, bore}, Layer::Hidden);
    draft.line(v, {-total, -bore}, {total, -bore}, Layer::Hidden);
    const double key = bore * 1.15;
    draft.line(v, {-total, key}, {total, key}, Layer::Hidden);

    const ToothForm form{a, e, r.WheelReferenceDiameter / 2, r.ProfileAngle, r.HobToothThickness, r.AngularPitch,
                         tipArc, rootArc, half, r.HobHalfAngle};
    draft.polyline(v, toothProfile(form));
    const double tipHalf = halfAngleDeg(tipArc, half), rootHalf = halfAngleDeg(rootArc, half);
    draft.arc(v, {0, -(a + e)}, tipArc, 90 - tipHalf, 90 + tipHalf);
    draft.arc(v, {0, -a}, rootArc, 90 - rootHalf, 90 + rootHalf, Layer::Thin);
    const double r2 = r.WheelReferenceDiameter / 2, refHalf = halfAngleDeg(r2, half + 3 * mm);
    draft.arc(v, {0, a}, r2, 270 - refHalf, 270 + refHalf, Layer::Centre);
    draft.line(v, {-6 * mm, a}, {6 * mm, a}, Layer::Centre);
    draft.line(v, {0, a - 6 * mm}, {0, a + 6 * mm}, Layer::Centre);
    draft.text(v, {-2 * mm, a + 2 * mm}, QStringLiteral("O₂"), kLabelText, HAlign::Right, VAlign::Bottom);

    draft.horizontalDimension(v, {-half, tipMax}, {half, tipMax}, tipMax + 8 * mm, d.value(20));
    {
        const double angle = -std::asin(std::clamp(0.75 * half / tipArc, -1.0, 1.0));
        const QPointF onTip(tipArc * std::sin(angle), -(a + e) + tipArc * std::cos(angle));
        draft.radiusDimension(v, {0, -(a + e)}, onTip, QStringLiteral("R") + d.value(18), 10);
        const double rootAngle = 10 * kDeg;
        const QPointF onRoot(rootArc * std::sin(rootAngle), a - rootArc * std::cos(rootAngle));
        draft.radiusDimension(v, {0, a}, onRoot, QStringLiteral("R") + d.value(19), 12);
    }
    draft.verticalDimension(v, {-total, 0}, {-6 * mm, a}, -total - 8 * mm, QStringLiteral("a=") + d.edit(1));
    draft.text(v, {total + 4 * mm, -tipMax - 10 * mm},
               QStringLiteral("滚刀轴向剖面  %1    齿顶宽 %2").arg(scaleText(scale), d.value(49)), 3.0, HAlign::Left,
               VAlign::Top);

    const QStringList requirements = {
        QStringLiteral("技术要求"),
        QStringLiteral("1. 滚刀齿形按配对蜗杆的母平面参数加工，包围齿数 %1。").arg(d.value(29)),
        QStringLiteral("2. 刀体齿顶圆弧半径 %1，齿根圆弧半径 %2，有效长度 %3。").arg(d.value(18), d.value(19), d.value(20)),
        QStringLiteral("3. 轴台、内孔与键槽为参考结构尺寸，按滚齿机刀杆确定。"),
        QStringLiteral("4. 材料与热处理为参考选择，按设计要求确定。")};
    sheetColumn(draft, Part::Hob, d, t, scale, requirements);
    return s;
}

Sheet wheelSheet(const ShownDesign& d, const TitleFields& t)
{
    const DesignRecord& r = d.record;
    const double outer = d.number(33) / 2, throat = d.number(35) / 2, ref = r.WheelReferenceDiameter / 2;
    const double width = r.RimWorkingWidth, tipArc = d.number(40), mt = r.TransverseModule;
    // Rim depth, hub and web: reference proportions of the module and the
    // rim width, only to show the part whole.
    const double rimInner = ref - 3.7 * mt;
    const double bore = roundedDown(0.4 * ref) / 2, hub = std::min(bore * 1.7, rimInner * 0.8);
    const double hubLength = std::round(1.15 * width), web = std::max(0.3 * width, 2 * mt);
    const double hw = width / 2, hl = hubLength / 2, ww = std::min(web / 2, hw);

    const PaperSize paper = choosePaper(hubLength * 2.2, 2 * outer, 0.6, 60, 40);
    Sheet s(paper, partName(Part::Wheel));
    Draft draft(s);
    // The section through the axis is the main view; a detail of the rim at
    // a larger scale shows the throat arc and the working width.
    const double mainRoom = s.width() * 0.27;
    const double scale = fittingScale(hubLength, 2 * outer, mainRoom - 36, s.height() - 34);
    const int main = s.addView(View{QStringLiteral("section"), QPointF(12 + hl * scale + 4, s.height() / 2), scale});
    const double detailLeft = mainRoom + 8, detailRoom = s.width() * 0.6 - detailLeft - 6;
    const double detailTop = rimInner - 4, detailHeight = outer + 6 - detailTop;
    const double detailScale = fittingScale(width + 24, detailHeight, detailRoom - 12, s.height() * 0.55, true);
    const int detail = s.addView(View{QStringLiteral("detail I"),
                                      QPointF(detailLeft + detailRoom / 2, 30 + (outer + 6) * detailScale), detailScale});
    const double mm = 1 / scale, dmm = 1 / detailScale;

    const double arcCentre = throat + tipArc;
    auto rimTop = [&](double x) {
        const double y = tipArc > std::abs(x) ? arcCentre - std::sqrt(tipArc * tipArc - x * x) : outer;
        return std::min(y, outer);
    };
    auto halfSection = [&](bool whole) {
        std::vector<QPointF> pts;
        pts.emplace_back(-hw, rimInner);
        for (int k = 0; k <= 48; ++k) {
            const double x = -hw + width * k / 48;
            pts.emplace_back(x, rimTop(x));
        }
        pts.emplace_back(hw, rimInner);
        if (whole) {
            pts.emplace_back(ww, rimInner);
            pts.emplace_back(ww, hub);
            pts.emplace_back(hl, hub);
            pts.emplace_back(hl, bore);
            pts.emplace_back(-hl, bore);
            pts.emplace_back(-hl, hub);
            pts.emplace_back(-ww, hub);
            pts.emplace_back(-ww, rimInner);
        }
        return pts;
    };
    auto mirrored = [](std::vector<QPointF> pts) {
        for (QPointF& p : pts)
            p.setY(-p.y());
        return pts;
    };

    // Main view: both halves hatched, the axis and the reference circle.
    const std::vector<QPointF> upper = halfSection(true), lower = mirrored(upper);
    draft.hatch(main, upper);
    draft.hatch(main, lower);
    draft.polyline(main, upper, Layer::Outline, true);
    draft.polyline(main, lower, Layer::Outline, true);
    draft.line(main, {0, -outer - 4 * mm}, {0, outer + 4 * mm}, Layer::Centre);
    draft.line(main, {-hl - 4 * mm, 0}, {hl + 4 * mm, 0}, Layer::Centre);
    for (double y : {ref, -ref})
        draft.line(main, {-hw - 3 * mm, y}, {hw + 3 * mm, y}, Layer::Centre);
    draft.verticalDimension(main, {hw, outer}, {hw, -outer}, hl + 8 * mm, diameter(d.value(33)));
    draft.verticalDimension(main, {hw, ref}, {hw, -ref}, hl + 16 * mm, diameter(d.value(23)));
    draft.verticalDimension(main, {-hw, throat}, {-hw, -throat}, -hl - 8 * mm, diameter(d.value(35)));
    draft.text(main, {0, -outer - 6 * mm}, QStringLiteral("蜗轮轴向剖视  %1").arg(scaleText(scale)), 3.0, HAlign::Centre,
               VAlign::Top);
    draft.text(main, {hw + 1 * mm, outer + 1 * mm}, QStringLiteral("I"), 3.5, HAlign::Left, VAlign::Bottom);

    // Detail I: the rim with its throat arc.
    const std::vector<QPointF> rim = halfSection(false);
    draft.hatch(detail, rim, 2.0);
    draft.polyline(detail, rim, Layer::Outline, true);
    draft.line(detail, {-hw - 6 * dmm, ref}, {hw + 6 * dmm, ref}, Layer::Centre);
    draft.line(detail, {0, detailTop}, {0, std::min(arcCentre, outer + 12 * dmm)}, Layer::Centre);
    draft.horizontalDimension(detail, {-hw, rimTop(-hw)}, {hw, rimTop(hw)}, outer + 8 * dmm, d.value(34));
    {
        const double angle = 25 * kDeg;
        const QPointF onArc(tipArc * std::sin(angle), arcCentre - tipArc * std::cos(angle));
        draft.radiusDimension(detail, {0, arcCentre}, onArc, QStringLiteral("R") + d.value(40), -1);
    }
    draft.text(detail, {0, detailTop - 4 * dmm}, QStringLiteral("I  %1").arg(scaleText(detailScale)), 3.0, HAlign::Centre,
               VAlign::Top);

    const QStringList requirements = {
        QStringLiteral("技术要求"),
        QStringLiteral("1. 轮缘与轮芯过盈配合后精车；轮辐、轮毂为参考结构尺寸。"),
        QStringLiteral("2. 轮齿用配对滚刀（刀体齿顶圆弧半径 %1，有效长度 %2）滚切。").arg(d.value(18), d.value(20)),
        QStringLiteral("3. 中间平面位置按中心距 %1 检查。").arg(d.edit(1)),
        QStringLiteral("4. 材料与热处理为参考选择，按设计要求确定。")};
    sheetColumn(draft, Part::Wheel, d, t, scale, requirements);
    return s;
}

Sheet partSheet(Part part, const ShownDesign& design, const TitleFields& title)
{
    switch (part) {
    case Part::Worm: return wormSheet(design, title);
    case Part::Wheel: return wheelSheet(design, title);
    case Part::Hob: return hobSheet(design, title);
    }
    return wormSheet(design, title);
}

} // namespace tpworm::drawing
