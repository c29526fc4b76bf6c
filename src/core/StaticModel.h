#pragma once
// The static linear regression model y = c + A[1]·x1 + ... + A[k]·xk, filled by the static
// identification engines, kept in the project and printed as an equation.
#include <memory>
#include <string>
#include <vector>

#include "core/ProcessModel.h"
#include "numerics/FormatSettings.h"

// Stored in place of a normalised R² whose denominator N - k - 1 is zero.
constexpr long double kFailedR2norm = -10000.0L;

// Number of quality values of calcOutputWithStat, in their fixed order:
// 0 R², 1 normalised R², 2 mean of the measured output, 3 mean of the model output,
// 4 standard deviation of the measured output, 5 standard deviation of the model output,
// 6 index (residual sum of squares in percent of the measured one; NaN for a constant
// measured output), 7 standard deviation of the residual, 8 RMSE, 9 mean absolute error.
constexpr int kNumQualityValues = 10;
// The quality values shown in the result grids and reports, in this order.
inline const std::vector<int>& shownQualityValues() {
    static const std::vector<int> shown{0, 1, 2, 3, 4, 5, 6, 7, 9};
    return shown;
}

class TStaticModel : public TProcessModel {
public:
    // Number of entries of A: inputs + 1, or inputs + 2 with a free term.
    int n = 0;
    // A[0] is not a coefficient (0 from identification); A[i+1] belongs to inputName[i];
    // with a free term the last entry repeats c.
    arrayOfExtended A;
    // The free term, used only when coinCheck is set.
    double c = 0;
    // Mean relative error of the fit in percent.
    double delta = 0;
    bool coinCheck = false;
    double R2 = 0;
    double R2norm = 0;
    std::vector<std::string> inputName;
    std::string outputName;
    // Selection flag of the per-interval model grid; not copied, not stored.
    bool used = false;

    // The model output over the points of the first input (inputs are synchronised).
    // Computes over as many points as every used input holds; with fewer inputs than the
    // model has, or none, the result is an empty series.
    std::unique_ptr<TStatisticSeries> calcOutput(const arrayOfStatSeries& inputs) const override;
    // The model output and its ten quality values against the measured series.
    std::unique_ptr<TStatisticSeries> calcOutputWithStat(const arrayOfStatSeries& inputs,
                                                          TStatisticSeries& measured,
                                                          arrayOfExtended& stat,
                                                          Reporter* reporter = nullptr) const override;

    // Makes this model a copy of source; A[0] and `used` are not copied.
    void assign(const TStaticModel& source);
    // Empties the model; R2 and R2norm keep their values.
    void clear();
    // The equation text: "y = 1,5*(x1) - 2*(x2) - 3".
    std::string getString(const FormatSettings& fs = FormatSettings()) const;
};

// The ten quality values of a model output against a measured output (statistics of both
// series must be current). Over min(count of measured, count of model) points.
arrayOfExtended staticQualityValues(const TStatisticSeries& measured, const TStatisticSeries& model,
                                    int numInputs);
// 1 - (1 - R²)(N - 1)/(N - k - 1), or kFailedR2norm when N - k - 1 = 0.
long double normalisedR2(long double r2, long long N, long long k);
