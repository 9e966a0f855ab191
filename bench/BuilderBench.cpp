// The playlist builders on the large catalogue: partist with no search text fills the whole
// playlist (32,001 of the 100,000 tracks) and shows it; pgenren reads every track's genre.
// Each run replaces the list (rpas on), plays its first entry and builds the view.

#include "LargeCatalogue.h"

#include <benchmark/benchmark.h>

namespace {

void runBuilder(benchmark::State &state, const QString &line, int minEntries)
{
    LargeCatalogueSession l;
    Session &s = l.b.session;
    s.opt[Options::ResetBeforeSearch] = QStringLiteral("1");
    for (auto _ : state)
        s.exe(line);
    if (s.playlist.count() < minEntries || s.pager.pageCount() < minEntries)
        state.SkipWithError("the builder selected too little");
    state.counters["entries"] = s.playlist.count();
}

void BM_PartistFillsThePlaylist(benchmark::State &state)
{
    runBuilder(state, QStringLiteral("partist"), Playlist::kCapacity);
}
BENCHMARK(BM_PartistFillsThePlaylist)->Unit(benchmark::kMillisecond)->UseRealTime();

// (a + t) % 148 == 17: 676 tracks, found among all 100,000.
void BM_PgenrenWholeCatalogue(benchmark::State &state)
{
    runBuilder(state, QStringLiteral("pgenren 17"), 600);
}
BENCHMARK(BM_PgenrenWholeCatalogue)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
