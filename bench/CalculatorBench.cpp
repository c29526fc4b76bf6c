#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/PrepareSeries.h"
#include "identification/CrossCorrelation.h"
#include "numerics/Expression.h"

namespace {

TStatisticSeries randomSeries(int n, unsigned seed) {
    TStatisticSeries s;
    std::mt19937 rng(seed);
    std::normal_distribution<double> d(10, 2);
    s.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) s.AddXY(45000 + i / 1440.0, d(rng));
    return s;
}

}  // namespace

// A formula of about 30 characters applied to 100,000 points: prepared once, evaluated per point.
static void BM_TransformFormula(benchmark::State& state) {
    const TStatisticSeries raw = randomSeries(static_cast<int>(state.range(0)), 1);
    TPrepareSeries p;
    const std::string formula = "sqrt(abs(y))*2.5+ln(y^2+1)-y/3";
    for (auto _ : state) {
        state.PauseTiming();
        p.dirtSeries.AssignValues(raw);
        state.ResumeTiming();
        std::string msg;
        p.expr.Prepare(formula, msg);
        p.transformSeries();
        benchmark::DoNotOptimize(p.dirtSeries.YValues().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TransformFormula)->Arg(100000)->Unit(benchmark::kMillisecond);

// Two series of 100,000 points, lags 0..1000.
static void BM_CrossCorrelationSweep(benchmark::State& state) {
    const TStatisticSeries a = randomSeries(static_cast<int>(state.range(0)), 2);
    const TStatisticSeries b = randomSeries(static_cast<int>(state.range(0)), 3);
    for (auto _ : state) {
        auto sweep = calcKrossColleration(static_cast<int>(state.range(1)), a, b);
        benchmark::DoNotOptimize(sweep.data());
    }
}
BENCHMARK(BM_CrossCorrelationSweep)->Args({100000, 1000})->Unit(benchmark::kMillisecond)->UseRealTime();

// Every pair of 30 series of 100,000 points.
static void BM_CorrelationMap(benchmark::State& state) {
    std::vector<TStatisticSeries> owned;
    for (int i = 0; i < state.range(0); ++i)
        owned.push_back(randomSeries(static_cast<int>(state.range(1)), 10 + static_cast<unsigned>(i)));
    arrayOfStatSeries series;
    for (auto& s : owned) series.push_back(&s);
    for (auto _ : state) {
        auto map = calcCorrelationMap(series);
        benchmark::DoNotOptimize(map.values.data());
    }
}
BENCHMARK(BM_CorrelationMap)->Args({30, 100000})->Unit(benchmark::kMillisecond)->UseRealTime();
