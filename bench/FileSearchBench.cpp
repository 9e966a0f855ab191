// filesearch over a generated tree of 100,000 files (1,000 folders of 100, two levels deep),
// on the build's disk, against `find DIR -name PATTERN` on the same tree in the same run.
// The pattern matches one file in ten, so the hits (10,000) stay within the list.

#include "BenchSession.h"
#include "system/FileSearch.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr int kTopFolders = 10;
constexpr int kSubFolders = 100;
constexpr int kFilesEach = 100;
const QString kPattern = QStringLiteral("*7.txt");

// The tree, made once per run and removed when the benchmark program ends; or the one of the
// same shape that the comparison with fd made (bench/peers/filesearch.py), named by
// I2K_BENCH_FILE_TREE, so that both search the same folders.
const QString &tree()
{
    static const QString given = qEnvironmentVariable("I2K_BENCH_FILE_TREE");
    if (!given.isEmpty())
        return given;
    static QTemporaryDir dir(benchHomeTemplate());
    static const bool made = [] {
        for (int top = 0; top < kTopFolders; ++top) {
            for (int sub = 0; sub < kSubFolders; ++sub) {
                const QString folder = dir.filePath(QStringLiteral("top %1/sub%2").arg(top).arg(sub));
                if (!QDir().mkpath(folder))
                    return false;
                for (int n = 0; n < kFilesEach; ++n) {
                    QFile f(folder + QStringLiteral("/file%1.txt").arg(n));
                    if (!f.open(QIODevice::WriteOnly))
                        return false;
                }
            }
        }
        return true;
    }();
    static const QString path = made ? dir.path() : QString();
    return path;
}

// User and system time of every thread of this process.
double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

constexpr qsizetype kExpectedHits = kTopFolders * kSubFolders * kFilesEach / 10;

void BM_FilesearchCommand100kFiles(benchmark::State &state)
{
    if (tree().isEmpty()) {
        state.SkipWithError("cannot make the tree");
        return;
    }
    BenchSession b;
    const QString line = QStringLiteral("filesearch ") + kPattern + u' ' + tree();
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state)
        b.session.exe(line);
    // The benchmark's own CPU time is this thread's; the search lists folders on another.
    state.counters["process_cpu_ms"] =
        (processCpuSeconds() - cpuBefore) * 1e3 / double(state.iterations());
    qsizetype hits = 0;
    for (int i = 0; i < b.session.pager.pageCount(); ++i)
        hits += b.session.pager.pageLine(i).endsWith(QStringLiteral("7.txt"));
    if (hits != kExpectedHits)
        state.SkipWithError("wrong number of hits");
}
BENCHMARK(BM_FilesearchCommand100kFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FileSearchAlone100kFiles(benchmark::State &state)
{
    if (tree().isEmpty()) {
        state.SkipWithError("cannot make the tree");
        return;
    }
    const FileSearch search(kPattern);
    qsizetype hits = 0;
    for (auto _ : state)
        hits = search.run(tree()).hits.size();
    if (hits != kExpectedHits)
        state.SkipWithError("wrong number of hits");
}
BENCHMARK(BM_FileSearchAlone100kFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yardstick: find prints its hits into a pipe, read whole, as the command gathers them.
void BM_Find100kFiles(benchmark::State &state)
{
    if (tree().isEmpty()) {
        state.SkipWithError("cannot make the tree");
        return;
    }
    qsizetype lines = 0;
    for (auto _ : state) {
        QProcess find;
        find.start(QStringLiteral("find"), {tree(), QStringLiteral("-name"), kPattern});
        if (!find.waitForFinished(-1)) {
            state.SkipWithError("find did not run");
            return;
        }
        lines = find.readAllStandardOutput().count('\n');
    }
    if (lines != kExpectedHits)
        state.SkipWithError("find found another number of files");
}
BENCHMARK(BM_Find100kFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
