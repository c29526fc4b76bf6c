#include "ui/charts/SmartChart.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <utility>

void drawBands(QPainter& painter, const std::vector<TBandPixels>& bands, int top, int bottom, int left, int right) {
    if (bands.empty() || right < left || bottom < top) return;
    const int width = right - left + 1;
    // Walking the bands from the last drawn back, each column goes to the first band that
    // reaches it; `next` skips the columns already given away, so each is visited once.
    std::vector<int> owner(static_cast<size_t>(width), -1);
    std::vector<char> edge(static_cast<size_t>(width), 0);
    std::vector<int> next(static_cast<size_t>(width) + 1);
    for (int c = 0; c <= width; ++c) next[static_cast<size_t>(c)] = c;
    auto freeFrom = [&next](int c) {
        int root = c;
        while (next[static_cast<size_t>(root)] != root) root = next[static_cast<size_t>(root)];
        while (next[static_cast<size_t>(c)] != root) c = std::exchange(next[static_cast<size_t>(c)], root);
        return root;
    };
    for (size_t k = bands.size(); k-- > 0;) {
        const TBandPixels& b = bands[k];
        const int x1 = std::max(std::min(b.x1, b.x2), left) - left;
        const int x2 = std::min(std::max(b.x1, b.x2), right) - left;
        if (x1 > x2) continue;
        for (int c = freeFrom(x1); c <= x2; c = freeFrom(c + 1)) {
            owner[static_cast<size_t>(c)] = static_cast<int>(k);
            edge[static_cast<size_t>(c)] = c + left == std::min(b.x1, b.x2) || c + left == std::max(b.x1, b.x2);
            next[static_cast<size_t>(c)] = c + 1;
        }
    }
    // Neighbouring columns that look alike are drawn as one: outline columns black from top
    // to bottom, the others in their band's colour between a black top and bottom row.
    const QColor black(Qt::black);
    for (int c = 0; c < width;) {
        const int k = owner[static_cast<size_t>(c)];
        if (k < 0) {
            ++c;
            continue;
        }
        const bool isEdge = edge[static_cast<size_t>(c)];
        const QRgb fill = bands[static_cast<size_t>(k)].fill.rgba();
        int end = c + 1;
        while (end < width && owner[static_cast<size_t>(end)] >= 0 && bool(edge[static_cast<size_t>(end)]) == isEdge &&
               (isEdge || bands[static_cast<size_t>(owner[static_cast<size_t>(end)])].fill.rgba() == fill))
            ++end;
        const int x = left + c, w = end - c;
        if (isEdge) {
            painter.fillRect(x, top, w, bottom - top + 1, black);
        } else {
            painter.fillRect(x, top, w, 1, black);
            painter.fillRect(x, bottom, w, 1, black);
            if (bottom - top > 1) painter.fillRect(x, top + 1, w, bottom - top - 1, QColor::fromRgba(fill));
        }
        c = end;
    }
}

// Draws the bands of all painted fragments that reach into the visible time range, on a
// layer below the grid and the graphs: later over earlier, and bad ones over all others,
// since the data leave a bad interval out wherever good ones cover it.
class FragmentBandsLayerable : public QCPLayerable {
public:
    FragmentBandsLayerable(TSmartChart* chart, const QString& layer) : QCPLayerable(chart, layer), chart_(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override { painter->setAntialiasing(false); }
    QRect clipRect() const override { return mParentPlot->viewport(); }
    void draw(QCPPainter* painter) override {
        const arrayOfFragment& all = chart_->fragments();
        if (all.empty()) return;
        const TAxisRange r = chart_->bottomRange();
        const QRect vp = mParentPlot->viewport();
        std::vector<TBandPixels> bands;
        for (const bool bad : {false, true}) {
            for (const TFragment& f : all) {
                double left = 0, right = 0;
                if ((f.typeOfFragments() == 0) != bad || !fragmentBand(f, r.lower, r.upper, left, right)) continue;
                bands.push_back({static_cast<int>(std::lround(chart_->bottomPixelOf(left))),
                                 static_cast<int>(std::lround(chart_->bottomPixelOf(right))), colorFromBGR(f.color)});
            }
        }
        drawBands(*painter, bands, vp.top() + TSmartChart::kBandTop,
                  vp.top() + vp.height() - TSmartChart::kBandBottomMargin, vp.left(), vp.right());
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
    list_.OnChangeFragments = [this] {
        span_.reset();
        emit OnChangeFragments();
    };
    list_.OnRepaint = [this] {
        span_.reset();
        requestReplot();
    };
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

std::optional<TAxisRange> TSmartChart::bottomExtentWithoutData() const {
    if (!span_) {
        std::optional<TAxisRange> span;
        for (const TFragment& f : list_.fragments) {
            if (!f.paint) continue;
            const double a = static_cast<double>(std::min(f.startPoint, f.endPoint));
            const double b = static_cast<double>(std::max(f.startPoint, f.endPoint));
            if (!std::isfinite(a) || !std::isfinite(b)) continue;
            if (!span) span = TAxisRange{a, b};
            span->lower = std::min(span->lower, a);
            span->upper = std::max(span->upper, b);
        }
        // A little room either side, so that the outer bands are not cut by the axis ends.
        if (span) {
            const double room = (span->upper - span->lower) * 0.02;
            span = TAxisRange{span->lower - room, span->upper + room};
        }
        span_ = span;
    }
    return *span_;
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
