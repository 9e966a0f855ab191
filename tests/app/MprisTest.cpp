// The playlist as an MPRIS media player, on a D-Bus daemon of the test's own: the user's
// session bus is never reached.

#include "EventLoop.h"
#include "TestSession.h"
#include "app/MprisService.h"
#include "player/PlaylistCommands.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kService = QString::fromLatin1(MprisService::kServiceName);
const QString kPath = QString::fromLatin1(MprisService::kObjectPath);
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// A dbus-daemon of its own, listening only on a socket in a temporary folder.
class PrivateBus
{
public:
    PrivateBus()
    {
        // The session bus's usual rules, listening only where this test says.
        m_daemon.start(
            QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"),
             QStringLiteral("--print-address=1"),
             QStringLiteral("--address=unix:path=") + m_dir.filePath(QStringLiteral("bus"))});
        if (m_daemon.waitForStarted() && waitFor([&] { return m_daemon.canReadLine(); }, 10000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("mpris-service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("mpris-client"));
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
    QString address() const { return m_address; }
    QDBusConnection connect(const QString &name) const
    {
        return QDBusConnection::connectToBus(m_address, name);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

// What the player says on the bus: changed properties and seeks.
class Listener : public QObject
{
    Q_OBJECT
public:
    QStringList changed;
    QList<qlonglong> seeks;
public slots:
    void propertiesChanged(const QString &, const QVariantMap &properties, const QStringList &)
    {
        changed += properties.keys();
    }
    void seeked(qlonglong position) { seeks.append(position); }
};

QDBusMessage call(QDBusConnection &bus, const QString &interface, const QString &method,
                  const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    message.setArguments(arguments);
    QDBusPendingCall pending = bus.asyncCall(message);
    waitFor([&] { return pending.isFinished(); });
    return pending.reply();
}

QVariant property(QDBusConnection &bus, const QString &interface, const QString &name)
{
    const QDBusMessage reply = call(bus, kProperties, QStringLiteral("Get"), {interface, name});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {};
    return reply.arguments().value(0).value<QDBusVariant>().variant();
}

QVariantMap metadata(QDBusConnection &bus)
{
    return qdbus_cast<QVariantMap>(property(bus, kPlayer, QStringLiteral("Metadata")));
}

QString trackId(const QVariantMap &metadata)
{
    return metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
}

TEST(Mpris, WithoutABusNothingIsRegistered)
{
    QTemporaryDir dir;
    TestSession t;
    PlaylistRemote remote(*t);
    MprisService mpris(remote, {});
    EXPECT_FALSE(mpris.registerOn(QDBusConnection::connectToBus(
        QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("none")),
        QStringLiteral("mpris-nobus"))));
    QDBusConnection::disconnectFromBus(QStringLiteral("mpris-nobus"));
}

// Each step goes through the bus as a media key or playerctl would send it; the player's
// state, what the bus then reads, and what was signalled are checked.
TEST(Mpris, TheDesktopSeesAndDrivesThePlaylist)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
    TestSession t;
    t.linkTracks(3, 1);
    for (int i = 0; i < 3; ++i)
        t->playlist[i] = {QString::number(i + 1), QStringLiteral("1")};
    t.player(0).dur = t.player(1).dur = 200;
    t->players.playCurrent(); // entry 0 on wmp(1)
    PlaylistRemote remote(*t);
    bool raised = false;
    MprisService mpris(remote, [&] { raised = true; });
    ASSERT_TRUE(mpris.registerOn(bus.connect(QStringLiteral("mpris-service"))));
    QDBusConnection client = bus.connect(QStringLiteral("mpris-client"));
    Listener listener;
    ASSERT_TRUE(client.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"),
                               &listener,
                               SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
    ASSERT_TRUE(client.connect(kService, kPath, kPlayer, QStringLiteral("Seeked"), &listener,
                               SLOT(seeked(qlonglong))));

    EXPECT_EQ(property(client, kRoot, QStringLiteral("Identity")).toString(),
              QStringLiteral("idrisk2k Command"));
    EXPECT_EQ(property(client, kRoot, QStringLiteral("DesktopEntry")).toString(),
              QStringLiteral("io.github.idrisk.i2kcmd"));
    EXPECT_EQ(property(client, kRoot, QStringLiteral("HasTrackList")), QVariant(false));
    const QVariantMap first = metadata(client);
    EXPECT_EQ(trackId(first), QStringLiteral("/org/i2kcmd/track/0"));
    EXPECT_EQ(first.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Track 1"));
    EXPECT_EQ(first.value(QStringLiteral("xesam:artist")).toStringList(),
              QStringList{QStringLiteral("Artist 1")});
    EXPECT_EQ(first.value(QStringLiteral("mpris:length")).toLongLong(), 200'000'000);
    EXPECT_EQ(first.value(QStringLiteral("xesam:url")).toString(),
              QStringLiteral("file:///music/1-1.mp3"));

    struct Step
    {
        const char *method;
        QVariantList arguments;
        const char *status;
        int entry;
        qint64 position;
        // A property the step must signal as changed; empty for a seek (Seeked instead).
        const char *signalled;
    };
    const auto track = [](int entry) {
        return QVariant::fromValue(MprisService::trackPath(entry));
    };
    const Step steps[] = {
        {"PlayPause", {}, "Paused", 0, 0, "PlaybackStatus"},
        {"PlayPause", {}, "Playing", 0, 0, "PlaybackStatus"},
        {"Seek", {qlonglong(10'000'000)}, "Playing", 0, 10'000'000, ""},
        {"SetPosition", {track(0), qlonglong(50'000'000)}, "Playing", 0, 50'000'000, ""},
        {"Next", {}, "Playing", 1, 0, "Metadata"},
        {"Next", {}, "Playing", 2, 0, "Metadata"},
        {"Pause", {}, "Paused", 2, 0, "PlaybackStatus"},
        {"Previous", {}, "Playing", 1, 0, "Metadata"},
        {"Stop", {}, "Stopped", 1, 0, "PlaybackStatus"},
        {"Play", {}, "Playing", 1, 0, "PlaybackStatus"},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.method);
        listener.changed.clear();
        listener.seeks.clear();
        const int fading = t->players.inUseIndex();
        const QDBusMessage reply =
            call(client, kPlayer, QString::fromLatin1(step.method), step.arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        // A skip takes the keys' path: the track it leaves fades out.
        if (qstrcmp(step.method, "Next") == 0 || qstrcmp(step.method, "Previous") == 0) {
            EXPECT_TRUE(t->players.fading());
            EXPECT_EQ(t->players.fadingPlayer(), fading);
        }
        EXPECT_EQ(property(client, kPlayer, QStringLiteral("PlaybackStatus")).toString(),
                  QString::fromLatin1(step.status));
        EXPECT_EQ(trackId(metadata(client)), MprisService::trackPath(step.entry).path());
        EXPECT_EQ(property(client, kPlayer, QStringLiteral("Position")).toLongLong(),
                  step.position);
        if (*step.signalled) {
            EXPECT_TRUE(waitFor(
                [&] { return listener.changed.contains(QString::fromLatin1(step.signalled)); },
                5000));
        } else {
            EXPECT_TRUE(waitFor([&] { return listener.seeks.contains(step.position); }, 5000));
        }
    }

    // Past the last entry Next does nothing; a position for another track, or past the end of
    // this one, is ignored.
    call(client, kPlayer, QStringLiteral("Next"));
    call(client, kPlayer, QStringLiteral("Next"));
    EXPECT_EQ(trackId(metadata(client)), QStringLiteral("/org/i2kcmd/track/2"));
    EXPECT_EQ(property(client, kPlayer, QStringLiteral("CanGoNext")), QVariant(false));
    listener.seeks.clear();
    call(client, kPlayer, QStringLiteral("SetPosition"), {track(0), qlonglong(9'000'000)});
    call(client, kPlayer, QStringLiteral("SetPosition"), {track(2), qlonglong(500'000'000)});
    EXPECT_EQ(property(client, kPlayer, QStringLiteral("Position")).toLongLong(), 0);
    EXPECT_FALSE(listener.seeks.contains(9'000'000));
    EXPECT_FALSE(listener.seeks.contains(500'000'000));

    // The volume is vlvol's, both ways, and signalled.
    const std::pair<double, int> volumes[] = {{0.5, 50}, {0.0, 0}, {1.7, 100}, {0.333, 33}};
    for (const auto &[sent, volume] : volumes) {
        listener.changed.clear();
        const QDBusMessage reply =
            call(client, kProperties, QStringLiteral("Set"),
                 {kPlayer, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(sent))});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << sent;
        EXPECT_EQ(t->opt.playerVolume(), volume) << sent;
        EXPECT_EQ(t->players.inUse().volume(), Players::levelOf(volume)) << sent;
        EXPECT_DOUBLE_EQ(property(client, kPlayer, QStringLiteral("Volume")).toDouble(),
                         volume / 100.0);
        EXPECT_TRUE(
            waitFor([&] { return listener.changed.contains(QStringLiteral("Volume")); }, 5000));
    }
    listener.changed.clear();
    t->exe(QStringLiteral("vlvol 80"));
    EXPECT_TRUE(waitFor([&] { return listener.changed.contains(QStringLiteral("Volume")); }, 5000));

    call(client, kRoot, QStringLiteral("Raise"));
    EXPECT_TRUE(raised);
    EXPECT_FALSE(t->closeRequested());
    call(client, kRoot, QStringLiteral("Quit"));
    EXPECT_TRUE(t->closeRequested());
}

} // namespace

#include "MprisTest.moc"
