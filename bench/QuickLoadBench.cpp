#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/PrepareSeries.h"
#include "exchange/CellTable.h"
#include "exchange/QuickLoad.h"
#include "numerics/FormatSettings.h"
#include "numerics/Reporter.h"

namespace {

// A sheet of a time column and `columns` value columns with `rows` data rows of one-minute
// steps, a few gaps and unreadable cells, as a workbook read would leave it.
CellTable makeSheet(int columns, int rows) {
    CellTableBuilder b;
    b.add(0, 0, "Время");
    for (int c = 1; c <= columns; ++c) b.add(0, static_cast<uint32_t>(c), "Параметр " + std::to_string(c));
    std::mt19937 rng(3);
    std::normal_distribution<double> value(50, 10);
    const FormatSettings fs;
    for (int r = 0; r < rows; ++r) {
        const auto row = static_cast<uint32_t>(r + 1);
        b.add(row, 0, dateTimeToStr(45000.0 + r / 1440.0, fs));
        for (int c = 1; c <= columns; ++c) {
            const auto col = static_cast<uint32_t>(c);
            if ((r + c) % 997 == 0)
                b.add(row, col, "");
            else
                b.add(row, col, floatToStr(value(rng), fs));
        }
    }
    CellTable t;
    b.build(t);
    return t;
}

void runQuickLoad(benchmark::State& state, int window) {
    const int columns = static_cast<int>(state.range(0));
    const int rows = static_cast<int>(state.range(1));
    const CellTable table = makeSheet(columns, rows);
    const CellTableSource cells(table);
    std::vector<QuickLoadColumn> chosen;
    for (int c = 2; c <= columns + 1; ++c) chosen.push_back({c, "Параметр " + std::to_string(c - 1)});
    QuickLoadOptions options;
    options.window = window;
    TPrepareSeries prep;
    std::mt19937 rng(1);
    for (auto _ : state) {
        // What the project does with each series: a copy with its statistics.
        std::vector<TStatisticSeries> stored;
        stored.reserve(chosen.size());
        const auto result = quickLoad(
            cells, chosen, options, prep,
            [&](const TStatisticSeries& s, bool) {
                stored.emplace_back();
                stored.back().Assign(s);
                stored.back().calcStatistic();
            },
            SilentReporter::instance(), {}, rng);
        benchmark::DoNotOptimize(result.loaded);
    }
}

void BM_QuickLoad(benchmark::State& state) { runQuickLoad(state, 0); }
void BM_QuickLoadSmoothed(benchmark::State& state) { runQuickLoad(state, 10); }

void BM_CheckTimeColumn(benchmark::State& state) {
    const CellTable table = makeSheet(1, static_cast<int>(state.range(0)));
    const CellTableSource cells(table);
    for (auto _ : state) benchmark::DoNotOptimize(checkTimeColumn(cells, 1, 2, LoadDateFormat(), SilentReporter::instance()));
}

}  // namespace

BENCHMARK(BM_QuickLoad)->Args({50, 100000})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QuickLoadSmoothed)->Args({50, 100000})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CheckTimeColumn)->Arg(100000)->Unit(benchmark::kMillisecond);
