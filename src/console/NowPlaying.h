#pragma once
// What the console asks of the playlist player in use when it redraws the prompt.

#include <QString>

class NowPlaying
{
public:
    virtual ~NowPlaying() = default;
    virtual bool fileLoaded() const = 0;
    // The details line of the current playlist entry, without a line end.
    virtual QString detailsText() const = 0;
};
