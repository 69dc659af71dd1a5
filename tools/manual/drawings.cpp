#include "drawings.h"

#include "drawing_sheet.h"

#include "core/numeric.h"

#include <QPainter>

#include <cmath>
#include <optional>

namespace tpworm::manual {

namespace {

constexpr double kDeg = M_PI / 180;

// Paper coordinates of a view: model millimetres (y up) at a scale, placed
// at an origin on the sheet (y down).
struct View {
    QPointF origin;
    double scale;
    QPointF at(double x, double y) const { return origin + QPointF(x * scale, -y * scale); }
    QPointF at(QPointF model) const { return at(model.x(), model.y()); }
};

// The nearer crossing of the line p + t·w with a circle, as the parameter t.
std::optional<double> crossing(QPointF p, QPointF w, QPointF centre, double radius, bool nearer)
{
    const QPointF d = p - centre;
    const double b = QPointF::dotProduct(d, w);
    const double c = QPointF::dotProduct(d, d) - radius * radius;
    const double disc = b * b - c;
    if (disc < 0)
        return std::nullopt;
    const double t1 = -b - std::sqrt(disc), t2 = -b + std::sqrt(disc);
    return nearer ? (std::abs(t1) < std::abs(t2) ? t1 : t2) : (std::abs(t1) < std::abs(t2) ? t2 : t1);
}

QPointF rotated(QPointF v, double radians)
{
    return QPointF(v.x() * std::cos(radians) - v.y() * std::sin(radians), v.x() * std::sin(radians) + v.y() * std::cos(radians));
}

// Points of an arc about a centre between two x positions (the lower part of
// the circle, facing the worm axis), for a polyline.
std::vector<QPointF> lowerArc(const View& v, QPointF centre, double radius, double x0, double x1, bool mirrored = false)
{
    std::vector<QPointF> points;
    const int steps = 60;
    for (int k = 0; k <= steps; ++k) {
        const double x = x0 + (x1 - x0) * k / steps;
        const double y = centre.y() - std::sqrt(std::max(0.0, radius * radius - (x - centre.x()) * (x - centre.x())));
        points.push_back(v.at(x, mirrored ? -y : y));
    }
    return points;
}

QString diameter(const QString& value) { return QStringLiteral("Ø") + value; }

// A row list of label | symbol | value for a drawing's parameter table.
using Rows = std::vector<QStringList>;

void titleBlock(DrawingSheet& s, const QRectF& box, const QString& part, const QString& number, const QString& material,
                double scale)
{
    const double w = box.width();
    const std::vector<double> columns = {w * 0.22, w * 0.28, w * 0.2, w * 0.3};
    s.table(box.topLeft(), columns,
            {{QStringLiteral("名称"), part, QStringLiteral("比例"), scaleText(scale)},
             {QStringLiteral("图号"), number, QStringLiteral("材料"), material},
             {QStringLiteral("设计"), QString(), QStringLiteral("日期"), QString()},
             {QStringLiteral("审核"), QString(), QStringLiteral("共 1 张"), QStringLiteral("第 1 张")}},
            box.height() / 4, 2.5);
}

// The worm's axial tooth profile of the upper half: alternating root and tip
// lands joined by straight flanks tangent to the main base circle, the flank
// line of the generating plane in the axial section.
std::vector<QPointF> wormProfile(const View& v, const ExampleDesign& d)
{
    const DesignRecord& r = d.record;
    const double a = r.CentreDistance, e = r.TipEccentricity;
    const QPointF wheel(0, a), tipCentre(0, a + e);
    const double r2 = r.WheelReferenceDiameter / 2, alpha = r.ProfileAngle * kDeg;
    const double halfTooth = r.WormToothThickness / 2 / r2; // angle of half the worm tooth on the reference circle
    const double tau = r.AngularPitch * kDeg, half = r.WormWorkingLength / 2;

    struct Flank { QPointF root, tip; };
    auto flank = [&](double psi, double turn) -> std::optional<Flank> {
        const QPointF p = wheel + r2 * QPointF(std::sin(psi), -std::cos(psi));
        const QPointF toWheel = (wheel - p) / r2;
        const QPointF w = rotated(toWheel, turn);
        const auto tipT = crossing(p, w, tipCentre, r.WormTipArcRadius, true);
        const auto rootT = crossing(p, w, wheel, r.WormRootArcRadius, true);
        if (!tipT || !rootT)
            return std::nullopt;
        return Flank{p + *rootT * w, p + *tipT * w};
    };

    std::vector<QPointF> out;
    auto rootArc = [&](double x0, double x1) {
        const auto arc = lowerArc(v, wheel, r.WormRootArcRadius, x0, x1);
        out.insert(out.end(), arc.begin(), arc.end());
    };
    auto tipArc = [&](double x0, double x1) {
        const auto arc = lowerArc(v, tipCentre, r.WormTipArcRadius, x0, x1);
        out.insert(out.end(), arc.begin(), arc.end());
    };
    double x = -half;
    const int count = int(std::ceil(r.WorkingHalfAngle * kDeg / tau)) + 1;
    for (int k = -count; k <= count; ++k) {
        const double psi = k * tau;
        const auto left = flank(psi - halfTooth, -alpha);
        const auto right = flank(psi + halfTooth, alpha);
        if (!left || !right || left->root.x() < -half || right->root.x() > half)
            continue;
        rootArc(x, left->root.x());
        out.push_back(v.at(left->tip));
        tipArc(left->tip.x(), right->tip.x());
        out.push_back(v.at(right->root));
        x = right->root.x();
    }
    rootArc(x, half);
    return out;
}

} // namespace

double fittingScale(double widthMm, double heightMm, double roomWidthMm, double roomHeightMm)
{
    for (double reduction : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 10.0, 20.0})
        if (widthMm / reduction <= roomWidthMm && heightMm / reduction <= roomHeightMm)
            return 1 / reduction;
    return 1 / 50.0;
}

QString scaleText(double scale) { return QStringLiteral("1:") + FloatToStr(std::round(10 / scale) / 10); }

void drawWorm(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& d)
{
    DrawingSheet s(painter, area, dpi);
    const DesignRecord& r = d.record;
    const double a = r.CentreDistance, e = r.TipEccentricity, half = r.WormWorkingLength / 2;
    const double shoulder = r.ShoulderSize, tipMax = d.number(48) / 2;
    const double journalDia = std::max(20.0, 5 * std::floor(0.7 * d.number(53) / 5));
    const double journal = std::round(0.45 * r.WormWorkingLength);
    const double extension = std::round(0.9 * r.WormWorkingLength);
    const double left = half + shoulder + journal, right = half + shoulder + journal + extension;

    // The view takes the left 60 % of the sheet, the wheel centre included so
    // that the two arc centres show.
    const double roomW = s.width() * 0.6 - 20, roomH = s.height() - 40;
    const double scale = fittingScale(left + right, a + tipMax + 10, roomW, roomH);
    const double viewCentreX = 10 + roomW / 2 - (right - left) / 2 * scale;
    const View v{QPointF(viewCentreX, 22 + (a + 5) * scale), scale};

    // Axis and the worm body: journals, shoulders, working part.
    s.line(v.at(-left - 6, 0), v.at(right + 6, 0), Line::Centre);
    auto cylinder = [&](double x0, double x1, double radius) {
        s.polyline({v.at(x0, radius), v.at(x1, radius)});
        s.polyline({v.at(x0, -radius), v.at(x1, -radius)});
    };
    auto step = [&](double x, double r0, double r1) { s.line(v.at(x, std::max(r0, r1)), v.at(x, -std::max(r0, r1))); };
    cylinder(-left, -half - shoulder, journalDia / 2);
    cylinder(-half - shoulder, -half, tipMax);
    cylinder(half, half + shoulder, tipMax);
    cylinder(half + shoulder, half + shoulder + journal + extension, journalDia / 2);
    step(-left, 0, journalDia / 2);
    step(-half - shoulder, journalDia / 2, tipMax);
    step(-half, tipMax, tipMax);
    step(half, tipMax, tipMax);
    step(half + shoulder, tipMax, journalDia / 2);
    step(right, 0, journalDia / 2);
    // Keyway of the shaft extension.
    const double keyX0 = half + shoulder + journal + extension * 0.15, keyX1 = right - extension * 0.1;
    const double keyW = std::max(4.0, journalDia * 0.28) / 2;
    s.polyline({v.at(keyX0, keyW), v.at(keyX1, keyW), v.at(keyX1, -keyW), v.at(keyX0, -keyW), v.at(keyX0, keyW)}, Line::Thick);

    // Working part: the axial tooth profile above, tip and root lines below.
    s.polyline(wormProfile(v, d));
    const QPointF wheel(0, a), tipCentre(0, a + e);
    s.polyline(lowerArc(v, tipCentre, r.WormTipArcRadius, -half, half, true));
    s.polyline(lowerArc(v, wheel, r.WormRootArcRadius, -half, half, true), Line::Thin);
    s.polyline(lowerArc(v, wheel, r.WheelReferenceDiameter / 2, -half - 3, half + 3), Line::Centre);
    s.polyline(lowerArc(v, wheel, r.WheelReferenceDiameter / 2, -half - 3, half + 3, true), Line::Centre);

    // Wheel centre, the main base circle (which every flank touches) and the
    // centre of the tip arc, offset by the tip eccentricity.
    s.line(v.at(-8, a), v.at(8, a), Line::Centre);
    s.line(v.at(0, a - 8), v.at(0, a + 8), Line::Centre);
    s.polyline(lowerArc(v, wheel, r.MainBaseDiameter / 2, -r.MainBaseDiameter / 2 * 0.7, r.MainBaseDiameter / 2 * 0.7), Line::Centre);
    s.text(v.at(r.MainBaseDiameter / 2 * 0.72, a - r.MainBaseDiameter / 2 * 0.7) + QPointF(1, 0),
           QStringLiteral("主基圆 Ø%1").arg(d.value(12)), 2.5, Qt::AlignLeft | Qt::AlignVCenter);
    s.text(v.at(0, a) + QPointF(2, -2), QStringLiteral("蜗轮中心 O₂"), 2.5, Qt::AlignLeft | Qt::AlignBottom);

    // Dimensions.
    const double top = v.at(0, tipMax).y();
    s.horizontalDimension(v.at(-half, tipMax), v.at(half, tipMax), top - 8, d.value(10));
    s.horizontalDimension(v.at(half, tipMax), v.at(half + shoulder, tipMax), top - 8, d.value(11));
    s.horizontalDimension(v.at(-half - shoulder, tipMax), v.at(-half, tipMax), top - 8, d.value(11));
    s.verticalDimension(v.at(half + shoulder, tipMax), v.at(half + shoulder, -tipMax), v.at(half + shoulder, 0).x() + 10,
                        diameter(d.value(48)));
    const double throatTip = r.WormThroatTipDiameter / 2;
    s.verticalDimension(v.at(0, throatTip), v.at(0, -throatTip), v.at(0, 0).x(), diameter(FloatToStr(r.WormThroatTipDiameter)));
    const double throatRoot = d.number(53) / 2;
    s.verticalDimension(v.at(-half * 0.25, throatRoot), v.at(-half * 0.25, -throatRoot), v.at(-half * 0.25, 0).x(),
                        diameter(d.value(53)));
    s.verticalDimension(v.at(-left, 0), v.at(-8, a), v.at(-left, 0).x() - 6, QStringLiteral("a=") + d.centreDistance);
    {
        const double angle = -14 * kDeg;
        const QPointF onTip(tipCentre.x() + r.WormTipArcRadius * std::sin(angle), tipCentre.y() - r.WormTipArcRadius * std::cos(angle));
        s.radiusDimension(v.at(tipCentre), v.at(onTip), QStringLiteral("R") + d.value(9), 14);
        const double rootAngle = 11 * kDeg;
        const QPointF onRoot(r.WormRootArcRadius * std::sin(rootAngle), a - r.WormRootArcRadius * std::cos(rootAngle));
        s.radiusDimension(v.at(wheel), v.at(onRoot), QStringLiteral("R") + d.value(8), 14);
    }
    s.text(v.at(0, a + e) + QPointF(2, 1), QStringLiteral("齿顶圆弧圆心偏移 e=%1").arg(d.value(24)), 2.5,
           Qt::AlignLeft | Qt::AlignTop);
    s.text(v.at(half + 4, r.WheelReferenceDiameter / 2 > 0 ? a - std::sqrt(std::pow(r.WheelReferenceDiameter / 2, 2) - std::pow(half + 3, 2)) : 0) + QPointF(0, 0),
           QStringLiteral("喉部分度圆 Ø%1").arg(d.referenceDiameter), 2.5, Qt::AlignLeft | Qt::AlignBottom);

    // Parameter table, technical requirements and title block on the right.
    const double tx = s.width() * 0.6 + 2, tw = s.width() - tx;
    const QString tolerance8 = d.tolerance.value(8), tolerance3 = d.tolerance.value(3), tolerance4 = d.tolerance.value(4);
    const Rows rows = {
        {QStringLiteral("蜗杆头数"), QStringLiteral("z1"), d.wormStarts},
        {QStringLiteral("蜗轮齿数"), QStringLiteral("z2"), d.wheelTeeth},
        {QStringLiteral("端面模数"), QStringLiteral("mt"), d.value(25)},
        {QStringLiteral("包围齿数"), QStringLiteral("K"), d.value(26)},
        {QStringLiteral("母平面倾斜角"), QStringLiteral("β"), d.value(13) + QStringLiteral("°")},
        {QStringLiteral("工作半包角"), QStringLiteral("φw"), d.value(27) + QStringLiteral("°")},
        {QStringLiteral("喉部导程角"), QStringLiteral("γ"), d.value(28) + QStringLiteral("°")},
        {QStringLiteral("分度圆齿形角"), QStringLiteral("α"), d.value(14) + QStringLiteral("°")},
        {QStringLiteral("旋向"), QString(), d.hand},
        {QStringLiteral("精度等级"), QString(), d.gradeText},
        {QStringLiteral("法向弦齿厚"), QStringLiteral("sn1"), d.value(16) + QStringLiteral("  -") + tolerance8},
        {QStringLiteral("法向弦齿高"), QStringLiteral("hn1"), d.value(17)},
        {QStringLiteral("入口修缘"), QString(), d.entryRelief},
        {QStringLiteral("出口修缘"), QString(), d.exitRelief},
        {QStringLiteral("轴向齿距极限偏差"), QStringLiteral("±fpx"), QStringLiteral("±") + tolerance3},
        {QStringLiteral("轴向齿距累积公差"), QStringLiteral("fpxl"), tolerance4},
        {QStringLiteral("磨齿增量"), QStringLiteral("Δz"), d.grindingIncrement},
        {QStringLiteral("修形中心距"), QStringLiteral("a′"), d.value(51)},
        {QStringLiteral("修形传动比"), QStringLiteral("i′"), d.value(42)},
        {QStringLiteral("修形主基圆直径"), QStringLiteral("db′"), d.value(52)},
        {QStringLiteral("修形母面倾斜角"), QStringLiteral("β′"), d.value(41) + QStringLiteral("°")},
        {QStringLiteral("配对蜗轮图号"), QString(), QStringLiteral("TP%1-%2-02").arg(d.centreDistance, d.ratio)},
    };
    const double tableHeight = s.table(QPointF(tx, 2), {tw * 0.42, tw * 0.16, tw * 0.42}, rows, 5.0, 2.3);
    s.textBox(QRectF(tx, tableHeight + 5, tw, 40),
              QStringLiteral("技术要求\n1. 材料 42CrMo，调质 260～290HB，齿面淬火 50～55HRC。\n"
                             "2. 齿面按修形参数在环面蜗杆磨床上磨削，表面粗糙度 Ra 0.8。\n"
                             "3. 齿顶两端按入口、出口修缘量和修缘长度修缘。\n"
                             "4. 未注倒角 C1；轴颈与轴伸尺寸按减速器结构确定。"),
              2.3, Qt::AlignLeft | Qt::AlignTop);
    titleBlock(s, QRectF(tx, s.height() - 26, tw, 24), QStringLiteral("平面二次包络环面蜗杆"),
               QStringLiteral("TP%1-%2-01").arg(d.centreDistance, d.ratio), QStringLiteral("42CrMo"), scale);
    s.rect(QRectF(0, 0, s.width(), s.height()), Line::Thick);
}

void drawWheel(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& d)
{
    DrawingSheet s(painter, area, dpi);
    const DesignRecord& r = d.record;
    const double outer = d.number(33) / 2, throat = d.number(35) / 2, ref = r.WheelReferenceDiameter / 2;
    const double width = r.RimWorkingWidth, tipArc = d.number(40), mt = r.TransverseModule;
    const double rimInner = ref - 3.7 * mt;
    const double bore = 5 * std::round(0.2 * ref * 2 / 5) / 2, hub = bore * 1.7;
    const double hubLength = std::round(1.15 * width), web = std::max(0.3 * width, 2 * mt);
    const double hw = width / 2, hl = hubLength / 2, ww = web / 2;

    // The section through the axis is the main view; a detail of the rim at
    // a larger scale shows the throat arc and the working width.
    const double mainRoom = s.width() * 0.27;
    const double scale = fittingScale(hubLength, 2 * outer, mainRoom - 40, s.height() - 30);
    const View section{QPointF(14 + hl * scale + 4, s.height() / 2), scale};
    const double detailLeft = mainRoom + 8, detailRoom = s.width() * 0.6 - detailLeft - 6;
    const double detailTop = ref - 3.7 * mt - 4, detailHeight = outer + 6 - detailTop;
    const double detailScale = fittingScale(width + 24, detailHeight, detailRoom - 16, s.height() * 0.6);
    const View detail{QPointF(detailLeft + detailRoom / 2, 24 + (outer + 6) * detailScale), detailScale};

    const double arcCentre = throat + tipArc;
    auto rimTop = [&](double x) {
        const double y = tipArc > std::abs(x) ? arcCentre - std::sqrt(tipArc * tipArc - x * x) : outer;
        return std::min(y, outer);
    };
    auto halfSection = [&](const View& v, bool whole) {
        std::vector<QPointF> pts;
        pts.push_back(v.at(-hw, rimInner));
        for (int k = 0; k <= 60; ++k) {
            const double x = -hw + width * k / 60;
            pts.push_back(v.at(x, rimTop(x)));
        }
        pts.push_back(v.at(hw, rimInner));
        if (whole) {
            pts.push_back(v.at(ww, rimInner));
            pts.push_back(v.at(ww, hub));
            pts.push_back(v.at(hl, hub));
            pts.push_back(v.at(hl, bore));
            pts.push_back(v.at(-hl, bore));
            pts.push_back(v.at(-hl, hub));
            pts.push_back(v.at(-ww, hub));
            pts.push_back(v.at(-ww, rimInner));
        }
        pts.push_back(v.at(-hw, rimInner));
        return pts;
    };

    // Main view: both halves hatched, axis, reference lines.
    const std::vector<QPointF> upper = halfSection(section, true);
    std::vector<QPointF> lower;
    for (const QPointF& p : upper)
        lower.push_back(QPointF(p.x(), 2 * section.origin.y() - p.y()));
    s.hatch(upper);
    s.hatch(lower);
    s.polyline(upper);
    s.polyline(lower);
    s.line(section.at(-hl - 5, 0), section.at(hl + 5, 0), Line::Centre);
    for (double y : {ref, -ref})
        s.line(section.at(-hw - 3, y), section.at(hw + 3, y), Line::Centre);
    s.line(section.at(0, -outer - 4), section.at(0, outer + 4), Line::Centre);
    s.verticalDimension(section.at(hw, outer), section.at(hw, -outer), section.at(hl, 0).x() + 8, diameter(d.value(33)));
    s.verticalDimension(section.at(hw, ref), section.at(hw, -ref), section.at(hl, 0).x() + 17, diameter(d.value(23)));
    s.text(section.at(0, outer) + QPointF(0, -7), QStringLiteral("蜗轮轴向剖视  %1").arg(scaleText(scale)), 3.0,
           Qt::AlignHCenter | Qt::AlignBottom);
    s.text(section.at(hw, outer) + QPointF(2, -2), QStringLiteral("I"), 3.5, Qt::AlignLeft | Qt::AlignBottom);

    // Detail I: the rim with its throat arc.
    const std::vector<QPointF> rim = halfSection(detail, false);
    s.hatch(rim, 2.0);
    s.polyline(rim);
    s.line(detail.at(-hw - 6, ref), detail.at(hw + 6, ref), Line::Centre);
    s.line(detail.at(0, detailTop), detail.at(0, arcCentre + 2), Line::Centre);
    s.line(detail.at(-2, arcCentre), detail.at(2, arcCentre), Line::Thin);
    s.horizontalDimension(detail.at(-hw, rimTop(-hw)), detail.at(hw, rimTop(hw)), detail.at(0, outer).y() - 8, d.value(34));
    {
        const double angle = 30 * kDeg;
        const QPointF onArc(tipArc * std::sin(angle), arcCentre - tipArc * std::cos(angle));
        s.radiusDimension(detail.at(0, arcCentre), detail.at(onArc), QStringLiteral("R") + d.value(40), -1);
    }
    s.text(detail.at(hw + 7, outer), QStringLiteral("Ø%1 蜗轮最大外径").arg(d.value(33)), 2.5, Qt::AlignLeft | Qt::AlignVCenter);
    s.line(detail.at(hw, outer), detail.at(hw + 6, outer), Line::Thin);
    s.text(detail.at(hw + 7, ref), QStringLiteral("Ø%1 分度圆").arg(d.value(23)), 2.5, Qt::AlignLeft | Qt::AlignVCenter);
    {
        // The throat: a leader from its lowest point up to the left.
        const QPointF from = detail.at(0, throat), to = detail.at(-hw - 4, outer + 4);
        s.line(from, to, Line::Thin);
        s.arrow(from, to);
        s.text(to - QPointF(1, 0), QStringLiteral("喉径 Ø%1").arg(d.value(35)), 2.5, Qt::AlignRight | Qt::AlignVCenter);
    }
    s.text(detail.at(0, detailTop) + QPointF(0, 6), QStringLiteral("I  %1").arg(scaleText(detailScale)), 3.0,
           Qt::AlignHCenter | Qt::AlignTop);

    const double tx = s.width() * 0.6 + 2, tw = s.width() - tx;
    const double difference = r.ProfileAngle - r.WorkingHalfAngle;
    const Rows rows = {
        {QStringLiteral("蜗杆头数"), QStringLiteral("z1"), d.wormStarts},
        {QStringLiteral("蜗轮齿数"), QStringLiteral("z2"), d.wheelTeeth},
        {QStringLiteral("端面模数"), QStringLiteral("mt"), d.value(25)},
        {QStringLiteral("喉部导程角"), QStringLiteral("γ"), d.value(28) + QStringLiteral("°")},
        {QStringLiteral("分度圆齿形角"), QStringLiteral("α"), d.value(14) + QStringLiteral("°")},
        {QStringLiteral("工作半包角"), QStringLiteral("φw"), d.value(27) + QStringLiteral("°")},
        {QStringLiteral("齿形角与半包角之差"), QStringLiteral("α−φw"), FloatToStr(difference) + QStringLiteral("°")},
        {QStringLiteral("母平面倾斜角"), QStringLiteral("β"), d.value(13) + QStringLiteral("°")},
        {QStringLiteral("旋向"), QString(), d.hand},
        {QStringLiteral("包围齿数"), QStringLiteral("K"), d.value(26)},
        {QStringLiteral("侧隙"), QStringLiteral("j"), FloatToStr(r.Backlash)},
        {QStringLiteral("法向弦齿高"), QStringLiteral("hn2"), d.value(45)},
        {QStringLiteral("法向弦齿厚"), QStringLiteral("sn2"), d.value(44) + QStringLiteral("  -") + d.tolerance.value(11)},
        {QStringLiteral("中心距"), QStringLiteral("a"), d.centreDistance},
        {QStringLiteral("齿距累积公差"), QStringLiteral("Fp2"), d.tolerance.value(9)},
        {QStringLiteral("齿距极限偏差"), QStringLiteral("±fpt"), QStringLiteral("±") + d.tolerance.value(10)},
        {QStringLiteral("精度等级"), QString(), d.gradeText},
        {QStringLiteral("配对蜗杆图号"), QString(), QStringLiteral("TP%1-%2-01").arg(d.centreDistance, d.ratio)},
    };
    const double tableHeight = s.table(QPointF(tx, 2), {tw * 0.42, tw * 0.16, tw * 0.42}, rows, 5.0, 2.3);
    s.textBox(QRectF(tx, tableHeight + 5, tw, 45),
              QStringLiteral("技术要求\n1. 轮缘 ZCuSn10P1，轮芯 HT250，轮缘与轮芯过盈配合后精车。\n"
                             "2. 轮齿用与配对蜗杆参数相同的滚刀（刀体齿顶圆弧半径 %1，有效长度 %2）在滚齿机上滚切。\n"
                             "3. 蜗轮中间平面对基准轴线的位置按中心距 %3 及 ±fx 检查。\n"
                             "4. 轮辐、轮毂结构尺寸按强度设计确定。")
                  .arg(d.value(18), d.value(20), d.centreDistance),
              2.3, Qt::AlignLeft | Qt::AlignTop);
    titleBlock(s, QRectF(tx, s.height() - 26, tw, 24), QStringLiteral("平面二次包络环面蜗轮"),
               QStringLiteral("TP%1-%2-02").arg(d.centreDistance, d.ratio), QStringLiteral("ZCuSn10P1/HT250"), scale);
    s.rect(QRectF(0, 0, s.width(), s.height()), Line::Thick);
}

namespace {

// The normal distance, at a wheel angle from the throat, between the flank of
// the worm generated with the wheel's own teeth and the flank generated with
// the modification: equal pitch on the two reference circles (radius d2/2
// about the wheel centre, d2′/2 about the centre moved out by a′ − a), which
// touch at the throat; projected on the flank normal, which makes the profile
// angle α with the reference circle's tangent.
double modificationAt(const ExampleDesign& d, double phi)
{
    const DesignRecord& r = d.record;
    const double r2 = r.WheelReferenceDiameter / 2, r2m = r.ModifiedWheelReferenceDiameter / 2;
    const double a = r.CentreDistance, am = r.ModifiedCentreDistance;
    const double sArc = r2 * phi;
    const QPointF p(r2 * std::sin(phi), a - r2 * std::cos(phi));
    const QPointF q(r2m * std::sin(sArc / r2m), am - r2m * std::cos(sArc / r2m) - (am - r2m - (a - r2)));
    const QPointF radial(std::sin(phi), -std::cos(phi));
    const QPointF tangent(std::cos(phi), std::sin(phi));
    const double alpha = r.ProfileAngle * kDeg;
    const QPointF normal = tangent * std::cos(alpha) + radial * std::sin(alpha);
    return QPointF::dotProduct(q - p, normal);
}

} // namespace

void drawModification(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& d)
{
    DrawingSheet s(painter, area, dpi);
    const DesignRecord& r = d.record;
    const double phiW = r.WorkingHalfAngle;

    // Upper diagram: the modification along the working length.
    const QRectF plot(30, 14, s.width() - 60, s.height() * 0.42);
    double peak = 0;
    std::vector<std::pair<double, double>> curve;
    for (int k = -100; k <= 100; ++k) {
        const double phi = phiW * k / 100;
        const double value = std::abs(modificationAt(d, phi * kDeg));
        curve.emplace_back(phi, value);
        peak = std::max(peak, value);
    }
    const double yMax = peak > 0 ? peak * 1.25 : 1;
    auto px = [&](double phi, double value) {
        return QPointF(plot.left() + (phi + phiW) / (2 * phiW) * plot.width(), plot.bottom() - value / yMax * plot.height());
    };
    s.line(QPointF(plot.left(), plot.bottom()), QPointF(plot.right(), plot.bottom()), Line::Thin);
    s.line(QPointF(plot.left(), plot.bottom()), QPointF(plot.left(), plot.top()), Line::Thin);
    s.line(px(0, 0), px(0, yMax), Line::Centre);
    for (int tick = -2; tick <= 2; ++tick) {
        const double phi = phiW * tick / 2;
        s.line(px(phi, 0), px(phi, 0) + QPointF(0, 1.5), Line::Thin);
        s.text(px(phi, 0) + QPointF(0, 2), FloatToStr(RoundTo(phi, -1)) + QStringLiteral("°"), 2.5, Qt::AlignHCenter | Qt::AlignTop);
    }
    for (int tick = 1; tick <= 4; ++tick) {
        const double value = yMax * tick / 4;
        s.line(px(-phiW, value), px(-phiW, value) - QPointF(1.5, 0), Line::Thin);
        s.text(px(-phiW, value) - QPointF(2, 0), FloatToStr(RoundTo(value, -3)), 2.5, Qt::AlignRight | Qt::AlignVCenter);
    }
    std::vector<QPointF> points;
    for (const auto& [phi, value] : curve)
        points.push_back(px(phi, value));
    s.polyline(points);
    s.text(QPointF(plot.center().x(), plot.top() - 6),
           QStringLiteral("图 1  一般型修形的齿面法向修形量（磨齿增量 Δz=%1，a′=%2，i′=%3）").arg(d.grindingIncrement, d.value(51), d.value(42)),
           3.0, Qt::AlignHCenter | Qt::AlignBottom);
    s.text(QPointF(plot.center().x(), plot.bottom() + 7), QStringLiteral("蜗轮转角 φ（喉部为 0，至 ±φw=%1°）").arg(d.value(27)), 2.5,
           Qt::AlignHCenter | Qt::AlignTop);
    s.text(QPointF(plot.left() + 2, plot.top()), QStringLiteral("修形量 / mm"), 2.5, Qt::AlignLeft | Qt::AlignTop);
    const double atEntry = curve.front().second, atExit = curve.back().second;
    s.text(px(-phiW, atEntry) + QPointF(3, 0), QStringLiteral("入口端 %1").arg(FloatToStr(RoundTo(atEntry, -3))), 2.5,
           Qt::AlignLeft | Qt::AlignBottom);
    s.text(px(phiW, atExit) - QPointF(3, 0), QStringLiteral("出口端 %1").arg(FloatToStr(RoundTo(atExit, -3))), 2.5,
           Qt::AlignRight | Qt::AlignBottom);

    // Lower diagram: the tip relief at the two ends, amounts exaggerated.
    const double entry = StrToFloat(d.entryRelief.section(QLatin1Char(' '), 0, 0));
    const double exit = StrToFloat(d.exitRelief.section(QLatin1Char(' '), 0, 0));
    const double entryLength = StrToFloat(d.entryRelief.section(QStringLiteral("* "), 1).remove(QStringLiteral("°")));
    const double exitLength = StrToFloat(d.exitRelief.section(QStringLiteral("* "), 1).remove(QStringLiteral("°")));
    const QRectF lower(30, s.height() * 0.66, s.width() - 60, s.height() * 0.26);
    const double reliefScale = lower.height() * 0.55 / std::max(entry, exit);
    auto lx = [&](double phi) { return lower.left() + (phi + phiW) / (2 * phiW) * lower.width(); };
    const double baseY = lower.top() + lower.height() * 0.2;
    auto drop = [&](double phi) {
        if (phi < -phiW + entryLength) {
            const double u = (-phiW + entryLength - phi) / entryLength;
            return entry * u * u;
        }
        if (phi > phiW - exitLength) {
            const double u = (phi - (phiW - exitLength)) / exitLength;
            return exit * u * u;
        }
        return 0.0;
    };
    std::vector<QPointF> tip, theoretical;
    for (int k = 0; k <= 200; ++k) {
        const double phi = -phiW + 2 * phiW * k / 200;
        tip.push_back(QPointF(lx(phi), baseY + drop(phi) * reliefScale));
        theoretical.push_back(QPointF(lx(phi), baseY));
    }
    s.polyline(theoretical, Line::Hidden);
    s.polyline(tip);
    s.line(QPointF(lx(-phiW), baseY), QPointF(lx(-phiW), lower.bottom()), Line::Thin);
    s.line(QPointF(lx(phiW), baseY), QPointF(lx(phiW), lower.bottom()), Line::Thin);
    s.horizontalDimension(QPointF(lx(-phiW), lower.bottom() - 6), QPointF(lx(-phiW + entryLength), lower.bottom() - 6),
                          lower.bottom() - 2, d.entryRelief.section(QStringLiteral("* "), 1));
    s.horizontalDimension(QPointF(lx(phiW - exitLength), lower.bottom() - 6), QPointF(lx(phiW), lower.bottom() - 6),
                          lower.bottom() - 2, d.exitRelief.section(QStringLiteral("* "), 1));
    s.verticalDimension(QPointF(lx(-phiW), baseY), QPointF(lx(-phiW), baseY + entry * reliefScale), lx(-phiW) - 8,
                        FloatToStr(entry));
    s.verticalDimension(QPointF(lx(phiW), baseY), QPointF(lx(phiW), baseY + exit * reliefScale), lx(phiW) + 8, FloatToStr(exit));
    s.text(QPointF(lower.center().x(), lower.top() - 4),
           QStringLiteral("图 2  蜗杆齿顶的入口修缘 %1 与出口修缘 %2（修缘量放大绘制）").arg(d.entryRelief, d.exitRelief), 3.0,
           Qt::AlignHCenter | Qt::AlignBottom);
    s.text(QPointF(lx(-phiW) + 2, baseY - 2), QStringLiteral("入口"), 2.5, Qt::AlignLeft | Qt::AlignBottom);
    s.text(QPointF(lx(phiW) - 2, baseY - 2), QStringLiteral("出口"), 2.5, Qt::AlignRight | Qt::AlignBottom);
    s.text(QPointF(lower.center().x(), baseY - 2), QStringLiteral("理论齿顶（虚线）与修缘后的齿顶（粗实线）"), 2.5,
           Qt::AlignHCenter | Qt::AlignBottom);
}

} // namespace tpworm::manual
