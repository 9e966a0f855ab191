#include "player/PlayerControl.h"

#include "foundation/NumericText.h"
#include "session/Session.h"

#include <cmath>

QString num2time(double seconds)
{
    const auto whole = static_cast<qint64>(std::floor(seconds));
    const qint64 rest = ((whole % 60) + 60) % 60;
    return QStringLiteral("%1:%2").arg((whole - rest) / 60).arg(rest, 2, 10, QChar(u'0'));
}

void WMPreset(Session &s)
{
    s.players->unloadAll();
    s.playlist.clear();
    s.playlist.plIndex = 0;
    s.console.ClScreen();
}

void trackendcheck(Session &s)
{
    const double duration = s.players->duration();
    const double position = s.players->position();
    if (std::floor(duration) != std::floor(position) + 5)
        return;
    const int next = s.playlist.plIndex + 1;
    if (next >= Playlist::kCapacity || s.playlist[next].artist.isEmpty())
        return;
    s.playlist.plIndex = static_cast<qint16>(next);
    s.players->PlayWMP(s);
}

void RestorePlaylist(Session &s)
{
    s.playlist.restore(s.config.folder.programFolder(QStringLiteral("playlist.dat")));
    const QString &index = s.opt[Options::PlaylistPosition];
    if (Numeric::isNumeric(index))
        s.playlist.plIndex = Numeric::toInteger(index);
    s.players->PlayWMP(s);
    const QString &state = s.opt[Options::PlayState];
    if (state == u"2")
        s.players->play();
    else if (state == u"1")
        s.players->pause();
    const QString &position = s.opt[Options::PlayPosition];
    if (Numeric::isNumeric(position))
        s.players->setPosition(Numeric::toDouble(position));
}

void SavePlaylistFile(Session &s)
{
    s.playlist.save(s.config.folder.programFolder(QStringLiteral("playlist.dat")));
}

void SavePlaylistState(Session &s)
{
    s.opt[Options::PlaylistPosition] = QString::number(s.playlist.plIndex);
    s.opt[Options::PlayState] = QString::number(s.players->playState());
    s.opt[Options::PlayPosition] = QString::number(s.players->position(), 'g', 15);
}
