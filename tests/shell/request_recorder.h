#pragma once

#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A web server of the test's own on the loopback interface, reached directly or as a proxy: it
// answers every request with an empty page and keeps the first line of each.
class RequestRecorder : public QTcpServer {
public:
    RequestRecorder() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->peek(64 * 1024).contains("\r\n\r\n"))
                    return;
                received.append(socket->readLine().trimmed());
                socket->readAll();
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        });
    }

    bool listenLocally() { return listen(QHostAddress::LocalHost); }

    QList<QByteArray> received;
};
