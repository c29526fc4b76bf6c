#include "core/DynamicModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "numerics/Formatters.h"

namespace {
// Entry i of a coefficient array, 0 where the array is shorter.
long double entry(const arrayOfExtended& a, int i) {
    return i >= 0 && static_cast<size_t>(i) < a.size() ? a[static_cast<size_t>(i)] : 0.0L;
}

// Copies entries 0..power of `from` into `to`, sized power + 1 (missing entries are 0).
void copyCoefficients(arrayOfExtended& to, const arrayOfExtended& from, int power) {
    to.assign(static_cast<size_t>(std::max(power, -1) + 1), 0.0L);
    for (int i = 0; i <= power; ++i) to[static_cast<size_t>(i)] = entry(from, i);
}
}  // namespace

TDynamicModel::TDynamicModel() {
    numOfX = 1;
    numOfY = 1;
}

void TDynamicModel::calcDiffExOnTF() {
    const double T = timeDiscretization;
    if (T == 0) return;
    const int xp = std::max(xpower, 0);
    const int yp = std::max(ypower, 0);
    const int n = std::max(xp, yp);

    // C[i][j]: coefficient of z^-j in (1 - z^-1)^i.
    std::vector<std::vector<double>> C(static_cast<size_t>(n) + 1,
                                       std::vector<double>(static_cast<size_t>(n) + 1, 0.0));
    for (int i = 0; i <= n; ++i) C[i][0] = 1.0;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) C[i][j] = C[i - 1][j] - C[i - 1][j - 1];
    std::vector<double> P(static_cast<size_t>(n) + 1, 1.0);
    for (int i = 1; i <= n; ++i) P[i] = P[i - 1] * T;

    // Constant coefficient of the discretised denominator, held in double.
    double norm = 0.0;
    for (int i = 0; i <= yp; ++i) norm = static_cast<double>(norm + entry(denum, i) / P[i]);
    if (norm == 0) return;

    // Each term is rounded to double; the sums run in extended precision.
    kx.assign(static_cast<size_t>(xp) + 1, 0.0L);
    for (int j = 0; j <= xp; ++j) {
        long double sum = 0;
        for (int i = 0; i <= xp; ++i)
            sum += static_cast<double>(((k * entry(num, i)) / P[i]) * C[i][j] / norm);
        kx[static_cast<size_t>(j)] = sum;
    }
    ky.assign(static_cast<size_t>(yp) + 1, 0.0L);
    for (int j = 0; j <= yp; ++j) {
        long double sum = 0;
        for (int i = 0; i <= yp; ++i)
            sum += static_cast<double>((entry(denum, i) / P[i]) * C[i][j] / norm);
        ky[static_cast<size_t>(j)] = sum;
    }
}

namespace {
// Runs the difference equation over the first input; `start(i)` gives the first n outputs.
template <class Start>
std::unique_ptr<TStatisticSeries> simulate(const TDynamicModel& m, const arrayOfStatSeries& inputs,
                                           Start start) {
    auto out = std::make_unique<TStatisticSeries>();
    if (inputs.empty() || inputs.front() == nullptr) return out;
    const TStatisticSeries& x = *inputs.front();
    const int count = x.Count();
    const int xp = std::max(m.xpower, 0);
    const int yp = std::max(m.ypower, 0);
    const int n = std::max(xp, yp);
    out->reserve(static_cast<size_t>(count));
    for (int i = 0; i < n && i < count; ++i) out->AddXY(x.XValue(i), start(i));
    if (count <= n) return out;

    std::vector<long double> bx(static_cast<size_t>(xp) + 1), by(static_cast<size_t>(yp) + 1);
    for (int j = 0; j <= xp; ++j) bx[j] = entry(m.kx, j);
    for (int j = 0; j <= yp; ++j) by[j] = entry(m.ky, j);
    const std::vector<double>& xv = x.YValues();
    std::vector<double> yv(static_cast<size_t>(count));
    for (int i = 0; i < n; ++i) yv[i] = out->YValue(i);
    for (int i = n; i < count; ++i) {
        long double acc = 0;
        for (int j = 0; j <= xp; ++j) acc += bx[j] * xv[static_cast<size_t>(i - j)];
        for (int j = 1; j <= yp; ++j) acc -= by[j] * yv[static_cast<size_t>(i - j)];
        yv[i] = static_cast<double>(acc);
    }
    std::vector<double> xs(x.XValues().begin(), x.XValues().begin() + count);
    out->setPoints(std::move(xs), std::move(yv));
    return out;
}
}  // namespace

std::unique_ptr<TStatisticSeries> TDynamicModel::calcOutput(const arrayOfStatSeries& inputs) const {
    return simulate(*this, inputs, [](int) { return 0.0; });
}

std::unique_ptr<TStatisticSeries> TDynamicModel::calcOutputWithStartPoint(
    const arrayOfStatSeries& inputs, const TStatisticSeries& measured) const {
    return simulate(*this, inputs,
                    [&measured](int i) { return i < measured.Count() ? measured.YValue(i) : 0.0; });
}

std::unique_ptr<TStatisticSeries> TDynamicModel::calcOutputWithStat(const arrayOfStatSeries& inputs,
                                                                     TStatisticSeries& measured,
                                                                     arrayOfExtended& stat,
                                                                     Reporter* reporter) const {
    stat.assign(5, 0.0L);
    auto model = calcOutputWithStartPoint(inputs, measured);
    model->calcStatistic();
    measured.calcStatistic(reporter);

    const int N = std::min(measured.Count(), model->Count());
    const long double mo = measured.mean;
    const long double mm = model->mean;
    long double smo = 0, smm = 0, soo = 0, see = 0, sae = 0, maxe = 0;
    for (int i = 0; i < N; ++i) {
        const long double o = measured.YValue(i);
        const long double m = model->YValue(i);
        smo += (m - mm) * (o - mo);
        smm += (m - mm) * (m - mm);
        soo += (o - mo) * (o - mo);
        const long double e = o - m;
        see += e * e;
        sae += std::fabs(e);
        if (i == 0 || std::fabs(e) >= maxe) maxe = std::fabs(e);
    }
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double den = smm * soo;
    const long double r2 = den != 0 ? smo * smo / den : 0.0L;
    const long double dof = static_cast<long double>(N) - xpower - ypower - 2;
    long double r2norm = kFailedR2norm;
    if (dof != 0 && std::isfinite(r2)) r2norm = 1 - (1 - r2) * (N - 1) / dof;
    stat[0] = r2;
    stat[1] = r2norm;
    stat[2] = N > 0 ? std::sqrt(see / N) : nan;
    stat[3] = N > 0 ? sae / N : nan;
    stat[4] = N > 0 ? maxe : nan;
    return model;
}

std::string TDynamicModel::getDiffEx(const FormatSettings& fs) const {
    std::string text = "y[i]=" + formatShort(entry(kx, 0), fs) + "*x[i]";
    for (int j = 1; j <= xpower; ++j)
        text += formatSignedTerm(entry(kx, j), fs) + "*x[i-" + std::to_string(j) + "]";
    for (int j = 1; j <= ypower; ++j)
        text += formatSignedTerm(-entry(ky, j), fs) + "*y[i-" + std::to_string(j) + "]";
    return text;
}

void TDynamicModel::getTransferFunction(std::string& numerator, std::string& denominator,
                                        const FormatSettings& fs) const {
    const int xp = std::max(xpower, 0);
    const int yp = std::max(ypower, 0);
    numerator = formatShort(k, fs);
    numerator += entry(num, xp) >= 0 ? "*(" : "*(-";
    for (int j = xp; j >= 1; --j) {
        numerator += formatShort(std::fabs(entry(num, j)), fs) + "*" + "s^" + std::to_string(j);
        numerator += entry(num, j - 1) >= 0 ? " + " : " - ";
    }
    numerator += formatShort(std::fabs(entry(num, 0)), fs) + ")";

    denominator = entry(denum, yp) < 0 ? "-" : "";
    for (int j = yp; j >= 1; --j) {
        denominator += formatShort(std::fabs(entry(denum, j)), fs) + "*" + "s^" + std::to_string(j);
        denominator += entry(denum, j - 1) >= 0 ? " + " : " - ";
    }
    denominator += formatShort(std::fabs(entry(denum, 0)), fs);
}

void TDynamicModel::assign(const TDynamicModel& source) {
    if (&source == this) return;
    name = source.name;
    xpower = source.xpower;
    ypower = source.ypower;
    copyCoefficients(num, source.num, xpower);
    copyCoefficients(kx, source.kx, xpower);
    copyCoefficients(denum, source.denum, ypower);
    copyCoefficients(ky, source.ky, ypower);
    k = source.k;
    tau = source.tau;
    timeDiscretization = source.timeDiscretization;
    inputName = source.inputName;
    outputName = source.outputName;
    R2 = source.R2;
    R2norm = source.R2norm;
}
