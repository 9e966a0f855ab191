#pragma once
// A small HTTP server on 127.0.0.1 for the web commands' tests and benchmarks: each path
// answers as it is told (a page, a status, a redirect, a body without end, or nothing at
// all). A TLS greeting is hung up on, as by a server that speaks no TLS.

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

class LocalWebServer
{
public:
    struct Response
    {
        int status = 200;
        QByteArray body{};
        QByteArray location{};      // a Location header, for redirects
        bool sendLength = true;     // without it the body ends when the connection closes
        bool silent = false;        // reads the request and never answers
        QByteArray headers{};       // more header lines, each ending in CR LF
        // The body sent again and again in chunks, never ending: as fast as the connection
        // takes it, or one chunk every dripMs.
        bool endless = false;
        int dripMs = 0;
    };

    LocalWebServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { answer(socket); });
        });
    }

    void serve(const QByteArray &path, Response response) { m_pages[path] = std::move(response); }
    QString url(const QByteArray &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2")
            .arg(m_server.serverPort())
            .arg(QString::fromLatin1(path));
    }
    int requests() const { return m_requests; }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &request = m_received[socket];
        request += socket->readAll();
        if (request.startsWith('\x16')) {
            m_received.remove(socket);
            socket->disconnectFromHost();
            return;
        }
        if (!request.contains("\r\n\r\n"))
            return;
        ++m_requests;
        const QByteArray path = request.split(' ').value(1);
        m_received.remove(socket);
        const auto page = m_pages.constFind(path);
        const Response response = page != m_pages.cend() ? *page : Response{404, "missing"};
        if (response.silent)
            return;
        const QByteArray reason = response.status == 200   ? "OK"
                                  : response.status == 404 ? "Not Found"
                                                           : "Moved";
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reason +
                          "\r\nContent-Type: text/html\r\nConnection: close\r\n";
        if (!response.location.isEmpty())
            head += "Location: " + response.location + "\r\n";
        head += response.headers;
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (response.endless) {
            socket->write(head + "Transfer-Encoding: chunked\r\n\r\n");
            sendEndlessly(socket,
                          QByteArray::number(response.body.size(), 16) + "\r\n" + response.body +
                              "\r\n",
                          response.dripMs);
            return;
        }
        if (response.sendLength)
            head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        socket->write(head + "\r\n" + response.body);
        socket->disconnectFromHost();
    }

    // Keeps at most one chunk waiting in the socket, so the server's memory stays flat
    // however fast the client reads.
    static void sendEndlessly(QTcpSocket *socket, const QByteArray &chunk, int dripMs)
    {
        auto *timer = new QTimer(socket);
        timer->setInterval(dripMs);
        QObject::connect(timer, &QTimer::timeout, socket, [socket, chunk, timer] {
            if (socket->bytesToWrite() == 0)
                socket->write(chunk);
            else if (timer->interval() == 0)
                timer->stop(); // bytesWritten starts it again
        });
        if (dripMs == 0)
            QObject::connect(socket, &QTcpSocket::bytesWritten, timer, [timer] { timer->start(); });
        timer->start();
    }

    QTcpServer m_server;
    QHash<QByteArray, Response> m_pages;
    QHash<QTcpSocket *, QByteArray> m_received;
    int m_requests = 0;
};
