// The fragment chart's mouse marking at the axis ends and its cancelling (drags that make
// intervals are in the fragment page's scenario), the drawing of the bands, and the
// per-series scale of the multi-series chart.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <random>

#include "ui/charts/ChartTestSupport.h"
#include "ui/charts/FragmentChart.h"

namespace {

constexpr double kStart = 45000.0;  // 15.03.2023 00:00
constexpr double kEnd = 45001.0;

// A chart 800 x 400 showing one day with a flat series, bottom axis fixed to that day.
void prepare(TSmartChart& chart, int series = 1) {
    chart.resize(800, 400);
    chart.setBottomDateTime("dd.mm.yy hh:mm");
    chart.setLegendPlace(SeriesChart::LegendPlace::Hidden);
    chart.xAxis->grid()->setVisible(false);
    chart.yAxis->grid()->setVisible(false);
    for (int s = 0; s < series; ++s) {
        TStatisticSeries ts;
        for (int h = 0; h <= 24; ++h) ts.AddXY(kStart + h / 24.0, 5.0 + s);
        ts.pointerVisible = false;
        chart.addSeries(ts);
    }
    chart.bottomAxisState().setMinMax(kStart, kEnd);
    chart.show();
    chart.replot();
}

int xAt(const TSmartChart& chart, double fraction) {
    const QRect r = chart.axisRect()->rect();
    return r.left() + static_cast<int>(fraction * r.width());
}

int midY(const TSmartChart& chart) { return chart.axisRect()->rect().center().y(); }

void qtestDrag(QWidget* w, QPoint from, QPoint to) {
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
}

TEST(SmartChartMarking, DragBeyondTheAxisIsClamped) {
    TSmartChart chart;
    prepare(chart);
    chart.setFragmentsOn(true);
    const QRect r = chart.axisRect()->rect();
    // From left of the plot to its middle: starts at the axis minimum.
    qtestDrag(&chart, {r.left() - 30, midY(chart)}, {xAt(chart, 0.5), midY(chart)});
    ASSERT_EQ(chart.numOfFragments(), 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(chart.fragment(0).startPoint), kStart);
    // From the middle to beyond the right edge: ends at the axis maximum.
    qtestDrag(&chart, {xAt(chart, 0.5), midY(chart)}, {r.right() + 40, midY(chart)});
    ASSERT_EQ(chart.numOfFragments(), 2);
    EXPECT_DOUBLE_EQ(static_cast<double>(chart.fragment(1).endPoint), kEnd);
    EXPECT_EQ(chart.fragment(1).name, "Интервал 2");
    // Wholly beyond one end: both ends clamp to the same value, nothing is made.
    qtestDrag(&chart, {r.left() - 30, midY(chart)}, {r.left() - 5, midY(chart)});
    EXPECT_EQ(chart.numOfFragments(), 2);
}

TEST(SmartChartMarking, CancelClickAndModeOffCreateNothing) {
    TSmartChart chart;
    prepare(chart);
    QSignalSpy spy(&chart, &TSmartChart::OnChangeFragments);
    const QPoint a(xAt(chart, 0.2), midY(chart)), b(xAt(chart, 0.6), midY(chart));
    // Marking off: a drag marks nothing.
    qtestDrag(&chart, a, b);
    EXPECT_EQ(chart.numOfFragments(), 0);
    chart.setFragmentsOn(true);
    // A right press during the drag cancels it.
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, a);
    EXPECT_TRUE(chart.holdCheck());
    EXPECT_EQ(chart.cursor().shape(), Qt::SplitHCursor);
    QTest::mouseMove(&chart, b);
    QTest::mousePress(&chart, Qt::RightButton, Qt::NoModifier, b);
    EXPECT_FALSE(chart.holdCheck());
    EXPECT_DOUBLE_EQ(chart.x1(), 0.0);
    QTest::mouseRelease(&chart, Qt::RightButton, Qt::NoModifier, b);
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, b);
    EXPECT_EQ(chart.numOfFragments(), 0);
    EXPECT_NE(chart.cursor().shape(), Qt::SplitHCursor);
    // A click without movement.
    QTest::mouseClick(&chart, Qt::LeftButton, Qt::NoModifier, a);
    EXPECT_EQ(chart.numOfFragments(), 0);
    EXPECT_EQ(spy.count(), 0);
}

TEST(SmartChartMarking, ClearTakesSeriesAndFragmentsInOneChange) {
    TSmartChart chart;
    prepare(chart);
    chart.addFragment("a", 1, kStart, kStart + 0.1);
    chart.addFragment("b", 1, kStart + 0.2, kStart + 0.3);
    QSignalSpy spy(&chart, &TSmartChart::OnChangeFragments);
    chart.clear();
    EXPECT_EQ(chart.numOfFragments(), 0);
    EXPECT_EQ(chart.seriesCount(), 0);
    EXPECT_EQ(spy.count(), 1);
    chart.delAllFragment();  // empty: no event
    EXPECT_EQ(spy.count(), 1);
}

QRgb rgbOf(int32_t bgr) { return colorFromBGR(bgr).rgb() & 0xFFFFFF; }
QRgb at(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

TEST(SmartChartBands, DrawnBehindTheSeriesBetweenFixedMargins) {
    TSmartChart chart;
    prepare(chart);
    const double h = 1.0 / 24;
    chart.addFragment("good", 1, kStart + 3 * h, kStart + 12 * h);
    chart.addFragment("bad", 0, kStart + 9 * h, kStart + 15 * h);  // overlaps the good one
    chart.addFragment("before", 1, kStart - 1, kStart);             // ends at the axis minimum
    chart.addFragment("wide", 2, kStart + 20 * h, kEnd + 3);        // beyond the maximum
    chart.addFragment("blue", 3, kStart + 16 * h, kStart + 19 * h);
    chart.changeFragment(4, "named", 3, kStart + 16 * h, kStart + 19 * h);  // the paint flag stays
    const QImage img = chart.toPixmap(800, 400).toImage();
    const QRect r = chart.axisRect()->rect();
    auto px = [&](double hours) { return static_cast<int>(std::lround(r.left() + hours / 24.0 * r.width())); };
    const int y = 60;  // clear of the series line in the middle
    EXPECT_EQ(at(img, px(5), y), rgbOf(0x00D9FFC6));
    EXPECT_EQ(at(img, px(10.5), y), rgbOf(0x00BEB3FF));  // the later band over the earlier
    EXPECT_EQ(at(img, px(14), y), rgbOf(0x00BEB3FF));
    EXPECT_EQ(at(img, px(22), y), rgbOf(0x00C6FFF8));
    EXPECT_EQ(at(img, r.right() - 1, y), rgbOf(0x00C6FFF8));
    EXPECT_EQ(at(img, px(1.5), y), 0xFFFFFFu);           // no band
    EXPECT_EQ(at(img, r.left() - 3, y), 0xFFFFFFu);      // the band that only touches the axis start
    EXPECT_EQ(at(img, px(17.5), y), rgbOf(0x00FFF0C6));  // named bands are painted
    // Vertical extent: y = 10 is the outline, y = 9 outside, the inside just below is filled.
    EXPECT_EQ(at(img, px(5), 10), 0x000000u);
    EXPECT_EQ(at(img, px(5), 9), 0xFFFFFFu);
    EXPECT_EQ(at(img, px(5), 11), rgbOf(0x00D9FFC6));
    EXPECT_EQ(at(img, px(5), 400 - 30), 0x000000u);
    EXPECT_NE(at(img, px(5), 400 - 29), rgbOf(0x00D9FFC6));
    // The series is drawn over the bands.
    const int lineY = static_cast<int>(std::lround(chart.yAxis->coordToPixel(5.0)));
    EXPECT_NE(at(img, px(5), lineY), rgbOf(0x00D9FFC6));
    if (const char* out = std::getenv("TARVOLYN_CHART_PNG")) img.save(out, "PNG");
}

TEST(SmartChartBands, UnpaintedNotDrawnAndWithoutShownSeriesTheAxisSpansTheBands) {
    TSmartChart chart;
    prepare(chart);
    chart.setFragmentsOn(true);
    chart.setPaintOfCurFragments(false);
    chart.addFragment(kStart + 0.1, kStart + 0.9);  // not painted
    QImage img = chart.toPixmap(800, 400).toImage();
    const QRect r = chart.axisRect()->rect();
    EXPECT_EQ(at(img, r.center().x(), 60), 0xFFFFFFu);
    chart.addFragment("shown", 1, kStart + 0.3, kStart + 0.4);
    chart.addFragment("later", 0, kStart + 2.0, kStart + 2.5);
    // With its only series hidden an automatic time axis spans the painted intervals (0.3 ..
    // 2.5 days and 2 % of that either side), so both bands show.
    chart.bottomAxisState().setAutomatic(true);
    chart.setSeriesVisible(0, false);
    img = chart.toPixmap(800, 400).toImage();
    const TAxisRange ends = chart.bottomEnds();
    EXPECT_NEAR(ends.lower, kStart + 0.3 - 0.044, 1e-9);
    EXPECT_NEAR(ends.upper, kStart + 2.5 + 0.044, 1e-9);
    auto px = [&](double days) { return static_cast<int>(std::lround(chart.bottomPixelOf(kStart + days))); };
    EXPECT_EQ(at(img, px(0.35), 60), rgbOf(0x00D9FFC6));
    EXPECT_EQ(at(img, px(2.25), 60), rgbOf(0x00BEB3FF));
    EXPECT_EQ(at(img, px(1.0), 60), 0xFFFFFFu);
    // Shown again, the series spans the axis.
    chart.setSeriesVisible(0, true);
    img = chart.toPixmap(800, 400).toImage();
    EXPECT_EQ(chart.bottomEnds(), (TAxisRange{kStart, kEnd}));
    EXPECT_EQ(at(img, r.left() + r.width() * 35 / 100, 60), rgbOf(0x00D9FFC6));
}

TEST(SmartChartBands, ColumnByColumnAsRectanglesDrawnOneOverAnother) {
    // The plain way as the oracle: every band a rectangle with a black outline, in order.
    // Bands lie within the columns drawn, as the chart clamps them to its time axis.
    const QColor fills[] = {QColor(0xFF, 0xB3, 0xBE), QColor(0xC6, 0xFF, 0xD9), QColor(0xF8, 0xFF, 0xC6)};
    std::mt19937 rng(2024);
    for (int round = 0; round < 40; ++round) {
        const int n = round < 20 ? 1 + round % 5 : 300;
        std::vector<TBandPixels> bands;
        for (int k = 0; k < n; ++k) {
            const int x1 = static_cast<int>(rng() % 200);
            const int kind = static_cast<int>(rng() % 4);
            const int w = kind == 0 ? 0 : kind == 1 ? 1 : static_cast<int>(rng() % (kind == 2 ? 8 : 120));
            const int x2 = std::min(x1 + w, 199);
            const bool reversed = rng() % 5 == 0;
            bands.push_back({reversed ? x2 : x1, reversed ? x1 : x2, fills[rng() % 3]});
        }
        QImage fast(200, 60, QImage::Format_RGB32), plain(200, 60, QImage::Format_RGB32);
        fast.fill(Qt::white);
        plain.fill(Qt::white);
        {
            QPainter p(&fast);
            drawBands(p, bands, 5, 50, 0, 199);
        }
        {
            QPainter p(&plain);
            p.setPen(QPen(Qt::black, 1));
            for (const TBandPixels& b : bands) {
                p.setBrush(b.fill);
                p.drawRect(QRect(std::min(b.x1, b.x2), 5, std::abs(b.x2 - b.x1), 45));
            }
        }
        ASSERT_EQ(fast, plain) << "round " << round;
    }
}

TStatisticSeries dataSeries(std::initializer_list<double> ys) {
    TStatisticSeries s;
    int j = 0;
    for (double y : ys) s.AddXY(kStart + (j++) / 24.0, y);
    return s;
}

std::vector<double> shown(const TFragmentChart& chart, int i) {
    std::vector<double> v;
    for (auto it = chart.seriesGraph(i)->data()->constBegin(); it != chart.seriesGraph(i)->data()->constEnd(); ++it)
        v.push_back(it->value);
    return v;
}

TEST(FragmentChartScale, MapsAndUnmapsExactly) {
    TFragmentChart chart;
    chart.resize(800, 400);
    chart.setBottomDateTime("dd.mm.yy hh:mm");
    const TStatisticSeries a = dataSeries({10, 15, 20, 12.5});
    chart.addSeries(a);
    ASSERT_TRUE(chart.addKoeff(20, 10));
    EXPECT_EQ(shown(chart, 0), (std::vector<double>{0, 50, 100, 25}));
    // New bounds 0..40: 15 at 37.5, 20 at 50.
    ASSERT_TRUE(chart.calcNewValue(0, 40, 0));
    EXPECT_EQ(shown(chart, 0), (std::vector<double>{25, 37.5, 50, 31.25}));
    // However often it is rescaled, the series keeps its own values bit for bit.
    const double bounds[][2] = {{3.3, -7.1}, {1e-3, -1e-3}, {123456.789, 0.1}, {20, 10}};
    for (const auto& b : bounds) ASSERT_TRUE(chart.calcNewValue(0, b[0], b[1]));
    EXPECT_EQ(chart.series(0).YValues(), a.YValues());
    EXPECT_EQ(shown(chart, 0), (std::vector<double>{0, 50, 100, 25}));
    EXPECT_DOUBLE_EQ(chart.toData(0, 37.5), 13.75);
}

TEST(FragmentChartScale, CurrentSeriesRefusalsAndLabels) {
    TFragmentChart chart;
    chart.resize(800, 400);
    chart.setBottomDateTime("dd.mm.yy hh:mm");
    chart.addSeries(dataSeries({10, 15, 20}));
    chart.addKoeff(20, 10);
    chart.addSeries(dataSeries({7, 7, 7}));  // constant: shown at 50
    chart.addKoeff(7, 7);
    EXPECT_EQ(shown(chart, 1), (std::vector<double>{50, 50, 50}));
    EXPECT_EQ(chart.curSeries(), 1);
    EXPECT_EQ(chart.seriesPenWidth(1), 4);
    EXPECT_EQ(chart.seriesPenWidth(0), 2);
    EXPECT_FALSE(chart.addKoeff(1, 0));  // no new series to register
    // Refused: past the last series, equal or non-finite bounds.
    EXPECT_FALSE(chart.calcNewValue(2, 40, 0));
    EXPECT_FALSE(chart.calcNewValue(0, 5, 5));
    EXPECT_FALSE(chart.calcNewValue(0, NAN, 0));
    EXPECT_EQ(shown(chart, 0), (std::vector<double>{0, 50, 100}));
    // A hidden series made current is shown again; the left axis reads in its units.
    chart.setSeriesVisible(0, false);
    chart.changeCurSeries(0);
    EXPECT_TRUE(chart.seriesVisible(0));
    EXPECT_EQ(chart.seriesPenWidth(0), 4);
    EXPECT_EQ(chart.leftAxisLabel(50), "15");
    EXPECT_EQ(chart.leftAxisLabel(0), "10");
    EXPECT_EQ(chart.leftAxisLabel(25), "12,5");
    chart.replot();
    const auto labels = chart.yAxis->tickVectorLabels();
    EXPECT_TRUE(labels.contains("10"));
    EXPECT_TRUE(labels.contains("20"));
    EXPECT_FALSE(labels.contains("100"));
    chart.clearSeries();
    chart.clearKoeff();
    EXPECT_EQ(chart.scale().count(), 0);
    chart.addSeries(dataSeries({1, 2}));
    EXPECT_TRUE(chart.addKoeff(2, 1));
}

}  // namespace
