#include "support/manual_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfDocument>
#include <QPdfView>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tpworm {

ManualViewer::ManualViewer(QWidget* owner, const QString& path) : QWidget(owner, Qt::Window), path_(path)
{
    setObjectName(QStringLiteral("ManualViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QFileInfo(path).fileName());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    resize(820, 900);
}

int ManualViewer::pageCount() const { return document_ ? document_->pageCount() : 0; }

ManualViewer* ManualViewer::showPdf(QWidget* owner, const QString& path)
{
    auto* viewer = new ManualViewer(owner, path);
    viewer->document_ = new QPdfDocument(viewer);
    if (viewer->document_->load(path) != QPdfDocument::Error::None || viewer->document_->pageCount() < 1) {
        delete viewer;
        return nullptr;
    }
    auto* view = new QPdfView(viewer);
    view->setObjectName(QStringLiteral("PdfView"));
    view->setDocument(viewer->document_);
    // Every page one under the other, as wide as the window: a manual is read
    // by scrolling.
    view->setPageMode(QPdfView::PageMode::MultiPage);
    view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    viewer->layout()->addWidget(view);
    viewer->show();
    viewer->raise();
    return viewer;
}

ManualViewer* ManualViewer::showPage(QWidget* owner, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    auto* viewer = new ManualViewer(owner, path);
    auto* browser = new QTextBrowser(viewer);
    browser->setObjectName(QStringLiteral("PageView"));
    // Links to the manual's other files resolve beside the page.
    browser->setSearchPaths({QFileInfo(path).absolutePath()});
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    viewer->layout()->addWidget(browser);
    viewer->show();
    viewer->raise();
    return viewer;
}

} // namespace tpworm
