#include "ui/charts/ResultChart.h"

ResultChart::ResultChart(QWidget* parent) : SeriesChart(parent) {
    setBottomDateTime("dd.mm.yy hh:mm");
    setLegendPlace(LegendPlace::Bottom);
    setLegendCheckBoxes(true);
    setResultAxes(*this);
    markers_ = new QCheckBox(QStringLiteral("Маркеры"), this);
    markers_->setAutoFillBackground(false);
    markers_->move(4, 2);
    markers_->adjustSize();
    connect(markers_, &QCheckBox::toggled, this, [this](bool on) {
        setMarkersVisible(on);
        requestReplot();
    });
    // Room above the plot for the check box.
    axisRect()->setAutoMargins(QCP::msLeft | QCP::msRight | QCP::msBottom);
    axisRect()->setMargins(QMargins(0, markers_->sizeHint().height() + 6, 0, 0));
}

void ResultChart::setResultAxes(SeriesChart& chart) {
    for (TChartAxisState* axis : {&chart.leftAxisState(), &chart.bottomAxisState()}) {
        axis->minimumOffset = kDataMargin;
        axis->maximumOffset = kDataMargin;
    }
    chart.setBottomEndLabels(true);
}

void ResultChart::setResult(const TStatisticSeries& measured, const std::string& measuredTitle,
                            const TStatisticSeries& model, const std::string& modelTitle) {
    const TStatisticSeries* sources[2] = {&measured, &model};
    const std::string titles[2] = {measuredTitle, modelTitle};
    const int32_t colors[2] = {kMeasuredColor, kModelColor};
    for (int i = 0; i < 2; ++i) {
        TStatisticSeries copy;
        copy.Assign(*sources[i]);
        copy.Title = titles[i];
        copy.color = colors[i];
        copy.pointerVisible = markers_->isChecked();
        if (i < seriesCount()) setSeries(i, copy);
        else addSeries(copy);
    }
    leftAxisState().setAutomatic(true);
    requestReplot();
}

void ResultChart::resizeEvent(QResizeEvent* event) {
    SeriesChart::resizeEvent(event);
    markers_->move(4, 2);
}
