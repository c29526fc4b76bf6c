#include "identification/StaticIdentificationInterval.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "numerics/Reporter.h"

namespace {
// The variation that calcStatistic computes (population standard deviation over every
// point, a gap with the value it stores, divided by the mean of the values that are not
// gaps; NaN for a zero mean), with the same arithmetic but without the median, which
// calcStatistic sorts for and which would cost the most here. A series with gaps reports
// "Пустое значение!" as calcStatistic does.
long double variationOf(const TStatisticSeries& s, Reporter& reporter) {
    const std::vector<double>& y = s.YValues();
    const std::vector<uint8_t>& nulls = s.NullFlags();
    long double sum = 0;
    size_t m = 0;
    for (size_t i = 0; i < y.size(); ++i) {
        if (nulls[i]) continue;
        sum += y[i];
        ++m;
    }
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double mean = m > 0 ? sum / static_cast<long double>(m) : nan;
    long double sq = 0;
    for (double v : y) {
        const long double d = static_cast<long double>(v) - mean;
        sq += d * d;
    }
    if (m < y.size()) reporter.message("Пустое значение!");
    const long double variance = y.empty() ? nan : sq / static_cast<long double>(y.size());
    return mean != 0 ? std::sqrt(variance) / mean : nan;
}
}  // namespace

std::string intervalInputsDifferMessage(const std::string& modelName, const std::string& firstModelName) {
    return "Модель интервала (" + modelName + ") построена по другим входным рядам, чем модель интервала (" +
           firstModelName + "). Сводная модель не построена.";
}

std::string variationSumUndefinedMessage(const std::string& inputName) {
    return "Сумма вариаций входного ряда (" + inputName +
           ") по выбранным моделям равна нулю или не определена. Сводная модель не построена.";
}

bool TStaticIdentificationInterval::addModel(const arrayOfStatSeries& input, TStatisticSeries* output,
                                             long double delta, bool withCoin, const std::string& name) {
    data.loadData(input, output, delta);
    auto m = std::make_unique<TDynamicIntervalModel>();
    if (!fitLoadedData(withCoin, *m)) return false;

    const int p = static_cast<int>(data.InputSeries.size());
    m->name = name;
    m->numOfX = p;
    m->numOfY = 1;
    // Positions of the surviving inputs in the caller's list.
    for (int j = 0; j < p; ++j) {
        m->inputName.push_back(data.InputSeries[static_cast<size_t>(j)]->Title);
        m->inputIndex.push_back(static_cast<int>(data.InputPSeries[static_cast<size_t>(j)]));
    }

    // Quality on the data the model was fitted on: the engine's copies, which hold exactly
    // the inputs that survived the check.
    arrayOfExtended stat;
    m->calcOutputWithStat(data.inputs(), *data.OutputSeries, stat, reporter_);
    m->R2 = static_cast<double>(stat[0]);
    m->R2norm = static_cast<double>(stat[1]);
    for (const auto& s : data.InputSeries) m->inputVariation.push_back(variationOf(*s, *reporter_));

    models.push_back(std::move(m));
    numOfModel = static_cast<int>(models.size());
    return true;
}

std::vector<TDynamicIntervalModel*> TStaticIdentificationInterval::usedModels() const {
    std::vector<TDynamicIntervalModel*> used;
    for (const auto& m : models)
        if (m && m->used) used.push_back(m.get());
    return used;
}

bool TStaticIdentificationInterval::calcSumModel() {
    haveSumModel = false;
    const std::vector<TDynamicIntervalModel*> S = usedModels();
    if (S.empty()) return false;

    // Every ticked model must have been fitted on the inputs of the first ticked one, so
    // that its j-th coefficient and variation belong to the same input.
    const TDynamicIntervalModel& first = *S.front();
    const size_t q = static_cast<size_t>(std::max(first.numOfX, 0));
    for (const TDynamicIntervalModel* m : S) {
        if (m->numOfX != first.numOfX || m->inputIndex != first.inputIndex || m->A.size() < q + 1 ||
            m->inputVariation.size() != q) {
            reporter_->message(intervalInputsDifferMessage(m->name, first.name));
            return false;
        }
    }

    std::vector<long double> W(q, 0.0L);
    for (const TDynamicIntervalModel* m : S)
        for (size_t j = 0; j < q; ++j) W[j] += m->inputVariation[j];
    for (size_t j = 0; j < q; ++j) {
        if (W[j] == 0 || !std::isfinite(W[j])) {
            reporter_->message(variationSumUndefinedMessage(j < first.inputName.size() ? first.inputName[j] : ""));
            return false;
        }
    }
    std::vector<long double> coef(q, 0.0L);
    for (size_t j = 0; j < q; ++j)
        for (const TDynamicIntervalModel* m : S) coef[j] += (m->inputVariation[j] / W[j]) * m->A[j + 1];

    if (!sumModel)
        sumModel = std::make_unique<TStaticModel>();
    else
        *sumModel = TStaticModel();
    TStaticModel& sum = *sumModel;
    sum.n = static_cast<int>(q) + 1;
    sum.A.assign(q + 1, 0.0L);
    for (size_t j = 0; j < q; ++j) sum.A[j + 1] = coef[j];
    sum.outputName = first.outputName;
    sum.name = first.outputName;
    sum.inputName = first.inputName;
    sum.numOfX = static_cast<int>(q);
    sum.numOfY = 1;
    sum.c = 0;
    haveSumModel = true;
    return true;
}

void TStaticIdentificationInterval::clear() {
    models.clear();
    numOfModel = 0;
    if (sumModel) sumModel->clear();
    haveSumModel = false;
}
