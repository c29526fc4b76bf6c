#include "ui/widgets/IntervalListModel.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace {

struct KeyHash {
    size_t operator()(const IntervalKey& k) const {
        size_t h = std::hash<std::string>()(k.name);
        for (double v : {k.start, k.end})
            h = h * 1000003u ^ std::hash<uint64_t>()(std::bit_cast<uint64_t>(v));
        return h;
    }
};

}  // namespace

IntervalKey intervalKey(const TFragment& f) {
    return {f.name, static_cast<double>(f.startPoint), static_cast<double>(f.endPoint)};
}

bool IntervalKey::operator==(const TFragment& f) const {
    return start == static_cast<double>(f.startPoint) && end == static_cast<double>(f.endPoint) && name == f.name;
}

std::vector<int> matchIntervals(const std::vector<IntervalKey>& before, const std::vector<IntervalKey>& now) {
    std::vector<int> match(now.size(), -1);
    if (before == now) {
        for (size_t i = 0; i < now.size(); ++i) match[i] = static_cast<int>(i);
        return match;
    }
    // Rows of each interval in list order; the n-th alike interval now is the n-th before.
    std::unordered_map<IntervalKey, std::vector<int>, KeyHash> rows;
    rows.reserve(before.size());
    for (size_t i = 0; i < before.size(); ++i) rows[before[i]].push_back(static_cast<int>(i));
    std::unordered_map<IntervalKey, size_t, KeyHash> seen;
    for (size_t i = 0; i < now.size(); ++i) {
        const auto it = rows.find(now[i]);
        if (it == rows.end()) continue;
        const size_t nth = seen[now[i]]++;
        if (nth < it->second.size()) match[i] = it->second[nth];
    }
    return match;
}

IntervalListModel::IntervalListModel(bool checkable, QObject* parent)
    : QAbstractListModel(parent), checkable_(checkable) {}

int IntervalListModel::replace(const arrayOfFragment& fragments, Ticks ticks, int row) {
    const bool same = fragments.size() == keys_.size() &&
                      std::equal(fragments.begin(), fragments.end(), keys_.begin(),
                                 [](const TFragment& f, const IntervalKey& k) { return k == f; });
    if (same) {
        if (ticks != Ticks::Keep) setAllTicks(ticks == Ticks::All);
        return row >= 0 && row < rowCount() ? row : -1;
    }
    std::vector<IntervalKey> keys;
    keys.reserve(fragments.size());
    for (const TFragment& f : fragments) keys.push_back(intervalKey(f));
    const std::vector<int> match = matchIntervals(keys_, keys);
    std::vector<char> next(keys.size(), ticks == Ticks::All ? 1 : 0);
    int moved = -1;
    for (size_t i = 0; i < keys.size(); ++i) {
        const int was = match[i];
        if (was < 0) continue;
        if (ticks == Ticks::Keep) next[i] = ticks_[static_cast<size_t>(was)];
        if (was == row) moved = static_cast<int>(i);
    }
    beginResetModel();
    keys_ = std::move(keys);
    ticks_ = std::move(next);
    endResetModel();
    return moved;
}

int IntervalListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(keys_.size());
}

QVariant IntervalListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const size_t r = static_cast<size_t>(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole) return QString::fromStdString(keys_[r].name);
    if (role == Qt::CheckStateRole && checkable_) return ticks_[r] ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool IntervalListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkable_ || role != Qt::CheckStateRole || !index.isValid() || index.row() >= rowCount()) return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags IntervalListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (checkable_) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool IntervalListModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 0 || row + count > rowCount()) return false;
    if (count == 0) return true;
    beginRemoveRows(parent, row, row + count - 1);
    keys_.erase(keys_.begin() + row, keys_.begin() + row + count);
    ticks_.erase(ticks_.begin() + row, ticks_.begin() + row + count);
    endRemoveRows();
    return true;
}

bool IntervalListModel::ticked(int row) const {
    return row >= 0 && row < rowCount() && ticks_[static_cast<size_t>(row)];
}

void IntervalListModel::setTicked(int row, bool on) {
    if (row < 0 || row >= rowCount() || bool(ticks_[static_cast<size_t>(row)]) == on) return;
    ticks_[static_cast<size_t>(row)] = on;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

std::vector<int> IntervalListModel::tickedRows() const {
    std::vector<int> rows;
    for (size_t i = 0; i < ticks_.size(); ++i)
        if (ticks_[i]) rows.push_back(static_cast<int>(i));
    return rows;
}

void IntervalListModel::setAllTicks(bool on) {
    bool changed = false;
    for (char& t : ticks_) {
        changed = changed || bool(t) != on;
        t = on;
    }
    if (changed && rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
}
