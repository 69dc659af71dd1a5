// One manual document as a PDF: flowing text pages laid out by QTextDocument
// and full drawing pages painted directly, so that every dimension on a
// drawing stays vector text a reader can search and copy.
#pragma once

#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QRectF;
class QTextDocument;

namespace tpworm::manual {

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

    // Lays out everything, numbers the pages and writes the file (through a
    // temporary file, so a failed run leaves no half-written document).
    void write(const QString& path) const;

    static constexpr int kDpi = 300;

private:
    struct Part;
    QString title_;
    QString subtitle_;
    std::vector<std::unique_ptr<Part>> parts_;
};

} // namespace tpworm::manual
