// A small HTTP server on 127.0.0.1 for the update-check tests. It runs on its
// own thread, so it answers while the user-interface thread is held by the
// check, and it can misbehave on purpose: answer late, trickle its reply,
// send more than it should, or never answer at all.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace tpworm::testing {

struct HttpRoute {
    int status = 200;
    QByteArray body;
    int delayMs = 0;            // before the status line
    int trickleMs = 0;          // > 0: one byte of the body each so many ms
    bool declareLength = true;  // false: the end of the body is the end of the connection
    bool neverAnswer = false;   // read the request, then hold the connection open
};

class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // Routes by path (the part before '?'); any other path gets 404.
    void route(const QString& path, const HttpRoute& route);
    // "http://127.0.0.1:<port>"
    QString address() const;
    // Request targets (path and query) in the order received.
    QStringList requests() const;

private:
    void acceptLoop();
    void serve(int socket);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    QMap<QString, HttpRoute> routes_;
    QStringList requests_;
    std::thread acceptor_;
    std::vector<std::thread> connections_;
};

} // namespace tpworm::testing
