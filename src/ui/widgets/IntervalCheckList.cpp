#include "ui/widgets/IntervalCheckList.h"

#include <set>
#include <tuple>

namespace {
// An interval is the same interval while its name and both ends are the same; the
// project's fragments are rebuilt as new objects whenever the chart's intervals change.
constexpr int kStartRole = Qt::UserRole;
constexpr int kEndRole = Qt::UserRole + 1;
using Key = std::tuple<QString, double, double>;

Key keyOf(const QListWidgetItem* item) {
    return {item->text(), item->data(kStartRole).toDouble(), item->data(kEndRole).toDouble()};
}
}  // namespace

IntervalCheckList::IntervalCheckList(const QString& objectName, QWidget* parent) : QListWidget(parent) {
    setObjectName(objectName);
}

void IntervalCheckList::refill(const arrayOfFragment& fragments, Ticks ticks) {
    std::set<Key> ticked;
    if (ticks == Ticks::Keep)
        for (int i = 0; i < count(); ++i)
            if (item(i)->checkState() == Qt::Checked) ticked.insert(keyOf(item(i)));
    clear();
    for (const TFragment& f : fragments) {
        auto* row = new QListWidgetItem(QString::fromStdString(f.name), this);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setData(kStartRole, static_cast<double>(f.startPoint));
        row->setData(kEndRole, static_cast<double>(f.endPoint));
        const bool on = ticks == Ticks::All || (ticks == Ticks::Keep && ticked.count(keyOf(row)));
        row->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

std::vector<int> IntervalCheckList::tickedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < count(); ++i)
        if (item(i)->checkState() == Qt::Checked) rows.push_back(i);
    return rows;
}

void IntervalCheckList::setTicked(int row, bool ticked) {
    if (QListWidgetItem* it = item(row)) it->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

arrayOfFragment IntervalCheckList::tickedFragments(const arrayOfFragment& fragments) const {
    arrayOfFragment out;
    for (int row : tickedRows())
        if (row < static_cast<int>(fragments.size())) out.push_back(fragments[static_cast<size_t>(row)]);
    return out;
}
