// The DXF back end, through dxflib: DXF 2000 (AC1015), millimetres. The main
// view is written in model space at 1:1, so a CAD user measures true lengths
// and the DIMENSION entities measure what their texts say. Everything else on
// the sheet (the other views at their relative scale, frame, parameter table,
// notes, title block) forms the block TPWORM_SHEET in paper millimetres,
// inserted at the reciprocal of the main view's scale so that it surrounds
// the part as the printed sheet does.
#include "drawing/render.h"

#include "drawing/paper.h"

#include <QStringEncoder>

#include <dxflib/dl_dxf.h>
#include <dxflib/dl_writer_ascii.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

namespace tpworm::drawing {

namespace {

constexpr double kDeg = M_PI / 180;
const std::string kSheetBlock = "TPWORM_SHEET";
const std::string kStyle = "Standard";

// dxflib writes through DL_WriterA, which opens a file; this one collects the
// group codes in memory instead, so that the caller writes the whole file
// atomically. The formats are DL_WriterA's.
class MemoryWriter final : public DL_WriterA {
public:
    MemoryWriter() : DL_WriterA("/dev/null", DL_Codes::AC1015) {}

    void dxfReal(int gc, double value) const override
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.10f", value);
        std::string s(text);
        // Trailing zeros cut, as dxflib does, one digit after the point kept.
        while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.')
            s.pop_back();
        if (s == "-0.0")
            s = "0.0";
        dxfString(gc, s);
    }
    void dxfInt(int gc, int value) const override { dxfString(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override
    {
        char text[32];
        std::snprintf(text, sizeof text, "%0X", value);
        dxfString(gc, std::string(text));
    }
    void dxfString(int gc, const char* value) const override { dxfString(gc, std::string(value)); }
    void dxfString(int gc, const std::string& value) const override
    {
        const std::string code = std::to_string(gc);
        out_ += std::string(code.size() < 3 ? 3 - code.size() : 0, ' ') + code + "\n" + value + "\n";
        // dxflib leaves out the name of a dimension's geometry block, which
        // every reader needs to show it: it follows the subclass marker.
        if (gc == 100 && value == "AcDbDimension" && !dimensionBlock.empty()) {
            dxfString(2, dimensionBlock);
            dimensionBlock.clear();
        }
    }

    const std::string& text() const { return out_; }
    // The geometry block of the next DIMENSION written.
    mutable std::string dimensionBlock;

private:
    mutable std::string out_;
};

// dxflib writes the objects (dictionaries, layouts) without their owners;
// readers repair that and say so. Each object gets the owner the
// dictionaries name: the dictionary whose entry (350 or 360) points at it,
// and 0 for the root.
std::string withObjectOwners(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t at = 0;
    while (at < text.size()) {
        const size_t codeEnd = text.find('\n', at);
        if (codeEnd == std::string::npos)
            break;
        const size_t valueEnd = text.find('\n', codeEnd + 1);
        if (valueEnd == std::string::npos)
            break;
        std::string code = text.substr(at, codeEnd - at);
        code.erase(0, code.find_first_not_of(' '));
        pairs.emplace_back(code, text.substr(codeEnd + 1, valueEnd - codeEnd - 1));
        at = valueEnd + 1;
    }
    size_t begin = 0, end = 0;
    for (size_t k = 1; k < pairs.size(); ++k)
        if (pairs[k] == std::pair<std::string, std::string>("2", "OBJECTS"))
            begin = k + 1;
        else if (begin && !end && pairs[k] == std::pair<std::string, std::string>("0", "ENDSEC"))
            end = k;
    if (!begin || !end)
        return text;
    std::map<std::string, std::string> owner;
    std::string current, root;
    for (size_t k = begin; k < end; ++k) {
        if (pairs[k].first == "5") {
            current = pairs[k].second;
            if (root.empty())
                root = current;
        } else if (pairs[k].first == "350" || pairs[k].first == "360") {
            owner.emplace(pairs[k].second, current);
        }
    }
    owner[root] = "0";
    std::string out;
    auto put = [&out](const std::string& code, const std::string& value) {
        out += std::string(code.size() < 3 ? 3 - code.size() : 0, ' ') + code + "\n" + value + "\n";
    };
    for (size_t k = 0; k < pairs.size(); ++k) {
        put(pairs[k].first, pairs[k].second);
        const bool objectHandle = k >= begin && k < end && pairs[k].first == "5";
        const bool hasOwner = k + 1 < pairs.size() && pairs[k + 1].first == "330";
        if (objectHandle && !hasOwner && owner.count(pairs[k].second))
            put("330", owner[pairs[k].second]);
    }
    return out;
}

// Text for a DXF 2000 file in code page ANSI_936 ($DWGCODEPAGE), as Chinese
// CAD programs write them: GBK bytes; Ø, ± and ° as the %%c, %%p and %%d codes
// CAD programs draw as those signs; a character GBK lacks as the \U+XXXX
// escape of the DXF reference.
std::string dxfText(const QString& text)
{
    std::string out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        QStringEncoder gbk("GBK");
        const QByteArray encoded = u >= 0x80 ? gbk.encode(QString(c)) : QByteArray();
        if (u == u'Ø' || u == u'ø')
            out += "%%c";
        else if (u == u'±')
            out += "%%p";
        else if (u == u'°')
            out += "%%d";
        else if (u >= 0x20 && u < 0x7f)
            out += char(u);
        else if (u >= 0x80 && !gbk.hasError() && !encoded.isEmpty())
            out += encoded.toStdString();
        else {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\U+%04X", unsigned(u));
            out += escape;
        }
    }
    return out;
}

// Colours (AutoCAD colour index) and line types of the layers.
struct LayerStyle {
    int colour;
    const char* linetype;
    int lineweight; // 1/100 mm
};

LayerStyle styleOf(Layer layer)
{
    switch (layer) {
    case Layer::Outline: return {7, "CONTINUOUS", 50};
    case Layer::Thin: return {8, "CONTINUOUS", 25};
    case Layer::Centre: return {1, "CENTER", 25};
    case Layer::Hidden: return {6, "HIDDEN", 25};
    case Layer::Hatch: return {8, "CONTINUOUS", 25};
    case Layer::Dimension: return {3, "CONTINUOUS", 25};
    case Layer::Text: return {7, "CONTINUOUS", 25};
    case Layer::Frame: return {7, "CONTINUOUS", 50};
    }
    return {7, "CONTINUOUS", 25};
}

DL_Attributes attributes(Layer layer)
{
    return DL_Attributes(layerName(layer), 256, -1, "BYLAYER", 1.0);
}

// Where the primitives of one coordinate system go: the main view in model
// space (model millimetres) or the sheet block (paper millimetres, y up).
struct Target {
    const Sheet& sheet;
    bool model; // true: model space of the main view; false: the sheet block
    int mainView;

    // A point of a view, in this target's coordinates.
    QPointF point(int view, QPointF p) const
    {
        if (model)
            return p;
        const QPointF paper = sheet.toPaper(view, p);
        return QPointF(paper.x(), sheet.height() - paper.y());
    }
    QPointF paperPoint(QPointF paper) const { return QPointF(paper.x(), sheet.height() - paper.y()); }
    double length(int view, double l) const { return model ? l : l * sheet.view(view).scale; }
    // Paper millimetres in this target's units.
    double paperLength(double mm) const { return model ? mm / sheet.view(mainView).scale : mm; }
};

class DxfWriter {
public:
    DxfWriter(const Sheet& sheet) : s_(sheet), main_(sheet.mainView()) {}

    QByteArray write()
    {
        // Every dimension gets an anonymous block with the lines, arrows and
        // text it shows; its name is known before the tables are written.
        int count = 0;
        for (const Primitive& p : s_.items())
            if (std::holds_alternative<DimensionPrim>(p.shape))
                dimensionBlocks_.emplace_back(&p, "*D" + std::to_string(++count));

        MemoryWriter w;
        writeTables(w);
        w.sectionBlocks();
        for (const char* name : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
            dxf_.writeBlock(w, DL_BlockData(name, 0, 0, 0, 0));
            dxf_.writeEndBlock(w, name);
        }
        dxf_.writeBlock(w, DL_BlockData(kSheetBlock, 0, 0, 0, 0));
        entities(w, Target{s_, false, main_});
        dxf_.writeEndBlock(w, kSheetBlock);
        for (const auto& [primitive, name] : dimensionBlocks_) {
            dxf_.writeBlock(w, DL_BlockData(name, 1, 0, 0, 0));
            dimensionGeometry(w, *primitive);
            dxf_.writeEndBlock(w, name);
        }
        w.sectionEnd();

        w.sectionEntities();
        entities(w, Target{s_, true, main_});
        // The sheet block: its paper point of the main view's origin on the
        // model origin, scaled up by the reciprocal of the view's scale.
        const View& v = s_.view(main_);
        const double k = 1 / v.scale;
        const QPointF origin(v.origin.x(), s_.height() - v.origin.y());
        dxf_.writeInsert(w, DL_InsertData(kSheetBlock, -origin.x() * k, -origin.y() * k, 0, k, k, 1, 0, 1, 1, 0, 0),
                         attributes(Layer::Frame));
        w.sectionEnd();
        dxf_.writeObjects(w);
        dxf_.writeObjectsEnd(w);
        w.dxfEOF();
        return QByteArray::fromStdString(withObjectOwners(w.text()));
    }

private:
    void writeTables(MemoryWriter& w)
    {
        dxf_.writeHeader(w);
        w.dxfString(9, "$DWGCODEPAGE");
        w.dxfString(3, "ANSI_936");
        // Millimetres: $INSUNITS 4, metric measurement.
        w.dxfString(9, "$INSUNITS");
        w.dxfInt(70, 4);
        w.dxfString(9, "$MEASUREMENT");
        w.dxfInt(70, 1);
        w.sectionEnd();

        w.sectionTables();
        dxf_.writeVPort(w);
        // Centre line: long dash 8, gap 1, dot 0.5, gap 1 (GB/T 4457.4 in
        // spirit); hidden line: dash 3, gap 1.
        double centre[] = {8.0, -1.0, 0.5, -1.0};
        double hidden[] = {3.0, -1.0};
        w.tableLinetypes(5);
        dxf_.writeLinetype(w, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
        dxf_.writeLinetype(w, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
        dxf_.writeLinetype(w, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
        dxf_.writeLinetype(w, DL_LinetypeData("CENTER", "Centre ____ . ____ . ____", 0, 4, 10.5, centre));
        dxf_.writeLinetype(w, DL_LinetypeData("HIDDEN", "Hidden __ __ __", 0, 2, 4.0, hidden));
        w.tableEnd();

        w.tableLayers(int(std::size(kAllLayers)) + 1);
        dxf_.writeLayer(w, DL_LayerData("0", 0), DL_Attributes("", 7, 25, "CONTINUOUS", 1.0));
        for (Layer layer : kAllLayers) {
            const LayerStyle st = styleOf(layer);
            dxf_.writeLayer(w, DL_LayerData(layerName(layer), 0), DL_Attributes("", st.colour, st.lineweight, st.linetype, 1.0));
        }
        w.tableEnd();

        w.tableStyle(1);
        // A CAD program without the Chinese big font falls back to its own;
        // gbcbig.shx is the usual one for GB drawings.
        dxf_.writeStyle(w, DL_StyleData(kStyle, 0, 0.0, 0.8, 0.0, 0, 3.5, "gbenor.shx", "gbcbig.shx"));
        w.tableEnd();
        dxf_.writeView(w);
        dxf_.writeUcs(w);
        w.tableAppid(1);
        dxf_.writeAppid(w, "ACAD");
        w.tableEnd();
        const double textHeight = 3.5 / s_.view(main_).scale;
        dxf_.writeDimStyle(w, textHeight * 0.85, textHeight * 0.6, textHeight * 0.25, textHeight * 0.25, textHeight);
        dxf_.writeBlockRecord(w);
        dxf_.writeBlockRecord(w, kSheetBlock);
        for (const auto& block : dimensionBlocks_)
            dxf_.writeBlockRecord(w, block.second);
        w.tableEnd();
        w.sectionEnd();
    }

    void text(MemoryWriter& w, const Target& t, QPointF at, const QString& text, double heightMm, HAlign h, VAlign v,
              double angleDeg, Layer layer)
    {
        const int hj = h == HAlign::Left ? 0 : h == HAlign::Centre ? 1 : 2;
        const int vj = v == VAlign::Bottom ? 1 : v == VAlign::Middle ? 2 : 3;
        const double height = t.paperLength(heightMm * 0.7); // cap height of the painted font
        dxf_.writeText(w, DL_TextData(at.x(), at.y(), 0, at.x(), at.y(), 0, height, 1.0, 0, hj, vj, dxfText(text), kStyle,
                                      angleDeg * kDeg),
                       attributes(layer));
    }

    void line(MemoryWriter& w, QPointF a, QPointF b, Layer layer)
    {
        dxf_.writeLine(w, DL_LineData(a.x(), a.y(), 0, b.x(), b.y(), 0), attributes(layer));
    }

    void polyline(MemoryWriter& w, const std::vector<QPointF>& points, bool closed, Layer layer)
    {
        dxf_.writePolyline(w, DL_PolylineData(int(points.size()), 0, 0, closed ? 1 : 0), attributes(layer));
        for (const QPointF& p : points)
            dxf_.writeVertex(w, DL_VertexData(p.x(), p.y(), 0, 0));
        dxf_.writePolylineEnd(w);
    }

    void dimension(MemoryWriter& w, const Target& t, int view, const DimensionPrim& d)
    {
        const QPointF a = t.point(view, d.a), b = t.point(view, d.b);
        const std::string text = dxfText(d.text);
        const double gap = t.paperLength(0.8), textHeight = t.paperLength(3.5);
        switch (d.kind) {
        case DimensionPrim::Kind::Horizontal:
        case DimensionPrim::Kind::Vertical: {
            const bool horizontal = d.kind == DimensionPrim::Kind::Horizontal;
            // The dimension line's position, in this target's units.
            const QPointF onLine = horizontal ? t.point(view, QPointF(d.a.x(), d.at)) : t.point(view, QPointF(d.at, d.a.y()));
            const QPointF mid = horizontal ? QPointF((a.x() + b.x()) / 2, onLine.y() + gap + textHeight / 2)
                                           : QPointF(onLine.x() - gap - textHeight / 2, (a.y() + b.y()) / 2);
            // dxflib takes the angles in radians and writes degrees.
            const double angle = horizontal ? 0.0 : M_PI / 2;
            DL_DimensionData data(onLine.x(), onLine.y(), 0, mid.x(), mid.y(), 0, 0 | 128, 5, 1, 1.0, text, kStyle, angle);
            dxf_.writeDimLinear(w, data, DL_DimLinearData(a.x(), a.y(), 0, b.x(), b.y(), 0, angle, 0.0),
                                attributes(Layer::Dimension));
            break;
        }
        case DimensionPrim::Kind::Radius:
        case DimensionPrim::Kind::Diameter: {
            const QPointF u = (b - a) / std::max(1e-12, std::hypot(b.x() - a.x(), b.y() - a.y()));
            const double beyond = t.paperLength(std::max(d.beyondMm, 0.0));
            const QPointF mid = d.beyondMm > 0 ? b + u * (beyond * 0.5) : a + (b - a) * 0.55;
            DL_DimensionData data(a.x(), a.y(), 0, mid.x(), mid.y(), 0,
                                  (d.kind == DimensionPrim::Kind::Radius ? 4 : 3) | 128, 5, 1, 1.0, text, kStyle, 0.0);
            if (d.kind == DimensionPrim::Kind::Radius)
                dxf_.writeDimRadial(w, data, DL_DimRadialData(b.x(), b.y(), 0, beyond), attributes(Layer::Dimension));
            else
                dxf_.writeDimDiametric(w, data, DL_DimDiametricData(b.x(), b.y(), 0, beyond), attributes(Layer::Dimension));
            break;
        }
        }
    }

    // The target a primitive is written in: the main view's in model space,
    // the rest in the sheet block.
    Target targetOf(const Primitive& p) const { return Target{s_, p.view == main_ && main_ != 0, main_}; }

    // What a dimension shows, as its geometry block: the same extension
    // lines, arrows and text the printed sheet has.
    void dimensionGeometry(MemoryWriter& w, const Primitive& p)
    {
        const Target t = targetOf(p);
        const Paper paper = layOut(s_, p);
        for (const PaperPath& path : paper.paths)
            for (size_t k = 0; k + 1 < path.points.size(); ++k)
                line(w, fromPaper(t, path.points[k]), fromPaper(t, path.points[k + 1]), Layer::Dimension);
        for (const PaperArrow& a : paper.arrows)
            arrow(w, t, fromPaper(t, a.tip), fromPaper(t, a.from));
        for (const PaperText& tx : paper.texts)
            text(w, t, fromPaper(t, tx.at), tx.text, tx.heightMm, tx.h, tx.v, tx.angleDeg, Layer::Dimension);
    }

    void arrow(MemoryWriter& w, const Target& t, QPointF tip, QPointF from)
    {
        const double length = std::hypot(tip.x() - from.x(), tip.y() - from.y());
        if (length <= 0)
            return;
        const QPointF u = (tip - from) / length, n(-u.y(), u.x());
        const double size = t.paperLength(3.0);
        const QPointF base = tip - u * size, l = base + n * (size / 6), r = base - n * (size / 6);
        dxf_.writeSolid(w, DL_SolidData(tip.x(), tip.y(), 0, l.x(), l.y(), 0, r.x(), r.y(), 0, r.x(), r.y(), 0),
                        attributes(Layer::Dimension));
    }

    // The primitives of the main view go to model space, everything else to
    // the sheet block.
    void entities(MemoryWriter& w, const Target& t)
    {
        for (const Primitive& p : s_.items()) {
            const bool inMain = p.view == main_ && main_ != 0;
            if (inMain != t.model)
                continue;
            const int v = p.view;
            if (const auto* l = std::get_if<LinePrim>(&p.shape)) {
                line(w, t.point(v, l->a), t.point(v, l->b), p.layer);
            } else if (const auto* pl = std::get_if<PolylinePrim>(&p.shape)) {
                std::vector<QPointF> points;
                for (const QPointF& q : pl->points)
                    points.push_back(t.point(v, q));
                polyline(w, points, pl->closed, p.layer);
            } else if (const auto* a = std::get_if<ArcPrim>(&p.shape)) {
                const QPointF c = t.point(v, a->centre);
                dxf_.writeArc(w, DL_ArcData(c.x(), c.y(), 0, t.length(v, a->radius), a->startDeg, a->endDeg), attributes(p.layer));
            } else if (const auto* c = std::get_if<CirclePrim>(&p.shape)) {
                const QPointF centre = t.point(v, c->centre);
                dxf_.writeCircle(w, DL_CircleData(centre.x(), centre.y(), 0, t.length(v, c->radius)), attributes(p.layer));
            } else if (const auto* h = std::get_if<HatchPrim>(&p.shape)) {
                // Hatching as lines on the hatch layer: the same lines the
                // printed sheet shows, readable by every DXF reader.
                std::vector<QPointF> outline;
                for (const QPointF& q : h->outline)
                    outline.push_back(s_.toPaper(v, q));
                for (const auto& [from, to] : hatchLines(outline, h->spacingMm))
                    line(w, fromPaper(t, from), fromPaper(t, to), Layer::Hatch);
            } else if (const auto* tx = std::get_if<TextPrim>(&p.shape)) {
                text(w, t, t.point(v, tx->at), tx->text, tx->heightMm, tx->h, tx->v, tx->angleDeg, p.layer);
            } else if (const auto* d = std::get_if<DimensionPrim>(&p.shape)) {
                for (const auto& [primitive, name] : dimensionBlocks_)
                    if (primitive == &p)
                        w.dimensionBlock = name;
                dimension(w, t, v, *d);
            } else if (const auto* ld = std::get_if<LeaderPrim>(&p.shape)) {
                const QPointF tip = t.point(v, ld->tip), end = t.point(v, ld->end);
                line(w, tip, end, Layer::Dimension);
                arrow(w, t, tip, end);
                const double gap = ld->h == HAlign::Left ? 1 : ld->h == HAlign::Right ? -1 : 0;
                text(w, t, end + QPointF(t.paperLength(gap), 0), ld->text, 2.5, ld->h, VAlign::Middle, 0, Layer::Dimension);
            }
        }
    }

    // A paper point in this target's coordinates.
    QPointF fromPaper(const Target& t, QPointF paper) const
    {
        if (!t.model)
            return t.paperPoint(paper);
        const View& v = s_.view(main_);
        return QPointF((paper.x() - v.origin.x()) / v.scale, (v.origin.y() - paper.y()) / v.scale);
    }

    const Sheet& s_;
    int main_;
    DL_Dxf dxf_;
    std::vector<std::pair<const Primitive*, std::string>> dimensionBlocks_;
};

} // namespace

QByteArray sheetDxf(const Sheet& sheet) { return DxfWriter(sheet).write(); }

} // namespace tpworm::drawing
