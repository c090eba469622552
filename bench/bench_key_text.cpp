#include <benchmark/benchmark.h>

#include "key_text.h"

// Normalising and checking a pasted key: runs for every row of a paste or import.
static void BM_NormalizeAndCrc(benchmark::State& state) {
    for (auto _ : state) {
        std::string key = " 2d 01 02 03 04 05 06 07 ";
        benchmark::DoNotOptimize(NormalizeKeyText(key));
        benchmark::DoNotOptimize(SetKeyCrc(key, false));
        benchmark::DoNotOptimize(key);
    }
}
BENCHMARK(BM_NormalizeAndCrc);
