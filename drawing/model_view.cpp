#include "drawing/model_view.h"

#include "model/surfaces.h"

#include "core/design_record.h"
#include "core/numeric.h"

#include <QFont>
#include <QPainter>
#include <QPen>

#include <cmath>
#include <stdexcept>

namespace tpworm::drawing {

namespace {

// An oblique parallel projection: looking mostly along the wheel axis (the
// worm frame's y), a little from the worm's side and from one end, the
// worm frame's x (towards the wheel axis) up: the wheel stands above the
// worm, whose threads run across.
struct Projection {
    double ex[3];
    double ey[3];
    QPointF operator()(double x, double y, double z) const
    {
        return {ex[0] * x + ex[1] * y + ex[2] * z, ey[0] * x + ey[1] * y + ey[2] * z};
    }
};

Projection projection()
{
    double d[3] = {-0.3, 1.0, 0.45};
    const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& c : d)
        c /= n;
    // Up: the x axis less its part along the view.
    double up[3] = {1.0 - d[0] * d[0], -d[0] * d[1], -d[0] * d[2]};
    const double m = std::sqrt(up[0] * up[0] + up[1] * up[1] + up[2] * up[2]);
    for (double& c : up)
        c /= m;
    Projection p;
    // Right = up x view, so that the picture is the one seen along d.
    p.ex[0] = up[1] * d[2] - up[2] * d[1];
    p.ex[1] = up[2] * d[0] - up[0] * d[2];
    p.ex[2] = up[0] * d[1] - up[1] * d[0];
    for (int k = 0; k < 3; ++k)
        p.ey[k] = up[k];
    return p;
}

// A worm-frame point of the wheel (wheel frame at wheel angle turned by
// `turn` about its axis): the frames of model/surfaces.h.
void wheelToWorm(const model::Point& p, double a, double turn, double out[3])
{
    const double c = std::cos(turn), s = std::sin(turn);
    const double x2 = c * double(p.x) - s * double(p.y), y2 = s * double(p.x) + c * double(p.y), z2 = double(p.z);
    out[0] = a - x2;
    out[1] = z2;
    out[2] = y2;
}

void addGrid(QList<QPolygonF>& lines, const model::SurfaceGrid& g, const Projection& proj, auto&& toWorm)
{
    double X[3];
    for (int r = 0; r < g.rows; ++r) {
        QPolygonF line;
        for (int c = 0; c < g.cols; ++c) {
            toWorm(g.at(r, c), X);
            line << proj(X[0], X[1], X[2]);
        }
        lines << line;
    }
    for (int c = 0; c < g.cols; ++c) {
        QPolygonF line;
        for (int r = 0; r < g.rows; ++r) {
            toWorm(g.at(r, c), X);
            line << proj(X[0], X[1], X[2]);
        }
        lines << line;
    }
}

} // namespace

ModelView modelView(const DesignValues& d)
{
    ModelView view;
    // Coarse grids: a picture, not the model; the wheel's envelope costs
    // about a third of a millisecond a node.
    model::SurfaceSampling worm;
    worm.rows = 4;
    worm.cols = 41;
    worm.margin = 0;
    model::SurfaceSampling wheel;
    wheel.rows = 4;
    wheel.cols = 5;
    wheel.margin = 0;
    model::WormSurfaces w;
    model::WheelSurfaces g;
    try {
        w = model::wormSurfaces(d, worm);
        g = model::wheelSurfaces(d, wheel);
    } catch (const std::runtime_error&) {
        return view;
    }
    const Projection proj = projection();
    const double a = double(d.CentreDistance);
    auto same = [](const model::Point& p, double X[3]) {
        X[0] = double(p.x);
        X[1] = double(p.y);
        X[2] = double(p.z);
    };
    // The worm: both flanks of every thread.
    for (const model::FlankPair& thread : w.threads)
        for (const model::SurfaceGrid* grid : {&thread.left, &thread.right})
            addGrid(view.worm, *grid, proj, same);
    // The worm's outline: the root arc and the tip arc in the axial plane
    // through the wheel axis, both sides, and the ends of the working length.
    const double half = 0.5 * double(d.WormWorkingLength);
    for (double side : {1.0, -1.0}) {
        QPolygonF root, tip;
        const double Rf = double(d.WormRootArcRadius), Ra = double(d.WormTipArcRadius), e = double(d.TipEccentricity);
        for (int k = 0; k <= 40; ++k) {
            const double z = -half + 2.0 * half * k / 40;
            const double rRoot = a - std::sqrt(Rf * Rf - z * z);
            const double rTip = a + e - std::sqrt(Ra * Ra - z * z);
            root << proj(side * rRoot, 0, z);
            tip << proj(side * rTip, 0, z);
        }
        view.worm << root << tip;
    }
    // The wheel: every tooth space's two walls, turned into place, and the
    // throat circle in its mid plane.
    const double tau = 2.0 * double(Pi) / g.teeth;
    for (int k = 0; k < g.teeth; ++k) {
        auto turned = [&](const model::Point& p, double X[3]) { wheelToWorm(p, a, k * tau, X); };
        addGrid(view.wheel, g.space.left, proj, turned);
        addGrid(view.wheel, g.space.right, proj, turned);
    }
    for (double r : {0.5 * double(g.throatDiameter), 0.5 * double(g.maxOuterDiameter)}) {
        for (double y : {-0.5 * double(g.rimWidth), 0.5 * double(g.rimWidth)}) {
            QPolygonF circle;
            double X[3];
            for (int k = 0; k <= 180; ++k) {
                const model::Point p{r * std::cos(2.0 * double(Pi) * k / 180), r * std::sin(2.0 * double(Pi) * k / 180), y};
                wheelToWorm(p, a, 0, X);
                circle << proj(X[0], X[1], X[2]);
            }
            view.wheel << circle;
        }
    }
    QRectF box;
    for (const QList<QPolygonF>* set : {&view.worm, &view.wheel})
        for (const QPolygonF& line : *set)
            box = box.isNull() ? line.boundingRect() : box.united(line.boundingRect());
    view.bounds = box;
    return view;
}

QString modelViewCaption()
{
    return QStringLiteral("蜗杆与蜗轮在中心距处啮合的线框图（按啮合原理计算的三维模型齿面网格，斜视）");
}

void paintModelView(QPainter& painter, const ModelView& view, const QString& dataLine, const QRectF& area, double dpi)
{
    const double mm = dpi / 25.4;
    const double captionHeight = 14 * mm;
    const QRectF picture(area.left(), area.top(), area.width(), area.height() - captionHeight);
    painter.save();
    if (!view.bounds.isEmpty()) {
        const double scale = 0.95 * std::min(picture.width() / view.bounds.width(), picture.height() / view.bounds.height());
        painter.translate(picture.center());
        painter.scale(scale, -scale); // y up
        painter.translate(-view.bounds.center());
        QPen wheelPen(QColor(40, 90, 160), 0.12 * mm / scale);
        painter.setPen(wheelPen);
        for (const QPolygonF& line : view.wheel)
            painter.drawPolyline(line);
        QPen wormPen(QColor(170, 40, 30), 0.12 * mm / scale);
        painter.setPen(wormPen);
        for (const QPolygonF& line : view.worm)
            painter.drawPolyline(line);
    }
    painter.restore();
    painter.save();
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSizeF(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF text(area.left(), area.bottom() - captionHeight, area.width(), captionHeight);
    painter.drawText(text, Qt::AlignHCenter | Qt::AlignTop, modelViewCaption());
    painter.drawText(text, Qt::AlignHCenter | Qt::AlignBottom, dataLine);
    painter.restore();
}

} // namespace tpworm::drawing
