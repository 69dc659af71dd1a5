// Drawing on a Sheet with the vocabulary of a mechanical drawing: the builders
// of the part sheets say "a horizontal dimension of this value between these
// points" and the Draft adds the primitive on the right layer.
#pragma once

#include "drawing/sheet.h"

#include <QStringList>

namespace tpworm::drawing {

class Draft {
public:
    explicit Draft(Sheet& sheet) : s_(sheet) {}
    Sheet& sheet() { return s_; }

    void line(int view, QPointF a, QPointF b, Layer layer = Layer::Outline);
    void polyline(int view, std::vector<QPointF> points, Layer layer = Layer::Outline, bool closed = false);
    void arc(int view, QPointF centre, double radius, double startDeg, double endDeg, Layer layer = Layer::Outline);
    void circle(int view, QPointF centre, double radius, Layer layer = Layer::Outline);
    void hatch(int view, std::vector<QPointF> outline, double spacingMm = 2.5);
    void text(int view, QPointF at, const QString& text, double heightMm = 3.5, HAlign h = HAlign::Centre,
              VAlign v = VAlign::Bottom, double angleDeg = 0, Layer layer = Layer::Text);
    void horizontalDimension(int view, QPointF a, QPointF b, double y, const QString& text);
    void verticalDimension(int view, QPointF a, QPointF b, double x, const QString& text);
    void radiusDimension(int view, QPointF centre, QPointF onArc, const QString& text, double beyondMm = 8);
    void leader(int view, QPointF tip, QPointF end, const QString& text, HAlign h = HAlign::Left);

    // A table of rows on the sheet (paper millimetres); returns its height.
    // Texts stand left in their cells, at the given height.
    double table(QPointF topLeft, const std::vector<double>& columnWidths, const std::vector<QStringList>& rows,
                 double rowHeight, double textHeightMm);
    // Lines of text from the top-left corner downwards; returns the height used.
    double paragraph(QPointF topLeft, const QStringList& lines, double textHeightMm, double lineHeightMm);

private:
    Sheet& s_;
};

} // namespace tpworm::drawing
