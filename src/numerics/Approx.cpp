#include "numerics/Approx.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "numerics/Parallel.h"

bool isZero(double x) { return std::fabs(x) < 1e-8; }

double relErr(double y, double yFit) {
    if (std::fabs(y) > 1e-7) return std::fabs(y - yFit) / y;
    return std::fabs(y - yFit) < 1e-7 ? 0.0 : 1.0;
}

bool hasDuplicateRows(const TMatrix& M) {
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
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            if (rows[i] == rows[j]) return true;
    return false;
}

namespace {

using Vec = std::vector<long double>;

// Where a column sits and how far it spreads: values are taken as (x - centre)·inv, with
// the centre near the mean and inv a power of two (so scaling rounds nothing) that brings
// every deviation within [-1, 1].
struct ColumnScale {
    double centre = 0;
    double inv = 1;
};

// One pass over the data: centres and scales of the m regressors and of y (last). The
// centre is the mean, summed in double over blocks of points (each value scaled down by
// 2^16 so that no block sum overflows) and block by block in extended precision.
TFitStatus columnScales(const double* X, const double* y, int N, int m, int stride,
                        std::vector<ColumnScale>& scales) {
    const size_t cols = static_cast<size_t>(m) + 1;
    constexpr double kDown = 1.0 / 65536;
    constexpr int kBlock = 256;
    Vec sum(cols, 0.0L);
    std::vector<double> block(cols, 0.0);
    std::vector<double> lo(cols, std::numeric_limits<double>::infinity());
    std::vector<double> hi(cols, -std::numeric_limits<double>::infinity());
    auto take = [&](size_t i, double v) {
        block[i] += v * kDown;
        lo[i] = v < lo[i] ? v : lo[i];
        hi[i] = v > hi[i] ? v : hi[i];
    };
    for (int k = 0; k < N; ++k) {
        const double* x = X + static_cast<size_t>(k) * stride;
        for (size_t i = 0; i < cols - 1; ++i) take(i, x[i]);
        take(cols - 1, y[k]);
        if ((k + 1) % kBlock == 0 || k + 1 == N) {
            for (size_t i = 0; i < cols; ++i) {
                sum[i] += block[i];
                block[i] = 0.0;
            }
        }
    }
    scales.assign(cols, ColumnScale());
    for (size_t i = 0; i < cols; ++i) {
        // An infinity shows in the bounds, a NaN in the sum.
        if (!std::isfinite(lo[i]) || !std::isfinite(hi[i]) || std::isnan(sum[i])) return TFitStatus::notANumber;
        // Deviations from a centre inside [lo, hi] are at most hi - lo; beyond the largest
        // number they cannot be formed.
        if (static_cast<long double>(hi[i]) - lo[i] > DBL_MAX) return TFitStatus::outOfRange;
        const double c = std::clamp(static_cast<double>(sum[i] / kDown / N), lo[i], hi[i]);
        const double spread = std::max(hi[i] - c, c - lo[i]);
        scales[i].centre = c;
        if (spread > 0) scales[i].inv = std::ldexp(1.0, -std::max(std::ilogb(spread) + 1, -1000));
    }
    return TFitStatus::ok;
}

// Sums over the points of the scaled deviations d_i (and of 1 as column m) and of the
// scaled output: cross[i][j] = Σ d_i·d_j for j >= i, rhs[i] = Σ d_i·dy. Summed in double in
// blocks of points, each block added into extended precision, in point order for every
// entry; threads share the rows of the triangle, never the points, so the sums are the
// same for any number of threads.
void deviationSums(const double* X, const double* y, int N, int m, int stride,
                   const std::vector<ColumnScale>& scales, int threads, Vec& cross, Vec& rhs) {
    const int n = m + 1;
    const size_t nn = static_cast<size_t>(n) * n;
    cross.assign(nn, 0.0L);
    rhs.assign(static_cast<size_t>(n), 0.0L);
    if (threads <= 0) {
        const double work = static_cast<double>(N) * n * n;
        const unsigned hw = std::thread::hardware_concurrency();
        threads = work < 4e6 ? 1 : static_cast<int>(std::min(4u, hw == 0 ? 1u : hw));
    }
    threads = std::max(1, std::min(threads, n));
    constexpr int kBlock = 256;
    const ColumnScale sy = scales[static_cast<size_t>(m)];
    std::vector<double> centre(static_cast<size_t>(m)), inv(static_cast<size_t>(m));
    for (int i = 0; i < m; ++i) {
        centre[static_cast<size_t>(i)] = scales[static_cast<size_t>(i)].centre;
        inv[static_cast<size_t>(i)] = scales[static_cast<size_t>(i)].inv;
    }
    auto accumulate = [&](int first) {
        std::vector<double> row(static_cast<size_t>(n), 1.0);
        std::vector<double> g(nn, 0.0), r(static_cast<size_t>(n), 0.0);
        Vec lg(nn, 0.0L), lr(static_cast<size_t>(n), 0.0L);
        auto flush = [&] {
            for (int i = first; i < n; i += threads) {
                for (int j = i; j < n; ++j) {
                    lg[static_cast<size_t>(i) * n + j] += g[static_cast<size_t>(i) * n + j];
                    g[static_cast<size_t>(i) * n + j] = 0.0;
                }
                lr[static_cast<size_t>(i)] += r[static_cast<size_t>(i)];
                r[static_cast<size_t>(i)] = 0.0;
            }
        };
        double* __restrict rw = row.data();
        for (int k = 0; k < N; ++k) {
            const double* x = X + static_cast<size_t>(k) * stride;
            for (int i = 0; i < m; ++i) rw[i] = (x[i] - centre[i]) * inv[i];
            const double yk = (y[k] - sy.centre) * sy.inv;
            for (int i = first; i < n; i += threads) {
                const double xi = rw[i];
                double* __restrict gi = g.data() + static_cast<size_t>(i) * n;
                for (int j = i; j < n; ++j) gi[j] += xi * rw[j];
                r[i] += xi * yk;
            }
            if ((k + 1) % kBlock == 0) flush();
        }
        flush();
        for (int i = first; i < n; i += threads) {
            std::copy_n(lg.data() + static_cast<size_t>(i) * n, n, cross.data() + static_cast<size_t>(i) * n);
            rhs[static_cast<size_t>(i)] = lr[static_cast<size_t>(i)];
        }
    };
    parallelFor(static_cast<size_t>(threads), [&](size_t t) { accumulate(static_cast<int>(t)); },
                static_cast<size_t>(threads));
}

// Replaces the symmetric A (n x n, row-major) by its Cholesky factor L (lower triangle,
// A = L·Lᵀ); false when a pivot is not positive.
bool cholesky(Vec& A, int n) {
    auto at = [&A, n](int i, int j) -> long double& { return A[static_cast<size_t>(i) * n + j]; };
    for (int j = 0; j < n; ++j) {
        long double d = at(j, j);
        for (int k = 0; k < j; ++k) d -= at(j, k) * at(j, k);
        if (!(d > 0)) return false;
        at(j, j) = std::sqrt(d);
        for (int i = j + 1; i < n; ++i) {
            long double s = at(i, j);
            for (int k = 0; k < j; ++k) s -= at(i, k) * at(j, k);
            at(i, j) = s / at(j, j);
        }
    }
    return true;
}

// The trace of A⁻¹ = Σ over the entries of L⁻¹ squared. It is the sum of the reciprocal
// eigenvalues, so 1/trace lies between λmin/n and λmin: a bound of the smallest eigenvalue
// without computing it.
long double inverseTrace(const Vec& L, int n) {
    auto at = [&L, n](int i, int j) { return L[static_cast<size_t>(i) * n + j]; };
    Vec inv(static_cast<size_t>(n) * n, 0.0L);
    long double trace = 0;
    for (int j = 0; j < n; ++j) {
        // Column j of L⁻¹ by forward substitution.
        inv[static_cast<size_t>(j) * n + j] = 1 / at(j, j);
        trace += inv[static_cast<size_t>(j) * n + j] * inv[static_cast<size_t>(j) * n + j];
        for (int i = j + 1; i < n; ++i) {
            long double s = 0;
            for (int k = j; k < i; ++k) s -= at(i, k) * inv[static_cast<size_t>(k) * n + j];
            const long double v = s / at(i, i);
            inv[static_cast<size_t>(i) * n + j] = v;
            trace += v * v;
        }
    }
    return trace;
}

// Solves L·Lᵀ·z = b in place.
void choleskySolve(const Vec& L, int n, Vec& b) {
    auto at = [&L, n](int i, int j) { return L[static_cast<size_t>(i) * n + j]; };
    for (int i = 0; i < n; ++i) {
        long double s = b[static_cast<size_t>(i)];
        for (int k = 0; k < i; ++k) s -= at(i, k) * b[static_cast<size_t>(k)];
        b[static_cast<size_t>(i)] = s / at(i, i);
    }
    for (int i = n - 1; i >= 0; --i) {
        long double s = b[static_cast<size_t>(i)];
        for (int k = i + 1; k < n; ++k) s -= at(k, i) * b[static_cast<size_t>(k)];
        b[static_cast<size_t>(i)] = s / at(i, i);
    }
}

bool representable(long double v) { return std::isfinite(v) && std::fabs(v) <= DBL_MAX; }

}  // namespace

TFitStatus leastSquares(const double* X, const double* y, int N, int m, bool freeTerm, int stride,
                        std::vector<long double>& coef, int threads) {
    const int n = freeTerm ? m + 1 : m;
    if (N < 1 || m < 0 || n < 1 || n > kMaxCoefficients || stride < m || X == nullptr || y == nullptr)
        return TFitStatus::invalidArguments;
    std::vector<ColumnScale> scales;
    if (const TFitStatus s = columnScales(X, y, N, m, stride, scales); s != TFitStatus::ok) return s;
    Vec cross, rhs;
    deviationSums(X, y, N, m, stride, scales, threads, cross, rhs);

    // The normal equations of the scaled regressors. With a free term they are those of
    // the deviations from the means, Σ d_i·d_j - Σ d_i·Σ d_j / N, which hold for any centre.
    // Without it the raw sums are rebuilt from the deviations and the centres in extended
    // precision: Σ x_i·x_j = Σ d_i·d_j + c_i·Σ d_j + c_j·Σ d_i + N·c_i·c_j.
    const size_t w = static_cast<size_t>(m) + 1;
    const long double Nl = N;
    const long double sumY = rhs[static_cast<size_t>(m)];
    const ColumnScale sy = scales[static_cast<size_t>(m)];
    const long double cy = static_cast<long double>(sy.centre) * sy.inv;
    auto sumD = [&](int i) { return cross[static_cast<size_t>(i) * w + static_cast<size_t>(m)]; };
    auto c = [&](int i) { return static_cast<long double>(scales[static_cast<size_t>(i)].centre) * scales[static_cast<size_t>(i)].inv; };
    Vec A(static_cast<size_t>(m) * m), b(static_cast<size_t>(m));
    // Share of each diagonal entry summed in double: the rounding of those sums sets how
    // small an eigenvalue can still be told from zero.
    long double doubleShare = 0;
    for (int i = 0; i < m; ++i) {
        for (int j = i; j < m; ++j) {
            const long double p = cross[static_cast<size_t>(i) * w + static_cast<size_t>(j)];
            const long double v = freeTerm ? p - sumD(i) * sumD(j) / Nl
                                           : p + c(i) * sumD(j) + c(j) * sumD(i) + Nl * c(i) * c(j);
            A[static_cast<size_t>(i) * m + j] = A[static_cast<size_t>(j) * m + i] = v;
        }
        const long double q = rhs[static_cast<size_t>(i)];
        b[static_cast<size_t>(i)] = freeTerm ? q - sumD(i) * sumY / Nl : q + c(i) * sumY + cy * sumD(i) + Nl * c(i) * cy;
        const long double aii = A[static_cast<size_t>(i) * m + i];
        if (!(aii > 0)) return TFitStatus::singular;
        doubleShare = std::max(doubleShare, cross[static_cast<size_t>(i) * w + static_cast<size_t>(i)] / aii);
    }

    // Unit diagonal; the system is singular to working precision when its smallest
    // eigenvalue may lie within the rounding error of the sums (double sums of blocks of
    // 256 points, extended precision beyond), with a wide margin: a condition test on the
    // scaled system, however the rounding spreads over the elimination's pivots.
    Vec D(static_cast<size_t>(m));
    for (int i = 0; i < m; ++i) D[static_cast<size_t>(i)] = 1 / std::sqrt(A[static_cast<size_t>(i) * m + i]);
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j) A[static_cast<size_t>(i) * m + j] *= D[static_cast<size_t>(i)] * D[static_cast<size_t>(j)];
        b[static_cast<size_t>(i)] *= D[static_cast<size_t>(i)];
    }
    if (m > 0) {
        const long double tolerance = m * (1e-13L * doubleShare + 1e-17L);
        if (!cholesky(A, m) || !(1 / inverseTrace(A, m) > tolerance)) return TFitStatus::singular;
        choleskySolve(A, m, b);
    }

    // Back to the units of the data; the free term from the means: ȳ - Σ a_i·x̄_i.
    Vec result(static_cast<size_t>(n));
    long double freeValue = sy.centre + sumY / Nl / sy.inv;
    for (int i = 0; i < m; ++i) {
        const long double scaled = b[static_cast<size_t>(i)] * D[static_cast<size_t>(i)];
        const long double a = scaled * scales[static_cast<size_t>(i)].inv / sy.inv;
        // A coefficient beyond the largest number, or one that matters but has fallen
        // below the smallest, cannot be held.
        if (!representable(a) || (std::fabs(a) < DBL_MIN && std::fabs(scaled) > 1e-12L))
            return TFitStatus::outOfRange;
        result[static_cast<size_t>(i)] = a;
        freeValue -= a * (scales[static_cast<size_t>(i)].centre + sumD(i) / Nl / scales[static_cast<size_t>(i)].inv);
    }
    if (freeTerm) {
        if (!representable(freeValue)) return TFitStatus::outOfRange;
        result[static_cast<size_t>(m)] = freeValue;
    }
    coef = std::move(result);
    return TFitStatus::ok;
}

namespace {
bool fit(const double* X, const double* y, int N, int m, bool freeTerm, int stride, TVector& a, double& err,
         TFitStatus* why) {
    std::vector<long double> coef;
    const TFitStatus status = leastSquares(X, y, N, m, freeTerm, stride, coef);
    if (why) *why = status;
    if (status != TFitStatus::ok) return false;
    const int n = static_cast<int>(coef.size());
    TVector sol;
    sol.len = n;
    for (int i = 1; i <= n; ++i) sol[i] = static_cast<double>(coef[static_cast<size_t>(i) - 1]);
    double sum = 0.0;
    for (int k = 0; k < N; ++k) {
        const double* x = X + static_cast<size_t>(k) * stride;
        double yFit = 0.0;
        for (int i = 0; i < m; ++i) yFit += sol[i + 1] * x[i];
        if (freeTerm) yFit += sol[n];
        sum += relErr(y[k], yFit);
    }
    a = sol;
    err = 100.0 * sum / N;
    return true;
}
}  // namespace

bool approxLinear(const double* X, const double* y, int N, int m, TVector& a, double& err, int stride,
                  TFitStatus* why) {
    if (m < 1) {
        if (why) *why = TFitStatus::invalidArguments;
        return false;
    }
    return fit(X, y, N, m, false, stride, a, err, why);
}

bool approxLinearConst(const double* X, const double* y, int N, int m, TVector& a, double& c, double& err,
                       int stride, TFitStatus* why) {
    TVector sol;
    double e = 0;
    if (!fit(X, y, N, m, true, stride, sol, e, why)) return false;
    a = sol;
    c = sol[m + 1];
    err = e;
    return true;
}
