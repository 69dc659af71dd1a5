#include "app/desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tpworm {

namespace {

// Qt hands a document to xdg-open and reports success once the command has
// started, so a desktop with no application for the document shows nothing
// and says nothing. The opener's exit status is the real answer: it ends at
// once with a failure status when it finds no application, ends with success
// when a desktop service has taken the document, and, on a desktop without
// such a service, runs the application in its foreground, so that one still
// running after a moment is showing the document.
bool openThroughOpener(const QString& opener, const QString& path, int waitMilliseconds)
{
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({path});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start();
    if (!process->waitForStarted(waitMilliseconds)) {
        delete process;
        return false;
    }
    if (process->waitForFinished(waitMilliseconds)) {
        const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        process->deleteLater();
        return opened;
    }
    // The application runs in the opener's foreground. The process object is
    // let go of, so that ending this program does not end the viewer with it;
    // it removes itself when the opener ends first.
    process->setParent(nullptr);
    return true;
}

} // namespace

SystemDesktop::SystemDesktop(QString opener, int waitMilliseconds) : opener_(std::move(opener)), wait_(waitMilliseconds) {}

bool SystemDesktop::openDocument(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#else
    return openThroughOpener(opener_, path, wait_);
#endif
}

bool SystemDesktop::startProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void SystemDesktop::terminate()
{
    // quit() is queued behind the running handler, as the message loop ends
    // only after the current event.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace tpworm
