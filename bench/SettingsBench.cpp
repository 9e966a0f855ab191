// The settings store: loading a large set.cf.

#include "formats/KeyValueStore.h"

#include <benchmark/benchmark.h>

namespace {

// 100,000 pairs with escapes; a parser that copied the rest of the text per line would be
// quadratic and take minutes.
void BM_StoreLoad100000Pairs(benchmark::State &state)
{
    constexpr int kPairs = 100000;
    QString text = QStringLiteral("#i2kCmd-store 1\r\n");
    text.reserve(kPairs * 40);
    for (int i = 0; i < kPairs; ++i)
        text +=
            QStringLiteral("Key number %1=value %2 with an \\= and a \\\\\r\n").arg(i).arg(i * 7);
    for (auto _ : state) {
        KeyValueStore store;
        store.LoadText(text);
        benchmark::DoNotOptimize(store.count());
    }
}
BENCHMARK(BM_StoreLoad100000Pairs)->Unit(benchmark::kMillisecond);

} // namespace
