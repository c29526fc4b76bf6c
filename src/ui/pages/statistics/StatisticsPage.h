#pragma once
// The statistics page: a series dropped on its name field (or double-clicked in the series
// tree) gets its statistics computed again and shown with its points.
#include <cstdint>
#include <utility>

#include "ui/mainwindow/MainPage.h"

class QLineEdit;
class FrozenTableView;
class SeriesValuesModel;
class TForm1;
class TStatisticSeries;
class editingStringGrid;

class StatisticsPage : public MainPage {
    Q_OBJECT
public:
    explicit StatisticsPage(TForm1& form, QWidget* parent = nullptr);

    // The series of the tree's selected node (the first node is selected when none is);
    // nothing happens while the tree is empty.
    void refreshStatistic();
    // A project series by index; an index out of range changes nothing.
    void refreshStatistic(int seriesIndex);

    void clearPage() override;
    void reloadPage() override { refreshStatistic(); }

    QLineEdit* Edit16 = nullptr;
    editingStringGrid* StringGrid3 = nullptr;
    editingStringGrid* StringGrid4 = nullptr;
    FrozenTableView* StringGrid5 = nullptr;
    SeriesValuesModel* values() const { return values_; }

private:
    // The shown series as the project holds it now: empties the page when it has left the
    // project, else shows its title, cached statistics and points again (it may have been
    // renamed or changed in place, which recomputes its statistics).
    void followShownSeries();
    void showSeries(const TStatisticSeries& s);

    TForm1& form_;
    SeriesValuesModel* values_ = nullptr;
    uint64_t shownId_ = 0;
};

