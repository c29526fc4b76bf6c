#pragma once
// A box choosing one of the project's intervals (item i stands for fragment i). The choice
// follows the interval, not its row or its name, when the project's intervals change.
#include <QComboBox>
#include <cstdint>
#include <vector>

#include "core/Fragment.h"

class IntervalListModel;

class IntervalComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit IntervalComboBox(const QString& objectName, QWidget* parent = nullptr);

    // One item per fragment; the chosen interval stays chosen wherever it now is, also when
    // it was renamed or given other ends on the chart, and nothing is chosen when it is
    // gone. `origins` are the ids of the chart intervals the fragments were cut from (the
    // project's fragmentOrigins).
    void refill(const arrayOfFragment& fragments, const std::vector<uint64_t>& origins = {});
    // The index in `fragments` of the chosen interval; -1 when nothing is chosen or the item
    // does not stand for the interval `fragments` holds at its place.
    int chosenIn(const arrayOfFragment& fragments) const;

private:
    IntervalListModel* model_;
};
