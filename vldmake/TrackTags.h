#pragma once
// What vldmake reads from one audio file's tags (through TagLib, the only part of the
// program that uses it, and for MP3 files through Mp3Tags.h, which reads them as TagLib does).

#include <QString>

#include <optional>

struct TrackTags
{
    QString artist; // empty when the file has none
    QString title;
    int genre = 12; // the genre number of the program's table; 12 ("Other") when unknown
    int year = 0;   // 0 when unknown
    QString lyrics; // embedded lyrics (ID3v2 USLT, the Vorbis LYRICS field and the like)
    QString notes;  // the embedded comment
};

// The tags of the audio file at path, or nothing (with the reason in problem) when it cannot
// be read as audio at all: unreadable, damaged beyond its tags, or not the format its
// extension says.
// MP3 files are read by Mp3Tags, the others (and the MP3 layouts it leaves) by TagLib.
std::optional<TrackTags> readTrackTags(const QString &path, QString &problem);
// The same through TagLib alone, for any file checked readable.
std::optional<TrackTags> readTrackTagsWithTagLib(const QString &path, QString &problem);

// The genre number for a tag's genre text: a name of the program's table in any letter
// case, "(17)" and "17" forms, and the other spellings TagLib gives the numbered genres
// ("Psychedelic" for 67). Anything else, and no genre, is 12 ("Other").
int genreFromText(const QString &text);
