// A command through the whole pipeline with a full event log on the real disk: the log's
// saves (write and sync) happen on their timer while the loop runs, so their cost is in
// the average as it is in use.

#include "BenchSession.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_ExeWriteWithFullLog(benchmark::State &state)
{
    BenchSession b;
    for (auto _ : state) {
        b.session.exe(QStringLiteral("write x"));
        QCoreApplication::processEvents();
    }
    b.session.log.save();
}
BENCHMARK(BM_ExeWriteWithFullLog)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(3);

// One save of the full log: encode, write to a temporary file, sync, rename.
void BM_EventLogSaveFull(benchmark::State &state)
{
    BenchSession b;
    for (auto _ : state) {
        b.session.log.EventLog(QStringLiteral("write x"), false);
        if (!b.session.log.save())
            state.SkipWithError("the log could not be saved");
    }
}
BENCHMARK(BM_EventLogSaveFull)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
