#pragma once
// Music databases for tests, written with the program's own archive writer: a catalogue of
// keys and values (the VELMORAD entry) and the embedded data its references point at.

#include "foundation/TextFile.h"
#include "formats/ArchiveWriter.h"
#include "formats/KeyValueStore.h"

class CatalogueFile
{
public:
    explicit CatalogueFile(const QString &path) : m_archive(path) {}

    // Embeds bytes in the archive; answers "offset|length", the fields of a reference.
    QString embed(const QString &name, const QByteArray &bytes)
    {
        const quint64 offset = m_archive.addBytes(name, bytes);
        return QStringLiteral("%1|%2").arg(offset).arg(bytes.size());
    }
    CatalogueFile &set(const QString &key, const QString &value)
    {
        m_keys.SetValue(key, value);
        return *this;
    }
    // Adds the catalogue and puts the archive in place.
    void finish()
    {
        m_archive.addBytes(QStringLiteral("VELMORAD"), TextFile::encode(m_keys.text()));
        m_archive.finish();
    }

private:
    ArchiveWriter m_archive;
    KeyValueStore m_keys;
};

// The sample database of the library tests and transcripts (the example of docs/formats.md):
//   1 The Beatles: 1 Love Me Do (linked, lyrics), 2 Yesterday (embedded mp3, notes),
//                  3 Here Comes The Sun (embedded with a lower-case "l", no lyrics or notes keys)
//   2 Beat Happening: 1 Indian Summer (linked, empty lyrics and notes), 2 Cast a Shadow
//   3 an artist whose two track descriptions are 92 and 100 characters long
//   batches: 1 Road trip {1_2}{2_1}, 2 Sunny {1_3}
inline void writeSampleDatabase(const QString &path)
{
    CatalogueFile db(path);
    const QString yesterday =
        db.embed(QStringLiteral("T1_2"), QByteArrayLiteral("ID3 mp3 bytes\0\xff"));
    const QString sun = db.embed(QStringLiteral("T1_3"), QByteArrayLiteral("OggS sun"));
    const QString loveLyrics =
        db.embed(QStringLiteral("L1_1"), "Love, love me do\r\nYou know I love you");
    const QString yesterdayNotes = db.embed(QStringLiteral("N1_2"), "Recorded in one take.");
    db.set(QStringLiteral("Artists"), QStringLiteral("3"))
        .set(QStringLiteral("Artist1"), QStringLiteral("The Beatles"))
        .set(QStringLiteral("Tracks1"), QStringLiteral("3"))
        .set(QStringLiteral("1Track1"), QStringLiteral("Love Me Do"))
        .set(QStringLiteral("1Filename1"), QStringLiteral("L/music/The Beatles/Love Me Do.mp3"))
        .set(QStringLiteral("1Genre1"), QStringLiteral("17"))
        .set(QStringLiteral("1Date1"), QStringLiteral("1962"))
        .set(QStringLiteral("1Lyrics1"), u'L' + loveLyrics)
        .set(QStringLiteral("1Notes1"), QString())
        .set(QStringLiteral("1Track2"), QStringLiteral("Yesterday"))
        .set(QStringLiteral("1Filename2"), u'E' + yesterday + QStringLiteral("|mp3"))
        .set(QStringLiteral("1Genre2"), QStringLiteral("13"))
        .set(QStringLiteral("1Date2"), QStringLiteral("1965"))
        .set(QStringLiteral("1Lyrics2"), QString())
        .set(QStringLiteral("1Notes2"), u'N' + yesterdayNotes)
        .set(QStringLiteral("1Track3"), QStringLiteral("Here Comes The Sun"))
        .set(QStringLiteral("1Filename3"), u'l' + sun + QStringLiteral("|ogg"))
        .set(QStringLiteral("1Genre3"), QStringLiteral("17"))
        .set(QStringLiteral("1Date3"), QStringLiteral("1969"))
        .set(QStringLiteral("Artist2"), QStringLiteral("Beat Happening"))
        .set(QStringLiteral("Tracks2"), QStringLiteral("2"))
        .set(QStringLiteral("2Track1"), QStringLiteral("Indian Summer"))
        .set(QStringLiteral("2Filename1"),
             QStringLiteral("L/music/Beat Happening/Indian Summer.mp3"))
        .set(QStringLiteral("2Genre1"), QStringLiteral("131"))
        .set(QStringLiteral("2Date1"), QStringLiteral("1988"))
        .set(QStringLiteral("2Lyrics1"), QString())
        .set(QStringLiteral("2Notes1"), QString())
        .set(QStringLiteral("2Track2"), QStringLiteral("Cast a Shadow"))
        .set(QStringLiteral("2Filename2"),
             QStringLiteral("L/music/Beat Happening/Cast a Shadow.mp3"))
        .set(QStringLiteral("2Genre2"), QStringLiteral("131"))
        .set(QStringLiteral("2Date2"), QStringLiteral("1988"))
        .set(QStringLiteral("Artist3"),
             QStringLiteral("The Unusually Long Named Orchestra of the Northern Seaside Towns"))
        .set(QStringLiteral("Tracks3"), QStringLiteral("2"))
        .set(QStringLiteral("3Track1"), QStringLiteral("Overture in D minor"))
        .set(QStringLiteral("3Track2"), QStringLiteral("Suite for Strings and Brass"))
        .set(QStringLiteral("3Filename1"), QStringLiteral("L/music/Orchestra/Overture.mp3"))
        .set(QStringLiteral("3Genre1"), QStringLiteral("32"))
        .set(QStringLiteral("3Date1"), QStringLiteral("2001-05-04"))
        .set(QStringLiteral("Batches"), QStringLiteral("2"))
        .set(QStringLiteral("BN1"), QStringLiteral("Road trip"))
        .set(QStringLiteral("BC1"), QStringLiteral("{1_2}{2_1}"))
        .set(QStringLiteral("BN2"), QStringLiteral("Sunny"))
        .set(QStringLiteral("BC2"), QStringLiteral("{1_3}"));
    db.finish();
}

// A catalogue of names in several scripts: wide characters, an emoji, combining marks and
// right-to-left text, for the listings.
inline void writeScriptsDatabase(const QString &path)
{
    CatalogueFile db(path);
    db.set(QStringLiteral("Artists"), QStringLiteral("3"))
        .set(QStringLiteral("Artist1"), QStringLiteral("坂本さくら"))
        .set(QStringLiteral("Tracks1"), QStringLiteral("2"))
        .set(QStringLiteral("1Track1"), QStringLiteral("東京の雨"))
        .set(QStringLiteral("1Filename1"), QStringLiteral("L/music/sakura/rain.mp3"))
        .set(QStringLiteral("1Track2"),
             QStringLiteral("夜明けまで歩いた長い道のりと小さな駅の灯りを忘れないで遠い海の向こうの君へ"))
        .set(QStringLiteral("1Filename2"), QStringLiteral("L/music/sakura/dawn.mp3"))
        .set(QStringLiteral("Artist2"), QStringLiteral("DJ 🎧 Smile"))
        .set(QStringLiteral("Tracks2"), QStringLiteral("1"))
        .set(QStringLiteral("2Track1"), QStringLiteral("Cafe\u0301 Noir"))
        .set(QStringLiteral("2Filename1"), QStringLiteral("L/music/dj/cafe.mp3"))
        .set(QStringLiteral("Artist3"), QStringLiteral("فرقة النور"))
        .set(QStringLiteral("Tracks3"), QStringLiteral("1"))
        .set(QStringLiteral("3Track1"), QStringLiteral("ليلة"))
        .set(QStringLiteral("3Filename1"), QStringLiteral("L/music/nour/layla.mp3"))
        .set(QStringLiteral("Batches"), QStringLiteral("0"));
    db.finish();
}
