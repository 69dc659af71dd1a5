// Drawing on a page in millimetres of paper, with the line types and
// dimensioning of a mechanical drawing (GB/T 4457.4, GB/T 4458.4 in spirit):
// thick visible outlines, thin dimension and hatch lines, dash-dot centre
// lines, arrows and values in the drawing's font.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

namespace tpworm::manual {

enum class Line { Thick, Thin, Centre, Hidden };

class DrawingSheet {
public:
    DrawingSheet(QPainter& painter, const QRectF& area, int dpi);

    // Paper size of the area in millimetres.
    double width() const { return widthMm_; }
    double height() const { return heightMm_; }

    void line(QPointF a, QPointF b, Line kind = Line::Thick);
    void polyline(const std::vector<QPointF>& points, Line kind = Line::Thick);
    void rect(const QRectF& r, Line kind = Line::Thin);
    void hatch(const std::vector<QPointF>& polygon, double spacingMm = 2.5);
    void text(QPointF at, const QString& text, double heightMm = 3.5, Qt::Alignment align = Qt::AlignCenter,
              double angleDeg = 0);
    void textBox(const QRectF& box, const QString& text, double heightMm, Qt::Alignment align);
    void arrow(QPointF tip, QPointF from);

    // A dimension between two points measured along the direction of `along`
    // (horizontal or vertical), its line offset by `offsetMm` from a and b.
    void horizontalDimension(QPointF a, QPointF b, double y, const QString& value);
    void verticalDimension(QPointF a, QPointF b, double x, const QString& value);
    // A radius: leader from the centre through the arc point, value at its end.
    void radiusDimension(QPointF centre, QPointF onArc, const QString& value, double beyondMm = 8);

    // A table of label | value rows; returns its height.
    double table(QPointF topLeft, const std::vector<double>& columnWidths, const std::vector<QStringList>& rows,
                 double rowHeight = 6.0, double heightMm = 2.5);

private:
    QPointF px(QPointF mm) const;
    double px(double mm) const;
    void usePen(Line kind);

    QPainter& p_;
    QRectF area_;
    double scale_;
    double widthMm_;
    double heightMm_;
};

} // namespace tpworm::manual
