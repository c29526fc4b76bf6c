#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Project.h"
#include "identification/StaticIdentification.h"
#include "identification/StaticIdentificationInterval.h"
#include "numerics/Reporter.h"
#include "support/OffsetSignals.h"

namespace {
constexpr double kT0 = 45000;
constexpr double kMinute = 1.0 / 1440;

struct Plant {
    TStatisticSeries x1, x2, y;
};

// y = 2·x1 + 3·x2 + 1 (+ noise) sampled every minute.
Plant plant(int N, bool noise) {
    Plant p;
    p.x1.Title = "x1";
    p.x2.Title = "x2";
    p.y.Title = "y";
    for (int i = 0; i < N; ++i) {
        const double t = kT0 + i * kMinute;
        const double a = i, b = (i * i) % 7;
        const double e = noise ? 0.5 * (((i * 37) % 11) - 5) / 5.0 : 0.0;
        p.x1.AddXY(t, a);
        p.x2.AddXY(t, b);
        p.y.AddXY(t, 2 * a + 3 * b + 1 + e);
    }
    return p;
}

TEST(StaticIdentification, RecoversAnExactPlant) {
    auto p = plant(30, false);
    RecordingReporter rep;
    TStaticIdentificationAll id(&rep);
    ASSERT_TRUE(id.calcStaticModel({TFragment(1, true, kT0, kT0 + 1)}, {&p.x1, &p.x2}, &p.y, 0.001, true));
    EXPECT_TRUE(rep.entries.empty());
    EXPECT_TRUE(id.haveModel);
    const auto& m = id.model;
    ASSERT_EQ(m.n, 4);
    EXPECT_EQ(m.A[0], 0);
    EXPECT_NEAR(static_cast<double>(m.A[1]), 2, 1e-9);
    EXPECT_NEAR(static_cast<double>(m.A[2]), 3, 1e-9);
    EXPECT_NEAR(static_cast<double>(m.A[3]), 1, 1e-8);  // the free term, also in A
    EXPECT_NEAR(m.c, 1, 1e-8);
    EXPECT_EQ(m.name, "y");
    EXPECT_EQ(m.inputName, (std::vector<std::string>{"x1", "x2"}));
    EXPECT_NEAR(m.R2, 1, 1e-12);
    EXPECT_NEAR(m.delta, 0, 1e-8);
    EXPECT_EQ(id.OutputModelSeries->Count(), 30);
    EXPECT_EQ(m.getString(), "y = 2*(x1) + 3*(x2) + 1");
}

// The fit and the quality values are those of the least squares and the static model, each
// checked against independent numbers in its own tests; here the choice of the free term.
TEST(StaticIdentification, WithoutAFreeTermTheModelHasOnlyTheInputsCoefficients) {
    auto p = plant(40, true);
    TStaticIdentificationAll id;
    ASSERT_TRUE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&p.x1, &p.x2}, &p.y, 0.001, false));
    EXPECT_EQ(id.model.n, 3);
    EXPECT_FALSE(id.model.coinCheck);
    EXPECT_EQ(id.model.A.size(), 3u);
    EXPECT_EQ(id.model.c, 0);
}

TEST(StaticIdentification, OnlyPointsInsideTheIntervalsAreUsed) {
    // Points 0..9 follow y = 2·x1 + 3·x2 + 1; points 10..19 are far off it.
    auto p = plant(20, false);
    for (int i = 10; i < 20; ++i) p.y.setYValue(i, 1000 + i * i);
    TStaticIdentificationAll id;
    const arrayOfFragment frags{TFragment(kT0, kT0 + 4 * kMinute), TFragment(kT0 + 3 * kMinute, kT0 + 9 * kMinute)};
    ASSERT_TRUE(id.calcStaticModel(frags, {&p.x1, &p.x2}, &p.y, 0.001, true));
    EXPECT_EQ(id.OutputModelSeries->Count(), 10);
    EXPECT_NEAR(static_cast<double>(id.model.A[1]), 2, 1e-9);
    EXPECT_NEAR(id.model.c, 1, 1e-8);
}

TEST(StaticIdentification, Refusals) {
    auto p = plant(10, false);
    RecordingReporter rep;
    TStaticIdentificationAll id(&rep);
    ASSERT_TRUE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&p.x1}, &p.y, 0.001, true));
    id.haveCalc = true;

    // One output point inside the interval: refused, and the old model no longer counts.
    EXPECT_FALSE(id.calcStaticModel({TFragment(kT0, kT0)}, {&p.x1}, &p.y, 0.001, true));
    EXPECT_FALSE(id.haveModel);
    EXPECT_FALSE(id.haveCalc);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{
                               "Колличество точек выходного ряда на данных интервалах меньше 2. Расчет не проведен."}));

    // Exactly two points are accepted; N - p - 1 = 0 gives -10000.
    rep.clear();
    EXPECT_TRUE(id.calcStaticModel({TFragment(kT0, kT0 + kMinute)}, {&p.x1}, &p.y, 0.001, false));
    EXPECT_EQ(id.model.R2norm, -10000.0);
    EXPECT_TRUE(rep.entries.empty());

    // Every input dropped: a message each, then "Нет входных рядов!".
    rep.clear();
    TStatisticSeries late1 = p.x1, late2 = p.x2;
    late1.setXValue(3, late1.XValue(3) + 0.01);
    late2.Delete(0);
    EXPECT_FALSE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&late1, &late2}, &p.y, 0.001, true));
    EXPECT_FALSE(id.haveModel);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{
                               "Для ряда (x1) не выполнена полная синхронизация точек. Ряд исключен.",
                               "Для ряда (x2) не выполнена полная синхронизация точек. Ряд исключен.",
                               "Нет входных рядов!"}));

    // A dropped input is named and the model is fitted on the others.
    rep.clear();
    EXPECT_TRUE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&late1, &p.x2}, &p.y, 0.001, true));
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{
                               "Для ряда (x1) не выполнена полная синхронизация точек. Ряд исключен."}));
    EXPECT_EQ(id.model.inputName, (std::vector<std::string>{"x2"}));
    EXPECT_EQ(id.PInputSeries, (std::vector<std::string>{"x2"}));

    // Identical inputs make the system singular: no model.
    rep.clear();
    TStatisticSeries twin = p.x1;
    twin.Title = "twin";
    EXPECT_FALSE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&p.x1, &twin}, &p.y, 0.001, false));
    EXPECT_FALSE(id.haveModel);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{kSingularFitMessage}));

    // An input that is another times 0.3, with values that are not integers, is just as
    // dependent although rounding keeps the elimination from an exact zero: no model.
    rep.clear();
    TStatisticSeries u1, u2, out;
    u1.Title = "u1";
    u2.Title = "u2";
    out.Title = "out";
    for (int i = 0; i < 100; ++i) {
        const double t = kT0 + i * kMinute, v = 1000 + 1.37 * ((i * 7919) % 101) / 10.0;
        u1.AddXY(t, v);
        u2.AddXY(t, 0.3 * v);
        out.AddXY(t, 2 * v + 1 + 0.01 * ((i * 31) % 17));
    }
    EXPECT_TRUE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&u1}, &out, 0.001, true));
    EXPECT_FALSE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&u1, &u2}, &out, 0.001, true));
    EXPECT_FALSE(id.haveModel);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{kSingularFitMessage}));
}

TEST(StaticIdentification, ConstantOutputAndValuesThatAreNotNumbers) {
    auto p = plant(10, false);
    TStatisticSeries flat = p.y;
    for (int i = 0; i < flat.Count(); ++i) flat.setYValue(i, 5);
    RecordingReporter rep;
    TStaticIdentificationAll id(&rep);
    // A constant output is fitted by its free term; R² has nothing to explain and is 0.
    ASSERT_TRUE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&p.x1}, &flat, 0.001, true));
    EXPECT_NEAR(id.model.c, 5, 1e-9);
    EXPECT_NEAR(static_cast<double>(id.model.A[1]), 0, 1e-9);
    EXPECT_EQ(id.model.R2, 0);
    EXPECT_TRUE(std::isfinite(id.model.R2norm));

    TStatisticSeries bad = p.x1;
    bad.setYValue(4, std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&bad}, &p.y, 0.001, true));
    EXPECT_FALSE(id.haveModel);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{kNotANumberMessage}));
}

// Inputs around 1e6 moving by ±0.5 are fitted by both engines, to the exact least-squares
// solution (tests/data/numerics/offset_references.py); coefficients beyond the range of
// numbers are refused as such, not as dependent inputs.
TEST(StaticIdentification, SignalsFarFromZero) {
    const OffsetSignals s(1e6, 1);
    TStatisticSeries u1, u2, y;
    u1.Title = "u1";
    u2.Title = "u2";
    y.Title = "y";
    for (int k = 0; k < OffsetSignals::kN; ++k) {
        u1.AddXY(kT0 + k * kMinute, s.u1[k]);
        u2.AddXY(kT0 + k * kMinute, s.u2[k]);
        y.AddXY(kT0 + k * kMinute, s.y[k]);
    }
    RecordingReporter rep;
    TStaticIdentificationAll all(&rep);
    TStaticIdentificationInterval each(&rep);
    ASSERT_TRUE(all.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&u1, &u2}, &y, 0.001, true));
    ASSERT_TRUE(each.addModel({&u1, &u2}, &y, 0.001, true, "I"));
    for (const TStaticModel* m : {static_cast<const TStaticModel*>(&all.model), static_cast<const TStaticModel*>(each.models[0].get())}) {
        EXPECT_NEAR(static_cast<double>(m->A[1]), 1.9999484873795736, 1e-12);
        EXPECT_NEAR(static_cast<double>(m->A[2]), -0.49985977834155698, 1e-12);
        EXPECT_NEAR(m->c, -78.709226917193703, 1e-8 * 78.7);
    }
    EXPECT_TRUE(rep.entries.empty());

    for (int k = 0; k < OffsetSignals::kN; ++k) {
        u1.setYValue(k, 1e-300 * s.u1[k]);
        u2.setYValue(k, 1e-300 * s.u2[k]);
        y.setYValue(k, 1e300 * s.y[k]);
    }
    EXPECT_FALSE(all.calcStaticModel({TFragment(kT0, kT0 + 1)}, {&u1, &u2}, &y, 0.001, true));
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{kFitOutOfRangeMessage}));
}

TEST(StaticIdentification, MoreThanThirtyCoefficientsAreRefused) {
    const int N = 60;
    std::vector<TStatisticSeries> inputs(31);
    TStatisticSeries y;
    y.Title = "y";
    std::uint32_t seed = 1;
    for (int i = 0; i < N; ++i) {
        double sum = 0;
        for (size_t k = 0; k < inputs.size(); ++k) {
            seed = seed * 1664525u + 1013904223u;
            const double v = (seed >> 8) / 16777216.0;
            inputs[k].AddXY(kT0 + i * kMinute, v);
            sum += v;
        }
        y.AddXY(kT0 + i * kMinute, sum);
    }
    arrayOfStatSeries all;
    for (auto& s : inputs) all.push_back(&s);
    const arrayOfStatSeries thirty(all.begin(), all.begin() + 30);
    const struct {
        arrayOfStatSeries in;
        bool coin, ok;
    } cases[] = {{all, false, false}, {thirty, true, false}, {thirty, false, true}};
    for (const auto& c : cases) {
        RecordingReporter rep;
        TStaticIdentificationAll id(&rep);
        EXPECT_EQ(id.calcStaticModel({TFragment(kT0, kT0 + 1)}, c.in, &y, 0.001, c.coin), c.ok);
        if (!c.ok) {
            EXPECT_EQ(rep.texts(), (std::vector<std::string>{kTooManyInputsMessage}));
        }
    }
}

TEST(StaticIdentification, TestOnOtherIntervals) {
    auto p = plant(40, false);
    RecordingReporter rep;
    TStaticIdentificationAll id(&rep);
    arrayOfExtended stat;
    // No model yet.
    EXPECT_EQ(id.calcModelOnInterval({TFragment(kT0, kT0 + 1)}, {&p.x1, &p.x2}, &p.y, 0.01, stat), nullptr);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{kNoModelMessage}));

    ASSERT_TRUE(id.calcStaticModel({TFragment(kT0, kT0 + 19 * kMinute)}, {&p.x1, &p.x2}, &p.y, 0.001, true));
    // The last ten points drift by +1 from the plant.
    for (int i = 30; i < 40; ++i) p.y.setYValue(i, p.y.YValue(i) + 1);
    rep.clear();
    auto out = id.calcModelOnInterval({TFragment(kT0 + 30 * kMinute, kT0 + 1)}, {&p.x1, &p.x2}, &p.y, 0.01, stat);
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(rep.entries.empty());
    ASSERT_EQ(out->Count(), 10);
    ASSERT_EQ(stat.size(), 10u);
    // Residual is the constant 1: RMSE 1, mean absolute error 1, its deviation 0.
    EXPECT_NEAR(static_cast<double>(stat[8]), 1, 1e-8);
    EXPECT_NEAR(static_cast<double>(stat[9]), 1, 1e-8);
    EXPECT_NEAR(static_cast<double>(stat[7]), 0, 1e-8);
    EXPECT_NEAR(static_cast<double>(stat[0]), 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(stat[2] - stat[3]), 1, 1e-8);
    EXPECT_EQ(id.OutputModelSeries->Count(), 20);  // the fit's data are kept

    // A dropped input or too few points: refused with a message, no series.
    rep.clear();
    TStatisticSeries late = p.x1;
    late.setXValue(35, late.XValue(35) + 0.1);
    EXPECT_EQ(id.calcModelOnInterval({TFragment(kT0 + 30 * kMinute, kT0 + 1)}, {&late, &p.x2}, &p.y, 0.01, stat),
              nullptr);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{
                               "Для ряда (x1) не выполнена полная синхронизация точек. Ряд исключен.",
                               kInputDroppedOnTestMessage}));
    rep.clear();
    EXPECT_EQ(id.calcModelOnInterval({TFragment(kT0 + 30 * kMinute, kT0 + 30 * kMinute)}, {&p.x1, &p.x2}, &p.y, 0.01,
                                     stat),
              nullptr);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{kTooFewOutputPointsMessage}));
    rep.clear();
    EXPECT_EQ(id.calcModelOnInterval({TFragment(kT0, kT0 + 1)}, {&p.x1}, &p.y, 0.01, stat), nullptr);
    EXPECT_EQ(rep.texts(), (std::vector<std::string>{kInputCountMismatchMessage}));
    EXPECT_TRUE(id.haveModel);

    id.clear();
    EXPECT_FALSE(id.haveModel);
    EXPECT_TRUE(id.model.inputName.empty());
}
}  // namespace

// The title an engine keeps for a caller's series, read through whatever it keeps.
std::string titleOf(const std::string& title) { return title; }
std::string titleOf(const TStatisticSeries* series) { return series->Title; }

// The engines hold no pointer into the project: after the project is cleared (its series
// freed) everything they keep is still theirs to read, and they work on new series.
TEST(StaticIdentification, EnginesOutliveTheProjectsSeries) {
    TStaticIdentificationAll all;
    TStaticIdentificationInterval perInterval;
    {
        TProject project;
        const Plant p = plant(30, true);
        for (const auto* s : {&p.x1, &p.x2, &p.y}) project.addSeries(*s, false, false);
        arrayOfStatSeries inputs{project.seriesList[0].get(), project.seriesList[1].get()};
        TStatisticSeries* output = project.seriesList[2].get();
        ASSERT_TRUE(all.calcStaticModel({TFragment(1, true, kT0, kT0 + 1)}, inputs, output, 0.001, true));
        ASSERT_TRUE(perInterval.addModel(inputs, output, 0.001, true, "I1"));
        project.clear();
    }
    ASSERT_EQ(all.PInputSeries.size(), 2u);
    EXPECT_EQ(titleOf(all.PInputSeries[0]), "x1");
    EXPECT_EQ(titleOf(all.PInputSeries[1]), "x2");
    EXPECT_EQ(titleOf(all.POutputSeries), "y");
    EXPECT_EQ(titleOf(all.data.OutputPSeries), "y");
    EXPECT_EQ(perInterval.models[0]->inputIndex, (std::vector<int>{0, 1}));

    Plant q = plant(20, false);
    arrayOfExtended stat;
    const auto out = all.calcModelOnInterval({TFragment(1, true, kT0, kT0 + 1)}, {&q.x1, &q.x2}, &q.y, 0.01, stat);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->Count(), 20);
    ASSERT_TRUE(perInterval.addModel({&q.x1, &q.x2}, &q.y, 0.001, false, "I2"));
    perInterval.models[0]->used = perInterval.models[1]->used = true;
    EXPECT_TRUE(perInterval.calcSumModel());
}
