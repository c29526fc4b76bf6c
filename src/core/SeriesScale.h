#pragma once
// The per-series scale of the multi-series fragment chart: every series is shown on one
// display band (0..100) through its own linear map display = data * k + c. The map is
// kept here; the series' own values are never rewritten, so mapping back is exact.
#include <cstddef>
#include <vector>

struct TScaleBounds {
    double lower = 0.0;
    double upper = 0.0;
};

class TSeriesScale {
public:
    double maxT = 100.0;
    double minT = 0.0;
    // Per series, in the order the series were added:
    std::vector<double> max;              // data maximum when the series was added
    std::vector<double> min;              // data minimum when the series was added
    std::vector<TScaleBounds> curBounds;  // data range now mapped onto minT..maxT
    std::vector<double> k;                // display = data * k + c
    std::vector<double> c;
    int curSeries = -1;

    int count() const { return static_cast<int>(k.size()); }

    // Registers the next series with its data maximum and minimum and makes it current;
    // returns its index. A constant series (or one without finite bounds) is given a range
    // one unit wide around its value, so it shows in the middle of the band.
    int addKoeff(double max, double min);
    // Maps the data range newMin..newMax of series i onto the band. Refused (false, nothing
    // changes) for an index out of range and for equal, reversed-to-equal or non-finite bounds.
    bool calcNewValue(int i, double newMax, double newMin);
    // Makes series i current; false for an index out of range.
    bool changeCurSeries(int i);
    // Forgets every series.
    void clearKoeff();

    double toDisplay(int i, double data) const { return data * k[idx(i)] + c[idx(i)]; }
    double toData(int i, double display) const { return (display - c[idx(i)]) / k[idx(i)]; }

private:
    static size_t idx(int i) { return static_cast<size_t>(i); }
};
