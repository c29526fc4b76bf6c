// The statistics page showing a series of a million points (statistics, value grid and a
// repaint), and the correlation map of 50 series of 100,000 points computed and shown.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <QApplication>
#include <QTableView>
#include <cmath>

#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/statistics/CorrelationPage.h"
#include "ui/pages/statistics/StatisticsPage.h"
#include "ui/pages/statistics/TForm5.h"
#include "ui/widgets/FrozenTableView.h"

namespace {

// Plant-like signals: far from zero, slow waves, some noise.
void addSeries(TForm1& form, int count, int points) {
    const double start = 45000.0, step = 1.0 / 1440.0;
    for (int s = 0; s < count; ++s) {
        TStatisticSeries ts;
        ts.Title = "Параметр " + std::to_string(s + 1);
        std::vector<double> x(static_cast<size_t>(points)), y(static_cast<size_t>(points));
        for (int j = 0; j < points; ++j) {
            x[static_cast<size_t>(j)] = start + j * step;
            y[static_cast<size_t>(j)] = 1e5 + 500 * std::sin(j * 0.0007 * (s + 1)) + (j * 7919 % 101) * 0.3;
        }
        ts.setPoints(std::move(x), std::move(y));
        form.project().addSeries(ts, false, s + 1 == count);
    }
}

void BM_StatisticsPageShow(benchmark::State& state) {
    ensureApplication();
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};
    addSeries(form, 1, static_cast<int>(state.range(0)));
    auto* page = qobject_cast<StatisticsPage*>(form.page(2));
    form.resize(1280, 800);
    form.show();
    form.setActivePage(2);
    for (auto _ : state) {
        page->refreshStatistic(0);
        page->StringGrid5->viewport()->repaint();
        benchmark::DoNotOptimize(page->StringGrid5->model()->rowCount());
    }
    state.SetLabel(std::to_string(state.range(0)) + " points");
}
BENCHMARK(BM_StatisticsPageShow)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CorrelationMapWindow(benchmark::State& state) {
    ensureApplication();
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};
    addSeries(form, 50, static_cast<int>(state.range(0)));
    auto* page = qobject_cast<CorrelationPage*>(form.page(3));
    for (auto _ : state) {
        page->showKorrMap();
        page->form5()->StringGrid1->viewport()->repaint();
    }
    page->form5()->hide();
    state.SetLabel("50 series x " + std::to_string(state.range(0)) + " points");
}
BENCHMARK(BM_CorrelationMapWindow)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
