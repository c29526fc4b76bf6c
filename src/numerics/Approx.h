#pragma once
// Linear regressions by ordinary least squares through the normal equations.
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
// The duplicate-row test as the fits apply it: rows that print identically count as
// duplicates only when they still do after the matrix is scaled to a unit diagonal, so
// well-posed fits of small-valued regressors are not refused.
bool hasDuplicateScaledRows(const TMatrix& G);

// True when the symmetric positive semi-definite normal-equation matrix G (its top-left
// rows x rows block) is singular to working precision: scaled to a unit diagonal, an
// elimination pivot is at most 1e-12. Such systems have no unique solution although the
// inversion's exact zero test may not notice.
bool singularToWorkingPrecision(const TMatrix& G);

// The normal equations G·a = r of the fit (with a free term its regressor is the constant
// 1, and G's last diagonal entry is N). Each entry is summed in point order, so the result
// is the same for any number of threads (0: chosen from the size of the work).
void normalEquations(const double* X, const double* y, int N, int m, bool freeTerm, int stride,
                     TMatrix& G, TVector& r, int threads = 0);

// y ≈ Σ a[i]·X[k][i] over N points and m regressors; X holds N rows of `stride` doubles.
// On success writes a (a.len = m) and err (mean relative error in percent) and returns
// true; otherwise leaves both untouched and returns false (duplicate rows, a system that is
// singular to working precision, m outside 1..30, N < 1).
bool approxLinear(const double* X, const double* y, int N, int m, TVector& a, double& err,
                  int stride = kRegressorStride);

// y ≈ Σ a[i]·X[k][i] + c; a has m+1 elements, a[m+1] == c. Same rules as approxLinear
// (m from 0 to 29).
bool approxLinearConst(const double* X, const double* y, int N, int m, TVector& a, double& c,
                       double& err, int stride = kRegressorStride);
