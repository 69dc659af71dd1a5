// The widget-free half of the update check, against a real server on
// 127.0.0.1: what counts as a whole download, and reading first lines.
#include "local_http_server.h"
#include "support/update_check.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using tpworm::support::DownloadFile;
using tpworm::support::DownloadLimits;
using tpworm::testing::HttpRoute;
using tpworm::testing::LocalHttpServer;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

constexpr qint64 kLimit = 64 * 1024;

} // namespace

TEST(DownloadFile, AcceptsOnlyAWholeSmallSuccessfulReply)
{
    struct Case {
        const char* what;
        HttpRoute route;
        bool succeeds;
    };
    const Case cases[] = {
        {"small text", {200, "1.2\r\nnotes\r\n"}, true},
        {"empty body", {200, ""}, true},
        {"exactly the bound", {200, QByteArray(kLimit, 'x')}, true},
        {"one byte over the bound, declared", {200, QByteArray(kLimit + 1, 'x')}, false},
        {"one byte over the bound, undeclared", {200, QByteArray(kLimit + 1, 'x'), 0, 0, false}, false},
        {"far over the bound, undeclared", {200, QByteArray(4 * kLimit, 'x'), 0, 0, false}, false},
        {"missing remote file", {404, "not here"}, false},
        {"server error", {500, "broken"}, false},
        {"answer within the time-out", {200, "late", 300}, true},
    };
    LocalHttpServer server;
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.route("/f", c.route);
        const QString target = dir.filePath("target");
        write(target, "previous");
        const bool ok = DownloadFile(server.address() + "/f?s=suiji1", target, {1500, kLimit});
        EXPECT_EQ(ok, c.succeeds);
        // A failed download leaves the file as it was: no partial text.
        EXPECT_EQ(readAll(target), c.succeeds ? c.route.body : QByteArray("previous"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"target"}) << "no temporary file left over";
    }
}

TEST(DownloadFile, GivesUpWithinItsTimeOut)
{
    struct Case {
        const char* what;
        HttpRoute route;
    };
    const Case cases[] = {
        {"server that never answers", {200, "", 0, 0, true, true}},
        {"server that answers too late", {200, "1.0", 5000}},
        // Each byte comes well within any inactivity limit; only a limit on
        // the whole transfer ends this one.
        {"server that trickles its reply", {200, QByteArray(200, 'v'), 0, 100}},
    };
    LocalHttpServer server;
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.route("/slow", c.route);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(DownloadFile(server.address() + "/slow", dir.filePath("slow"), {800, kLimit}));
        // Generous against a loaded machine, far below the 5 s and 20 s the
        // server would take.
        EXPECT_LT(clock.elapsed(), 3500);
        EXPECT_FALSE(QFile::exists(dir.filePath("slow")));
    }
}

TEST(DownloadFile, FailsWithoutAServerOrWithAnAddressItMustNotFollow)
{
    QTemporaryDir dir;
    write(dir.filePath("secret"), "local file");
    const QString target = dir.filePath("target");
    EXPECT_FALSE(DownloadFile("http://127.0.0.1:1/uploads/v.txt", target));
    EXPECT_FALSE(DownloadFile("not an address", target));
    // An update address never reads local files.
    EXPECT_FALSE(DownloadFile(QUrl::fromLocalFile(dir.filePath("secret")).toString(), target));
    EXPECT_FALSE(QFile::exists(target));
}

TEST(FirstLine, EndsAtTheFirstLineEndOfAnyKind)
{
    struct Case {
        QByteArray content;
        QByteArray line;
    };
    const Case cases[] = {
        {"1.0", "1.0"},
        {"1.0\r\n2.0\r\n", "1.0"},
        {"1.0\n2.0", "1.0"},
        {"1.0\r2.0", "1.0"},     // a lone CR ends a line too
        {"1.0 \t\r\n", "1.0 \t"}, // blanks are part of the version
        {"", ""},
        {"\r\n1.0", ""},
        {"\xEF\xBB\xBF" "1.0\r\n", "1.0"}, // the mark of an editor, not a character of the text
    };
    for (const Case& c : cases)
        EXPECT_EQ(tpworm::support::firstLine(c.content), c.line) << c.content.toStdString();
}

TEST(ReadFirstLine, ReportsTheInputOutputErrorOfAFileItCannotRead)
{
    QTemporaryDir dir;
    write(dir.filePath("v.txt"), "3.1\r\n");
    EXPECT_EQ(tpworm::support::readFirstLine(dir.filePath("v.txt")), "3.1");

    auto errorOf = [](const QString& path) {
        try {
            tpworm::support::readFirstLine(path);
        } catch (const tpworm::support::UpdateError& e) {
            return e.message();
        }
        return QStringLiteral("<no error>");
    };
    EXPECT_EQ(errorOf(dir.filePath("missing.txt")), "File not found");
    EXPECT_EQ(errorOf(dir.path()), "Access denied");
}

TEST(DecodeLine, ShowsUtf8AndGbkTextAndLeavesMarkupAlone)
{
    EXPECT_EQ(tpworm::support::decodeLine("\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC"), QStringLiteral("新版本"));
    // The same word in GBK, as older servers of the maker send it.
    EXPECT_EQ(tpworm::support::decodeLine("\xD0\xC2\xB0\xE6\xB1\xBE"), QStringLiteral("新版本"));
    EXPECT_EQ(tpworm::support::decodeLine("<b>2.0</b> &amp;"), QStringLiteral("<b>2.0</b> &amp;"));
}

// The check's two downloads share one deadline: once a server that accepts and
// never answers has used it up, the second is not even requested; a server
// that is not there is reported as unreachable, so the check stops at once.
TEST(DownloadFile, TheChecksDownloadsShareOneDeadline)
{
    LocalHttpServer server;
    server.route("/stall", {200, "", 0, 0, true, true});
    QTemporaryDir dir;
    DownloadLimits limits{3000, kLimit};
    limits.deadline = QDeadlineTimer(600);
    const auto first = tpworm::support::downloadFile(server.address() + "/stall", dir.filePath("gg"), limits);
    EXPECT_FALSE(first.ok);
    EXPECT_FALSE(first.unreachable) << "the server accepted";
    EXPECT_TRUE(limits.deadline.hasExpired()) << "the first transfer ended before the shared deadline";
    const auto second = tpworm::support::downloadFile(server.address() + "/stall", dir.filePath("v-up.txt"), limits);
    EXPECT_FALSE(second.ok);
    EXPECT_EQ(server.requests().size(), 1) << "a download was started after the deadline";

    const auto refused = tpworm::support::downloadFile("http://127.0.0.1:1/uploads/v.txt", dir.filePath("gg"));
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.unreachable);
    const auto served = tpworm::support::downloadFile(server.address() + "/missing", dir.filePath("gg"));
    EXPECT_FALSE(served.ok);
    EXPECT_FALSE(served.unreachable) << "a 404 comes from a server that is there";
}
