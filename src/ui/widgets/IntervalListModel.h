#pragma once
// The rows of a list of the project's intervals (row i stands for fragment i), for the check
// lists and the interval boxes of the pages. The project rebuilds its interval objects on
// every change of the chart's intervals, so a row is known again by where it comes from and
// by what it is. A row cut from a chart interval that gives exactly one row in both lists
// is that interval, whatever its name and ends became (renamed or moved in the fragment
// editor). Other rows are known by their name and both ends, and among rows alike in all
// three, by their place in the run of them. Intervals may share a name ("Интервал 3" twice
// after a delete), and the pieces of a cut interval their chart interval.
#include <QAbstractListModel>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Fragment.h"

struct IntervalKey {
    std::string name;
    double start = 0;
    double end = 0;
    // Id of the chart interval the row was cut from; 0 when not known.
    uint64_t origin = 0;
    bool operator==(const IntervalKey&) const = default;
    // Looks like f: the same name and ends (compared without copying f's name).
    bool operator==(const TFragment& f) const;
};

IntervalKey intervalKey(const TFragment& f, uint64_t origin = 0);
// The same name and ends, whatever the origins.
bool looksAlike(const IntervalKey& a, const IntervalKey& b);

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
    // Replaces the rows by the intervals `fragments`, cut from the chart intervals whose ids
    // `origins` gives index for index (0, or missing entries, for not known), and returns
    // where the interval of the old `row` went (-1 when it is gone). A list that already
    // shows exactly these intervals is not rebuilt, so its views keep their place.
    int replace(const arrayOfFragment& fragments, const std::vector<uint64_t>& origins, Ticks ticks, int row = -1);
    int replace(const arrayOfFragment& fragments, Ticks ticks, int row = -1) { return replace(fragments, {}, ticks, row); }

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
