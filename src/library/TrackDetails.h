#pragma once
// The one-line description of a track, as listings, the playlist view and the now-playing
// display show it.

#include <QAnyStringView>
#include <QString>
#include <QStringView>

class Catalogue;

// a + ", " + t + ": " + artist name + " - " + track title, from the loaded database (an
// absent key shows as "[NOT FOUND]"), cut to 92 characters, and a line of exactly 92 cut to
// 89 + "..."; then CR LF. a and t are the texts of a playlist entry, used as they are.
QString TDetails(const Catalogue &catalogue, const QString &a, const QString &t);
// The same line from the artist's name and the track's title already found (a null view
// is "[NOT FOUND]"), for listings that have them without a lookup.
QString trackLine(QStringView a, QStringView t, QAnyStringView artist, QAnyStringView title);
