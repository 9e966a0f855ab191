// The players for real: libmpv with null audio (which plays in real time) on tones made on the
// spot. How long a skip's fade takes against its nominal 4.8 s and how its loudness falls, when
// the next track starts against the five-second rule, how long starting a track takes to the first
// position mpv reports, and what one playing track costs the process in CPU time.

#include "BenchSession.h"
#include "ToneFile.h"
#include "player/MpvPlayer.h"
#include "player/PlaylistCommands.h"

#include <QElapsedTimer>
#include <cmath>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

bool runUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    }
    return true;
}

struct PlayerSession
{
    QTemporaryDir home{benchHomeTemplate()};
    Session session{
        Session::Config{ProgramFolder(home.path()), home.filePath(QStringLiteral("options.ini")),
                        MpvPlayer::factory(QStringLiteral("null")), QStringLiteral("null")}};
    explicit PlayerSession(int tracks, int milliseconds)
    {
        session.opt.ResetOpts();
        session.vld.SetValue(QStringLiteral("Artists"), QStringLiteral("1"));
        for (int t = 1; t <= tracks; ++t) {
            const QString path = home.filePath(QStringLiteral("%1.wav").arg(t));
            ToneFile::writeWav(path, {{220.0 * t, milliseconds}}, 44100);
            session.vld.SetValue(QStringLiteral("1Filename%1").arg(t), u'L' + path);
            session.playlist[t - 1] = {QStringLiteral("1"), QString::number(t)};
        }
    }
    // The first entry, playing.
    void playFirst()
    {
        session.players.playCurrent();
        runUntil([this] { return session.players.inUse().position() > 0.5; }, 10000);
    }
    // A skip to the second entry, as F12 makes it: the fade starts and the next track plays.
    void skip()
    {
        session.playlist.plIndex = 1;
        session.players.fadeOut();
        session.players.playCurrent();
    }
};


double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A skip: the fade-out, then the next track; the old player fades in 400 steps of 12 ms.
void BM_FadeDuration(benchmark::State &state)
{
    PlayerSession p(2, 30000);
    Session &s = p.session;
    p.playFirst();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        p.skip();
        if (!runUntil([&] { return !s.players.fading(); }, 20000))
            state.SkipWithError("the fade did not end");
        const double ms = clock.nsecsElapsed() / 1e6;
        state.SetIterationTime(ms / 1000);
        state.counters["fade_ms"] = ms;
        state.counters["against_4800_ms"] = ms / 4800;
    }
}
BENCHMARK(BM_FadeDuration)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The fade's loudness over time: the volume the faded player is given, sampled every 100 ms
// of the clock, against the straight line from 0 dB to -40 dB over the nominal 4.8 s. mpv is
// given 100 x cbrt(10^(dB/20)), which its cubic volume turns back into that many decibels.
void BM_FadeLoudnessCurve(benchmark::State &state)
{
    PlayerSession p(2, 30000);
    Session &s = p.session;
    p.playFirst();
    for (auto _ : state) {
        MediaPlayer &faded = s.players.inUse();
        QElapsedTimer clock;
        clock.start();
        p.skip();
        double worst = 0;
        for (int sample = 1; sample <= 12 * 4; ++sample) {
            runUntil([&] { return clock.elapsed() >= sample * 100; }, 1000);
            if (!s.players.fading())
                break;
            const double db = faded.volume() / 100.0;
            const double nominal = -40.0 * clock.nsecsElapsed() / 4.8e9;
            worst = std::max(worst, std::abs(db - nominal));
            if (sample % 12 == 0)
                state.counters[QStringLiteral("db_at_%1_ms").arg(sample * 100).toStdString()] = db;
        }
        state.counters["worst_deviation_db"] = worst;
        runUntil([&] { return !s.players.fading(); }, 20000);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    }
}
BENCHMARK(BM_FadeLoudnessCurve)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The natural advance: the next track starts in the second when five whole seconds remain
// (a track of 6.5 s: when the position reaches 1 s). How far past that moment the position
// was when the next track started (the advance timer's 100 ms ticks run the rule), and how
// long the two tracks then actually played together.
void BM_NaturalAdvanceError(benchmark::State &state)
{
    PlayerSession p(2, 6500);
    Session &s = p.session;
    s.players.startAdvancing();
    double worstLate = 0;
    for (auto _ : state) {
        s.playlist.plIndex = 0;
        s.players.playCurrent();
        MediaPlayer &first = s.players.inUse();
        if (!runUntil([&] { return s.playlist.plIndex == 1; }, 10000)) {
            state.SkipWithError("the next track did not start");
            break;
        }
        const double late = first.position() - (std::floor(first.duration()) - 5);
        worstLate = std::max(worstLate, late);
        QElapsedTimer together;
        together.start();
        runUntil([&] { return first.playState() != MediaPlayer::kPlaying; }, 10000);
        state.SetIterationTime(together.nsecsElapsed() / 1e9);
        state.counters["late_ms"] = late * 1000;
        s.players.inUse().setFileName(QString());
    }
    state.counters["worst_late_ms"] = worstLate * 1000;
}
BENCHMARK(BM_NaturalAdvanceError)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// A playlist left to play by itself: 40 tracks of 6.2 s of the same length (so mpv never tells
// of a new duration), each advancing when its position reaches 1 s. Counts the advances that
// happened against the 39 that should have, in five runs in a row.
void BM_UnattendedPlaylistAdvances(benchmark::State &state)
{
    constexpr int kTracks = 40;
    PlayerSession p(kTracks, 6200);
    Session &s = p.session;
    s.players.startAdvancing();
    int advances = 0;
    int expected = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        s.playlist.plIndex = 0;
        s.players.playCurrent();
        expected += kTracks - 1;
        // Each track needs about 1.1 s before the next starts; a stalled list stops counting.
        int last = 0;
        while (runUntil([&] { return s.playlist.plIndex > last; }, 5000)) {
            last = s.playlist.plIndex;
            if (last == kTracks - 1)
                break;
        }
        advances += last;
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        s.players.wmp(0).setFileName(QString());
        s.players.wmp(1).setFileName(QString());
    }
    state.counters["advances"] = advances;
    state.counters["expected"] = expected;
}
BENCHMARK(BM_UnattendedPlaylistAdvances)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// From starting a track to the first playing position mpv reports.
void BM_PlayWMPToFirstPosition(benchmark::State &state)
{
    PlayerSession p(1, 10000);
    Session &s = p.session;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        s.players.playCurrent();
        if (!runUntil([&] { return s.players.inUse().position() > 0; }, 10000))
            state.SkipWithError("nothing played");
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        s.players.inUse().setFileName(QString());
    }
}
BENCHMARK(BM_PlayWMPToFirstPosition)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// The whole process's CPU time (mpv's threads included) while one MP3 track plays for 5 s,
// as a share of one core.
void BM_CpuShareOfOnePlayingTrack(benchmark::State &state)
{
    PlayerSession p(1, 1000);
    Session &s = p.session;
    const QString mp3 = p.home.filePath(QStringLiteral("long.mp3"));
    ToneFile::writeSilentMp3(mp3, 1200); // 31 s of 128 kbit/s MPEG audio
    s.vld.SetValue(QStringLiteral("1Filename1"), u'L' + mp3);
    s.players.playCurrent();
    runUntil([&] { return s.players.inUse().position() > 0.5; }, 10000);
    for (auto _ : state) {
        const double cpuBefore = cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        // The window's own event loop, asleep between events.
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        const double wall = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(wall);
        state.counters["cpu_percent_of_a_core"] = 100 * (cpuSeconds() - cpuBefore) / wall;
    }
}
BENCHMARK(BM_CpuShareOfOnePlayingTrack)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
