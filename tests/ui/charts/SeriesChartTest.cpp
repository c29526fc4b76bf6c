// The chart layer: conversions, graph data with gaps, axis ranges from the logical state,
// the legend's check boxes, rectangle zoom, bitmaps and the report pictures.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>

#include "ui/charts/ChartTestSupport.h"
#include "numerics/Reporter.h"
#include "ui/charts/ChartSeriesAdapter.h"
#include "ui/charts/ReportRendering.h"
#include "ui/charts/ResultChart.h"
#include "ui/charts/SeriesChart.h"

namespace {

TEST(ChartAdapter, ColoursAreBlueGreenRedFromTheHighByte) {
    const struct {
        int32_t bgr;
        int r, g, b;
    } cases[] = {{0xFF0000, 0, 0, 255}, {0x0000FF, 255, 0, 0}, {0x00D9FFC6, 198, 255, 217}, {0x008000, 0, 128, 0}, {0, 0, 0, 0}};
    for (const auto& c : cases) {
        const QColor q = colorFromBGR(c.bgr);
        EXPECT_EQ(q.red(), c.r) << std::hex << c.bgr;
        EXPECT_EQ(q.green(), c.g) << std::hex << c.bgr;
        EXPECT_EQ(q.blue(), c.b) << std::hex << c.bgr;
        EXPECT_EQ(bgrFromColor(q), c.bgr);
    }
    EXPECT_FALSE(colorFromBGR(-1).isValid());
}

TEST(ChartAdapter, DateTimePatterns) {
    const struct {
        const char* system;
        const char* qt;
    } cases[] = {
        {"dd.mm.yy hh:mm", "dd.MM.yy hh:mm"}, {"dd.mm.yyyy", "dd.MM.yyyy"}, {"hh:nn:ss", "hh:mm:ss"},
        {"h:mm:ss", "h:mm:ss"},               {"mm/dd/yy", "MM/dd/yy"},     {"hh:mm:ss.zzz", "hh:mm:ss.zzz"},
    };
    for (const auto& c : cases) EXPECT_EQ(qtDateTimeFormat(c.system).toStdString(), c.qt) << c.system;
}

TEST(ChartAdapter, TimeScaleAndLabelsInUtc) {
    EXPECT_DOUBLE_EQ(toChartTime(25569.0), 0.0);
    // 19431.5 days after 1970-01-01 is 15 March 2023, noon.
    EXPECT_DOUBLE_EQ(toChartTime(45000.5), 1678881600.0);
    EXPECT_DOUBLE_EQ(fromChartTime(1678881600.0), 45000.5);
    SeriesChart chart;
    chart.resize(600, 300);
    chart.setBottomDateTime("dd.mm.yy hh:mm");
    TStatisticSeries s;
    s.AddXY(45000.25, 1);
    s.AddXY(45000.75, 2);
    chart.addSeries(s);
    chart.replot();
    // The labels are UTC times of the ticks: one of them is noon on 15 March 2023.
    const QVector<double> ticks = chart.xAxis->tickVector();
    const QVector<QString> labels = chart.xAxis->tickVectorLabels();
    const qsizetype noon = ticks.indexOf(1678881600.0);
    ASSERT_GE(noon, 0);
    EXPECT_EQ(labels[noon].toStdString(), "15.03.23 12:00");
}

TEST(SeriesChartTest, NullPointsBecomeGapsAndTheCopyKeepsTheData) {
    TStatisticSeries s;
    s.Title = "T1";
    s.AddXY(45000.0, 1.5);
    s.SetNull(s.AddXY(45000.25, 7.0));
    s.AddXY(45000.5, -2.0);
    SeriesChart chart;
    chart.setBottomDateTime("dd.mm.yy hh:mm");
    const int i = chart.addSeries(s);
    s.setYValue(0, 99);  // the chart holds its own copy
    const auto data = chart.seriesGraph(i)->data();
    ASSERT_EQ(data->size(), 3);
    EXPECT_DOUBLE_EQ(data->at(0)->key, (45000.0 - 25569.0) * 86400.0);
    EXPECT_DOUBLE_EQ(data->at(0)->value, 1.5);
    EXPECT_TRUE(std::isnan(data->at(1)->value));
    EXPECT_DOUBLE_EQ(data->at(2)->value, -2.0);
    EXPECT_DOUBLE_EQ(chart.series(i).YValue(1), 7.0);
    EXPECT_TRUE(chart.series(i).IsNull(1));
    EXPECT_EQ(chart.seriesGraph(i)->name().toStdString(), "T1");
}

TEST(SeriesChartTest, RangesFollowTheAxisState) {
    SeriesChart chart;
    chart.resize(500, 340);
    chart.setLegendPlace(SeriesChart::LegendPlace::Hidden);
    TStatisticSeries s;
    s.AddXY(1, 10);
    s.AddXY(3, 30);
    chart.addSeries(s);
    chart.updateRanges();
    EXPECT_DOUBLE_EQ(chart.bottomRange().lower, 1);
    EXPECT_DOUBLE_EQ(chart.bottomRange().upper, 3);
    EXPECT_DOUBLE_EQ(chart.leftRange().lower, 10);
    EXPECT_DOUBLE_EQ(chart.leftRange().upper, 30);

    // Left axis fixed to 0..100 with 20 pixels either side.
    chart.leftAxisState().setMinMax(0, 100);
    chart.leftAxisState().minimumOffset = 20;
    chart.leftAxisState().maximumOffset = 20;
    chart.updateRanges();
    const double h = chart.axisRect()->height();
    const double per = 100.0 / (h - 40);
    EXPECT_NEAR(chart.leftRange().lower, -20 * per, 1e-9);
    EXPECT_NEAR(chart.leftRange().upper, 100 + 20 * per, 1e-9);
    // Value 0 sits 20 pixels above the bottom of the plot.
    EXPECT_NEAR(chart.yAxis->coordToPixel(0), chart.axisRect()->bottom() - 20, 0.5);
}

TEST(SeriesChartTest, RectangleZoomAndUnzoom) {
    SeriesChart chart;
    chart.resize(600, 400);
    chart.setLegendPlace(SeriesChart::LegendPlace::Hidden);
    TStatisticSeries s;
    for (int j = 0; j <= 100; ++j) s.AddXY(j, j);
    chart.addSeries(s);
    chart.setZoomEnabled(true);
    chart.show();
    chart.replot();
    const QRect r = chart.axisRect()->rect();
    const QPoint from(r.left() + r.width() / 4, r.top() + r.height() / 4);
    const QPoint to(r.left() + r.width() / 2, r.top() + r.height() / 2);
    const double x1 = chart.bottomValueAt(from.x()), x2 = chart.bottomValueAt(to.x());
    const double yTop = chart.yAxis->pixelToCoord(from.y()), yBottom = chart.yAxis->pixelToCoord(to.y());
    QSignalSpy spy(&chart, &SeriesChart::zoomed);
    dragMouse(&chart, from, to);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_FALSE(chart.bottomAxisState().automatic);
    EXPECT_NEAR(chart.bottomAxisState().minimum, x1, 1e-9);
    EXPECT_NEAR(chart.bottomAxisState().maximum, x2, 1e-9);
    EXPECT_NEAR(chart.leftAxisState().minimum, yBottom, 1e-9);
    EXPECT_NEAR(chart.leftAxisState().maximum, yTop, 1e-9);
    // Dragging leftwards gives the automatic axes back.
    dragMouse(&chart, to, from);
    EXPECT_TRUE(chart.bottomAxisState().automatic);
    EXPECT_TRUE(chart.leftAxisState().automatic);
}

bool isBmp(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(2) == "BM";
}

int countPixels(const QImage& img, QRgb color) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
    return n;
}

TEST(ReportRendering, StaticReportPicturesAndLogo) {
    QTemporaryDir dir;
    ResultChart train, test;
    TStatisticSeries m, y;
    for (int j = 0; j < 40; ++j) {
        m.AddXY(45000 + j / 24.0, j % 7);
        y.AddXY(45000 + j / 24.0, (j % 7) * 0.8);
    }
    train.setResult(m, "Выходной параметр", y, "Расчетное значение");
    // The training chart is zoomed to its first day; the test data lies months later.
    train.bottomAxisState().setMinMax(45000, 45000.5);
    TStatisticSeries tm, ty;
    for (int j = 0; j < 40; ++j) {
        tm.AddXY(45100 + j / 24.0, j % 5);
        ty.AddXY(45100 + j / 24.0, (j % 5) * 1.1);
    }
    test.setResult(tm, "Выходное параметры", ty, "Расчетное значение");
    OffscreenChartRenderer renderer;
    RecordingReporter rep;
    ReportValues v;
    // TARVOLYN_REPORT_DIR keeps the report for a look (an existing, empty folder).
    const char* keep = std::getenv("TARVOLYN_REPORT_DIR");
    const std::string chosen = keep ? std::string(keep) + "/report" : dir.filePath("report").toStdString();
    const ReportResult res = writeStaticModelReport(chosen, "Y", "y=a0", "Y=1", v, v, describeChart(train), describeChart(test),
                                                    renderer, rep);
    ASSERT_TRUE(res.ok);
    for (const char* name : {"educationPlot.bmp", "testPlot.bmp"}) {
        const QString file = QString::fromStdString(res.folder) + "/data/" + name;
        EXPECT_TRUE(isBmp(file)) << name;
        const QImage img(file);
        EXPECT_EQ(img.size(), QSize(800, 400)) << name;
        // Both pictures show their data, measured in blue and model in red: the test picture
        // is fitted to the test times.
        EXPECT_GT(countPixels(img, qRgb(0, 0, 255)), 200) << name;
        EXPECT_GT(countPixels(img, qRgb(255, 0, 0)), 200) << name;
    }
    QFile logo(QString::fromStdString(res.folder) + "/data/logo.bmp");
    ASSERT_TRUE(logo.open(QIODevice::ReadOnly));
    EXPECT_EQ(logo.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
}

}  // namespace

namespace {

TEST(SeriesChartTest, BarsScaleFromZero) {
    SeriesChart chart;
    chart.resize(400, 300);
    chart.setLegendPlace(SeriesChart::LegendPlace::Hidden);
    // Autocorrelation at lags 0..3.
    chart.addBars({0, 1, 2, 3}, {1.0, 0.6, 0.2, -0.1}, "Автокорреляция", 0xFF0000, 0.5);
    ASSERT_EQ(chart.barsCount(), 1);
    EXPECT_EQ(chart.barsAt(0)->data()->size(), 4);
    EXPECT_EQ(chart.barsAt(0)->brush().color(), QColor(0, 0, 255));
    chart.updateRanges();
    // Keys with half a bar either side; values include zero.
    EXPECT_DOUBLE_EQ(chart.bottomRange().lower, -0.25);
    EXPECT_DOUBLE_EQ(chart.bottomRange().upper, 3.25);
    EXPECT_DOUBLE_EQ(chart.leftRange().lower, -0.1);
    EXPECT_DOUBLE_EQ(chart.leftRange().upper, 1.0);
    chart.clearBars();
    EXPECT_EQ(chart.barsCount(), 0);
}

TEST(SeriesChartTest, MarkersCheckBoxShowsPointMarkers) {
    ResultChart chart;
    TStatisticSeries m, y;
    m.AddXY(45000, 1);
    y.AddXY(45000, 2);
    chart.setResult(m, "Выходное значение параметра", y, "Расчетное значение параметра");
    EXPECT_EQ(chart.markersBox()->text().toStdString(), "Маркеры");
    EXPECT_EQ(chart.series(0).color, 0xFF0000);
    EXPECT_EQ(chart.series(1).color, 0x0000FF);
    EXPECT_FALSE(chart.markersBox()->isChecked());
    EXPECT_TRUE(chart.seriesGraph(0)->scatterStyle().isNone());
    chart.markersBox()->setChecked(true);
    EXPECT_FALSE(chart.seriesGraph(0)->scatterStyle().isNone());
    EXPECT_FALSE(chart.seriesGraph(1)->scatterStyle().isNone());
    // A new result keeps the box's choice; the two series are reused, not added.
    chart.setResult(y, "Выходное значение параметра", m, "Расчетное значение параметра");
    EXPECT_EQ(chart.seriesCount(), 2);
    EXPECT_FALSE(chart.seriesGraph(1)->scatterStyle().isNone());
    EXPECT_DOUBLE_EQ(chart.series(0).YValue(0), 2);
    chart.markersBox()->setChecked(false);
    EXPECT_TRUE(chart.seriesGraph(0)->scatterStyle().isNone());
}

}  // namespace

namespace {

TEST(SeriesChartTest, LegendMovesBetweenPlaces) {
    SeriesChart chart;
    chart.resize(600, 400);
    TStatisticSeries s;
    s.Title = "A";
    s.AddXY(1, 1);
    chart.addSeries(s);
    using P = SeriesChart::LegendPlace;
    const struct {
        P place;
        bool visible;
        bool insidePlot;
    } steps[] = {{P::Hidden, false, true}, {P::Inside, true, true},  {P::Right, true, false}, {P::Bottom, true, false},
                 {P::Hidden, false, true}, {P::Bottom, true, false}, {P::Right, true, false}, {P::Inside, true, true}};
    for (const auto& st : steps) {
        chart.setLegendPlace(st.place);
        chart.replot();
        EXPECT_EQ(chart.legend->visible(), st.visible) << static_cast<int>(st.place);
        const bool inside = chart.axisRect()->insetLayout()->elementCount() > 0 &&
                            chart.axisRect()->insetLayout()->elementAt(0) == chart.legend;
        EXPECT_EQ(inside, st.insidePlot) << static_cast<int>(st.place);
        EXPECT_EQ(chart.legend->itemCount(), 1);
        if (st.visible && !st.insidePlot) {
            // Outside the plot: the legend and the plot do not overlap.
            EXPECT_FALSE(chart.legend->outerRect().intersects(chart.axisRect()->rect())) << static_cast<int>(st.place);
        }
    }
    // The empty legend at the bottom does not narrow the plot (the value labels go, so it widens).
    chart.setLegendPlace(P::Bottom);
    chart.replot();
    const int width = chart.axisRect()->width();
    chart.clearSeries();
    chart.replot();
    EXPECT_GE(chart.axisRect()->width(), width);
}

}  // namespace

namespace {

TEST(SeriesChartTest, MiddleButtonScrollsBothAxes) {
    SeriesChart chart;
    chart.resize(600, 400);
    chart.setLegendPlace(SeriesChart::LegendPlace::Hidden);
    chart.setMiddleButtonScroll(true);
    chart.leftAxisState().minimumOffset = 20;
    chart.leftAxisState().maximumOffset = 20;
    TStatisticSeries s;
    for (int j = 0; j <= 100; ++j) s.AddXY(j, j);
    chart.addSeries(s);
    chart.show();
    chart.replot();
    const TAxisRange x0 = chart.bottomRange(), y0 = chart.leftRange();
    const double xPerPixel = (x0.upper - x0.lower) / chart.axisRect()->width();
    const double yPerPixel = (y0.upper - y0.lower) / chart.axisRect()->height();
    QSignalSpy spy(&chart, &SeriesChart::zoomed);
    // Dragging right by 60 and down by 40 pixels moves the view left and up in data terms.
    dragMouse(&chart, {300, 200}, {360, 240}, Qt::MiddleButton);
    chart.replot();
    EXPECT_NEAR(chart.bottomRange().lower, x0.lower - 60 * xPerPixel, 1e-9);
    EXPECT_NEAR(chart.bottomRange().upper, x0.upper - 60 * xPerPixel, 1e-9);
    EXPECT_NEAR(chart.leftRange().lower, y0.lower + 40 * yPerPixel, 1e-9);
    EXPECT_NEAR(chart.leftRange().upper, y0.upper + 40 * yPerPixel, 1e-9);
    EXPECT_FALSE(chart.bottomAxisState().automatic);
    EXPECT_EQ(spy.count(), 1);
}

}  // namespace

namespace {

// Date labels at every span and width: wholly on the chart, apart, and never two that read
// alike (no step finer than the pattern shows).
TEST(SeriesChartTest, DateLabelsNeitherCrowdNorRepeat) {
    const struct {
        const char* pattern;
        double minLabelledSpan;  // days from which at least one label must show
    } patterns[] = {{"dd.mm.yy hh:mm", 10.0 / 1440}, {"dd.mm.yyyy", 3.0}, {"dd.mm.yyyy hh:nn:ss", 60.0 / 86400}};
    const double spans[] = {90.0 / 86400, 10.0 / 1440, 5.0 / 24, 3.0, 40.0, 800.0};
    for (const auto& p : patterns) {
        for (const double span : spans) {
            for (const int width : {200, 450, 1000}) {
                SeriesChart chart;
                chart.resize(width, 300);
                chart.setLegendPlace(SeriesChart::LegendPlace::Hidden);
                chart.setBottomDateTime(p.pattern);
                TStatisticSeries s;
                s.AddXY(45000.3, 1e5);
                s.AddXY(45000.3 + span, 1e5 + 40);
                chart.addSeries(s);
                chart.show();
                const std::string what = std::string(p.pattern) + " span " + std::to_string(span) + " width " +
                                         std::to_string(width);
                const std::vector<DrawnLabel> labels = dateLabels(&chart);
                expectApartAndOnTheChart(&chart, what);
                for (size_t i = 1; i < labels.size(); ++i) EXPECT_NE(labels[i].text.toStdString(), labels[i - 1].text.toStdString()) << what;
                if (span >= p.minLabelledSpan && width >= 450) {
                    EXPECT_FALSE(labels.empty()) << what;
                }
            }
        }
    }
}

// A result chart labels the first and the last time of its data, centred on them; ends closer
// than a label's room get the first label only.
TEST(SeriesChartTest, ResultChartLabelsTheEndsOfItsData) {
    const struct {
        int minutes;  // last point, minutes after 15.03.2023 00:00
        int width;
        const char* first;
        const char* last;  // nullptr: no label at the last time
    } cases[] = {{0, 400, "15.03.23 00:00", "15.03.23 00:00"},   {1, 400, "15.03.23 00:00", "15.03.23 00:01"},
                 {1, 150, "15.03.23 00:00", nullptr},            {180, 400, "15.03.23 00:00", "15.03.23 03:00"},
                 {4 * 1440 + 17, 400, "15.03.23 00:00", "19.03.23 00:17"}};
    for (const auto& c : cases) {
        ResultChart chart;
        chart.resize(c.width, 300);
        TStatisticSeries m;
        m.AddXY(45000.0, 1e5);
        m.AddXY(45000.0 + c.minutes / 1440.0, 1e5 + 3);
        chart.setResult(m, "Выходной параметр", m, "Расчетный параметр");
        chart.show();
        const std::vector<DrawnLabel> labels = dateLabels(&chart);
        const std::string what = std::to_string(c.minutes) + " min, width " + std::to_string(c.width);
        expectApartAndOnTheChart(&chart, what);
        auto labelAt = [&](double days) -> std::string {
            const double px = chart.bottomPixelOf(days);
            for (const auto& l : labels)
                if (std::fabs((l.left + l.right) / 2 - px) < 1.0) return l.text.toStdString();
            return "";
        };
        EXPECT_EQ(labelAt(45000.0), c.first) << what;
        EXPECT_EQ(labelAt(45000.0 + c.minutes / 1440.0), c.last ? c.last : "") << what;
    }
}

}  // namespace
