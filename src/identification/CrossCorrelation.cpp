#include "identification/CrossCorrelation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

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

long double meanProduct(const double* a, const double* b, size_t n) {
    long double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += static_cast<long double>(a[i]) * b[i];
    return sum / static_cast<long double>(n);
}

double combine(const Moments& ma, const Moments& mb, long double meanAB) {
    if (ma.constant || mb.constant) return kNaN;
    const long double den = ma.sd * mb.sd;
    if (!(den > 0) || !std::isfinite(den)) return kNaN;
    const long double r = (meanAB - ma.mean * mb.mean) / den;
    return std::isfinite(r) ? static_cast<double>(r) : kNaN;
}

// Runs job(k) for k = 0..count-1 on worker threads when the work is large enough; each k
// is computed by the same code whichever thread takes it.
template <class Job>
void parallelFor(size_t count, size_t workPerItem, Job job) {
    const size_t hw = std::max(1u, std::thread::hardware_concurrency());
    const size_t threads = std::min({hw, count, size_t{16}});
    if (threads <= 1 || count * workPerItem < 200000) {
        for (size_t k = 0; k < count; ++k) job(k);
        return;
    }
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t k; (k = next.fetch_add(1, std::memory_order_relaxed)) < count;) job(k);
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (auto& th : pool) th.join();
}

}  // namespace

double correlationCoefficient(const double* a, const double* b, size_t n) {
    if (n == 0) return kNaN;
    return combine(moments(a, n), moments(b, n), meanProduct(a, b, n));
}

double calcKrossColleration(const TStatisticSeries& series1, const TStatisticSeries& series2) {
    const size_t len1 = static_cast<size_t>(series1.Count());
    const size_t len2 = static_cast<size_t>(series2.Count());
    const size_t n = std::min(len1, len2);
    const double* a = series1.YValues().data() + (len1 - n);
    const double* b = series2.YValues().data() + (len2 - n);
    return correlationCoefficient(a, b, n);
}

std::vector<std::pair<int, double>> calcKrossColleration(int maxLag, const TStatisticSeries& series1,
                                                         const TStatisticSeries& series2) {
    if (maxLag < 0) return {};
    std::vector<std::pair<int, double>> result(static_cast<size_t>(maxLag) + 1);
    const size_t n = static_cast<size_t>(std::min(series1.Count(), series2.Count()));
    const double* a = series1.YValues().data();
    const double* b = series2.YValues().data();
    parallelFor(result.size(), n, [&](size_t lag) {
        const size_t m = lag < n ? n - lag : 0;
        result[lag] = {static_cast<int>(lag), m == 0 ? kNaN : correlationCoefficient(a, b + lag, m)};
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
    parallelFor(s, longest, [&](size_t i) {
        const size_t len = static_cast<size_t>(series[i]->Count());
        if (len > 0) whole[i] = moments(series[i]->YValues().data(), len);
    });

    std::vector<std::pair<size_t, size_t>> pairs;
    pairs.reserve(s * (s + 1) / 2);
    for (size_t i = 0; i < s; ++i)
        for (size_t j = i; j < s; ++j) pairs.emplace_back(i, j);

    parallelFor(pairs.size(), longest, [&](size_t k) {
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
            r = combine(ma, mb, meanProduct(a, b, n));
        }
        map.values[i * s + j] = r;
        map.values[j * s + i] = r;
    });
    return map;
}

CorrelationMap calcCorrelationMap(const arrayOfStatSeries& series) {
    return calcCorrelationMap(std::vector<const TStatisticSeries*>(series.begin(), series.end()));
}
