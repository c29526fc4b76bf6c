#pragma once
// Least-squares fit of a linear difference equation between an input u and an output y,
//   y(t) + a1·y(t-1) + ... + a_na·y(t-na) = b0·u(t) + b1·u(t-1) + ... + b_nb·u(t-nb),
// and its conversion into a continuous transfer function Nm(s)/D(s) by the backward
// difference s = (1 - z^-1)/T, with the sampling step T in minutes.
#include <array>

#include "numerics/Approx.h"
#include "numerics/Matrix.h"

// Coefficient vectors a, b and the numerator and denominator, indexed from 0.
using TCoefArray = std::array<double, 101>;

// Highest order the conversion handles (its tables cover powers 0..10).
constexpr int kMaxDiffEquationOrder = 10;

// Fits the equation to N aligned samples u[0..N-1], y[0..N-1]. The first max(na, nb)
// samples only fill the histories, so N - max(na, nb) rows are formed; each row holds
// y(t-1)..y(t-na), u(t), u(t-1)..u(t-nb) and its target is y(t).
// On success writes coef (the raw solution, len = na + nb + 1), a[1..na], b[0..nb] and err
// (mean relative one-step error in percent, each target guarded as relErr does) and
// returns true. Returns false, writing nothing and telling why in *why (when given), when
// an order is negative, the coefficients exceed 30, there are fewer rows than coefficients
// or the least-squares fit is refused (see leastSquares).
bool approxDiffEquation(const double* u, const double* y, int nb, int na, int N, TVector& coef,
                        TCoefArray& b, TCoefArray& a, double& err, TFitStatus* why = nullptr);

// Converts a[1..na] and b[0..nb] into num[0..nb] and den[0..na] (index = power of s,
// den[0] = 1) so that Nm(s)/D(s) under the substitution equals B(z)/A(z). Entries of num
// and den beyond the orders are left as they are. Returns false, writing nothing, for an
// order outside 0..10, a step T that is not positive, a singular system or a result that
// is not finite.
bool diffEquationToTransferFunction(int nb, int na, const TCoefArray& b, const TCoefArray& a,
                                    double T, TCoefArray& num, TCoefArray& den);
