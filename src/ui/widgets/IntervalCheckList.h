#pragma once
// A check list of the project's intervals (its fragments, in project order): row i stands
// for fragment i, ticked rows are the intervals chosen for a computation. A view over one
// model filled in one go, so a hundred thousand intervals cost one refill, not one per row.
#include <QListView>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/Fragment.h"
#include "ui/widgets/IntervalListModel.h"

class IntervalCheckList : public QListView {
    Q_OBJECT
public:
    explicit IntervalCheckList(const QString& objectName, QWidget* parent = nullptr);

    using Ticks = IntervalListModel::Ticks;
    // One row per fragment. Ticks are kept by interval, not by row: an interval that moved
    // in the list, or was renamed or given other ends on the chart, keeps its tick; one that
    // is gone takes it with it. `origins` are the ids of the chart intervals the fragments
    // were cut from (the project's fragmentOrigins).
    void refill(const arrayOfFragment& fragments, const std::vector<uint64_t>& origins, Ticks ticks);
    void refill(const arrayOfFragment& fragments, Ticks ticks) { refill(fragments, {}, ticks); }

    int count() const { return model_->rowCount(); }
    // The interval's name shown in a row.
    QString text(int row) const;
    bool isTicked(int row) const { return model_->ticked(row); }
    void setTicked(int row, bool ticked) { model_->setTicked(row, ticked); }
    // The ticked rows in row order.
    std::vector<int> tickedRows() const { return model_->tickedRows(); }
    // The fragments of the ticked rows, in row order; a row whose interval is not the one
    // `fragments` holds at that place is left out.
    arrayOfFragment tickedFragments(const arrayOfFragment& fragments) const;

private:
    IntervalListModel* model_;
};
