#pragma once
// Linear regressions by ordinary least squares through the normal equations, formed about
// the means of the data and scaled column by column, so that signals far from zero (a
// pressure of 1e6 Pa moving by a few Pa) keep their digits.
#include <vector>

#include "numerics/Matrix.h"

// Row stride of the regressor buffers filled by the identification engines.
constexpr int kRegressorStride = 30;
// Most coefficients a fit may have (regressors plus the free term).
constexpr int kMaxCoefficients = 30;

// True when |x| < 1e-8.
bool isZero(double x);
// Relative error of one fitted value: (y - yFit) in absolute value divided by y itself when
// |y| > 1e-7; otherwise 0 when |y - yFit| < 1e-7, else 1.
double relErr(double y, double yFit);
// True when two rows print identically through floatToText (each element followed by
// three blanks), i.e. agree to four decimals.
bool hasDuplicateRows(const TMatrix& M);

// What became of a least-squares fit.
enum class TFitStatus {
    ok,
    // Sizes outside the limits (no points, no coefficients, more than 30 coefficients).
    invalidArguments,
    // A value that is not a finite number.
    notANumber,
    // The regressors depend on each other to working precision (one is a combination of
    // others, or constant beside the free term): the solution is not unique.
    singular,
    // The coefficients are too large or too small to be held as numbers (values of very
    // different magnitudes, or spread over the whole range of numbers).
    outOfRange,
};

// The least-squares solution of y ≈ Σ coef[i]·X[k][i] (+ coef[m], the free term) over N
// points and m regressors; X holds N rows of `stride` doubles. The sums are taken about the
// means of the columns and in units of each column's spread, so they neither lose the
// digits of signals with a large offset nor overflow or underflow; the free term is
// recovered from the means afterwards. A system whose smallest eigenvalue (scaled to a
// unit diagonal) lies within the rounding error of its sums counts as singular. The sums
// come out the same for any number of threads (0: chosen from the size of the work).
TFitStatus leastSquares(const double* X, const double* y, int N, int m, bool freeTerm, int stride,
                        std::vector<long double>& coef, int threads = 0);

// y ≈ Σ a[i]·X[k][i] over N points and m regressors; X holds N rows of `stride` doubles.
// On success writes a (a.len = m) and err (mean relative error in percent) and returns
// true; otherwise leaves both untouched, returns false and tells why in *why (when given).
bool approxLinear(const double* X, const double* y, int N, int m, TVector& a, double& err,
                  int stride = kRegressorStride, TFitStatus* why = nullptr);

// y ≈ Σ a[i]·X[k][i] + c; a has m+1 elements, a[m+1] == c. Same rules as approxLinear
// (m from 0 to 29).
bool approxLinearConst(const double* X, const double* y, int N, int m, TVector& a, double& c,
                       double& err, int stride = kRegressorStride, TFitStatus* why = nullptr);
