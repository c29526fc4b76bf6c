#pragma once
// A check list of the project's intervals (its fragments, in project order): row i stands
// for fragment i, ticked rows are the intervals chosen for a computation.
#include <QListWidget>
#include <vector>

#include "core/Fragment.h"

class IntervalCheckList : public QListWidget {
    Q_OBJECT
public:
    explicit IntervalCheckList(const QString& objectName, QWidget* parent = nullptr);

    enum class Ticks {
        All,    // every row ticked
        None,   // every row unticked
        Keep,   // rows of intervals listed before keep their tick; new ones are unticked
    };
    // Empties the list and adds one row per fragment.
    void refill(const arrayOfFragment& fragments, Ticks ticks);
    // The ticked rows in row order.
    std::vector<int> tickedRows() const;
    void setTicked(int row, bool ticked);
    // The fragments of the ticked rows, in row order; rows beyond `fragments` are skipped.
    arrayOfFragment tickedFragments(const arrayOfFragment& fragments) const;
};
