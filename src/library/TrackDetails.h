#pragma once
// The one-line description of a track, as listings, the playlist view and the now-playing
// display show it.

#include <QString>

class Catalogue;

// a + ", " + t + ": " + artist name + " - " + track title, from the loaded database (an
// absent key shows as "[NOT FOUND]"), cut to 92 characters, and a line of exactly 92 cut to
// 89 + "..."; then CR LF. a and t are the texts of a playlist entry, used as they are.
QString TDetails(const Catalogue &catalogue, const QString &a, const QString &t);
