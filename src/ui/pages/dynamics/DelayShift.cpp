#include "ui/pages/dynamics/DelayShift.h"

#include <cstdlib>
#include <vector>

namespace {
// Keeps the points [from, from + count) of the series' times and the values of the points
// [valuesFrom, valuesFrom + count).
void keep(TStatisticSeries& s, size_t from, size_t valuesFrom, size_t count) {
    const auto& xs = s.XValues();
    const auto& ys = s.YValues();
    const auto& ns = s.NullFlags();
    std::vector<double> x(xs.begin() + from, xs.begin() + from + count);
    std::vector<double> y(ys.begin() + valuesFrom, ys.begin() + valuesFrom + count);
    std::vector<uint8_t> n;
    if (ns.size() == xs.size()) n.assign(ns.begin() + valuesFrom, ns.begin() + valuesFrom + count);
    s.setPoints(std::move(x), std::move(y), std::move(n));
}
}  // namespace

bool shiftByDelay(TStatisticSeries& input, TStatisticSeries& output, int d) {
    const long long m = std::llabs(static_cast<long long>(d));
    if (input.Count() - 1 < m || output.Count() - 1 < m) return false;
    if (d == 0) return true;
    const auto shift = static_cast<size_t>(m);
    const size_t inLeft = static_cast<size_t>(input.Count()) - shift;
    const size_t outLeft = static_cast<size_t>(output.Count()) - shift;
    if (d > 0) {
        // Input point k keeps its own time and carries the value from d samples before.
        keep(input, shift, 0, inLeft);
        keep(output, shift, shift, outLeft);
    } else {
        keep(input, 0, shift, inLeft);
        keep(output, 0, 0, outLeft);
    }
    return true;
}
