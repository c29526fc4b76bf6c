// Long series are drawn per pixel column from block extremes: the picture must have no
// holes where there is data, must break where the points are null, and must show the
// whole swing of the values.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "ui/charts/FragmentChart.h"

namespace {

bool columnHasColor(const QImage& img, int x, int yFrom, int yTo, QRgb c) {
    for (int y = yFrom; y <= yTo; ++y)
        if ((img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF)) return true;
    return false;
}

TEST(DenseGraph, ThreeSeriesWithBandsAndAGap) {
    TFragmentChart chart;
    chart.resize(900, 450);
    chart.setBottomDateTime("dd.mm.yy hh:mm");
    chart.setLegendPlace(SeriesChart::LegendPlace::Right);
    chart.setLegendCheckBoxes(true);
    chart.xAxis->grid()->setVisible(false);
    chart.yAxis->grid()->setVisible(false);
    const int n = 200000;
    const double start = 45000.0, step = 1.0 / 86400.0;  // one point a second
    const int32_t colors[3] = {0xFF0000, 0x0000FF, 0x008000};
    const char* titles[3] = {"Температура", "Давление", "Расход"};
    for (int s = 0; s < 3; ++s) {
        TStatisticSeries ts;
        ts.Title = titles[s];
        ts.color = colors[s];
        ts.pointerVisible = false;
        double lo = INFINITY, hi = -INFINITY;
        for (int j = 0; j < n; ++j) {
            const double v = (s + 1) * 100.0 + (s + 1) * 10.0 * std::sin(j * 2e-4 * (s + 1));
            ts.AddXY(start + j * step, v);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        if (s == 2)
            for (int j = n / 2; j < n / 2 + n / 10; ++j) ts.SetNull(j);  // a long gap in the flow
        chart.addSeries(ts);
        chart.addKoeff(hi, lo);
    }
    const double span = n * step;
    chart.addFragment("Интервал 1", 1, start + span * 0.05, start + span * 0.30);
    chart.addFragment("Интервал 2", 0, start + span * 0.25, start + span * 0.40);
    chart.addFragment("Интервал 3", 1, start + span * 0.70, start + span * 0.95);
    chart.changeCurSeries(0);
    const QImage img = chart.toPixmap(900, 450).toImage();
    if (const char* out = std::getenv("TARVOLYN_CHART_PNG")) img.save(out, "PNG");

    const QRect r = chart.axisRect()->rect();
    const auto blue = colorFromBGR(0xFF0000).rgb();
    const auto green = colorFromBGR(0x008000).rgb();
    {
        // Alone on the chart, the first series shows in every column (no holes).
        chart.setSeriesVisible(1, false);
        chart.setSeriesVisible(2, false);
        const QImage alone = chart.toPixmap(900, 450).toImage();
        for (int x = r.left() + 2; x < r.right() - 2; ++x)
            ASSERT_TRUE(columnHasColor(alone, x, r.top(), r.bottom(), blue)) << "column " << x;
        chart.setSeriesVisible(1, true);
        chart.setSeriesVisible(2, true);
    }
    // The third series breaks over its null points (50% .. 60% of the time range).
    auto xOf = [&](double fraction) { return static_cast<int>(chart.xAxis->coordToPixel(toChartTime(start + span * fraction))); };
    for (double f : {0.52, 0.55, 0.58}) EXPECT_FALSE(columnHasColor(img, xOf(f), r.top(), r.bottom(), green)) << f;
    for (double f : {0.45, 0.65}) EXPECT_TRUE(columnHasColor(img, xOf(f), r.top(), r.bottom(), green)) << f;
    // The first series swings over the whole band: its mapped extremes are 0 and 100.
    const int yMax = static_cast<int>(std::lround(chart.yAxis->coordToPixel(100)));
    const int yMin = static_cast<int>(std::lround(chart.yAxis->coordToPixel(0)));
    bool top = false, bottom = false;
    for (int x = r.left(); x < r.right(); ++x) {
        top = top || columnHasColor(img, x, yMax - 1, yMax + 1, blue);
        bottom = bottom || columnHasColor(img, x, yMin - 1, yMin + 1, blue);
    }
    EXPECT_TRUE(top);
    EXPECT_TRUE(bottom);
}

}  // namespace
