#pragma once
// i2kCmd --remote: command lines sent from the shell to the console of the same user over a
// local socket in $XDG_RUNTIME_DIR. The socket is the user's alone: made with mode 0600, and
// both ends check the other's user id (SO_PEERCRED). One console listens per user; a
// second one started while it does stays silent.
//
// The exchange is UTF-8 text: "i2kCmd-remote 1", then "line TEXT" for each line, "screen"
// when the console's text is wanted, and "end", each ended by LF. Once the lines have run
// the console answers "done", LF, and the text when asked for, and closes.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <optional>
#include <sys/types.h>

class ConsoleRemote;
class QLocalSocket;

namespace RemoteControl {

// The socket's path, or empty when XDG_RUNTIME_DIR is not set.
QString socketPath();
// The user id of the process at the other end of a connected local socket.
std::optional<uid_t> peerUid(int socketDescriptor);
// Sends the lines to the console and writes its text to screenText ("-": standard output)
// when that is not empty. 0 when the lines ran, 1 when no console of this user could be
// reached (messages on standard error).
int send(const QStringList &lines, const QString &screenText);

} // namespace RemoteControl

class RemoteServer : public QObject
{
public:
    // Bounds on what one client may send and how long it may take to send it.
    static constexpr qsizetype kMaxRequestBytes = 1 << 20;
    static constexpr int kRequestTimeoutMs = 10000;
    static constexpr int kMaxClients = 16;

    explicit RemoteServer(ConsoleRemote &console);
    ~RemoteServer() override;

    // Listens on this user's socket unless another console does; false, with nothing said,
    // when it does not listen (no XDG_RUNTIME_DIR, another console, a failure).
    bool listen();

private:
    struct Request
    {
        QPointer<QLocalSocket> client;
        QStringList lines;
        bool wantsScreen = false;
    };

    void accept();
    void read(QLocalSocket *client);
    void runWaiting();

    ConsoleRemote &m_console;
    QLocalServer m_server;
    std::unique_ptr<QLockFile> m_lock;
    QByteArray m_socketName;
    QList<Request> m_waiting;
    bool m_running = false;
    bool m_retryPlanned = false;
};
