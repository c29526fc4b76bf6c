#include "core/FragmentCopy.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Project.h"

arrayOfFragment cutGoodFragments(const arrayOfFragment& chartFragments, std::vector<size_t>* origins) {
    arrayOfFragment all = chartFragments;
    // For each entry of `all`, the chart interval it comes from.
    std::vector<size_t> from(all.size());
    for (size_t i = 0; i < from.size(); ++i) from[i] = i;
    std::vector<size_t> bad, good;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].typeOfFragments() == 0) bad.push_back(i);
        else if (all[i].typeOfFragments() == 1) good.push_back(i);
    }
    for (size_t b : bad) {
        const long double bStart = all[b].startPoint;
        const long double bEnd = all[b].endPoint;
        // The count is read at every step, so pieces split off here are visited too; after
        // a removal the same position holds the next interval.
        for (size_t p = 0; p < good.size();) {
            TFragment& g = all[good[p]];
            if (!(g.endPoint > bStart && g.startPoint < bEnd)) {
                ++p;
                continue;
            }
            const bool left = g.startPoint < bStart;
            const bool right = g.endPoint > bEnd;
            if (left && right) {
                TFragment later;
                later.assign(g);
                later.name = g.name + "+";
                later.startPoint = bEnd;
                g.endPoint = bStart;
                const size_t origin = from[good[p]];
                from.push_back(origin);
                all.push_back(std::move(later));  // g is not used after this
                good.push_back(all.size() - 1);
                ++p;
            } else if (left) {
                g.endPoint = bStart;
                g.name += "_cutH";
                ++p;
            } else if (right) {
                g.startPoint = bEnd;
                g.name += "_cutL";
                ++p;
            } else {
                good.erase(good.begin() + static_cast<std::ptrdiff_t>(p));
            }
        }
    }
    // Sorted by start time; equal starts in good-list order. A start that is not a number
    // matches no sorted value and is dropped.
    std::vector<size_t> order;
    for (size_t g : good)
        if (!std::isnan(all[g].startPoint)) order.push_back(g);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return all[a].startPoint < all[b].startPoint; });
    arrayOfFragment result;
    result.reserve(order.size());
    if (origins) origins->clear();
    for (size_t g : order) {
        TFragment f;
        f.assign(all[g]);
        result.push_back(std::move(f));
        if (origins) origins->push_back(from[g]);
    }
    return result;
}

void copyChartFragments(TProject& project, const arrayOfFragment& chartFragments,
                        const std::vector<uint64_t>& chartIds) {
    if (!project.needCalcFragment) return;
    project.userFragments.clear();
    for (const auto& f : chartFragments) {
        TFragment copy;
        copy.assign(f);
        project.userFragments.push_back(std::move(copy));
    }
    std::vector<size_t> from;
    project.fragments = cutGoodFragments(chartFragments, &from);
    project.fragmentOrigins.clear();
    project.fragmentOrigins.reserve(from.size());
    for (size_t i : from) project.fragmentOrigins.push_back(i < chartIds.size() ? chartIds[i] : 0);
    project.calcFragmentsSeries();
    project.doChangeFragmentsList();
}
