#include <benchmark/benchmark.h>

#include <random>

#include "core/StatisticSeries.h"

static void BM_CalcStatistic(benchmark::State& state) {
    TStatisticSeries s;
    std::mt19937 rng(1);
    std::normal_distribution<double> d(10, 2);
    for (int i = 0; i < state.range(0); ++i) s.AddXY(45000 + i / 1440.0, d(rng));
    for (auto _ : state) {
        s.calcStatistic();
        benchmark::DoNotOptimize(s.median);
    }
}
BENCHMARK(BM_CalcStatistic)->Arg(100000)->Unit(benchmark::kMillisecond);
