#include "system/WebClient.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>

namespace {

constexpr qint64 kReadBufferSize = 256 * 1024;

RuntimeError tooLarge(qint64 maxBytes)
{
    const double mebibytes = static_cast<double>(maxBytes) / (1024 * 1024);
    return {RuntimeError::kWebTooLarge,
            QStringLiteral("The page is larger than %1 MiB").arg(mebibytes, 0, 'g', 4)};
}

// The error a finished reply ended with, if any. encrypted: the TLS handshake of an https
// request was completed.
std::optional<RuntimeError> replyError(QNetworkReply &reply, int maxRedirects, bool encrypted)
{
    if (const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        status >= 400) {
        const QString reason =
            reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return RuntimeError(RuntimeError::kWebHttpStatus,
                            QStringLiteral("The server answered %1 %2").arg(status).arg(reason)
                                .trimmed());
    }
    const auto cannotConnect = [&reply](const QString &why) {
        return RuntimeError(RuntimeError::kWebCannotConnect,
                            QStringLiteral("Unable to connect to remote host: ") + why);
    };
    if (reply.error() == QNetworkReply::NoError)
        return std::nullopt;
    // A server that hangs up on the TLS greeting is a TLS failure, not a failed request.
    if (reply.url().scheme() == u"https" && !encrypted &&
        reply.error() == QNetworkReply::RemoteHostClosedError)
        return cannotConnect(QStringLiteral("TLS handshake failed: ") + reply.errorString());
    switch (reply.error()) {
    case QNetworkReply::TooManyRedirectsError:
        return RuntimeError(RuntimeError::kWebTooManyRedirects,
                            QStringLiteral("Too many redirects (more than %1)").arg(maxRedirects));
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return cannotConnect(reply.errorString());
    default:
        break;
    }
    QString why = reply.errorString();
    // Qt names no reason for a body that does not decompress.
    const QByteArray encoding = reply.rawHeader("Content-Encoding").trimmed();
    if (reply.error() == QNetworkReply::UnknownContentError && !encoding.isEmpty() &&
        why.endsWith(u": "))
        why += QStringLiteral("not valid %1 data").arg(QString::fromLatin1(encoding));
    return RuntimeError(RuntimeError::kWebRequestFailed, QStringLiteral("Request failed: ") + why);
}

} // namespace

WebClient::WebClient() = default;
WebClient::~WebClient() = default;

std::optional<QString> WebClient::get(const QString &address)
{
    if (m_busy)
        throw RuntimeError(RuntimeError::kWebStillExecuting, QStringLiteral("Still executing last request"));
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != u"http" && scheme != u"https"))
        throw RuntimeError(RuntimeError::kWebMalformedAddress,
                           QStringLiteral("URL is malformed (http and https addresses only)"));

    m_busy = true;
    const auto done = qScopeGuard([this] {
        m_busy = false;
        m_cancel = nullptr;
    });
    // Made on first use: sessions that never fetch a page start no network machinery.
    if (!m_manager)
        m_manager = std::make_unique<QNetworkAccessManager>();
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(limits.maxRedirects);
    const std::unique_ptr<QNetworkReply> reply(m_manager->get(request));
    // Left unbounded, Qt reads ahead of us as fast as the server sends, and an endless body
    // takes hundreds of megabytes before the limit below is ever checked.
    reply->setReadBufferSize(kReadBufferSize);

    enum class Stopped { No, TooLarge, Idle, TooLong, Cancelled } stopped = Stopped::No;
    bool encrypted = false;
    QByteArray body;
    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(limits.idleTimeoutMs);
    QTimer total;
    total.setSingleShot(true);
    auto stop = [&](Stopped why) {
        if (stopped == Stopped::No)
            stopped = why;
        reply->abort();
    };
    m_cancel = [&] { stop(Stopped::Cancelled); };
    QObject::connect(&idle, &QTimer::timeout, &loop, [&] { stop(Stopped::Idle); });
    QObject::connect(&total, &QTimer::timeout, &loop, [&] { stop(Stopped::TooLong); });
    QObject::connect(reply.get(), &QNetworkReply::encrypted, &loop, [&] { encrypted = true; });
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        idle.start();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits.maxBytes)
            stop(Stopped::TooLarge);
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        idle.start();
        body += reply->readAll();
        if (body.size() > limits.maxBytes)
            stop(Stopped::TooLarge);
    });
    QObject::connect(reply.get(), &QNetworkReply::redirected, &idle, qOverload<>(&QTimer::start));
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    idle.start();
    total.start(limits.totalTimeoutMs);
    if (!reply->isFinished())
        loop.exec();
    // The program quitting ends every event loop, this one too: the request ends with it.
    if (!reply->isFinished())
        reply->abort();

    switch (stopped) {
    case Stopped::TooLarge:
        throw tooLarge(limits.maxBytes);
    case Stopped::Idle:
        throw RuntimeError(RuntimeError::kWebTimeout, QStringLiteral("Timeout: no data for %1 seconds")
                                        .arg(limits.idleTimeoutMs / 1000.0));
    case Stopped::TooLong:
        throw RuntimeError(RuntimeError::kWebTimeout, QStringLiteral("Timeout: the page took more than %1 seconds")
                                        .arg(limits.totalTimeoutMs / 1000.0));
    case Stopped::Cancelled:
        return std::nullopt;
    case Stopped::No:
        break;
    }
    if (std::optional<RuntimeError> error = replyError(*reply, limits.maxRedirects, encrypted))
        throw *error;
    body += reply->readAll();
    if (body.size() > limits.maxBytes)
        throw tooLarge(limits.maxBytes);
    return TextFile::decode(body);
}

void WebClient::cancel()
{
    if (m_cancel)
        m_cancel();
}
