#include "app/RemoteControl.h"

#include "app/ScriptRunner.h"
#include "foundation/TextFile.h"
#include "session/ConsoleRemote.h"

#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kGreeting = "i2kCmd-remote 1\n";
const QByteArray kDone = "done\n";
const char *const kFileName = "/i2kCmd.socket";

// Writes all of the bytes; false when the other end has gone.
bool sendAll(int fd, const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent),
                                 MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// Everything the other end sends until it closes, at most limit bytes.
std::optional<QByteArray> receiveAll(int fd, qsizetype limit)
{
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return bytes;
        if (bytes.size() + n > limit)
            return std::nullopt;
        bytes.append(buffer, n);
    }
}

int noConsole(const char *why, const QString &path)
{
    std::fprintf(stderr, "i2kCmd: no console is running (%s: %s)\n", why, qPrintable(path));
    return 1;
}

} // namespace

namespace RemoteControl {

QString socketPath()
{
    const QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return folder.isEmpty() ? QString() : folder + QLatin1String(kFileName);
}

std::optional<uid_t> peerUid(int socketDescriptor)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

int send(const QStringList &lines, const QString &screenText)
{
    const QString path = socketPath();
    if (path.isEmpty()) {
        std::fprintf(stderr, "i2kCmd: no console can be reached: XDG_RUNTIME_DIR is not set\n");
        return 1;
    }
    const QByteArray name = QFile::encodeName(path);
    struct stat info{};
    if (lstat(name.constData(), &info) != 0)
        return noConsole(std::strerror(errno), path);
    // Another user's socket, or one others may use, could be anyone's: it is not trusted.
    if (!S_ISSOCK(info.st_mode) || info.st_uid != geteuid() || (info.st_mode & 077) != 0) {
        std::fprintf(stderr, "i2kCmd: %s is not a socket private to this user; not used\n",
                     qPrintable(path));
        return 1;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(name.size()) >= sizeof address.sun_path)
        return noConsole("path too long", path);
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        return noConsole(std::strerror(error), path);
    }
    if (peerUid(fd) != geteuid()) {
        ::close(fd);
        std::fprintf(stderr, "i2kCmd: the console at %s is another user's; not used\n",
                     qPrintable(path));
        return 1;
    }
    QByteArray request = kGreeting;
    for (const QString &line : lines)
        request += "line " + line.toUtf8() + '\n';
    if (!screenText.isEmpty())
        request += "screen\n";
    request += "end\n";
    // The console's text is 37 lines of 94 characters: a few kilobytes, far below the bound.
    const std::optional<QByteArray> answer =
        sendAll(fd, request) ? receiveAll(fd, RemoteServer::kMaxRequestBytes) : std::nullopt;
    ::close(fd);
    if (!answer || !answer->startsWith(kDone)) {
        std::fprintf(stderr, "i2kCmd: the console at %s closed the connection\n",
                     qPrintable(path));
        return 1;
    }
    if (!screenText.isEmpty() && !writeTextOutput(screenText, answer->mid(kDone.size())))
        return 1;
    return 0;
}

} // namespace RemoteControl

RemoteServer::RemoteServer(ConsoleRemote &console) : m_console(console)
{
    connect(&m_server, &QLocalServer::newConnection, this, &RemoteServer::accept);
}

RemoteServer::~RemoteServer()
{
    m_server.close();
    if (!m_socketName.isEmpty())
        ::unlink(m_socketName.constData());
}

bool RemoteServer::listen()
{
    const QString path = RemoteControl::socketPath();
    if (path.isEmpty())
        return false;
    // The lock, not the socket, says whether a console listens: a console that died leaves
    // its socket behind, and its lock is then stale (QLockFile checks the process).
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    // Bound under another name, made 0600 and only then given its name, so that it is never
    // there with other rights; the lock's holder alone touches these names.
    const QByteArray name = QFile::encodeName(path);
    const QByteArray made = name + ".new";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(made.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, made.constData(), static_cast<size_t>(made.size()));
    ::unlink(made.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::chmod(made.constData(), 0600) != 0 || ::rename(made.constData(), name.constData()) != 0 ||
        ::listen(fd, SOMAXCONN) != 0 || !m_server.listen(fd)) {
        ::unlink(made.constData());
        ::close(fd);
        return false;
    }
    m_lock = std::move(lock);
    m_socketName = name;
    return true;
}

void RemoteServer::accept()
{
    while (QLocalSocket *client = m_server.nextPendingConnection()) {
        client->setParent(this);
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        const int clients = static_cast<int>(findChildren<QLocalSocket *>().size());
        if (clients > kMaxClients ||
            RemoteControl::peerUid(static_cast<int>(client->socketDescriptor())) != geteuid()) {
            client->abort();
            client->deleteLater();
            continue;
        }
        // A client that never finishes its request is not waited for.
        QTimer::singleShot(kRequestTimeoutMs, client, [client] {
            if (!client->property("complete").toBool()) {
                client->abort();
                client->deleteLater();
            }
        });
        connect(client, &QLocalSocket::readyRead, this, [this, client] { read(client); });
    }
}

void RemoteServer::read(QLocalSocket *client)
{
    if (client->property("complete").toBool())
        return;
    if (client->bytesAvailable() > kMaxRequestBytes || !client->canReadLine()) {
        if (client->bytesAvailable() > kMaxRequestBytes) {
            client->abort();
            client->deleteLater();
        }
        return;
    }
    const QByteArray bytes = client->peek(kMaxRequestBytes);
    if (!bytes.endsWith("\nend\n"))
        return;
    Request request{client, {}, false};
    const QList<QByteArray> items = bytes.chopped(1).split('\n');
    bool valid = items.size() >= 2 && items.front() + '\n' == kGreeting && items.back() == "end";
    for (qsizetype i = 1; valid && i + 1 < items.size(); ++i) {
        if (items[i].startsWith("line "))
            request.lines.append(QString::fromUtf8(items[i].mid(5)));
        else if (items[i] == "screen")
            request.wantsScreen = true;
        else
            valid = false;
    }
    if (!valid) {
        client->abort();
        client->deleteLater();
        return;
    }
    client->readAll();
    client->setProperty("complete", true);
    m_waiting.append(request);
    runWaiting();
}

void RemoteServer::runWaiting()
{
    // A question a line asks runs the event loop: requests that come meanwhile wait.
    if (m_running)
        return;
    while (!m_waiting.isEmpty()) {
        if (!m_console.ready()) {
            if (!m_retryPlanned) {
                m_retryPlanned = true;
                QTimer::singleShot(100, this, [this] {
                    m_retryPlanned = false;
                    runWaiting();
                });
            }
            return;
        }
        const Request request = m_waiting.takeFirst();
        if (!request.client)
            continue;
        m_running = true;
        m_console.run(request.lines);
        m_running = false;
        if (!request.client)
            continue;
        QByteArray answer = kDone;
        if (request.wantsScreen)
            answer += TextFile::encode(m_console.screenText());
        request.client->write(answer);
        // Written now: the line may have closed the window, and the program ends next.
        request.client->flush();
        request.client->disconnectFromServer();
    }
}
