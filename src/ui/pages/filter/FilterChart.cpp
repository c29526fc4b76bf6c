#include "ui/pages/filter/FilterChart.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <utility>

// Paints the limit lines and their letters above the graphs and the axes.
class LimitLinesLayerable : public QCPLayerable {
public:
    LimitLinesLayerable(FilterChart* chart, const QString& layer) : QCPLayerable(chart, layer), chart_(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override { painter->setAntialiasing(false); }
    QRect clipRect() const override { return mParentPlot->viewport(); }
    void draw(QCPPainter* painter) override { chart_->Chart1AfterDraw(painter); }

private:
    FilterChart* chart_;
};

FilterChart::FilterChart(QWidget* parent) : SeriesChart(parent) {
    addLayer(QStringLiteral("limits"), layer(QStringLiteral("axes")), QCustomPlot::limAbove);
    lines_ = new LimitLinesLayerable(this, QStringLiteral("limits"));
    // Room left of the value labels for the letters.
    yAxis->setPadding(QFontMetrics(font()).horizontalAdvance(QStringLiteral("H")) + 15);
}

std::optional<double> FilterChart::valuePixel(double value) const {
    if (!std::isfinite(value)) return std::nullopt;
    const double y = yAxis->coordToPixel(value);
    const QRect plot = axisRect()->rect();
    if (!std::isfinite(y) || y < plot.top() || y > plot.bottom()) return std::nullopt;
    return y;
}

void FilterChart::Chart1AfterDraw(QCPPainter* painter) {
    drawn_.clear();
    if (!limits) return;
    const auto stored = limits();
    if (!stored) return;
    const QRect plot = axisRect()->rect();
    const QFontMetrics labelMetrics(yAxis->tickLabelFont());
    int widestLabel = 0;
    if (yAxis->tickLabels())
        for (const QString& label : yAxis->tickVectorLabels())
            widestLabel = std::max(widestLabel, labelMetrics.horizontalAdvance(label));
    const QFontMetrics letterMetrics(font());
    painter->setPen(QPen(Qt::black, 2));
    painter->setFont(font());
    const std::pair<double, char> lines[2] = {{stored->high, 'H'}, {stored->low, 'L'}};
    for (const auto& [value, letter] : lines) {
        const auto y = valuePixel(value);
        if (!y) continue;
        painter->drawLine(QLineF(plot.left(), *y, plot.right(), *y));
        const QString text = QString(QLatin1Char(letter));
        const int width = letterMetrics.horizontalAdvance(text);
        const double x = plot.left() - width - widestLabel - 15;
        painter->drawText(QPointF(x, *y + (letterMetrics.ascent() - letterMetrics.descent()) / 2.0), text);
        drawn_.push_back({letter, *y, x});
    }
}
