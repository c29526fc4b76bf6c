#include "identification/CrossCorrelation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#include "numerics/Parallel.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Moments {
    long double mean = 0;
    long double sd = 0;
    // All values equal. The computed deviation of such values is rounding noise, not zero,
    // and would give a meaningless coefficient.
    bool constant = true;
};

bool allEqual(const double* a, size_t n) {
    for (size_t i = 1; i < n; ++i)
        if (a[i] != a[0]) return false;
    return true;
}

// Mean and population standard deviation, in two passes.
Moments moments(const double* a, size_t n) {
    long double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += a[i];
    Moments m;
    m.constant = allEqual(a, n);
    m.mean = sum / static_cast<long double>(n);
    long double sq = 0;
    for (size_t i = 0; i < n; ++i) {
        const long double d = a[i] - m.mean;
        sq += d * d;
    }
    m.sd = std::sqrt(sq / static_cast<long double>(n));
    return m;
}

// The covariance Σ (a - mean a)(b - mean b) / n. Taken about the means: the one-pass form
// mean(ab) - mean(a)·mean(b) cancels every digit of signals far from zero.
long double covariance(const double* a, const double* b, size_t n, const Moments& ma, const Moments& mb) {
    long double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += (a[i] - ma.mean) * (b[i] - mb.mean);
    return sum / static_cast<long double>(n);
}

double combine(const Moments& ma, const Moments& mb, long double cov) {
    if (ma.constant || mb.constant) return kNaN;
    const long double den = ma.sd * mb.sd;
    if (!(den > 0) || !std::isfinite(den)) return kNaN;
    const long double r = cov / den;
    return std::isfinite(r) ? static_cast<double>(r) : kNaN;
}

// Runs job(k) for k = 0..count-1, on worker threads when the work is large enough.
template <class Job>
void parallelForWork(size_t count, size_t workPerItem, Job job) {
    if (count * workPerItem < 200000) {
        for (size_t k = 0; k < count; ++k) job(k);
        return;
    }
    parallelFor(count, job, 16);
}

}  // namespace

double correlationCoefficient(const double* a, const double* b, size_t n) {
    if (n == 0) return kNaN;
    const Moments ma = moments(a, n), mb = moments(b, n);
    return combine(ma, mb, covariance(a, b, n, ma, mb));
}

double calcKrossColleration(const TStatisticSeries& series1, const TStatisticSeries& series2) {
    const size_t len1 = static_cast<size_t>(series1.Count());
    const size_t len2 = static_cast<size_t>(series2.Count());
    const size_t n = std::min(len1, len2);
    const double* a = series1.YValues().data() + (len1 - n);
    const double* b = series2.YValues().data() + (len2 - n);
    return correlationCoefficient(a, b, n);
}

namespace {

// What every lag of a sweep shares: the running sums of a from its start (the sum of its
// first m values is exactly what moments() adds up) and where a and b stop being constant.
struct SweepData {
    const double* a;
    const double* b;
    size_t n;
    std::vector<long double> prefixA;  // prefixA[m] = a[0] + ... + a[m-1], in that order
    size_t firstChangeA;               // a[0..m) is constant exactly when m <= firstChangeA
    std::vector<uint8_t> constantFromB;  // b[L..n) is constant
};

// The coefficients of the lags first..first+G-1 (all below n). Each lag's sums run over the
// same values in the same order as in correlationCoefficient, so the numbers are identical;
// the G independent sums of one pass only keep the processor busier.
template <int G>
void lagGroup(const SweepData& d, size_t first, std::vector<std::pair<int, double>>& out) {
    size_t m[G];
    const double* b[G];
    Moments ma[G], mb[G];
    for (int g = 0; g < G; ++g) {
        m[g] = d.n - first - static_cast<size_t>(g);
        b[g] = d.b + first + g;
        ma[g].constant = m[g] <= d.firstChangeA;
        ma[g].mean = d.prefixA[m[g]] / static_cast<long double>(m[g]);
        mb[g].constant = d.constantFromB[first + static_cast<size_t>(g)] != 0;
    }
    const size_t common = m[G - 1];
    // Each pass: the G sums side by side over the common length, then each one's tail.
    auto pass = [&](auto term, long double (&acc)[G]) {
        for (int g = 0; g < G; ++g) acc[g] = 0;
        for (size_t i = 0; i < common; ++i)
            for (int g = 0; g < G; ++g) acc[g] += term(g, i);
        for (int g = 0; g < G - 1; ++g)
            for (size_t i = common; i < m[g]; ++i) acc[g] += term(g, i);
    };
    long double sumB[G], sqA[G], sqB[G], prod[G];
    pass([&](int g, size_t i) -> long double { return b[g][i]; }, sumB);
    for (int g = 0; g < G; ++g) mb[g].mean = sumB[g] / static_cast<long double>(m[g]);
    pass([&](int g, size_t i) -> long double {
        const long double x = d.a[i] - ma[g].mean;
        return x * x;
    }, sqA);
    pass([&](int g, size_t i) -> long double {
        const long double x = b[g][i] - mb[g].mean;
        return x * x;
    }, sqB);
    pass([&](int g, size_t i) -> long double { return (d.a[i] - ma[g].mean) * (b[g][i] - mb[g].mean); }, prod);
    for (int g = 0; g < G; ++g) {
        ma[g].sd = std::sqrt(sqA[g] / static_cast<long double>(m[g]));
        mb[g].sd = std::sqrt(sqB[g] / static_cast<long double>(m[g]));
        const size_t lag = first + static_cast<size_t>(g);
        out[lag] = {static_cast<int>(lag), combine(ma[g], mb[g], prod[g] / static_cast<long double>(m[g]))};
    }
}

constexpr int kLagGroup = 4;

}  // namespace

std::vector<std::pair<int, double>> calcKrossColleration(int maxLag, const TStatisticSeries& series1,
                                                         const TStatisticSeries& series2) {
    if (maxLag < 0) return {};
    std::vector<std::pair<int, double>> result(static_cast<size_t>(maxLag) + 1);
    const size_t lags = result.size();
    SweepData d;
    d.n = static_cast<size_t>(std::min(series1.Count(), series2.Count()));
    d.a = series1.YValues().data();
    d.b = series2.YValues().data();
    // Lags with no pair left are undefined.
    for (size_t lag = d.n; lag < lags; ++lag) result[lag] = {static_cast<int>(lag), kNaN};
    const size_t defined = std::min(lags, d.n);
    if (defined == 0) return result;

    d.prefixA.resize(d.n + 1);
    long double sum = 0;
    d.prefixA[0] = 0;
    for (size_t i = 0; i < d.n; ++i) d.prefixA[i + 1] = sum += d.a[i];
    d.firstChangeA = d.n;
    for (size_t i = 1; i < d.n; ++i)
        if (d.a[i] != d.a[0]) {
            d.firstChangeA = i;
            break;
        }
    d.constantFromB.assign(d.n, 1);
    for (size_t i = d.n - 1; i-- > 0;) d.constantFromB[i] = d.constantFromB[i + 1] && d.b[i] == d.b[i + 1];

    // Groups of consecutive lags; the last few lags, which may not fill a group, one by one.
    const size_t groups = defined / kLagGroup;
    const size_t single = defined - groups * kLagGroup;
    parallelForWork(groups + single, d.n * kLagGroup, [&](size_t k) {
        if (k < groups) {
            lagGroup<kLagGroup>(d, k * kLagGroup, result);
        } else {
            lagGroup<1>(d, groups * kLagGroup + (k - groups), result);
        }
    });
    return result;
}

CorrelationMap calcCorrelationMap(const std::vector<const TStatisticSeries*>& series) {
    CorrelationMap map;
    map.size = static_cast<int>(series.size());
    const size_t s = series.size();
    map.values.assign(s * s, kNaN);
    if (s == 0) return map;

    // The moments of each whole series serve every pair in which it is not cut.
    std::vector<Moments> whole(s);
    size_t longest = 0;
    for (const auto* p : series) longest = std::max(longest, static_cast<size_t>(p->Count()));
    parallelForWork(s, longest, [&](size_t i) {
        const size_t len = static_cast<size_t>(series[i]->Count());
        if (len > 0) whole[i] = moments(series[i]->YValues().data(), len);
    });

    std::vector<std::pair<size_t, size_t>> pairs;
    pairs.reserve(s * (s + 1) / 2);
    for (size_t i = 0; i < s; ++i)
        for (size_t j = i; j < s; ++j) pairs.emplace_back(i, j);

    parallelForWork(pairs.size(), longest, [&](size_t k) {
        const auto [i, j] = pairs[k];
        const size_t len1 = static_cast<size_t>(series[i]->Count());
        const size_t len2 = static_cast<size_t>(series[j]->Count());
        const size_t n = std::min(len1, len2);
        double r = kNaN;
        if (n > 0) {
            const double* a = series[i]->YValues().data() + (len1 - n);
            const double* b = series[j]->YValues().data() + (len2 - n);
            const Moments ma = len1 == n ? whole[i] : moments(a, n);
            const Moments mb = len2 == n ? whole[j] : moments(b, n);
            r = combine(ma, mb, covariance(a, b, n, ma, mb));
        }
        map.values[i * s + j] = r;
        map.values[j * s + i] = r;
    });
    return map;
}

CorrelationMap calcCorrelationMap(const arrayOfStatSeries& series) {
    return calcCorrelationMap(std::vector<const TStatisticSeries*>(series.begin(), series.end()));
}
