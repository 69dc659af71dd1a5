#include "drawing/sheet.h"

#include "core/numeric.h"

#include <algorithm>
#include <cmath>

namespace tpworm::drawing {

const char* layerName(Layer layer)
{
    switch (layer) {
    case Layer::Outline: return "outline";
    case Layer::Thin: return "thin";
    case Layer::Centre: return "centre";
    case Layer::Hidden: return "hidden";
    case Layer::Hatch: return "hatch";
    case Layer::Dimension: return "dimension";
    case Layer::Text: return "text";
    case Layer::Frame: return "frame";
    }
    return "0";
}

QSizeF paperSizeMm(PaperSize paper)
{
    // ISO 216 sheets, landscape.
    return paper == PaperSize::A3 ? QSizeF(420, 297) : QSizeF(297, 210);
}

Sheet::Sheet(PaperSize paper, QString title) : paper_(paper), title_(std::move(title))
{
    views_.push_back(View{QStringLiteral("sheet"), QPointF(0, 0), 1, false});
}

double Sheet::width() const { return paperSizeMm(paper_).width() - 2 * kSheetMarginMm; }
double Sheet::height() const { return paperSizeMm(paper_).height() - 2 * kSheetMarginMm; }

int Sheet::addView(const View& view)
{
    views_.push_back(view);
    return int(views_.size()) - 1;
}

double fittingScale(double widthMm, double heightMm, double roomWidthMm, double roomHeightMm, bool enlarge)
{
    // ISO 5455 / GB/T 14690: enlargements 5×10ⁿ:1, 2×10ⁿ:1, 1×10ⁿ:1; full
    // size; reductions 1:2×10ⁿ, 1:5×10ⁿ, 1:1×10ⁿ with the second series of
    // GB/T 14690 (1:1.5×10ⁿ, 1:2.5×10ⁿ, 1:3×10ⁿ, 1:4×10ⁿ, 1:6×10ⁿ) between
    // them. The largest at which the part fits.
    const auto fits = [&](double scale) { return widthMm * scale <= roomWidthMm && heightMm * scale <= roomHeightMm; };
    if (enlarge)
        for (double factor : {50.0, 20.0, 10.0, 5.0, 2.0})
            if (fits(factor))
                return factor;
    for (double decade = 1; decade <= 1e6; decade *= 10)
        for (double step : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0})
            if (fits(1 / (step * decade)))
                return 1 / (step * decade);
    return 1e-7;
}

QString scaleText(double scale)
{
    if (scale > 1.0001)
        return FloatToStr(std::round(scale * 10) / 10) + QStringLiteral(":1");
    return QStringLiteral("1:") + FloatToStr(std::round(10 / scale) / 10);
}

std::vector<std::pair<QPointF, QPointF>> hatchLines(const std::vector<QPointF>& outline, double spacing)
{
    std::vector<std::pair<QPointF, QPointF>> out;
    if (outline.size() < 3 || spacing <= 0)
        return out;
    // Lines x + y = c: on the y-down sheet they rise to the right at 45°.
    double lo = 1e300, hi = -1e300;
    for (const QPointF& p : outline) {
        lo = std::min(lo, p.x() + p.y());
        hi = std::max(hi, p.x() + p.y());
    }
    // Along each line x + y = c, parametrised by x, collect the crossings
    // with the outline's edges and pair them by the even-odd rule.
    const size_t n = outline.size();
    for (double c = std::floor(lo / spacing) * spacing + spacing / 2; c < hi; c += spacing) {
        std::vector<double> xs;
        for (size_t i = 0; i < n; ++i) {
            const QPointF p = outline[i], q = outline[(i + 1) % n];
            const double sp = p.x() + p.y() - c, sq = q.x() + q.y() - c;
            if ((sp < 0) == (sq < 0))
                continue;
            const double t = sp / (sp - sq);
            xs.push_back(p.x() + t * (q.x() - p.x()));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2)
            out.emplace_back(QPointF(xs[k], c - xs[k]), QPointF(xs[k + 1], c - xs[k + 1]));
    }
    return out;
}

} // namespace tpworm::drawing
