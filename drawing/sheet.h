// A drawing sheet as a device-independent list of primitives: lines, arcs,
// circles, polylines, hatched areas, texts and dimensions, each on a named
// layer and in one view. The PDF, SVG, print and PNG back ends paint the list
// with QPainter; the DXF back end writes the same list as entities, so every
// back end shows the same drawing.
//
// Coordinates. The sheet itself (frame, tables, title block, notes) is in
// millimetres of paper, x to the right and y downwards from the top-left
// corner of the drawing area. A view holds part geometry in millimetres of the
// part (model units, y upwards) and places it on the paper at its scale. The
// DXF back end writes the main view at 1:1 in model space and the rest as a
// block scaled around it.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

#include <variant>
#include <vector>

namespace tpworm::drawing {

// The layers a CAD user finds in the DXF, and the line type each one means
// (after GB/T 4457.4: thick visible outlines, thin dimension and hatch lines,
// thin dash-dot centre lines).
enum class Layer { Outline, Thin, Centre, Hidden, Hatch, Dimension, Text, Frame };
inline constexpr Layer kAllLayers[] = {Layer::Outline, Layer::Thin,      Layer::Centre, Layer::Hidden,
                                       Layer::Hatch,   Layer::Dimension, Layer::Text,   Layer::Frame};
// "outline", "centre", ...: the layer names of the DXF.
const char* layerName(Layer layer);

// Alignment of a text about its anchor point.
enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Middle, Bottom };

struct LinePrim {
    QPointF a, b;
};
struct PolylinePrim {
    std::vector<QPointF> points;
    bool closed = false;
};
// Angles in degrees, counter-clockwise in the view's own (y-up) frame; on the
// sheet (y down) the back ends mirror them.
struct ArcPrim {
    QPointF centre;
    double radius = 0;
    double startDeg = 0, endDeg = 360;
};
struct CirclePrim {
    QPointF centre;
    double radius = 0;
};
// 45° hatching inside a closed outline, spacing in millimetres of paper.
struct HatchPrim {
    std::vector<QPointF> outline;
    double spacingMm = 2.5;
};
// Height in millimetres of paper, whatever the view's scale.
struct TextPrim {
    QPointF at;
    QString text;
    double heightMm = 3.5;
    HAlign h = HAlign::Centre;
    VAlign v = VAlign::Bottom;
    double angleDeg = 0; // counter-clockwise on the paper
};
// A dimension: the measured points, where its line runs, and the text it
// shows (the computed value rounded as the window shows it, never the
// measured length of the drawn geometry).
struct DimensionPrim {
    enum class Kind { Horizontal, Vertical, Radius, Diameter };
    Kind kind = Kind::Horizontal;
    QPointF a, b;     // linear: the two points; radius/diameter: centre and point on the arc
    double at = 0;    // linear: y (horizontal) or x (vertical) of the dimension line, view units
    double beyondMm = 8; // radius: how far the leader runs past the arc (negative: inside)
    QString text;
};
// A leader: a thin line with an arrow at its first point and a text at its end.
struct LeaderPrim {
    QPointF tip, end;
    QString text;
    HAlign h = HAlign::Left;
};

using Shape = std::variant<LinePrim, PolylinePrim, ArcPrim, CirclePrim, HatchPrim, TextPrim, DimensionPrim, LeaderPrim>;

struct Primitive {
    Layer layer = Layer::Outline;
    int view = 0; // 0: the sheet itself
    Shape shape;
};

// Where a view stands on the paper: its model origin at `origin` (paper
// millimetres), model lengths multiplied by `scale`, model y up.
struct View {
    QString name;
    QPointF origin;
    double scale = 1;
    bool yUp = true; // false for the sheet itself, which is drawn in paper coordinates
    QPointF toPaper(QPointF model) const { return origin + QPointF(model.x() * scale, (yUp ? -1 : 1) * model.y() * scale); }
};

enum class PaperSize { A4, A3 };

class Sheet {
public:
    Sheet(PaperSize paper, QString title);

    PaperSize paper() const { return paper_; }
    const QString& title() const { return title_; }
    // The drawing area inside the margins, in millimetres (A4 or A3 landscape).
    double width() const;
    double height() const;
    // The frame every primitive must stay inside.
    QRectF frame() const { return QRectF(0, 0, width(), height()); }

    // Adds a view and returns its number for the primitives drawn in it.
    int addView(const View& view);
    const std::vector<View>& views() const { return views_; }
    const View& view(int index) const { return views_.at(size_t(index)); }
    // The view a dimension's model coordinates are measured in: the first
    // view added (the main view), or the sheet when there is none.
    int mainView() const { return views_.size() > 1 ? 1 : 0; }

    void add(Layer layer, int view, Shape shape) { items_.push_back({layer, view, std::move(shape)}); }
    const std::vector<Primitive>& items() const { return items_; }

    // Paper position of a point of a view.
    QPointF toPaper(int view, QPointF point) const { return views_.at(size_t(view)).toPaper(point); }

private:
    PaperSize paper_;
    QString title_;
    std::vector<View> views_;
    std::vector<Primitive> items_;
};

// The paper size of the sheet in millimetres, landscape, and the margin of the
// drawing area on every side (GB/T 14689: a 10 mm border on A4 and A3 without
// binding edge is allowed; the program uses 10 mm all round).
QSizeF paperSizeMm(PaperSize paper);
inline constexpr double kSheetMarginMm = 10;

// The scale of a view from the preferred series of ISO 5455 (GB/T 14690,
// with its second series): the largest at which a part of the given size
// fits the room; enlargements (2:1 ... 50:1) only where asked for.
double fittingScale(double widthMm, double heightMm, double roomWidthMm, double roomHeightMm, bool enlarge = true);
// "1:2", "1:2.5", "2:1".
QString scaleText(double scale);

// The 45° hatch lines of a closed outline in paper coordinates: pairs of end
// points, clipped to the outline by the even-odd rule.
std::vector<std::pair<QPointF, QPointF>> hatchLines(const std::vector<QPointF>& outline, double spacing);

} // namespace tpworm::drawing
