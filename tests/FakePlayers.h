#pragma once
// Playlist players a test controls: what is loaded, the state, the times, and a record of
// what the program asked of them.

#include "TestSession.h"
#include "player/PlaylistPlayers.h"
#include "session/Session.h"

class FakePlayers : public PlaylistPlayers
{
public:
    bool fileLoaded() const override { return !file.isEmpty(); }
    QString detailsText() const override { return QStringLiteral("1, 1: Artist - Track\r\n"); }
    int playState() const override { return state; }
    double position() const override { return pos; }
    double duration() const override { return dur; }
    void setPosition(double seconds) override { pos = seconds; }
    void play() override { state = kPlaying; }
    void pause() override { state = kPaused; }
    void PlayWMP(Session &s) override { started.append(s.playlist.plIndex); }
    void reducevol(Session &) override { ++fades; }
    void unloadAll() override { file.clear(); }

    QString file;
    int state = kClosed;
    double pos = 0;
    double dur = 0;
    QList<int> started; // plIndex of each PlayWMP
    int fades = 0;
};

// A test session whose playlist players are fakes the test holds.
struct PlayerSession
{
    FakePlayers *players = nullptr;
    TestSession t{[this] {
        auto made = std::make_unique<FakePlayers>();
        players = made.get();
        return made;
    }};
};
