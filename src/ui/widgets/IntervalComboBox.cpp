#include "ui/widgets/IntervalComboBox.h"

#include <QListView>
#include <QSignalBlocker>

#include "ui/widgets/IntervalListModel.h"

IntervalComboBox::IntervalComboBox(const QString& objectName, QWidget* parent)
    : QComboBox(parent), model_(new IntervalListModel(false, this)) {
    setObjectName(objectName);
    setModel(model_);
    // Neither the box's width nor its drop-down list measures every item.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(14);
    if (auto* list = qobject_cast<QListView*>(view())) list->setUniformItemSizes(true);
}

void IntervalComboBox::refill(const arrayOfFragment& fragments, const std::vector<uint64_t>& origins) {
    const QSignalBlocker quiet(this);
    const int chosen = model_->replace(fragments, origins, IntervalListModel::Ticks::None, currentIndex());
    setCurrentIndex(chosen);
}

int IntervalComboBox::chosenIn(const arrayOfFragment& fragments) const {
    const int row = currentIndex();
    if (row < 0 || row >= count() || row >= static_cast<int>(fragments.size())) return -1;
    return model_->key(row) == fragments[static_cast<size_t>(row)] ? row : -1;
}
