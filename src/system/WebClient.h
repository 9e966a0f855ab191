#pragma once
// Web pages fetched with a GET request, for openurl and url2text. The wait runs window events
// (a nested event loop), so timers and the players go on; one request at a time. Every
// failure is a RuntimeError: a bad address, no connection, an HTTP error status, too many
// redirects, a page over the size limit (the request ends there, and no more than the limit
// and a small read buffer is ever held), a body that cannot be decompressed, or a server that
// sends nothing for too long or takes too long in all.

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;

class WebClient
{
public:
    struct Limits
    {
        int maxRedirects = 10;
        qint64 maxBytes = 16 * 1024 * 1024;
        // Waiting longer than this for the next byte ends the request...
        int idleTimeoutMs = 30000;
        // ...and so does this long in all, however the data trickles in.
        int totalTimeoutMs = 120000;
    };


    WebClient();
    ~WebClient();
    WebClient(const WebClient &) = delete;
    WebClient &operator=(const WebClient &) = delete;

    Limits limits;

    // The page at address (http or https; "example.com" means http://example.com) as text:
    // UTF-8, or Windows-1252 when it is not valid UTF-8; nothing when cancel() ended the
    // wait. A call while another waits raises "Still executing last request".
    std::optional<QString> get(const QString &address);
    bool busy() const { return m_busy; }
    // Ends the request under way, if any: its get() returns nothing.
    void cancel();

private:
    std::unique_ptr<QNetworkAccessManager> m_manager;
    bool m_busy = false;
    std::function<void()> m_cancel;
};
