#pragma once
// The chart that owns fragments: marks new ones by dragging along the time axis (left
// press and release; a right press cancels), paints the painted ones as coloured bands
// behind the series, and reports every change of its list.
#include <QColor>
#include <optional>
#include <string>
#include <vector>

#include "core/Fragment.h"
#include "ui/charts/SeriesChart.h"

class FragmentBandsLayerable;
class QPainter;

// A band as it is drawn: from pixel column x1 to x2 (both included), filled in `fill`.
struct TBandPixels {
    int x1 = 0;
    int x2 = 0;
    QColor fill;
};
// Draws the bands in order, each over the earlier ones, as rectangles from row `top` to row
// `bottom` with a black outline one pixel wide, within columns left..right. Each column is
// painted once, in the look of the last band over it, so a hundred thousand bands cost no
// more than the columns they cover.
void drawBands(QPainter& painter, const std::vector<TBandPixels>& bands, int top, int bottom, int left, int right);

class TSmartChart : public SeriesChart {
    Q_OBJECT
public:
    explicit TSmartChart(QWidget* parent = nullptr);
    ~TSmartChart() override;

    // The fragments in the order of creation.
    const arrayOfFragment& fragments() const { return list_.fragments; }
    int numOfFragments() const { return list_.numOfFragments(); }
    const TFragment& fragment(int i) const { return list_.fragments.at(static_cast<size_t>(i)); }

    // Settings for fragments made by the mouse.
    uint8_t typeOfCurFragments() const { return list_.typeOfCurFragments; }
    void setTypeOfCurFragments(uint8_t type) { list_.typeOfCurFragments = type; }
    bool paintOfCurFragments() const { return list_.paintOfCurFragments; }
    void setPaintOfCurFragments(bool on) { list_.paintOfCurFragments = on; }
    bool fragmentsOn() const { return list_.fragmentsOn; }
    void setFragmentsOn(bool on) { list_.fragmentsOn = on; }

    // State of a mouse drag: under way, where it began and where it ended (days).
    bool holdCheck() const { return list_.holdCheck; }
    double x1() const { return list_.x1; }
    double x2() const { return list_.x2; }

    // A fragment of the current type and paint flag named "Интервал " and the new count.
    void addFragment(long double start, long double end) { list_.addFragment(start, end); }
    // A painted fragment with that name and type.
    void addFragment(const std::string& name, uint8_t type, long double start, long double end) {
        list_.addFragment(name, type, start, end);
    }
    // Many fragments in one change (one OnChangeFragments, one repaint).
    void addFragments(const std::vector<TFragmentSpan>& spans) { list_.addFragments(spans); }
    void addFragments(const arrayOfFragment& named) { list_.addFragments(named); }
    // The number that stays with fragment i while it exists, and the index of a number
    // (-1 when that fragment was deleted).
    uint64_t fragmentIdAt(int i) const { return list_.idAt(i); }
    int indexOfFragmentId(uint64_t id) const { return list_.indexOfId(id); }
    // The numbers of all fragments, in list order.
    std::vector<uint64_t> fragmentIds() const { return list_.ids(); }
    void changeFragment(int i, const std::string& name, uint8_t type, long double start, long double end) {
        list_.changeFragment(i, name, type, start, end);
    }
    void delFragment(int i) { list_.delFragment(i); }
    void delAllFragment() { list_.delAllFragment(); }
    // Removes every fragment, then every series.
    void clear();
    // Fires OnChangeFragments and repaints.
    void doChangeFragments() { list_.doChangeFragments(); }

    // Where the bands are drawn, in pixels of the chart: from y = 10 to the height minus 30.
    static constexpr int kBandTop = 10;
    static constexpr int kBandBottomMargin = 30;

signals:
    // After every add, change and delete of a fragment.
    void OnChangeFragments();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Without a shown series the time axis spans the painted fragments, so that they show.
    std::optional<TAxisRange> bottomExtentWithoutData() const override;

private:
    void feedMouse(QMouseEvent* event, bool press);
    TFragmentList list_;
    FragmentBandsLayerable* bands_ = nullptr;
    // From the earliest start to the latest end of the painted fragments; found again after
    // every change of the list.
    mutable std::optional<std::optional<TAxisRange>> span_;
};
