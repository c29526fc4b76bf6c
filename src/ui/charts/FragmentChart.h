#pragma once
// The fragment chart of the fragment page: several series of different magnitudes on one
// left axis fixed to 0..100, each through its own linear scale (the series keep their own
// values); the current series is drawn thicker and the left axis reads in its units.
#include "core/SeriesScale.h"
#include "ui/charts/SmartChart.h"

class TFragmentChart : public TSmartChart {
    Q_OBJECT
public:
    explicit TFragmentChart(QWidget* parent = nullptr);

    // Registers the series just added (the last one) with its data maximum and minimum,
    // shows it scaled onto 0..100 and makes it current. False when the last series already
    // has a scale (the entries must follow the series one to one).
    bool addKoeff(double max, double min);
    // Maps the data range newMin..newMax of series i onto 0..100. Refused (false, nothing
    // changes) for an index out of range and for equal or non-finite bounds.
    bool calcNewValue(int i, double newMax, double newMin);
    // Makes series i current: pen width 4 for it, 2 for the others; it is shown.
    void changeCurSeries(int i);
    // Forgets every scale (after the chart's series were removed).
    void clearKoeff();
    // Undoing a zoom makes the time axis automatic and puts the left axis back on its fixed
    // display band minT..maxT.
    void unzoom() override;

    const TSeriesScale& scale() const { return scale_; }
    int curSeries() const { return scale_.curSeries; }
    double maxT() const { return scale_.maxT; }
    double minT() const { return scale_.minT; }
    // Display value (0..100) of a data value of series i, and back.
    double toDisplay(int i, double data) const { return scale_.toDisplay(i, data); }
    double toData(int i, double display) const { return scale_.toData(i, display); }
    // Text of a left-axis label at display value v: the current series' data value.
    std::string leftAxisLabel(double v) const;

private:
    TSeriesScale scale_;
};
