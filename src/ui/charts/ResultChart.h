#pragma once
// The result chart of the identification pages: the measured output in $FF0000 and the
// model output in $0000FF, legend at the bottom with check boxes (either curve can be
// hidden), and a "Маркеры" check box on the chart that shows the point markers of its
// series. The data keep a margin from the frame, and the first and last times are labelled.
#include <QCheckBox>
#include <string>

#include "ui/charts/SeriesChart.h"

class ResultChart : public SeriesChart {
    Q_OBJECT
public:
    static constexpr int32_t kMeasuredColor = 0xFF0000;
    static constexpr int32_t kModelColor = 0x0000FF;

    // Pixels kept between the data and the plot frame on every side.
    static constexpr int kDataMargin = 8;

    explicit ResultChart(QWidget* parent = nullptr);
    // The axes of a result chart: the margin on both axes and labels at both ends of the
    // time axis (also for report pictures of result charts).
    static void setResultAxes(SeriesChart& chart);

    QCheckBox* markersBox() const { return markers_; }
    // Series 0 becomes a copy of the measured output, series 1 a copy of the model output,
    // with the given titles and the fixed colours; further series stay. The left axis goes
    // back to automatic scaling; the markers follow the check box.
    void setResult(const TStatisticSeries& measured, const std::string& measuredTitle,
                   const TStatisticSeries& model, const std::string& modelTitle);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QCheckBox* markers_;
};
