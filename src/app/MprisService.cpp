#include "app/MprisService.h"

#include "app/MprisAdaptors.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QMetaProperty>
#include <cstdlib>

namespace {

const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
// Often enough that a sound menu follows a track change at once, to a person's eye.
constexpr int kRefreshInterval = 250;
// A position this far from where playing on would have taken it is a jump (a seek by key).
constexpr qint64 kJumpMicroseconds = 2'000'000;

} // namespace

MprisService::MprisService(PlaylistRemote &remote, std::function<void()> raise)
    : m_remote(remote), m_raise(std::move(raise)), m_connection(QString())
{
    new MprisRootAdaptor(this);
    m_player = new MprisPlayerAdaptor(this);
    m_poll.setInterval(kRefreshInterval);
    connect(&m_poll, &QTimer::timeout, this, &MprisService::refresh);
}

MprisService::~MprisService()
{
    if (!m_name.isEmpty()) {
        m_connection.unregisterService(m_name);
        m_connection.unregisterObject(QString::fromLatin1(kObjectPath));
    }
}

bool MprisService::registerOn(QDBusConnection connection)
{
    if (!connection.isConnected())
        return false;
    const QString path = QString::fromLatin1(kObjectPath);
    if (!connection.registerObject(path, this, QDBusConnection::ExportAdaptors))
        return false;
    const QString name = QString::fromLatin1(kServiceName);
    for (const QString &candidate :
         {name, name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())}) {
        if (connection.registerService(candidate)) {
            m_connection = connection;
            m_name = candidate;
            m_last = playerProperties();
            m_lastPosition = m_remote.positionMicroseconds();
            m_sinceLast.start();
            m_poll.start();
            return true;
        }
    }
    connection.unregisterObject(path);
    return false;
}

void MprisService::raise() const
{
    if (m_raise)
        m_raise();
}

QDBusObjectPath MprisService::trackPath(int entry)
{
    if (entry < 0)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/i2kcmd/track/%1").arg(entry));
}

QVariantMap MprisService::playerProperties() const
{
    QVariantMap properties;
    const QMetaObject *meta = m_player->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        // The position changes all the time; the rule is that it is never signalled.
        if (qstrcmp(property.name(), "Position") != 0)
            properties.insert(QString::fromLatin1(property.name()), property.read(m_player));
    }
    return properties;
}

void MprisService::refresh()
{
    if (m_name.isEmpty())
        return;
    const QVariantMap now = playerProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_last.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    const qint64 position = m_remote.positionMicroseconds();
    if (!changed.contains(QStringLiteral("Metadata"))) {
        const bool playing = m_remote.status() == PlaylistRemote::Status::Playing;
        const qint64 expected = m_lastPosition + (playing ? m_sinceLast.elapsed() * 1000 : 0);
        if (std::abs(position - expected) > kJumpMicroseconds)
            emit m_player->Seeked(position);
    }
    m_lastPosition = position;
    m_sinceLast.restart();
    m_last = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    m_connection.send(signal);
}

void MprisService::seeked()
{
    m_lastPosition = m_remote.positionMicroseconds();
    m_sinceLast.restart();
    emit m_player->Seeked(m_lastPosition);
    refresh();
}
