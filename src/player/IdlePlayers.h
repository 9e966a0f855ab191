#pragma once
// The playlist players until playback is built: nothing is ever loaded, so every
// request is answered as a closed player answers it.

#include "player/PlaylistPlayers.h"

class IdlePlayers : public PlaylistPlayers
{
public:
    bool fileLoaded() const override { return false; }
    QString detailsText() const override { return {}; }
    int playState() const override { return kClosed; }
    double position() const override { return 0; }
    double duration() const override { return 0; }
    void setPosition(double) override {}
    void play() override {}
    void pause() override {}
    void PlayWMP(Session &) override {}
    void reducevol(Session &) override {}
    void unloadAll() override {}
};
