#include <benchmark/benchmark.h>

#include <random>

#include "identification/StaticIdentificationInterval.h"

// 100,000 points of 20 inputs cut into 50 intervals of 2,000 points: one model per
// interval, every model ticked, then the summary model.
static void BM_IntervalModels(benchmark::State& state) {
    const int N = 100000, p = 20, intervals = 50, len = N / intervals;
    std::mt19937 rng(7);
    std::normal_distribution<double> d(0, 1);
    std::vector<std::vector<TStatisticSeries>> inputs(intervals, std::vector<TStatisticSeries>(p));
    std::vector<TStatisticSeries> outputs(intervals);
    for (int i = 0; i < N; ++i) {
        const int f = i / len;
        const double t = 45000 + i / 1440.0;
        double sum = 1.0;
        for (int k = 0; k < p; ++k) {
            const double v = 10 + d(rng);
            inputs[static_cast<size_t>(f)][static_cast<size_t>(k)].AddXY(t, v);
            sum += (k + 1) * v;
        }
        outputs[static_cast<size_t>(f)].AddXY(t, sum + 0.1 * d(rng));
    }
    std::vector<arrayOfStatSeries> in(intervals);
    for (int f = 0; f < intervals; ++f)
        for (auto& s : inputs[static_cast<size_t>(f)]) in[static_cast<size_t>(f)].push_back(&s);
    TStaticIdentificationInterval id;
    for (auto _ : state) {
        id.clear();
        for (int f = 0; f < intervals; ++f)
            id.addModel(in[static_cast<size_t>(f)], &outputs[static_cast<size_t>(f)], 0.001, true, "I");
        for (auto& m : id.models) m->used = true;
        benchmark::DoNotOptimize(id.calcSumModel());
    }
    if (!id.haveSumModel) state.SkipWithError("no summary model");
}
BENCHMARK(BM_IntervalModels)->Unit(benchmark::kMillisecond);
