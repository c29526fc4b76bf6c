#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "identification/StaticIdentificationInterval.h"
#include "numerics/Reporter.h"
#include "support/Series.h"

namespace {
constexpr double kT0 = 45000;
constexpr double kMinute = 1.0 / 1440;
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();

// A series with the given values, one a minute from kT0 + shift minutes.
TStatisticSeries series(const std::string& title, const std::vector<double>& values, double shift = 0) {
    return makeSeries(title, values, kT0 + shift * kMinute);
}

// y = a·x + b point by point.
std::vector<double> line(const std::vector<double>& x, double a, double b) {
    std::vector<double> y;
    for (double v : x) y.push_back(a * v + b);
    return y;
}

// An interval model as the engine would hold it, built by hand: one coefficient and one
// variation per input, fitted with a free term of 7.
std::unique_ptr<TDynamicIntervalModel> handModel(const std::string& name, std::vector<long double> coef,
                                                 std::vector<long double> variation, bool used,
                                                 std::vector<int> index = {}) {
    auto m = std::make_unique<TDynamicIntervalModel>();
    m->name = name;
    m->outputName = "out_" + name;
    m->numOfX = static_cast<int>(coef.size());
    m->numOfY = 1;
    m->coinCheck = true;
    m->c = 7;
    m->n = m->numOfX + 2;
    m->A.assign(static_cast<size_t>(m->n), 0.0L);
    for (size_t j = 0; j < coef.size(); ++j) {
        m->A[j + 1] = coef[j];
        m->inputName.push_back("in" + std::to_string(j + 1) + "_" + name);
    }
    m->A.back() = 7;
    m->inputVariation = std::move(variation);
    if (index.empty())
        for (int j = 0; j < m->numOfX; ++j) index.push_back(j);
    m->inputIndex = std::move(index);
    m->used = used;
    return m;
}
}  // namespace

// Interval A: x = 0, 2, 0, 2 (mean 1, population deviation 1, variation 1), y = 2x + 5.
// Interval B: x = -2, 4, -2, 4 (mean 1, deviation 3, variation 3), y = 6x - 1.
// Summary coefficient by hand: 1/4·2 + 3/4·6 = 5.
TEST(StaticIdentificationInterval, SummaryOfTwoIntervalsWeightedOneAndThree) {
    const std::vector<double> xa{0, 2, 0, 2}, xb{-2, 4, -2, 4};
    auto inA = series("x_A", xa), outA = series("y_A", line(xa, 2, 5));
    auto inB = series("x_B", xb, 10), outB = series("y_B", line(xb, 6, -1), 10);
    RecordingReporter rep;
    TStaticIdentificationInterval id(&rep);
    ASSERT_TRUE(id.addModel({&inA}, &outA, 0.001, true, "A"));
    ASSERT_TRUE(id.addModel({&inB}, &outB, 0.001, true, "B"));
    EXPECT_TRUE(rep.entries.empty());
    ASSERT_EQ(id.numOfModel, 2);
    ASSERT_EQ(id.models.size(), 2u);

    const TDynamicIntervalModel& a = *id.models[0];
    EXPECT_EQ(a.name, "A");
    ASSERT_EQ(a.A.size(), 3u);
    EXPECT_NEAR(static_cast<double>(a.A[1]), 2, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.A[2]), 5, 1e-9);
    EXPECT_NEAR(a.c, 5, 1e-9);
    EXPECT_FALSE(a.used);
    // An exact line: R² = 1 and 1 - 0·(4-1)/(4-1-1) = 1.
    EXPECT_NEAR(a.R2, 1, 1e-12);
    EXPECT_NEAR(a.R2Norm(), 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(id.models[1]->A[1]), 6, 1e-9);

    EXPECT_FALSE(id.calcSumModel());  // nothing ticked yet
    EXPECT_FALSE(id.haveSumModel);
    EXPECT_EQ(id.sumModel, nullptr);

    id.models[0]->used = true;
    id.models[1]->used = true;
    ASSERT_TRUE(id.calcSumModel());
    EXPECT_TRUE(id.haveSumModel);
    const TStaticModel& s = *id.sumModel;
    ASSERT_EQ(s.A.size(), 2u);
    EXPECT_NEAR(static_cast<double>(s.A[1]), 5, 1e-9);
    EXPECT_EQ(s.c, 0);  // the free terms take no part
    EXPECT_EQ(s.name, "y_A");
    EXPECT_EQ(s.inputName, std::vector<std::string>{"x_A"});
    EXPECT_TRUE(rep.entries.empty());
}

TEST(StaticIdentificationInterval, SummaryCoefficientsByHand) {
    struct Case {
        const char* what;
        // Per model: coefficients, variations, ticked.
        std::vector<std::vector<long double>> coef, variation;
        std::vector<bool> used;
        std::vector<long double> expected;
    };
    const std::vector<Case> cases{
        {"one ticked model gives its own coefficients", {{2, -4}}, {{0.3, 0.7}}, {true}, {2, -4}},
        {"weights 1 and 3; 2 and 2", {{2, 1}, {6, 3}}, {{1, 2}, {3, 2}}, {true, true}, {5, 2}},
        // (-1/2)·2 + (3/2)·6 = 8
        {"a negative variation weighs negatively", {{2}, {6}}, {{-1}, {3}}, {true, true}, {8}},
        {"unticked models take no part", {{100}, {2}, {100}, {6}}, {{5}, {1}, {5}, {3}},
         {false, true, false, true}, {5}},
        // (0.5·1 + 1.5·4 + 2·(-2)) / 4 = 0.625
        {"three models", {{1}, {4}, {-2}}, {{0.5}, {1.5}, {2}}, {true, true, true}, {0.625}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingReporter rep;
        TStaticIdentificationInterval id(&rep);
        for (size_t k = 0; k < c.coef.size(); ++k)
            id.models.push_back(handModel(std::to_string(k), c.coef[k], c.variation[k], c.used[k]));
        id.numOfModel = static_cast<int>(id.models.size());
        ASSERT_TRUE(id.calcSumModel());
        const TStaticModel& s = *id.sumModel;
        ASSERT_EQ(s.A.size(), c.expected.size() + 1);
        for (size_t j = 0; j < c.expected.size(); ++j)
            EXPECT_NEAR(static_cast<double>(s.A[j + 1]), static_cast<double>(c.expected[j]), 1e-15) << j;
        EXPECT_EQ(s.c, 0);
        EXPECT_TRUE(rep.entries.empty());
    }
}

TEST(StaticIdentificationInterval, SummaryRefusals) {
    struct Model {
        std::string name;
        std::vector<long double> coef, variation;
        bool used;
        std::vector<int> index;
    };
    struct Case {
        const char* what;
        std::vector<Model> models;
        std::string message;
    };
    const std::string otherInputs = "Модель интервала (b) построена по другим входным рядам, чем модель интервала (a). "
                                    "Сводная модель не построена.";
    const auto noVariation = [](const char* input) {
        return std::string("Сумма вариаций входного ряда (") + input +
               ") по выбранным моделям равна нулю или не определена. Сводная модель не построена.";
    };
    const std::vector<Case> cases{
        {"an unticked first model with other inputs does not decide the input count",
         {{"a", {1, 1, 1}, {1, 1, 1}, false, {}}, {"b", {2}, {1}, true, {}}, {"c", {4}, {1}, true, {}}}, ""},
        {"a ticked model with fewer inputs", {{"a", {1, 2}, {1, 1}, true, {}}, {"b", {2}, {1}, true, {1}}}, otherInputs},
        {"as many inputs, but another one dropped", {{"a", {1}, {1}, true, {0}}, {"b", {2}, {1}, true, {1}}},
         otherInputs},
        {"variations that cancel", {{"a", {1, 1}, {1, 0.5}, true, {}}, {"b", {2, 2}, {2, -0.5}, true, {}}},
         noVariation("in2_a")},
        {"an input with mean 0 has no variation", {{"a", {1}, {kNaN}, true, {}}, {"b", {2}, {1}, true, {}}},
         noVariation("in1_a")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingReporter rep;
        TStaticIdentificationInterval id(&rep);
        for (const Model& m : c.models) id.models.push_back(handModel(m.name, m.coef, m.variation, m.used, m.index));
        id.numOfModel = static_cast<int>(id.models.size());
        if (c.message.empty()) {
            ASSERT_TRUE(id.calcSumModel());
            EXPECT_NEAR(static_cast<double>(id.sumModel->A[1]), 3, 1e-15);
            EXPECT_EQ(id.sumModel->name, "out_b");
            EXPECT_TRUE(rep.entries.empty());
            continue;
        }
        // A previous summary stays as it was.
        id.sumModel = std::make_unique<TStaticModel>();
        id.sumModel->name = "old";
        EXPECT_FALSE(id.calcSumModel());
        EXPECT_FALSE(id.haveSumModel);
        EXPECT_EQ(id.sumModel->name, "old");
        EXPECT_EQ(rep.texts(), std::vector<std::string>{c.message});
    }
}

// The first input is shifted in time on the interval and is dropped. The model is rated on
// the input that was kept, y = 3·x2 + 1 exactly, so R² is 1; the caller's series keep
// their (unset) statistics.
TEST(StaticIdentificationInterval, DroppedInputIsNotUsedForTheQuality) {
    const std::vector<double> x1{5, 1, 4, 1, 5, 9}, x2{2, 7, 1, 8, 2, 8};
    auto in1 = series("x1", x1, 2), in2 = series("x2", x2), out = series("y", line(x2, 3, 1));
    RecordingReporter rep;
    TStaticIdentificationInterval id(&rep);
    ASSERT_TRUE(id.addModel({&in1, &in2}, &out, 0.001, true, "I"));
    EXPECT_EQ(rep.texts(),
              std::vector<std::string>{"Для ряда (x1) не выполнена полная синхронизация точек. Ряд исключен."});
    const TDynamicIntervalModel& m = *id.models[0];
    EXPECT_EQ(m.numOfX, 1);
    EXPECT_EQ(m.inputName, std::vector<std::string>{"x2"});
    EXPECT_EQ(m.inputIndex, std::vector<int>{1});
    EXPECT_NEAR(static_cast<double>(m.A[1]), 3, 1e-9);
    EXPECT_NEAR(m.R2, 1, 1e-12);
    // x2: mean 28/6, population variance (Σx² - 6·mean²)/6 = (186 - 784/6)/6.
    const double mean = 28.0 / 6, sd = std::sqrt((186 - 784.0 / 6) / 6);
    ASSERT_EQ(m.inputVariation.size(), 1u);
    EXPECT_NEAR(static_cast<double>(m.inputVariation[0]), sd / mean, 1e-14);
    EXPECT_EQ(out.mean, 0);
    EXPECT_EQ(in2.mean, 0);
}

TEST(StaticIdentificationInterval, IntervalsDroppingDifferentInputsAreNotSummed) {
    const std::vector<double> x1{5, 1, 4, 1, 5, 9}, x2{2, 7, 1, 8, 2, 8};
    // Interval P drops x1, interval Q drops x2: each model has one input, not the same one.
    auto p1 = series("x1_P", x1, 2), p2 = series("x2_P", x2), py = series("y_P", line(x2, 3, 1));
    auto q1 = series("x1_Q", x1), q2 = series("x2_Q", x2, 2), qy = series("y_Q", line(x1, 2, 1));
    RecordingReporter rep;
    TStaticIdentificationInterval id(&rep);
    ASSERT_TRUE(id.addModel({&p1, &p2}, &py, 0.001, true, "P"));
    ASSERT_TRUE(id.addModel({&q1, &q2}, &qy, 0.001, true, "Q"));
    rep.clear();
    for (auto& m : id.models) m->used = true;
    EXPECT_FALSE(id.calcSumModel());
    EXPECT_EQ(rep.texts(), std::vector<std::string>{"Модель интервала (Q) построена по другим входным рядам, чем "
                                                    "модель интервала (P). Сводная модель не построена."});
}

TEST(StaticIdentificationInterval, AddModelRefusals) {
    // The checks and the fit are those of the whole-data engine, whose refusals are tested
    // there; here each kind of refusal must leave the list of models as it was.
    const std::vector<double> x{1, 2, 3, 5};
    auto in = series("x", x), shifted = series("s", x, 2), out = series("y", line(x, 1, 1));
    struct Case {
        const char* what;
        arrayOfStatSeries input;
        TStatisticSeries* output;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases{
        {"no input", {}, &out, {"Нет входных рядов!"}},
        {"every input dropped", {&shifted}, &out,
         {"Для ряда (s) не выполнена полная синхронизация точек. Ряд исключен.", "Нет входных рядов!"}},
        {"no output", {&in}, nullptr, {kTooFewOutputPointsMessage}},
        {"the same input twice", {&in, &in}, &out, {kSingularFitMessage}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingReporter rep;
        TStaticIdentificationInterval id(&rep);
        EXPECT_FALSE(id.addModel(c.input, c.output, 0.001, true, "I"));
        EXPECT_EQ(id.numOfModel, 0);
        EXPECT_TRUE(id.models.empty());
        EXPECT_EQ(rep.texts(), c.texts);
    }
}

// The input variations equal those of calcStatistic bit for bit, gaps included (a gap takes
// part in the deviation with the value it stores, not in the mean), and a gap is reported.
TEST(StaticIdentificationInterval, InputVariationsAreThoseOfTheSeriesStatistics) {
    TStatisticSeries x1, x2, y;
    x1.Title = "x1";
    x2.Title = "x2";
    y.Title = "y";
    unsigned state = 12345;
    auto next = [&] {
        state = state * 1103515245u + 12345u;
        return static_cast<double>((state >> 8) % 10000) / 100.0;
    };
    for (int i = 0; i < 200; ++i) {
        const double t = kT0 + i * kMinute, a = next() + 1, b = next() - 80;
        const int k = x1.AddXY(t, a);
        if (i % 17 == 3) x1.SetNull(k);
        x2.AddXY(t, b);
        y.AddXY(t, 0.5 * a - 2 * b + next() / 50);
    }
    RecordingReporter rep;
    TStaticIdentificationInterval id(&rep);
    ASSERT_TRUE(id.addModel({&x1, &x2}, &y, 0.001, true, "I"));
    EXPECT_EQ(rep.texts(), std::vector<std::string>{"Пустое значение!"});
    TStatisticSeries c1, c2;
    c1.assignSS(x1);
    c2.assignSS(x2);
    c1.calcStatistic();
    c2.calcStatistic();
    ASSERT_EQ(id.models[0]->inputVariation.size(), 2u);
    EXPECT_EQ(id.models[0]->inputVariation[0], c1.variation);
    EXPECT_EQ(id.models[0]->inputVariation[1], c2.variation);
    EXPECT_LT(c2.variation, 0);  // a negative mean gives a negative variation
}
