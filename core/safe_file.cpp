#include "core/safe_file.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tpworm {

namespace {

long realWrite(int fd, const void* data, unsigned long size) { return ::write(fd, data, size); }
int realFsync(int fd) { return ::fsync(fd); }
int realClose(int fd) { return ::close(fd); }
int realRename(const char* from, const char* to) { return ::rename(from, to); }

const FileSystemCalls kSystemCalls{realWrite, realFsync, realClose, realRename};
const FileSystemCalls* calls = &kSystemCalls;

QString reason(const QString& what, const QString& path, int error)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(error)));
}

// write() may write less than asked (a full disk shows as a short write
// before it shows as ENOSPC); anything short of the whole is a failure.
bool writeAll(int fd, const char* data, qint64 size, int& error)
{
    while (size > 0) {
        const long n = calls->write(fd, data, static_cast<unsigned long>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The folder entry of the renamed file reaches the disk only with the folder.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

const FileSystemCalls& systemFileCalls() { return kSystemCalls; }

void setFileSystemCallsForTesting(const FileSystemCalls* replacement)
{
    calls = replacement ? replacement : &kSystemCalls;
}

WriteOutcome checkWritableTarget(const QString& path)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::lstat(native.constData(), &st) != 0)
        return errno == ENOENT ? WriteOutcome{} : WriteOutcome{reason(QStringLiteral("cannot look at"), path, errno)};
    if (S_ISLNK(st.st_mode)) {
        // A link is followed: what counts is the file it names.
        if (::stat(native.constData(), &st) != 0)
            return errno == ENOENT ? WriteOutcome{} : WriteOutcome{reason(QStringLiteral("cannot look at"), path, errno)};
    }
    if (!S_ISREG(st.st_mode))
        return {QStringLiteral("%1 is not a regular file; it is not replaced").arg(path)};
    // Root may write anything; the user's read-only mark still stands. Anyone
    // else needs the right to write the file itself, not only its folder.
    if ((st.st_mode & 0222) == 0
        || (::geteuid() != 0 && ::access(native.constData(), W_OK) != 0))
        return {QStringLiteral("%1 is read-only; it is not replaced").arg(path)};
    return {};
}

WriteOutcome writeFileAtomically(const QString& path, const QByteArray& data)
{
    if (const WriteOutcome check = checkWritableTarget(path); !check.ok())
        return check;
    // Replace the file a link names, not the link (a link to nothing yet
    // makes the file it names).
    QString target = path;
    if (QFileInfo(path).isSymLink()) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        target = canonical.isEmpty() ? QFileInfo(path).symLinkTarget() : canonical;
    }
    const QFileInfo info(target);
    QByteArray temp = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                        + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return {reason(QStringLiteral("cannot write beside"), target, errno)};

    int error = 0;
    bool ok = writeAll(fd, data.constData(), data.size(), error);
    if (ok && calls->fsync(fd) != 0)
        ok = false, error = errno;

    struct stat old {};
    const bool existed = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    if (ok) {
        mode_t mode;
        if (existed) {
            mode = old.st_mode & 07777;
            // Only root may give the file back its owner; others keep theirs.
            if (::geteuid() == 0)
                (void)::fchown(fd, old.st_uid, old.st_gid);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(fd, mode) != 0)
            ok = false, error = errno;
    }
    if (calls->close(fd) != 0 && ok)
        ok = false, error = errno;
    if (ok && calls->rename(temp.constData(), QFile::encodeName(target).constData()) != 0)
        ok = false, error = errno;
    if (!ok) {
        ::unlink(temp.constData());
        return {reason(QStringLiteral("cannot write"), target, error)};
    }
    syncFolder(info.absolutePath());
    return {};
}

WriteOutcome readRegularFile(const QString& path, qint64 maxBytes, QByteArray& data)
{
    data.clear();
    const QByteArray native = QFile::encodeName(path);
    // O_NONBLOCK so that opening a FIFO never waits for a writer.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {reason(QStringLiteral("cannot open"), path, errno)};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {QStringLiteral("%1 is not a regular file").arg(path)};
    }
    if (st.st_size > maxBytes) {
        ::close(fd);
        return {QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxBytes)};
    }
    // The size can change under us: read at most one byte past the bound to
    // notice a file that grew.
    // One byte more than the size said, so that the read that finds the end
    // needs no larger buffer (and no copy of the whole file).
    // (Made at its size: resize() would round the buffer up by a third or more.)
    data = QByteArray(static_cast<qsizetype>(st.st_size) + 1, Qt::Uninitialized);
    qint64 got = 0;
    for (;;) {
        if (got == data.size()) {
            if (data.size() > maxBytes)
                break;
            data.resize(data.size() + 4096);
        }
        const ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(data.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            data.clear();
            return {reason(QStringLiteral("cannot read"), path, error)};
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    if (got > maxBytes) {
        data.clear();
        return {QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxBytes)};
    }
    data.resize(static_cast<qsizetype>(got));
    return {};
}

} // namespace tpworm
