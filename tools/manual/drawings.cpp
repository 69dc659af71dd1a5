#include "drawings.h"

#include "drawing/draft.h"
#include "drawing/part_sheets.h"
#include "drawing/render.h"

#include "core/numeric.h"

#include <QPainter>

#include <cmath>

namespace tpworm::manual {

namespace {

constexpr double kDeg = M_PI / 180;

using drawing::HAlign;
using drawing::Layer;
using drawing::VAlign;

enum class Line { Thick, Thin, Centre, Hidden };

// The diagrams of the manual on the sheet itself (paper millimetres), in
// the words of a drawing board: lines by kind, texts aligned by Qt's flags.
class Canvas {
public:
    explicit Canvas(drawing::Sheet& sheet) : sheet_(sheet), draft_(sheet) {}
    double width() const { return sheet_.width(); }
    double height() const { return sheet_.height(); }
    void line(QPointF a, QPointF b, Line kind = Line::Thick) { draft_.line(0, a, b, layer(kind)); }
    void polyline(const std::vector<QPointF>& points, Line kind = Line::Thick) { draft_.polyline(0, points, layer(kind)); }
    void text(QPointF at, const QString& text, double heightMm, Qt::Alignment align)
    {
        const HAlign h = align & Qt::AlignLeft ? HAlign::Left : align & Qt::AlignRight ? HAlign::Right : HAlign::Centre;
        const VAlign v = align & Qt::AlignTop ? VAlign::Top : align & Qt::AlignBottom ? VAlign::Bottom : VAlign::Middle;
        draft_.text(0, at, text, heightMm, h, v);
    }
    void horizontalDimension(QPointF a, QPointF b, double y, const QString& value)
    {
        draft_.horizontalDimension(0, a, b, y, value);
    }
    void verticalDimension(QPointF a, QPointF b, double x, const QString& value)
    {
        draft_.verticalDimension(0, a, b, x, value);
    }

private:
    static Layer layer(Line kind)
    {
        switch (kind) {
        case Line::Thick: return Layer::Outline;
        case Line::Thin: return Layer::Thin;
        case Line::Centre: return Layer::Centre;
        case Line::Hidden: return Layer::Hidden;
        }
        return Layer::Outline;
    }
    drawing::Sheet& sheet_;
    drawing::Draft draft_;
};

void drawPart(drawing::Part part, QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& d)
{
    drawing::TitleFields title;
    title.date = QStringLiteral(" ");
    drawing::paintSheetFitted(painter, drawing::partSheet(part, shownDesign(d), title), area, dpi);
}

} // namespace

void drawWorm(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& d)
{
    drawPart(drawing::Part::Worm, painter, area, dpi, d);
}

void drawWheel(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& d)
{
    drawPart(drawing::Part::Wheel, painter, area, dpi, d);
}

void drawHob(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& d)
{
    drawPart(drawing::Part::Hob, painter, area, dpi, d);
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
    drawing::Sheet sheet(drawing::PaperSize::A4, QStringLiteral("修形原理"));
    Canvas s(sheet);
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
    drawing::paintSheetFitted(painter, sheet, area, dpi);
}

} // namespace tpworm::manual
