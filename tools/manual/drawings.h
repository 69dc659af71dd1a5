// The drawings of the manual, made from the worked design: the worm and the
// wheel working drawings and the diagrams of the modification.
#pragma once

#include "example_design.h"

#include <QRectF>

class QPainter;

namespace tpworm::manual {

void drawWorm(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& design);
void drawWheel(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& design);
void drawModification(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& design);

// The drawing scale: the largest of the preferred reductions (1:1, 1:1.5,
// 1:2, 1:2.5, 1:3, 1:4, 1:5, 1:10, 1:20) at which a part of the given size fits.
double fittingScale(double widthMm, double heightMm, double roomWidthMm, double roomHeightMm);
QString scaleText(double scale);

} // namespace tpworm::manual
