// Filtering and sorting the base table of a filterable grid: 10,000 rows, 2 inputs
// (8 columns, as the table of interval models), filters on two columns, numeric sort.
#include <benchmark/benchmark.h>

#include <random>

#include "exchange/GridFilter.h"
#include "numerics/Formatters.h"

namespace {

GridTable makeTable(int rows) {
    GridTable t(8, rows + 1);
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int r = 1; r <= rows; ++r) {
        t.setCell(1, r, "Интервал " + std::to_string(r));
        for (int c = 2; c < 8; ++c) t.setCell(c, r, r % 97 == 0 ? "текст" : formatNumber(u(gen)));
        t.setObject(r, r);
    }
    return t;
}

}  // namespace

static void BM_GridFilter(benchmark::State& state) {
    const GridTable t = makeTable(static_cast<int>(state.range(0)));
    std::vector<filterArray> filters(8);
    filters[2] = {std::make_shared<TFilter>(4, -0.5L, true), std::make_shared<TFilter>(1, 0.9L, true)};
    filters[5] = {std::make_shared<TFilter>(5, 0, true)};
    const integerArray cols{2, 3, 4, 5, 6, 7};
    for (auto _ : state) {
        auto out = filterRows(t, filters, cols, true);
        sortRows(t, out.rows, 3, false);
        benchmark::DoNotOptimize(out.rows.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GridFilter)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same through the widget: base table filled once, then filtering with the shown grid's
// view reset (offscreen).
#include <QWidget>

#include "BenchApplication.h"
#include "ui/widgets/FiltredStringGrid.h"

static void BM_FiltredStringGridFiltering(benchmark::State& state) {
    ensureApplication();
    QWidget owner;
    TFiltredStringGrid grid(&owner);
    grid.SGBase() = makeTable(static_cast<int>(state.range(0)));
    grid.setFiltersCol({2, 3, 4, 5, 6, 7});
    grid.setSortedOn(true);
    grid.sorting(3, false);
    grid.setCheckboxOn(true);
    grid.setFilterOnOff(true);
    grid.setFitredCol(2);
    grid.loadFilter({std::make_shared<TFilter>(4, -0.5L, true), std::make_shared<TFilter>(1, 0.9L, true)});
    grid.setFitredCol(5);
    grid.loadFilter({std::make_shared<TFilter>(5, 0, true)});
    if (grid.shownRowCount() < 2 || grid.shownRowCount() > static_cast<int>(state.range(0)))
        state.SkipWithError("filters did not act");
    for (auto _ : state) {
        grid.filtering();
        benchmark::DoNotOptimize(grid.shownRowCount());
    }
}
BENCHMARK(BM_FiltredStringGridFiltering)->Arg(10000)->Unit(benchmark::kMillisecond);
