// The regression page on 100,000 points a series: the identification with its result grid
// and chart (20 inputs), and the HTML report with its two chart pictures.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>

#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

// A main window on the regression page with `inputs` input series and one output of
// `points` points, identified over the first 70 % and, when asked, tested on the rest.
struct IdentifiedPage {
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};
    RegressionPage* page = nullptr;

    IdentifiedPage(int inputs, int points, bool test) {
        const double start = 45000.0, step = 1.0 / 1440.0;
        std::vector<double> x(static_cast<size_t>(points)), out(static_cast<size_t>(points), 1e5);
        for (int j = 0; j < points; ++j) x[static_cast<size_t>(j)] = start + j * step;
        for (int s = 0; s < inputs; ++s) {
            TStatisticSeries ts;
            ts.Title = "Вход " + std::to_string(s + 1);
            std::vector<double> y(static_cast<size_t>(points));
            for (int j = 0; j < points; ++j) {
                y[static_cast<size_t>(j)] = 50 + std::sin(j * 0.001 * (s + 1)) * 10 + (j * (s + 3) % 101) * 0.01;
                out[static_cast<size_t>(j)] += (s % 3 - 1.0) * y[static_cast<size_t>(j)];
            }
            ts.setPoints(x, std::move(y));
            form.project().addSeries(ts, false, true);
        }
        TStatisticSeries output;
        output.Title = "Выход";
        output.setPoints(x, std::move(out));
        form.project().addSeries(output, false, true);
        const double split = start + points * 0.7 * step;
        form.fragmentsChart->addFragment("Обучение", 1, start, split);
        form.fragmentsChart->addFragment("Тест", 1, split + step / 2, start + points * step);
        page = static_cast<RegressionPage*>(form.page(6));
        form.setActivePage(6);
        std::vector<int> all(static_cast<size_t>(inputs));
        for (int s = 0; s < inputs; ++s) all[static_cast<size_t>(s)] = s;
        page->ListBox3->addSeries(0, all);
        page->ListBox2->addSeries(inputs, {inputs});
        page->CheckListBox1->setTicked(1, false);
        page->CheckListBox2->setTicked(1, true);
        page->Button2Click();
        if (test) page->Button12Click();
    }
};

void BM_RegressionIdentify(benchmark::State& state) {
    ensureApplication();
    IdentifiedPage p(20, static_cast<int>(state.range(0)), false);
    for (auto _ : state) p.page->Button2Click();
    if (!p.prompter.record.entries.empty()) state.SkipWithError(p.prompter.record.texts().front().c_str());
}
BENCHMARK(BM_RegressionIdentify)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RegressionReport(benchmark::State& state) {
    ensureApplication();
    IdentifiedPage p(2, static_cast<int>(state.range(0)), true);
    QTemporaryDir dir;
    int n = 0;
    for (auto _ : state) {
        p.prompter.saveAnswers = {dir.path().toStdString() + "/report" + std::to_string(++n)};
        p.page->Button13Click();
    }
    if (!p.prompter.record.entries.empty()) state.SkipWithError(p.prompter.record.texts().front().c_str());
}
BENCHMARK(BM_RegressionReport)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
