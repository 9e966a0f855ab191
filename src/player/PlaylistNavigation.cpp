#include "player/PlaylistNavigation.h"

#include "player/PlayerControl.h"
#include "session/Session.h"

void skipTo(Session &s, int index)
{
    s.playlist.plIndex = static_cast<qint16>(index);
    reducevol(s);
    PlayWMP(s);
    // PlayWMP redraws the view only when the entry starts; the index moved either way.
    if (s.pager.plView)
        s.pager.mLineDisp(6);
}

void skipNext(Session &s)
{
    if (s.playlist.plIndex < Playlist::kCapacity - 1)
        skipTo(s, s.playlist.plIndex + 1);
}

void skipPrevious(Session &s)
{
    if (s.playlist.plIndex > 0)
        skipTo(s, s.playlist.plIndex - 1);
}

void play(Session &s)
{
    MediaPlayer &player = s.players.inUse();
    if (player.playState() == MediaPlayer::kClosed) {
        s.playlist.plIndex = 0;
        PlayWMP(s);
    } else {
        player.play();
    }
}

void playPause(Session &s)
{
    MediaPlayer &player = s.players.inUse();
    if (player.playState() == MediaPlayer::kPlaying)
        player.pause();
    else
        play(s);
}

void setPlaylistVolume(Session &s, int volume)
{
    s.opt.setPlayerVolume(volume);
    s.players.applyVolume();
}
