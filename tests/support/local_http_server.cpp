#include "local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace tpworm::testing {

namespace {

// Waits up to `ms` for the socket to become readable; false on time-out.
bool waitReadable(int socket, int ms)
{
    pollfd fd{socket, POLLIN, 0};
    return ::poll(&fd, 1, ms) > 0;
}

bool sendAll(int socket, const QByteArray& data)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(socket, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

} // namespace

LocalHttpServer::LocalHttpServer()
{
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0)
        throw std::runtime_error("socket");
    int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listener_, 16) != 0)
        throw std::runtime_error("bind/listen");
    socklen_t len = sizeof addr;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

LocalHttpServer::~LocalHttpServer()
{
    stopping_ = true;
    acceptor_.join();
    for (std::thread& t : connections_)
        t.join();
    ::close(listener_);
}

void LocalHttpServer::route(const QString& path, const HttpRoute& route)
{
    std::lock_guard lock(mutex_);
    routes_[path] = route;
}

QString LocalHttpServer::address() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

QStringList LocalHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void LocalHttpServer::acceptLoop()
{
    while (!stopping_) {
        if (!waitReadable(listener_, 50))
            continue;
        const int socket = ::accept(listener_, nullptr, nullptr);
        if (socket >= 0)
            connections_.emplace_back([this, socket] { serve(socket); });
    }
}

void LocalHttpServer::serve(int socket)
{
    QByteArray request;
    const auto started = std::chrono::steady_clock::now();
    while (!request.contains("\r\n\r\n") && std::chrono::steady_clock::now() - started < std::chrono::seconds(5)) {
        if (!waitReadable(socket, 50))
            continue;
        char buffer[4096];
        const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, n);
    }
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString target = requestLine.size() >= 2 ? QString::fromLatin1(requestLine[1]) : QString();
    HttpRoute route{404, "not found"};
    {
        std::lock_guard lock(mutex_);
        requests_ << target;
        const QString path = target.section(QLatin1Char('?'), 0, 0);
        if (routes_.contains(path))
            route = routes_.value(path);
    }

    // Sleeps in small steps; false when the server stops or the client left.
    auto pause = [&](int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            if (stopping_)
                return false;
            pollfd fd{socket, POLLIN, 0};
            if (::poll(&fd, 1, 10) > 0) {
                char probe;
                if (::recv(socket, &probe, 1, MSG_PEEK | MSG_DONTWAIT) <= 0)
                    return false;
            }
        }
        return true;
    };

    if (route.neverAnswer) {
        while (pause(50)) {}
        ::close(socket);
        return;
    }
    if (route.delayMs > 0 && !pause(route.delayMs)) {
        ::close(socket);
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + ' ' + reason(route.status) + "\r\n";
    head += "Content-Type: text/plain\r\nConnection: close\r\n";
    if (route.declareLength)
        head += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
    head += "\r\n";
    if (sendAll(socket, head)) {
        if (route.trickleMs > 0) {
            for (char c : route.body)
                if (!pause(route.trickleMs) || !sendAll(socket, QByteArray(1, c)))
                    break;
        } else {
            sendAll(socket, route.body);
        }
    }
    ::shutdown(socket, SHUT_WR);
    pause(200);
    ::close(socket);
}

} // namespace tpworm::testing
