// The program's own viewer of the design manual and the help page, for a
// desktop that has no application to show them: the manual is part of the
// program and must open whatever is installed around it.
#pragma once

#include <QString>
#include <QWidget>

class QPdfDocument;

namespace tpworm {

class ManualViewer final : public QWidget {
    Q_OBJECT

public:
    // Shows the PDF document at path in a window of its own beside owner;
    // nullptr when the file cannot be read as a PDF document.
    static ManualViewer* showPdf(QWidget* owner, const QString& path);
    // Shows the HTML page at path; nullptr when it cannot be read.
    static ManualViewer* showPage(QWidget* owner, const QString& path);

    QString documentPath() const { return path_; }
    // Pages of a PDF document; 0 for a page.
    int pageCount() const;

private:
    ManualViewer(QWidget* owner, const QString& path);

    QString path_;
    QPdfDocument* document_ = nullptr;
};

} // namespace tpworm
