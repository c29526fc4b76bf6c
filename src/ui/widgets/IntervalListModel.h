#pragma once
// The rows of a list of the project's intervals (row i stands for fragment i), for the check
// lists and the interval boxes of the pages. The project rebuilds its interval objects on
// every change of the chart's intervals, so a row is known again by what the interval is:
// its name and both ends, and among intervals alike in all three, its place in their run.
// Intervals may share a name ("Интервал 3" twice after a delete), never all of that.
#include <QAbstractListModel>
#include <string>
#include <vector>

#include "core/Fragment.h"

struct IntervalKey {
    std::string name;
    double start = 0;
    double end = 0;
    bool operator==(const IntervalKey&) const = default;
    // The same interval as f (compared without copying f's name).
    bool operator==(const TFragment& f) const;
};

IntervalKey intervalKey(const TFragment& f);

// For each of `now`, the index in `before` of the same interval, or -1 when it is new.
std::vector<int> matchIntervals(const std::vector<IntervalKey>& before, const std::vector<IntervalKey>& now);

class IntervalListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Checkable rows carry a tick each.
    IntervalListModel(bool checkable, QObject* parent);

    enum class Ticks {
        All,   // every row ticked
        None,  // every row unticked
        Keep,  // rows of intervals listed before keep their tick; new ones are unticked
    };
    // Replaces the rows by the intervals `fragments` and returns where the interval of the
    // old `row` went (-1 when it is gone). A list that already shows exactly these intervals
    // is not rebuilt, so its views keep their place.
    int replace(const arrayOfFragment& fragments, Ticks ticks, int row = -1);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // QComboBox::clear and the like remove rows through this.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    const IntervalKey& key(int row) const { return keys_.at(static_cast<size_t>(row)); }
    bool ticked(int row) const;
    void setTicked(int row, bool on);
    // The ticked rows in row order.
    std::vector<int> tickedRows() const;

private:
    void setAllTicks(bool on);
    bool checkable_;
    std::vector<IntervalKey> keys_;
    std::vector<char> ticks_;
};
