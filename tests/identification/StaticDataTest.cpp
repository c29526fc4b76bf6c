#include <gtest/gtest.h>

#include "identification/StaticData.h"
#include "numerics/Reporter.h"

namespace {
TStatisticSeries seriesAt(const std::vector<double>& xs, const std::string& title) {
    TStatisticSeries s;
    s.Title = title;
    for (double x : xs) s.AddXY(x, x * 10);
    return s;
}

std::vector<std::pair<long double, long double>> spans(const arrayOfFragment& f) {
    std::vector<std::pair<long double, long double>> r;
    for (const auto& x : f) r.emplace_back(x.startPoint, x.endPoint);
    return r;
}

TEST(StaticData, MergeFragments) {
    using Spans = std::vector<std::pair<long double, long double>>;
    const struct {
        Spans given, merged;
    } cases[] = {
        {{{1, 5}, {3, 8}, {7, 9}}, {{1, 9}}},
        {{{5, 10}, {1, 6}}, {{5, 10}, {1, 6}}},
        {{{1, 5}, {6, 9}, {4, 7}}, {{1, 7}, {6, 9}}},
        {{{1, 5}, {5, 7}}, {{1, 7}}},
        {{{1, 2}, {3, 4}}, {{1, 2}, {3, 4}}},
        {{{1, 10}, {2, 3}, {4, 5}}, {{1, 10}}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        TStaticData d;
        arrayOfFragment given;
        for (const auto& [s, e] : c.given) {
            TFragment f(1, true, s, e);
            f.name = "Хороший";
            given.push_back(f);
        }
        d.loadData(given, {}, nullptr, 0);
        EXPECT_EQ(d.NumOfFragments, static_cast<int>(c.given.size()));
        d.mergeFragments();
        EXPECT_EQ(spans(d.Fragment), c.merged);
        EXPECT_EQ(d.NumOfFragments, static_cast<int>(c.given.size()));
        for (const auto& f : d.Fragment) {
            // Merged intervals are new: no name, type 0, white, not painted.
            EXPECT_TRUE(f.name.empty());
            EXPECT_EQ(f.typeOfFragments(), 0);
            EXPECT_EQ(f.color, 0x00FFFFFF);
            EXPECT_FALSE(f.paint);
        }
    }
}

TEST(StaticData, CopiesAreIndependentAndCarryNoStatistics) {
    auto in = seriesAt({1, 2, 3}, "x");
    auto out = seriesAt({1, 2, 3}, "y");
    in.mean = 42;
    in.SetNull(1);
    TStaticData d;
    d.loadData({TFragment(1, true, 2, 3)}, {&in}, &out, 0.5);
    ASSERT_EQ(d.InputSeries.size(), 1u);
    EXPECT_EQ(d.InputSeries[0]->mean, 0);
    EXPECT_TRUE(d.InputSeries[0]->IsNull(1));
    d.filterDataWithFragments();
    EXPECT_EQ(d.InputSeries[0]->XValues(), (std::vector<double>{2, 3}));
    EXPECT_EQ(d.OutputSeries->XValues(), (std::vector<double>{2, 3}));
    EXPECT_EQ(in.Count(), 3);

    // Reloading from the object's own content is safe.
    d.loadData(d.Fragment, d.inputs(), d.OutputSeries.get(), 0.5);
    EXPECT_EQ(d.InputSeries[0]->XValues(), (std::vector<double>{2, 3}));

    d.clear();
    EXPECT_TRUE(d.InputSeries.empty());
    EXPECT_EQ(d.OutputSeries, nullptr);
    EXPECT_EQ(d.NumOfFragments, 0);

    // An empty interval list deletes every point.
    d.loadData({&in}, &out, 0);
    d.filterDataWithFragments();
    EXPECT_EQ(d.InputSeries[0]->Count(), 0);
    EXPECT_EQ(d.OutputSeries->Count(), 0);
}

TEST(StaticData, UnsynchronisedInputsAreDroppedWithAMessageEach) {
    auto out = seriesAt({1, 2, 3}, "y");
    auto a = seriesAt({1, 2, 3}, "A");
    auto b = seriesAt({1, 2, 3.75}, "B");     // off by more than delta
    auto c = seriesAt({1, 2}, "C");           // another count
    auto d_ = seriesAt({1.5, 2, 2.5}, "D");   // exactly delta away passes
    auto e = seriesAt({1, 2, 3}, "E");
    RecordingReporter rep;
    TStaticData d(&rep);
    d.loadData({&a, &b, &c, &d_, &e}, &out, 0.5);
    d.checkSyncronize();
    EXPECT_EQ(rep.texts(),
              (std::vector<std::string>{
                  "Для ряда (B) не выполнена полная синхронизация точек. Ряд исключен.",
                  "Для ряда (C) не выполнена полная синхронизация точек. Ряд исключен.",
              }));
    ASSERT_EQ(d.InputSeries.size(), 3u);
    EXPECT_EQ(d.InputSeries[0]->Title, "A");
    EXPECT_EQ(d.InputSeries[1]->Title, "D");
    EXPECT_EQ(d.InputSeries[2]->Title, "E");
    EXPECT_EQ(d.InputPSeries, (std::vector<size_t>{0, 3, 4}));
}

}  // namespace
