#include "ui/charts/LodGraph.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

void LodGraph::rebuildLevels() {
    levels_.clear();
    const auto d = data();
    const int n = d->size();
    dataSize_ = n;
    const auto first = d->constBegin();
    // Level 1 from the points, every further level from the one below.
    int size = kBlockFactor;
    while (size < n) {
        Level lv;
        lv.size = size;
        const size_t blocks = static_cast<size_t>((n + size - 1) / size);
        lv.minV.assign(blocks, std::numeric_limits<double>::infinity());
        lv.maxV.assign(blocks, -std::numeric_limits<double>::infinity());
        if (levels_.empty()) {
            for (int j = 0; j < n; ++j) {
                const double v = (first + j)->value;
                if (std::isnan(v)) continue;
                const size_t b = static_cast<size_t>(j / size);
                if (v < lv.minV[b]) lv.minV[b] = v;
                if (v > lv.maxV[b]) lv.maxV[b] = v;
            }
        } else {
            const Level& below = levels_.back();
            for (size_t j = 0; j < below.minV.size(); ++j) {
                const size_t b = j / kBlockFactor;
                lv.minV[b] = std::min(lv.minV[b], below.minV[j]);
                lv.maxV[b] = std::max(lv.maxV[b], below.maxV[j]);
            }
        }
        levels_.push_back(std::move(lv));
        if (size > std::numeric_limits<int>::max() / kBlockFactor) break;
        size *= kBlockFactor;
    }
}

std::vector<LodGraph::Column> LodGraph::denseColumns(int from, int to) const {
    std::vector<Column> cols;
    const QCPAxis* keyAxis = mKeyAxis.data();
    const auto d = data();
    if (!keyAxis || dataSize_ != d->size() || from < 0 || to > d->size() || keyAxis->range().size() <= 0)
        return cols;
    const int count = to - from;
    const double p0 = keyAxis->coordToPixel(keyAxis->range().lower);
    const double p1 = keyAxis->coordToPixel(keyAxis->range().upper);
    const double pixels = std::abs(p1 - p0);
    if (pixels < 1.0 || count <= 2 * pixels) return cols;
    // The coarsest blocks that still put two or more blocks in a column.
    const Level* level = nullptr;
    for (const Level& lv : levels_)
        if (lv.size * 2.0 * pixels <= count) level = &lv;
    const double scale = (p1 - p0) / keyAxis->range().size();
    const double lower = keyAxis->range().lower;
    cols.reserve(static_cast<size_t>(pixels) + 4);
    long long column = std::numeric_limits<long long>::min();
    auto take = [&](double key, double first, double last, double lo, double hi) {
        const auto c = static_cast<long long>(std::floor((key - lower) * scale));
        if (c != column || cols.empty()) {
            column = c;
            cols.push_back({key, first, last, lo, hi});
            return;
        }
        Column& col = cols.back();
        if (std::isnan(col.first)) col.first = first;
        if (!std::isnan(last)) col.last = last;
        col.min = std::min(col.min, lo);
        col.max = std::max(col.max, hi);
    };
    const auto at = d->constBegin();
    auto takePoint = [&](int j) {
        const double v = (at + j)->value;
        if (std::isnan(v)) take((at + j)->key, kNaN, kNaN, INFINITY, -INFINITY);
        else take((at + j)->key, v, v, v, v);
    };
    int j = from;
    if (level) {
        const int size = level->size;
        for (; j < to && j % size != 0; ++j) takePoint(j);
        for (; j + size <= to; j += size) {
            const size_t b = static_cast<size_t>(j / size);
            take((at + j)->key, (at + j)->value, (at + j + size - 1)->value, level->minV[b], level->maxV[b]);
        }
    }
    for (; j < to; ++j) takePoint(j);
    return cols;
}

void LodGraph::draw(QCPPainter* painter) {
    QCPAxis* keyAxis = mKeyAxis.data();
    QCPAxis* valueAxis = mValueAxis.data();
    const auto d = data();
    const bool plain = keyAxis && valueAxis && keyAxis->orientation() == Qt::Horizontal && mLineStyle == lsLine &&
                       mScatterStyle.isNone() && selection().isEmpty() && mBrush.style() == Qt::NoBrush &&
                       mPen.style() == Qt::SolidLine && !d->isEmpty();
    if (!plain) {
        QCPGraph::draw(painter);
        return;
    }
    // Visible points with one more on either side, as the graph itself takes them.
    auto begin = d->findBegin(keyAxis->range().lower);
    auto end = d->findEnd(keyAxis->range().upper);
    const std::vector<Column> cols = denseColumns(static_cast<int>(begin - d->constBegin()),
                                                  static_cast<int>(end - d->constBegin()));
    if (cols.empty()) {
        QCPGraph::draw(painter);
        return;
    }
    const double w = std::max(1.0, mPen.widthF());
    const QColor color = mPen.color();
    painter->setAntialiasing(false);
    double prevLast = kNaN;
    for (const Column& c : cols) {
        if (c.min > c.max) {  // only gaps in this column: the line breaks
            prevLast = kNaN;
            continue;
        }
        double lo = c.min, hi = c.max;
        if (!std::isnan(prevLast)) {
            lo = std::min(lo, prevLast);
            hi = std::max(hi, prevLast);
        }
        prevLast = std::isnan(c.last) ? c.max : c.last;
        const double x = keyAxis->coordToPixel(c.key);
        const double yTop = valueAxis->coordToPixel(hi);
        const double yBottom = valueAxis->coordToPixel(lo);
        painter->fillRect(QRectF(x - w / 2, std::min(yTop, yBottom) - w / 2, w, std::abs(yBottom - yTop) + w), color);
    }
}

void LodGraph::getOptimizedLineData(QVector<QCPGraphData>* lineData, const QCPGraphDataContainer::const_iterator& begin,
                                    const QCPGraphDataContainer::const_iterator& end) const {
    if (!lineData) return;
    const auto d = data();
    const std::vector<Column> cols =
        mAdaptiveSampling ? denseColumns(static_cast<int>(begin - d->constBegin()), static_cast<int>(end - d->constBegin()))
                          : std::vector<Column>();
    if (cols.empty()) {
        QCPGraph::getOptimizedLineData(lineData, begin, end);
        return;
    }
    lineData->clear();
    lineData->reserve(static_cast<qsizetype>(cols.size() * 4));
    for (const Column& c : cols) {
        if (c.min > c.max) {
            lineData->append(QCPGraphData(c.key, kNaN));  // a gap
            continue;
        }
        lineData->append(QCPGraphData(c.key, std::isnan(c.first) ? c.min : c.first));
        lineData->append(QCPGraphData(c.key, c.min));
        lineData->append(QCPGraphData(c.key, c.max));
        lineData->append(QCPGraphData(c.key, std::isnan(c.last) ? c.max : c.last));
    }
}
