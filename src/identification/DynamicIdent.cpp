#include "identification/DynamicIdent.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "numerics/DiffEquation.h"
#include "numerics/Reporter.h"

TDynamicIdent::TDynamicIdent(Reporter* r) : reporter(r) {}

void TDynamicIdent::clear() {
    calcModel = false;
    lastInput.reset();
    lastOutput.reset();
}

namespace {
void say(Reporter* reporter, const std::string& text) {
    if (reporter) reporter->message(text);
}

// R² of the model output m against the measured output o over the first N points, from
// deviations about each series' mean; 0 when either series is constant.
long double squaredCorrelation(const TStatisticSeries& m, const TStatisticSeries& o, int N) {
    const long double mm = m.mean;
    const long double mo = o.mean;
    long double smo = 0, smm = 0, soo = 0;
    for (int i = 0; i < N; ++i) {
        const long double dm = m.YValue(i) - mm;
        const long double dob = o.YValue(i) - mo;
        smo += dm * dob;
        smm += dm * dm;
        soo += dob * dob;
    }
    const long double den = smm * soo;
    return den != 0 ? smo * smo / den : 0.0L;
}
}  // namespace

bool TDynamicIdent::identification(const TStatisticSeries& input, const TStatisticSeries& output, int xPower,
                                   int yPower) {
    if (xPower < 0 || yPower < 0 || xPower > kMaxDiffEquationOrder || yPower > kMaxDiffEquationOrder) {
        say(reporter, kBadOrderMessage);
        return false;
    }
    const int N = output.Count();
    if (N < 2) {
        say(reporter, kTooFewPointsMessage);
        return false;
    }

    // Even sampling of the output: the first step sets dt; every later step lies in
    // [0, 2·dt]. A first step that is not positive would make the sampling step zero.
    const double dt = output.XValue(1) - output.XValue(0);
    if (!(dt > 0)) {
        say(reporter, kBadStepMessage);
        return false;
    }
    for (int i = 1; i <= N - 2; ++i) {
        const double step = output.XValue(i + 1) - output.XValue(i);
        if (!(step >= 0 && step <= 2 * dt)) {
            say(reporter, kUnevenOutputMessage + std::to_string(i));
            return false;
        }
    }

    // The input must carry exactly the output's time stamps.
    if (input.Count() != N) {
        say(reporter, kNotSynchronizedMessage);
        return false;
    }
    for (int i = 0; i < N; ++i)
        if (input.XValue(i) != output.XValue(i)) {
            say(reporter, kNotSynchronizedMessage);
            return false;
        }

    // The fit needs at least as many rows as coefficients.
    if (N - std::max(xPower, yPower) < xPower + yPower + 1) {
        say(reporter, kTooFewPointsMessage);
        return false;
    }

    // The step in minutes, from the step in milliseconds: two large date-time numbers
    // differ by a step that is off by their rounding (0,99999999 minutes for minute data).
    const long double ms = static_cast<long double>(dt) * 86400000.0L;
    const long double stepMs = ms < 9e18L ? static_cast<long double>(std::llround(ms)) : ms;
    if (stepMs < 1) {
        say(reporter, kBadStepMessage);
        return false;
    }
    const double T = static_cast<double>(stepMs) / 60000.0;
    const std::vector<double>& u = input.YValues();
    const std::vector<double>& y = output.YValues();

    TCoefArray b{}, a{}, g{}, h{};
    TVector coef;
    double err = 0;
    TFitStatus why = TFitStatus::ok;
    if (!approxDiffEquation(u.data(), y.data(), xPower, yPower, N, coef, b, a, err, &why)) {
        calcModel = false;
        say(reporter, why == TFitStatus::singular     ? kSingularFitMessage
                      : why == TFitStatus::notANumber ? kNotANumberMessage
                                                      : kFitFailedMessage);
        return false;
    }
    if (!diffEquationToTransferFunction(xPower, yPower, b, a, T, g, h)) {
        calcModel = false;
        say(reporter, kConversionFailedMessage);
        return false;
    }
    if (g[0] == 0.0) {
        calcModel = false;
        say(reporter, kZeroGainMessage);
        return false;
    }

    // Fill a copy, so that the model in use changes only when everything has succeeded.
    // Arrays are resized to the new orders; ky[0] keeps its value, as does tau.
    TDynamicModel m = dynamicmodel;
    m.xpower = xPower;
    m.ypower = yPower;
    m.timeDiscretization = T;
    m.inputName = input.Title;
    m.outputName = output.Title;
    m.name = m.inputName + "-" + m.outputName;
    m.kx.resize(static_cast<size_t>(xPower) + 1, 0.0L);
    for (int i = 0; i <= xPower; ++i) m.kx[static_cast<size_t>(i)] = b[static_cast<size_t>(i)];
    m.ky.resize(static_cast<size_t>(yPower) + 1, 0.0L);
    for (int i = 1; i <= yPower; ++i) m.ky[static_cast<size_t>(i)] = a[static_cast<size_t>(i)];
    m.k = g[0];
    m.num.resize(static_cast<size_t>(xPower) + 1, 0.0L);
    for (int i = 0; i <= xPower; ++i)
        m.num[static_cast<size_t>(i)] = static_cast<long double>(g[static_cast<size_t>(i)]) / g[0];
    m.denum.resize(static_cast<size_t>(yPower) + 1, 0.0L);
    for (int i = 0; i <= yPower; ++i) m.denum[static_cast<size_t>(i)] = h[static_cast<size_t>(i)];

    auto newInput = std::make_unique<TStatisticSeries>();
    auto newOutput = std::make_unique<TStatisticSeries>();
    newInput->assignSS(input);
    newOutput->assignSS(output);

    // Quality: the simulation from the measured start against the measured output. A model
    // whose simulation on its own data runs away to infinity fits noise, not the plant.
    auto model = m.calcOutputWithStartPoint({newInput.get()}, *newOutput);
    for (double v : model->YValues())
        if (!std::isfinite(v)) {
            calcModel = false;
            say(reporter, kDivergentModelMessage);
            return false;
        }
    model->calcStatistic();
    newOutput->calcStatistic(reporter);
    const long double r2 = squaredCorrelation(*model, *newOutput, std::min(N, model->Count()));
    const long double dof = static_cast<long double>(N) - xPower - yPower - 2;
    long double r2norm = TDynamicModel::kFailedR2norm;
    if (dof != 0 && std::isfinite(r2)) r2norm = 1 - (1 - r2) * (N - 1) / dof;
    m.R2 = static_cast<double>(r2);
    m.R2norm = static_cast<double>(r2norm);

    // The last series keep their identity: callers may hold them between identifications.
    dynamicmodel = std::move(m);
    if (lastInput) *lastInput = std::move(*newInput);
    else lastInput = std::move(newInput);
    if (lastOutput) *lastOutput = std::move(*newOutput);
    else lastOutput = std::move(newOutput);
    meanError = err;
    calcModel = true;
    return true;
}
