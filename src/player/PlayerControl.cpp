#include "player/PlayerControl.h"

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "library/DatabaseFiles.h"
#include "library/TrackDetails.h"
#include "session/Session.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

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

QString num2time(double seconds)
{
    const auto whole = static_cast<qint64>(std::floor(seconds));
    const qint64 rest = ((whole % 60) + 60) % 60;
    return QStringLiteral("%1:%2").arg((whole - rest) / 60).arg(rest, 2, 10, QChar(u'0'));
}

void PlayWMP(Session &s)
{
    Players &players = s.players;
    try {
        const double inUse = Numeric::toDouble(s.opt[Options::PlayerInUse]);
        s.opt[Options::PlayerInUse] = inUse == 0 ? QStringLiteral("1") : QStringLiteral("0");
        // A track loaded onto the player still fading out would be faded out and stopped
        // with it: that fade ends here, and the new track plays at the user's volume.
        if (players.timRedVol.isActive() && players.fadePlayer == players.inUseIndex())
            players.timRedVol.stop();
        players.applyVolume();
        MediaPlayer &player = players.inUse();
        player.setFileName(QString());
        const Playlist::Entry &entry = s.playlist[s.playlist.plIndex];
        const qint16 a = Numeric::roundToInteger(std::floor(Numeric::toDouble(entry.artist)));
        const qint16 t = Numeric::roundToInteger(std::floor(Numeric::toDouble(entry.track)));
        player.setFileName(vldFN(s, a, t));
        if (s.console.dispMode == Console::Prompt && s.opt[Options::ShowNowPlaying] == u"1" &&
            !player.fileName().isEmpty()) {
            s.console.DrawText(QStringLiteral("Playing track:"), 27, -1, 0);
            s.console.DrawText(QString(92, u' '), 28, -1, 0);
            s.console.DrawText(s.players.detailsText(), 28, -1, 0);
        }
        if (s.pager.plView)
            s.pager.mLineDisp(6);
    } catch (const RuntimeError &) {
        // Silent by rule: the player switch and the unload have happened, nothing plays.
    }
}

void WMPreset(Session &s)
{
    s.players.wmp(0).setFileName(QString());
    s.players.wmp(1).setFileName(QString());
    s.playlist.clear();
    s.playlist.plIndex = 0;
    s.console.ClScreen();
}

void reducevol(Session &s)
{
    Players &players = s.players;
    if (players.timRedVol.isActive()) {
        players.timRedVol.stop();
        players.wmp(players.fadePlayer).stop();
        players.applyVolume();
    }
    players.fadePlayer = static_cast<qint16>(players.inUseIndex());
    players.fadeFloor = players.fullLevel() + Players::kFadeFloor;
    players.timRedVol.setInterval(Players::kFadeInterval);
    players.timRedVol.setTimerType(Qt::PreciseTimer);
    players.timRedVol.start();
}

void fadeTick(Session &s)
{
    Players &players = s.players;
    MediaPlayer &fading = players.wmp(players.fadePlayer);
    fading.setVolume(fading.volume() - Players::kFadeStep);
    if (fading.volume() <= players.fadeFloor) {
        fading.stop();
        players.timRedVol.stop();
        players.applyVolume();
    }
}

void trackendcheck(Session &s)
{
    // From the second in which five whole seconds remain on, so a moment the loop was busy (a
    // large catalogue loading) or a jump with "]" past that second never stops the list. A
    // track of less than five seconds never advances.
    MediaPlayer &player = s.players.inUse();
    const double wholeDuration = std::floor(player.duration());
    if (wholeDuration < 5 || std::floor(player.position()) + 5 < wholeDuration)
        return;
    const int next = s.playlist.plIndex + 1;
    if (next >= Playlist::kCapacity || s.playlist[next].artist.isEmpty())
        return;
    s.playlist.plIndex = static_cast<qint16>(next);
    PlayWMP(s);
}

void RestorePlaylist(Session &s)
{
    s.playlist.restore(s.config.folder.programFolder(QStringLiteral("playlist.dat")));
    const QString &index = s.opt[Options::PlaylistPosition];
    if (Numeric::isNumeric(index))
        s.playlist.plIndex = Numeric::toInteger(index);
    PlayWMP(s);
    MediaPlayer &player = s.players.inUse();
    const QString &state = s.opt[Options::PlayState];
    if (state == u"2")
        player.play();
    else if (state == u"1")
        player.pause();
    const QString &position = s.opt[Options::PlayPosition];
    if (Numeric::isNumeric(position))
        player.setPosition(Numeric::toDouble(position));
}

void SavePlaylistFile(Session &s)
{
    s.playlist.save(s.config.folder.programFolder(QStringLiteral("playlist.dat")));
}

void SavePlaylistState(Session &s)
{
    MediaPlayer &player = s.players.inUse();
    s.opt[Options::PlaylistPosition] = QString::number(s.playlist.plIndex);
    s.opt[Options::PlayState] = QString::number(player.playState());
    s.opt[Options::PlayPosition] = QString::number(player.position(), 'g', 15);
}
