#include "drawing/draft.h"

namespace tpworm::drawing {

void Draft::line(int view, QPointF a, QPointF b, Layer layer) { s_.add(layer, view, LinePrim{a, b}); }

void Draft::polyline(int view, std::vector<QPointF> points, Layer layer, bool closed)
{
    s_.add(layer, view, PolylinePrim{std::move(points), closed});
}

void Draft::arc(int view, QPointF centre, double radius, double startDeg, double endDeg, Layer layer)
{
    s_.add(layer, view, ArcPrim{centre, radius, startDeg, endDeg});
}

void Draft::circle(int view, QPointF centre, double radius, Layer layer) { s_.add(layer, view, CirclePrim{centre, radius}); }

void Draft::hatch(int view, std::vector<QPointF> outline, double spacingMm)
{
    s_.add(Layer::Hatch, view, HatchPrim{std::move(outline), spacingMm});
}

void Draft::text(int view, QPointF at, const QString& text, double heightMm, HAlign h, VAlign v, double angleDeg, Layer layer)
{
    s_.add(layer, view, TextPrim{at, text, heightMm, h, v, angleDeg});
}

void Draft::horizontalDimension(int view, QPointF a, QPointF b, double y, const QString& text)
{
    s_.add(Layer::Dimension, view, DimensionPrim{DimensionPrim::Kind::Horizontal, a, b, y, 0, text});
}

void Draft::verticalDimension(int view, QPointF a, QPointF b, double x, const QString& text)
{
    s_.add(Layer::Dimension, view, DimensionPrim{DimensionPrim::Kind::Vertical, a, b, x, 0, text});
}

void Draft::radiusDimension(int view, QPointF centre, QPointF onArc, const QString& text, double beyondMm)
{
    s_.add(Layer::Dimension, view, DimensionPrim{DimensionPrim::Kind::Radius, centre, onArc, 0, beyondMm, text});
}

void Draft::leader(int view, QPointF tip, QPointF end, const QString& text, HAlign h)
{
    s_.add(Layer::Dimension, view, LeaderPrim{tip, end, text, h});
}

double Draft::table(QPointF topLeft, const std::vector<double>& columnWidths, const std::vector<QStringList>& rows,
                    double rowHeight, double textHeightMm)
{
    double total = 0;
    for (double w : columnWidths)
        total += w;
    const double height = rowHeight * double(rows.size());
    polyline(0, {topLeft, topLeft + QPointF(total, 0), topLeft + QPointF(total, height), topLeft + QPointF(0, height)},
             Layer::Frame, true);
    for (size_t r = 0; r < rows.size(); ++r) {
        const double y = topLeft.y() + double(r) * rowHeight;
        if (r > 0)
            line(0, QPointF(topLeft.x(), y), QPointF(topLeft.x() + total, y), Layer::Thin);
        double x = topLeft.x();
        // A row of one cell (a title, a heading) spans the whole table.
        const bool spanning = rows[r].size() == 1;
        for (size_t c = 0; c < columnWidths.size(); ++c) {
            if (c > 0 && !spanning)
                line(0, QPointF(x, y), QPointF(x, y + rowHeight), Layer::Thin);
            const QString cell = rows[r].value(int(c));
            if (!cell.isEmpty())
                text(0, QPointF(x + 1, y + rowHeight / 2), cell, textHeightMm, HAlign::Left, VAlign::Middle);
            x += columnWidths[c];
        }
    }
    return height;
}

double Draft::paragraph(QPointF topLeft, const QStringList& lines, double textHeightMm, double lineHeightMm)
{
    for (int k = 0; k < lines.size(); ++k)
        text(0, topLeft + QPointF(0, k * lineHeightMm), lines[k], textHeightMm, HAlign::Left, VAlign::Top);
    return lineHeightMm * lines.size();
}

} // namespace tpworm::drawing
