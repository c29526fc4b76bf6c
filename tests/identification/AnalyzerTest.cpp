#include <gtest/gtest.h>

#include <cmath>

#include "identification/Analyzer.h"
#include "numerics/Reporter.h"

namespace {
constexpr double kT0 = 45000;
constexpr double kMinute = 1.0 / 1440;

TStatisticSeries series(const std::string& title, const std::vector<double>& values) {
    TStatisticSeries s;
    s.Title = title;
    for (size_t i = 0; i < values.size(); ++i) s.AddXY(kT0 + static_cast<double>(i) * kMinute, values[i]);
    return s;
}

// Irregular values that no shift of themselves reproduces.
std::vector<double> noise(int n, unsigned seed) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        v.push_back(static_cast<double>(seed >> 9) / 8388608.0);
    }
    return v;
}

// Pearson r with population deviations, straight from the definition.
double pearson(const std::vector<double>& a, const std::vector<double>& b) {
    const size_t n = a.size();
    long double ma = 0, mb = 0;
    for (size_t i = 0; i < n; ++i) ma += a[i], mb += b[i];
    ma /= n;
    mb /= n;
    long double sab = 0, saa = 0, sbb = 0;
    for (size_t i = 0; i < n; ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return static_cast<double>(sab / std::sqrt(saa * sbb));
}
}  // namespace

TEST(Analyzer, ClearEmptiesTheProjectAndTheEnginesButKeepsTheChoice) {
    RecordingReporter rep;
    TAnalyzer a(&rep);
    auto x = series("x", {1, 2, 4, 3, 5}), y = series("y", {3, 5, 9, 7, 11.5});
    a.project.addSeries(x, false, false);
    ASSERT_TRUE(a.staticIdentificationInterval.addModel({&x}, &y, 0.001, true, "I"));
    a.staticIdentificationInterval.models[0]->used = true;
    ASSERT_TRUE(a.staticIdentificationInterval.calcSumModel());
    ASSERT_TRUE(a.staticIdentification.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&x}, &y, 0.001, true));
    a.staticIdentification.haveCalc = true;
    ASSERT_TRUE(a.dynamicIdentification.identification(x, y, 1, 1));
    a.filtering.average(3);
    a.filtering.filter(-1, 1);
    a.korSeries1Index = 0;
    a.korSeries2Index = 3;
    int projectEvents = 0, seriesEvents = 0;
    a.project.FOnChangeProject = [&](TProject&) { ++projectEvents; };
    a.project.FOnChangeSeriesList = [&](TProject&) { ++seriesEvents; };
    rep.clear();

    a.clear();
    EXPECT_EQ(a.project.seriesCount(), 0);
    EXPECT_EQ(projectEvents, 1);
    EXPECT_EQ(seriesEvents, 1);
    EXPECT_FALSE(a.staticIdentification.haveModel);
    EXPECT_FALSE(a.staticIdentification.haveCalc);
    EXPECT_TRUE(a.staticIdentificationInterval.models.empty());
    EXPECT_FALSE(a.staticIdentificationInterval.haveSumModel);
    ASSERT_NE(a.staticIdentificationInterval.sumModel, nullptr);
    EXPECT_TRUE(a.staticIdentificationInterval.sumModel->A.empty());
    EXPECT_FALSE(a.dynamicIdentification.calcModel);
    EXPECT_EQ(a.dynamicIdentification.lastInput, nullptr);
    EXPECT_EQ(a.filtering.averageNum, 5);
    EXPECT_EQ(a.filtering.lowFilterValue, -10);
    EXPECT_EQ(a.filtering.highFilterValue, 10);
    EXPECT_EQ(a.korSeries1Index, 0);
    EXPECT_EQ(a.korSeries2Index, 3);
    EXPECT_TRUE(rep.entries.empty());
}

TEST(Analyzer, EnginesSpeakThroughTheAnalysersReporter) {
    RecordingReporter first, second;
    TAnalyzer a(&first);
    auto y = series("y", {1, 2, 3});
    a.staticIdentificationInterval.addModel({}, &y, 0.001, true, "I");
    EXPECT_EQ(first.texts(), std::vector<std::string>{"Нет входных рядов!"});
    a.setReporter(&second);
    a.staticIdentification.calcStaticModel({TFragment(kT0, kT0 + 1)}, {}, &y, 0.001, true);
    auto shifted = y;
    shifted.setXValue(1, kT0 + 0.5);
    a.dynamicIdentification.identification(shifted, y, 1, 1);
    EXPECT_EQ(second.texts(), (std::vector<std::string>{"Нет входных рядов!", TDynamicIdent::kNotSynchronizedMessage}));
    EXPECT_EQ(first.entries.size(), 1u);
}

// Both members reach their own variant: the end-aligned coefficient (10 and 7 points use
// points 3..9 of the first) and the lag sweep, which peaks at the delay of a copy.
TEST(Analyzer, CrossCorrelationVariants) {
    TAnalyzer a;
    const auto v = noise(10, 1), w = noise(7, 2);
    const std::vector<double> tail(v.begin() + 3, v.end());
    EXPECT_NEAR(a.calcKrossColleration(series("v", v), series("w", w)), pearson(tail, w), 1e-12);

    const int n = 500, k = 7;
    const auto u = noise(n, 11);
    // The copy delayed by k samples: its point i + k holds point i of the original.
    std::vector<double> d = noise(k, 99);
    d.insert(d.end(), u.begin(), u.end() - k);
    const auto r = a.calcKrossColleration(20, series("u", u), series("d", d));
    ASSERT_EQ(r.size(), 21u);
    size_t best = 0;
    for (size_t L = 0; L < r.size(); ++L) {
        EXPECT_EQ(r[L].first, static_cast<int>(L));
        if (r[L].second > r[best].second) best = L;
    }
    EXPECT_EQ(best, static_cast<size_t>(k));
    EXPECT_NEAR(r[best].second, 1, 1e-12);
}
