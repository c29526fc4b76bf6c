#include "ui/charts/FragmentChart.h"

#include <cmath>

#include "numerics/Formatters.h"

namespace {

// Left-axis labels in the current series' own units; the ticks stay on the display band.
class ScaledTicker : public QCPAxisTicker {
public:
    explicit ScaledTicker(const TFragmentChart* chart) : chart_(chart) {}

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override {
        if (chart_->curSeries() < 0 || chart_->curSeries() >= chart_->scale().count())
            return QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision);
        return QString::fromStdString(chart_->leftAxisLabel(tick));
    }

private:
    const TFragmentChart* chart_;
};

}  // namespace

TFragmentChart::TFragmentChart(QWidget* parent) : TSmartChart(parent) {
    leftAxisState().setMinMax(scale_.minT, scale_.maxT);
    yAxis->setTicker(QSharedPointer<ScaledTicker>::create(this));
}

std::string TFragmentChart::leftAxisLabel(double v) const {
    const int i = scale_.curSeries;
    if (i < 0 || i >= scale_.count()) return formatNumber(v);
    double data = scale_.toData(i, v);
    // Ticks on the band come out with rounding noise once mapped back; drop it.
    const double step = std::fabs(1.0 / scale_.k[static_cast<size_t>(i)]) * 1e-9;
    if (std::fabs(data) < step) data = 0;
    return formatNumber(data);
}

bool TFragmentChart::addKoeff(double max, double min) {
    if (scale_.count() != seriesCount() - 1) return false;
    const int i = scale_.addKoeff(max, min);
    setSeriesValueMap(i, {scale_.k[static_cast<size_t>(i)], scale_.c[static_cast<size_t>(i)]});
    changeCurSeries(i);
    return true;
}

bool TFragmentChart::calcNewValue(int i, double newMax, double newMin) {
    if (i >= seriesCount()) return false;
    if (!scale_.calcNewValue(i, newMax, newMin)) return false;
    setSeriesValueMap(i, {scale_.k[static_cast<size_t>(i)], scale_.c[static_cast<size_t>(i)]});
    requestReplot();
    return true;
}

void TFragmentChart::changeCurSeries(int i) {
    if (i < 0 || i >= seriesCount()) return;
    scale_.changeCurSeries(i);
    for (int j = 0; j < seriesCount(); ++j) setSeriesPenWidth(j, 2);
    setSeriesPenWidth(i, 4);
    setSeriesVisible(i, true);
    requestReplot();
}

void TFragmentChart::clearKoeff() { scale_.clearKoeff(); }

void TFragmentChart::unzoom() {
    bottomAxisState().setAutomatic(true);
    leftAxisState().setMinMax(scale_.minT, scale_.maxT);
    requestReplot();
    emit zoomed();
}
