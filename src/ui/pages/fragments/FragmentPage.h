#pragma once
// The fragment page: series dropped from the workspace tree onto the fragment chart, each on
// its own scale; zoom mode or the marking of bad and good intervals by dragging; the whole
// range or equal pieces of a series as intervals; zoom and scroll buttons; the grid of
// intervals with show, edit and delete, and the grid of the series' scales.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "numerics/FormatSettings.h"
#include "ui/mainwindow/MainPage.h"
#include "ui/mainwindow/TForm1.h"

class QCheckBox;
class QGroupBox;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolButton;
class QVBoxLayout;
class Reporter;
class IntervalGrid;
class TForm6;
class TForm11;
class TFragmentChart;
class editingStringGrid;

class FragmentPage : public MainPage {
    Q_OBJECT
public:
    // Series the chart holds at most; further dropped series are left out.
    static constexpr int kMaxSeries = 10;

    explicit FragmentPage(TForm1& form, QWidget* parent = nullptr);
    ~FragmentPage() override;

    TFragmentChart& chart() const;

    // --- The chart ---
    // Adds the dropped series in selection order until the chart holds kMaxSeries, each on
    // a scale from its own minimum to its maximum and made current; then the scale grid.
    void fragmentsChartDragDrop(const TForm1::DroppedSeries& dropped);
    void fragmentsChartZoom();
    // A legend entry clicked: on its check box (visibility already toggled) the first shown
    // series becomes current when the clicked one was current; elsewhere the clicked series
    // is shown and made current.
    void Chart5ClickLegend(int index, bool onCheckBox);

    // --- Tool bar ---
    void SpeedButton1Click();   // the whole range of the first series as one good interval
    void SpeedButton6Click();   // zoom mode
    void SpeedButton7Click();   // marking bad intervals
    void SpeedButton8Click();   // marking good intervals
    void SpeedButton9Click();   // split a series into intervals of n points
    void SpeedButton11Click();  // remove every series from the chart (the intervals stay)
    void BitBtn5Click();        // bottom axis: maximum at 0.8 of the range
    void BitBtn9Click();        // bottom axis: maximum at the range / 0.8
    void BitBtn10Click();       // left axis: maximum at 0.8 of the range
    void BitBtn11Click();       // left axis: maximum at 1.2 of the range
    void BitBtn12Click();       // bottom axis automatic
    void BitBtn13Click();       // left axis 0..100
    void SpeedButton2Click();   // half a screen back
    void SpeedButton3Click();   // back to the first point (minimum automatic)
    void SpeedButton4Click();   // half a screen forward
    void SpeedButton5Click();   // on to the last point (maximum automatic)
    void CheckBox9Click();      // point markers

    // --- Grids ---
    // Refills the interval grid from the chart and marks the project's fragments for a new copy.
    void refreshSG6();
    // Refills the scale grid from the chart's series and their scales.
    void refreshSG2();
    // Maps series row-1 onto the bounds typed in row `row` of the scale grid; false (with a
    // message where the bounds are at fault) when they cannot be used.
    bool refreshSeries(int row);
    // The pop-up menu of the interval grid, on its chosen row.
    void N13Click();  // show the interval
    void N12Click();  // edit it
    void N11Click();  // delete it
    void N14Click();  // delete every interval

    void clearPage() override;
    // The fragment chart's group box goes into the page's chart area.
    void placeControl(QWidget* control) override;

    // Shows the split dialog and tells whether it was accepted (tests replace it).
    std::function<bool(TForm11&)> runForm11;
    TForm6* form6() const { return form6_.get(); }
    TForm11* form11() const { return form11_.get(); }

    QGroupBox* GroupBox22 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QToolButton* SpeedButton11 = nullptr;
    QToolButton* BitBtn5 = nullptr;
    QToolButton* BitBtn9 = nullptr;
    QToolButton* BitBtn10 = nullptr;
    QToolButton* BitBtn11 = nullptr;
    QToolButton* BitBtn12 = nullptr;
    QToolButton* BitBtn13 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QTabWidget* PageControl2 = nullptr;
    IntervalGrid* StringGrid6 = nullptr;
    editingStringGrid* stringgridGraphScale = nullptr;
    QMenu* PopupMenuFragments = nullptr;

private:
    void buildToolBar();
    void buildGrids();
    Reporter& reporter() const;

    TForm1& form_;
    QVBoxLayout* chartSlot_ = nullptr;
    QSplitter* splitter_ = nullptr;
    // Top-level windows of their own, so their controls' names never mix with the main window's.
    std::unique_ptr<TForm6> form6_;
    std::unique_ptr<TForm11> form11_;
};

// The value check of the fragment chart's scale grid: a number is written into the cell and
// `apply` rescales; a value that is not a number is told ("Ошибка значения!") and changes
// nothing, and when `apply` refuses the new bounds the cell gets its old text back. The grid
// never writes the typed text itself (canWrite is cleared).
void graphScaleWriteValue(editingStringGrid& grid, int acol, int arow, const std::string& value, bool& canWrite,
                          Reporter& reporter, const std::function<bool()>& apply);

// A time of the interval grid: the short date and the long time in whole seconds, the time
// left out when it reads midnight.
std::string intervalTimeText(double t, const FormatSettings& fs);

// The point count typed into the split dialog: digits, blanks around them allowed; 0 counts
// as 1. nullopt for an empty or non-numeric text. A count beyond the integer range is the
// largest integer: like any count above the series' points it makes one interval of them all.
std::optional<int> splitPointCount(const std::string& text);
