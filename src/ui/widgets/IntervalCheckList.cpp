#include "ui/widgets/IntervalCheckList.h"

IntervalCheckList::IntervalCheckList(const QString& objectName, QWidget* parent)
    : QListView(parent), model_(new IntervalListModel(true, this)) {
    setObjectName(objectName);
    // Every row is one line high: the view lays out any number of rows at once.
    setUniformItemSizes(true);
    setModel(model_);
}

void IntervalCheckList::refill(const arrayOfFragment& fragments, const std::vector<uint64_t>& origins, Ticks ticks) {
    model_->replace(fragments, origins, ticks);
}

QString IntervalCheckList::text(int row) const {
    return row >= 0 && row < count() ? QString::fromStdString(model_->key(row).name) : QString();
}

arrayOfFragment IntervalCheckList::tickedFragments(const arrayOfFragment& fragments) const {
    arrayOfFragment out;
    for (int row : tickedRows()) {
        if (row >= static_cast<int>(fragments.size())) break;
        const TFragment& f = fragments[static_cast<size_t>(row)];
        if (model_->key(row) == f) out.push_back(f);
    }
    return out;
}
