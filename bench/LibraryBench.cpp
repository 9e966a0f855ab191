// The music library on a large catalogue: 100,000 tracks by 5,000 artists, written into the
// bench session's home. Loading it, searching titles with a pattern (to the first page shown),
// searching artist names, and listing every artist.

#include "LargeCatalogue.h"

#include <benchmark/benchmark.h>

namespace {

using LargeCatalogue::kArtists;

void BM_LoadvldLarge(benchmark::State &state)
{
    LargeCatalogueSession l;
    for (auto _ : state)
        l.b.session.exe(QStringLiteral("loadvld ") + l.path);
    if (l.b.session.vld.GetValue(QStringLiteral("Artists")) != QString::number(kArtists))
        state.SkipWithError("the database did not load");
}
BENCHMARK(BM_LoadvldLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every title is read and matched; one in twenty matches (those that begin with "love of").
void runSearch(benchmark::State &state, const QString &line, int minLines)
{
    LargeCatalogueSession l;
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
