#pragma once
// Small audio files made on the spot, so that the sample database, the tests and the
// benchmark need no recorded media: WAV tones, a silent MP3 stream, a FLAC file with no
// audio. Each is valid enough for a tag library to open and tag it.

#include <QList>
#include <QString>

namespace ToneFile {

struct Note
{
    double hertz = 440.0; // 0 for a rest
    int milliseconds = 250;
};

// A mono 16-bit PCM WAV of the notes one after another, each faded in and out so that
// it does not click. Answers false when the file cannot be written.
bool writeWav(const QString &path, const QList<Note> &notes, int sampleRate = 22050);

// Parses "440:250,0:100,523.25:500" (hertz:milliseconds, comma-separated); answers an empty
// list when any part is malformed.
QList<Note> parseNotes(const QString &text);

// An MPEG-1 Layer III stream of silent frames (128 kbit/s, 44.1 kHz), no tags.
bool writeSilentMp3(const QString &path, int frames);

// A FLAC file of a stream-information block and no audio frames.
bool writeEmptyFlac(const QString &path);

} // namespace ToneFile
