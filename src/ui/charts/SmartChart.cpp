#include "ui/charts/SmartChart.h"

#include <QMouseEvent>
#include <cmath>

// Draws the bands of all painted fragments that reach into the visible time range, in
// list order (later over earlier), on a layer below the grid and the graphs.
class FragmentBandsLayerable : public QCPLayerable {
public:
    FragmentBandsLayerable(TSmartChart* chart, const QString& layer) : QCPLayerable(chart, layer), chart_(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override { painter->setAntialiasing(false); }
    QRect clipRect() const override { return mParentPlot->viewport(); }
    void draw(QCPPainter* painter) override {
        if (chart_->numOfFragments() == 0 || chart_->activeSeriesCount() == 0) return;
        const TAxisRange r = chart_->bottomRange();
        const QRect vp = mParentPlot->viewport();
        const int top = vp.top() + TSmartChart::kBandTop;
        const int bottom = vp.top() + vp.height() - TSmartChart::kBandBottomMargin;
        painter->setPen(QPen(Qt::black, 1));
        for (const TFragment& f : chart_->fragments()) {
            double left = 0, right = 0;
            if (!fragmentBand(f, r.lower, r.upper, left, right)) continue;
            const int x1 = static_cast<int>(std::lround(chart_->bottomPixelOf(left)));
            const int x2 = static_cast<int>(std::lround(chart_->bottomPixelOf(right)));
            painter->setBrush(colorFromBGR(f.color));
            // A 1-pixel outline on the rectangle's edge: rows top and bottom, columns x1 and x2.
            painter->drawRect(QRect(std::min(x1, x2), top, std::abs(x2 - x1), bottom - top));
        }
    }

private:
    TSmartChart* chart_;
};

TSmartChart::TSmartChart(QWidget* parent) : SeriesChart(parent) {
    setZoomEnabled(false);
    setZoomPenColor(0x008000);
    setBackground(Qt::white);
    leftAxisState().minimumOffset = 40;
    leftAxisState().maximumOffset = 40;
    addLayer(QStringLiteral("fragments"), layer(QStringLiteral("background")), QCustomPlot::limAbove);
    bands_ = new FragmentBandsLayerable(this, QStringLiteral("fragments"));
    list_.OnChangeFragments = [this] { emit OnChangeFragments(); };
    list_.OnRepaint = [this] { requestReplot(); };
}

TSmartChart::~TSmartChart() {
    list_.OnChangeFragments = nullptr;
    list_.OnRepaint = nullptr;
}

void TSmartChart::clear() {
    delAllFragment();
    clearSeries();
    requestReplot();
}

void TSmartChart::feedMouse(QMouseEvent* event, bool press) {
    TMouseButton button = TMouseButton::Middle;
    if (event->button() == Qt::LeftButton) button = TMouseButton::Left;
    else if (event->button() == Qt::RightButton) button = TMouseButton::Right;
    const TAxisRange r = bottomRange();
    const double x = bottomValueAt(event->position().x());
    if (press)
        list_.chartMouseDown(button, seriesCount() > 0, x, r.lower, r.upper);
    else
        list_.chartMouseUp(button, seriesCount() > 0, x, r.lower, r.upper);
    if (list_.cursor == kCursorHSplit) setCursor(Qt::SplitHCursor);
    else unsetCursor();
}

void TSmartChart::mousePressEvent(QMouseEvent* event) {
    SeriesChart::mousePressEvent(event);
    feedMouse(event, true);
}

void TSmartChart::mouseReleaseEvent(QMouseEvent* event) {
    SeriesChart::mouseReleaseEvent(event);
    feedMouse(event, false);
}
