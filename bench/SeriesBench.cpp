#include <benchmark/benchmark.h>

#include <random>

#include "core/PrepareSeries.h"
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

// The pipeline's moving average of one 100,000-point column around 101325 Pa, at windows
// from 10 to 50,000 points.
static void BM_PrepareAverage(benchmark::State& state) {
    TPrepareSeries p;
    std::mt19937 rng(2);
    std::normal_distribution<double> d(101325, 30);
    for (int i = 0; i < 100000; ++i) p.dirtSeries.AddXY(45000 + i / 1440.0, d(rng));
    p.filter(0, 1e6);
    p.pullNull(p.meanValue);
    const int window = static_cast<int>(state.range(0));
    for (auto _ : state) {
        p.average(window);
        benchmark::DoNotOptimize(p.cleanSeries.YValues().data());
    }
    if (!p.averaged) state.SkipWithError("not averaged");
}
BENCHMARK(BM_PrepareAverage)->Arg(10)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
