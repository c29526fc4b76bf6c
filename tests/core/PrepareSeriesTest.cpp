#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/PrepareSeries.h"
#include "numerics/Reporter.h"

namespace {

constexpr double t0 = 45000.0;
constexpr double step = 1.0 / 1440;

void loadRaw(TPrepareSeries& p, const std::vector<double>& ys, const std::vector<int>& gaps = {}) {
    for (size_t i = 0; i < ys.size(); ++i) p.dirtSeries.AddXY(t0 + static_cast<double>(i) * step, ys[i]);
    for (int g : gaps) p.dirtSeries.SetNull(g);
    p.load = true;
}

std::vector<double> ys(const TStatisticSeries& s) { return s.YValues(); }
std::vector<bool> nulls(const TStatisticSeries& s) {
    std::vector<bool> v;
    for (int i = 0; i < s.Count(); ++i) v.push_back(s.IsNull(i));
    return v;
}

TEST(TPrepareSeries, DefaultsAndInit) {
    TPrepareSeries p;
    EXPECT_EQ(p.highFilterValue, 10.0L);
    EXPECT_EQ(p.lowFilterValue, -10.0L);
    EXPECT_EQ(p.averageNum, 5);
    EXPECT_EQ(p.dirtSeries.color, 0x808080);
    EXPECT_EQ(p.pullSeries.color, 0x800080);
    EXPECT_EQ(p.cleanSeries.color, 0x0000FF);

    p.name = "Давление";
    loadRaw(p, {1, 2, 3});
    p.filter(-1, 1);
    p.average(2);
    p.init();
    EXPECT_EQ(p.name, "Давление");
    EXPECT_EQ(p.highFilterValue, 10.0L);
    EXPECT_EQ(p.lowFilterValue, -10.0L);
    EXPECT_EQ(p.averageNum, 5);
    EXPECT_FALSE(p.load);
    EXPECT_FALSE(p.averaged);
    EXPECT_EQ(p.dirtSeries.Count(), 0);
    EXPECT_EQ(p.filtredSeries.Count(), 0);
    EXPECT_TRUE(p.sortedValues.empty());
}

TEST(TPrepareSeries, StagesOnASeriesWithGaps) {
    RecordingReporter rep;
    TPrepareSeries p(&rep);
    // A raw gap (index 5, storing 100) stays a gap and is not counted in the statistics.
    loadRaw(p, {5, 12, -11, 10, -10, 100, 4}, {5});

    p.filter();
    EXPECT_EQ(nulls(p.filtredSeries), (std::vector<bool>{false, true, true, false, false, true, false}));
    EXPECT_EQ(ys(p.filtredSeries), ys(p.dirtSeries));  // stored values stay
    EXPECT_EQ(p.meanValue, (5.0L + 10 - 10 + 4) / 4);
    EXPECT_EQ(p.medianValue, 4.5L);  // sorted -10, 4, 5, 10
    EXPECT_EQ(p.sortedValues, (extendedArray{-10, 4, 5, 10}));

    p.pullNull(7);
    EXPECT_EQ(ys(p.pullSeries), (std::vector<double>{5, 7, 7, 10, -10, 7, 4}));
    EXPECT_EQ(nulls(p.pullSeries), std::vector<bool>(7, false));

    p.average(3);
    ASSERT_EQ(p.cleanSeries.Count(), 5);
    EXPECT_TRUE(p.averaged);
    const double expected[] = {(5 + 7 + 7) / 3.0, (7 + 7 + 10) / 3.0, (7 + 10 - 10) / 3.0,
                               (10 - 10 + 7) / 3.0, (-10 + 7 + 4) / 3.0};
    for (int k = 0; k < 5; ++k) {
        EXPECT_DOUBLE_EQ(p.cleanSeries.YValue(k), expected[k]) << k;
        EXPECT_EQ(p.cleanSeries.XValue(k), p.filtredSeries.XValue(k + 2)) << k;
    }
    EXPECT_TRUE(rep.entries.empty());
}

TEST(TPrepareSeries, FilterArgumentsAreLowThenHigh) {
    TPrepareSeries p;
    loadRaw(p, {1, 2, 3, 4});
    p.filter(2, 3);
    EXPECT_EQ(p.lowFilterValue, 2.0L);
    EXPECT_EQ(p.highFilterValue, 3.0L);
    EXPECT_EQ(nulls(p.filtredSeries), (std::vector<bool>{true, false, false, true}));
}

TEST(TPrepareSeries, MovingAverageWindows) {
    struct Case {
        int window;
        int points;
        bool message;
        bool averaged;
    };
    const Case cases[] = {{6, 5, true, false}, {1, 5, false, false}, {0, 5, false, false},
                          {-3, 5, false, false}, {5, 5, false, true}, {2, 0, true, false}};
    for (const auto& c : cases) {
        RecordingReporter rep;
        TPrepareSeries p(&rep);
        loadRaw(p, std::vector<double>(static_cast<size_t>(c.points), 1.0));
        p.filter();
        p.pullNull(0);
        p.cleanSeries.AddXY(1, 1);  // left over from before: always emptied
        p.average(c.window);
        EXPECT_EQ(p.averageNum, c.window);
        EXPECT_EQ(p.averaged, c.averaged) << c.window;
        EXPECT_EQ(p.cleanSeries.Count(), c.averaged ? c.points - c.window + 1 : 0) << c.window;
        if (c.message) {
            EXPECT_EQ(rep.texts(), std::vector<std::string>{
                                       "Колличество точек для сглаживания не может быть больше точек графика!"});
        } else {
            EXPECT_TRUE(rep.entries.empty()) << c.window;
        }
    }
}

// The pipeline's moving average and the series' own give the numbers of every window
// summed afresh (the plain version, kept here as the oracle) within rounding, at any
// window: on a pressure around 101325 Pa with a spike, a NaN and infinities.
TEST(TPrepareSeries, MovingAverageMatchesThePlainSums) {
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0, 3);
    std::vector<double> y(20000);
    for (double& v : y) v = 101325 + noise(rng);
    const double inf = std::numeric_limits<double>::infinity();
    y[3] = std::nan("");
    y[100] = 1e20;
    y[15000] = inf;
    y[15020] = -inf;
    y[19990] = inf;
    for (int n : {1, 2, 37, 10000}) {
        std::vector<double> plain;
        for (size_t k = 0; k + static_cast<size_t>(n) <= y.size(); ++k) {
            long double sum = 0;
            for (size_t j = k; j < k + static_cast<size_t>(n); ++j) sum += y[j];
            plain.push_back(static_cast<double>(sum / n));
        }
        TPrepareSeries p;
        loadRaw(p, y);
        p.filter(-inf, inf);
        p.pullNull(0);
        p.average(n);
        TStatisticSeries own = p.pullSeries;
        ASSERT_TRUE(own.average(n));
        // A window of 1 smooths nothing in the pipeline.
        for (const std::vector<double>& got : {n > 1 ? p.cleanSeries.YValues() : own.YValues(), own.YValues()}) {
            ASSERT_EQ(got.size(), plain.size()) << n;
            for (size_t k = 0; k < plain.size(); ++k) {
                if (std::isnan(plain[k]) || std::isinf(plain[k])) {
                    EXPECT_EQ(std::isnan(got[k]), std::isnan(plain[k])) << n << " " << k;
                    if (std::isinf(plain[k])) {
                        EXPECT_EQ(got[k], plain[k]) << n << " " << k;
                    }
                } else {
                    EXPECT_NEAR(got[k], plain[k], 4e-16 * std::fabs(plain[k])) << n << " " << k;
                }
            }
        }
        if (n > 1) {
            EXPECT_EQ(p.cleanSeries.XValues(), own.XValues());
        }
    }
}

TEST(TPrepareSeries, AllGapsGiveNaNStatisticsAndNothingToFillWith) {
    RecordingReporter rep;
    TPrepareSeries p(&rep);
    loadRaw(p, {50, 60});
    p.filter();
    EXPECT_TRUE(std::isnan(p.meanValue));
    EXPECT_TRUE(std::isnan(p.medianValue));
    EXPECT_TRUE(p.sortedValues.empty());
    p.pullSeries.AddXY(1, 1);
    EXPECT_FALSE(p.pullNull(p.meanValue));
    EXPECT_EQ(p.pullSeries.Count(), 0);
    EXPECT_EQ(rep.texts(),
              std::vector<std::string>{"Нет значения для заполнения пропусков: в ряду не осталось значений."});
}

TEST(TPrepareSeries, StaleFilteredStageIsNotReadPastItsEnd) {
    TPrepareSeries p;
    loadRaw(p, {1, 2, 3, 4});
    p.filter();
    p.pullNull(0);
    p.dirtSeries.Clear();
    p.filter();  // now empty, the filled stage still has 4 points
    p.average(2);
    ASSERT_EQ(p.cleanSeries.Count(), 3);
    EXPECT_EQ(p.cleanSeries.XValue(2), p.pullSeries.XValue(3));
}

TEST(TPrepareSeries, TransformTurnsUndefinedPointsIntoGapsAndWarnsOnce) {
    RecordingReporter rep;
    TPrepareSeries p(&rep);
    loadRaw(p, {4, -1, 5e-5, 0, 9}, {4});
    std::string msg;
    p.expr.Prepare("sqrt(y)*2", msg);
    ASSERT_EQ(msg, "Проверка OK!");
    EXPECT_TRUE(p.transformSeries());
    EXPECT_EQ(p.dirtSeries.YValue(0), 4.0);
    EXPECT_TRUE(p.dirtSeries.IsNull(1));
    EXPECT_EQ(p.dirtSeries.YValue(1), -1.0);  // the raw value is kept under the gap
    EXPECT_DOUBLE_EQ(p.dirtSeries.YValue(2), 2 * std::sqrt(5e-5));
    EXPECT_EQ(p.dirtSeries.YValue(3), 0.0);
    EXPECT_TRUE(p.dirtSeries.IsNull(4));
    EXPECT_EQ(p.dirtSeries.YValue(4), 9.0);  // a raw gap is not transformed
    EXPECT_EQ(rep.texts(), std::vector<std::string>{
                               "Внимание! Функция преобразования не вычисляется для 1 из 4 значений; они "
                               "заменены пропусками."});

    rep.clear();
    p.expr.Prepare("y+q", msg);
    EXPECT_FALSE(p.transformSeries());
    EXPECT_TRUE(rep.entries.empty());
}

}  // namespace
