// The MP3 reader against TagLib, the arbiter: a table of tags made byte by byte (every version,
// encoding and frame form the catalogue reads, and hostile ones), each file read both ways;
// the catalogue is made of these fields alone, so equal fields make an equal catalogue.

#include "MusicFolder.h"

#include "Mp3Tags.h"
#include "TrackTags.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

namespace {

QByteArray audio(int frames = 4)
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x44);
    return frame.repeated(frames);
}

QByteArray bigEndian(quint32 n, int width)
{
    QByteArray out;
    for (int i = width - 1; i >= 0; --i)
        out += char(n >> (8 * i));
    return out;
}

QByteArray synchsafe(quint32 n)
{
    QByteArray out;
    for (int shift : {21, 14, 7, 0})
        out += char(n >> shift & 0x7f);
    return out;
}

// A frame of tag version v; flags are the two flag bytes of 2.3 and 2.4.
QByteArray frame(int v, const QByteArray &id, const QByteArray &body, quint16 flags = 0,
                 qint64 size = -1)
{
    const quint32 n = size < 0 ? quint32(body.size()) : quint32(size);
    if (v == 2)
        return id + bigEndian(n, 3) + body;
    return id + (v == 3 ? bigEndian(n, 4) : synchsafe(n)) + bigEndian(flags, 2) + body;
}

QByteArray tag(int v, const QByteArray &frames, int flags = 0, int padding = 0, qint64 size = -1)
{
    const quint32 n = size < 0 ? quint32(frames.size() + padding) : quint32(size);
    return "ID3" + QByteArray(1, char(v)) + '\0' + char(flags) + synchsafe(n) + frames +
           QByteArray(padding, '\0');
}

QByteArray latin1(const char *text)
{
    return '\0' + QByteArray(text);
}
QByteArray utf8(const QString &text)
{
    return '\3' + text.toUtf8();
}
QByteArray utf16(const QString &text, bool bom = true, bool big = false)
{
    QByteArray out = bom ? (big ? QByteArray("\xfe\xff") : QByteArray("\xff\xfe")) : QByteArray();
    for (QChar c : text)
        out += big ? bigEndian(c.unicode(), 2)
                   : QByteArray(1, char(c.unicode())) + char(c.unicode() >> 8);
    return out;
}

// The 128 bytes of an ID3v1 tag; a track makes it version 1.1.
QByteArray v1(const char *title, const char *artist, const char *year, const char *comment,
              int genre, int track = 0)
{
    const auto field = [](const char *text, int width) {
        QByteArray f(text);
        f.resize(width, '\0');
        return f;
    };
    QByteArray out = "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) +
                     field(year, 4) + field(comment, 30) + char(genre);
    if (track) {
        out[125] = 0;
        out[126] = char(track);
    }
    return out;
}

struct Case
{
    const char *name;
    QByteArray bytes;
    bool leftToTagLib = false;
};

QList<Case> cases()
{
    const QByteArray a = audio();
    const QByteArray comm = "eng";
    QList<Case> t = {
        {"v2.4 UTF-8, the catalogue's frames",
         tag(4,
             frame(4, "TPE1", utf8(QStringLiteral("Émile"))) +
                 frame(4, "TIT2", utf8(QStringLiteral("Größte"))) +
                 frame(4, "TCON", utf8(QStringLiteral("Jazz"))) +
                 frame(4, "TDRC", utf8(QStringLiteral("1987-05-06"))) +
                 frame(4, "USLT", '\3' + comm + QByteArray("\0first\nsecond", 13)) +
                 frame(4, "COMM", '\3' + comm + QByteArray("\0a note\0", 8)),
             0, 64) +
             a},
        {"v2.3 UTF-16 both byte orders, fields without a BOM after the first",
         tag(3, frame(3, "TPE1", '\1' + utf16(QStringLiteral("Ünits"), true, true)) +
                    frame(3, "TIT2",
                          '\1' + utf16(QStringLiteral("One")) + QByteArray(2, '\0') +
                              utf16(QStringLiteral("Two"), false)) +
                    frame(3, "TCON", '\1' + utf16(QStringLiteral("(9)Metal"), true, true)) +
                    frame(3, "TYER", latin1("2001")) +
                    frame(3, "COMM",
                          '\1' + comm + utf16(QStringLiteral("d")) + QByteArray(2, '\0') +
                              utf16(QStringLiteral("text"), true, true))) +
             a},
        {"v2.4 UTF-16BE and UTF-16LE, ISO-8859-1 high bytes",
         tag(4, frame(4, "TPE1", '\2' + utf16(QStringLiteral("Big"), false, true)) +
                    frame(4, "TIT2", '\4' + utf16(QStringLiteral("Little"), false)) +
                    frame(4, "TCON", latin1("Caf\xe9")) + frame(4, "TRDC", latin1("1999"))) +
             a},
        {"v2.2 three-letter frames",
         tag(2, frame(2, "TP1", latin1("Old")) + frame(2, "TT2", latin1("Title")) +
                    frame(2, "TCO", latin1("(17)")) + frame(2, "TYE", latin1("1994")) +
                    frame(2, "ULT", '\0' + comm + QByteArray("\0words", 6)) +
                    frame(2, "COM", '\0' + comm + QByteArray("\0said", 5)) +
                    frame(2, "TDA", latin1("0101"))) +
             a},
        {"v2.3 frames with 2.2 names (iTunes)",
         tag(3, frame(3, QByteArray("TP1\0", 4), latin1("Tunes")) +
                    frame(3, QByteArray("TT2\0", 4), latin1("Song"))) +
             a},
        {"genre forms",
         tag(4, frame(4, "TCON", latin1("(17)Rock")) + frame(4, "TPE1", latin1("X"))) + a},
        {"genre number", tag(3, frame(3, "TCON", latin1("17"))) + a},
        {"genre numbers", tag(3, frame(3, "TCON", latin1("(17)(9)(RX)"))) + a},
        {"genre with blank", tag(3, frame(3, "TCON", latin1(" 17"))) + a},
        {"genre with sign", tag(3, frame(3, "TCON", latin1("+17"))) + a},
        {"genre negative", tag(3, frame(3, "TCON", latin1("-1"))) + a},
        {"genre 255", tag(3, frame(3, "TCON", latin1("(255)"))) + a},
        {"genre TagLib spelling", tag(3, frame(3, "TCON", latin1("Psychedelic"))) + a},
        {"genre unknown", tag(3, frame(3, "TCON", latin1("Vaporwave"))) + a},
        {"genre fields", tag(4, frame(4, "TCON",
                                      QByteArray("\0\0"
                                                 "17\0Jazz",
                                                 9))) +
                             a},
        {"genre empty then v1", tag(4, frame(4, "TCON", latin1(""))) + a + v1("", "", "", "", 9)},
        {"two genre frames",
         tag(4, frame(4, "TCON", latin1(" ")) + frame(4, "TCON", latin1("Polka"))) + a},
        {"year forms", tag(4, frame(4, "TDRC", latin1(" 199"))) + a},
        {"year negative", tag(4, frame(4, "TDRC", latin1("-123"))) + a},
        {"year letters then v1",
         tag(4, frame(4, "TDRC", latin1("abcd"))) + a + v1("", "", "1977", "", 255)},
        {"described comments and lyrics",
         tag(3, frame(3, "COMM", '\0' + comm + QByteArray("zeta\0last", 9)) +
                    frame(3, "COMM", '\0' + comm + QByteArray("alpha\0first", 11)) +
                    frame(3, "USLT", '\0' + comm + QByteArray("Lyrics\0plain", 12)) +
                    frame(3, "USLT", '\0' + comm + QByteArray("x\0other", 7))) +
             a},
        {"comment without its text",
         tag(3, frame(3, "COMM", '\0' + comm + "only") +
                    frame(3, "COMM", '\0' + comm + QByteArray("\0later", 6))) +
             a},
        {"user texts under catalogue keys",
         tag(4, frame(4, "TXXX", QByteArray("\0artist\0From TXXX", 17)) +
                    frame(4, "TPE1", latin1("Real")) +
                    frame(4, "TXXX", QByteArray("\0Comment:x\0note", 15)) +
                    frame(4, "TXXX", latin1("title"))) +
             a},
        {"unsynchronised v2.3 tag",
         tag(3,
             frame(3, "TPE1", QByteArray("\0\xff\0 \xff\0\xe0", 7)) + frame(3, "TIT2", latin1("T")),
             0x80) +
             a},
        {"v2.4 frame unsynchronised, with its data length",
         tag(4, frame(4, "TPE1", QByteArray("\0\0\0\x05\0\xff\0\xe9z", 9), 0x0003) +
                    frame(4, "TIT2", latin1("after"))) +
             a},
        {"v2.4 data length past the frame",
         tag(4, frame(4, "TPE1", QByteArray("\0\0\0\x7f\0Ann", 8), 0x0001) +
                    frame(4, "TIT2", latin1("Tail"))) +
             a},
        {"v2.4 frame with a 2.3 size",
         tag(4, "COMM" + bigEndian(300, 4) + QByteArray(2, '\0') + '\0' + comm + '\0' +
                    QByteArray(295, 'c') + frame(4, "TPE1", latin1("Tunes"))) +
             a},
        {"v2.3 extended header",
         tag(3, bigEndian(6, 4) + QByteArray(6, '\0') + frame(3, "TPE1", latin1("Ext")), 0x40, 32) +
             a},
        {"v2.4 extended header",
         tag(4, synchsafe(6) + QByteArray("\x01\0", 2) + frame(4, "TPE1", latin1("Ext")), 0x40,
             32) +
             a},
        {"footer", tag(4, frame(4, "TPE1", latin1("Foot")) + frame(4, "TIT2", latin1("x")), 0x10) +
                       "3DI" + QByteArray(7, '\0') + a},
        {"zero-size frame", tag(3, frame(3, "TIT2", latin1("A")) + frame(3, "TPE1", {}) +
                                       frame(3, "TALB", latin1("B"))) +
                                a},
        {"frame past the tag",
         tag(3, frame(3, "TPE1", latin1("Long"), 0, 50) + frame(3, "TIT2", latin1("x")), 0, 0, 20) +
             a},
        {"frame a little past the tag",
         tag(3, frame(3, "TPE1", latin1("Long"), 0, 12), 0, 0, 15) + a},
        {"tag past the file", tag(4, frame(4, "TPE1", latin1("Lost")), 0, 0, 0x0fffffff) + a},
        {"odd UTF-16 lengths", tag(3, frame(3, "TPE1", '\1' + utf16(QStringLiteral("Odd")) + 'x') +
                                          frame(3, "TIT2", QByteArray("\1\xff", 2))) +
                                   a},
        {"unterminated and NUL-cut strings",
         tag(3, frame(3, "TPE1", QByteArray("\0Cut\0\0\0Here", 11)) +
                    frame(3, "USLT", '\1' + comm + utf16(QStringLiteral("d"))) +
                    frame(3, "COMM", '\0' + comm + QByteArray("\0a\0b", 4))) +
             a},
        {"lone surrogate", tag(3, frame(3, "TPE1",
                                        '\1' + utf16(QStringLiteral("a")) +
                                            QByteArray("\x00\xd8"
                                                       "b\0",
                                                       4))) +
                               a},
        {"surrogate pair",
         tag(3, frame(3, "TPE1", '\1' + utf16(QString::fromUcs4(U"a\U0001F3B5")))) + a},
        {"broken UTF-8", tag(4, frame(4, "TPE1", QByteArray("\3bad\xc3(", 6)) +
                                    frame(4, "TIT2", utf8(QStringLiteral("\uFEFFbom")))) +
                             a},
        {"broken byte order mark",
         tag(3, frame(3, "TPE1", QByteArray("\1ab\0\0", 5)) + frame(3, "TIT2", latin1("ok"))) + a},
        {"only a private frame, and ID3v1",
         tag(3, frame(3, "PRIV", QByteArray("owner\0data", 10))) + a +
             v1("Old Title", "Old Artist", "1980", " note ", 148, 3)},
        {"only lyrics, and ID3v1",
         tag(3, frame(3, "USLT", '\0' + comm + QByteArray("\0words", 6))) + a +
             v1("T", "A", "1980", "c", 2)},
        {"ID3v1 only",
         a + v1("  Spaced  ", "\tArtist", " 1999", "comment that fills thirty byte", 20)},
        {"ID3v1 genre none", a + v1("T", "", "", "", 255)},
        {"ID3v1 beside ID3v2 genre",
         tag(4, frame(4, "TCON", latin1("Polka"))) + a + v1("", "", "", "", 148)},
        {"no tags", a},
        {"repeated tags", tag(3, frame(3, "TPE1", latin1("First"))) +
                              tag(3, frame(3, "TPE1", latin1("Second"))) + a},
        {"tag of size 0", tag(3, {}) + a},
        {"tag with a broken size", QByteArray("ID3\3\0\0\x80\0\0\0", 10) + a},
        {"junk, then the tag",
         QByteArray(100, 'j') + tag(3, frame(3, "TPE1", latin1("Later"))) + a},
        {"junk, then audio", QByteArray(100, 'j') + a},
        {"audio, then a tag", a + tag(3, frame(3, "TPE1", latin1("After")))},
        {"a tag and no audio", tag(3, frame(3, "TPE1", latin1("X"))) + QByteArray(2000, '\0')},
        {"noise", QByteArray(4096, '\x5a')},
        {"one frame only",
         tag(3, frame(3, "TPE1", latin1("X"))) + audio(1) + QByteArray(500, '\0')},
        {"an encrypted picture",
         tag(3, frame(3, "APIC", QByteArray(30, 'p'), 0x0040) + frame(3, "TPE1", latin1("E"))) + a},
        {"an APE tag", a + "APETAGEX" + QByteArray(24, '\0'), true},
        {"tag version 5", tag(5, frame(4, "TPE1", latin1("Future"))) + a, true},
        {"an encrypted artist", tag(3, frame(3, "TPE1", QByteArray(30, 'p'), 0x0040)) + a, true},
        {"a compressed title", tag(4, frame(4, "TIT2", QByteArray(30, 'z'), 0x0009)) + a, true},
        {"an unknown text encoding", tag(3, frame(3, "TPE1", QByteArray("\x07xy", 3))) + a, true},
    };
    return t;
}

void expectSame(const TrackTags &ours, const TrackTags &theirs)
{
    EXPECT_EQ(ours.artist, theirs.artist);
    EXPECT_EQ(ours.title, theirs.title);
    EXPECT_EQ(ours.genre, theirs.genre);
    EXPECT_EQ(ours.year, theirs.year);
    EXPECT_EQ(ours.lyrics, theirs.lyrics);
    EXPECT_EQ(ours.notes, theirs.notes);
}

} // namespace

TEST(Mp3Tags, ReadsEveryTagAsTagLibDoes)
{
    MusicFolder music;
    const QList<Case> table = cases();
    for (qsizetype i = 0; i < table.size(); ++i) {
        const Case &c = table[i];
        SCOPED_TRACE(c.name);
        const QString file = music.file(QStringLiteral("%1.mp3").arg(i), c.bytes);
        TrackTags ours;
        const Mp3Tags::Outcome outcome = Mp3Tags::read(file, ours);
        if (c.leftToTagLib) {
            EXPECT_EQ(outcome, Mp3Tags::Outcome::Undecided);
            continue;
        }
        ASSERT_NE(outcome, Mp3Tags::Outcome::Undecided);
        QString problem;
        const std::optional<TrackTags> theirs = readTrackTagsWithTagLib(file, problem);
        ASSERT_EQ(outcome == Mp3Tags::Outcome::Read, theirs.has_value()) << qPrintable(problem);
        if (!theirs)
            continue;
        expectSame(ours, *theirs);
    }
}

// Sparse files of a gigabyte, one with a tag that claims the most a tag can hold: read in
// bounded pieces, and no audio, without a wait or the memory to hold them.
TEST(Mp3Tags, HugeDeclaredSizesAndSparseFilesAreBoundedReads)
{
    MusicFolder music;
    for (const QByteArray &start : {tag(4, frame(4, "TPE1", latin1("Big")), 0, 0, 0x0fffffff),
                                    QByteArray(), QByteArray(4096, '\xff')}) {
        const QString file = music.file(QStringLiteral("sparse.mp3"), start);
        QFile sparse(file);
        ASSERT_TRUE(sparse.resize(qint64(1) << 30));
        TrackTags tags;
        EXPECT_EQ(Mp3Tags::read(file, tags), Mp3Tags::Outcome::NotAudio);
    }
}

// Tags as a tagging program writes them: TagLib's own, in both versions it writes.
TEST(Mp3Tags, ReadsTagLibsOwnTagsAsTagLibDoes)
{
    MusicFolder music;
    for (int version : {3, 4}) {
        SCOPED_TRACE(version);
        const QString file = music.mp3(QStringLiteral("v%1.mp3").arg(version),
                                       {{"ARTIST", QStringLiteral("Émile & the Ünits")},
                                        {"TITLE", QStringLiteral("Größte Hits")},
                                        {"GENRE", QStringLiteral("Jazz")},
                                        {"DATE", QStringLiteral("1987-02-03")},
                                        {"LYRICS", QStringLiteral("first line\nsecond line")},
                                        {"COMMENT", QStringLiteral("a note")}});
        {
            TagLib::MPEG::File mp3(QFile::encodeName(file).constData());
            auto *multi = new TagLib::ID3v2::TextIdentificationFrame("TPE1", TagLib::String::UTF16);
            multi->setText(TagLib::StringList(TagLib::String("Second")).append("Third"));
            mp3.ID3v2Tag()->addFrame(multi);
            mp3.ID3v1Tag(true)->setGenreNumber(150);
            ASSERT_TRUE(mp3.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone,
                                 version == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4));
        }
        TrackTags ours;
        ASSERT_EQ(Mp3Tags::read(file, ours), Mp3Tags::Outcome::Read);
        QString problem;
        const auto theirs = readTrackTagsWithTagLib(file, problem);
        ASSERT_TRUE(theirs.has_value());
        expectSame(ours, *theirs);
    }
}
