// The filter page's whole run on one 100,000-row column: loaded with the formula y*2,
// filtered with typed limits, gaps filled with the mean, smoothed with a window of 10 and
// drawn on the page's chart.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <random>

#include "exchange/CellTable.h"
#include "exchange/WorkbookReader.h"
#include "numerics/FormatSettings.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/filter/FilterChart.h"
#include "ui/pages/filter/FilterPage.h"
#include "ui/widgets/TLoadData.h"

namespace {

// A time column and one value column of one-minute steps around 1e5, with a gap now and then.
WorkbookReadResult makeWorkbook(int rows) {
    CellTableBuilder b;
    b.add(0, 0, "Время");
    b.add(0, 1, "Давление");
    std::mt19937 rng(5);
    std::normal_distribution<double> value(1e5, 50);
    const FormatSettings fs;
    for (int r = 0; r < rows; ++r) {
        const auto row = static_cast<uint32_t>(r + 1);
        b.add(row, 0, dateTimeToStr(45000.0 + r / 1440.0, fs));
        b.add(row, 1, r % 997 == 0 ? std::string() : floatToStr(value(rng), fs));
    }
    WorkbookReadResult result;
    b.build(result.cells);
    return result;
}

void BM_FilterPageRun(benchmark::State& state) {
    ensureApplication();
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter}};
    form.resize(1280, 800);
    form.show();
    DataPage* data = form.dataPage();
    auto* page = qobject_cast<FilterPage*>(form.page(1));
    data->dataGrid->applyWorkbook("bench.xlsx", makeWorkbook(static_cast<int>(state.range(0))));
    form.setActivePage(1);
    page->ComboBox5->setCurrentIndex(0);
    page->CheckBox6->setChecked(true);
    page->Edit17->setText("y*2");
    page->CheckBox5->setChecked(true);
    page->Edit9->setText("10");
    QApplication::processEvents();
    for (auto _ : state) {
        page->Button8->click();
        page->Edit7->setText("200100");
        page->Edit8->setText("199900");
        page->Edit7KeyPress(QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        page->Edit8KeyPress(QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        page->Button9->click();
        page->Button11->click();
        page->Chart1->replot();
        benchmark::DoNotOptimize(page->Chart1->seriesCount());
    }
    if (page->Chart1->seriesCount() != 4 || !prompter.record.entries.empty()) state.SkipWithError("run incomplete");
}

}  // namespace

BENCHMARK(BM_FilterPageRun)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
