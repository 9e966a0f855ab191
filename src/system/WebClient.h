#pragma once
// Web pages fetched with a GET request, for openurl and url2text. The wait runs window events
// (a nested event loop), so timers and the players go on; one request at a time. Every
// failure is a RuntimeError: a bad address, no connection, an HTTP error status, too many
// redirects, a page over the size limit, or a server that sends nothing for too long.

#include <QString>
#include <memory>

class QNetworkAccessManager;

class WebClient
{
public:
    struct Limits
    {
        int maxRedirects = 10;
        qint64 maxBytes = 16 * 1024 * 1024;
        // Waiting longer than this for the next byte ends the request.
        int idleTimeoutMs = 30000;
    };

    // The error numbers, one per kind of failure.
    enum Error {
        RequestFailed = 35750,
        MalformedAddress = 35751,
        CannotConnect = 35754,
        Timeout = 35761,
        StillExecuting = 35764,
        HttpStatus = 35765,
        TooManyRedirects = 35766,
        TooLarge = 35767
    };

    WebClient();
    ~WebClient();
    WebClient(const WebClient &) = delete;
    WebClient &operator=(const WebClient &) = delete;

    Limits limits;

    // The page at address (http or https; "example.com" means http://example.com) as text:
    // UTF-8, or Windows-1252 when it is not valid UTF-8. A call while another waits raises
    // "Still executing last request".
    QString get(const QString &address);
    bool busy() const { return m_busy; }

private:
    std::unique_ptr<QNetworkAccessManager> m_manager;
    bool m_busy = false;
};
