#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "numerics/Approx.h"

// The least-squares fit alone: 100,000 points, 20 regressors and a free term.
static void BM_ApproxLinearConst(benchmark::State& state) {
    const int N = 100000, p = 20;
    std::mt19937 rng(3);
    std::normal_distribution<double> d(0, 1);
    std::vector<double> X(static_cast<size_t>(N) * p), y(N);
    for (int k = 0; k < N; ++k) {
        double s = 1;
        for (int j = 0; j < p; ++j) s += (j + 1) * (X[static_cast<size_t>(k) * p + j] = d(rng));
        y[k] = s + 0.1 * d(rng);
    }
    for (auto _ : state) {
        TVector a;
        double c = 0, err = 0;
        benchmark::DoNotOptimize(approxLinearConst(X.data(), y.data(), N, p, a, c, err, p));
    }
}
BENCHMARK(BM_ApproxLinearConst)->Unit(benchmark::kMillisecond);
