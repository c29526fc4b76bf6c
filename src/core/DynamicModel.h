#pragma once
// The dynamic plant model: a continuous transfer function with gain and pure delay,
// W(s) = k·N(s)/D(s)·e^(-tau·s), together with its discrete form at the sampling step,
// the difference equation
//   y[i] = kx[0]·x[i] + ... + kx[xpower]·x[i-xpower] - ky[1]·y[i-1] - ... - ky[ypower]·y[i-ypower].
// The delay is carried for display only: the data are shifted by it before identification.
#include <memory>
#include <string>

#include "core/ProcessModel.h"
#include "numerics/FormatSettings.h"

class TDynamicModel : public TProcessModel {
public:
    // Order of the numerator N(s); also the number of past input samples.
    int xpower = 0;
    // Order of the denominator D(s); also the number of past output samples.
    int ypower = 0;
    // num[i] is the coefficient of s^i in N(s); xpower + 1 entries.
    arrayOfExtended num;
    // denum[i] is the coefficient of s^i in D(s); ypower + 1 entries.
    arrayOfExtended denum;
    // kx[j] multiplies the input j samples back; xpower + 1 entries.
    arrayOfExtended kx;
    // ky[j] (j >= 1) multiplies the output j samples back, with a minus sign; ypower + 1
    // entries. ky[0] is 0 in a freshly identified model and 1 after calcDiffExOnTF.
    arrayOfExtended ky;
    // Gain.
    long double k = 0;
    // Delay in minutes.
    long double tau = 0;
    // R² and normalised R² found at identification.
    double R2 = 0;
    double R2norm = 0;
    // Sampling step in minutes.
    double timeDiscretization = 0;
    std::string inputName;
    std::string outputName;

    // Value stored for a normalised R² whose computation fails.
    static constexpr double kFailedR2norm = -10000.0;

    TDynamicModel();

    // Recomputes kx and ky from num, denum, k and timeDiscretization by the backward
    // difference s = (1 - z^-1)/T. A zero step or a zero constant coefficient of the
    // discretised denominator leaves kx and ky unchanged. kx and ky are sized to the
    // orders; missing entries of num and denum count as 0.
    void calcDiffExOnTF();

    // Simulation of the difference equation on the first input, started from zeros: the
    // first max(xpower, ypower) outputs are 0. Only the first input is used; an empty
    // input list gives an empty series.
    std::unique_ptr<TStatisticSeries> calcOutput(const arrayOfStatSeries& inputs) const override;
    // As calcOutput, but the first max(xpower, ypower) outputs are the measured values
    // (0 where the measured series is shorter).
    std::unique_ptr<TStatisticSeries> calcOutputWithStartPoint(const arrayOfStatSeries& inputs,
                                                               const TStatisticSeries& measured) const;
    // Simulation from the measured start and, in `stat`, five quality values against the
    // measured series (whose statistics are recomputed): R², normalised R², root mean
    // square, mean absolute and maximum absolute error. The sums run over the points both
    // series have. A zero R² denominator (a constant output) gives R² = 0; a normalised R²
    // that cannot be computed is kFailedR2norm.
    std::unique_ptr<TStatisticSeries> calcOutputWithStat(const arrayOfStatSeries& inputs,
                                                          TStatisticSeries& measured,
                                                          arrayOfExtended& stat,
                                                          Reporter* reporter = nullptr) const override;

    // The difference equation: "y[i]=0,5*x[i] + 0,5*y[i-1]".
    std::string getDiffEx(const FormatSettings& fs = FormatSettings()) const;
    // The two texts of the transfer function's fraction: "2*(3*s^1 + 1)" and
    // "6*s^2 + 5*s^1 + 1" (the denominator has no brackets).
    void getTransferFunction(std::string& numerator, std::string& denominator,
                             const FormatSettings& fs = FormatSettings()) const;

    // Makes this model a copy of `source`; numOfX and numOfY are not copied.
    void assign(const TDynamicModel& source);
    // Does nothing: a dynamic model has nothing to empty.
    void clear() {}
};
