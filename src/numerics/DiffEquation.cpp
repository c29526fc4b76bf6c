#include "numerics/DiffEquation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "numerics/Approx.h"

namespace {
// Solves the n x n system M·x = v (row-major M) by Gaussian elimination with partial
// pivoting. The conversion systems can meet a pivot that cancels to zero in exact
// arithmetic (the discretised (s + 1)^6 at T = 1 does), where elimination that takes the
// first non-zero pivot would divide by a rounding residue; choosing the largest pivot
// avoids that. False when a column has no non-zero pivot.
bool solvePivoted(int n, std::vector<double> M, std::vector<double> v, std::vector<double>& x) {
    const auto at = [&M, n](int i, int j) -> double& { return M[static_cast<size_t>(i) * n + j]; };
    for (int c = 0; c < n; ++c) {
        int best = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(at(r, c)) > std::fabs(at(best, c))) best = r;
        if (at(best, c) == 0.0) return false;
        if (best != c) {
            for (int j = 0; j < n; ++j) std::swap(at(best, j), at(c, j));
            std::swap(v[best], v[c]);
        }
        for (int r = c + 1; r < n; ++r) {
            const double f = at(r, c) / at(c, c);
            if (f == 0.0) continue;
            for (int j = c; j < n; ++j) at(r, j) -= f * at(c, j);
            v[r] -= f * v[c];
        }
    }
    x.assign(static_cast<size_t>(n), 0.0);
    for (int i = n - 1; i >= 0; --i) {
        double s = v[i];
        for (int j = i + 1; j < n; ++j) s -= at(i, j) * x[j];
        x[i] = s / at(i, i);
    }
    return true;
}
}  // namespace

bool approxDiffEquation(const double* u, const double* y, int nb, int na, int N, TVector& coef,
                        TCoefArray& b, TCoefArray& a, double& err, TFitStatus* why) {
    if (why) *why = TFitStatus::invalidArguments;
    if (nb < 0 || na < 0 || N < 0 || u == nullptr || y == nullptr) return false;
    const int p = na + nb + 1;
    const int d = std::max(na, nb);
    if (p > kMaxCoefficients) return false;
    const int rows = N - d;
    if (rows < p) return false;

    // Design matrix, one row of p regressors per sample t = d..N-1 (0-based).
    const size_t stride = static_cast<size_t>(p);
    std::vector<double> X(static_cast<size_t>(rows) * stride);
    std::vector<double> Y(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const int t = r + d;
        double* x = X.data() + static_cast<size_t>(r) * stride;
        for (int j = 1; j <= na; ++j) *x++ = y[t - j];
        for (int j = 0; j <= nb; ++j) *x++ = u[t - j];
        Y[static_cast<size_t>(r)] = y[t];
    }

    // Columns that depend on each other (orders above those of data that a lower-order
    // equation describes, an input that hardly changes) leave no unique solution.
    std::vector<long double> solution;
    const TFitStatus status = leastSquares(X.data(), Y.data(), rows, p, false, p, solution);
    if (why) *why = status;
    if (status != TFitStatus::ok) return false;
    TVector sol;
    sol.len = p;
    for (int i = 1; i <= p; ++i) sol[i] = static_cast<double>(solution[static_cast<size_t>(i) - 1]);

    // Mean relative one-step-ahead error from the measured past outputs.
    double sum = 0.0;
    for (int r = 0; r < rows; ++r) {
        const double* x = X.data() + static_cast<size_t>(r) * stride;
        double fit = 0.0;
        for (int i = 0; i < p; ++i) fit += sol[i + 1] * x[i];
        sum += relErr(Y[static_cast<size_t>(r)], fit);
    }

    coef = sol;
    coef.len = p;
    for (int j = 1; j <= na; ++j) a[static_cast<size_t>(j)] = -sol[j];
    for (int j = 0; j <= nb; ++j) b[static_cast<size_t>(j)] = sol[na + 1 + j];
    err = 100.0 * sum / rows;
    return true;
}

bool diffEquationToTransferFunction(int nb, int na, const TCoefArray& b, const TCoefArray& a,
                                    double T, TCoefArray& num, TCoefArray& den) {
    constexpr int M = kMaxDiffEquationOrder;
    if (nb < 0 || na < 0 || nb > M || na > M) return false;
    if (!(T > 0) || !std::isfinite(T)) return false;

    // C[i][j]: coefficient of z^-j in (1 - z^-1)^i; P[k] = T^k.
    double C[M + 1][M + 1] = {};
    C[0][0] = 1.0;
    for (int i = 1; i <= M; ++i) {
        C[i][0] = 1.0;
        for (int j = 1; j <= M; ++j) C[i][j] = C[i - 1][j] - C[i - 1][j - 1];
    }
    double P[M + 1];
    P[0] = 1.0;
    for (int k = 1; k <= M; ++k) P[k] = P[k - 1] * T;

    // Denominator: D((1 - z^-1)/T) divided by its constant coefficient equals A(z).
    double dn[M + 1] = {};
    dn[0] = 1.0;
    if (na > 0) {
        std::vector<double> G(static_cast<size_t>(na) * na), v(static_cast<size_t>(na)), x;
        for (int i = 1; i <= na; ++i) {
            for (int j = 1; j <= na; ++j)
                G[static_cast<size_t>(i - 1) * na + (j - 1)] = (a[static_cast<size_t>(i)] - C[j][i]) / P[j];
            v[static_cast<size_t>(i - 1)] = -a[static_cast<size_t>(i)];
        }
        if (!solvePivoted(na, std::move(G), std::move(v), x)) return false;
        for (int k = 1; k <= na; ++k) dn[k] = x[static_cast<size_t>(k - 1)];
    }
    // Constant coefficient of the discretised denominator.
    double S = 0.0;
    for (int k = 0; k <= M; ++k) S += dn[k] / P[k];

    // Numerator: Nm((1 - z^-1)/T) / S equals B(z); Q is upper triangular.
    const int m = nb + 1;
    std::vector<double> Q(static_cast<size_t>(m) * m), v(static_cast<size_t>(m)), x;
    for (int o = 0; o <= nb; ++o) {
        for (int k = 0; k <= nb; ++k) Q[static_cast<size_t>(o) * m + k] = C[k][o] / P[k];
        v[static_cast<size_t>(o)] = b[static_cast<size_t>(o)] * S;
    }
    if (!solvePivoted(m, std::move(Q), std::move(v), x)) return false;

    for (int k = 0; k <= na; ++k)
        if (!std::isfinite(dn[k])) return false;
    for (int k = 0; k <= nb; ++k)
        if (!std::isfinite(x[static_cast<size_t>(k)])) return false;
    for (int k = 0; k <= na; ++k) den[static_cast<size_t>(k)] = dn[k];
    for (int k = 0; k <= nb; ++k) num[static_cast<size_t>(k)] = x[static_cast<size_t>(k)];
    return true;
}
