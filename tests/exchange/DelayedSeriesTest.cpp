#include "exchange/DelayedSeries.h"

#include <gtest/gtest.h>

#include "core/Project.h"
#include "core/StatisticSeries.h"
#include "numerics/Reporter.h"

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

namespace {

struct ProjectProbe {
    TProject project;
    int seriesEvents = 0;
    RecordingReporter reporter;
    ProjectProbe() {
        project.FOnChangeSeriesList = [this](TProject&) { ++seriesEvents; };
    }
    TStatisticSeries& add(const std::string& title, int n, bool lab = false) {
        TStatisticSeries s = numbered(n);
        s.Title = title;
        project.addSeries(s, lab, false);
        return *project.seriesList.back();
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> t;
        for (const auto& s : project.seriesList) t.push_back(s->Title);
        return t;
    }
};

}  // namespace

TEST(CreateDelayedSeriesTest, RefusalsAndLagZeroChangeNothing) {
    struct Case {
        int n;
        int lag;
        bool asNew;
        bool message;
    };
    const Case cases[] = {
        {5, 5, true, true},   {5, 5, false, true},  {5, 7, false, true},   {5, -5, true, true},
        {5, -9, false, true}, {5, 0, true, false},  {5, 0, false, false},  {0, 0, false, true},
        {1, 1, true, true},
    };
    for (const auto& c : cases) {
        ProjectProbe p;
        TStatisticSeries& x = p.add("X", c.n);
        const auto before = points(x);
        const double mean = static_cast<double>(x.mean);
        EXPECT_FALSE(createDelayedSeries(p.project, x, c.lag, c.asNew, &p.reporter)) << c.n << " " << c.lag;
        EXPECT_EQ(p.reporter.texts(), c.message ? std::vector<std::string>{"Лаг не может быть больше колличества точек!"}
                                                : std::vector<std::string>{});
        if (c.message && !p.reporter.entries.empty()) {
            EXPECT_EQ(p.reporter.entries[0].kind, RecordingReporter::Kind::Message);
        }
        EXPECT_EQ(p.titles(), std::vector<std::string>{"X"});
        EXPECT_EQ(points(x), before);
        if (c.n > 0) {
            EXPECT_EQ(static_cast<double>(x.mean), mean);
        }
        EXPECT_EQ(p.seriesEvents, 0);
    }
}

TEST(CreateDelayedSeriesTest, CopyJoinsTheProjectUnderAUniqueName) {
    ProjectProbe p;
    TStatisticSeries& x = p.add("X", 5);
    p.add("X/delay(2)", 1);
    x.color = 0x0000FF;
    ASSERT_TRUE(createDelayedSeries(p.project, x, 2, true, &p.reporter));
    EXPECT_TRUE(p.reporter.entries.empty());
    EXPECT_EQ(p.titles(), (std::vector<std::string>{"X", "X/delay(2)", "X/delay(2)(1)"}));
    EXPECT_EQ(p.seriesEvents, 1);
    const TStatisticSeries& copy = *p.project.seriesList[2];
    EXPECT_EQ(points(copy), (std::vector<Point>{{20, 1, false}, {30, 2, false}, {40, 3, false}}));
    EXPECT_DOUBLE_EQ(static_cast<double>(copy.mean), 2.0);
    EXPECT_EQ(copy.color, 0x0000FF);
    // The series given is not changed.
    EXPECT_EQ(points(*p.project.seriesList[0]), points(numbered(5)));
    EXPECT_DOUBLE_EQ(static_cast<double>(p.project.seriesList[0]->mean), 3.0);

    ASSERT_TRUE(createDelayedSeries(p.project, *p.project.seriesList[0], -2, true, &p.reporter));
    EXPECT_EQ(p.titles().back(), "X/delay(-2)");
    EXPECT_EQ(points(*p.project.seriesList.back()), (std::vector<Point>{{0, 3, false}, {10, 4, false}, {20, 5, false}}));
    EXPECT_DOUBLE_EQ(static_cast<double>(p.project.seriesList.back()->mean), 4.0);
}

TEST(CreateDelayedSeriesTest, LaboratoryCopyStaysLaboratory) {
    ProjectProbe p;
    p.add("T1", 4, true);
    ASSERT_EQ(p.titles(), std::vector<std::string>{"Lab_T1"});
    ASSERT_TRUE(createDelayedSeries(p.project, *p.project.seriesList[0], 1, true, &p.reporter));
    EXPECT_EQ(p.titles(), (std::vector<std::string>{"Lab_T1", "Lab_T1/delay(1)"}));
    EXPECT_TRUE(p.project.seriesList[1]->labRow);
}

TEST(CreateDelayedSeriesTest, InPlaceShiftRenamesRecomputesAndTellsTheProject) {
    ProjectProbe p;
    TStatisticSeries& x = p.add("X", 5);
    p.add("X/delay(2)", 1);
    p.project.needCalcFragment = false;
    ASSERT_TRUE(createDelayedSeries(p.project, x, 2, false, &p.reporter));
    EXPECT_EQ(p.titles(), (std::vector<std::string>{"X/delay(2)(1)", "X/delay(2)"}));
    EXPECT_EQ(&x, p.project.seriesList[0].get());
    EXPECT_EQ(points(x), (std::vector<Point>{{20, 1, false}, {30, 2, false}, {40, 3, false}}));
    EXPECT_DOUBLE_EQ(static_cast<double>(x.mean), 2.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(x.median), 2.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(x.variance), 2.0 / 3.0);
    EXPECT_TRUE(p.project.needCalcFragment);
    EXPECT_EQ(p.seriesEvents, 1);
    // The old title is free again, the new one is taken: a series added as "X" keeps its
    // name, one added as "X/delay(2)(1)" does not.
    p.add("X", 1);
    p.add("X/delay(2)(1)", 1);
    EXPECT_EQ(p.titles(), (std::vector<std::string>{"X/delay(2)(1)", "X/delay(2)", "X", "X/delay(2)(1)(1)"}));
}
