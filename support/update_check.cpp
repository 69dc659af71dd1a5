#include "support/update_check.h"

#include "core/safe_file.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <optional>

namespace tpworm::support {

UpdateError::UpdateError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString updateQuery(const QTime& timeOfDay)
{
    return QStringLiteral("?s=suiji") + timeOfDay.toString(QStringLiteral("hhmmsszzz"));
}

QString updateUrl(const QString& base, const QString& path, const QString& query)
{
    QString url = base;
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url + path + query;
}

namespace {

// One transfer with its bounds; the reply is aborted as soon as it breaks one.
class BoundedTransfer {
public:
    BoundedTransfer(QNetworkReply* reply, const DownloadLimits& limits) : reply_(reply), limits_(limits)
    {
        reply_->setReadBufferSize(limits_.maxBytes + 1);
        deadline_.setSingleShot(true);
        // A coarse timer may fire a little early, which would leave a sliver
        // of the shared deadline for a second, pointless request.
        deadline_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&deadline_, &QTimer::timeout, [this] { fail(); });
        QObject::connect(reply_, &QNetworkReply::metaDataChanged, [this] { checkDeclaredLength(); });
        QObject::connect(reply_, &QNetworkReply::readyRead, [this] { take(); });
        QObject::connect(reply_, &QNetworkReply::finished, &loop_, &QEventLoop::quit);
    }

    // Waits for the end of the transfer; the body when it arrived whole.
    std::optional<QByteArray> run()
    {
        const qint64 left = limits_.deadline.remainingTime(); // -1: no deadline
        deadline_.start(left < 0 ? limits_.timeoutMs : static_cast<int>(std::min<qint64>(left, limits_.timeoutMs)));
        if (!reply_->isFinished())
            loop_.exec(QEventLoop::ExcludeUserInputEvents);
        deadline_.stop();
        const QNetworkReply::NetworkError error = reply_->error();
        unreachable_ = !failed_ && (error == QNetworkReply::ConnectionRefusedError ||
                                    error == QNetworkReply::HostNotFoundError);
        if (failed_ || error != QNetworkReply::NoError)
            return std::nullopt;
        take();
        if (failed_)
            return std::nullopt;
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status < 200 || status > 299)
            return std::nullopt;
        return body_;
    }

    bool unreachable() const { return unreachable_; }

private:
    void fail()
    {
        failed_ = true;
        if (!reply_->isFinished())
            reply_->abort();
    }

    void checkDeclaredLength()
    {
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits_.maxBytes)
            fail();
    }

    void take()
    {
        if (failed_)
            return;
        body_ += reply_->readAll();
        if (body_.size() > limits_.maxBytes)
            fail();
    }

    QNetworkReply* reply_;
    DownloadLimits limits_;
    QEventLoop loop_;
    QTimer deadline_;
    QByteArray body_;
    bool failed_ = false;
    bool unreachable_ = false;
};

} // namespace

bool DownloadFile(const QString& address, const QString& localPath, const DownloadLimits& limits)
{
    return downloadFile(address, localPath, limits).ok;
}

DownloadOutcome downloadFile(const QString& address, const QString& localPath, const DownloadLimits& limits)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return {};
    if (limits.deadline.hasExpired())
        return {};
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setMaximumRedirectsAllowed(5);
    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    BoundedTransfer transfer(reply.get(), limits);
    const std::optional<QByteArray> body = transfer.run();
    // The checked writer: on a full disk the earlier file stays as it was
    // instead of becoming an empty one.
    return {body && writeFileAtomically(localPath, *body).ok(), transfer.unreachable()};
}

QByteArray firstLine(const QByteArray& content)
{
    QByteArray line = content;
    if (line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    const qsizetype cr = line.indexOf('\r');
    if (cr >= 0)
        line.truncate(cr);
    return line;
}

QByteArray readFirstLine(const QString& path)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        throw UpdateError(QStringLiteral("File not found"));
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        if (QFileInfo(path).isDir() || file.error() == QFileDevice::PermissionsError)
            throw UpdateError(QStringLiteral("Access denied"));
        throw UpdateError(file.errorString());
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw UpdateError(file.errorString());
    return firstLine(content);
}

QString decodeLine(const QByteArray& line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(line);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk("GB18030");
    if (gbk.isValid()) {
        text = gbk.decode(line);
        if (!gbk.hasError())
            return text;
    }
    return QString::fromLatin1(line);
}

bool isUpdateAvailable(const QByteArray& localVersion, const QByteArray& remoteVersion)
{
    return localVersion != remoteVersion;
}

QString upgradeProgramPath(const QString& programDir)
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("Project11.exe");
#else
    const QString name = QStringLiteral("Project11");
#endif
    return QDir(programDir).filePath(name);
}

} // namespace tpworm::support
