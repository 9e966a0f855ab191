// The random-drawing step at its largest, and a full-surface picture background.

#include "BenchSession.h"
#include "drawing/PictureFile.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

// The largest shape of each random kind, as the cursor timer would run it.
const char *const kLargest[] = {
    "block 1,1,16711935,80,30",
    "box -1024,-768,1023,767,16711935,100,1",
    "box -1024,-768,1023,767,16711935,100",
    "circle 512,384,1024,16711935,100,1",
    "circle 512,384,600,16711935,100",
    "line 0,0,1024,768,16711935,100",
    "pixel 1024,768,16711935",
};

void BM_LargestRandomShape(benchmark::State &state)
{
    BenchSession b;
    const QString line = QString::fromLatin1(kLargest[state.range(0)]);
    state.SetLabel(line.section(u' ', 0, 0).toStdString());
    for (auto _ : state)
        b.session.exe(line);
}
BENCHMARK(BM_LargestRandomShape)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// crazy 6: one random-drawing tick, the shape and the event log entry included.
void BM_CrazyTick(benchmark::State &state)
{
    BenchSession b;
    b.session.exe(QStringLiteral("crazy 6"));
    for (auto _ : state)
        b.session.cursorTimer.tick();
}
BENCHMARK(BM_CrazyTick)->Unit(benchmark::kMillisecond);

// A 1024 x 768 picture with detail in every pixel, as a photograph has.
QString writeFullSurfacePicture(const QTemporaryDir &home, const char *format)
{
    QImage image(1024, 768, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 3 % 256, (x ^ y) % 256));
    const QString path = home.filePath(QStringLiteral("back.") + QString::fromLatin1(format));
    image.save(path, format);
    return path;
}

const char *const kFormats[] = {"png", "jpg", "bmp"};

// background with a full-surface picture: read, applied and the console rebuilt, through exe.
void BM_PictureBackground(benchmark::State &state)
{
    BenchSession b;
    const char *format = kFormats[state.range(0)];
    state.SetLabel(format);
    const QString line = QStringLiteral("background ") + writeFullSurfacePicture(b.home, format);
    for (auto _ : state)
        b.session.exe(line);
}
BENCHMARK(BM_PictureBackground)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The part that is the console's own: a decoded picture applied and the console rebuilt.
void BM_PictureBackgroundApplied(benchmark::State &state)
{
    BenchSession b;
    const QImage picture = PictureFile::load(writeFullSurfacePicture(b.home, "png"));
    for (auto _ : state) {
        b.session.console.setBackground(0, picture);
        b.session.console.ClScreen();
    }
}
BENCHMARK(BM_PictureBackgroundApplied)->Unit(benchmark::kMillisecond);

} // namespace
