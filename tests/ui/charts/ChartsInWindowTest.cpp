// The charts of the pages as a user meets them in the main window: nothing labelled on an
// empty chart (at start and after a project load), the legend check boxes of the result
// charts, the data kept off the plot frame, the first and last times labelled on the
// dynamics chart, and date labels that never run into each other on a narrow filter chart.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <map>

#include "ui/PageTestSupport.h"
#include "ui/charts/ChartTestSupport.h"
#include "ui/charts/FragmentChart.h"
#include "ui/charts/ResultChart.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/data/TimeAxisBox.h"
#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/filter/FilterChart.h"
#include "ui/pages/filter/FilterPage.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

constexpr double kStart = 45000.0;  // 15.03.2023 00:00
constexpr double kMinute = 1.0 / 1440;

// Pixels of one colour inside the plot area (the legend's icons lie outside it).
int plotPixels(SeriesChart* chart, QRgb color) {
    chart->replot();
    const QImage img = chart->toPixmap().toImage();
    const QRect plot = chart->axisRect()->rect();
    int n = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
    return n;
}

const QRgb kBlue = qRgb(0, 0, 255), kRed = qRgb(255, 0, 0);

struct ChartsInWindow : PageFixture {
    void SetUp() override {
        form.resize(1280, 800);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    std::map<std::string, SeriesChart*> charts() const {
        std::map<std::string, SeriesChart*> all;
        for (SeriesChart* c : form.findChildren<SeriesChart*>()) all[c->objectName().toStdString()] = c;
        return all;
    }

    // A chart without series or bars shows no tick labels on either axis and no legend box.
    void expectEmptyChartsBlank(const std::string& when) {
        for (const auto& [name, chart] : charts()) {
            if (chart->seriesCount() > 0 || chart->barsCount() > 0) continue;
            chart->replot();
            EXPECT_FALSE(chart->xAxis->tickLabels()) << name << " " << when;
            EXPECT_FALSE(chart->yAxis->tickLabels()) << name << " " << when;
            EXPECT_FALSE(chart->legend->visible()) << name << " " << when;
        }
    }

    void click(QWidget* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at); }

    // Output = 2·Расход − 0.5·Давление + 10 plus a little noise; the pressure near 1e5 Pa.
    // Three intervals of 30 minutes; identified on the first two, tested on the third.
    RegressionPage* identifyRegression() {
        std::vector<double> flow, pressure, out;
        for (int i = 0; i < 90; ++i) {
            flow.push_back(40.0 + double((i * 7) % 19));
            pressure.push_back(100000.0 + 3.0 * double((i * 11) % 13) - 0.1 * i);
            out.push_back(2.0 * flow.back() - 0.5 * pressure.back() + 10.0 + 0.05 * double((i * 29) % 23 - 11) / 11.0);
        }
        const int x1 = addSeries("Расход", flow, kStart, kMinute);
        const int x2 = addSeries("Давление", pressure, kStart, kMinute);
        const int y = addSeries("Выход", out, kStart, kMinute);
        for (int k = 0; k < 3; ++k)
            form.fragmentsChart->addFragment("Интервал " + std::to_string(k + 1), 1, kStart + (30 * k - 0.5) * kMinute,
                                             kStart + (30 * k + 29.5) * kMinute);
        form.setActivePage(6);
        auto* page = qobject_cast<RegressionPage*>(form.page(6));
        EXPECT_TRUE(drop(page->ListBox3, {x1, x2}));
        EXPECT_TRUE(drop(page->ListBox2, {y}));
        page->CheckListBox1->setTicked(2, false);
        click(page->Button2, page->Button2->rect().center());
        page->PageControl->setCurrentIndex(1);
        page->CheckListBox2->setTicked(2, true);
        click(page->Button12, page->Button12->rect().center());
        page->PageControl->setCurrentIndex(0);
        return page;
    }
};

TEST_F(ChartsInWindow, EmptyChartsShowNeitherLabelsNorLegendAtStartAndAfterALoad) {
    for (int p = 0; p < TForm1::kPageCount; ++p) form.setActivePage(p);
    // Every chart of every page is there, and all of them are empty.
    std::vector<std::string> names;
    for (const auto& [name, chart] : charts()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"Chart1", "Chart10", "Chart11", "Chart2", "Chart3", "Chart4", "Chart5",
                                                "Chart6", "Chart7", "Chart8", "Chart9", "fragmentsChart"}));
    expectEmptyChartsBlank("at start");

    // With results and series on them the charts are labelled and have their legends.
    RegressionPage* page = identifyRegression();
    form.setActivePage(4);
    ASSERT_TRUE(drop(form.fragmentsChart, {0, 2}));
    for (SeriesChart* chart : std::initializer_list<SeriesChart*>{page->Chart8, page->Chart9, form.fragmentsChart}) {
        ASSERT_EQ(chart->seriesCount(), 2) << chart->objectName().toStdString();
        const std::vector<DrawnLabel> labels = dateLabels(chart);
        ASSERT_FALSE(labels.empty()) << chart->objectName().toStdString();
        EXPECT_TRUE(labels.front().text.startsWith("15.03.23")) << labels.front().text.toStdString();
        EXPECT_TRUE(chart->yAxis->tickLabels());
        EXPECT_TRUE(chart->legend->visible());
        EXPECT_EQ(chart->legend->itemCount(), 2);
    }

    // A project load empties them again: nothing labelled, no legend box. The project holds
    // no intervals, so that the fragment chart has nothing at all to show.
    form.fragmentsChart->delAllFragment();
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    prompter.saveAnswers = {base + "/Проект.prj"};
    ASSERT_TRUE(form.saveAsProject());
    prompter.openAnswers = {base + "/Проект/Проект.prj"};
    form.N3Click();
    ASSERT_EQ(form.project().seriesCount(), 3);
    EXPECT_EQ(page->Chart8->seriesCount() + page->Chart9->seriesCount() + form.fragmentsChart->seriesCount(), 0);
    expectEmptyChartsBlank("after the load");
    for (int p = 0; p < TForm1::kPageCount; ++p) form.setActivePage(p);
    expectEmptyChartsBlank("after the load, every page shown");
}

TEST_F(ChartsInWindow, LegendCheckBoxesOfTheRegressionChartsHideACurve) {
    RegressionPage* page = identifyRegression();
    const struct {
        ResultChart* chart;
        int tab;
    } cases[] = {{page->Chart8, 0}, {page->Chart9, 1}};
    for (const auto& c : cases) {
        const std::string name = c.chart->objectName().toStdString();
        page->PageControl->setCurrentIndex(c.tab);
        ASSERT_EQ(c.chart->seriesCount(), 2) << name;
        EXPECT_TRUE(c.chart->legendCheckBoxes()) << name;
        // The model fits so well that its red curve covers the blue one of the measured output.
        ASSERT_GT(plotPixels(c.chart, kRed), 100) << name;
        // The check box of the model's entry (the second): the red curve is gone, the blue shows.
        const QRect model = c.chart->legend->item(1)->rect();
        const QPoint box(model.left() + 6, model.center().y());
        click(c.chart, box);
        EXPECT_FALSE(c.chart->seriesVisible(1)) << name;
        EXPECT_TRUE(c.chart->seriesVisible(0)) << name;
        EXPECT_EQ(plotPixels(c.chart, kRed), 0) << name;
        EXPECT_GT(plotPixels(c.chart, kBlue), 100) << name;
        // A second click brings it back; the series' data stay as they were.
        click(c.chart, box);
        EXPECT_TRUE(c.chart->seriesVisible(1)) << name;
        EXPECT_GT(plotPixels(c.chart, kRed), 100) << name;
        EXPECT_EQ(c.chart->series(1).Title, "Расчетное значение") << name;
    }
}

// Pixels between the extremes of the shown data and the plot frame: left, right, top, bottom.
std::array<double, 4> dataToFrame(SeriesChart* chart) {
    chart->replot();
    double xmin = INFINITY, xmax = -INFINITY, ymin = INFINITY, ymax = -INFINITY;
    for (int i = 0; i < chart->seriesCount(); ++i) {
        const TStatisticSeries& s = chart->series(i);
        for (int j = 0; j < s.Count(); ++j) {
            xmin = std::min(xmin, static_cast<double>(s.XValue(j)));
            xmax = std::max(xmax, static_cast<double>(s.XValue(j)));
            ymin = std::min(ymin, static_cast<double>(s.YValue(j)));
            ymax = std::max(ymax, static_cast<double>(s.YValue(j)));
        }
    }
    const QRect plot = chart->axisRect()->rect();
    // A plot of width w spans the pixels left .. left + w (QCustomPlot's mapping).
    return {chart->bottomPixelOf(xmin) - plot.left(), plot.left() + plot.width() - chart->bottomPixelOf(xmax),
            chart->yAxis->coordToPixel(ymax) - (plot.top() - 1), (plot.top() - 1 + plot.height()) - chart->yAxis->coordToPixel(ymin)};
}

TEST_F(ChartsInWindow, ResultChartsKeepTheirDataOffTheFrame) {
    RegressionPage* page = identifyRegression();
    for (ResultChart* chart : {page->Chart8, page->Chart9}) {
        const auto gaps = dataToFrame(chart);
        for (double g : gaps) EXPECT_NEAR(g, 8.0, 0.5) << chart->objectName().toStdString();
        expectApartAndOnTheChart(chart, chart->objectName().toStdString());
    }
}

// The plant of the dynamics page: K = 2, T = 10 min, its input delayed by three samples.
TEST_F(ChartsInWindow, DynamicsChartLabelsTheFirstAndLastTimeAtAnyWidth) {
    std::vector<double> u(200, 0.0), y(200, 0.0);
    for (int i = 1; i < 200; ++i) u[i] = std::sin(0.3 * i) + ((i / 20) % 2);
    for (int i = 3; i < 200; ++i) y[i] = 10.0 / 11.0 * y[i - 1] + 2.0 / 11.0 * u[i - 3];
    addSeries("U", u, kStart, kMinute);
    addSeries("Y", y, kStart, kMinute);
    form.fragmentsChart->addFragment("Интервал 1", 1, kStart - 1e-6, kStart + 199 * kMinute + 1e-6);
    form.setActivePage(9);
    auto* page = qobject_cast<DynamicsPage*>(form.page(9));
    page->ComboBox4->setCurrentIndex(0);
    page->ComboBox7->setCurrentIndex(1);
    page->ComboBox3->setCurrentIndex(0);
    page->ComboBox9->setCurrentIndex(1);
    page->Edit19->clear();
    QTest::keyClicks(page->Edit19, "3");
    click(page->Button16, page->Button16->rect().center());
    ResultChart* chart = page->Chart11;
    ASSERT_EQ(chart->seriesCount(), 2);
    // The shifted output runs from minute 3 to minute 199: 00:03 to 03:19.
    for (int width : {700, 1000, 1280, 1800}) {
        form.resize(width, 800);
        QApplication::processEvents();
        const std::string what = "window " + std::to_string(width) + ", chart " + std::to_string(chart->width());
        const std::vector<DrawnLabel> labels = dateLabels(chart);
        ASSERT_GE(labels.size(), 2u) << what;
        EXPECT_EQ(labels.front().text, "15.03.23 00:03") << what;
        EXPECT_EQ(labels.back().text, "15.03.23 03:19") << what;
        const double first = chart->bottomPixelOf(kStart + 3 * kMinute), last = chart->bottomPixelOf(kStart + 199 * kMinute);
        EXPECT_NEAR((labels.front().left + labels.front().right) / 2, first, 1.0) << what;
        EXPECT_NEAR((labels.back().left + labels.back().right) / 2, last, 1.0) << what;
        expectApartAndOnTheChart(chart, what);
        for (double g : dataToFrame(chart)) EXPECT_NEAR(g, 8.0, 0.5) << what;
    }
}

TEST_F(ChartsInWindow, FilterChartDateLabelsStayApartWhenNarrow) {
    form.dataPage()->openExcelFile(std::string(TARVOLYN_TEST_DATA) + "/workbooks/journey.xlsx");
    auto* page = qobject_cast<FilterPage*>(form.page(1));
    FilterChart* chart = page->Chart1;
    // 300 rows a minute apart (five hours), and with a time axis entered by hand at steps
    // that spread them over 6.85 days and over 87 days.
    const struct {
        bool manual;
        QTime step;
    } axes[] = {{false, {}}, {true, QTime(0, 33)}, {true, QTime(7, 0)}};
    for (const auto& axis : axes) {
        form.dataPage()->timeAxis->setState({QDate(2023, 3, 15), QTime(0, 0), "0", axis.step, axis.manual});
        form.setActivePage(1);
        page->ComboBox5->setCurrentIndex(page->ComboBox5->findText("Давление"));
        click(page->Button8, page->Button8->rect().center());
        ASSERT_EQ(chart->seriesCount(), 1);
        ASSERT_EQ(chart->series(0).Count(), 300);
        for (int width : {600, 800, 1000, 1280, 1600, 2000}) {
            form.resize(width, 800);
            QApplication::processEvents();
            const std::string what = axis.step.toString().toStdString() + ", window " + std::to_string(width) +
                                     ", chart " + std::to_string(chart->width());
            const std::vector<DrawnLabel> labels = dateLabels(chart);
            ASSERT_FALSE(labels.empty()) << what;
            for (size_t i = 1; i < labels.size(); ++i) EXPECT_NE(labels[i].text.toStdString(), labels[i - 1].text.toStdString()) << what;
            expectApartAndOnTheChart(chart, what);
        }
    }
}

}  // namespace
