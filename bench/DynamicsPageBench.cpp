// The dynamics page's identification as the user runs it: a 100,000-point interval, orders
// 2 and 2, delay 5 — working copies, shift, engine, texts, quality values and the chart
// drawn with the result.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QLineEdit>
#include <cmath>

#include "BenchApplication.h"
#include "ui/charts/FragmentChart.h"
#include "ui/charts/ResultChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/dynamics/DynamicsPage.h"

namespace {

void BM_DynamicsPageIdentify(benchmark::State& state) {
    ensureApplication();
    const int points = static_cast<int>(state.range(0));
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};
    form.resize(1280, 800);
    form.show();

    // A second-order plant with a two-term input, driven by a pseudo-random input around a
    // plant-like level, the output delayed by five samples.
    const double start = 45000.0, step = 1.0 / 1440.0;
    TStatisticSeries u, y;
    u.Title = "Расход";
    y.Title = "Давление";
    std::vector<double> uv(static_cast<size_t>(points)), yv(static_cast<size_t>(points), 1e5);
    unsigned seed = 7;
    for (double& v : uv) {
        seed = seed * 1103515245u + 12345u;
        v = 50.0 + static_cast<double>((seed >> 16) & 0x7FFF) / 3276.8;
    }
    for (size_t i = 7; i < uv.size(); ++i)
        yv[i] = 1.5 * yv[i - 1] - 0.56 * yv[i - 2] + 0.3 * (uv[i - 5] - 50) + 0.1 * (uv[i - 6] - 50) + 0.06e5 +
                0.001 * std::sin(0.37 * static_cast<double>(i));
    for (int i = 0; i < points; ++i) {
        u.AddXY(start + i * step, uv[static_cast<size_t>(i)]);
        y.AddXY(start + i * step, yv[static_cast<size_t>(i)]);
    }
    form.project().addSeries(u, false, true);
    form.project().addSeries(y, false, true);
    form.fragmentsChart->addFragment("Интервал 1", 1, start - 1e-6, start + points * step);
    form.setActivePage(9);
    auto* page = qobject_cast<DynamicsPage*>(form.page(9));
    page->ComboBox4->setCurrentIndex(0);
    page->ComboBox7->setCurrentIndex(1);
    page->ComboBox3->setCurrentIndex(0);
    page->ComboBox8->setCurrentIndex(2);
    page->ComboBox9->setCurrentIndex(2);
    page->Edit19->setText("5");

    for (auto _ : state) {
        page->Button16Click();
        page->Chart11->replot(QCustomPlot::rpImmediateRefresh);
    }
    if (!prompter.record.entries.empty()) state.SkipWithError(prompter.record.texts().front().c_str());
    if (page->Chart11->seriesCount() != 2) state.SkipWithError("no result on the chart");
    state.SetItemsProcessed(state.iterations() * points);
}
BENCHMARK(BM_DynamicsPageIdentify)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
