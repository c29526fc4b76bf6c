#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "identification/DynamicIdent.h"
#include "numerics/Formatters.h"
#include "numerics/Reporter.h"
#include "support/Series.h"

namespace {
constexpr double kDay0 = 45000.0;  // 15.03.2023
constexpr double kMinute = 1.0 / 1440;

// Deterministic, persistently exciting input: steps of pseudo-random height.
std::vector<double> excitation(int n, uint32_t seed = 2024) {
    std::vector<double> u(static_cast<size_t>(n));
    double level = 1.0;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        if (i % 4 == 0) level = 1.0 + static_cast<double>(seed >> 8) / static_cast<double>(1u << 24) * 3.0;
        u[static_cast<size_t>(i)] = level;
    }
    return u;
}

std::vector<double> stamps(int n, double stepMinutes, double t0 = kDay0) {
    std::vector<double> t(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) t[static_cast<size_t>(i)] = t0 + i * stepMinutes * kMinute;
    return t;
}

// A plant given by its backward-difference equation y[t] = -Σ a[j]y[t-j] + Σ b[j]u[t-j-d],
// sampled on `n` points; the input handed to identification is already shifted by the
// delay d, as the dynamics page does, so both series share the output's time stamps.
struct PlantData {
    TStatisticSeries input, output;
};

PlantData plant(const std::vector<double>& a, const std::vector<double>& b, int d, int n, double stepMinutes) {
    const int total = n + d;
    const std::vector<double> u = excitation(total);
    std::vector<double> y(static_cast<size_t>(total), 0.0);
    for (int t = 0; t < total; ++t) {
        double v = 0;
        for (size_t j = 1; j < a.size(); ++j)
            if (t - static_cast<int>(j) >= 0) v -= a[j] * y[static_cast<size_t>(t) - j];
        for (size_t j = 0; j < b.size(); ++j) {
            const int k = t - static_cast<int>(j) - d;
            if (k >= 0) v += b[j] * u[static_cast<size_t>(k)];
        }
        y[static_cast<size_t>(t)] = v;
    }
    const std::vector<double> t = stamps(n, stepMinutes);
    std::vector<double> in(static_cast<size_t>(n)), out(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        out[static_cast<size_t>(i)] = y[static_cast<size_t>(i + d)];
        in[static_cast<size_t>(i)] = u[static_cast<size_t>(i)];  // u shifted by d samples
    }
    return {seriesXY("u", t, in), seriesXY("y", t, out)};
}

TEST(DynamicIdent, FirstOrderLagWithDelayIsIdentifiedBack) {
    // K/(τs + 1) at step T by backward differences: a1 = -τ/(T+τ), b0 = K·T/(T+τ).
    struct Case {
        double K, tau;
        int delay;
    };
    const Case cases[] = {{2.0, 6.0, 3}, {-0.75, 30.0, 0}, {12.5, 1.0, 7}};
    const double T = 1.5;
    for (const auto& c : cases) {
        PlantData d = plant({1, -c.tau / (T + c.tau)}, {c.K * T / (T + c.tau)}, c.delay, 300, T);
        RecordingReporter rec;
        TDynamicIdent ident(&rec);
        ASSERT_TRUE(ident.identification(d.input, d.output, 0, 1)) << c.K;
        EXPECT_TRUE(rec.entries.empty());
        EXPECT_TRUE(ident.calcModel);
        const TDynamicModel& m = ident.dynamicmodel;
        EXPECT_NEAR(m.timeDiscretization, T, 1e-7);
        EXPECT_NEAR(static_cast<double>(m.k), c.K, 1e-6 * std::fabs(c.K));
        ASSERT_EQ(m.num.size(), 1u);
        EXPECT_EQ(m.num[0], 1.0L);
        ASSERT_EQ(m.denum.size(), 2u);
        EXPECT_NEAR(static_cast<double>(m.denum[0]), 1.0, 1e-12);
        EXPECT_NEAR(static_cast<double>(m.denum[1]), c.tau, 1e-6 * c.tau);
        EXPECT_NEAR(m.R2, 1.0, 1e-9);
        EXPECT_NEAR(m.R2norm, 1.0, 1e-9);
        EXPECT_NEAR(ident.meanError, 0.0, 1e-6);
    }
}

TEST(DynamicIdent, SecondOrderPlantIsIdentifiedBack) {
    // K(T3·s + 1)/((T1·s + 1)(T2·s + 1)) = K(T3·s + 1)/(c2·s² + c1·s + 1) at step T.
    // With q = z^-1 and s = (1 - q)/T: D = S - (2c2/T² + c1/T)q + (c2/T²)q², S = c2/T² + c1/T + 1;
    // N = K(T3/T + 1) - K(T3/T)q.
    const double K = 3.0, T1 = 5.0, T2 = 2.0, T3 = 1.5, T = 1.5;
    const double c1 = T1 + T2, c2 = T1 * T2;
    const double S = c2 / (T * T) + c1 / T + 1;
    const std::vector<double> a = {1, -(2 * c2 / (T * T) + c1 / T) / S, (c2 / (T * T)) / S};
    const std::vector<double> b = {K * (T3 / T + 1) / S, -K * (T3 / T) / S};
    PlantData d = plant(a, b, 4, 500, T);
    TDynamicIdent ident;
    ASSERT_TRUE(ident.identification(d.input, d.output, 1, 2));
    const TDynamicModel& m = ident.dynamicmodel;
    EXPECT_NEAR(static_cast<double>(m.k), K, 1e-6);
    ASSERT_EQ(m.num.size(), 2u);
    EXPECT_EQ(m.num[0], 1.0L);
    EXPECT_NEAR(static_cast<double>(m.num[1]), T3, 1e-6);
    ASSERT_EQ(m.denum.size(), 3u);
    EXPECT_NEAR(static_cast<double>(m.denum[1]), c1, 1e-6);
    EXPECT_NEAR(static_cast<double>(m.denum[2]), c2, 1e-6);
    EXPECT_NEAR(m.R2, 1.0, 1e-9);
    // The difference equation is the fitted one.
    ASSERT_EQ(m.kx.size(), 2u);
    ASSERT_EQ(m.ky.size(), 3u);
    EXPECT_NEAR(static_cast<double>(m.kx[0]), b[0], 1e-9);
    EXPECT_NEAR(static_cast<double>(m.kx[1]), b[1], 1e-9);
    EXPECT_EQ(m.ky[0], 0.0L);  // not written by identification
    EXPECT_NEAR(static_cast<double>(m.ky[1]), a[1], 1e-9);
    EXPECT_NEAR(static_cast<double>(m.ky[2]), a[2], 1e-9);

    // The transfer function turns back into the same difference equation.
    TDynamicModel copy;
    copy.assign(m);
    copy.calcDiffExOnTF();
    EXPECT_NEAR(static_cast<double>(copy.ky[0]), 1.0, 1e-12);
    for (int j = 0; j <= 1; ++j) EXPECT_NEAR(static_cast<double>(copy.kx[j]), static_cast<double>(m.kx[j]), 1e-10) << j;
    for (int j = 1; j <= 2; ++j) EXPECT_NEAR(static_cast<double>(copy.ky[j]), static_cast<double>(m.ky[j]), 1e-10) << j;
}

TEST(DynamicIdent, NamesTauAndLastSeries) {
    PlantData d = plant({1, -0.6}, {0.8}, 0, 50, 1.0);
    d.input.Title = "Расход";
    d.output.Title = "Температура";
    TDynamicIdent ident;
    ident.dynamicmodel.tau = 4.5;
    ASSERT_TRUE(ident.identification(d.input, d.output, 0, 1));
    const TDynamicModel& m = ident.dynamicmodel;
    EXPECT_EQ(m.name, "Расход-Температура");
    EXPECT_EQ(m.inputName, "Расход");
    EXPECT_EQ(m.outputName, "Температура");
    EXPECT_EQ(m.tau, 4.5L);
    ASSERT_NE(ident.lastInput, nullptr);
    ASSERT_NE(ident.lastOutput, nullptr);
    EXPECT_EQ(ident.lastInput->YValues(), d.input.YValues());
    EXPECT_EQ(ident.lastOutput->XValues(), d.output.XValues());
    ident.clear();
    EXPECT_FALSE(ident.calcModel);
    EXPECT_EQ(ident.lastInput, nullptr);
    EXPECT_EQ(ident.lastOutput, nullptr);
}

// Two large date-time numbers differ by the step plus their rounding: the step is taken to
// the millisecond, so minute data have a step of exactly 1 and a delay of 3 one-second
// samples prints as 0,05.
TEST(DynamicIdent, SamplingStepIsRoundedToTheMillisecond) {
    const struct {
        double stepMinutes, T;
        const char* threeSteps;
    } cases[] = {{1.0, 1.0, "3"}, {1.0 / 60, 1000.0 / 60000, "0,05"}, {60.0, 60.0, "180"}};
    for (const auto& c : cases) {
        PlantData d = plant({1, -0.6}, {0.8}, 0, 50, c.stepMinutes);
        TDynamicIdent ident;
        ASSERT_TRUE(ident.identification(d.input, d.output, 0, 1)) << c.threeSteps;
        EXPECT_EQ(ident.dynamicmodel.timeDiscretization, c.T) << c.threeSteps;
        EXPECT_EQ(formatNumber(3 * ident.dynamicmodel.timeDiscretization, FormatSettings()), c.threeSteps);
    }
}

TEST(DynamicIdent, KyZeroKeepsItsHistory) {
    PlantData d = plant({1, -0.6}, {0.8}, 0, 50, 1.0);
    TDynamicIdent ident;
    ASSERT_TRUE(ident.identification(d.input, d.output, 0, 1));
    EXPECT_EQ(ident.dynamicmodel.ky[0], 0.0L);
    ident.dynamicmodel.calcDiffExOnTF();  // what the coefficient editor does
    EXPECT_NEAR(static_cast<double>(ident.dynamicmodel.ky[0]), 1.0, 1e-12);
    ASSERT_TRUE(ident.identification(d.input, d.output, 0, 1));
    EXPECT_NEAR(static_cast<double>(ident.dynamicmodel.ky[0]), 1.0, 1e-12);
}

// y = 2.5·u at orders 0 and 0: gain 2.5 and D(s) = 1. Orders 0 and 1 on 3 points leave no
// degree of freedom (two rows for two coefficients): the normalised R² falls back.
TEST(DynamicIdent, SmallestFits) {
    const std::vector<double> t = stamps(20, 1.0), u = excitation(20);
    std::vector<double> y;
    for (double v : u) y.push_back(2.5 * v);
    TDynamicIdent ident;
    ASSERT_TRUE(ident.identification(seriesXY("u", t, u), seriesXY("y", t, y), 0, 0));
    EXPECT_EQ(ident.dynamicmodel.denum, (arrayOfExtended{1.0L}));
    EXPECT_NEAR(static_cast<double>(ident.dynamicmodel.k), 2.5, 1e-12);
    PlantData d = plant({1, -0.5}, {1.0}, 0, 3, 1.0);
    ASSERT_TRUE(ident.identification(d.input, d.output, 0, 1));
    EXPECT_EQ(ident.dynamicmodel.R2norm, -10000.0);
}

// R² by a plain second implementation: simulate from the measured start and correlate.
double oracleR2(const TDynamicModel& m, const std::vector<double>& u, const std::vector<double>& y) {
    const size_t n = y.size();
    const size_t start = static_cast<size_t>(std::max(m.xpower, m.ypower));
    std::vector<double> s(y.begin(), y.begin() + static_cast<long>(start));
    for (size_t i = start; i < n; ++i) {
        double v = 0;
        for (int j = 0; j <= m.xpower; ++j) v += static_cast<double>(m.kx[j]) * u[i - j];
        for (int j = 1; j <= m.ypower; ++j) v -= static_cast<double>(m.ky[j]) * s[i - j];
        s.push_back(v);
    }
    double ms = 0, my = 0;
    for (size_t i = 0; i < n; ++i) {
        ms += s[i] / n;
        my += y[i] / n;
    }
    double sxy = 0, sxx = 0, syy = 0;
    for (size_t i = 0; i < n; ++i) {
        sxy += (s[i] - ms) * (y[i] - my);
        sxx += (s[i] - ms) * (s[i] - ms);
        syy += (y[i] - my) * (y[i] - my);
    }
    return sxy * sxy / (sxx * syy);
}

TEST(DynamicIdent, R2OfAnInexactFitAgainstASecondImplementation) {
    PlantData d = plant({1, -0.7}, {0.9}, 0, 200, 1.0);
    // Deterministic disturbance on the output.
    std::vector<double> y = d.output.YValues();
    for (size_t i = 0; i < y.size(); ++i) y[i] += 0.3 * std::sin(0.7 * static_cast<double>(i));
    TStatisticSeries out = seriesXY("y", d.output.XValues(), y);
    TDynamicIdent ident;
    ASSERT_TRUE(ident.identification(d.input, out, 1, 2));
    const double r2 = oracleR2(ident.dynamicmodel, d.input.YValues(), y);
    EXPECT_LT(r2, 0.999);
    EXPECT_NEAR(ident.dynamicmodel.R2, r2, 1e-9);
    const double n = 200;
    EXPECT_NEAR(ident.dynamicmodel.R2norm, 1 - (1 - r2) * (n - 1) / (n - 1 - 2 - 2), 1e-9);
    EXPECT_GT(ident.meanError, 0.0);
}

TEST(DynamicIdent, SamplingCheckBounds) {
    // dt = 0.25 days (exact in binary); steps of exactly 2·dt and 0 pass.
    struct Case {
        const char* name;
        std::vector<double> t;
        bool ok;
        std::string message;
    };
    const std::string uneven = "Ошибка! Загружен неоднородный выходной ряд.";
    const Case cases[] = {
        {"step of exactly 2dt", {0, 0.25, 0.75, 1.0, 1.25, 1.5, 1.75}, true, ""},
        {"repeated stamp after the first step", {0, 0.25, 0.5, 0.5, 0.75, 1.0, 1.25}, true, ""},
        {"step of 2dt and a bit", {0, 0.25, 0.5, 0.75, 1.2500001, 1.5, 1.75}, false, uneven + "3"},
        {"decreasing later step", {0, 0.25, 0.5, 0.4, 0.75, 1.0, 1.25}, false, uneven + "2"},
        {"first step reported never, second at 1", {0, 0.25, 1.0, 1.25, 1.5, 1.75, 2.0}, false, uneven + "1"},
        {"equal first stamps", {0, 0, 0.25, 0.5, 0.75, 1.0, 1.25}, false, TDynamicIdent::kBadStepMessage},
        {"negative first step", {2, 1.75, 1.5, 1.25, 1.0, 0.75, 0.5}, false, TDynamicIdent::kBadStepMessage},
    };
    for (const auto& c : cases) {
        std::vector<double> t;
        for (double v : c.t) t.push_back(kDay0 + v);
        const std::vector<double> u = {1, 3, 2, 5, 4, 2, 6};
        const std::vector<double> y = {2, 6, 4, 10, 8, 4, 12};
        RecordingReporter rec;
        TDynamicIdent ident(&rec);
        EXPECT_EQ(ident.identification(seriesXY("u", t, u), seriesXY("y", t, y), 0, 0), c.ok) << c.name;
        if (c.ok) {
            EXPECT_TRUE(rec.entries.empty()) << c.name;
        } else {
            ASSERT_EQ(rec.entries.size(), 1u) << c.name;
            EXPECT_EQ(rec.entries[0].kind, RecordingReporter::Kind::Message) << c.name;
            EXPECT_EQ(rec.entries[0].text, c.message) << c.name;
        }
    }
}

// A snapshot of what a refusal must leave alone.
struct Snapshot {
    std::string name;
    int xpower, ypower;
    arrayOfExtended num, denum, kx, ky;
    long double k;
    double R2, R2norm, T, meanError;
    const TStatisticSeries* lastInput;
    int lastCount;
    explicit Snapshot(const TDynamicIdent& id)
        : name(id.dynamicmodel.name), xpower(id.dynamicmodel.xpower), ypower(id.dynamicmodel.ypower),
          num(id.dynamicmodel.num), denum(id.dynamicmodel.denum), kx(id.dynamicmodel.kx), ky(id.dynamicmodel.ky),
          k(id.dynamicmodel.k), R2(id.dynamicmodel.R2), R2norm(id.dynamicmodel.R2norm),
          T(id.dynamicmodel.timeDiscretization), meanError(id.meanError), lastInput(id.lastInput.get()),
          lastCount(id.lastInput ? id.lastInput->Count() : -1) {}
    bool operator==(const Snapshot&) const = default;
};

TEST(DynamicIdent, RefusalsShowTheirMessageAndKeepTheEarlierModel) {
    const std::string sync = "Ошибка! Входной ряд не синхронизирован с выходным.";
    const std::vector<double> t20 = stamps(20, 1.0);
    const std::vector<double> u20 = excitation(20);
    std::vector<double> y20;
    for (double v : u20) y20.push_back(2 * v);
    std::vector<double> t20shifted = t20;
    t20shifted[7] += 1e-9;
    const std::vector<double> flat(20, 4.0);
    std::vector<double> alternating, ones(20, 1.0);
    for (int i = 0; i < 20; ++i) alternating.push_back(i % 2 ? -1.0 : 1.0);
    std::vector<double> yNan = y20;
    yNan[5] = std::nan("");
    // Exactly first-order data fitted with higher orders: the columns depend on each other.
    const PlantData exact = plant({1, -0.6}, {0.8}, 0, 50, 1.0);
    // A noise-free second-order plant of gain 1 with poles 0.98 and 0.85, its input stepping
    // every 500 samples: orders 2 and 4 make its columns depend on each other up to
    // rounding, and the equation fitted to that rounding has no meaning.
    // An unstable process y = 2·y1 - u held by a controller u = 2·y1 - r: the data stay
    // bounded, the exact model y = 2·y1 - u does not.
    PlantData slow, loop;
    {
        const std::vector<double> t = stamps(3000, 1.0), r = excitation(3000);
        std::vector<double> u(3000), y(3000), ul(3000), yl(3000);
        for (int i = 0; i < 3000; ++i) {
            u[i] = 1.0 + (i / 500) % 3;
            const double a1 = 0.98 + 0.85, a2 = 0.98 * 0.85;
            y[i] = (i >= 1 ? a1 * y[i - 1] : 0) - (i >= 2 ? a2 * y[i - 2] : 0) + (1 - a1 + a2) * u[i];
            ul[i] = (i >= 1 ? 2 * yl[i - 1] : 0) - r[i];
            yl[i] = (i >= 1 ? 2 * yl[i - 1] : 0) - ul[i];
        }
        slow = {seriesXY("u", t, u), seriesXY("y", t, y)};
        loop = {seriesXY("u", t, ul), seriesXY("y", t, yl)};
    }

    struct Case {
        const char* name;
        TStatisticSeries input, output;
        int xp, yp;
        std::string message;
        bool clearsCalcModel;
    };
    const Case cases[] = {
        {"input shorter", seriesXY("u", stamps(19, 1.0), u20), seriesXY("y", t20, y20), 0, 1, sync, false},
        {"input stamp differs a little", seriesXY("u", t20shifted, u20), seriesXY("y", t20, y20), 0, 1, sync, false},
        {"output order above 10", seriesXY("u", t20, u20), seriesXY("y", t20, y20), 0, 11, TDynamicIdent::kBadOrderMessage,
         false},
        {"negative input order", seriesXY("u", t20, u20), seriesXY("y", t20, y20), -1, 1, TDynamicIdent::kBadOrderMessage,
         false},
        {"one point", seriesXY("u", stamps(1, 1.0), u20), seriesXY("y", stamps(1, 1.0), y20), 0, 0,
         TDynamicIdent::kTooFewPointsMessage, false},
        {"fewer rows than coefficients", seriesXY("u", stamps(5, 1.0), u20), seriesXY("y", stamps(5, 1.0), y20), 2, 2,
         TDynamicIdent::kTooFewPointsMessage, false},
        {"constant input with input order 1", seriesXY("u", t20, flat), seriesXY("y", t20, y20), 1, 1,
         TDynamicIdent::kSingularFitMessage, true},
        {"output value not a number", seriesXY("u", t20, u20), seriesXY("y", t20, yNan), 0, 1,
         TDynamicIdent::kNotANumberMessage, true},
        {"orders above those of exact first-order data", exact.input, exact.output, 1, 2,
         TDynamicIdent::kSingularFitMessage, true},
        {"orders above those of a second-order plant, slow input", slow.input, slow.output, 2, 4,
         TDynamicIdent::kSingularFitMessage, true},
        {"unstable process in closed loop: the model's simulation runs away", loop.input, loop.output, 0, 1,
         TDynamicIdent::kDivergentModelMessage, true},
        {"output unrelated to input: zero gain", seriesXY("u", t20, alternating), seriesXY("y", t20, ones), 0, 0,
         TDynamicIdent::kZeroGainMessage, true},
    };
    PlantData d = plant({1, -0.6}, {0.8}, 0, 50, 1.0);
    for (const auto& c : cases) {
        RecordingReporter rec;
        TDynamicIdent ident(&rec);
        ASSERT_TRUE(ident.identification(d.input, d.output, 0, 1)) << c.name;
        const Snapshot before(ident);
        EXPECT_FALSE(ident.identification(c.input, c.output, c.xp, c.yp)) << c.name;
        EXPECT_EQ(rec.texts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_TRUE(Snapshot(ident) == before) << c.name;
        EXPECT_EQ(ident.calcModel, !c.clearsCalcModel) << c.name;
    }
    // The orders the slow data need are identified, with the plant's gain.
    TDynamicIdent ident;
    ASSERT_TRUE(ident.identification(slow.input, slow.output, 0, 2));
    EXPECT_NEAR(static_cast<double>(ident.dynamicmodel.k), 1.0, 1e-9);
}

TEST(DynamicIdent, NullOutputPointIsReportedByItsStatistics) {
    PlantData d = plant({1, -0.6}, {0.8}, 0, 30, 1.0);
    d.output.SetNull(10);
    RecordingReporter rec;
    TDynamicIdent ident(&rec);
    EXPECT_TRUE(ident.identification(d.input, d.output, 0, 1));
    EXPECT_EQ(rec.texts(), std::vector<std::string>{"Пустое значение!"});
}
}  // namespace
