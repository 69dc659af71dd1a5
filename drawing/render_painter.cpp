#include "drawing/render.h"

#include "drawing/paper.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace tpworm::drawing {

namespace {

constexpr double kArrowMm = 3.0;
constexpr int kPdfDpi = 1200;

// Pen widths of GB/T 4457.4 group 0.5: thick 0.5 mm, thin 0.25 mm.
QPen penFor(Layer layer, double pxPerMm)
{
    QPen pen(Qt::black);
    pen.setCapStyle(Qt::FlatCap);
    const double thin = 0.25;
    switch (layer) {
    case Layer::Outline:
    case Layer::Frame: pen.setWidthF(0.5 * pxPerMm); break;
    case Layer::Centre:
        pen.setWidthF(thin * pxPerMm);
        // Long dash 8 mm, gap 1 mm, dot 0.5 mm, gap 1 mm, in pen widths.
        pen.setDashPattern({8 / thin, 1 / thin, 0.5 / thin, 1 / thin});
        break;
    case Layer::Hidden:
        pen.setWidthF(thin * pxPerMm);
        pen.setDashPattern({3 / thin, 1 / thin});
        break;
    default: pen.setWidthF(thin * pxPerMm); break;
    }
    return pen;
}

} // namespace

void paintSheet(QPainter& p, const Sheet& sheet, const QRectF& area, double dpi)
{
    const double k = dpi / 25.4;
    // Fonts are sized in points of the device; a sheet painted at another
    // resolution than the device's (reduced onto a report page) scales its
    // texts with its lines.
    const double deviceDpi = p.device() ? p.device()->logicalDpiY() : dpi;
    const double fontScale = deviceDpi > 0 ? dpi / deviceDpi : 1;
    const QPointF origin = area.topLeft();
    auto px = [&](QPointF mm) { return origin + mm * k; };
    const Paper paper = layOut(sheet);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (const PaperPath& path : paper.paths) {
        p.setPen(penFor(path.layer, k));
        p.setBrush(Qt::NoBrush);
        QPolygonF polygon;
        for (const QPointF& point : path.points)
            polygon << px(point);
        if (path.closed)
            p.drawPolygon(polygon);
        else
            p.drawPolyline(polygon);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const PaperArrow& a : paper.arrows) {
        const QPointF d = a.tip - a.from;
        const double length = std::hypot(d.x(), d.y());
        if (length <= 0)
            continue;
        const QPointF u = d / length, n(-u.y(), u.x());
        const QPointF base = a.tip - u * kArrowMm;
        p.drawPolygon(QPolygonF{px(a.tip), px(base + n * (kArrowMm / 6)), px(base - n * (kArrowMm / 6))});
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::black);
    for (const PaperText& t : paper.texts) {
        p.save();
        p.setFont(drawingFont(t.heightMm * fontScale));
        p.translate(px(t.at));
        p.rotate(-t.angleDeg);
        // The box the layout measured, relative to the anchor, at this
        // device's resolution: the text is centred in it.
        const QPointF c0 = t.box[0] - t.at, c1 = t.box[1] - t.at, c3 = t.box[3] - t.at;
        const double w = std::hypot(c1.x() - c0.x(), c1.y() - c0.y()), h = std::hypot(c3.x() - c0.x(), c3.y() - c0.y());
        const double x0 = t.h == HAlign::Left ? 0 : t.h == HAlign::Centre ? -w / 2 : -w;
        const double y0 = t.v == VAlign::Top ? 0 : t.v == VAlign::Middle ? -h / 2 : -h;
        p.drawText(QRectF(x0 * k - k, y0 * k, (w + 2) * k, h * k), Qt::AlignCenter | Qt::TextDontClip, t.text);
        p.restore();
    }
    p.restore();
}

void paintSheetFitted(QPainter& painter, const Sheet& sheet, const QRectF& area, double deviceDpi)
{
    const double k = deviceDpi / 25.4;
    const double fit = std::min(1.0, std::min(area.width() / (sheet.width() * k), area.height() / (sheet.height() * k)));
    const QSizeF size(sheet.width() * k * fit, sheet.height() * k * fit);
    const QPointF corner = area.topLeft() + QPointF((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
    paintSheet(painter, sheet, QRectF(corner, size), deviceDpi * fit);
}

void setUpPage(QPagedPaintDevice& device, const Sheet& sheet)
{
    const QPageSize size(sheet.paper() == PaperSize::A3 ? QPageSize::A3 : QPageSize::A4);
    device.setPageLayout(QPageLayout(size, QPageLayout::Landscape,
                                     QMarginsF(kSheetMarginMm, kSheetMarginMm, kSheetMarginMm, kSheetMarginMm),
                                     QPageLayout::Millimeter));
}

QByteArray sheetPdf(const Sheet& sheet)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDpi);
        writer.setTitle(sheet.title());
        writer.setCreator(QStringLiteral("tpworm"));
        setUpPage(writer, sheet);
        QPainter painter;
        if (!painter.begin(&writer))
            throw DrawingError(QStringLiteral("the PDF writer did not start"));
        const QRectF area(QPointF(0, 0), writer.pageLayout().paintRectPixels(kPdfDpi).size());
        paintSheet(painter, sheet, area, kPdfDpi);
        painter.end();
    }
    return bytes;
}

QByteArray sheetSvg(const Sheet& sheet)
{
    // SVG user units of 0.1 mm: the paper with its margins.
    const double dpi = 254;
    const QSizeF paperMm = paperSizeMm(sheet.paper());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(int(dpi));
    svg.setSize(QSize(int(paperMm.width() * 10), int(paperMm.height() * 10)));
    svg.setViewBox(QRectF(0, 0, paperMm.width() * 10, paperMm.height() * 10));
    svg.setTitle(sheet.title());
    svg.setDescription(QStringLiteral("tpworm"));
    QPainter painter;
    if (!painter.begin(&svg))
        throw DrawingError(QStringLiteral("the SVG writer did not start"));
    painter.fillRect(QRectF(0, 0, paperMm.width() * 10, paperMm.height() * 10), Qt::white);
    paintSheet(painter, sheet, QRectF(kSheetMarginMm * 10, kSheetMarginMm * 10, sheet.width() * 10, sheet.height() * 10), dpi);
    painter.end();
    return bytes;
}

QImage sheetImage(const Sheet& sheet, double dpi)
{
    const double k = dpi / 25.4;
    const QSizeF paperMm = paperSizeMm(sheet.paper());
    QImage image(QSize(int(std::ceil(paperMm.width() * k)), int(std::ceil(paperMm.height() * k))), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(dpi / 0.0254));
    image.setDotsPerMeterY(int(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintSheet(painter, sheet, QRectF(kSheetMarginMm * k, kSheetMarginMm * k, sheet.width() * k, sheet.height() * k), dpi);
    painter.end();
    return image;
}

std::optional<Format> formatOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("dxf"))
        return Format::Dxf;
    if (suffix == QLatin1String("svg"))
        return Format::Svg;
    return std::nullopt;
}

QByteArray renderSheet(const Sheet& sheet, Format format)
{
    switch (format) {
    case Format::Pdf: return sheetPdf(sheet);
    case Format::Dxf: return sheetDxf(sheet);
    case Format::Svg: return sheetSvg(sheet);
    }
    return {};
}

} // namespace tpworm::drawing
