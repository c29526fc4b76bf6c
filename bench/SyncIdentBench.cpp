#include <benchmark/benchmark.h>

#include <random>

#include "core/StatisticSeries.h"
#include "identification/StaticIdentification.h"

namespace {
// Two 100,000-point series on slightly different minute grids with jitter.
void makeSyncPair(TStatisticSeries& s, TStatisticSeries& leading, int n) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> jitter(-0.0002, 0.0002);
    std::normal_distribution<double> value(10, 2);
    for (int i = 0; i < n; ++i) {
        s.AddXY(45000 + i / 1440.0 + jitter(rng), value(rng));
        // Every tenth leading stamp falls between the series' points.
        leading.AddXY(45000 + (i + (i % 10 == 0 ? 0.5 : 0.0)) / 1440.0, 0);
    }
}
}  // namespace

static void BM_Synchronize(benchmark::State& state) {
    const auto mode = static_cast<uint8_t>(state.range(0));
    TStatisticSeries s, leading;
    makeSyncPair(s, leading, 100000);
    for (auto _ : state) {
        // Mode 0 with a tolerance that finds every stamp; the others also meet misses.
        auto r = s.getSyncronizeSeries(leading, mode, mode == 0 ? 0.001 : 0.0003);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_Synchronize)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

static void BM_StaticIdentification(benchmark::State& state) {
    const int N = 100000, p = 20;
    std::mt19937 rng(5);
    std::normal_distribution<double> d(0, 1);
    std::vector<TStatisticSeries> inputs(p);
    TStatisticSeries y;
    y.Title = "y";
    for (int i = 0; i < N; ++i) {
        const double t = 45000 + i / 1440.0;
        double sum = 1.0;
        for (int k = 0; k < p; ++k) {
            const double v = d(rng);
            inputs[static_cast<size_t>(k)].AddXY(t, v);
            sum += (k + 1) * v;
        }
        y.AddXY(t, sum + 0.1 * d(rng));
    }
    arrayOfStatSeries in;
    for (auto& s : inputs) in.push_back(&s);
    const arrayOfFragment frags{TFragment(45000.0L, 45000.0L + N / 1440.0L)};
    TStaticIdentificationAll id;
    for (auto _ : state) {
        id.calcStaticModel(frags, in, &y, 0.001, true);
        benchmark::DoNotOptimize(id.model.R2);
    }
    if (!id.haveModel) state.SkipWithError("no model");
}
BENCHMARK(BM_StaticIdentification)->Unit(benchmark::kMillisecond);
