#pragma once
// The playlist players as the console sees them until playback is built: nothing loaded.

#include "console/NowPlaying.h"

class IdlePlayers : public NowPlaying
{
public:
    bool fileLoaded() const override { return false; }
    QString detailsText() const override { return {}; }
};
