// The widget-free half of the update check: the two downloads, reading the
// first line of the files they leave, and the comparison of versions.
//
// The check runs on the user-interface thread before the main window shows,
// so every download is bounded in time and in size: an absent network or a
// stalled server delays the start by a few seconds at most, and a reply that
// is not a small text file counts as a failed download.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QTime>

#include <stdexcept>

namespace tpworm::support {

// The maker's update server; the window program can be pointed elsewhere
// through the environment variable TPWORM_UPDATE_ADDRESS.
inline const QString kMakerUpdateAddress = QStringLiteral("http://update.tpworm.com");
inline const QString kNoticePath = QStringLiteral("/uploads/guanggao.txt");
inline const QString kVersionPath = QStringLiteral("/uploads/v.txt");

// Files of the program directory.
inline const QString kNoticeFile = QStringLiteral("gg");
inline const QString kRemoteVersionFile = QStringLiteral("v-up.txt");
inline const QString kLocalVersionFile = QStringLiteral("v.txt");

struct DownloadLimits {
    int timeoutMs = 3000;        // for the whole transfer, connection included
    qint64 maxBytes = 64 * 1024; // a larger reply is a failed download
    // The end of the whole check the transfer belongs to: the transfer stops
    // there even when its own time-out is later.
    QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever);
};

// The whole update check (both downloads) is over after this time, whatever
// the server does, so a server that accepts and never answers delays the
// main window by one time-out, not two.
inline constexpr int kUpdateCheckBudgetMs = 3000;

struct DownloadOutcome {
    bool ok = false;
    // No server at the address (connection refused, unknown host): the next
    // download of the check would fail the same way, so it is not tried.
    bool unreachable = false;
};

// A local file of the check that cannot be read. The message is the
// input/output error as the user sees it ("File not found" for a missing file).
class UpdateError : public std::runtime_error {
public:
    explicit UpdateError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// "?s=suiji" followed by the time of day (to the millisecond), so that no
// cache between the program and the server answers in the server's place.
QString updateQuery(const QTime& timeOfDay);

// base + path + query; a trailing "/" of the base is not doubled.
QString updateUrl(const QString& base, const QString& path, const QString& query);

// Fetches an address into a local file (replaced atomically, only when the
// whole reply arrived). False on any failure: no connection, an HTTP status
// other than 2xx, time-out, a reply larger than the bound, a file that cannot
// be written. Never reports to the user. Runs a local event loop that takes
// no user input, so windows are repainted while it waits.
bool DownloadFile(const QString& address, const QString& localPath, const DownloadLimits& limits = {});
// The same, telling also whether the server could not be reached at all.
// Nothing is requested once the deadline of the limits has passed.
DownloadOutcome downloadFile(const QString& address, const QString& localPath, const DownloadLimits& limits = {});

// The first line of a text: up to the first CR or LF, without the line end.
// A leading UTF-8 byte-order mark is not part of the line.
QByteArray firstLine(const QByteArray& content);

// The first line of a file; UpdateError when the file cannot be read.
QByteArray readFirstLine(const QString& path);

// A line of a downloaded text as display text: UTF-8 when it is valid UTF-8,
// otherwise GBK (GB18030), the code page of the maker's earlier releases.
QString decodeLine(const QByteArray& line);

// Versions are compared as texts, exactly: any difference (case, a trailing
// zero, a blank) is a newer version; there is no ordering.
bool isUpdateAvailable(const QByteArray& localVersion, const QByteArray& remoteVersion);

// The executable of the separate upgrade program in the program directory,
// with the platform's executable suffix.
QString upgradeProgramPath(const QString& programDir);

} // namespace tpworm::support
