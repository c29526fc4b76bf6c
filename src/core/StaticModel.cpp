#include "core/StaticModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numerics/Formatters.h"

std::unique_ptr<TStatisticSeries> TStaticModel::calcOutput(const arrayOfStatSeries& inputs) const {
    auto out = std::make_unique<TStatisticSeries>();
    out->stairs = false;
    out->penWidth = 2;
    out->pointerVisible = true;
    out->pointerSize = 2;
    const size_t k = inputName.size();
    if (inputs.empty() || inputs.size() < k) return out;
    for (size_t i = 0; i < k; ++i)
        if (inputs[i] == nullptr) return out;
    if (inputs[0] == nullptr) return out;
    // A[i+1] must exist for every input; a model whose A is short cannot be evaluated.
    if (A.size() < k + 1) return out;
    int count = inputs[0]->Count();
    for (size_t i = 0; i < k; ++i) count = std::min(count, inputs[i]->Count());
    // Four points at a time, each point's terms added in input order; the four sums stay
    // in registers while the inputs are read.
    std::vector<const double*> cols(k);
    std::vector<long double> coef(k);
    for (size_t i = 0; i < k; ++i) {
        cols[i] = inputs[i]->YValues().data();
        coef[i] = A[i + 1];
    }
    const long double start = coinCheck ? static_cast<long double>(c) : 0.0L;
    std::vector<double> xs(inputs[0]->XValues().begin(), inputs[0]->XValues().begin() + count);
    std::vector<double> ys(static_cast<size_t>(count));
    int j = 0;
    for (; j + 4 <= count; j += 4) {
        long double s0 = start, s1 = start, s2 = start, s3 = start;
        for (size_t i = 0; i < k; ++i) {
            const double* y = cols[i] + j;
            const long double a = coef[i];
            s0 += y[0] * a;
            s1 += y[1] * a;
            s2 += y[2] * a;
            s3 += y[3] * a;
        }
        ys[static_cast<size_t>(j)] = static_cast<double>(s0);
        ys[static_cast<size_t>(j) + 1] = static_cast<double>(s1);
        ys[static_cast<size_t>(j) + 2] = static_cast<double>(s2);
        ys[static_cast<size_t>(j) + 3] = static_cast<double>(s3);
    }
    for (; j < count; ++j) {
        long double s0 = start;
        for (size_t i = 0; i < k; ++i) s0 += cols[i][j] * coef[i];
        ys[static_cast<size_t>(j)] = static_cast<double>(s0);
    }
    out->setPoints(std::move(xs), std::move(ys));
    return out;
}

long double normalisedR2(long double r2, long long N, long long k) {
    const long long den = N - k - 1;
    if (den == 0) return kFailedR2norm;
    return 1.0L - (1.0L - r2) * static_cast<long double>(N - 1) / static_cast<long double>(den);
}

arrayOfExtended staticQualityValues(const TStatisticSeries& measured, const TStatisticSeries& model,
                                    int numInputs) {
    arrayOfExtended stat(kNumQualityValues, 0.0L);
    const int N = std::min(measured.Count(), model.Count());
    const long double om = measured.mean;
    const long double mm = model.mean;
    long double smo = 0, smm = 0, soo = 0, see = 0, se = 0, sae = 0;
    bool constant = true;
    for (int i = 0; i < N; ++i) {
        constant &= measured.YValue(i) == measured.YValue(0);
        const long double o = measured.YValue(i);
        const long double m = model.YValue(i);
        smo += (m - mm) * (o - om);
        smm += (m - mm) * (m - mm);
        soo += (o - om) * (o - om);
        const long double e = o - m;
        see += e * e;
        se += e;
        sae += std::fabs(e);
    }
    // A constant measured or model output leaves R² undefined; it is stored as 0.
    const long double r2 = (smm * soo > 0) ? smo * smo / (smm * soo) : 0.0L;
    stat[0] = r2;
    stat[1] = normalisedR2(r2, N, numInputs);
    stat[2] = measured.mean;
    stat[3] = model.mean;
    stat[4] = measured.standartDeviation;
    stat[5] = model.standartDeviation;
    // The index compares the residual with the spread of the measured output; a constant
    // output has none, and its index is undefined (NaN, printed "NAN"), not a perfect 0.
    stat[6] = !constant && soo > 0 ? see / soo * 100.0L : std::numeric_limits<long double>::quiet_NaN();
    if (N >= 2) {
        const long double eMean = se / N;
        long double s = 0;
        for (int i = 0; i < N; ++i) {
            const long double e = static_cast<long double>(measured.YValue(i)) - model.YValue(i) - eMean;
            s += e * e;
        }
        stat[7] = std::sqrt(s / (N - 1));
    }
    if (N >= 1) {
        stat[8] = std::sqrt(see / N);
        stat[9] = sae / N;
    }
    return stat;
}

std::unique_ptr<TStatisticSeries> TStaticModel::calcOutputWithStat(const arrayOfStatSeries& inputs,
                                                                    TStatisticSeries& measured,
                                                                    arrayOfExtended& stat,
                                                                    Reporter* reporter) const {
    auto model = calcOutput(inputs);
    measured.calcStatistic(reporter);
    model->calcStatistic();
    stat = staticQualityValues(measured, *model, static_cast<int>(inputName.size()));
    return model;
}

void TStaticModel::assign(const TStaticModel& source) {
    if (&source == this) return;
    name = source.name;
    numOfX = source.numOfX;
    numOfY = source.numOfY;
    n = source.n;
    A.resize(static_cast<size_t>(std::max(n, 0)), 0.0L);
    for (int i = 1; i < n && static_cast<size_t>(i) < source.A.size(); ++i)
        A[static_cast<size_t>(i)] = source.A[static_cast<size_t>(i)];
    c = source.c;
    delta = source.delta;
    coinCheck = source.coinCheck;
    inputName = source.inputName;
    outputName = source.outputName;
    R2 = source.R2;
    R2norm = source.R2norm;
}

void TStaticModel::clear() {
    name.clear();
    outputName.clear();
    numOfX = numOfY = n = 0;
    A.clear();
    inputName.clear();
    c = delta = 0;
    coinCheck = false;
    used = false;
}

std::string TStaticModel::getString(const FormatSettings& fs) const {
    std::string text = outputName + " =";
    const size_t k = inputName.size();
    auto coef = [&](size_t i) { return i < A.size() ? A[i] : 0.0L; };
    for (size_t i = 0; i < k; ++i) {
        text += " " + formatNumber(coef(i + 1), fs) + "*(" + inputName[i] + ")";
        if (i + 1 < k) text += " +";
    }
    if (coinCheck) text += " + " + formatNumber(c, fs);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 3, "+ -") == 0) {
            out += "- ";
            i += 3;
        } else {
            out += text[i++];
        }
    }
    return out;
}
