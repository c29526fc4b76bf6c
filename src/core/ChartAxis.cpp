#include "core/ChartAxis.h"

#include <cmath>

TAxisRange axisEnds(const TChartAxisState& axis, std::optional<TAxisRange> dataExtent) {
    TAxisRange r;
    r.lower = axis.minimumIsAutomatic() ? (dataExtent ? dataExtent->lower : 0.0) : axis.minimum;
    r.upper = axis.maximumIsAutomatic() ? (dataExtent ? dataExtent->upper : 1.0) : axis.maximum;
    if (!std::isfinite(r.lower)) r.lower = 0.0;
    if (!std::isfinite(r.upper)) r.upper = r.lower + 1.0;
    if (!(r.upper > r.lower)) {
        const double base = r.lower;
        r.lower = base - 1.0;
        r.upper = base + 1.0;
    }
    return r;
}

TAxisRange visibleAxisRange(const TChartAxisState& axis, std::optional<TAxisRange> dataExtent,
                            double pixelLength) {
    TAxisRange r = axisEnds(axis, dataExtent);
    const double inner = pixelLength - axis.minimumOffset - axis.maximumOffset;
    if (inner < 2.0) return r;
    const double perPixel = (r.upper - r.lower) / inner;
    return {r.lower - axis.minimumOffset * perPixel, r.upper + axis.maximumOffset * perPixel};
}
