#include "drawing_sheet.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace tpworm::manual {

namespace {
const QString kFont = QStringLiteral("WenQuanYi Micro Hei");
constexpr double kArrowMm = 3.0;
// A font whose size in points is 2.4 times a length in millimetres has
// digits of about that height.
constexpr double kPointsPerMm = 2.4;
}

DrawingSheet::DrawingSheet(QPainter& painter, const QRectF& area, int dpi)
    : p_(painter), area_(area), scale_(dpi / 25.4), widthMm_(area.width() / scale_), heightMm_(area.height() / scale_)
{
    p_.setRenderHint(QPainter::Antialiasing);
}

QPointF DrawingSheet::px(QPointF mm) const { return area_.topLeft() + mm * scale_; }
double DrawingSheet::px(double mm) const { return mm * scale_; }

void DrawingSheet::usePen(Line kind)
{
    QPen pen(Qt::black);
    pen.setCapStyle(Qt::FlatCap);
    switch (kind) {
    case Line::Thick: pen.setWidthF(px(0.5)); break;
    case Line::Thin: pen.setWidthF(px(0.18)); break;
    case Line::Centre:
        pen.setWidthF(px(0.18));
        // Long dash 8 mm, gap 1 mm, dot 0.5 mm, gap 1 mm, in pen widths.
        pen.setDashPattern({8 / 0.18, 1 / 0.18, 0.5 / 0.18, 1 / 0.18});
        break;
    case Line::Hidden:
        pen.setWidthF(px(0.18));
        pen.setDashPattern({3 / 0.18, 1 / 0.18});
        break;
    }
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
}

void DrawingSheet::line(QPointF a, QPointF b, Line kind)
{
    usePen(kind);
    p_.drawLine(px(a), px(b));
}

void DrawingSheet::polyline(const std::vector<QPointF>& points, Line kind)
{
    usePen(kind);
    QPolygonF polygon;
    for (const QPointF& point : points)
        polygon << px(point);
    p_.drawPolyline(polygon);
}

void DrawingSheet::rect(const QRectF& r, Line kind)
{
    usePen(kind);
    p_.drawRect(QRectF(px(r.topLeft()), px(r.bottomRight())));
}

void DrawingSheet::hatch(const std::vector<QPointF>& polygon, double spacingMm)
{
    QPainterPath path;
    QPolygonF shape;
    for (const QPointF& point : polygon)
        shape << px(point);
    path.addPolygon(shape);
    path.closeSubpath();
    p_.save();
    p_.setClipPath(path);
    usePen(Line::Thin);
    const QRectF bounds = shape.boundingRect();
    const double step = px(spacingMm);
    // 45° lines across the bounding box.
    for (double offset = -bounds.height(); offset < bounds.width(); offset += step)
        p_.drawLine(QPointF(bounds.left() + offset, bounds.bottom()),
                    QPointF(bounds.left() + offset + bounds.height(), bounds.top()));
    p_.restore();
}

void DrawingSheet::text(QPointF at, const QString& text, double heightMm, Qt::Alignment align, double angleDeg)
{
    QFont font(kFont);
    font.setPointSizeF(heightMm * kPointsPerMm);
    p_.save();
    p_.setFont(font);
    p_.setPen(Qt::black);
    p_.translate(px(at));
    p_.rotate(angleDeg);
    const QRectF big(-px(200), -px(200), px(400), px(400));
    QRectF box = big;
    if (align & Qt::AlignLeft) box.setLeft(0);
    if (align & Qt::AlignRight) box.setRight(0);
    if (align & Qt::AlignTop) box.setTop(0);
    if (align & Qt::AlignBottom) box.setBottom(0);
    p_.drawText(box, int(align), text);
    p_.restore();
}

void DrawingSheet::textBox(const QRectF& box, const QString& text, double heightMm, Qt::Alignment align)
{
    QFont font(kFont);
    font.setPointSizeF(heightMm * kPointsPerMm);
    p_.save();
    p_.setFont(font);
    p_.setPen(Qt::black);
    p_.drawText(QRectF(px(box.topLeft()), px(box.bottomRight())), int(align) | Qt::TextWordWrap, text);
    p_.restore();
}

void DrawingSheet::arrow(QPointF tip, QPointF from)
{
    const QPointF d = tip - from;
    const double length = std::hypot(d.x(), d.y());
    if (length <= 0)
        return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    const QPointF base = tip - u * kArrowMm;
    QPolygonF head;
    head << px(tip) << px(base + n * (kArrowMm / 6)) << px(base - n * (kArrowMm / 6));
    p_.setPen(Qt::NoPen);
    p_.setBrush(Qt::black);
    p_.drawPolygon(head);
    p_.setBrush(Qt::NoBrush);
}

void DrawingSheet::horizontalDimension(QPointF a, QPointF b, double y, const QString& value)
{
    const double overshoot = y < a.y() ? -2 : 2;
    line(a, QPointF(a.x(), y + overshoot), Line::Thin);
    line(b, QPointF(b.x(), y + overshoot), Line::Thin);
    const QPointF l(std::min(a.x(), b.x()), y), r(std::max(a.x(), b.x()), y);
    line(l, r, Line::Thin);
    arrow(l, r);
    arrow(r, l);
    text(QPointF((l.x() + r.x()) / 2, y - 0.8), value, 3.5, Qt::AlignHCenter | Qt::AlignBottom);
}

void DrawingSheet::verticalDimension(QPointF a, QPointF b, double x, const QString& value)
{
    const double overshoot = x < a.x() ? -2 : 2;
    line(a, QPointF(x + overshoot, a.y()), Line::Thin);
    line(b, QPointF(x + overshoot, b.y()), Line::Thin);
    const QPointF t(x, std::min(a.y(), b.y())), bottom(x, std::max(a.y(), b.y()));
    line(t, bottom, Line::Thin);
    arrow(t, bottom);
    arrow(bottom, t);
    text(QPointF(x - 0.8, (t.y() + bottom.y()) / 2), value, 3.5, Qt::AlignHCenter | Qt::AlignBottom, -90);
}

void DrawingSheet::radiusDimension(QPointF centre, QPointF onArc, const QString& value, double beyondMm)
{
    const QPointF d = onArc - centre;
    const double length = std::hypot(d.x(), d.y());
    const QPointF u = d / length;
    // A negative run puts the value between the centre and the arc, for an arc
    // seen from its concave side.
    const QPointF end = onArc + u * std::max(beyondMm, 0.0);
    line(centre, end, Line::Thin);
    arrow(onArc, centre);
    const double angle = std::atan2(u.y(), u.x()) * 180 / M_PI;
    // Text along the leader, reading from left to right.
    const bool flip = angle > 90 || angle < -90;
    const QPointF at = beyondMm > 0 ? onArc + u * (beyondMm * 0.5) : centre + (onArc - centre) * 0.55;
    text(at + QPointF(u.y(), -u.x()) * (flip ? -0.8 : 0.8), value, 3.5, Qt::AlignHCenter | Qt::AlignBottom,
         flip ? angle + 180 : angle);
}

double DrawingSheet::table(QPointF topLeft, const std::vector<double>& columnWidths,
                           const std::vector<QStringList>& rows, double rowHeight, double heightMm)
{
    double total = 0;
    for (double w : columnWidths)
        total += w;
    const double height = rowHeight * rows.size();
    rect(QRectF(topLeft, QSizeF(total, height)), Line::Thick);
    for (size_t r = 0; r < rows.size(); ++r) {
        const double y = topLeft.y() + r * rowHeight;
        if (r > 0)
            line(QPointF(topLeft.x(), y), QPointF(topLeft.x() + total, y), Line::Thin);
        double x = topLeft.x();
        for (size_t c = 0; c < columnWidths.size(); ++c) {
            if (c > 0 && r == 0)
                line(QPointF(x, topLeft.y()), QPointF(x, topLeft.y() + height), Line::Thin);
            if (c < size_t(rows[r].size()))
                textBox(QRectF(x + 1, y, columnWidths[c] - 2, rowHeight), rows[r][int(c)], heightMm,
                        Qt::AlignVCenter | Qt::AlignLeft);
            x += columnWidths[c];
        }
    }
    return height;
}

} // namespace tpworm::manual
