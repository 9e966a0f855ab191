#pragma once
// The music genre names, numbered as in ID3v1 tags: 0..79 are the ID3v1 genres, 80..147 the
// common extension of that list, 148..150 three later additions. The one list the program and
// the database maker share.

#include <QString>
#include <QStringList>

#include <optional>

constexpr int kGenreCount = 151;

// The 151 bare names, index = genre number ("Blues", ..., "Big Beat").
const QStringList &genreNames();

// The display entry of genre n: the name, a blank and the number in round brackets
// ("Blues (0)"), in square brackets for 148..150 ("Garage [148]"). Empty for other n.
QString genreEntry(int n);

// The genre number a tag's genre text stands for: a name of the list (compared without regard
// to case or surrounding blanks), a number in round brackets at the start ("(17)", "(17)Rock"),
// or a plain number; numbers are accepted from 0 to 255 (255 means "no genre" in ID3v1).
// Nothing for anything else.
std::optional<int> genreNumber(const QString &text);
