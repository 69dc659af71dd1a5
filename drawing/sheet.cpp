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
    // ISO 5455 / GB/T 14690: enlargements 5:1, 2:1; 1:1; reductions of the
    // first series 1:2, 1:5, 1:10, 1:20, 1:50, 1:100 with the second series
    // 1:1.5, 1:2.5, 1:3, 1:4, 1:6 of GB/T 14690 between them.
    static const double enlargements[] = {5.0, 2.0};
    static const double reductions[] = {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 10.0, 20.0, 50.0, 100.0};
    if (enlarge)
        for (double factor : enlargements)
            if (widthMm * factor <= roomWidthMm && heightMm * factor <= roomHeightMm)
                return factor;
    for (double reduction : reductions)
        if (widthMm / reduction <= roomWidthMm && heightMm / reduction <= roomHeightMm)
            return 1 / reduction;
    return 1 / 100.0;
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
