#include <gtest/gtest.h>

#include "identification/Analyzer.h"
#include "numerics/Reporter.h"
#include "support/Series.h"

namespace {
constexpr double kT0 = 45000;
}  // namespace

TEST(Analyzer, ClearEmptiesTheProjectAndTheEnginesButKeepsTheChoice) {
    RecordingReporter rep;
    TAnalyzer a(&rep);
    auto x = makeSeries("x", {1, 2, 4, 3, 5}), y = makeSeries("y", {3, 5, 9, 7, 11.5});
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
    auto y = makeSeries("y", {1, 2, 3});
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
