#pragma once
// A result chart of the correlation pages: correlation coefficients as bars over the lags
// 0, 1, 2, ... under a title, without a legend.
#include <string>
#include <vector>

#include "ui/charts/SeriesChart.h"

class QCPTextElement;

class CorrelationChart : public SeriesChart {
    Q_OBJECT
public:
    CorrelationChart(const QString& objectName, const QString& title, QWidget* parent = nullptr);

    QString title() const;
    void setTitle(const QString& title);
    // Replaces the bars by one bar per coefficient, at its lag; a coefficient that is not a
    // number (undefined at that lag) gets no bar.
    void showCoefficients(const std::vector<double>& r);
    // The coefficients shown, by lag (NaN where no bar stands).
    std::vector<double> coefficients() const;

private:
    QCPTextElement* title_ = nullptr;
};
