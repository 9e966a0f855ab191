// A command through the whole pipeline, event log rewrite included.

#include "BenchSession.h"
#include "foundation/TextFile.h"

#include <benchmark/benchmark.h>

namespace {

// "write x" with a full 1 MiB event log: read, prepend, cut and rewrite it every time.
void BM_ExeWriteWithFullLog(benchmark::State &state)
{
    BenchSession b;
    QString log;
    while (log.size() < 1048576)
        log += QStringLiteral("07/12/2026 04:53:30 - COMMAND: write some earlier command line\r\n");
    TextFile::save(b.session.log.path(), TextFile::encode(log));
    for (auto _ : state)
        b.session.exe(QStringLiteral("write x"));
}
BENCHMARK(BM_ExeWriteWithFullLog)->Unit(benchmark::kMillisecond);

} // namespace
