// How close the line runner comes to one line per millisecond, and how far the timed-command
// clock drifts from the wall clock.

#include "BenchSession.h"
#include "foundation/TextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {

void runEventsUntil(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// A 10,000-line batch of write commands, start to end, with the event log limited to
// logLimit characters (it starts full at 1 MiB); reported as lines per second.
void runLines(benchmark::State &state, const QString &logLimit)
{
    BenchSession b;
    b.session.opt[Options::LogSize] = logLimit;
    QByteArray text;
    for (int i = 0; i < 10000; ++i)
        text += "write line " + QByteArray::number(i) + "\r\n";
    const QString path = b.home.filePath(QStringLiteral("lines.txt"));
    TextFile::save(path, text);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        b.session.exe(QStringLiteral("batch ") + path);
        runEventsUntil([&] { return !b.session.batch.running(); });
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        state.counters["lines_per_s"] = 10001 / seconds;
    }
}

// With the default 1 MiB log, full from the start.
void BM_BatchLinesPerSecond(benchmark::State &state)
{
    runLines(state, QStringLiteral("1048576"));
}
BENCHMARK(BM_BatchLinesPerSecond)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// With a small log, to see the runner itself.
void BM_BatchLinesPerSecondSmallLog(benchmark::State &state)
{
    runLines(state, QStringLiteral("4096"));
}
BENCHMARK(BM_BatchLinesPerSecondSmallLog)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// "at 10000": when it fires against the wall clock. The first clock tick sees 0, so the
// command is due on the tick that starts 10,000 ms after the first, 10,100 ms after the at.
void BM_TimedCommandDriftAfter10s(benchmark::State &state)
{
    BenchSession b;
    const QString path = b.home.filePath(QStringLiteral("timed.txt"));
    TextFile::save(path, "at 10000 write due");
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        b.session.exe(QStringLiteral("batch ") + path);
        runEventsUntil([&] { return b.session.opt[Options::LastCommand] == u"write due"; });
        const double ms = clock.nsecsElapsed() / 1e6;
        state.SetIterationTime(ms / 1000);
        state.counters["drift_ms"] = ms - 10100;
        b.session.batch.stopbatch();
    }
}
BENCHMARK(BM_TimedCommandDriftAfter10s)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
