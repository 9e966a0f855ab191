#pragma once
// The two playlist players as the rest of the program drives them: the one in use is
// asked what it plays, and the playlist is started, paused and reset through them.

#include "console/NowPlaying.h"

class Session;

class PlaylistPlayers : public NowPlaying
{
public:
    // Play states of the player in use.
    static constexpr int kPaused = 1;
    static constexpr int kPlaying = 2;
    static constexpr int kClosed = 6;

    virtual int playState() const = 0;
    // Seconds; 0 when nothing is loaded.
    virtual double position() const = 0;
    virtual double duration() const = 0;
    virtual void setPosition(double seconds) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;

    // Starts entry plIndex of the playlist on the other player.
    virtual void PlayWMP(Session &session) = 0;
    // Fades out the player in use.
    virtual void reducevol(Session &session) = 0;
    // Both players unloaded.
    virtual void unloadAll() = 0;
};
