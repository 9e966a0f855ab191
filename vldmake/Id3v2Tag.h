#pragma once
// An MP3's ID3v2 tag read from its bytes, for the few frames the catalogue takes, with the
// readings TagLib gives them: vldmake's catalogue is the same whichever of the two read a
// file. TagLib builds an object, a byte vector and a string list per frame; most of the time
// vldmake spent on an MP3 went there.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <map>
#include <string>
#include <vector>

namespace Id3 {

// Text as TagLib holds it: UTF-16 code units, one per wchar_t.
using Text = std::wstring;
using TextList = std::vector<Text>;

// The bytes of a text in one of the tag's encodings (0 ISO-8859-1, 1 UTF-16 with a byte order
// mark, 2 UTF-16BE, 3 UTF-8, 4 UTF-16LE), up to the first NUL. Broken UTF-8 or a missing byte
// order mark give no text.
Text decode(QByteArrayView bytes, int encoding);
// A number at the start of a text after blanks, and whether the text is only that number.
int toInt(const Text &text, bool *ok = nullptr);
// Trimmed, for the catalogue; a text with a broken UTF-16 surrogate pair is empty.
QString toQString(const Text &text);
Text join(const TextList &list); // with blanks between
// The name of ID3v1 genre n in TagLib's list, empty for a number it does not name.
Text genreName(int n);

// One key of a tag's property map: "KEY" and the "KEY:DESCRIPTION" keys.
struct Property
{
    TextList values;
    std::map<Text, TextList> described;
    // The first value, or else the described values joined by blank lines.
    QString text() const;
};

enum Key { Artist, Title, Genre, Lyrics, Comment, kKeys };

// The ten bytes that open a tag.
struct Header
{
    int version = 4;
    bool unsynchronised = false;
    bool extended = false;
    bool footer = false;
    quint32 size = 0; // without header and footer; 0 when the header is broken

    static Header parse(QByteArrayView bytes);
    // Header, frames and footer: where the audio may start.
    quint32 completeSize() const { return size + 10 + (footer ? 10 : 0); }
};

struct Tag
{
    int frames = 0;           // an ID3v2 tag without frames gives way to the ID3v1 tag
    bool unsupported = false; // compressed or encrypted frames, an unknown version
    bool hasArtist = false, hasTitle = false, hasGenre = false, hasDate = false;
    TextList artist, title, genre, date; // the fields of the first TPE1, TIT2, TCON, TDRC
    Property properties[kKeys];

    // The frames of a tag's bytes (those after its header, as many as the file holds).
    static Tag parse(const Header &header, QByteArrayView bytes);
    // TagLib's summary of the genre frame: numbers named, repeats dropped.
    Text genreText() const;
};

} // namespace Id3
