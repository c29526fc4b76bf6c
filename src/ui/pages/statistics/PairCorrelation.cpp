#include "ui/pages/statistics/PairCorrelation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <future>
#include <limits>

#include "identification/Analyzer.h"

namespace {

bool allEqual(const double* a, size_t n) {
    for (size_t i = 1; i < n; ++i)
        if (a[i] != a[0]) return false;
    return true;
}

bool allFinite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The last n points of a series, as a series of their own.
TStatisticSeries lastPoints(const TStatisticSeries& s, size_t n) {
    const auto& x = s.XValues();
    const auto& y = s.YValues();
    const auto from = static_cast<std::ptrdiff_t>(x.size() - n);
    TStatisticSeries part;
    part.Title = s.Title;
    part.setPoints(std::vector<double>(x.begin() + from, x.end()), std::vector<double>(y.begin() + from, y.end()));
    return part;
}

void appendTitle(std::string& list, const std::string& title, bool first) {
    list += title;
    if (first) list += ' ';
}

}  // namespace

PairCorrelation planPairCorrelation(const TStatisticSeries* s1, const TStatisticSeries* s2, long long lag) {
    PairCorrelation plan;
    plan.lag = lag;
    const size_t common = s1 && s2 ? static_cast<size_t>(std::min(s1->Count(), s2->Count())) : 0;
    const std::pair<const TStatisticSeries*, PairCorrelation::Autocorrelation*> both[] = {{s1, &plan.first},
                                                                                         {s2, &plan.second}};
    for (const auto& [s, a] : both) {
        if (!s) continue;
        const bool isFirst = a == &plan.first;
        a->present = true;
        // Compared without adding to the lag, which may be as large as the field allows.
        a->lagFits = lag >= 0 && lag <= static_cast<long long>(s->Count()) - 2;
        if (!a->lagFits) {
            appendTitle(plan.lagFailures, s->Title, isFirst);
            continue;
        }
        const auto& y = s->YValues();
        if (!allFinite(y)) {
            a->undefined = true;
            appendTitle(plan.nonFiniteTitles, s->Title, isFirst);
        } else if (allEqual(y.data(), y.size()) ||
                   (common > 0 && allEqual(y.data() + (y.size() - common), common))) {
            // The whole series, or the part of it that meets the other series, never changes.
            a->undefined = allEqual(y.data(), y.size());
            appendTitle(plan.constantTitles, s->Title, isFirst);
        }
    }
    plan.crossWanted = s1 && s2 && plan.lagFailures.empty() && plan.constantTitles.empty() &&
                       plan.nonFiniteTitles.empty();
    plan.cut = plan.crossWanted && s1->Count() != s2->Count();
    const double lags = static_cast<double>(lag) + 1;
    if (plan.first.lagFits && !plan.first.undefined) plan.work += lags * s1->Count();
    if (plan.second.lagFits && !plan.second.undefined) plan.work += lags * s2->Count();
    if (plan.crossWanted) plan.work += lags * static_cast<double>(common);
    return plan;
}

void computePairCorrelation(const TAnalyzer& analyzer, PairCorrelation& plan, const TStatisticSeries* s1,
                            const TStatisticSeries* s2) {
    const int lag = static_cast<int>(plan.lag);
    auto autocorrelation = [lag](const PairCorrelation::Autocorrelation& a, const TStatisticSeries* s) {
        return a.present && a.lagFits && !a.undefined ? s->calcAutoKorr(lag) : std::vector<long double>{};
    };
    // The three sweeps are independent: long ones run side by side.
    const auto policy = plan.work > 1e6 ? std::launch::async : std::launch::deferred;
    auto r1 = std::async(policy, autocorrelation, std::cref(plan.first), s1);
    auto r2 = std::async(policy, autocorrelation, std::cref(plan.second), s2);
    if (plan.crossWanted) {
        const size_t n = static_cast<size_t>(std::min(s1->Count(), s2->Count()));
        if (!plan.cut) {
            plan.cross = analyzer.calcKrossColleration(lag, *s1, *s2);
        } else if (static_cast<size_t>(s1->Count()) > n) {
            plan.cross = analyzer.calcKrossColleration(lag, lastPoints(*s1, n), *s2);
        } else {
            plan.cross = analyzer.calcKrossColleration(lag, *s1, lastPoints(*s2, n));
        }
    }
    plan.first.r = r1.get();
    plan.second.r = r2.get();
}

std::optional<long long> readLag(const std::string& text) {
    if (text.empty()) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    long long v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range) return std::numeric_limits<long long>::max();
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return v;
}
