// The two downloads of the update check, as the main window runs them before
// it shows (one shared deadline, no second try at an unreachable server),
// timed whole: against a socket that completes the connection in the kernel's
// backlog and never answers, and against a port where nothing listens.
// Prints the medians as KEY=VALUE lines for bench/speed_table.py.
#include "support/update_check.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace tpworm::support;

// The check as TForm1::RunUpdateCheck does it; milliseconds.
double checkOnce(const QString& base, const QString& dir)
{
    QElapsedTimer clock;
    clock.start();
    DownloadLimits limits;
    limits.deadline = QDeadlineTimer(kUpdateCheckBudgetMs);
    const DownloadOutcome notice = downloadFile(updateUrl(base, kNoticePath, "?s=suiji1"), dir + "/gg", limits);
    if (!notice.unreachable)
        downloadFile(updateUrl(base, kVersionPath, "?s=suiji2"), dir + "/v-up.txt", limits);
    return clock.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir dir;

    // Listening, never accepting: the handshake completes, no byte comes back.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(silent, 16) != 0 ||
        ::getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("listen");
        return 1;
    }
    const QString stalling = QStringLiteral("http://127.0.0.1:%1").arg(ntohs(address.sin_port));

    // A port just released: nothing listens there, the connection is refused.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in free{};
    free.sin_family = AF_INET;
    free.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    length = sizeof free;
    ::bind(probe, reinterpret_cast<sockaddr*>(&free), sizeof free);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&free), &length);
    ::close(probe);
    const QString refused = QStringLiteral("http://127.0.0.1:%1").arg(ntohs(free.sin_port));

    std::vector<double> stall, refuse;
    for (int k = 0; k < runs; ++k) {
        stall.push_back(checkOnce(stalling, dir.path()));
        refuse.push_back(checkOnce(refused, dir.path()));
    }
    std::printf("update_check_stalling_ms=%.1f\nupdate_check_refused_ms=%.1f\n", median(stall), median(refuse));
    ::close(silent);
    return 0;
}
