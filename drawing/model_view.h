// The report's picture of the 3D model: the worm and the wheel in mesh at
// the centre distance as a line view, drawn from the tooth-surface grids of
// model/ (so it needs no solid modeller). Qt Gui painting only.
#pragma once

#include <QLineF>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class QPainter;

namespace tpworm {
struct DesignValues;
}

namespace tpworm::drawing {

// The picture as polylines in the plane of the view (mm, y up): the flank
// grids' rows and columns of every thread of the worm and every tooth space
// of the wheel, the worm's and the wheel's outlines, projected along one
// oblique direction. Empty when the surfaces cannot be computed.
struct ModelView {
    QList<QPolygonF> worm;
    QList<QPolygonF> wheel;
    QRectF bounds;
};
ModelView modelView(const DesignValues& design);

// The figure's caption (Chinese, translated in tpworm_en.ts).
QString modelViewCaption();

// Paints the view fitted into the area (device pixels), with the caption
// and the design's data line beneath it.
void paintModelView(QPainter& painter, const ModelView& view, const QString& dataLine, const QRectF& area, double dpi);

} // namespace tpworm::drawing
