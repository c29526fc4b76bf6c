#include "ui/pages/statistics/CorrelationChart.h"

#include <cmath>
#include <limits>

#include "ui/charts/ResultChart.h"

CorrelationChart::CorrelationChart(const QString& objectName, const QString& title, QWidget* parent)
    : SeriesChart(parent) {
    setObjectName(objectName);
    setLegendPlace(LegendPlace::Hidden);
    plotLayout()->insertRow(0);
    title_ = new QCPTextElement(this, title, QFont(font().family(), 10, QFont::Bold));
    plotLayout()->addElement(0, 0, title_);
    // Whole lags only, however few bars there are.
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setTickStep(1.0);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    xAxis->setTicker(ticker);
    // The coefficient 1 of lag 0 and the other extremes stay off the frame, as on the result
    // charts, so a bar that reaches the frame is never taken for one cut by it.
    leftAxisState().minimumOffset = ResultChart::kDataMargin;
    leftAxisState().maximumOffset = ResultChart::kDataMargin;
    setMinimumHeight(180);
}

QString CorrelationChart::title() const { return title_->text(); }

void CorrelationChart::setTitle(const QString& title) {
    title_->setText(title);
    requestReplot();
}

void CorrelationChart::showCoefficients(const std::vector<double>& r) {
    clearBars();
    std::vector<double> lags, values;
    lags.reserve(r.size());
    values.reserve(r.size());
    for (size_t i = 0; i < r.size(); ++i) {
        if (!std::isfinite(r[i])) continue;
        lags.push_back(static_cast<double>(i));
        values.push_back(r[i]);
    }
    // Red bars, the first colour of a chart of the earlier program.
    addBars(lags, values, "", 0x0000FF, 0.8);
}

std::vector<double> CorrelationChart::coefficients() const {
    std::vector<double> out;
    for (int b = 0; b < barsCount(); ++b) {
        for (auto it = barsAt(b)->data()->constBegin(); it != barsAt(b)->data()->constEnd(); ++it) {
            const auto lag = static_cast<size_t>(it->key);
            if (out.size() <= lag) out.resize(lag + 1, std::numeric_limits<double>::quiet_NaN());
            out[lag] = it->value;
        }
    }
    return out;
}
