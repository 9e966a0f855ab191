#pragma once
// A small HTTP server on 127.0.0.1 for the web commands' tests and benchmarks: each path
// answers as it is told (a page, a status, a redirect, or nothing at all).

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

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
        if (response.sendLength)
            head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        if (!response.location.isEmpty())
            head += "Location: " + response.location + "\r\n";
        socket->write(head + "\r\n" + response.body);
        socket->disconnectFromHost();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QHash<QByteArray, Response> m_pages;
    QHash<QTcpSocket *, QByteArray> m_received;
    int m_requests = 0;
};
