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

RuntimeError tooLarge(qint64 maxBytes)
{
    const double mebibytes = static_cast<double>(maxBytes) / (1024 * 1024);
    return {WebClient::TooLarge,
            QStringLiteral("The page is larger than %1 MiB").arg(mebibytes, 0, 'g', 4)};
}

// The error a finished reply ended with, if any.
std::optional<RuntimeError> replyError(QNetworkReply &reply, int maxRedirects)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString reason =
            reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return RuntimeError(WebClient::HttpStatus,
                            QStringLiteral("The server answered %1 %2").arg(status).arg(reason)
                                .trimmed());
    }
    switch (reply.error()) {
    case QNetworkReply::NoError:
        return std::nullopt;
    case QNetworkReply::TooManyRedirectsError:
        return RuntimeError(WebClient::TooManyRedirects,
                            QStringLiteral("Too many redirects (more than %1)").arg(maxRedirects));
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return RuntimeError(WebClient::CannotConnect,
                            QStringLiteral("Unable to connect to remote host: ") +
                                reply.errorString());
    default:
        return RuntimeError(WebClient::RequestFailed,
                            QStringLiteral("Request failed: ") + reply.errorString());
    }
}

} // namespace

WebClient::WebClient() = default;
WebClient::~WebClient() = default;

QString WebClient::get(const QString &address)
{
    if (m_busy)
        throw RuntimeError(StillExecuting, QStringLiteral("Still executing last request"));
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != u"http" && scheme != u"https"))
        throw RuntimeError(MalformedAddress,
                           QStringLiteral("URL is malformed (http and https addresses only)"));

    m_busy = true;
    const auto done = qScopeGuard([this] { m_busy = false; });
    // Made on first use: sessions that never fetch a page start no network machinery.
    if (!m_manager)
        m_manager = std::make_unique<QNetworkAccessManager>();
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(limits.maxRedirects);
    const std::unique_ptr<QNetworkReply> reply(m_manager->get(request));

    enum class Stopped { No, TooLarge, Idle } stopped = Stopped::No;
    QByteArray body;
    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(limits.idleTimeoutMs);
    auto stop = [&](Stopped why) {
        stopped = why;
        reply->abort();
    };
    QObject::connect(&idle, &QTimer::timeout, &loop, [&] { stop(Stopped::Idle); });
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
    if (!reply->isFinished())
        loop.exec();
    // The program quitting ends every event loop, this one too: the request ends with it.
    if (!reply->isFinished())
        reply->abort();

    switch (stopped) {
    case Stopped::TooLarge:
        throw tooLarge(limits.maxBytes);
    case Stopped::Idle:
        throw RuntimeError(Timeout, QStringLiteral("Timeout: no data for %1 seconds")
                                        .arg(limits.idleTimeoutMs / 1000.0));
    case Stopped::No:
        break;
    }
    if (std::optional<RuntimeError> error = replyError(*reply, limits.maxRedirects))
        throw *error;
    body += reply->readAll();
    if (body.size() > limits.maxBytes)
        throw tooLarge(limits.maxBytes);
    return TextFile::decode(body);
}
