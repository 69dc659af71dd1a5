#include "documents/automation_store.h"

#include "core/safe_file.h"
#include "documents/automation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tpworm::automation {

namespace {

// The exports' tables are a few tens of kilobytes; anything near this is not
// one of them.
constexpr qint64 MaxWorkbookBytes = 64 * 1024 * 1024;

constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 LastSpecialSector = 0xFFFFFFFA;

quint16 u16(const QByteArray& b, qint64 at)
{
    return static_cast<quint16>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

quint32 u32(const QByteArray& b, qint64 at) { return u16(b, at) | static_cast<quint32>(u16(b, at + 2)) << 16; }

// The compound file's sectors, read from the bytes of the whole file: the
// layout of the OLE2 structured storage that BIFF workbooks live in
// (Microsoft, [MS-CFB] Compound File Binary File Format).
class CompoundFile {
public:
    explicit CompoundFile(const QByteArray& bytes) : b_(bytes) {}

    QString problem()
    {
        static const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
        if (b_.size() < 512 || std::memcmp(b_.constData(), signature, 8) != 0)
            return QStringLiteral("it is not an OLE2 compound file");
        const quint16 shift = u16(b_, 0x1E);
        if (shift != 9 && shift != 12)
            return QStringLiteral("its sector size is not one of a compound file");
        sector_ = qint64(1) << shift;
        if (!readFat())
            return QStringLiteral("its sector table is damaged");
        // Walk the directory for the workbook stream.
        const quint32 cutoff = u32(b_, 0x38);
        std::set<quint32> seen;
        for (quint32 s = u32(b_, 0x30); s != EndOfChain; s = next(s)) {
            if (s > LastSpecialSector || !seen.insert(s).second || !inFile(s))
                return QStringLiteral("its directory is damaged");
            for (qint64 e = offset(s); e + 128 <= offset(s) + sector_; e += 128) {
                const quint16 nameBytes = u16(b_, e + 0x40);
                if (b_[e + 0x42] != 2 || nameBytes < 2 || nameBytes > 64)
                    continue; // not a stream
                QString name;
                for (int k = 0; k + 2 < nameBytes; k += 2)
                    name += QChar(u16(b_, e + k));
                if (name != QLatin1String("Workbook") && name != QLatin1String("Book"))
                    continue;
                const quint32 size = u32(b_, e + 0x78);
                const quint32 first = u32(b_, e + 0x74);
                if (size < 4)
                    return QStringLiteral("its workbook stream is empty");
                // A stream below the cutoff lives in the mini stream; the
                // tables are larger, but a small one is not wrong.
                if (size >= cutoff) {
                    if (first > LastSpecialSector || !inFile(first))
                        return QStringLiteral("its workbook stream is damaged");
                    // Every BIFF stream begins with its BOF record (0x0809
                    // from BIFF5 on).
                    if (u16(b_, offset(first)) != 0x0809)
                        return QStringLiteral("its workbook stream does not begin with a BIFF BOF record");
                }
                return {};
            }
        }
        return QStringLiteral("it holds no workbook stream");
    }

private:
    qint64 offset(quint32 sector) const { return (qint64(sector) + 1) * sector_; }
    bool inFile(quint32 sector) const { return offset(sector) + sector_ <= b_.size(); }
    quint32 next(quint32 sector) const { return sector < fat_.size() ? fat_[sector] : EndOfChain; }

    bool readFat()
    {
        QList<quint32> fatSectors;
        const quint32 count = u32(b_, 0x2C);
        for (int k = 0; k < 109 && quint32(fatSectors.size()) < count; ++k)
            fatSectors << u32(b_, 0x4C + 4 * k);
        std::set<quint32> seen;
        for (quint32 d = u32(b_, 0x44); quint32(fatSectors.size()) < count && d <= LastSpecialSector;) {
            if (!inFile(d) || !seen.insert(d).second)
                return false;
            const qint64 perSector = sector_ / 4 - 1;
            for (qint64 k = 0; k < perSector && quint32(fatSectors.size()) < count; ++k)
                fatSectors << u32(b_, offset(d) + 4 * k);
            d = u32(b_, offset(d) + 4 * perSector);
        }
        if (quint32(fatSectors.size()) != count || count == 0)
            return false;
        for (quint32 f : fatSectors) {
            if (f > LastSpecialSector || !inFile(f))
                return false;
            for (qint64 k = 0; k < sector_; k += 4)
                fat_ << u32(b_, offset(f) + k);
        }
        return true;
    }

    const QByteArray& b_;
    qint64 sector_ = 512;
    QList<quint32> fat_;
};

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace

QString workbookFileProblem(const QString& path)
{
    QByteArray bytes;
    if (const WriteOutcome read = readRegularFile(path, MaxWorkbookBytes, bytes); !read.ok())
        return read.error;
    if (bytes.isEmpty())
        return QStringLiteral("%1 is empty").arg(path);
    const QString problem = CompoundFile(bytes).problem();
    return problem.isEmpty() ? problem : QStringLiteral("%1 is not a workbook: %2").arg(path, problem);
}

CheckedStore::CheckedStore(const QString& target) : named_(target)
{
    const QFileInfo named(target);
    if (named.fileName().isEmpty())
        throw Error(QStringLiteral("no file name given"));
    if (!named.dir().exists())
        throw Error(QStringLiteral("the folder %1 does not exist").arg(named.absolutePath()));
    if (named.isDir())
        throw Error(QStringLiteral("%1 is a folder").arg(named.absoluteFilePath()));
    if (const WriteOutcome check = checkWritableTarget(target); !check.ok())
        throw Error(check.error);
    // A link is followed: the file it names is replaced, the link stays.
    target_ = named.absoluteFilePath();
    if (named.isSymLink()) {
        const QString canonical = named.canonicalFilePath();
        target_ = canonical.isEmpty() ? named.symLinkTarget() : canonical;
    }
    const QFileInfo info(target_);
    QByteArray temporary =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw Error(QStringLiteral("cannot write beside %1: %2").arg(target_, systemError(errno)));
    ::close(fd);
    temporary_ = QFile::decodeName(temporary);
}

CheckedStore::~CheckedStore()
{
    if (!committed_)
        ::unlink(QFile::encodeName(temporary_).constData());
}

void CheckedStore::commit()
{
    if (const QString problem = workbookFileProblem(temporary_); !problem.isEmpty())
        throw Error(QStringLiteral("the workbook was not stored as %1: %2").arg(named_, problem));
    // The target may have changed while the server stored: check it again.
    if (const WriteOutcome check = checkWritableTarget(target_); !check.ok())
        throw Error(check.error);
    const QByteArray temporary = QFile::encodeName(temporary_);
    const QByteArray target = QFile::encodeName(target_);
    const int fd = ::open(temporary.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        throw Error(QStringLiteral("cannot write %1: %2").arg(target_, systemError(errno)));
    struct stat old {};
    mode_t mode;
    if (::stat(target.constData(), &old) == 0) {
        mode = old.st_mode & 07777;
        // Only root may give the file back its owner; others keep theirs.
        if (::geteuid() == 0)
            (void)::fchown(fd, old.st_uid, old.st_gid);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = 0;
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        error = errno;
    ::close(fd);
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0)
        throw Error(QStringLiteral("cannot write %1: %2").arg(target_, systemError(error)));
    committed_ = true;
    // The folder entry of the renamed file reaches the disk only with the folder.
    const int folder = ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
}

} // namespace tpworm::automation
