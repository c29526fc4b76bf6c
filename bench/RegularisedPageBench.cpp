// The regularised-regression page on a large project: 200 intervals of 1,000 points with 10
// inputs, one model fitted per interval (on the worker, behind the busy frame) and the
// table built; then filtering and sorting that table.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <QApplication>
#include <ctime>
#include <memory>
#include <random>

#include "identification/Analyzer.h"
#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/regularised/RegularisedPage.h"
#include "ui/widgets/FiltredStringGrid.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

constexpr int kIntervals = 200;
constexpr int kIntervalPoints = 1000;
constexpr int kInputs = 10;

// A main window whose project holds 10 inputs and an output over 200 intervals, shown on
// the regularised page with the lists filled.
struct LargePage {
    ScriptedPrompter prompter;
    std::unique_ptr<TForm1> form;
    RegularisedPage* page = nullptr;

    LargePage() {
        ensureApplication();
        form = std::make_unique<TForm1>(TForm1Services{&prompter});
        const int n = kIntervals * kIntervalPoints;
        const double start = 45000.0, step = 1.0 / 1440.0;
        std::mt19937 rng(11);
        std::normal_distribution<double> d(0, 1);
        std::vector<double> x(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) x[static_cast<size_t>(i)] = start + i * step;
        std::vector<std::vector<double>> in(kInputs, std::vector<double>(static_cast<size_t>(n)));
        std::vector<double> out(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            double sum = 1.0e5;
            for (int k = 0; k < kInputs; ++k) {
                const double v = 1.0e5 + 50.0 * (k + 1) + 10.0 * d(rng);
                in[static_cast<size_t>(k)][static_cast<size_t>(i)] = v;
                sum += 0.1 * (k + 1) * v;
            }
            out[static_cast<size_t>(i)] = sum + d(rng);
        }
        std::vector<int> inputs;
        for (int k = 0; k <= kInputs; ++k) {
            TStatisticSeries s;
            s.Title = k < kInputs ? "Вход " + std::to_string(k + 1) : std::string("Выход");
            s.setPoints(x, k < kInputs ? in[static_cast<size_t>(k)] : out);
            form->project().addSeries(s, false, true);
            if (k < kInputs) inputs.push_back(k);
        }
        for (int f = 0; f < kIntervals; ++f) {
            const double a = start + (f * kIntervalPoints - 0.5) * step;
            form->fragmentsChart->addFragment("Интервал " + std::to_string(f + 1), 1, a, a + kIntervalPoints * step);
        }
        page = qobject_cast<RegularisedPage*>(form->page(8));
        form->setActivePage(8);
        page->ListBox1->addSeries(kInputs, {kInputs});
        page->ListBox4->addSeries(0, inputs);
    }
};

double processCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void BM_IntervalModelsPage(benchmark::State& state) {
    LargePage large;
    // The fits run on a worker thread: the CPU time of every thread of the process per
    // run, beside the wall time (which a loaded machine stretches).
    double cpu = 0;
    for (auto _ : state) {
        const double before = processCpuMs();
        large.page->Button14Click();
        cpu += processCpuMs() - before;
        benchmark::DoNotOptimize(large.page->SGStaticModel->shownRowCount());
    }
    state.counters["all_threads_cpu_ms"] = cpu / static_cast<double>(state.iterations());
    if (large.page->SGStaticModel->shownRowCount() != kIntervals + 1) state.SkipWithError("models missing");
}
BENCHMARK(BM_IntervalModelsPage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IntervalModelsTableFilterSort(benchmark::State& state) {
    LargePage large;
    large.page->Button14Click();
    TFiltredStringGrid& grid = *large.page->SGStaticModel;
    grid.setFitredCol(2);
    grid.loadFilter({std::make_shared<TFilter>(4, 0.5L, true)});
    grid.setFitredCol(5);
    grid.loadFilter({std::make_shared<TFilter>(5, 0.0L, true)});
    grid.setSortedOn(true);
    bool asc = true;
    for (auto _ : state) {
        grid.filtering();
        grid.sorting(3, asc);
        asc = !asc;
        benchmark::DoNotOptimize(grid.shownRowCount());
    }
    if (grid.shownRowCount() < 2) state.SkipWithError("filters removed every model");
}
BENCHMARK(BM_IntervalModelsTableFilterSort)->Unit(benchmark::kMillisecond);

}  // namespace
