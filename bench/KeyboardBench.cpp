// Key press to finished cell update, and the whole program's start-up.

#include "BenchSession.h"
#include "console/VirtualKeys.h"
#include "controller/Lifecycle.h"

#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// One typed character: key down, key press, the glyph drawn and recorded.
void BM_KeypressTypedCharacter(benchmark::State &state)
{
    BenchSession b;
    b.session.console.ClScreen();
    Keyboard &keyboard = b.session.keyboard;
    int typed = 0;
    for (auto _ : state) {
        keyboard.keystroke('A', 0, 'a');
        // The command line holds 360 characters; start over before it is full.
        if (++typed == 350) {
            state.PauseTiming();
            keyboard.keystroke(Vk::Escape, 0, Vk::Escape);
            typed = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_KeypressTypedCharacter)->Unit(benchmark::kMicrosecond);

// One Backspace: the cursor cell blanked and the line shortened.
void BM_KeypressBackspace(benchmark::State &state)
{
    BenchSession b;
    b.session.console.ClScreen();
    Keyboard &keyboard = b.session.keyboard;
    for (auto _ : state) {
        state.PauseTiming();
        keyboard.keystroke('A', 0, 'a');
        state.ResumeTiming();
        keyboard.keystroke(Vk::Backspace, 0, Vk::Backspace);
    }
}
BENCHMARK(BM_KeypressBackspace)->Unit(benchmark::kMicrosecond);

// The start-up sequence in this process, from a fresh session to the prompt.
void BM_StartUpSequence(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto b = std::make_unique<BenchSession>();
        state.ResumeTiming();
        startUp(b->session);
        state.PauseTiming();
        b.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpSequence)->Unit(benchmark::kMillisecond);

// The whole program: "i2kCmd -platform offscreen --quit", process start to exit, with an
// empty home (0) or a full event log (1).
void BM_ProgramStartAndQuit(benchmark::State &state)
{
    QTemporaryDir home(benchHomeTemplate());
    if (state.range(0) == 1)
        writeFullLog(home.filePath(QStringLiteral("eventlog.txt")));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(I2KCMD_EXE),
                      {QStringLiteral("-platform"), QStringLiteral("offscreen"),
                       QStringLiteral("--home"), home.path(), QStringLiteral("--quit")});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("the program did not start and quit");
            break;
        }
    }
}
BENCHMARK(BM_ProgramStartAndQuit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
