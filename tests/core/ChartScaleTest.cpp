// Axis ranges derived from the logical axis state, and the per-series scale of the
// multi-series fragment chart. Expected values are worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/ChartAxis.h"
#include "core/SeriesScale.h"

namespace {

struct AxisCase {
    const char* what;
    TChartAxisState axis;
    std::optional<TAxisRange> data;
    double pixels;
    TAxisRange expected;
};

TChartAxisState fixedAxis(double lo, double hi, int offLo, int offHi) {
    TChartAxisState a;
    a.setMinMax(lo, hi);
    a.minimumOffset = offLo;
    a.maximumOffset = offHi;
    return a;
}

TChartAxisState autoAxis(int offLo, int offHi) {
    TChartAxisState a;
    a.minimumOffset = offLo;
    a.maximumOffset = offHi;
    return a;
}

TEST(ChartAxis, VisibleRangeFromState) {
    TChartAxisState autoMinOnly = fixedAxis(0, 50, 0, 0);
    autoMinOnly.setAutomaticMinimum(true);
    TChartAxisState autoMaxOnly = fixedAxis(5, 50, 0, 0);
    autoMaxOnly.setAutomaticMaximum(true);
    const AxisCase cases[] = {
        // 80 pixels for 10 units: 0.125 per pixel, 10 pixels either side.
        {"automatic with margins", autoAxis(10, 10), TAxisRange{0, 10}, 100, {-1.25, 11.25}},
        // The fragment chart's left axis: 0..100 fixed, 20 pixels either side on 240 pixels.
        {"fixed with margins", fixedAxis(0, 100, 20, 20), TAxisRange{-5, 7}, 240, {-10, 110}},
        {"fixed without margins", fixedAxis(2, 4, 0, 0), TAxisRange{-5, 7}, 240, {2, 4}},
        {"minimum automatic again", autoMinOnly, TAxisRange{-3, 7}, 100, {-3, 50}},
        {"maximum automatic again", autoMaxOnly, TAxisRange{-3, 7}, 100, {5, 7}},
        {"no data", autoAxis(0, 0), std::nullopt, 100, {0, 1}},
        {"one value widened", autoAxis(0, 0), TAxisRange{3, 3}, 100, {2, 4}},
        {"margins larger than the axis ignored", autoAxis(60, 60), TAxisRange{0, 10}, 100, {0, 10}},
        {"reversed fixed ends widened", fixedAxis(5, 1, 0, 0), std::nullopt, 100, {4, 6}},
    };
    for (const auto& c : cases) {
        const TAxisRange r = visibleAxisRange(c.axis, c.data, c.pixels);
        EXPECT_DOUBLE_EQ(r.lower, c.expected.lower) << c.what;
        EXPECT_DOUBLE_EQ(r.upper, c.expected.upper) << c.what;
    }
}

TEST(SeriesScale, AddMapsDataRangeOntoBand) {
    TSeriesScale s;
    EXPECT_EQ(s.addKoeff(20, 10), 0);
    EXPECT_DOUBLE_EQ(s.k[0], 10.0);
    EXPECT_DOUBLE_EQ(s.c[0], -100.0);
    const struct {
        double data, display;
    } points[] = {{15, 50}, {10, 0}, {20, 100}, {12.5, 25}};
    for (const auto& p : points) {
        EXPECT_DOUBLE_EQ(s.toDisplay(0, p.data), p.display) << p.data;
        EXPECT_DOUBLE_EQ(s.toData(0, p.display), p.data) << p.display;
    }
    EXPECT_DOUBLE_EQ(s.curBounds[0].lower, 10);
    EXPECT_DOUBLE_EQ(s.curBounds[0].upper, 20);
    EXPECT_EQ(s.curSeries, 0);
}

TEST(SeriesScale, NewBoundsRemapButKeepDataRange) {
    TSeriesScale s;
    s.addKoeff(20, 10);
    s.addKoeff(1, -1);
    EXPECT_EQ(s.curSeries, 1);
    ASSERT_TRUE(s.calcNewValue(0, 40, 0));
    EXPECT_DOUBLE_EQ(s.toDisplay(0, 15), 37.5);
    EXPECT_DOUBLE_EQ(s.toDisplay(0, 20), 50);
    EXPECT_DOUBLE_EQ(s.toData(0, 50), 20);
    EXPECT_DOUBLE_EQ(s.curBounds[0].lower, 0);
    EXPECT_DOUBLE_EQ(s.curBounds[0].upper, 40);
    // The other series is untouched: -1..1 onto 0..100.
    EXPECT_DOUBLE_EQ(s.toDisplay(1, 0), 50);
}

TEST(SeriesScale, RefusedBoundsChangeNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* what;
        int i;
        double newMax, newMin;
    } refused[] = {
        {"index past the end", 1, 40, 0}, {"negative index", -1, 40, 0}, {"equal bounds", 0, 5, 5},
        {"NaN maximum", 0, nan, 0},       {"infinite minimum", 0, 40, -inf},
    };
    for (const auto& r : refused) {
        TSeriesScale s;
        s.addKoeff(20, 10);
        EXPECT_FALSE(s.calcNewValue(r.i, r.newMax, r.newMin)) << r.what;
        EXPECT_DOUBLE_EQ(s.k[0], 10) << r.what;
        EXPECT_DOUBLE_EQ(s.c[0], -100) << r.what;
        EXPECT_DOUBLE_EQ(s.curBounds[0].upper, 20) << r.what;
    }
}

TEST(SeriesScale, ConstantOrEmptySeriesShowsInTheMiddle) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        double max, min, value;
    } cases[] = {{"constant 7", 7, 7, 7}, {"constant 0", 0, 0, 0}, {"no data", nan, nan, 0}};
    for (const auto& c : cases) {
        TSeriesScale s;
        s.addKoeff(c.max, c.min);
        EXPECT_TRUE(std::isfinite(s.k[0])) << c.what;
        EXPECT_DOUBLE_EQ(s.toDisplay(0, c.value), 50) << c.what;
    }
}

TEST(SeriesScale, ClearForgetsEverything) {
    TSeriesScale s;
    s.addKoeff(2, 1);
    s.addKoeff(4, 3);
    s.clearKoeff();
    EXPECT_EQ(s.count(), 0);
    EXPECT_TRUE(s.min.empty() && s.max.empty() && s.curBounds.empty() && s.c.empty());
    EXPECT_FALSE(s.changeCurSeries(0));
    EXPECT_EQ(s.addKoeff(20, 10), 0);
}

}  // namespace
