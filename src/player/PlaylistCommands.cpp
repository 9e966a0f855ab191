#include "player/PlaylistCommands.h"

#include "foundation/Messages.h"
#include "foundation/NumericText.h"
#include "library/TrackDetails.h"
#include "session/Session.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <algorithm>

#include <cmath>

namespace {

const QString kPlaylistHeader = QStringLiteral(
    "Tracks in playlist (Enter - play top track; F9 - play/pause; F11 - previous; F12 - next):\r\n"
    "[ - back 10 seconds; ] - forward 10 seconds\r\n");

// randpl and rpas: one option switched by y and n, its state and usage otherwise.
struct Switch
{
    Options::Index option;
    const char *on;
    const char *off;
    const char *isOn;
    const char *isOff;
    const char *usage;
};

const Switch kRandpl = {Options::RandomPlaylists,
                        "Tracks in new playlists will be randomised.",
                        "Tracks in new playlists will no longer be randomised.",
                        "randpl is set to playing randomly.",
                        "randpl is set to not playing randomly.",
                        "Usage: randpl <y,n>"};
const Switch kRpas = {Options::ResetBeforeSearch,
                      "Playlist will reset after searching.",
                      "Playlist will no longer reset after searching.",
                      "rpas is set to reset playlist after searching.",
                      "rpas is set to not resetting playlist after searching.",
                      "Usage: rpas <y,n>"};

void setSwitch(Session &s, const CommandArgs &args, const Switch &sw)
{
    if (args.allArgs == u"y") {
        s.opt[sw.option] = QStringLiteral("1");
        s.console.DrawText(QString::fromUtf8(sw.on), 1);
    } else if (args.allArgs == u"n") {
        s.opt[sw.option] = QStringLiteral("0");
        s.console.DrawText(QString::fromUtf8(sw.off), 1);
    } else {
        s.console.DrawText(QString::fromUtf8(s.opt[sw.option] == u"1" ? sw.isOn : sw.isOff), 3);
        s.console.DrawText(QString::fromUtf8(sw.usage), 1);
    }
}

void cmdRandpl(Session &s, const CommandArgs &args)
{
    setSwitch(s, args, kRandpl);
}

void cmdRpas(Session &s, const CommandArgs &args)
{
    setSwitch(s, args, kRpas);
}

void cmdShuffle(Session &s, const CommandArgs &)
{
    RandomizeList(s, 0, true);
    s.players.skipTo(0);
}

// The largest whole number not above the text's number, in plain decimal.
QString wholePart(const QString &number)
{
    return QString::number(static_cast<qint64>(std::floor(Numeric::toDouble(number))));
}

void cmdAddat(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        s.console.DrawText(QStringLiteral("Usage: addat <artist number> <track number>"), 1);
        return;
    }
    if (s.vld.GetValue(args.arg1 + QStringLiteral("Genre") + args.rest) ==
        KeyValueStore::kNotFound) {
        s.ErorMsg(QStringLiteral("Invalid artist/track reference"), 1);
        return;
    }
    // A full table has no empty entry: the index past it raises "Subscript out of range".
    const int free = s.playlist.count();
    Playlist::Entry &entry = s.playlist[free];
    entry = {wholePart(args.arg1), wholePart(args.rest)};
    s.exe(QStringLiteral("vlpl"));
}

void cmdVlpl(Session &s, const CommandArgs &)
{
    QString text = kPlaylistHeader;
    for (int i = 0; i < Playlist::kCapacity && !s.playlist[i].artist.isEmpty(); ++i)
        text += TDetails(s.vld, s.playlist[i].artist, s.playlist[i].track);
    s.pager.plView = true;
    s.pager.mline(text);
}

void cmdVlplay(Session &s, const CommandArgs &)
{
    s.players.play();
}

void cmdVlpause(Session &s, const CommandArgs &)
{
    MediaPlayer &player = s.players.inUse();
    if (player.playState() == MediaPlayer::kPaused)
        player.play();
    else
        player.pause();
}

void cmdVlreset(Session &s, const CommandArgs &)
{
    s.resetPlaylist();
}

void cmdVlvol(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        s.console.DrawText(QStringLiteral("The playlist volume is %1.").arg(s.opt.playerVolume()),
                           1);
        return;
    }
    const std::optional<int> volume = Options::volumeFromText(args.allArgs);
    if (!volume) {
        s.console.DrawText(QStringLiteral("Usage: vlvol [0..100]"), 1);
        return;
    }
    s.setPlaylistVolume(*volume);
    s.console.DrawText(QStringLiteral("The playlist volume is set to %1.").arg(*volume), 1);
}

void cmdVldetails(Session &s, const CommandArgs &)
{
    QString &show = s.opt[Options::ShowNowPlaying];
    show = show.isEmpty() ? QStringLiteral("1") : QString();
    s.console.ClScreen();
}

} // namespace

int PLCount(const Session &s)
{
    const std::optional<double> reset = Numeric::parse(s.opt[Options::ResetBeforeSearch]);
    if (reset && *reset == 1)
        return 0;
    const int count = s.playlist.count();
    return count == Playlist::kCapacity ? 0 : count;
}

void RandomizeList(Session &s, int minItem, bool shuffleAnyway)
{
    if (!shuffleAnyway && s.opt[Options::RandomPlaylists] != u"1")
        return;
    QRandomGenerator random(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    const int last = s.playlist.count() - 1;
    for (int i = std::max(minItem, 0); i < last; ++i) {
        const int j = i + static_cast<int>(random.bounded(last - i + 1));
        std::swap(s.playlist[i], s.playlist[j]);
    }
}

void registerPlaylistCommands(CommandTable &table)
{
    table.add(QStringLiteral("shuffle"), cmdShuffle);
    table.add(QStringLiteral("randpl"), cmdRandpl);
    table.add(QStringLiteral("rpas"), cmdRpas);
    table.add(QStringLiteral("addat"), cmdAddat);
    table.add(QStringLiteral("vlpl"), cmdVlpl);
    table.add(QStringLiteral("vlplay"), cmdVlplay);
    table.add(QStringLiteral("vlpause"), cmdVlpause);
    table.add(QStringLiteral("vlreset"), cmdVlreset);
    table.add(QStringLiteral("vldetails"), cmdVldetails);
    table.add(QStringLiteral("vlvol"), cmdVlvol);
}
