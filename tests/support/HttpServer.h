#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 that answers every GET with the status and body it is
// given, and counts the requests.
class HttpServer : public QTcpServer
{
public:
    int status = 200;
    QByteArray body;
    int requests = 0;
    QByteArray lastPath;

    HttpServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    if (!request.contains("\r\n\r\n"))
                        return;
                    ++requests;
                    lastPath = request.split(' ').value(1);
                    socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: "
                                  + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QByteArray base() const { return "http://127.0.0.1:" + QByteArray::number(serverPort()) + "/"; }
};
