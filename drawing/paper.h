// A sheet reduced to what lands on the paper: every primitive in paper
// millimetres (y down), dimensions and leaders expanded into their extension
// lines, arrows and texts, and every text with the box it covers. The
// QPainter back ends paint this; the layout checks measure it.
#pragma once

#include "drawing/sheet.h"

#include <QFont>
#include <QPolygonF>

namespace tpworm::drawing {

struct PaperLine {
    QPointF a, b;
    Layer layer;
};
struct PaperPath {
    std::vector<QPointF> points;
    bool closed;
    Layer layer;
};
struct PaperArrow {
    QPointF tip, from;
};
struct PaperText {
    QPointF at;
    QString text;
    double heightMm;
    HAlign h;
    VAlign v;
    double angleDeg; // counter-clockwise on the paper
    Layer layer;
    // The corners of the box the text covers, in paper millimetres.
    QPolygonF box;
};

struct Paper {
    std::vector<PaperPath> paths; // lines, polylines, arcs and circles (as polylines), hatching
    std::vector<PaperArrow> arrows;
    std::vector<PaperText> texts;
};

Paper layOut(const Sheet& sheet);
// One primitive alone (the DXF back end draws each dimension's geometry
// block from it).
Paper layOut(const Sheet& sheet, const Primitive& primitive);

// The drawing font: WenQuanYi Micro Hei (fonts-wqy-microhei), which holds
// the Chinese captions, Ø, ±, ° and the primes of the symbols.
QFont drawingFont(double heightMm);
// A font whose size in points is 2.4 times a length in millimetres has
// digits of about that height.
inline constexpr double kPointsPerMm = 2.4;

} // namespace tpworm::drawing
