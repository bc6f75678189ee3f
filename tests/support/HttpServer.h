#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

// A small HTTP server on 127.0.0.1 that answers every GET with the status and body it is
// given, after delayMs (never when negative), and counts the requests.
class HttpServer : public QTcpServer
{
public:
    int status = 200;
    QByteArray body;
    int delayMs = 0;
    int requests = 0;
    QByteArray lastPath;
    std::function<void()> onRequest; // runs when a request has come in, before the answer

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
                    if (onRequest)
                        onRequest();
                    if (delayMs >= 0)
                        QTimer::singleShot(delayMs, socket, [this, socket] { answer(socket); });
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QByteArray base() const { return "http://127.0.0.1:" + QByteArray::number(serverPort()) + "/"; }

private:
    void answer(QTcpSocket *socket)
    {
        socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
};
