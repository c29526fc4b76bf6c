#include <gtest/gtest.h>

#include <cmath>

#include "core/StatisticSeries.h"
#include "numerics/Reporter.h"

namespace {
TStatisticSeries series(std::initializer_list<double> ys) {
    TStatisticSeries s;
    double x = 45000;
    for (double y : ys) s.AddXY(x++, y);
    return s;
}

TEST(StatisticSeries, StatisticsOfSmallSeries) {
    RecordingReporter rep;
    auto s = series({1, 2, 3, 4});
    s.calcStatistic(&rep);
    EXPECT_EQ(s.mean, 2.5L);
    EXPECT_EQ(s.median, 2.5L);
    EXPECT_EQ(s.variance, 1.25L);
    EXPECT_EQ(s.standartDeviation, std::sqrt(1.25L));
    EXPECT_EQ(s.variation, std::sqrt(1.25L) / 2.5L);
    EXPECT_TRUE(rep.entries.empty());

    auto odd = series({5, 1, 3});
    odd.calcStatistic(&rep);
    EXPECT_EQ(odd.median, 3.0L);
}

TEST(StatisticSeries, NullPointsKeepTheirValueInTheVariance) {
    RecordingReporter rep;
    auto s = series({2, 0, 4, 6});
    s.SetNull(1);
    s.calcStatistic(&rep);
    EXPECT_EQ(s.mean, 4.0L);
    EXPECT_EQ(s.median, 4.0L);
    EXPECT_EQ(s.variance, 6.0L);
    ASSERT_EQ(rep.texts(), std::vector<std::string>{"Пустое значение!"});
    // Two null points still give one message per call.
    rep.clear();
    s.SetNull(2);
    s.calcStatistic(&rep);
    EXPECT_EQ(rep.entries.size(), 1u);
}

TEST(StatisticSeries, UndefinedStatisticsAreNaN) {
    TStatisticSeries empty;
    empty.calcStatistic();
    EXPECT_TRUE(std::isnan(empty.mean));
    EXPECT_TRUE(std::isnan(empty.median));
    EXPECT_TRUE(std::isnan(empty.variance));

    auto allNull = series({1, 2});
    allNull.SetNull(0);
    allNull.SetNull(1);
    allNull.calcStatistic();
    EXPECT_TRUE(std::isnan(allNull.mean));
    EXPECT_TRUE(std::isnan(allNull.median));
    extendedArray v{9};
    getSortedValues(allNull, v);
    EXPECT_TRUE(v.empty());

    auto zeroMean = series({-1, 1});
    zeroMean.calcStatistic();
    EXPECT_EQ(zeroMean.mean, 0.0L);
    EXPECT_TRUE(std::isnan(zeroMean.variation));
}

TEST(StatisticSeries, AssignSSCopiesCacheAndFlags) {
    auto s = series({3, 7, 5});
    s.Title = "Расход";
    s.labRow = true;
    s.SetNull(1);
    s.calcStatistic();
    s.AddXY(50000, 100);  // the cache is not updated by new points
    TStatisticSeries copy;
    copy.assignSS(s);
    EXPECT_EQ(copy.Title, "Расход");
    EXPECT_TRUE(copy.labRow);
    EXPECT_EQ(copy.Count(), 4);
    EXPECT_TRUE(copy.IsNull(1));
    EXPECT_EQ(copy.YValue(1), 7.0);
    EXPECT_EQ(copy.mean, 4.0L);
    TStatisticSeries plain;
    plain.Assign(s);
    EXPECT_EQ(plain.mean, 0.0L);
    EXPECT_FALSE(plain.labRow);
}

TEST(StatisticSeries, SortingLongSortedInputIsSafe) {
    // A gap-filled series is long runs of equal or sorted values.
    TStatisticSeries s;
    for (int i = 0; i < 200000; ++i) s.AddXY(i, i < 100000 ? 5.0 : i);
    extendedArray v;
    getSortedValues(s, v);
    ASSERT_EQ(v.size(), 200000u);
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
    s.calcStatistic();
    EXPECT_EQ(s.median, (5.0L + 100000.0L) / 2);
}
}  // namespace
