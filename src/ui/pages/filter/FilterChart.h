#pragma once
// The chart of the filter page: the stages of one column, and over them the band limits as
// horizontal lines marked "H" (upper) and "L" (lower) left of the value labels, drawn after
// every paint at the limits the page holds at that moment.
#include <functional>
#include <optional>
#include <vector>

#include "ui/charts/SeriesChart.h"

class LimitLinesLayerable;

class FilterChart : public SeriesChart {
    Q_OBJECT
public:
    struct Limits {
        double high = 0;
        double low = 0;
    };
    explicit FilterChart(QWidget* parent = nullptr);

    // Asked on every paint: the limits to draw, or nullopt for none.
    std::function<std::optional<Limits>()> limits;

    // A line as the last paint drew it: its letter, its pixel row and the left edge of the letter.
    struct DrawnLine {
        char letter = 0;
        double y = 0;
        double letterX = 0;
    };
    const std::vector<DrawnLine>& drawnLines() const { return drawn_; }

    // Pixel row of a value on the value axis, or nullopt when it lies outside the axis.
    std::optional<double> valuePixel(double value) const;

    // Draws the limit lines (after the graphs and axes of every paint).
    void Chart1AfterDraw(QCPPainter* painter);

private:
    LimitLinesLayerable* lines_ = nullptr;
    std::vector<DrawnLine> drawn_;
};
