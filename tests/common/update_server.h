// A tiny HTTP server on the loopback interface that stands in for the maker's
// update server: it answers the paths it was given and records every request,
// so a test can tell whether, and how often, the update check ran.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace tpworm::testing {

class UpdateServer {
public:
    UpdateServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                serve(socket);
        });
    }

    // The base address to put into ProgramContext::updateAddress.
    QString address() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
    bool listening() const { return server_.isListening(); }

    // The body served for a path ("/uploads/v.txt"); other paths get 404.
    QMap<QString, QByteArray> files;
    // Paths of the requests, without their query, in the order they came.
    QStringList requests;
    // Their queries ("s=suiji..."), in the same order.
    QStringList queries;

private:
    void serve(QTcpSocket* socket)
    {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            buffers_[socket] += socket->readAll();
            const QByteArray& request = buffers_[socket];
            if (!request.contains("\r\n\r\n"))
                return;
            const QByteArray target = request.left(request.indexOf("\r\n")).split(' ').value(1);
            buffers_.remove(socket);
            const int q = target.indexOf('?');
            const QString path = QString::fromLatin1(q < 0 ? target : target.left(q));
            requests << path;
            queries << (q < 0 ? QString() : QString::fromLatin1(target.mid(q + 1)));
            const bool found = files.contains(path);
            const QByteArray body = files.value(path, QByteArrayLiteral("not found"));
            socket->write((found ? QByteArrayLiteral("HTTP/1.1 200 OK\r\n") : QByteArrayLiteral("HTTP/1.1 404 Not Found\r\n"))
                          + "Content-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
                          + "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer server_;
    QMap<QTcpSocket*, QByteArray> buffers_;
};

} // namespace tpworm::testing
