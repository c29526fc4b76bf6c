#include "identification/StaticIdentification.h"

#include <cmath>
#include <vector>

#include "numerics/Approx.h"
#include "numerics/Parallel.h"
#include "numerics/Reporter.h"

const char* const kTooFewOutputPointsMessage =
    "Колличество точек выходного ряда на данных интервалах меньше 2. Расчет не проведен.";
const char* const kNoInputSeriesMessage = "Нет входных рядов!";
const char* const kTooManyInputsMessage =
    "Слишком много входных рядов: модель может иметь не более 30 коэффициентов "
    "(30 входов без свободного члена, 29 со свободным членом). Расчет не проведен.";
const char* const kSingularFitMessage =
    "Система уравнений метода наименьших квадратов вырождена (например, входные ряды совпадают "
    "или линейно зависимы). Модель не построена.";
const char* const kFitOutOfRangeMessage =
    "Значения рядов слишком велики или слишком малы: коэффициенты модели выходят за пределы "
    "представимых чисел. Модель не построена.";
const char* const kNotANumberMessage =
    "Ряды содержат значения, не являющиеся числами (бесконечность или NaN). Модель не построена.";
const char* const kNoModelMessage = "Модель не построена. Расчет не проведен.";
const char* const kInputCountMismatchMessage =
    "Число входных рядов не совпадает с числом входов модели. Расчет не проведен.";
const char* const kInputDroppedOnTestMessage =
    "Не все входные ряды синхронизированы с выходным на данных интервалах. Расчет не проведен.";

TStaticIdentification::TStaticIdentification(Reporter* reporter)
    : data(reporter), reporter_(reporter ? reporter : &SilentReporter::instance()) {}

void TStaticIdentification::setReporter(Reporter* reporter) {
    reporter_ = reporter ? reporter : &SilentReporter::instance();
    data.setReporter(reporter_);
}

bool TStaticIdentification::fitPreparedData(bool withCoin, TVector& a, double& c, double& err) {
    const int p = static_cast<int>(data.InputSeries.size());
    if (p == 0) {
        reporter_->message(kNoInputSeriesMessage);
        return false;
    }
    if (p + (withCoin ? 1 : 0) > kMaxCoefficients) {
        reporter_->message(kTooManyInputsMessage);
        return false;
    }

    // Regressors row-major, one row of p inputs per point; targets the output values.
    const TStatisticSeries& out = *data.OutputSeries;
    const int N = out.Count();
    // Left uninitialised: every element is written below.
    std::unique_ptr<double[]> X(new double[static_cast<size_t>(N) * static_cast<size_t>(p)]);
    std::vector<const double*> columns;
    for (const auto& s : data.InputSeries) columns.push_back(s->YValues().data());
    // Values that are not numbers poison the sums: v - v is 0 for every finite v only.
    bool bad = false;
    for (int i = 0; i < N; ++i) {
        double* row = X.get() + static_cast<size_t>(i) * p;
        for (int j = 0; j < p; ++j) {
            const double v = columns[static_cast<size_t>(j)][i];
            row[j] = v;
            bad |= !(v - v == 0);
        }
    }
    const std::vector<double>& y = out.YValues();
    for (double v : y) bad |= !(v - v == 0);
    if (bad) {
        reporter_->message(kNotANumberMessage);
        return false;
    }
    TFitStatus why = TFitStatus::ok;
    const bool solved = withCoin ? approxLinearConst(X.get(), y.data(), N, p, a, c, err, p, &why)
                                 : approxLinear(X.get(), y.data(), N, p, a, err, p, &why);
    X.reset();
    if (!solved) {
        reporter_->message(why == TFitStatus::outOfRange ? kFitOutOfRangeMessage : kSingularFitMessage);
        return false;
    }
    return true;
}

bool TStaticIdentification::fitLoadedData(bool withCoin, TStaticModel& m) {
    if (!data.OutputSeries || data.OutputSeries->Count() < 2) {
        reporter_->message(kTooFewOutputPointsMessage);
        return false;
    }
    data.checkSyncronize();
    TVector a;
    double c = 0, err = 0;
    if (!fitPreparedData(withCoin, a, c, err)) return false;
    m.n = a.len + 1;
    m.A.assign(static_cast<size_t>(m.n), 0.0L);
    for (int i = 1; i <= a.len; ++i) m.A[static_cast<size_t>(i)] = a[i];
    m.coinCheck = withCoin;
    m.c = withCoin ? c : 0.0;
    m.delta = err;
    m.outputName = data.OutputSeries->Title;
    return true;
}

bool TStaticIdentificationAll::calcStaticModel(const arrayOfFragment& fragments, const arrayOfStatSeries& input,
                                               TStatisticSeries* output, long double delta, bool withCoin) {
    haveModel = false;
    haveCalc = false;

    data.loadData(fragments, input, output, delta);
    data.mergeFragments();
    data.filterDataWithFragments();
    if (!fitLoadedData(withCoin, model)) return false;
    const TStatisticSeries& out = *data.OutputSeries;
    const int p = static_cast<int>(data.InputSeries.size());

    model.name = model.outputName;
    model.numOfX = p;
    model.numOfY = 1;
    model.inputName.clear();
    for (const auto& s : data.InputSeries) model.inputName.push_back(s->Title);

    // Copies of the prepared data; the objects of the previous fit are reused so that
    // their storage is too.
    InputModelSeries.resize(static_cast<size_t>(p));
    for (auto& dst : InputModelSeries)
        if (!dst) dst = std::make_unique<TStatisticSeries>();
    parallelFor(InputModelSeries.size(),
                [&](size_t j) { InputModelSeries[j]->assignSS(*data.InputSeries[j]); }, 4);
    PInputSeries.clear();
    for (const auto& s : data.InputSeries) PInputSeries.push_back(s->Title);
    if (!OutputModelSeries) OutputModelSeries = std::make_unique<TStatisticSeries>();
    OutputModelSeries->assignSS(out);
    POutputSeries = data.OutputPSeries;
    haveModel = true;

    // Quality of the fit on its own data.
    auto m = model.calcOutput(inputModelSeries());
    // Only the mean of the model output enters R²; it has no null points.
    long double sum = 0;
    for (double v : m->YValues()) sum += v;
    m->mean = m->Count() > 0 ? sum / m->Count() : 0.0L;
    OutputModelSeries->calcStatistic(reporter_);
    const arrayOfExtended stat = staticQualityValues(*OutputModelSeries, *m, p);
    model.R2 = static_cast<double>(stat[0]);
    model.R2norm = static_cast<double>(stat[1]);
    return true;
}

std::unique_ptr<TStatisticSeries> TStaticIdentificationAll::calcModelOnInterval(const arrayOfFragment& fragments,
                                                                                const arrayOfStatSeries& input,
                                                                                TStatisticSeries* output,
                                                                                long double delta,
                                                                                arrayOfExtended& stat) {
    if (!haveModel) {
        reporter_->message(kNoModelMessage);
        return nullptr;
    }
    data.clear();
    data.loadData(fragments, input, output, delta);
    data.mergeFragments();
    data.filterDataWithFragments();
    if (data.InputSeries.size() != model.inputName.size()) {
        reporter_->message(kInputCountMismatchMessage);
        return nullptr;
    }
    if (!data.OutputSeries || data.OutputSeries->Count() < 2) {
        reporter_->message(kTooFewOutputPointsMessage);
        return nullptr;
    }
    const size_t given = data.InputSeries.size();
    data.checkSyncronize();
    if (data.InputSeries.size() != given) {
        reporter_->message(kInputDroppedOnTestMessage);
        return nullptr;
    }
    return model.calcOutputWithStat(data.inputs(), *data.OutputSeries, stat, reporter_);
}

void TStaticIdentificationAll::clear() {
    data.clear();
    model.clear();
    haveModel = false;
    haveCalc = false;
}

arrayOfStatSeries TStaticIdentificationAll::inputModelSeries() const {
    arrayOfStatSeries list;
    list.reserve(InputModelSeries.size());
    for (const auto& s : InputModelSeries) list.push_back(s.get());
    return list;
}
