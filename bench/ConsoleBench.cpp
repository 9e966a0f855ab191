// Drawing a page of cells, scrolling the pager and filling it.

#include "BenchSession.h"
#include "foundation/TextCells.h"

#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// A full 93 x 36 page of changing characters through DrawChar.
void BM_FullPageDrawChar(benchmark::State &state)
{
    BenchSession b;
    Console &console = b.session.console;
    int shift = 0;
    for (auto _ : state) {
        for (int row = 1; row <= 36; ++row) {
            for (int column = 1; column <= 93; ++column) {
                qint32 colour = -1;
                console.DrawChar(QChar(u'!' + (row * 93 + column + shift) % 94), column, row, colour);
            }
        }
        ++shift;
        benchmark::DoNotOptimize(console.surface().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 93 * 36);
}
BENCHMARK(BM_FullPageDrawChar)->Unit(benchmark::kMillisecond);

// A full page through DrawText, row by row: plain ASCII (range 0), which must stay as fast as
// DrawChar, or names in several scripts (range 1): wide characters, an emoji, marks and a
// right-to-left run on every row.
void BM_FullPageDrawText(benchmark::State &state)
{
    BenchSession b;
    Console &console = b.session.console;
    const QString ascii = QStringLiteral("The quick brown fox jumps over the lazy dog; ");
    const QString scripts = QStringLiteral("坂本さくら 東京の雨 DJ 🎧 Smile Cafe\u0301 فرقة النور ");
    QString row;
    while (TextCells::cells(row) < 93)
        row += state.range(0) == 0 ? ascii : scripts;
    row = TextCells::left(row, 93).toString();
    for (auto _ : state) {
        for (int r = 1; r <= 36; ++r)
            console.DrawText(row, r);
        benchmark::DoNotOptimize(console.surface().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 93 * 36);
}
BENCHMARK(BM_FullPageDrawText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Reference: the same page drawn the naive way, one QPainter::drawText per cell.
void BM_FullPageNaiveDrawText(benchmark::State &state)
{
    QImage surface(1024, 768, QImage::Format_RGB32);
    surface.fill(Qt::black);
    const QFont font = GlyphCache::font(GlyphCache::Face::Console);
    int shift = 0;
    for (auto _ : state) {
        QPainter painter(&surface);
        painter.setFont(font);
        painter.setPen(Qt::white);
        for (int row = 1; row <= 36; ++row) {
            for (int column = 1; column <= 93; ++column) {
                const QRect cell = Cell::rect(column, row);
                painter.fillRect(cell, Qt::black);
                painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop,
                                 QString(QChar(u'!' + (row * 93 + column + shift) % 94)));
            }
        }
        ++shift;
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_FullPageNaiveDrawText)->Unit(benchmark::kMillisecond);

// The same page with a text background colour behind every cell.
void BM_FullPageDrawCharWithTextBackground(benchmark::State &state)
{
    BenchSession b;
    b.session.opt[Options::TextBackground] = QStringLiteral("8388608");
    Console &console = b.session.console;
    for (auto _ : state) {
        for (int row = 1; row <= 36; ++row) {
            for (int column = 1; column <= 93; ++column) {
                qint32 colour = -1;
                console.DrawChar(QChar(u'A' + (row + column) % 26), column, row, colour);
            }
        }
        benchmark::DoNotOptimize(console.surface().constBits());
    }
}
BENCHMARK(BM_FullPageDrawCharWithTextBackground)->Unit(benchmark::kMillisecond);

QString numberedLines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("Line %1 of the pager text, long enough to fill a good part of a row.\r\n").arg(i);
    return text;
}

// One line down in the pager: one pixel scroll and one row of text.
void BM_PagerLineScroll(benchmark::State &state)
{
    BenchSession b;
    Pager &pager = b.session.pager;
    pager.mline(numberedLines(64000));
    for (auto _ : state) {
        pager.mLineDisp(1);
        if (pager.pageTop >= pager.pageCount() - 40) {
            state.PauseTiming();
            pager.mLineDisp(0);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_PagerLineScroll)->Unit(benchmark::kMicrosecond);

// mline of 64,000 lines: splitting, storing and drawing the first page.
void BM_Mline64000(benchmark::State &state)
{
    BenchSession b;
    const QString text = numberedLines(64000);
    for (auto _ : state)
        b.session.pager.mline(text);
}
BENCHMARK(BM_Mline64000)->Unit(benchmark::kMillisecond);

} // namespace
