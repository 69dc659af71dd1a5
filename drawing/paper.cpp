#include "drawing/paper.h"

#include <QFontMetricsF>
#include <QImage>

#include <cmath>

namespace tpworm::drawing {

namespace {

constexpr double kTextGapMm = 0.8;
constexpr double kLongestRadiusLineMm = 30;
constexpr double kDeg = M_PI / 180;

// Text extents are measured once on a fine raster, so that every back end
// and the layout checks agree on the box a text covers.
constexpr int kMeasureDpi = 1200;

QSizeF textSizeMm(const QString& text, double heightMm)
{
    static QImage device(1, 1, QImage::Format_ARGB32);
    static const bool once = [] {
        device.setDotsPerMeterX(int(kMeasureDpi / 0.0254));
        device.setDotsPerMeterY(int(kMeasureDpi / 0.0254));
        return true;
    }();
    (void)once;
    const QFontMetricsF metrics(drawingFont(heightMm), &device);
    const double pxPerMm = kMeasureDpi / 25.4;
    return QSizeF(metrics.horizontalAdvance(text) / pxPerMm, metrics.height() / pxPerMm);
}

struct Builder {
    const Sheet& s;
    Paper out;

    QPointF at(int view, QPointF p) const { return s.toPaper(view, p); }

    void path(std::vector<QPointF> points, bool closed, Layer layer) { out.paths.push_back({std::move(points), closed, layer}); }
    void line(QPointF a, QPointF b, Layer layer) { path({a, b}, false, layer); }

    void text(QPointF anchor, const QString& text, double h, HAlign ha, VAlign va, double angle, Layer layer)
    {
        const QSizeF size = textSizeMm(text, h);
        const double x0 = ha == HAlign::Left ? 0 : ha == HAlign::Centre ? -size.width() / 2 : -size.width();
        const double y0 = va == VAlign::Top ? 0 : va == VAlign::Middle ? -size.height() / 2 : -size.height();
        QPolygonF box;
        const double c = std::cos(angle * kDeg), sn = std::sin(angle * kDeg);
        for (QPointF corner : {QPointF(x0, y0), QPointF(x0 + size.width(), y0), QPointF(x0 + size.width(), y0 + size.height()),
                               QPointF(x0, y0 + size.height())})
            // Counter-clockwise on a y-down sheet.
            box << anchor + QPointF(corner.x() * c + corner.y() * sn, -corner.x() * sn + corner.y() * c);
        out.texts.push_back({anchor, text, h, ha, va, angle, layer, box});
    }

    void arc(int view, const ArcPrim& a, Layer layer)
    {
        double sweep = a.endDeg - a.startDeg;
        while (sweep <= 0)
            sweep += 360;
        const int steps = std::max(8, int(sweep / 3));
        std::vector<QPointF> points;
        for (int k = 0; k <= steps; ++k) {
            const double t = (a.startDeg + sweep * k / steps) * kDeg;
            points.push_back(at(view, a.centre + a.radius * QPointF(std::cos(t), std::sin(t))));
        }
        path(std::move(points), false, layer);
    }

    void dimension(int view, const DimensionPrim& d)
    {
        const QPointF a = at(view, d.a), b = at(view, d.b);
        switch (d.kind) {
        case DimensionPrim::Kind::Horizontal: {
            const double y = at(view, QPointF(0, d.at)).y();
            const double over = y < a.y() ? -2 : 2;
            line(a, QPointF(a.x(), y + over), Layer::Dimension);
            line(b, QPointF(b.x(), y + over), Layer::Dimension);
            const QPointF l(std::min(a.x(), b.x()), y), r(std::max(a.x(), b.x()), y);
            line(l, r, Layer::Dimension);
            out.arrows.push_back({l, r});
            out.arrows.push_back({r, l});
            text(QPointF((l.x() + r.x()) / 2, y - kTextGapMm), d.text, 3.5, HAlign::Centre, VAlign::Bottom, 0, Layer::Dimension);
            break;
        }
        case DimensionPrim::Kind::Vertical: {
            const double x = at(view, QPointF(d.at, 0)).x();
            const double over = x < a.x() ? -2 : 2;
            line(a, QPointF(x + over, a.y()), Layer::Dimension);
            line(b, QPointF(x + over, b.y()), Layer::Dimension);
            const QPointF t(x, std::min(a.y(), b.y())), bottom(x, std::max(a.y(), b.y()));
            line(t, bottom, Layer::Dimension);
            out.arrows.push_back({t, bottom});
            out.arrows.push_back({bottom, t});
            text(QPointF(x - kTextGapMm, (t.y() + bottom.y()) / 2), d.text, 3.5, HAlign::Centre, VAlign::Bottom, 90,
                 Layer::Dimension);
            break;
        }
        case DimensionPrim::Kind::Radius:
        case DimensionPrim::Kind::Diameter: {
            const QPointF delta = b - a;
            const double length = std::hypot(delta.x(), delta.y());
            if (length <= 0)
                return;
            const QPointF u = delta / length;
            // A negative run puts the value between the centre and the arc,
            // for an arc seen from its concave side.
            const QPointF end = b + u * std::max(d.beyondMm, 0.0);
            // A centre far off the arc (or off the sheet) is not reached: the
            // dimension line stops short of it, as for any large radius.
            const QPointF start = d.kind == DimensionPrim::Kind::Diameter ? a - delta
                                : length > kLongestRadiusLineMm ? b - u * kLongestRadiusLineMm
                                                                : a;
            line(start, end, Layer::Dimension);
            out.arrows.push_back({b, a});
            double angle = -std::atan2(u.y(), u.x()) / kDeg; // counter-clockwise on the paper
            const bool flip = angle > 90 || angle < -90;
            if (flip)
                angle += 180;
            const QPointF along = d.beyondMm > 0 ? b + u * (d.beyondMm * 0.5)
                                : length > kLongestRadiusLineMm ? b - u * (kLongestRadiusLineMm * 0.45)
                                                                : a + delta * 0.55;
            const QPointF normal(u.y(), -u.x());
            text(along + normal * (flip ? -kTextGapMm : kTextGapMm), d.text, 3.5, HAlign::Centre, VAlign::Bottom, angle,
                 Layer::Dimension);
            break;
        }
        }
    }

    void leader(int view, const LeaderPrim& l)
    {
        const QPointF tip = at(view, l.tip), end = at(view, l.end);
        line(tip, end, Layer::Dimension);
        out.arrows.push_back({tip, end});
        const double gap = l.h == HAlign::Left ? 1 : l.h == HAlign::Right ? -1 : 0;
        text(end + QPointF(gap, 0), l.text, 2.5, l.h, VAlign::Middle, 0, Layer::Dimension);
    }

    void add(const Primitive& p)
    {
        const int v = p.view;
        if (const auto* l = std::get_if<LinePrim>(&p.shape)) {
            line(at(v, l->a), at(v, l->b), p.layer);
        } else if (const auto* pl = std::get_if<PolylinePrim>(&p.shape)) {
            std::vector<QPointF> points;
            for (const QPointF& q : pl->points)
                points.push_back(at(v, q));
            path(std::move(points), pl->closed, p.layer);
        } else if (const auto* a = std::get_if<ArcPrim>(&p.shape)) {
            arc(v, *a, p.layer);
        } else if (const auto* c = std::get_if<CirclePrim>(&p.shape)) {
            arc(v, ArcPrim{c->centre, c->radius, 0, 360}, p.layer);
        } else if (const auto* h = std::get_if<HatchPrim>(&p.shape)) {
            std::vector<QPointF> outline;
            for (const QPointF& q : h->outline)
                outline.push_back(at(v, q));
            for (const auto& [from, to] : hatchLines(outline, h->spacingMm))
                line(from, to, Layer::Hatch);
        } else if (const auto* t = std::get_if<TextPrim>(&p.shape)) {
            text(at(v, t->at), t->text, t->heightMm, t->h, t->v, t->angleDeg, p.layer);
        } else if (const auto* d = std::get_if<DimensionPrim>(&p.shape)) {
            dimension(v, *d);
        } else if (const auto* l = std::get_if<LeaderPrim>(&p.shape)) {
            leader(v, *l);
        }
    }
};

} // namespace

QFont drawingFont(double heightMm)
{
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSizeF(heightMm * kPointsPerMm);
    return font;
}

Paper layOut(const Sheet& sheet)
{
    Builder b{sheet, {}};
    for (const Primitive& p : sheet.items())
        b.add(p);
    return std::move(b.out);
}

Paper layOut(const Sheet& sheet, const Primitive& primitive)
{
    Builder b{sheet, {}};
    b.add(primitive);
    return std::move(b.out);
}

} // namespace tpworm::drawing
