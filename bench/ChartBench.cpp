// Replotting the fragment chart with 10 series of 1,000,000 points and 500 fragments.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"
#include <cmath>

#include "ui/charts/FragmentChart.h"

namespace {

void BM_FragmentChartReplot(benchmark::State& state) {
    ensureApplication();
    const int points = static_cast<int>(state.range(0));
    TFragmentChart chart;
    chart.resize(1600, 900);
    chart.setBottomDateTime("dd.mm.yy hh:mm");
    chart.setLegendPlace(SeriesChart::LegendPlace::Right);
    chart.setLegendCheckBoxes(true);
    const double start = 45000.0, step = 1.0 / 1440.0;  // one point a minute
    for (int s = 0; s < 10; ++s) {
        TStatisticSeries ts;
        ts.Title = "Параметр " + std::to_string(s + 1);
        ts.pointerVisible = false;
        std::vector<double> x(static_cast<size_t>(points)), y(static_cast<size_t>(points));
        std::vector<uint8_t> nulls(static_cast<size_t>(points), 0);
        double lo = INFINITY, hi = -INFINITY;
        for (int j = 0; j < points; ++j) {
            x[static_cast<size_t>(j)] = start + j * step;
            y[static_cast<size_t>(j)] = (s + 1) * 10.0 + std::sin(j * 0.001 * (s + 1)) * (s + 1) + (j % 97) * 0.01;
            lo = std::min(lo, y[static_cast<size_t>(j)]);
            hi = std::max(hi, y[static_cast<size_t>(j)]);
            if (j % 10007 == 0) nulls[static_cast<size_t>(j)] = 1;
        }
        ts.setPoints(std::move(x), std::move(y), std::move(nulls));
        chart.addSeries(ts);
        chart.addKoeff(hi, lo);
    }
    const double span = points * step;
    for (int f = 0; f < 500; ++f)
        chart.addFragment("Интервал", static_cast<uint8_t>(f % 2), start + span * f / 500.0,
                          start + span * (f + 0.6) / 500.0);
    chart.show();
    chart.replot(QCustomPlot::rpImmediateRefresh);
    for (auto _ : state) {
        chart.replot(QCustomPlot::rpImmediateRefresh);
    }
    state.SetLabel(std::to_string(points) + " points x 10 series, 500 fragments");
}
BENCHMARK(BM_FragmentChartReplot)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
