#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "core/Fragment.h"
#include "core/StatisticSeries.h"
#include "core/Synchronize.h"

std::vector<double> movingAverageOf(const std::vector<double>& y, int n) {
    const size_t N = y.size();
    if (n < 1 || static_cast<size_t>(n) > N) return {};
    const size_t w = static_cast<size_t>(n);
    const size_t count = N - w + 1;
    std::vector<double> out(count);
    // The finite values go into the sliding sum; infinities and NaN are counted, and a
    // window holding any gives what its plain sum would: NaN, or the infinity.
    long double sum = 0, comp = 0;
    size_t nans = 0, plusInf = 0, minusInf = 0;
    auto add = [&](double v, int sign) {
        if (std::isnan(v)) {
            nans += static_cast<size_t>(sign > 0 ? 1 : -1);
        } else if (std::isinf(v)) {
            size_t& c = v > 0 ? plusInf : minusInf;
            c += static_cast<size_t>(sign > 0 ? 1 : -1);
        } else {
            const long double x = sign > 0 ? static_cast<long double>(v) : -static_cast<long double>(v);
            const long double t = sum + x;
            comp += std::fabs(sum) >= std::fabs(x) ? (sum - t) + x : (x - t) + sum;
            sum = t;
        }
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (size_t k = 0; k < count; ++k) {
        if (k % w == 0) {
            // Summed afresh every n windows, so the rounding carried along stays bounded.
            sum = comp = 0;
            nans = plusInf = minusInf = 0;
            for (size_t j = k; j < k + w; ++j) add(y[j], 1);
        } else {
            add(y[k + w - 1], 1);
            add(y[k - 1], -1);
        }
        if (nans > 0 || (plusInf > 0 && minusInf > 0)) out[k] = nan;
        else if (plusInf > 0) out[k] = inf;
        else if (minusInf > 0) out[k] = -inf;
        else out[k] = static_cast<double>((sum + comp) / static_cast<long double>(w));
    }
    return out;
}

namespace {

// The smallest double not below v, and the largest double not above v: a double x
// satisfies v <= x exactly when ceilToDouble(v) <= x, and x <= v exactly when
// x <= floorToDouble(v), so the bounds can be compared in double precision.
double ceilToDouble(long double v) {
    double d = static_cast<double>(v);
    if (static_cast<long double>(d) < v) d = std::nextafter(d, std::numeric_limits<double>::infinity());
    return d;
}
double floorToDouble(long double v) {
    double d = static_cast<double>(v);
    if (static_cast<long double>(d) > v) d = std::nextafter(d, -std::numeric_limits<double>::infinity());
    return d;
}

}  // namespace

bool TStatisticSeries::average(int n) {
    if (n < 1 || n > Count()) return false;
    std::vector<double> ox(x_.begin() + (n - 1), x_.end());
    setPoints(std::move(ox), movingAverageOf(y_, n));
    calcStatistic();
    return true;
}

std::unique_ptr<TStatisticSeries> TStatisticSeries::getAverageSeries(int n) const {
    if (n < 1 || n > Count()) return nullptr;
    auto copy = std::make_unique<TStatisticSeries>();
    copy->assignSS(*this);
    copy->average(n);
    return copy;
}

std::vector<long double> TStatisticSeries::calcAutoKorr(int maxLag) const {
    std::vector<long double> r;
    if (maxLag < 0) return r;
    r.reserve(static_cast<size_t>(maxLag) + 1);
    const int N = Count();
    // A part is constant when its values are all equal: the first m values exactly when
    // m <= firstChange, the values from L on exactly when constantFrom[L]. The deviations
    // computed for equal values are rounding noise, not a spread.
    int firstChange = N;
    for (int i = 1; i < N; ++i)
        if (y_[static_cast<size_t>(i)] != y_[0]) {
            firstChange = i;
            break;
        }
    std::vector<uint8_t> constantFrom(static_cast<size_t>(std::max(N, 1)), 1);
    for (int i = N - 2; i >= 0; --i)
        constantFrom[static_cast<size_t>(i)] =
            constantFrom[static_cast<size_t>(i) + 1] && y_[static_cast<size_t>(i)] == y_[static_cast<size_t>(i) + 1];
    // Values that are not finite numbers leave the coefficients of the parts holding them
    // undefined.
    int firstBad = N, lastBad = -1;
    for (int i = 0; i < N; ++i)
        if (!std::isfinite(y_[static_cast<size_t>(i)])) {
            firstBad = std::min(firstBad, i);
            lastBad = i;
        }
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    for (int lag = 0; lag <= maxLag; ++lag) {
        const int m = N - lag;
        if (m < 2) {
            r.push_back(0);
            continue;
        }
        if (firstBad < m || lastBad >= lag) {
            r.push_back(nan);
            continue;
        }
        if (m <= firstChange || constantFrom[static_cast<size_t>(lag)]) {
            r.push_back(0);
            continue;
        }
        // About the means, in two passes: signals far from zero keep their digits.
        const double* a = y_.data();
        const double* b = y_.data() + lag;
        long double sa = 0, sb = 0;
        for (int i = 0; i < m; ++i) {
            sa += a[i];
            sb += b[i];
        }
        const long double ma = sa / m, mb = sb / m;
        long double saa = 0, sbb = 0, sab = 0;
        for (int i = 0; i < m; ++i) {
            const long double da = a[i] - ma, db = b[i] - mb;
            saa += da * da;
            sbb += db * db;
            sab += da * db;
        }
        const long double den = std::sqrt(saa / m) * std::sqrt(sbb / m);
        r.push_back(den > 0 ? (sab / m) / den : 0.0L);
    }
    return r;
}

void TStatisticSeries::filterWithFrag(const std::vector<TFragment>& fragments) {
    std::vector<std::pair<double, double>> bounds;
    bounds.reserve(fragments.size());
    for (const auto& f : fragments)
        if (!std::isnan(f.startPoint) && !std::isnan(f.endPoint))
            bounds.emplace_back(ceilToDouble(f.startPoint), floorToDouble(f.endPoint));
    auto inside = [&](double x) {
        for (const auto& [lo, hi] : bounds)
            if (x >= lo && x <= hi) return true;
        return false;
    };
    const size_t n = x_.size();
    // Nothing to do when one fragment holds the whole time range (the usual case of a
    // single long interval); NaN times never pass this test.
    if (n > 0) {
        double lo = x_[0], hi = x_[0];
        bool numbers = true;
        for (double x : x_) {
            lo = x < lo ? x : lo;
            hi = x > hi ? x : hi;
            numbers &= x == x;
        }
        if (numbers)
            for (const auto& [flo, fhi] : bounds)
                if (lo >= flo && hi <= fhi) return;
    }
    size_t first = 0;
    while (first < n && inside(x_[first])) ++first;
    // One stable compaction; nothing to move when every point stays.
    if (first == n) return;
    std::vector<uint8_t> keep(n, 1);
    for (size_t i = first; i < n; ++i) keep[i] = inside(x_[i]) ? 1 : 0;
    keepPoints(keep);
}

std::unique_ptr<TStatisticSeries> TStatisticSeries::getFilterWithFragSeries(
    const std::vector<TFragment>& fragments) const {
    auto copy = std::make_unique<TStatisticSeries>();
    copy->assignSS(*this);
    copy->filterWithFrag(fragments);
    return copy;
}

bool TStatisticSeries::checkSyncronize(const TStatisticSeries& other, long double delta) const {
    if (Count() != other.Count()) return false;
    // Equal time stamps pass with any tolerance that is not negative.
    if (!(delta < 0) && x_ == other.x_) return true;
    for (int i = 0; i < Count(); ++i) {
        const long double mine = XValue(i);
        const long double theirs = other.XValue(i);
        if (theirs - delta > mine || theirs + delta < mine) return false;
    }
    return true;
}

bool TStatisticSeries::syncronize(const TStatisticSeries& leading, uint8_t mode, long double delta,
                                  Reporter* reporter) {
    if (mode > 2) return true;
    if (mode == 2) calcStatistic(reporter);
    const std::vector<int> match = syncMatches(x_, leading.XValues(), std::fabs(delta));
    const size_t L = match.size();
    std::vector<double> nx, ny;
    std::vector<uint8_t> nn;
    nx.reserve(L);
    ny.reserve(L);
    nn.reserve(L);
    // A series without values has no mean: its filled points become gaps instead of
    // carrying an undefined number.
    const bool meanDefined = std::isfinite(static_cast<double>(mean));
    for (size_t i = 0; i < L; ++i) {
        const double x = leading.XValues()[i];
        const int j = match[i];
        if (j >= 0) {
            nx.push_back(x);
            ny.push_back(y_[static_cast<size_t>(j)]);
            nn.push_back(0);
        } else if (mode == 0) {
            return false;
        } else if (mode == 2) {
            nx.push_back(x);
            ny.push_back(meanDefined ? static_cast<double>(mean) : 0.0);
            nn.push_back(meanDefined ? 0 : 1);
        }
    }
    setPoints(std::move(nx), std::move(ny), std::move(nn));
    return true;
}

std::unique_ptr<TStatisticSeries> TStatisticSeries::getSyncronizeSeries(const TStatisticSeries& leading,
                                                                         uint8_t mode, long double delta,
                                                                         Reporter* reporter) const {
    auto copy = std::make_unique<TStatisticSeries>();
    copy->assignSS(*this);
    if (!copy->syncronize(leading, mode, delta, reporter)) return nullptr;
    return copy;
}

std::vector<int> syncMatches(const std::vector<double>& times, const std::vector<double>& leadingTimes,
                             long double t) {
    std::vector<int> result(leadingTimes.size(), -1);
    if (std::isnan(t) || times.empty()) return result;
    // The points ordered by (time, index); times that are not numbers never match.
    std::vector<int> order;
    order.reserve(times.size());
    for (size_t j = 0; j < times.size(); ++j)
        if (!std::isnan(times[j])) order.push_back(static_cast<int>(j));
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const double xa = times[static_cast<size_t>(a)], xb = times[static_cast<size_t>(b)];
        return xa < xb || (xa == xb && a < b);
    });
    std::vector<double> xs(order.size());
    for (size_t p = 0; p < order.size(); ++p) xs[p] = times[static_cast<size_t>(order[p])];
    const long double best0 = t == 0 ? 1.0L : 3 * t;
    const long P = static_cast<long>(xs.size());

    for (size_t i = 0; i < leadingTimes.size(); ++i) {
        const double x = leadingTimes[i];
        if (std::isnan(x)) continue;
        const long double lo = x - t, hi = x + t;
        long double dmin = std::numeric_limits<long double>::infinity();
        int best = -1;
        bool any = false;
        // Offers the equal-time group whose first sorted position is gs; false when the
        // groups further out on this side cannot be nearer or in the window.
        auto offer = [&](long gs) {
            const double sx = xs[static_cast<size_t>(gs)];
            if (!(sx >= lo && sx <= hi)) return false;
            const long double d = std::fabs(static_cast<long double>(sx) - x);
            if (!(d < best0)) return false;
            if (!any || d < dmin) {
                dmin = d;
                best = order[static_cast<size_t>(gs)];
                any = true;
                return true;
            }
            if (d == dmin) {
                best = std::min(best, order[static_cast<size_t>(gs)]);
                return true;
            }
            return false;
        };
        const long split = std::upper_bound(xs.begin(), xs.end(), x) - xs.begin();
        // Left of x (times <= x): the distance grows leftwards.
        for (long p = split - 1; p >= 0;) {
            const long gs = std::lower_bound(xs.begin(), xs.begin() + p, xs[static_cast<size_t>(p)]) - xs.begin();
            if (!offer(gs)) break;
            p = gs - 1;
        }
        // Right of x (times > x): the distance grows rightwards.
        for (long p = split; p < P;) {
            if (!offer(p)) break;
            p = std::upper_bound(xs.begin() + p, xs.end(), xs[static_cast<size_t>(p)]) - xs.begin();
        }
        result[i] = best;
    }
    return result;
}
