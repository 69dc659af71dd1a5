// A document of a few pages as a PDF (the manual's documents, the design
// report): flowing text pages laid out by QTextDocument and full drawing
// pages painted directly, so that every dimension on a drawing stays vector
// text a reader can search and copy. The font, WenQuanYi Micro Hei, is
// embedded as a subset.
#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QRectF;
class QTextDocument;

namespace tpworm::drawing {

// Paints one drawing page; the rectangle is the printable area in device
// pixels, the resolution says how many pixels make an inch.
using DrawingPainter = std::function<void(QPainter&, const QRectF& area, int dpi)>;

class PdfBook {
public:
    PdfBook(const QString& title, const QString& subtitle);
    ~PdfBook();

    // Text in the subset of HTML that QTextDocument understands; starts on a
    // new page.
    void addText(const QString& html);
    // A page of its own, landscape.
    void addDrawing(const QString& caption, DrawingPainter painter);

    // Lays out everything, numbers the pages and returns the PDF; the caller
    // writes it atomically. DrawingError when the PDF writer fails.
    QByteArray render() const;

    static constexpr int kDpi = 300;

private:
    struct Part;
    QString title_;
    QString subtitle_;
    std::vector<std::unique_ptr<Part>> parts_;
};

} // namespace tpworm::drawing
