// The kept spreadsheet server ends with the program however the program ends:
// tpworm-cli's automation exports (the menu sequence, one server for the run)
// closed normally and killed with SIGKILL, with TMPDIR and the cache folder in
// a scratch folder so that what LibreOffice leaves there is seen.
#include "documents/automation.h"
#include "lo_support.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <csignal>

using namespace tpworm;
using namespace tpworm::testing;

namespace {

class CommandLineServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!automation::hasLibreOfficeBackend())
            GTEST_SKIP() << "built without the LibreOffice backend";
        design = scratch.path("d.wpx");
        QProcess cli;
        cli.start(QStringLiteral(TPWORM_CLI), {"design", "--centre-distance", "250", "--teeth", "45", "--starts", "2",
                                               "--save", design});
        ASSERT_TRUE(cli.waitForFinished(60000));
        ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    }
    // worm, wheel and hob tables in turn, `count` of them: out0.xls, out1.xls ...
    QStringList exports(int count) const
    {
        QStringList arguments = {"export", "--automation"};
        const char* tables[] = {"worm", "wheel", "hob"};
        for (int k = 0; k < count; ++k)
            arguments << tables[k % 3] << design << scratch.path(QStringLiteral("out%1.xls").arg(k));
        return arguments;
    }
    // LibreOffice's own temporary folders in TMPDIR.
    QStringList luFolders() const
    {
        return QDir(scratch.path("tmp")).entryList({QStringLiteral("lu*.tmp")}, QDir::AllEntries | QDir::Hidden);
    }

    Scratch scratch;
    QString design;
};

TEST_F(CommandLineServer, ARunOfExportsUsesOneServerAndLeavesNothingWhenItEnds)
{
    // A first run makes the profile (LibreOffice restarts itself once on a
    // new profile, which would show as a second server).
    QProcess first;
    first.start(QStringLiteral(TPWORM_CLI), exports(1));
    ASSERT_TRUE(first.waitForFinished(200000));
    ASSERT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();

    QProcess cli;
    cli.setProcessChannelMode(QProcess::ForwardedChannels);
    cli.start(QStringLiteral(TPWORM_CLI), exports(6));
    ASSERT_TRUE(cli.waitForStarted());
    const qint64 run = cli.processId();
    // While the run lasts, every server seen is the run's child, and only
    // one is ever seen.
    QSet<qint64> seen;
    qsizetype most = 0;
    while (!cli.waitForFinished(20)) {
        const QList<qint64> now = scratch.serverPids();
        most = std::max(most, now.size());
        for (qint64 pid : now) {
            const qint64 parent = parentOf(pid); // 0: gone since it was listed
            EXPECT_TRUE(parent == 0 || parent == cli.processId()) << "a server that is not the run's";
            seen.insert(pid);
        }
    }
    EXPECT_EQ(most, 1);
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_EQ(seen.size(), 1) << "one server for the run";
    EXPECT_EQ(scratch.serversAfter(2000), QStringList()) << "the server outlived the run";
    EXPECT_EQ(scratch.leftovers(), QStringList());
    EXPECT_EQ(scratch.pipesOf(run), QStringList()) << "the server's pipes were left in /tmp";
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(readSheet(scratch.path(QStringLiteral("out%1.xls").arg(k))).count("C2"), 1u) << k;
}

TEST_F(CommandLineServer, ARunKilledWithSigkillTakesItsServerAlongAndTheNextRunClearsItsFolder)
{
    QProcess cli;
    cli.setProcessChannelMode(QProcess::ForwardedChannels);
    cli.start(QStringLiteral(TPWORM_CLI), exports(300));
    ASSERT_TRUE(cli.waitForStarted());
    // Killed in the middle of the run, once the server has written a table.
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(scratch.path("out1.xls")) && clock.elapsed() < 200000 && !cli.waitForFinished(20)) {
    }
    ASSERT_EQ(cli.state(), QProcess::Running) << "the run ended before it could be killed";
    ASSERT_EQ(scratch.servers().size(), 1);
    const qint64 killed = cli.processId();
    EXPECT_EQ(parentOf(scratch.serverPids().at(0)), killed);
    ::kill(static_cast<pid_t>(killed), SIGKILL);
    cli.waitForFinished();

    EXPECT_EQ(scratch.serversAfter(2000), QStringList()) << "the server outlived its killed parent";
    EXPECT_EQ(luFolders(), QStringList()) << "LibreOffice's temporary folders went to TMPDIR";

    // The next run clears what the killed one left in the server's home.
    QProcess next;
    next.setProcessChannelMode(QProcess::ForwardedChannels);
    next.start(QStringLiteral(TPWORM_CLI), exports(1));
    ASSERT_TRUE(next.waitForFinished(200000));
    EXPECT_EQ(next.exitCode(), 0);
    EXPECT_EQ(scratch.serversAfter(2000), QStringList());
    EXPECT_EQ(scratch.leftovers(), QStringList());
    for (const QString& home : scratch.homes())
        EXPECT_FALSE(QFileInfo::exists(home + "/server")) << "the record of the killed run's server stays";
    EXPECT_EQ(scratch.pipesOf(killed), QStringList()) << "the killed run's pipes stay in /tmp";
}

// Asking the installation for its version starts it once more (a third of a
// server's start): a run asks only when the program is new to the home, and
// the version of an updated installation replaces the one in the profile.
TEST_F(CommandLineServer, TheInstallationsVersionIsAskedOnceAndFollowsAnUpdate)
{
    const QString asks = scratch.path("asks");
    const QString version = scratch.path("version");
    auto installation = [&](const char* number) {
        QFile::remove(scratch.path("program/soffice.bin"));
        QFile file(version);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(number);
        file.close();
        // A server that never answers: the exports fail at once.
        makeFakeInstallation(scratch.path("program"),
                             QStringLiteral("if [ \"$1\" = --version ]; then echo x >> '%1'; "
                                            "echo \"LibreOffice $(cat '%2') 40(Build:2)\"; exit 0; fi\nexit 3\n")
                                 .arg(asks, version) +
                                 QStringLiteral("# %1\n").arg(QLatin1String(number)));
    };
    auto run = [&] {
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TPWORM_SOFFICE", scratch.path("program/soffice.bin"));
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(TPWORM_CLI), exports(1));
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 1) << "the server never answers";
        return QString::fromUtf8(contentOf(asks)).count(QLatin1Char('x'));
    };
    auto recorded = [&] {
        const QStringList homes = scratch.homes();
        return homes.isEmpty() ? QByteArray() : contentOf(homes.at(0) + "/profile/user/registrymodifications.xcu");
    };
    installation("7.4.7.2");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(run(), 1) << "asked again of the same program";
    EXPECT_TRUE(recorded().contains("<value>7.4</value>")) << recorded().toStdString();
    installation("7.5.0.1, updated"); // a program file of another size
    EXPECT_EQ(run(), 2) << "the updated program was not asked";
    EXPECT_TRUE(recorded().contains("ooSetupLastVersion\" oor:op=\"fuse\"><value>7.5</value>"))
        << recorded().toStdString();
    EXPECT_FALSE(recorded().contains("<value>7.4</value>"));
    EXPECT_EQ(scratch.servers(), QStringList());
}

} // namespace
