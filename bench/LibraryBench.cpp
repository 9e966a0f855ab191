// The music library on a large catalogue: 100,000 tracks by 5,000 artists, written into the
// bench session's home. Loading it, searching titles with a pattern (to the first page shown),
// searching artist names, and listing every artist.

#include "BenchSession.h"
#include "library/ArchiveWriter.h"
#include "settings/KeyValueStore.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kArtists = 5000;
constexpr int kTracksEach = 20;

const char *const kWords[] = {"love",   "night", "river", "summer", "blue",  "heart", "road",
                              "train",  "rain",  "gold",  "fire",   "dance", "home",  "light",
                              "shadow", "moon",  "city",  "dream",  "stone", "wind"};
constexpr int kWordCount = std::size(kWords);

QString word(int n)
{
    return QString::fromLatin1(kWords[n % kWordCount]);
}

// A catalogue as the database maker writes it, with linked files and no lyrics or notes.
QString writeLargeDatabase(const QString &path)
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

struct LibraryBench
{
    BenchSession b;
    QString path = writeLargeDatabase(b.home.filePath(QStringLiteral("large.vld")));
    LibraryBench() { b.session.exe(QStringLiteral("loadvld ") + path); }
};

void BM_LoadvldLarge(benchmark::State &state)
{
    LibraryBench l;
    for (auto _ : state)
        l.b.session.exe(QStringLiteral("loadvld ") + l.path);
    if (l.b.session.vld.GetValue(QStringLiteral("Artists")) != QString::number(kArtists))
        state.SkipWithError("the database did not load");
}
BENCHMARK(BM_LoadvldLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every title is read and matched; about one in eleven matches ("lo?e" is "love").
void runSearch(benchmark::State &state, const QString &line, int minLines)
{
    LibraryBench l;
    for (auto _ : state)
        l.b.session.exe(line);
    if (l.b.session.pager.pageCount() < minLines)
        state.SkipWithError("the search found too little");
    state.counters["lines"] = l.b.session.pager.pageCount();
}

void BM_StrackPatternLarge(benchmark::State &state)
{
    runSearch(state, QStringLiteral("strack LO?E of*"), 1000);
}
BENCHMARK(BM_StrackPatternLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SartistLarge(benchmark::State &state)
{
    runSearch(state, QStringLiteral("sartist river"), 100);
}
BENCHMARK(BM_SartistLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListartistsLarge(benchmark::State &state)
{
    runSearch(state, QStringLiteral("listartists"), kArtists);
}
BENCHMARK(BM_ListartistsLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
