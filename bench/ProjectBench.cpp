#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/Project.h"
#include "core/ProjectFolder.h"

namespace {

// 50 series of 100,000 points at one-minute steps, with noisy values.
void fillProject(TProject& p, int seriesCount, int points) {
    std::mt19937 rng(5);
    std::normal_distribution<double> d(100, 15);
    for (int k = 0; k < seriesCount; ++k) {
        TStatisticSeries s;
        s.Title = "Сигнал " + std::to_string(k);
        s.reserve(static_cast<size_t>(points));
        for (int i = 0; i < points; ++i) s.AddXY(45000.0 + i / 1440.0, d(rng));
        p.addSeries(s, k % 10 == 0, false);
    }
}

std::string tempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvolyn-bench-XXXXXX").string();
    return mkdtemp(tmpl.data());
}

void BM_ProjectSave(benchmark::State& state) {
    TProject p;
    fillProject(p, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::string dir = tempFolder();
    p.saveas(dir + "/p.prj");
    for (auto _ : state) {
        if (!p.save()) state.SkipWithError("save failed");
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ProjectSave)->Args({50, 100000})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ProjectLoad(benchmark::State& state) {
    TProject p;
    fillProject(p, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::string dir = tempFolder();
    p.saveas(dir + "/p.prj");
    for (auto _ : state) {
        TProject q;
        if (!q.load(dir + "/p/p.prj") || q.seriesCount() != state.range(0)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(q.seriesList.data());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ProjectLoad)->Args({50, 100000})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Adding m series of one title: with the remembered next number each add costs about the
// same whatever m is (time per add should stay flat as m grows).
void BM_UniqueSeriesNames(benchmark::State& state) {
    TStatisticSeries s;
    s.Title = "a";
    s.AddXY(1, 1);
    for (auto _ : state) {
        TProject p;
        for (int i = 0; i < state.range(0); ++i) p.addSeries(s, false, false);
        benchmark::DoNotOptimize(p.seriesList.back()->Title);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UniqueSeriesNames)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Fragment series of 50 series x 100,000 points over 20 intervals.
void BM_CalcFragmentsSeries(benchmark::State& state) {
    TProject p;
    fillProject(p, 50, 100000);
    for (int j = 0; j < 20; ++j) {
        TFragment f(1, 45000.0 + j * 3.0, 45000.0 + j * 3.0 + 1.0);
        f.name = "I" + std::to_string(j);
        p.fragments.push_back(f);
    }
    for (auto _ : state) {
        p.needCalcFragment = true;
        p.calcFragmentsSeries();
    }
}
BENCHMARK(BM_CalcFragmentsSeries)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

namespace {

// The naming alone: m names of one base. Time per name stays flat as m grows; a rescan
// after every collision would grow linearly.
void BM_UniqueNames(benchmark::State& state) {
    for (auto _ : state) {
        TUniqueNames names;
        for (int i = 0; i < state.range(0); ++i) names.add(names.make("Сигнал"));
        benchmark::DoNotOptimize(names.contains("Сигнал(1)"));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UniqueNames)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// For comparison: the plain naming that rescans from the first name after every collision.
void BM_UniqueNamesRescan(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::string> names;
        for (int i = 0; i < state.range(0); ++i) {
            std::string candidate = "Сигнал";
            int n = 0;
            for (size_t k = 0; k < names.size(); ++k) {
                if (names[k] == candidate) {
                    candidate = "Сигнал(" + std::to_string(++n) + ")";
                    k = static_cast<size_t>(-1);
                }
            }
            names.push_back(candidate);
        }
        benchmark::DoNotOptimize(names.back());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UniqueNamesRescan)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
