#pragma once
// The logical state of a chart axis: whether each end follows the data or is fixed, and
// the pixel margins kept free beyond each end. The visible range is derived from it.
#include <optional>

struct TChartAxisState {
    // Both ends follow the data. Writing it through setAutomatic sets both ends' flags too.
    bool automatic = true;
    bool automaticMinimum = true;
    bool automaticMaximum = true;
    // The fixed ends, used where the end is not automatic.
    double minimum = 0.0;
    double maximum = 0.0;
    // Pixels kept free below the minimum and above the maximum.
    int minimumOffset = 0;
    int maximumOffset = 0;

    void setAutomatic(bool on) {
        automatic = on;
        automaticMinimum = on;
        automaticMaximum = on;
    }
    void setAutomaticMinimum(bool on) {
        automaticMinimum = on;
        automatic = automaticMinimum && automaticMaximum;
    }
    void setAutomaticMaximum(bool on) {
        automaticMaximum = on;
        automatic = automaticMinimum && automaticMaximum;
    }
    // Fixes both ends; automatic scaling is off afterwards.
    void setMinMax(double lo, double hi) {
        minimum = lo;
        maximum = hi;
        setAutomatic(false);
    }
    bool minimumIsAutomatic() const { return automatic || automaticMinimum; }
    bool maximumIsAutomatic() const { return automatic || automaticMaximum; }
};

struct TAxisRange {
    double lower = 0.0;
    double upper = 1.0;
    bool operator==(const TAxisRange&) const = default;
};

// The ends before the pixel margins: the data extent for automatic ends, the fixed
// values otherwise. Without data an automatic end is 0 (minimum) or 1 (maximum). A range
// whose ends coincide or are reversed is widened to one unit either side of its lower end.
TAxisRange axisEnds(const TChartAxisState& axis, std::optional<TAxisRange> dataExtent);

// The visible range of an axis `pixelLength` pixels long: the ends of axisEnds, widened so
// that they sit minimumOffset and maximumOffset pixels inside the axis. Margins that would
// leave fewer than 2 pixels for the range are ignored.
TAxisRange visibleAxisRange(const TChartAxisState& axis, std::optional<TAxisRange> dataExtent,
                            double pixelLength);
