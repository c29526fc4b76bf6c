#include "exchange/DelayedSeries.h"

#include <gtest/gtest.h>

#include "core/StatisticSeries.h"

namespace {

struct Point {
    double x;
    double y;
    bool null;
    bool operator==(const Point&) const = default;
};

std::vector<Point> points(const TStatisticSeries& s) {
    std::vector<Point> p;
    for (int i = 0; i < s.Count(); ++i) p.push_back({s.XValue(i), s.YValue(i), s.IsNull(i)});
    return p;
}

// Values 1..n at times 10, 20, ..., the points in `nulls` marked as gaps.
TStatisticSeries numbered(int n, std::vector<int> nulls = {}) {
    TStatisticSeries s;
    s.Title = "X";
    for (int i = 0; i < n; ++i) s.AddXY(10.0 * i, i + 1);
    for (int i : nulls) s.SetNull(i);
    return s;
}

}  // namespace

TEST(DelayedSeriesTest, ShiftMovesValuesAndGapsAgainstFixedTimes) {
    struct Case {
        int n;
        int lag;
        std::vector<int> nulls;
        bool ok;
        std::vector<Point> result;
    };
    const Case cases[] = {
        {5, 2, {}, true, {{20, 1, false}, {30, 2, false}, {40, 3, false}}},
        {5, -2, {}, true, {{0, 3, false}, {10, 4, false}, {20, 5, false}}},
        {5, 4, {}, true, {{40, 1, false}}},
        {5, -4, {}, true, {{0, 5, false}}},
        {5, 1, {1}, true, {{10, 1, false}, {20, 2, true}, {30, 3, false}, {40, 4, false}}},
        {5, -1, {1}, true, {{0, 2, true}, {10, 3, false}, {20, 4, false}, {30, 5, false}}},
        {5, 0, {}, true, {{0, 1, false}, {10, 2, false}, {20, 3, false}, {30, 4, false}, {40, 5, false}}},
        {5, 5, {}, false, {{0, 1, false}, {10, 2, false}, {20, 3, false}, {30, 4, false}, {40, 5, false}}},
        {5, -5, {}, false, {{0, 1, false}, {10, 2, false}, {20, 3, false}, {30, 4, false}, {40, 5, false}}},
        {2, 2147483647, {}, false, {{0, 1, false}, {10, 2, false}}},
        {2, -2147483647 - 1, {}, false, {{0, 1, false}, {10, 2, false}}},
        {0, 1, {}, false, {}},
    };
    for (const auto& c : cases) {
        auto s = numbered(c.n, c.nulls);
        EXPECT_EQ(shiftSeriesValues(s, c.lag), c.ok) << "n " << c.n << " lag " << c.lag;
        EXPECT_EQ(points(s), c.result) << "n " << c.n << " lag " << c.lag;
    }
}

TEST(DelayedSeriesTest, TitleCarriesTheLag) {
    EXPECT_EQ(delayedTitle("X", 2), "X/delay(2)");
    EXPECT_EQ(delayedTitle("Расход", -2), "Расход/delay(-2)");
    EXPECT_EQ(delayedTitle("X/delay(2)", 10), "X/delay(2)/delay(10)");
}
