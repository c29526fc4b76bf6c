#include "core/SeriesScale.h"

#include <cmath>

int TSeriesScale::addKoeff(double maxValue, double minValue) {
    const int i = count();
    max.push_back(maxValue);
    min.push_back(minValue);
    double lo = minValue, hi = maxValue;
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        // No usable data range: centre on whichever end is finite, else on 0.
        const double centre = std::isfinite(lo) ? lo : (std::isfinite(hi) ? hi : 0.0);
        lo = hi = centre;
    }
    if (hi < lo) std::swap(lo, hi);
    if (hi == lo) {
        lo -= 0.5;
        hi += 0.5;
    }
    const double kk = (maxT - minT) / (hi - lo);
    k.push_back(kk);
    c.push_back(minT - lo * kk);
    curBounds.push_back({lo, hi});
    changeCurSeries(i);
    return i;
}

bool TSeriesScale::calcNewValue(int i, double newMax, double newMin) {
    if (i < 0 || i >= count()) return false;
    if (!std::isfinite(newMax) || !std::isfinite(newMin) || newMax == newMin) return false;
    const double kk = (maxT - minT) / (newMax - newMin);
    if (kk == 0.0 || !std::isfinite(kk)) return false;
    k[idx(i)] = kk;
    c[idx(i)] = minT - newMin * kk;
    curBounds[idx(i)] = {newMin, newMax};
    return true;
}

bool TSeriesScale::changeCurSeries(int i) {
    if (i < 0 || i >= count()) return false;
    curSeries = i;
    return true;
}

void TSeriesScale::clearKoeff() {
    max.clear();
    min.clear();
    curBounds.clear();
    k.clear();
    c.clear();
    curSeries = -1;
}
