// Writing a user's file: a failure at any step (a full disk, a failing flush
// or rename) leaves the old file as it was and is reported; targets that are
// not regular files or are read-only are refused, even for root; a replaced
// file keeps its mode and owner. Reading refuses anything but a regular file
// and reads with a bound.
#include "core/safe_file.h"

#include "workbook/cli_workbook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tpworm;

namespace {

const QByteArray kOld = "what was there before";

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// ---- a device that fails, played through the system-call seam ----------------

long writeFails(int, const void*, unsigned long) { errno = ENOSPC; return -1; }
long writeNothing(int, const void*, unsigned long) { return 0; }
long writeEio(int, const void*, unsigned long) { errno = EIO; return -1; }
// A few bytes at a time, then the disk is full: the short writes before the
// failure must not count as success.
long bytesWritten = 0;
long writeThenFull(int fd, const void* data, unsigned long size)
{
    if (bytesWritten >= 1000) { errno = ENOSPC; return -1; }
    const long n = ::write(fd, data, std::min<unsigned long>(size, 3));
    if (n > 0) bytesWritten += n;
    return n;
}
long writeOneByte(int fd, const void* data, unsigned long size) { return ::write(fd, data, size > 0 ? 1 : 0); }
int fsyncFails(int) { errno = EIO; return -1; }
int closeFails(int fd) { ::close(fd); errno = EIO; return -1; }
int renameFails(const char*, const char*) { errno = EXDEV; return -1; }

struct SeamGuard {
    explicit SeamGuard(const FileSystemCalls& calls) : calls_(calls) { setFileSystemCallsForTesting(&calls_); }
    ~SeamGuard() { setFileSystemCallsForTesting(nullptr); }
    FileSystemCalls calls_;
};

TEST(SafeFile, AFailureAtAnyStepKeepsTheOldFileAndIsReported)
{
    const FileSystemCalls real = systemFileCalls();
    const struct {
        const char* name;
        FileSystemCalls calls;
    } cases[] = {
        {"write fails at once (disk full)", {writeFails, real.fsync, real.close, real.rename}},
        {"short writes, then the disk is full", {writeThenFull, real.fsync, real.close, real.rename}},
        {"write writes nothing", {writeNothing, real.fsync, real.close, real.rename}},
        {"write fails with an I/O error", {writeEio, real.fsync, real.close, real.rename}},
        {"the flush to the disk fails", {real.write, fsyncFails, real.close, real.rename}},
        {"close fails", {real.write, real.fsync, closeFails, real.rename}},
        {"rename fails", {real.write, real.fsync, real.close, renameFails}},
    };
    const QByteArray data(10240, 'n');
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("design.wpx"));
        put(target, kOld);
        bytesWritten = 0;
        WriteOutcome outcome;
        {
            SeamGuard seam(c.calls);
            outcome = writeFileAtomically(target, data);
        }
        EXPECT_FALSE(outcome.ok());
        EXPECT_TRUE(outcome.error.contains(target)) << outcome.error.toStdString();
        EXPECT_EQ(contentOf(target), kOld);
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("design.wpx")}) << "a temporary file is left";
    }
}

TEST(SafeFile, WritesThatTakeTheDataInPiecesStillWriteItAll)
{
    const FileSystemCalls real = systemFileCalls();
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.xls"));
    QByteArray data;
    for (int i = 0; i < 5000; ++i) data.append(char(i * 7));
    SeamGuard seam({writeOneByte, real.fsync, real.close, real.rename});
    ASSERT_TRUE(writeFileAtomically(target, data).ok());
    EXPECT_EQ(contentOf(target), data);
}

TEST(SafeFile, TargetsThatMustNotBeReplacedAreRefused)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString readOnly = dir.filePath(QStringLiteral("read-only.wpx"));
    put(readOnly, kOld);
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& target : {fifo, readOnly, folder}) {
        SCOPED_TRACE(target.toStdString());
        const WriteOutcome outcome = writeFileAtomically(target, "new");
        EXPECT_FALSE(outcome.ok());
        EXPECT_FALSE(outcome.error.isEmpty());
    }
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced";
    EXPECT_EQ(contentOf(readOnly), kOld) << "the read-only file was overwritten (root ignores the mode)";
    ASSERT_EQ(::stat(QFile::encodeName(readOnly).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(entries(dir.path()), (QStringList{"fifo", "folder", "read-only.wpx"}));
}

TEST(SafeFile, AReplacedFileKeepsItsModeAndOwnerAndALinkStaysALink)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("design.wpx"));
    put(target, kOld);
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root)
        ASSERT_EQ(::chown(QFile::encodeName(target).constData(), 4321, 4322), 0);
    ASSERT_TRUE(writeFileAtomically(target, "new content").ok());
    EXPECT_EQ(contentOf(target), "new content");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
    }

    // Through a link: the file it names is replaced, the link stays; a link
    // to nothing yet makes that file.
    const QString link = dir.filePath(QStringLiteral("link.wpx"));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(writeFileAtomically(link, "via the link").ok());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentOf(target), "via the link");
    const QString dangling = dir.filePath(QStringLiteral("dangling.wpx"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("made.wpx")), dangling));
    ASSERT_TRUE(writeFileAtomically(dangling, "made").ok());
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("made.wpx"))), "made");
}

TEST(SafeFile, OnlyRegularFilesAreReadAndOnlyUpToTheBound)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString big = dir.filePath(QStringLiteral("big"));
    put(big, QByteArray(5000, 'b'));
    QByteArray data;
    QElapsedTimer clock;
    clock.start();
    for (const QString& path : {fifo, QStringLiteral("/dev/zero"), dir.path(), big, dir.filePath("none")}) {
        SCOPED_TRACE(path.toStdString());
        const WriteOutcome outcome = readRegularFile(path, 4096, data);
        EXPECT_FALSE(outcome.ok());
        EXPECT_TRUE(data.isEmpty());
    }
    EXPECT_LT(clock.elapsed(), 5000) << "a FIFO was waited on";
    ASSERT_TRUE(readRegularFile(big, 5000, data).ok());
    EXPECT_EQ(data, QByteArray(5000, 'b'));
}

// ---- a real full disk: a small tmpfs ------------------------------------------

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        mountPoint_ = dir_.filePath(QStringLiteral("small"));
        ASSERT_TRUE(QDir().mkdir(mountPoint_));
        if (::mount("tmpfs", QFile::encodeName(mountPoint_).constData(), "tmpfs", 0, "size=256k") != 0)
            GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                         << "); the full-disk test needs root and mount rights";
        mounted_ = true;
    }
    void TearDown() override
    {
        if (mounted_)
            ::umount2(QFile::encodeName(mountPoint_).constData(), MNT_DETACH);
    }
    // Fills the file system until at most `room` bytes are left free.
    void fill(qint64 room)
    {
        QFile filler(mountPoint_ + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        // Give back what should stay free.
        filler.resize(std::max<qint64>(0, filler.size() - room));
    }
    QString path(const char* name) const { return mountPoint_ + u'/' + QLatin1String(name); }

    QTemporaryDir dir_;
    QString mountPoint_;
    bool mounted_ = false;
};

TEST_F(FullDisk, AWriteThatDoesNotFitKeepsTheOldFile)
{
    const QString target = path("table.xls");
    put(target, kOld);
    fill(8192);
    const QByteArray data(64 * 1024, 'x');
    const WriteOutcome outcome = writeFileAtomically(target, data);
    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(outcome.error.contains(QStringLiteral("No space"))) << outcome.error.toStdString();
    EXPECT_EQ(contentOf(target), kOld);
    EXPECT_EQ(entries(mountPoint_), (QStringList{"filler", "table.xls"}));
}

TEST_F(FullDisk, WorkbookSetOfADesignOntoItselfKeepsTheDesignAndExitsOne)
{
    const QString design = path("design.wpx");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TPWORM_CORPUS_DIR "/poi-Simple.xls"), design));
    const QByteArray before = contentOf(design);
    fill(2048);
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = tpworm::workbook::workbookSet(design, design, {QStringLiteral("A1=250")}, o, e);
    e.flush();
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(err.contains(QStringLiteral("cannot be saved"))) << err.toStdString();
    EXPECT_EQ(contentOf(design), before);
    EXPECT_EQ(entries(mountPoint_), (QStringList{"design.wpx", "filler"}));
}

} // namespace
