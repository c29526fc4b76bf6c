// The fragment page with plant-sized data: a 100,000-point series split into intervals of 10
// points and of 1 point (10,000 and 100,000 intervals, the grid refilled and painted, the
// bands drawn); 10 series of 100,000 points dropped on the chart with the first replot; each
// zoom and scroll button followed by its replot on 10 series of 1,000,000 points; and with
// 100,000 intervals (the series split into intervals of one point): leaving the page with
// every interval list refilled and drawn, adding one more interval, a replot, and the
// statistics by intervals with a column per interval.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <memory>

#include "BenchApplication.h"
#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/fragments/FragmentPage.h"
#include "ui/pages/fragments/TForm11.h"
#include "ui/pages/statistics/IntervalStatisticsPage.h"
#include "ui/widgets/EditingStringGrid.h"

namespace {

// A shown main window on the fragment page with `series` project series of `points` points,
// one a minute.
struct PageBench {
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};
    FragmentPage* page = nullptr;

    PageBench(int series, int points) {
        form.setWindowState(Qt::WindowNoState);
        form.resize(1600, 1000);
        form.setActivePage(4);
        form.show();
        page = qobject_cast<FragmentPage*>(form.page(4));
        const double start = 45000.0, step = 1.0 / 1440.0;
        for (int s = 0; s < series; ++s) {
            TStatisticSeries ts;
            ts.Title = "Параметр " + std::to_string(s + 1);
            std::vector<double> x(static_cast<size_t>(points)), y(static_cast<size_t>(points));
            for (int j = 0; j < points; ++j) {
                x[static_cast<size_t>(j)] = start + j * step;
                y[static_cast<size_t>(j)] = 1e5 * (s + 1) + std::sin(j * 0.001 * (s + 1)) * 500 + (j % 97);
            }
            ts.setPoints(std::move(x), std::move(y));
            form.project().addSeries(ts, false, false);
        }
        form.loadSeries();
        QApplication::processEvents();
    }
    TForm1::DroppedSeries all() const {
        TForm1::DroppedSeries d;
        for (int i = 0; i < form.project().seriesCount(); ++i) d.selected.push_back(i);
        d.primary = 0;
        return d;
    }
    TFragmentChart& chart() { return *form.fragmentsChart; }
};

void BM_SplitIntervals(benchmark::State& state) {
    ensureApplication();
    PageBench b(1, 100000);
    b.page->fragmentsChartDragDrop(b.all());
    const QString points = QString::number(state.range(0));
    b.page->runForm11 = [points](TForm11& d) {
        d.Edit1->setText(points);
        return true;
    };
    for (auto _ : state) {
        state.PauseTiming();
        b.chart().delAllFragment();
        QApplication::processEvents();
        state.ResumeTiming();
        b.page->SpeedButton9Click();
        b.chart().replot(QCustomPlot::rpImmediateRefresh);
        QApplication::processEvents();
    }
    state.SetLabel(std::to_string(b.chart().numOfFragments()) + " intervals");
}
BENCHMARK(BM_SplitIntervals)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FragmentPageDrop(benchmark::State& state) {
    ensureApplication();
    PageBench b(10, 100000);
    for (auto _ : state) {
        state.PauseTiming();
        b.page->SpeedButton11Click();
        QApplication::processEvents();
        state.ResumeTiming();
        b.page->fragmentsChartDragDrop(b.all());
        b.chart().replot(QCustomPlot::rpImmediateRefresh);
        QApplication::processEvents();
    }
    state.SetLabel(std::to_string(b.chart().seriesCount()) + " series x 100000 points");
}
BENCHMARK(BM_FragmentPageDrop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FragmentPageZoomScroll(benchmark::State& state) {
    ensureApplication();
    // Made once for all buttons: ten million points take a while to build.
    static std::unique_ptr<PageBench> b;
    if (!b) {
        b = std::make_unique<PageBench>(10, 1000000);
        releaseBeforeApplicationEnds([] { b.reset(); });
        b->page->fragmentsChartDragDrop(b->all());
        for (int f = 0; f < 500; ++f)
            b->chart().addFragment("Интервал", static_cast<uint8_t>(f % 2), 45000.0 + f * 1.3, 45000.0 + f * 1.3 + 0.8);
    }
    using Click = void (FragmentPage::*)();
    static const std::pair<const char*, Click> buttons[] = {
        {"BitBtn5", &FragmentPage::BitBtn5Click},         {"BitBtn9", &FragmentPage::BitBtn9Click},
        {"BitBtn10", &FragmentPage::BitBtn10Click},       {"BitBtn11", &FragmentPage::BitBtn11Click},
        {"BitBtn12", &FragmentPage::BitBtn12Click},       {"BitBtn13", &FragmentPage::BitBtn13Click},
        {"SpeedButton2", &FragmentPage::SpeedButton2Click}, {"SpeedButton3", &FragmentPage::SpeedButton3Click},
        {"SpeedButton4", &FragmentPage::SpeedButton4Click}, {"SpeedButton5", &FragmentPage::SpeedButton5Click},
    };
    const auto& [name, click] = buttons[state.range(0)];
    b->form.show();
    for (auto _ : state) {
        state.PauseTiming();
        // From the whole range every time: the densest view, the worst case.
        b->chart().bottomAxisState().setAutomatic(true);
        b->chart().leftAxisState().setMinMax(0, 100);
        if (click == &FragmentPage::SpeedButton3Click || click == &FragmentPage::SpeedButton5Click)
            b->chart().bottomAxisState().setMinMax(45000.0 + 100, 45000.0 + 400);
        b->chart().replot(QCustomPlot::rpImmediateRefresh);
        state.ResumeTiming();
        (b->page->*click)();
        b->chart().replot(QCustomPlot::rpImmediateRefresh);
    }
    // Hidden between runs, so the event loops of later benchmarks do not repaint it.
    b->form.hide();
    QApplication::processEvents();
    state.SetLabel(std::string(name) + ", 10 series x 1000000 points, 500 intervals");
}
BENCHMARK(BM_FragmentPageZoomScroll)->DenseRange(0, 9)->Unit(benchmark::kMillisecond)->UseRealTime();

// A shown main window whose 100,000-point series is on the chart and split into 100,000
// intervals of one point each.
struct ManyIntervals : PageBench {
    ManyIntervals() : PageBench(1, 100000) {
        page->fragmentsChartDragDrop(all());
        page->runForm11 = [](TForm11& d) {
            d.Edit1->setText("1");
            return true;
        };
        page->SpeedButton9Click();
        QApplication::processEvents();
    }
    // Hidden after the runs, so the event loops of later benchmarks do not repaint it; the
    // label tells how many intervals the chart ended with.
    void finish(benchmark::State& state) {
        form.hide();
        QApplication::processEvents();
        state.SetLabel(std::to_string(chart().numOfFragments()) + " intervals");
    }
};

void BM_LeaveFragmentPage(benchmark::State& state) {
    ensureApplication();
    ManyIntervals b;
    const double start = 45000.0, step = 1.0 / 1440.0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        b.form.setActivePage(4);
        // An interval before all others comes and goes, so that every row of every list moves.
        if (n++ % 2 == 0) b.chart().addFragment(start - 10 * step, start - 5 * step);
        else b.chart().delFragment(b.chart().numOfFragments() - 1);
        QApplication::processEvents();
        state.ResumeTiming();
        // To the regression page: the intervals are copied into the project, every interval
        // list of the pages is refilled, and the page shows its two lists.
        b.form.setActivePage(6);
        QApplication::processEvents();
        b.form.repaint();
    }
    b.finish(state);
}
BENCHMARK(BM_LeaveFragmentPage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AddIntervalAmongMany(benchmark::State& state) {
    ensureApplication();
    ManyIntervals b;
    const double start = 45000.0, step = 1.0 / 1440.0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (b.chart().numOfFragments() > 100000) b.chart().delFragment(b.chart().numOfFragments() - 1);
        QApplication::processEvents();
        state.ResumeTiming();
        // One more interval, as a drag on the chart makes it: the grid and the bands follow.
        const double from = start + (1000 + 37 * (n++ % 2000)) * step;
        b.chart().addFragment(from, from + 10 * step);
        QApplication::processEvents();
        b.form.repaint();
    }
    b.finish(state);
}
BENCHMARK(BM_AddIntervalAmongMany)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReplotManyIntervals(benchmark::State& state) {
    ensureApplication();
    ManyIntervals b;
    for (auto _ : state) b.chart().replot(QCustomPlot::rpImmediateRefresh);
    b.finish(state);
}
BENCHMARK(BM_ReplotManyIntervals)->Unit(benchmark::kMillisecond)->UseRealTime();

// Statistics by intervals with 100,000 intervals: "Загрузить" fills and sizes a column per
// interval, and the page is drawn.
void BM_IntervalStatisticsManyIntervals(benchmark::State& state) {
    ensureApplication();
    ManyIntervals b;
    b.form.setActivePage(5);
    auto* page = qobject_cast<IntervalStatisticsPage*>(b.form.page(5));
    page->ComboBox2->setCurrentIndex(0);
    QApplication::processEvents();
    for (auto _ : state) {
        page->Button3->click();
        QApplication::processEvents();
        b.form.repaint();
    }
    b.form.hide();
    QApplication::processEvents();
    state.SetLabel(std::to_string(page->StringGrid7->colCount() - 1) + " columns");
}
BENCHMARK(BM_IntervalStatisticsManyIntervals)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
