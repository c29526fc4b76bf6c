#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "identification/DynamicIdent.h"

// Dynamic identification of a second-order plant with a numerator of order 2 on
// 100,000 one-minute samples with measurement noise.
static void BM_DynamicIdentification(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> level(1.0, 4.0);
    std::normal_distribution<double> noise(0.0, 0.01);
    TStatisticSeries input, output;
    input.reserve(static_cast<size_t>(n));
    output.reserve(static_cast<size_t>(n));
    double u = 1, y1 = 0, y2 = 0, u1 = 0, u2 = 0;
    for (int i = 0; i < n; ++i) {
        if (i % 20 == 0) u = level(rng);
        const double y = 1.2 * y1 - 0.35 * y2 + 0.1 * u + 0.05 * u1 - 0.02 * u2;
        const double t = 45000 + i / 1440.0;
        input.AddXY(t, u);
        output.AddXY(t, y + noise(rng));
        y2 = y1;
        y1 = y;
        u2 = u1;
        u1 = u;
    }
    TDynamicIdent ident;
    for (auto _ : state) {
        const bool ok = ident.identification(input, output, 2, 2);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(ident.dynamicmodel.R2);
    }
    state.counters["R2"] = ident.dynamicmodel.R2;
}
BENCHMARK(BM_DynamicIdentification)->Arg(100000)->Unit(benchmark::kMillisecond);
