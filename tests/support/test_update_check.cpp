// The update check as the program runs it on the first showing of the main
// window, against a real HTTP server on 127.0.0.1 started by each test.
#include "common/gui_fixture.h"
#include "local_http_server.h"
#include "rules/tform5.h"
#include "support/tform7.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using tpworm::MessageBox;
using tpworm::testing::HttpRoute;
using tpworm::testing::LocalHttpServer;
using tpworm::testing::ProgramFixture;

namespace {

const QString kFlashing = QStringLiteral("     有更新的版本，请及时更新。。。");

void write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program directory whose update address is the test's server.
struct UpdateFixture {
    explicit UpdateFixture(const QByteArray& localVersion = "1.0\r\n")
    {
        fx.context.updateAddress = server.address();
        write(fx.path("v.txt"), localVersion);
        QFile::remove(fx.path("gg"));
        QFile::remove(fx.path("v-up.txt"));
    }
    void serve(const HttpRoute& notice, const HttpRoute& version)
    {
        server.route("/uploads/guanggao.txt", notice);
        server.route("/uploads/v.txt", version);
    }
    bool flashing() const { return fx.form->Timer1->isActive() || fx.form->Timer2->isActive(); }

    LocalHttpServer server;
    ProgramFixture fx;
};

} // namespace

TEST(UpdateCheck, ShowsTheNoticeAndFlashesOnlyForADifferentVersion)
{
    struct Case {
        const char* what;
        QByteArray localVersion;
        HttpRoute notice;
        HttpRoute version;
        QString label;
        bool flashes;
    };
    const QByteArray oversized(64 * 1024 + 1, 'x');
    const Case cases[] = {
        {"equal versions", "1.0\r\n", {200, "新版本2.0已发布\r\n第二行"}, {200, "1.0\r\n说明"}, "新版本2.0已发布", false},
        {"equal, line ends differ", "1.0\n", {200, "通知"}, {200, "1.0\r\n"}, "通知", false},
        {"a trailing zero", "1.0\r\n", {200, "通知"}, {200, "1.00\r\n"}, "通知", true},
        {"letter case", "v1.0", {200, "通知"}, {200, "V1.0"}, "通知", true},
        {"an older version is a difference too", "2.0", {200, ""}, {200, "1.9"}, "", true},
        {"markup stays text", "1.0", {200, "<b>新版</b> <a href=\"http://x\">下载</a> &amp;"}, {200, "1.0"},
         "<b>新版</b> <a href=\"http://x\">下载</a> &amp;", false},
        {"GBK notice", "1.0", {200, "\xD0\xC2\xB0\xE6\xB1\xBE"}, {200, "1.0"}, "新版本", false},
        {"notice missing on the server", "1.0", {404, "gone"}, {200, "1.1"}, "", true},
        {"version missing on the server", "1.0", {200, "通知"}, {404, "gone"}, "通知", false},
        {"oversized notice", "1.0", {200, oversized}, {200, "1.1"}, "", true},
        {"oversized version, undeclared length", "1.0", {200, "通知"}, {200, oversized, 0, 0, false}, "通知", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UpdateFixture u(c.localVersion);
        u.serve(c.notice, c.version);
        tpworm::TForm1& f = u.fx.start();

        EXPECT_EQ(f.Label32->text(), c.label);
        EXPECT_EQ(f.Label32->textFormat(), Qt::PlainText);
        EXPECT_EQ(u.flashing(), c.flashes);
        EXPECT_EQ(f.windowTitle(), f.Design.SavedCaption);
        EXPECT_TRUE(u.fx.dialogs.messages.isEmpty()) << u.fx.dialogs.messageTexts().join('|').toStdString();
        EXPECT_FALSE(f.Form7->isVisible());
        // What arrived whole is kept in the program directory, nothing else.
        EXPECT_EQ(QFile::exists(u.fx.path("gg")), c.notice.status == 200 && c.notice.body.size() <= 64 * 1024);
        if (QFile::exists(u.fx.path("gg"))) {
            EXPECT_EQ(readAll(u.fx.path("gg")), c.notice.body);
        }
        EXPECT_EQ(QFile::exists(u.fx.path("v-up.txt")), c.version.status == 200 && c.version.body.size() <= 64 * 1024);
    }
}

TEST(UpdateCheck, AsksForBothFilesWithAQueryThatChangesFromOneRequestToTheNext)
{
    UpdateFixture u;
    u.serve({200, "通知"}, {200, "1.0"});
    u.fx.start();
    const QStringList requests = u.server.requests();
    ASSERT_EQ(requests.size(), 2);
    const QRegularExpression notice(R"(^/uploads/guanggao\.txt\?s=suiji\d{9}$)");
    const QRegularExpression version(R"(^/uploads/v\.txt\?s=suiji\d{9}$)");
    EXPECT_TRUE(notice.match(requests[0]).hasMatch()) << requests[0].toStdString();
    EXPECT_TRUE(version.match(requests[1]).hasMatch()) << requests[1].toStdString();
    EXPECT_NE(requests[0].section('?', 1), requests[1].section('?', 1));
}

TEST(UpdateCheck, FlashesTheTitleWithTheTwoTimers)
{
    UpdateFixture u("1.0");
    u.serve({200, "通知"}, {200, "1.1"});
    tpworm::TForm1& f = u.fx.start();
    const QString saved = f.Design.SavedCaption;
    EXPECT_EQ(f.Timer1->interval(), 500);
    EXPECT_EQ(f.Timer2->interval(), 2000);
    // Within one period of the slower timer the title shows the notice and
    // returns to the plain caption.
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.windowTitle() == saved + kFlashing; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.windowTitle() == saved; }, 3000));

    f.Timer1Timer();
    EXPECT_EQ(f.windowTitle(), saved + kFlashing);
    f.Timer2Timer();
    EXPECT_EQ(f.windowTitle(), saved);
}

TEST(UpdateCheck, WithoutAServerTheWindowShowsPlainAndSilent)
{
    // A port that was free a moment ago: the connection is refused.
    QString address;
    {
        LocalHttpServer closed;
        address = closed.address();
    }
    ProgramFixture fx;
    fx.context.updateAddress = address;
    write(fx.path("v.txt"), "1.0");
    tpworm::TForm1& f = fx.start();
    EXPECT_EQ(f.Label32->text(), "");
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_FALSE(f.Timer2->isActive());
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
    EXPECT_FALSE(f.Form7->isVisible());
    EXPECT_FALSE(QFile::exists(fx.path("gg")));
    EXPECT_FALSE(QFile::exists(fx.path("v-up.txt")));
}

TEST(UpdateCheck, ASlowServerDelaysTheStartOnlyByTheTimeOuts)
{
    struct Case {
        const char* what;
        HttpRoute route;
    };
    const Case cases[] = {
        {"never answers", {200, "", 0, 0, true, true}},
        {"trickles its reply", {200, QByteArray(400, 'v'), 0, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UpdateFixture u;
        u.serve(c.route, c.route);
        QElapsedTimer clock;
        clock.start();
        tpworm::TForm1& f = u.fx.start();
        // Two downloads of a few seconds each, far below the 40 s the
        // trickling server would need.
        EXPECT_LT(clock.elapsed(), 15000);
        EXPECT_EQ(f.Label32->text(), "");
        EXPECT_FALSE(u.flashing());
        EXPECT_FALSE(f.Form7->isVisible());
    }
}

TEST(UpdateCheck, RunsBehindItsNoticeWindowWhichIsRemovedAfterwards)
{
    UpdateFixture u;
    u.serve({200, "通知", 600}, {200, "1.0", 600});
    bool noticeSeen = false;
    QTimer probe;
    probe.setInterval(50);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (u.fx.form && u.fx.form->Form7 && u.fx.form->Form7->isVisible())
            noticeSeen = true;
    });
    probe.start();
    tpworm::TForm1& f = u.fx.start();
    probe.stop();
    EXPECT_TRUE(noticeSeen);
    EXPECT_FALSE(f.Form7->isVisible());

    tpworm::TForm7& notice = *f.Form7;
    EXPECT_EQ(notice.size(), QSize(379, 144));
    EXPECT_TRUE(notice.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(notice.palette().color(QPalette::Window), QColor(166, 202, 240));
    EXPECT_EQ(notice.Label1->text(), "正在检测是否有新版本，请稍后.....");
}

TEST(UpdateCheck, AnUnreadableLocalVersionIsReportedAndTheCheckStops)
{
    UpdateFixture u;
    QFile::remove(u.fx.path("v.txt"));
    u.serve({200, "通知"}, {200, "9.9"});
    tpworm::TForm1& f = u.fx.start();
    ASSERT_EQ(u.fx.dialogs.messages.size(), 1);
    EXPECT_EQ(u.fx.dialogs.messages[0].text, "File not found");
    EXPECT_EQ(u.fx.dialogs.messages[0].icon, MessageBox::Icon::Error);
    // The notice came before the failure; the version was never asked for.
    EXPECT_EQ(f.Label32->text(), "通知");
    EXPECT_EQ(u.server.requests().size(), 1);
    EXPECT_FALSE(u.flashing());
    EXPECT_FALSE(f.Form7->isVisible());
    EXPECT_TRUE(f.isVisible());
}

TEST(UpdateCheck, RunsOncePerProcessAndNeverWhileSuppressed)
{
    UpdateFixture u;
    u.serve({200, "通知"}, {200, "1.0"});
    tpworm::TForm1& f = u.fx.start();
    ASSERT_EQ(u.server.requests().size(), 2);

    // Showing the window again, by the program or the user, checks no more.
    f.hide();
    f.show();
    f.FormShow();
    EXPECT_EQ(u.server.requests().size(), 2);

    // A window whose check is suppressed before its first showing (the
    // command-line open and the rule commands set the flag) never checks.
    UpdateFixture suppressed;
    suppressed.serve({200, "通知"}, {200, "2.0"});
    suppressed.fx.context.arguments.clear();
    suppressed.fx.form = tpworm::createWindows(suppressed.fx.context);
    suppressed.fx.form->Design.UpdateCheckSuppressed = true;
    suppressed.fx.form->show();
    suppressed.fx.form->FormShow();
    EXPECT_TRUE(suppressed.server.requests().isEmpty());
    EXPECT_EQ(suppressed.fx.form->Label32->text(), "");
    EXPECT_FALSE(suppressed.flashing());
}

TEST(Upgrade, StartsTheUpgradeProgramAndClosesOrSaysWhyNot)
{
    struct Case {
        const char* what;
        bool programPresent;
        bool starts;
    };
    const Case cases[] = {
        {"upgrade program present", true, true},
        {"upgrade program missing", false, true},
        {"upgrade program does not start", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFixture fx;
        const QString program = fx.path("Project11");
        if (c.programPresent)
            write(program, "#!/bin/sh\n");
        fx.desktop.programsStart = c.starts;
        tpworm::TForm1& f = fx.start();
        f.N18->trigger();
        ASSERT_EQ(fx.desktop.started.size(), 1);
        EXPECT_EQ(fx.desktop.started[0], program);
        const bool started = c.programPresent && c.starts;
        EXPECT_EQ(f.isVisible(), !started);
        EXPECT_EQ(fx.dialogs.messageTexts(), started ? QStringList() : QStringList{"升级程序错误，请重新安装软件...."});
    }
}

TEST(UpdateCheck, AQueuedCloseWaitsForTheEndOfTheCheck)
{
    // The coefficient load queues a close when the rules cannot be read; the
    // check that follows it in the show handler must neither be cut short nor
    // let the window close before the handler returns.
    UpdateFixture u;
    u.serve({200, "通知", 400}, {200, "1.0", 400});
    QTimer::singleShot(100, [&] {
        ASSERT_TRUE(u.fx.form);
        u.fx.form->close();
    });
    tpworm::TForm1& f = u.fx.start();
    EXPECT_EQ(u.server.requests().size(), 2) << "the check ran to its end";
    EXPECT_EQ(f.Label32->text(), "通知");
    EXPECT_TRUE(f.isVisible()) << "closed in the middle of the show handler";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.isVisible(); }, 2000)) << "the close was lost";
}

TEST(UpdateCheck, SavingSettingsOrChangingTheRuleSetNeverChecksAgain)
{
    UpdateFixture u;
    u.serve({200, "通知"}, {200, "1.0"});
    tpworm::TForm1& f = u.fx.start();
    ASSERT_EQ(u.server.requests().size(), 2);
    u.fx.dialogs.messages.clear();

    // "保  存" in the settings dialog re-runs the show handler.
    QTimer::singleShot(0, &f, [&] {
        f.Form5->Button1->click();
        f.Form5->Button2->click();
    });
    f.N13Click();
    EXPECT_EQ(u.fx.dialogs.messageTexts(), QStringList{"数据保存成功......"});
    // So do restoring the defaults and loading a rule set.
    f.N15Click();
    const QString set = u.fx.path("own.wrx");
    ASSERT_TRUE(QFile::copy(u.fx.path("db1.wrx"), set));
    u.fx.dialogs.files = {set};
    f.N16Click();

    EXPECT_EQ(u.server.requests().size(), 2);
    EXPECT_FALSE(f.Form7->isVisible());
}
