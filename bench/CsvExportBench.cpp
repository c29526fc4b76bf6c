#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>

#include "core/StatisticSeries.h"
#include "exchange/CsvExport.h"

namespace {

// 50 series of 100,000 points a minute apart with full-precision values, as smoothed
// plant signals are.
const std::vector<std::unique_ptr<TStatisticSeries>>& benchSeries() {
    static const auto list = [] {
        std::vector<std::unique_ptr<TStatisticSeries>> v;
        std::mt19937 rng(3);
        std::normal_distribution<double> d(50, 12);
        for (int k = 0; k < 50; ++k) {
            auto s = std::make_unique<TStatisticSeries>();
            s->Title = "Параметр " + std::to_string(k + 1);
            s->reserve(100000);
            for (int i = 0; i < 100000; ++i) s->AddXY(45000.0 + i / 1440.0, d(rng));
            v.push_back(std::move(s));
        }
        return v;
    }();
    return list;
}

CsvSeriesList chosen() {
    CsvSeriesList list;
    for (const auto& s : benchSeries()) list.push_back(s.get());
    return list;
}

std::filesystem::path benchFolder() {
    auto dir = std::filesystem::temp_directory_path() / ("tarvolyn_csv_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

void BM_CsvExport_Joined(benchmark::State& state) {
    const auto list = chosen();
    const auto dir = benchFolder();
    for (auto _ : state) {
        const auto r = writeSeriesCsv((dir / "all.csv").string(), list);
        if (!r.ok) state.SkipWithError(r.error.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(dir / "all.csv")));
    std::filesystem::remove_all(dir);
}

void BM_CsvExport_PerSeries(benchmark::State& state) {
    const auto list = chosen();
    const auto dir = benchFolder();
    for (auto _ : state) {
        const auto r = saveSeriesToCsv((dir / "out.csv").string(), list);
        if (!r.ok) state.SkipWithError(r.error.c_str());
        state.PauseTiming();
        std::filesystem::remove_all(r.folder);
        state.ResumeTiming();
    }
    std::filesystem::remove_all(dir);
}

// The folder-per-series layout: every series cut into 40 intervals of 2,500 points, 2,000
// files in all.
void BM_CsvExport_FolderPerSeries(benchmark::State& state) {
    std::vector<std::vector<std::unique_ptr<TStatisticSeries>>> parts;
    std::vector<CsvSeriesFolder> folders;
    for (const auto& s : benchSeries()) {
        CsvSeriesFolder folder{s->Title, {}};
        auto& own = parts.emplace_back();
        for (int m = 0; m < 40; ++m) {
            auto p = std::make_unique<TStatisticSeries>();
            p->Title = s->Title + "_Интервал " + std::to_string(m + 1);
            for (int i = m * 2500; i < (m + 1) * 2500; ++i) p->AddXY(s->XValue(i), s->YValue(i));
            folder.parts.push_back(p.get());
            own.push_back(std::move(p));
        }
        folders.push_back(std::move(folder));
    }
    const auto dir = benchFolder();
    for (auto _ : state) {
        const auto r = saveFragmentSeriesToCsv((dir / "out.csv").string(), folders);
        if (!r.ok) state.SkipWithError(r.error.c_str());
        state.PauseTiming();
        std::filesystem::remove_all(r.folder);
        state.ResumeTiming();
    }
    std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_CsvExport_Joined)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CsvExport_PerSeries)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CsvExport_FolderPerSeries)->Unit(benchmark::kMillisecond)->UseRealTime();
