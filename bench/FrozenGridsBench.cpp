// Grids whose fixed rows and columns stay in view: the statistics page's value grid of a
// million points scrolled and repainted with its captions, and the shown grid of a
// filterable table of 100,000 rows (the interval models' table, 2 inputs) filtered, sorted,
// sized to its texts and repainted with its fixed check-box column.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <QScrollBar>
#include <cmath>
#include <random>

#include "numerics/Formatters.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/statistics/StatisticsPage.h"
#include "ui/widgets/FiltredStringGrid.h"
#include "ui/widgets/FrozenTableView.h"

namespace {

void repaintAll(FrozenTableView* grid) {
    grid->viewport()->repaint();
    for (QTableView* pane : {grid->frozenRowsPane(), grid->frozenColsPane(), grid->frozenCornerPane()})
        if (pane && pane->isVisible()) pane->viewport()->repaint();
}

void BM_ValueGridScroll(benchmark::State& state) {
    ensureApplication();
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};
    const int points = static_cast<int>(state.range(0));
    TStatisticSeries s;
    s.Title = "Давление пара";
    std::vector<double> x(static_cast<size_t>(points)), y(static_cast<size_t>(points));
    for (int j = 0; j < points; ++j) {
        x[static_cast<size_t>(j)] = 45000.0 + j / 1440.0;
        y[static_cast<size_t>(j)] = 1e5 + 500 * std::sin(j * 0.0007);
    }
    s.setPoints(std::move(x), std::move(y));
    form.project().addSeries(s, false, true);
    auto* page = qobject_cast<StatisticsPage*>(form.page(2));
    form.resize(1280, 800);
    form.show();
    form.setActivePage(2);
    page->refreshStatistic(0);
    QApplication::processEvents();
    FrozenTableView* grid = page->StringGrid5;
    QScrollBar* bar = grid->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        // Jumps through the grid as a dragged scroll bar does.
        bar->setValue(static_cast<int>((static_cast<long long>(step++) * 7919) % (bar->maximum() + 1)));
        repaintAll(grid);
    }
    if (!grid->frozenRowsPane() || !grid->frozenRowsPane()->isVisible()) state.SkipWithError("captions not fixed");
    state.SetLabel(std::to_string(points) + " points");
}
BENCHMARK(BM_ValueGridScroll)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FixedColumnTable(benchmark::State& state) {
    ensureApplication();
    QWidget owner;
    owner.resize(1000, 600);
    TFiltredStringGrid grid(&owner);
    const int rows = static_cast<int>(state.range(0));
    GridTable t(8, rows + 1);
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int c = 1; c < 8; ++c) t.setCell(c, 0, c == 1 ? "Имя" : "K" + std::to_string(c));
    for (int r = 1; r <= rows; ++r) {
        t.setCell(1, r, "Интервал " + std::to_string(r));
        for (int c = 2; c < 8; ++c) t.setCell(c, r, formatNumber(u(gen)));
        t.setObject(r, r);
    }
    grid.SGBase() = std::move(t);
    grid.setFiltersCol({2, 3, 4, 5, 6, 7});
    grid.setCheckboxOn(true);
    grid.setFilterOnOff(true);
    grid.SGShow()->setGeometry(0, 0, 500, 500);
    owner.show();
    grid.setFitredCol(2);
    grid.loadFilter({std::make_shared<TFilter>(4, -0.5L, true)});
    grid.setSortedOn(true);
    bool asc = true;
    for (auto _ : state) {
        grid.filtering();
        grid.sorting(3, asc);
        asc = !asc;
        grid.fitColumns(1, 100);
        grid.SGShow()->horizontalScrollBar()->setValue(grid.SGShow()->horizontalScrollBar()->maximum());
        repaintAll(grid.SGShow());
    }
    if (!grid.SGShow()->frozenColsPane()->isVisible()) state.SkipWithError("check boxes not fixed");
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_FixedColumnTable)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
