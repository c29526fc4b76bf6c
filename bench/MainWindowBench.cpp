// The GUI-thread part of loading and saving a large project in the main window: applying
// a project read on the worker (series, trees, intervals drawn again, fragment series cut),
// and the snapshot taken before a save. 50 series of 100,000 points, 10 intervals.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"
#include <cmath>

#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"

namespace {

ProjectReadResult largeProject(int seriesCount, int points) {
    ProjectReadResult r;
    r.opened = true;
    r.folder = "/tmp/bench";
    r.projectName = "bench";
    const double start = 45000.0, step = 1.0 / 1440.0;
    for (int s = 0; s < seriesCount; ++s) {
        TStatisticSeries ts;
        ts.Title = "Параметр " + std::to_string(s + 1);
        std::vector<double> x(static_cast<size_t>(points)), y(static_cast<size_t>(points));
        for (int j = 0; j < points; ++j) {
            x[static_cast<size_t>(j)] = start + j * step;
            y[static_cast<size_t>(j)] = std::sin(j * 0.001 * (s + 1));
        }
        ts.setPoints(std::move(x), std::move(y));
        ts.calcStatistic();
        r.data.series.push_back(std::move(ts));
    }
    const double span = points * step;
    for (int f = 0; f < 10; ++f) {
        TFragment fr(f % 3 == 0 ? 0 : 1, true, start + span * f / 10.0, start + span * (f + 0.8) / 10.0);
        fr.name = "Интервал " + std::to_string(f + 1);
        r.data.userFragments.push_back(fr);
    }
    return r;
}

void BM_MainWindowApplyLoadedProject(benchmark::State& state) {
    ensureApplication();
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter, nullptr, nullptr}};
    const ProjectReadResult source = largeProject(50, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ProjectReadResult copy = source;
        form.clear();
        state.ResumeTiming();
        form.loadProjectProc(std::move(copy));
        benchmark::DoNotOptimize(form.project().fragmentsSeriesList.size());
    }
}
BENCHMARK(BM_MainWindowApplyLoadedProject)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MainWindowSnapshotBeforeSave(benchmark::State& state) {
    ensureApplication();
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter, nullptr, nullptr}};
    form.loadProjectProc(largeProject(50, static_cast<int>(state.range(0))));
    for (auto _ : state) {
        form.fragmentsChart->doChangeFragments();  // the intervals changed: copy them again
        form.loadFragments();
        ProjectData data = form.project().snapshot();
        benchmark::DoNotOptimize(data.series.size());
    }
}
BENCHMARK(BM_MainWindowSnapshotBeforeSave)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
