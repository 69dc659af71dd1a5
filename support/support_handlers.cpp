// Design manual and help, the update check behind its notice window, the
// title notice of a newer version and the upgrade launcher.
#include "app/desktop.h"
#include "core/translation.h"
#include "app/tform1.h"
#include "support/manual_viewer.h"
#include "support/tform7.h"
#include "support/update_check.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QTime>
#include <QTimer>

namespace tpworm {

namespace {

const QString kManualMissing = QStringLiteral("未安装PDF阅读器(Adobe Reader)或者技术资料丢失....");
const QString kUpgradeFailed = QStringLiteral("升级程序错误，请重新安装软件....");
const QString kUpdateNotice = QStringLiteral("     有更新的版本，请及时更新。。。");

// Removes the notice window when the check ends, however it ends.
class NoticeWindow {
public:
    explicit NoticeWindow(TForm7& form) : form_(form)
    {
        form_.showCentred();
        // Let the notice paint before the downloads hold the thread.
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < 10)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ~NoticeWindow() { remove(); }
    void remove() { form_.hide(); }

private:
    TForm7& form_;
};

// Holds back a request to close the main window while the check waits for
// the network, and repeats it once the check is over. The check keeps the
// notice painted by processing events, and a close that an earlier step of
// the show handler queued (a failed coefficient load ends the program) must
// still come after the show handler, not in the middle of a download.
class DeferredClose final : public QObject {
public:
    explicit DeferredClose(QWidget& window) : window_(window) { window_.installEventFilter(this); }
    ~DeferredClose() override
    {
        window_.removeEventFilter(this);
        if (requested_)
            QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_ && event->type() == QEvent::Close) {
            requested_ = true;
            event->ignore();
            return true;
        }
        return false;
    }

private:
    QWidget& window_;
    bool requested_ = false;
};

// The query of the second request differs from the first even when both fall
// in the same millisecond.
QString nextQuery(const QString& previous)
{
    QTime now = QTime::currentTime();
    QString query = support::updateQuery(now);
    while (query == previous) {
        now = now.addMSecs(1);
        query = support::updateQuery(now);
    }
    return query;
}

// Every 500 ms the title shows the notice, every 2000 ms the plain caption.
// Precise timers started in this order keep the 2000 ms tick just after the
// fourth 500 ms tick, so the plain caption stays for half a second each time
// instead of drifting into a flicker.
void startTitleNotice(QTimer& notice, QTimer& plain)
{
    notice.setTimerType(Qt::PreciseTimer);
    plain.setTimerType(Qt::PreciseTimer);
    notice.start();
    plain.start();
}

} // namespace

void TForm1::RunUpdateCheck()
{
    // The command-line open shows the main window before the notice window
    // exists; that path never checks.
    if (!Form7)
        return;
    // However often the window is shown again, one check per run.
    Design.UpdateCheckSuppressed = true;

    const QString base = context().updateAddress.isEmpty() ? support::kMakerUpdateAddress : context().updateAddress;
    DeferredClose deferredClose(*this);
    NoticeWindow notice(*Form7);
    try {
        // One deadline for both downloads; no second try at a server that is not there.
        support::DownloadLimits limits;
        limits.deadline = QDeadlineTimer(support::kUpdateCheckBudgetMs);
        const QString noticeQuery = nextQuery(QString());
        const QString noticeFile = userFile(support::kNoticeFile);
        const support::DownloadOutcome noticeDownload =
            support::downloadFile(support::updateUrl(base, support::kNoticePath, noticeQuery), noticeFile, limits);
        if (noticeDownload.ok) {
            // The maker's text is shown as it stands, never as markup.
            Label32->setTextFormat(Qt::PlainText);
            Label32->setText(support::decodeLine(support::readFirstLine(noticeFile)));
        }

        const QByteArray localVersion = support::readFirstLine(programFile(support::kLocalVersionFile));

        const QString versionFile = userFile(support::kRemoteVersionFile);
        if (!noticeDownload.unreachable &&
            support::downloadFile(support::updateUrl(base, support::kVersionPath, nextQuery(noticeQuery)), versionFile,
                                  limits)
                .ok) {
            if (support::isUpdateAvailable(localVersion, support::readFirstLine(versionFile)))
                startTitleNotice(*Timer1, *Timer2);
        }
    } catch (const support::UpdateError& error) {
        notice.remove();
        MessageBox box;
        box.text = error.message();
        box.icon = MessageBox::Icon::Error;
        dialogs().message(this, box);
    }
}

void TForm1::Timer1Timer() { setWindowTitle(Design.SavedCaption + kUpdateNotice); }

void TForm1::Timer2Timer() { setWindowTitle(Design.SavedCaption); }

void TForm1::N18Click()
{
    if (desktop().startProgram(support::upgradeProgramPath(programDir()), {}))
        close();
    else
        showMessage(kUpgradeFailed);
}

namespace {

// The user's viewer shows the document; where the desktop has none, the
// program's own viewer does. Only a document that neither can show (missing
// or damaged) is reported.
void openManualDocument(TForm1& form, const QString& name)
{
    const QString path = form.programFile(name);
    if (form.desktop().openDocument(path))
        return;
    if (!ManualViewer::showPdf(&form, path))
        form.showMessage(kManualMissing);
}

} // namespace

void TForm1::N20Click() { openManualDocument(*this, QStringLiteral("canshu.pdf")); }
void TForm1::N21Click() { openManualDocument(*this, QStringLiteral("jishu.pdf")); }
void TForm1::N22Click() { openManualDocument(*this, QStringLiteral("jingdu.pdf")); }
void TForm1::N23Click() { openManualDocument(*this, QStringLiteral("tuzhi.pdf")); }
void TForm1::N24Click() { openManualDocument(*this, QStringLiteral("xiuxing.pdf")); }

// Without a browser the page opens in the program's own viewer; a missing
// help page still opens without a word. The page is in the language in force.
void TForm1::N2Click()
{
    const QString path = programFile(helpPageName());
    if (!desktop().openDocument(path))
        ManualViewer::showPage(this, path);
}

} // namespace tpworm
