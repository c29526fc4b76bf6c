#include "numerics/Approx.h"

#include <cmath>
#include <memory>
#include <string>
#include <algorithm>
#include <thread>
#include <vector>

#include "numerics/Parallel.h"

bool isZero(double x) { return std::fabs(x) < 1e-8; }

double relErr(double y, double yFit) {
    if (std::fabs(y) > 1e-7) return std::fabs(y - yFit) / y;
    return std::fabs(y - yFit) < 1e-7 ? 0.0 : 1.0;
}

namespace {
std::vector<std::string> rowTexts(const TMatrix& M) {
    std::vector<std::string> rows;
    rows.reserve(static_cast<size_t>(M.rows));
    for (int i = 1; i <= M.rows; ++i) {
        std::string t;
        for (int j = 1; j <= M.cols; ++j) {
            t += floatToText(M(i, j));
            t += "   ";
        }
        rows.push_back(std::move(t));
    }
    return rows;
}

bool anyEqual(const std::vector<std::string>& rows) {
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            if (rows[i] == rows[j]) return true;
    return false;
}

}  // namespace

void normalEquations(const double* X, const double* y, int N, int m, bool freeTerm, int stride,
                     TMatrix& G, TVector& r, int threads) {
    const int n = freeTerm ? m + 1 : m;
    // The upper triangle is accumulated in a compact buffer; every element is summed in
    // point order, exactly as the plain triple loop would. Threads share the rows of the
    // triangle, never the points, so the sums are the same whatever their number.
    std::vector<double> g(static_cast<size_t>(n) * n, 0.0);
    std::vector<double> rv(static_cast<size_t>(n), 0.0);
    if (threads <= 0) {
        const double work = static_cast<double>(N) * n * n;
        const unsigned hw = std::thread::hardware_concurrency();
        threads = work < 4e6 ? 1 : static_cast<int>(std::min(4u, hw == 0 ? 1u : hw));
    }
    threads = std::max(1, std::min(threads, n));
    // Each thread sums into buffers of its own (no cache line shared with another thread)
    // and copies its rows out at the end.
    auto accumulate = [&](int first) {
        std::vector<double> row(static_cast<size_t>(n), 1.0);
        std::vector<double> lg(static_cast<size_t>(n) * n, 0.0);
        std::vector<double> lr(static_cast<size_t>(n), 0.0);
        for (int k = 0; k < N; ++k) {
            const double* x = X + static_cast<size_t>(k) * stride;
            for (int i = 0; i < m; ++i) row[i] = x[i];
            const double yk = y[k];
            for (int i = first; i < n; i += threads) {
                const double xi = row[i];
                double* gi = lg.data() + static_cast<size_t>(i) * n;
                for (int j = i; j < n; ++j) gi[j] += xi * row[j];
                lr[i] += xi * yk;
            }
        }
        for (int i = first; i < n; i += threads) {
            std::copy_n(lg.data() + static_cast<size_t>(i) * n, n, g.data() + static_cast<size_t>(i) * n);
            rv[i] = lr[i];
        }
    };
    parallelFor(static_cast<size_t>(threads), [&](size_t t) { accumulate(static_cast<int>(t)); },
                static_cast<size_t>(threads));
    G.rows = G.cols = n;
    r.len = n;
    for (int i = 0; i < n; ++i) {
        for (int j = i; j < n; ++j) {
            G(i + 1, j + 1) = g[static_cast<size_t>(i) * n + j];
            G(j + 1, i + 1) = g[static_cast<size_t>(i) * n + j];
        }
        r[i + 1] = rv[i];
    }
    if (freeTerm) G(n, n) = static_cast<double>(N);
}

namespace {
bool fit(const double* X, const double* y, int N, int m, bool freeTerm, int stride, TVector& a,
         double& err) {
    const int n = freeTerm ? m + 1 : m;
    if (N < 1 || m < 0 || n < 1 || n > kMaxCoefficients || stride < m) return false;
    auto G = std::make_unique<TMatrix>();
    TVector r;
    normalEquations(X, y, N, m, freeTerm, stride, *G, r);
    if (hasDuplicateScaledRows(*G) || singularToWorkingPrecision(*G)) return false;
    TVector sol;
    if (!solveLinearSystem(*G, r, sol)) return false;
    for (int i = 1; i <= n; ++i)
        if (!std::isfinite(sol[i])) return false;
    double sum = 0.0;
    for (int k = 0; k < N; ++k) {
        const double* x = X + static_cast<size_t>(k) * stride;
        double yFit = 0.0;
        for (int i = 0; i < m; ++i) yFit += sol[i + 1] * x[i];
        if (freeTerm) yFit += sol[n];
        sum += relErr(y[k], yFit);
    }
    a = sol;
    a.len = n;
    err = 100.0 * sum / N;
    return true;
}
}  // namespace

bool hasDuplicateRows(const TMatrix& M) { return anyEqual(rowTexts(M)); }

bool hasDuplicateScaledRows(const TMatrix& G) {
    if (!hasDuplicateRows(G)) return false;
    auto S = std::make_unique<TMatrix>(G);
    std::vector<double> d(static_cast<size_t>(G.rows) + 1, 1.0);
    for (int i = 1; i <= G.rows && i <= G.cols; ++i) {
        const double v = std::fabs(G(i, i));
        d[i] = v > 0 ? 1.0 / std::sqrt(v) : 1.0;
    }
    for (int i = 1; i <= S->rows; ++i)
        for (int j = 1; j <= S->cols; ++j) (*S)(i, j) = G(i, j) * d[i] * (j <= G.rows ? d[j] : 1.0);
    return hasDuplicateRows(*S);
}

// True when the normal equations are singular to working precision: scaled to a unit
// diagonal, elimination in order leaves a pivot of at most 1e-12 (pivot k is 1 - R² of
// regressor k on the regressors before it). A regressor that is a multiple of another, or a
// constant one beside the free term, leaves only a rounding residue there (about 1e-14 for
// 100,000 points), which the exact zero test of the inversion does not see; the "solution"
// it then returns fits the data no better than a guess. Well-posed fits keep pivots far
// above the threshold.
bool singularToWorkingPrecision(const TMatrix& G) {
    const int n = G.rows;
    std::vector<double> d(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double g = G(i + 1, i + 1);
        if (!(g > 0)) return true;
        d[static_cast<size_t>(i)] = 1.0 / std::sqrt(g);
    }
    std::vector<double> S(static_cast<size_t>(n) * n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            S[static_cast<size_t>(i) * n + j] = G(i + 1, j + 1) * d[static_cast<size_t>(i)] * d[static_cast<size_t>(j)];
    constexpr double kPivotTolerance = 1e-12;
    for (int k = 0; k < n; ++k) {
        const double p = S[static_cast<size_t>(k) * n + k];
        if (!(p > kPivotTolerance)) return true;
        for (int i = k + 1; i < n; ++i) {
            const double f = S[static_cast<size_t>(i) * n + k] / p;
            for (int j = k; j < n; ++j) S[static_cast<size_t>(i) * n + j] -= f * S[static_cast<size_t>(k) * n + j];
        }
    }
    return false;
}

bool approxLinear(const double* X, const double* y, int N, int m, TVector& a, double& err, int stride) {
    if (m < 1) return false;
    return fit(X, y, N, m, false, stride, a, err);
}

bool approxLinearConst(const double* X, const double* y, int N, int m, TVector& a, double& c,
                       double& err, int stride) {
    TVector sol;
    double e = 0;
    if (!fit(X, y, N, m, true, stride, sol, e)) return false;
    a = sol;
    c = sol[m + 1];
    err = e;
    return true;
}
