// tpworm-cli against strange files: devices, FIFOs, zeros and damaged compound
// documents as input; FIFOs and read-only files as output. Each is refused
// promptly with one message of ours and exit 1; nothing is replaced that must
// not be.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct CliRun {
    int exitCode = -1;
    bool finished = false;
    QString out;
    QString err;
    qint64 ms = 0;
};

CliRun cli(const QStringList& arguments)
{
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(TPWORM_CLI), arguments);
    CliRun r;
    r.finished = p.waitForFinished(20000);
    if (!r.finished) {
        p.kill();
        p.waitForFinished();
    }
    r.ms = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

const QString kSimple = QStringLiteral(TPWORM_CORPUS_DIR "/poi-Simple.xls");

QByteArray simpleBytes()
{
    QFile file(kSimple);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class Hostile : public ::testing::Test {
protected:
    void SetUp() override
    {
        fifo = dir.filePath(QStringLiteral("design.wpx"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        zeros = dir.filePath(QStringLiteral("zeros.xls"));
        put(zeros, QByteArray(8192, '\0'));
        // One byte of the header changed: the first sector of the allocation
        // table, then the size of a sector chain; libgsf complains of both.
        QByteArray metabat = simpleBytes();
        metabat[0x4C] = 2;
        damagedFat = dir.filePath(QStringLiteral("metabat.xls"));
        put(damagedFat, metabat);
        QByteArray chain = simpleBytes();
        chain[0x30] = 0x7F;
        damagedChain = dir.filePath(QStringLiteral("chain.xls"));
        put(damagedChain, chain);
    }
    QTemporaryDir dir;
    QString fifo, zeros, damagedFat, damagedChain;
};

TEST_F(Hostile, InputsThatAreNoWorkbookFileAreRefusedPromptlyWithOneMessage)
{
    const struct {
        QStringList arguments;
        const char* says;
    } cases[] = {
        {{"workbook", "cat", "/dev/zero"}, "not a regular file"},
        {{"workbook", "cat", fifo}, "not a regular file"},
        {{"workbook", "set", "/dev/zero", dir.filePath("out.xls"), "A1=x"}, "not a regular file"},
        {{"workbook", "cat", zeros}, "is not an Excel 97-2003 workbook"},
        {{"workbook", "cat", damagedFat}, "damaged"},
        {{"workbook", "cat", damagedChain}, "damaged"},
        {{"open", "/dev/zero"}, "文件打开错误"},
        {{"open", fifo}, "文件打开错误"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const CliRun r = cli(c.arguments);
        ASSERT_TRUE(r.finished) << "still running after 20 s";
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_LT(r.ms, 10000);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("Excel 4.0"))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("libgsf"))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("assertion"))) << r.err.toStdString();
        if (c.arguments.first() == QStringLiteral("workbook")) {
            EXPECT_EQ(r.err.trimmed().count(u'\n'), 0) << "more than one message: " << r.err.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("out.xls")));
}

TEST_F(Hostile, OutputsThatMustNotBeReplacedAreLeftAsTheyWere)
{
    const QString readOnly = dir.filePath(QStringLiteral("read-only.xls"));
    put(readOnly, "keep me");
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    for (const QString& target : {fifo, readOnly}) {
        SCOPED_TRACE(target.toStdString());
        const CliRun r = cli({"workbook", "set", kSimple, target, "A1=x"});
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("cannot be saved"))) << r.err.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    QFile kept(readOnly);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep me");
    ASSERT_EQ(::stat(QFile::encodeName(readOnly).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
}

TEST_F(Hostile, ABadCellNameIsAFailureOfTheCommandNotAUsageError)
{
    const QString out = dir.filePath(QStringLiteral("out.xls"));
    const CliRun bad = cli({"workbook", "set", kSimple, out, "IW1=x"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("IW1=x"))) << bad.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    const CliRun missing = cli({"workbook", "set", kSimple});
    EXPECT_EQ(missing.exitCode, 2) << missing.err.toStdString();
}

} // namespace
