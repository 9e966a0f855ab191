#pragma once
// A large music database for the benchmarks: 100,000 tracks by 5,000 artists, as the
// database maker writes it, and a bench session that has it loaded.

#include "BenchSession.h"
#include "formats/ArchiveWriter.h"
#include "formats/KeyValueStore.h"

namespace LargeCatalogue {

constexpr int kArtists = 5000;
constexpr int kTracksEach = 20;

inline const char *const kWords[] = {
    "love", "night", "river", "summer", "blue",   "heart", "road", "train", "rain",  "gold",
    "fire", "dance", "home",  "light",  "shadow", "moon",  "city", "dream", "stone", "wind"};
constexpr int kWordCount = std::size(kWords);

inline QString word(int n)
{
    return QString::fromLatin1(kWords[n % kWordCount]);
}

// A catalogue as the database maker writes it, with linked files and no lyrics or notes.
inline QString writeLargeDatabase(const QString &path)
{
    KeyValueStore keys;
    keys.SetValue(QStringLiteral("Artists"), QString::number(kArtists));
    keys.SetValue(QStringLiteral("Batches"), QStringLiteral("0"));
    for (int a = 1; a <= kArtists; ++a) {
        const QString artist = QString::number(a);
        const QString name = QStringLiteral("The %1 %2 Band %3").arg(word(a), word(a / 7)).arg(a);
        keys.SetValue(QStringLiteral("Artist") + artist, name);
        keys.SetValue(QStringLiteral("Tracks") + artist, QString::number(kTracksEach));
        for (int t = 1; t <= kTracksEach; ++t) {
            const QString track = QString::number(t);
            const QString title =
                QStringLiteral("%1 of the %2 %3").arg(word(a * 3 + t), word(a + t * 7), word(t));
            keys.SetValue(artist + QStringLiteral("Track") + track, title);
            keys.SetValue(artist + QStringLiteral("Filename") + track,
                          QStringLiteral("L/home/idrisk/Music/%1/%2.mp3").arg(name, title));
            keys.SetValue(artist + QStringLiteral("Genre") + track, QString::number((a + t) % 148));
            keys.SetValue(artist + QStringLiteral("Date") + track, QString::number(1950 + a % 70));
            keys.SetValue(artist + QStringLiteral("Lyrics") + track, QString());
            keys.SetValue(artist + QStringLiteral("Notes") + track, QString());
        }
    }
    ArchiveWriter archive(path);
    archive.addBytes(QStringLiteral("VELMORAD"), TextFile::encode(keys.text()));
    archive.finish();
    return path;
}

} // namespace LargeCatalogue

// A bench session with the large database written into its home and loaded; or with the
// database named by I2K_BENCH_CATALOGUE (the comparison with mpd, bench/peers/catalogue.py,
// gives the one vldmake made of its music files).
struct LargeCatalogueSession
{
    BenchSession b;
    QString path = qEnvironmentVariableIsSet("I2K_BENCH_CATALOGUE")
                       ? qEnvironmentVariable("I2K_BENCH_CATALOGUE")
                       : LargeCatalogue::writeLargeDatabase(
                             b.home.filePath(QStringLiteral("large.vld")));
    LargeCatalogueSession() { b.session.exe(QStringLiteral("loadvld ") + path); }
};
