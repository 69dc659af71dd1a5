#include "drawing/pdf_book.h"

#include "drawing/render.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace tpworm::drawing {

namespace {

const QString kFontFamily = QStringLiteral("WenQuanYi Micro Hei");
constexpr double kMarginMm = 18;
constexpr double kHeaderMm = 10;
constexpr double kFooterMm = 10;

QPageLayout portrait()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

QPageLayout landscape()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

double mmToPixels(double mm) { return mm * PdfBook::kDpi / 25.4; }

QFont bodyFont(double points)
{
    QFont font(kFontFamily);
    font.setPointSizeF(points);
    return font;
}

} // namespace

struct PdfBook::Part {
    QString html;             // text part
    QString caption;          // drawing part
    DrawingPainter drawing;
    mutable std::unique_ptr<QTextDocument> document;
    mutable int pages = 1;

    bool isDrawing() const { return bool(drawing); }
};

PdfBook::PdfBook(const QString& title, const QString& subtitle) : title_(title), subtitle_(subtitle) {}

PdfBook::~PdfBook() = default;

void PdfBook::addText(const QString& html)
{
    auto part = std::make_unique<Part>();
    part->html = html;
    parts_.push_back(std::move(part));
}

void PdfBook::addDrawing(const QString& caption, DrawingPainter painter)
{
    auto part = std::make_unique<Part>();
    part->caption = caption;
    part->drawing = std::move(painter);
    parts_.push_back(std::move(part));
}

QByteArray PdfBook::render() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setTitle(title_ + QStringLiteral(" · ") + subtitle_);
        writer.setCreator(QStringLiteral("tpworm"));
        writer.setPageLayout(portrait());

        // The text body: the printable area less the header and the footer.
        const QRectF printable = portrait().paintRectPixels(kDpi);
        const QSizeF body(printable.width(), printable.height() - mmToPixels(kHeaderMm + kFooterMm));

        int total = 0;
        for (const auto& part : parts_) {
            if (!part->isDrawing()) {
                part->document = std::make_unique<QTextDocument>();
                part->document->documentLayout()->setPaintDevice(&writer);
                part->document->setDefaultFont(bodyFont(10.5));
                part->document->setDocumentMargin(0);
                part->document->setHtml(part->html);
                part->document->setPageSize(body);
                part->pages = part->document->pageCount();
            }
            total += part->pages;
        }

        QPainter painter;
        if (!painter.begin(&writer))
            throw DrawingError(QStringLiteral("the PDF writer did not start"));
        int page = 0;
        auto frame = [&](const QRectF& area) {
            ++page;
            painter.save();
            painter.setPen(QPen(QColor(60, 60, 60), mmToPixels(0.2)));
            painter.setFont(bodyFont(8));
            const double header = mmToPixels(kHeaderMm);
            painter.drawText(QRectF(0, 0, area.width(), header * 0.8), Qt::AlignLeft | Qt::AlignBottom, title_);
            painter.drawText(QRectF(0, 0, area.width(), header * 0.8), Qt::AlignRight | Qt::AlignBottom, subtitle_);
            painter.drawLine(QPointF(0, header * 0.9), QPointF(area.width(), header * 0.9));
            painter.drawText(QRectF(0, area.height() - mmToPixels(kFooterMm) * 0.7, area.width(), mmToPixels(kFooterMm) * 0.7),
                             Qt::AlignHCenter | Qt::AlignBottom,
                             QStringLiteral("第 %1 页  共 %2 页").arg(page).arg(total));
            painter.restore();
        };
        bool first = true;
        for (const auto& part : parts_) {
            if (part->isDrawing()) {
                writer.setPageLayout(landscape());
                if (!first)
                    writer.newPage();
                const QRectF area(QPointF(0, 0), landscape().paintRectPixels(kDpi).size());
                frame(area);
                const double header = mmToPixels(kHeaderMm);
                painter.save();
                part->drawing(painter, QRectF(0, header, area.width(), area.height() - header - mmToPixels(kFooterMm)), kDpi);
                painter.restore();
                first = false;
                continue;
            }
            for (int i = 0; i < part->pages; ++i) {
                writer.setPageLayout(portrait());
                if (!first)
                    writer.newPage();
                first = false;
                const QRectF area(QPointF(0, 0), printable.size());
                frame(area);
                painter.save();
                painter.translate(0, mmToPixels(kHeaderMm) - i * body.height());
                part->document->drawContents(&painter, QRectF(QPointF(0, i * body.height()), body));
                painter.restore();
            }
        }
        painter.end();
    }
    return bytes;
}

} // namespace tpworm::drawing
