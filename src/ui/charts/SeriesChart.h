#pragma once
// The chart widget every page uses: core series shown as QCustomPlot graphs (the chart
// keeps its own copy of each series), bars, a legend with optional check boxes, axes
// driven by a logical state (automatic ends, fixed ends, pixel margins), zoom by a
// rectangle, copy to the clipboard and saving as a bitmap of a given size. An axis shows
// tick labels only while there is something to label, date labels never run into each
// other, and the legend shows only while it has entries.
#include <QPixmap>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <qcustomplot.h>

#include "core/ChartAxis.h"
#include "core/StatisticSeries.h"
#include "ui/charts/ChartSeriesAdapter.h"

class TimeAxisTicker;

class SeriesChart : public QCustomPlot {
    Q_OBJECT
public:
    enum class LegendPlace { Hidden, Inside, Right, Bottom };

    explicit SeriesChart(QWidget* parent = nullptr);
    ~SeriesChart() override;

    // --- line series (index = order of addition) ---
    int seriesCount() const { return static_cast<int>(entries_.size()); }
    // Adds a copy of the series (points, title, colour, pen, markers); returns its index.
    int addSeries(const TStatisticSeries& series);
    // Replaces series i by a copy of `series`.
    void setSeries(int i, const TStatisticSeries& series);
    const TStatisticSeries& series(int i) const { return *entries_.at(static_cast<size_t>(i)).data; }
    // Rebuilds the graph of series i from its data (after the data or its map changed).
    void refreshSeries(int i);
    void removeSeries(int i);
    // Frees every line series.
    void clearSeries();
    QCPGraph* seriesGraph(int i) const { return entries_.at(static_cast<size_t>(i)).graph; }
    int indexOfGraph(const QCPAbstractPlottable* plottable) const;

    void setSeriesTitle(int i, const std::string& title);
    void setSeriesColor(int i, int32_t bgr);
    void setSeriesPenWidth(int i, int width);
    int seriesPenWidth(int i) const { return series(i).penWidth; }
    bool seriesVisible(int i) const;
    void setSeriesVisible(int i, bool visible);
    // Number of series shown (not hidden through the legend).
    int activeSeriesCount() const;
    // Shows or hides the point markers of every line series.
    void setMarkersVisible(bool visible);
    bool markersVisible() const { return markersVisible_; }

    // Maps the Y values of series i on their way to the screen (the data stays as it is).
    void setSeriesValueMap(int i, ValueMap map);
    ValueMap seriesValueMap(int i) const { return entries_.at(static_cast<size_t>(i)).map; }

    // --- bars (autocorrelation, cross-correlation; X is not a time) ---
    int addBars(const std::vector<double>& x, const std::vector<double>& y, const std::string& title,
                int32_t bgr, double width = 0.8);
    int barsCount() const { return static_cast<int>(bars_.size()); }
    QCPBars* barsAt(int i) const { return bars_.at(static_cast<size_t>(i)); }
    void clearBars();

    // --- axes ---
    TChartAxisState& leftAxisState() { return left_; }
    TChartAxisState& bottomAxisState() { return bottom_; }
    const TChartAxisState& leftAxisState() const { return left_; }
    const TChartAxisState& bottomAxisState() const { return bottom_; }
    // Bottom axis as date-time (values in days, labels in UTC in the system's pattern,
    // e.g. "dd.mm.yy hh:mm"); plain numbers until it is called.
    void setBottomDateTime(const std::string& pattern);
    bool bottomIsDateTime() const { return dateTime_; }
    const std::string& bottomDateTimePattern() const { return pattern_; }
    // Date labels of their own at both ends of the bottom axis' range (before its pixel
    // margins): the first and the last time shown. Room is kept beside the plot for them.
    void setBottomEndLabels(bool on);
    bool bottomEndLabels() const { return endLabels_; }
    // Visible ranges in the chart's own units (days on a date-time axis), as last laid out.
    TAxisRange bottomRange() const;
    TAxisRange leftRange() const;
    // The axes' ends before their pixel margins, as their state gives them now: the data
    // extent of the shown series for automatic ends, the fixed values otherwise (bottom in
    // the chart's own units). Zoom and scroll commands work on these.
    TAxisRange bottomEnds() const;
    TAxisRange leftEnds() const;
    // Bottom-axis value (days on a date-time axis) under a pixel column, and the reverse.
    double bottomValueAt(double pixelX) const;
    double bottomPixelOf(double value) const;
    // Lays the chart out now so that ranges and pixel positions are current.
    void updateRanges();

    // --- legend ---
    void setLegendPlace(LegendPlace place);
    LegendPlace legendPlace() const { return legendPlace_; }
    void setLegendCheckBoxes(bool on);
    bool legendCheckBoxes() const { return legendCheckBoxes_; }

    // --- zoom by rectangle (left drag; dragging leftwards restores automatic axes) ---
    void setZoomEnabled(bool on);
    bool zoomEnabled() const { return zoomEnabled_; }
    void setZoomPenColor(int32_t bgr);
    // Zooms to the given ranges (bottom in the chart's units), as a rectangle zoom does.
    void zoomTo(TAxisRange bottom, TAxisRange left);
    // Undoes zooming: both axes back to automatic (a chart with a fixed axis keeps it).
    virtual void unzoom();

    // Scrolling by dragging with the middle button.
    void setMiddleButtonScroll(bool on) { middleScroll_ = on; }

    // --- output ---
    void copyToClipboard();
    // Saves the chart as a Windows bitmap of the given size without showing it.
    bool saveBitmap(const QString& fileName, int width = 800, int height = 400);
    // Replots once on the next pass of the event loop, however often it is asked.
    void requestReplot() { replot(rpQueuedReplot); }

    // Graphs with more points than this are drawn without antialiasing.
    static constexpr int kAntialiasLimit = 20000;

signals:
    // A legend entry was clicked; onCheckBox when the click hit its check box (the series'
    // visibility has then already been toggled).
    void legendItemClicked(int seriesIndex, bool onCheckBox);
    void seriesVisibilityChanged(int seriesIndex, bool visible);
    // The axes were zoomed or unzoomed by the mouse.
    void zoomed();

protected:
    void updateLayout() override;

    void processRectZoom(QRect rect, QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Style of a graph from its series and the marker switch.
    void styleGraph(size_t i);
    // What an automatic time axis spans when no shown series or bars give it an extent (in
    // the chart's own units); none by default.
    virtual std::optional<TAxisRange> bottomExtentWithoutData() const { return std::nullopt; }

private:
    struct Entry {
        std::unique_ptr<TStatisticSeries> data;
        QCPGraph* graph = nullptr;
        ValueMap map;
        std::optional<TAxisRange> keys;    // extent of the keys (chart units)
        std::optional<TAxisRange> values;  // extent of the mapped non-null values
    };
    void computeExtents(Entry& e);
    // Extents of the shown series and bars (keys in key units).
    void dataExtents(std::optional<TAxisRange>& keys, std::optional<TAxisRange>& values) const;
    bool applyAxisRanges();
    void rebuildLegend();
    void onLegendClick(QCPLegend* legend, QCPAbstractLegendItem* item, QMouseEvent* event);
    double toKeyUnits(double v) const { return dateTime_ ? toChartTime(v) : v; }
    double fromKeyUnits(double v) const { return dateTime_ ? fromChartTime(v) : v; }
    // Whether the bottom axis has something to label: keys of the shown series and bars, or
    // ends that come from something else than an empty automatic axis.
    bool bottomHasContent() const;
    // Before a layout: tick labels on or off, and the time ticker's geometry. True when
    // anything changed.
    bool prepareAxes();

    std::vector<Entry> entries_;
    std::vector<QCPBars*> bars_;
    TChartAxisState left_;
    TChartAxisState bottom_;
    bool dateTime_ = false;
    std::string pattern_;
    QSharedPointer<TimeAxisTicker> timeTicker_;
    bool endLabels_ = false;
    bool markersVisible_ = false;
    LegendPlace legendPlace_ = LegendPlace::Inside;
    bool legendCheckBoxes_ = false;
    bool zoomEnabled_ = false;
    bool middleScroll_ = false;
    bool scrolling_ = false;
    QPoint scrollStart_;
    QCPRange scrollKeys_, scrollValues_;
    bool inLayout_ = false;
};
