// The drawings of the manual, made from the worked design: the worm, wheel
// and hob sheets of the drawing library and the diagrams of the modification.
#pragma once

#include "example_design.h"

#include <QRectF>

class QPainter;

namespace tpworm::manual {

void drawWorm(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& design);
void drawWheel(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& design);
void drawHob(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& design);
void drawModification(QPainter& painter, const QRectF& area, int dpi, const ExampleDesign& design);

} // namespace tpworm::manual
