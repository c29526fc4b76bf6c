#include "ui/charts/SeriesChart.h"

#include "ui/charts/LodGraph.h"
#include "ui/charts/TimeAxisTicker.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QTimeZone>
#include <algorithm>
#include <cmath>

namespace {

// A legend entry with an optional check box in front of the usual icon and name.
class CheckLegendItem : public QCPPlottableLegendItem {
public:
    static constexpr int kBoxWidth = 16;

    CheckLegendItem(QCPLegend* legend, QCPAbstractPlottable* plottable, bool checkBox)
        : QCPPlottableLegendItem(legend, plottable), checkBox_(checkBox) {}

protected:
    void draw(QCPPainter* painter) override {
        if (!checkBox_) {
            QCPPlottableLegendItem::draw(painter);
            return;
        }
        // The base item draws icon and name at the top of its rectangle, one line high.
        const int side = 11;
        const int line = std::max(QFontMetrics(getFont()).height(), mParentLegend->iconSize().height());
        const QRect box(mRect.left() + 1, mRect.top() + (line - side) / 2, side, side);
        painter->save();
        painter->setPen(QPen(Qt::black, 1));
        painter->setBrush(Qt::white);
        painter->drawRect(box);
        if (mPlottable->visible()) {
            QPen tick(Qt::black, 2);
            painter->setPen(tick);
            painter->drawLine(QPointF(box.left() + 2.5, box.center().y() + 0.5),
                              QPointF(box.left() + 4.5, box.bottom() - 2.5));
            painter->drawLine(QPointF(box.left() + 4.5, box.bottom() - 2.5),
                              QPointF(box.right() - 2.0, box.top() + 2.5));
        }
        painter->restore();
        painter->save();
        painter->translate(kBoxWidth, 0);
        QCPPlottableLegendItem::draw(painter);
        painter->restore();
    }
    QSize minimumOuterSizeHint() const override {
        QSize s = QCPPlottableLegendItem::minimumOuterSizeHint();
        if (checkBox_) s.rwidth() += kBoxWidth;
        return s;
    }

private:
    bool checkBox_;
};

void mergeRange(std::optional<TAxisRange>& into, const std::optional<TAxisRange>& r) {
    if (!r) return;
    if (!into) {
        into = r;
        return;
    }
    into->lower = std::min(into->lower, r->lower);
    into->upper = std::max(into->upper, r->upper);
}

bool sameRange(const QCPRange& a, const TAxisRange& b) {
    const double tol = 1e-12 * std::max({1.0, std::fabs(b.lower), std::fabs(b.upper)});
    return std::fabs(a.lower - b.lower) <= tol && std::fabs(a.upper - b.upper) <= tol;
}

}  // namespace

SeriesChart::SeriesChart(QWidget* parent) : QCustomPlot(parent) {
    setAutoAddPlottableToLegend(false);
    setNoAntialiasingOnDrag(true);
    setPlottingHint(QCP::phCacheLabels, true);
    // Thick polylines through many points are stroked very slowly by the raster engine;
    // separate segments are fast and keep the gaps of null points.
    setPlottingHint(QCP::phFastPolylines, true);
    setBackground(Qt::white);
    legend->setVisible(true);
    legend->setIconSize(QSize(24, 12));
    legend->setRowSpacing(0);
    xAxis->grid()->setVisible(true);
    yAxis->grid()->setVisible(true);
    axisRect()->setRangeZoom(Qt::Orientations());
    axisRect()->setRangeDrag(Qt::Orientations());
    selectionRect()->setPen(QPen(QColor(0, 128, 0)));
    setSelectionRectMode(QCP::srmNone);
    connect(this, &QCustomPlot::legendClick, this, &SeriesChart::onLegendClick);
}

SeriesChart::~SeriesChart() = default;

int SeriesChart::indexOfGraph(const QCPAbstractPlottable* plottable) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].graph == plottable) return static_cast<int>(i);
    return -1;
}

int SeriesChart::addSeries(const TStatisticSeries& s) {
    Entry e;
    e.data = std::make_unique<TStatisticSeries>();
    e.data->Assign(s);
    e.graph = new LodGraph(xAxis, yAxis);
    entries_.push_back(std::move(e));
    const int i = seriesCount() - 1;
    refreshSeries(i);
    rebuildLegend();
    return i;
}

void SeriesChart::setSeries(int i, const TStatisticSeries& s) {
    entries_.at(static_cast<size_t>(i)).data->Assign(s);
    refreshSeries(i);
    rebuildLegend();
}

void SeriesChart::computeExtents(Entry& e) {
    const auto& xs = e.data->XValues();
    const auto& ys = e.data->YValues();
    const auto& nulls = e.data->NullFlags();
    e.keys.reset();
    e.values.reset();
    double kmin = INFINITY, kmax = -INFINITY, vmin = INFINITY, vmax = -INFINITY;
    for (size_t j = 0; j < xs.size(); ++j) {
        if (std::isfinite(xs[j])) {
            kmin = std::min(kmin, xs[j]);
            kmax = std::max(kmax, xs[j]);
        }
        if (j < nulls.size() && nulls[j]) continue;
        const double v = ys[j] * e.map.k + e.map.c;
        if (!std::isfinite(v)) continue;
        vmin = std::min(vmin, v);
        vmax = std::max(vmax, v);
    }
    if (kmin <= kmax) e.keys = TAxisRange{toKeyUnits(kmin), toKeyUnits(kmax)};
    if (vmin <= vmax) e.values = TAxisRange{vmin, vmax};
}

void SeriesChart::refreshSeries(int i) {
    Entry& e = entries_.at(static_cast<size_t>(i));
    fillGraphData(e.graph, *e.data, dateTime_, e.map);
    if (auto* lod = qobject_cast<LodGraph*>(e.graph)) lod->rebuildLevels();
    computeExtents(e);
    styleGraph(static_cast<size_t>(i));
}

void SeriesChart::styleGraph(size_t i) {
    Entry& e = entries_[i];
    const TStatisticSeries& s = *e.data;
    QColor color = colorFromBGR(s.color);
    if (!color.isValid()) {
        // The chart chooses: a fixed cycle of well separated colours.
        static const QColor cycle[] = {QColor(255, 0, 0),   QColor(0, 128, 0),   QColor(255, 255, 0) .darker(130),
                                       QColor(0, 0, 255),   QColor(255, 255, 255).darker(200), QColor(128, 0, 128),
                                       QColor(0, 128, 128), QColor(255, 128, 0), QColor(128, 64, 0),
                                       QColor(0, 0, 0)};
        color = cycle[i % (sizeof cycle / sizeof cycle[0])];
    }
    QPen pen(color, std::max(1, s.penWidth));
    pen.setCapStyle(Qt::FlatCap);
    e.graph->setPen(pen);
    e.graph->setName(QString::fromStdString(s.Title));
    e.graph->setLineStyle(s.stairs ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
    if (s.pointerVisible)
        e.graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, color, color, std::max(2, 2 * s.pointerSize + 1)));
    else
        e.graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    e.graph->setAdaptiveSampling(true);
    e.graph->setAntialiased(s.Count() <= kAntialiasLimit);
    e.graph->setAntialiasedScatters(s.Count() <= kAntialiasLimit);
    requestReplot();
}

void SeriesChart::removeSeries(int i) {
    const auto it = entries_.begin() + i;
    removeGraph(it->graph);
    entries_.erase(it);
    rebuildLegend();
    requestReplot();
}

void SeriesChart::clearSeries() {
    for (auto& e : entries_) removeGraph(e.graph);
    entries_.clear();
    rebuildLegend();
    requestReplot();
}

void SeriesChart::setSeriesTitle(int i, const std::string& title) {
    entries_.at(static_cast<size_t>(i)).data->Title = title;
    styleGraph(static_cast<size_t>(i));
}

void SeriesChart::setSeriesColor(int i, int32_t bgr) {
    entries_.at(static_cast<size_t>(i)).data->color = bgr;
    styleGraph(static_cast<size_t>(i));
}

void SeriesChart::setSeriesPenWidth(int i, int width) {
    entries_.at(static_cast<size_t>(i)).data->penWidth = width;
    styleGraph(static_cast<size_t>(i));
}

bool SeriesChart::seriesVisible(int i) const { return entries_.at(static_cast<size_t>(i)).graph->visible(); }

void SeriesChart::setSeriesVisible(int i, bool visible) {
    Entry& e = entries_.at(static_cast<size_t>(i));
    if (e.graph->visible() == visible) return;
    e.graph->setVisible(visible);
    requestReplot();
    emit seriesVisibilityChanged(i, visible);
}

int SeriesChart::activeSeriesCount() const {
    int n = 0;
    for (const auto& e : entries_) n += e.graph->visible() ? 1 : 0;
    return n;
}

void SeriesChart::setMarkersVisible(bool visible) {
    markersVisible_ = visible;
    for (size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].data->pointerVisible = visible;
        styleGraph(i);
    }
}

void SeriesChart::setSeriesValueMap(int i, ValueMap map) {
    entries_.at(static_cast<size_t>(i)).map = map;
    refreshSeries(i);
}

int SeriesChart::addBars(const std::vector<double>& x, const std::vector<double>& y, const std::string& title,
                         int32_t bgr, double width) {
    auto* b = new QCPBars(xAxis, yAxis);
    QVector<double> keys(x.begin(), x.end());
    QVector<double> values(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(std::min(x.size(), y.size())));
    keys.resize(values.size());
    b->setData(keys, values);
    b->setWidth(width);
    b->setName(QString::fromStdString(title));
    QColor c = colorFromBGR(bgr);
    if (!c.isValid()) c = QColor(0, 0, 255);
    b->setPen(QPen(c.darker(130)));
    b->setBrush(c);
    bars_.push_back(b);
    rebuildLegend();
    requestReplot();
    return barsCount() - 1;
}

void SeriesChart::clearBars() {
    for (auto* b : bars_) removePlottable(b);
    bars_.clear();
    rebuildLegend();
    requestReplot();
}

void SeriesChart::setBottomDateTime(const std::string& pattern) {
    const bool changed = !dateTime_;
    dateTime_ = true;
    pattern_ = pattern;
    timeTicker_ = QSharedPointer<TimeAxisTicker>::create();
    timeTicker_->setPattern(qtDateTimeFormat(pattern));
    timeTicker_->setTimeZone(QTimeZone::utc());
    xAxis->setTicker(timeTicker_);
    if (changed)
        for (int i = 0; i < seriesCount(); ++i) refreshSeries(i);
}

void SeriesChart::setBottomEndLabels(bool on) {
    endLabels_ = on;
    if (!on) {
        axisRect()->setMinimumMargins(QMargins());
        if (timeTicker_) timeTicker_->setEnds(std::nullopt);
    }
    requestReplot();
}

TAxisRange SeriesChart::bottomRange() const {
    const QCPRange r = xAxis->range();
    return {fromKeyUnits(r.lower), fromKeyUnits(r.upper)};
}

TAxisRange SeriesChart::leftRange() const {
    const QCPRange r = yAxis->range();
    return {r.lower, r.upper};
}

double SeriesChart::bottomValueAt(double pixelX) const { return fromKeyUnits(xAxis->pixelToCoord(pixelX)); }

double SeriesChart::bottomPixelOf(double value) const { return xAxis->coordToPixel(toKeyUnits(value)); }

void SeriesChart::updateRanges() {
    if (plotLayout()) plotLayout()->setOuterRect(viewport());
    updateLayout();
}

void SeriesChart::updateLayout() {
    if (inLayout_) {
        QCustomPlot::updateLayout();
        return;
    }
    inLayout_ = true;
    prepareAxes();
    QCustomPlot::updateLayout();
    // Ranges depend on the axis length in pixels (margins), and the spacing of the date
    // labels on the ranges and lengths; both are known only after a layout. Lay out again
    // until they agree: once in the usual case, twice at most.
    for (int pass = 0; pass < 2; ++pass) {
        const bool ranges = applyAxisRanges();
        const bool axes = prepareAxes();
        if (!ranges && !axes) break;
        QCustomPlot::updateLayout();
    }
    inLayout_ = false;
}

bool SeriesChart::bottomHasContent() const {
    std::optional<TAxisRange> keys, values;
    dataExtents(keys, values);
    // Without data an automatic axis falls back to the placeholder 0..1; any other ends were
    // given it by something the chart shows.
    return keys.has_value() || !(bottomEnds() == axisEnds(bottom_, std::nullopt));
}

bool SeriesChart::prepareAxes() {
    bool changed = false;
    // No labels on an axis with nothing to label: an empty chart would otherwise show the
    // placeholder range 0..1 (1 January 1970 on a date axis).
    std::optional<TAxisRange> keys, values;
    dataExtents(keys, values);
    const bool labels[2] = {bottomHasContent(), values.has_value()};
    QCPAxis* axes[2] = {xAxis, yAxis};
    for (int a = 0; a < 2; ++a) {
        if (axes[a]->tickLabels() == labels[a]) continue;
        axes[a]->setTickLabels(labels[a]);
        changed = true;
    }
    if (!timeTicker_) return changed;
    // Sample of the widest date label of the pattern.
    static const QDateTime sample(QDate(1988, 8, 28), QTime(18, 58, 58, 888), QTimeZone::utc());
    const QFontMetrics fm(xAxis->tickLabelFont());
    const QRect plot = axisRect()->rect(), view = viewport();
    TimeAxisTicker::Geometry g;
    g.length = plot.width();
    g.roomBefore = plot.left() - view.left();
    g.roomAfter = view.right() - plot.right();
    g.labelWidth = fm.horizontalAdvance(locale().toString(sample, timeTicker_->dateTimeFormat()));
    g.gap = fm.height();
    if (!(g == timeTicker_->geometry())) {
        timeTicker_->setGeometry(g);
        changed = true;
    }
    if (endLabels_) {
        // Room beside the plot for the outer halves of the end labels.
        const int half = static_cast<int>(std::ceil(g.labelWidth / 2)) + 2;
        const QMargins room(std::max(0, half - bottom_.minimumOffset), 0, std::max(0, half - bottom_.maximumOffset), 0);
        if (axisRect()->minimumMargins() != room) {
            axisRect()->setMinimumMargins(room);
            changed = true;
        }
    }
    return changed;
}

void SeriesChart::dataExtents(std::optional<TAxisRange>& keys, std::optional<TAxisRange>& values) const {
    for (const auto& e : entries_) {
        if (!e.graph->visible()) continue;
        mergeRange(keys, e.keys);
        mergeRange(values, e.values);
    }
    for (auto* b : bars_) {
        if (!b->visible() || b->data()->isEmpty()) continue;
        bool found = false;
        const QCPRange kr = b->getKeyRange(found);
        if (found) mergeRange(keys, TAxisRange{kr.lower, kr.upper});  // already includes the bar widths
        const QCPRange vr = b->getValueRange(found);
        if (found) mergeRange(values, TAxisRange{std::min(0.0, vr.lower), std::max(0.0, vr.upper)});
    }
}

TAxisRange SeriesChart::bottomEnds() const {
    std::optional<TAxisRange> keys, values;
    dataExtents(keys, values);
    // Worked in the state's own units, so fixed ends come back exactly as they were set.
    if (keys) keys = TAxisRange{fromKeyUnits(keys->lower), fromKeyUnits(keys->upper)};
    else keys = bottomExtentWithoutData();
    if (dateTime_) {
        // A single instant, of the data or of equal fixed ends, is shown one hour either side
        // (axisEnds would add a whole day).
        const double lo = bottom_.minimumIsAutomatic() ? (keys ? keys->lower : 0.0) : bottom_.minimum;
        const double hi = bottom_.maximumIsAutomatic() ? (keys ? keys->upper : 1.0) : bottom_.maximum;
        if (std::isfinite(lo) && std::isfinite(hi) && !(hi > lo)) return {lo - 1.0 / 24, lo + 1.0 / 24};
    }
    return axisEnds(bottom_, keys);
}

TAxisRange SeriesChart::leftEnds() const {
    std::optional<TAxisRange> keys, values;
    dataExtents(keys, values);
    return axisEnds(left_, values);
}

bool SeriesChart::applyAxisRanges() {
    std::optional<TAxisRange> keys, values;
    dataExtents(keys, values);
    // The time axis shows what bottomEnds reports, whatever zoom or scroll set it.
    const TAxisRange ends = bottomEnds();
    TChartAxisState bottom = bottom_;
    bottom.setMinMax(toKeyUnits(ends.lower), toKeyUnits(ends.upper));
    const TAxisRange kr = visibleAxisRange(bottom, std::nullopt, axisRect()->width());
    const TAxisRange vr = visibleAxisRange(left_, values, axisRect()->height());
    bool changed = false;
    if (!sameRange(xAxis->range(), kr)) {
        xAxis->setRange(kr.lower, kr.upper);
        changed = true;
    }
    if (!sameRange(yAxis->range(), vr)) {
        yAxis->setRange(vr.lower, vr.upper);
        changed = true;
    }
    if (timeTicker_ && endLabels_) {
        // The ends of the shown data (or of a zoom) get labels of their own.
        std::optional<QCPRange> labelled;
        if (keys) {
            const TAxisRange e = bottomEnds();
            labelled = QCPRange(toKeyUnits(e.lower), toKeyUnits(e.upper));
        }
        if (labelled != timeTicker_->ends()) {
            timeTicker_->setEnds(labelled);
            changed = true;
        }
    }
    return changed;
}

void SeriesChart::rebuildLegend() {
    legend->clearItems();
    for (const auto& e : entries_) legend->addItem(new CheckLegendItem(legend, e.graph, legendCheckBoxes_));
    for (auto* b : bars_) legend->addItem(new CheckLegendItem(legend, b, legendCheckBoxes_));
    // An empty legend would be an empty box.
    legend->setVisible(legendPlace_ != LegendPlace::Hidden && legend->itemCount() > 0);
}

void SeriesChart::setLegendCheckBoxes(bool on) {
    if (legendCheckBoxes_ == on) return;
    legendCheckBoxes_ = on;
    rebuildLegend();
}

void SeriesChart::setLegendPlace(LegendPlace place) {
    if (place == legendPlace_) return;
    // Take the legend out of wherever it sits now; a side column is removed with it.
    if (legendPlace_ == LegendPlace::Inside || legendPlace_ == LegendPlace::Hidden) {
        // A hidden legend stays inside the plot, so that QCustomPlot keeps owning it.
        axisRect()->insetLayout()->take(legend);
    } else if (legendPlace_ == LegendPlace::Right || legendPlace_ == LegendPlace::Bottom) {
        if (auto* side = qobject_cast<QCPLayoutGrid*>(legend->layout())) {
            side->take(legend);
            plotLayout()->remove(side);
        }
    } else if (legend->layout()) {
        plotLayout()->take(legend);
    }
    plotLayout()->simplify();
    legendPlace_ = place;
    switch (place) {
        case LegendPlace::Hidden:
        case LegendPlace::Inside:
            axisRect()->insetLayout()->addElement(legend, Qt::AlignRight | Qt::AlignTop);
            break;
        case LegendPlace::Right: {
            // A side column with the legend on top and empty space below it.
            auto* side = new QCPLayoutGrid;
            plotLayout()->addElement(0, 1, side);
            plotLayout()->setColumnStretchFactor(1, 0.001);
            side->addElement(0, 0, legend);
            side->addElement(1, 0, new QCPLayoutElement(this));
            side->setRowStretchFactor(0, 0.001);
            side->setRowStretchFactor(1, 1);
            side->setRowSpacing(0);
            legend->setFillOrder(QCPLayoutGrid::foRowsFirst);
            break;
        }
        case LegendPlace::Bottom: {
            // A row with the legend and empty space after it: an empty legend is only as
            // wide as its margins, and the plot above must not be narrowed down to that.
            auto* row = new QCPLayoutGrid;
            plotLayout()->addElement(1, 0, row);
            plotLayout()->setRowStretchFactor(1, 0.001);
            row->setColumnSpacing(0);
            row->addElement(0, 0, legend);
            row->addElement(0, 1, new QCPLayoutElement(this));
            row->setColumnStretchFactor(1, 0.001);
            legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
            legend->setWrap(4);
            break;
        }
    }
    rebuildLegend();
}

void SeriesChart::onLegendClick(QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent* event) {
    auto* pli = dynamic_cast<QCPPlottableLegendItem*>(item);
    if (!pli) return;
    const int index = indexOfGraph(pli->plottable());
    const bool onBox = legendCheckBoxes_ && event && event->position().x() - item->rect().left() < 20;
    if (onBox) {
        if (index >= 0) {
            setSeriesVisible(index, !seriesVisible(index));
        } else {
            pli->plottable()->setVisible(!pli->plottable()->visible());
        }
        requestReplot();
    }
    if (index >= 0) emit legendItemClicked(index, onBox);
}

void SeriesChart::setZoomEnabled(bool on) {
    zoomEnabled_ = on;
    setSelectionRectMode(on ? QCP::srmZoom : QCP::srmNone);
}

void SeriesChart::setZoomPenColor(int32_t bgr) { selectionRect()->setPen(QPen(colorFromBGR(bgr))); }

void SeriesChart::zoomTo(TAxisRange bottom, TAxisRange left) {
    bottom_.setMinMax(bottom.lower, bottom.upper);
    left_.setMinMax(left.lower, left.upper);
    requestReplot();
    emit zoomed();
}

void SeriesChart::unzoom() {
    bottom_.setAutomatic(true);
    left_.setAutomatic(true);
    requestReplot();
    emit zoomed();
}

void SeriesChart::processRectZoom(QRect rect, QMouseEvent* event) {
    // Dragging from right to left undoes the zoom; from left to right zooms into the rectangle.
    if (event && event->position().x() <= rect.left() + 1) {
        unzoom();
        return;
    }
    if (rect.width() < 2 || rect.height() < 2) return;
    const double x1 = bottomValueAt(rect.left()), x2 = bottomValueAt(rect.right());
    const double y1 = yAxis->pixelToCoord(rect.bottom()), y2 = yAxis->pixelToCoord(rect.top());
    zoomTo({std::min(x1, x2), std::max(x1, x2)}, {std::min(y1, y2), std::max(y1, y2)});
}

void SeriesChart::mousePressEvent(QMouseEvent* event) {
    if (middleScroll_ && event->button() == Qt::MiddleButton) {
        scrolling_ = true;
        scrollStart_ = event->position().toPoint();
        scrollKeys_ = xAxis->range();
        scrollValues_ = yAxis->range();
        event->accept();
        return;
    }
    // A press on the legend is a click on an entry, never the start of a zoom rectangle;
    // QCustomPlot reports no clicks at all while its zoom rectangle is switched on.
    if (zoomEnabled_ && legend->visible() && legend->outerRect().contains(event->position().toPoint())) {
        setSelectionRectMode(QCP::srmNone);
        QCustomPlot::mousePressEvent(event);
        setSelectionRectMode(QCP::srmZoom);
        return;
    }
    QCustomPlot::mousePressEvent(event);
}

void SeriesChart::mouseMoveEvent(QMouseEvent* event) {
    if (scrolling_) {
        const QPoint d = event->position().toPoint() - scrollStart_;
        const double dk = scrollKeys_.size() * d.x() / std::max(1, axisRect()->width());
        const double dv = scrollValues_.size() * d.y() / std::max(1, axisRect()->height());
        // Offsets apply to fixed ends as well: move the visible range, then remove the margins.
        const QCPRange k(scrollKeys_.lower - dk, scrollKeys_.upper - dk);
        const QCPRange v(scrollValues_.lower + dv, scrollValues_.upper + dv);
        auto inner = [](const QCPRange& r, const TChartAxisState& s, int len) {
            const double inner = len - s.minimumOffset - s.maximumOffset;
            if (inner < 2) return TAxisRange{r.lower, r.upper};
            const double per = r.size() / len;
            return TAxisRange{r.lower + s.minimumOffset * per, r.upper - s.maximumOffset * per};
        };
        const TAxisRange kr = inner(k, bottom_, axisRect()->width());
        const TAxisRange vr = inner(v, left_, axisRect()->height());
        bottom_.setMinMax(fromKeyUnits(kr.lower), fromKeyUnits(kr.upper));
        left_.setMinMax(vr.lower, vr.upper);
        requestReplot();
        event->accept();
        return;
    }
    QCustomPlot::mouseMoveEvent(event);
}

void SeriesChart::mouseReleaseEvent(QMouseEvent* event) {
    if (scrolling_ && event->button() == Qt::MiddleButton) {
        scrolling_ = false;
        emit zoomed();
        event->accept();
        return;
    }
    QCustomPlot::mouseReleaseEvent(event);
}

void SeriesChart::copyToClipboard() { QApplication::clipboard()->setPixmap(toPixmap()); }


bool SeriesChart::saveBitmap(const QString& fileName, int width, int height) {
    return saveBmp(fileName, width, height);
}
