#include "ui/widgets/IntervalListModel.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace {

// Over the name and ends only: rows alike in them share a hash whatever their origins.
size_t hashOf(const IntervalKey& k) {
    size_t h = std::hash<std::string>()(k.name);
    for (double v : {k.start, k.end}) h = h * 1000003u ^ std::hash<uint64_t>()(std::bit_cast<uint64_t>(v));
    return h;
}

struct Hashed {
    size_t hash;
    int index;
    bool operator<(const Hashed& o) const { return hash != o.hash ? hash < o.hash : index < o.index; }
};

// The rows from..to-1 not yet paired, sorted by hash.
std::vector<Hashed> hashed(const std::vector<IntervalKey>& keys, size_t from, size_t to, const std::vector<char>& paired) {
    std::vector<Hashed> out;
    out.reserve(to - from);
    for (size_t i = from; i < to; ++i)
        if (!paired[i]) out.push_back({hashOf(keys[i]), static_cast<int>(i)});
    std::sort(out.begin(), out.end());
    return out;
}

// Pairs the rows before[from..bTo) and now[from..nTo) whose chart interval gives exactly one
// row in each whole list: that row is the interval, renamed or moved as it may be.
void pairByOrigin(const std::vector<IntervalKey>& before, const std::vector<IntervalKey>& now, size_t from, size_t bTo,
                  size_t nTo, std::vector<int>& match, std::vector<char>& beforePaired, std::vector<char>& nowPaired) {
    if (from >= bTo || from >= nTo) return;
    // The origins of the rows in the middle of `before`, each with its row there and its
    // rows in the whole of both lists.
    struct Count {
        int before = 0, now = 0;
        size_t beforeRow = 0;
    };
    std::unordered_map<uint64_t, Count> counts;
    for (size_t i = from; i < bTo; ++i)
        if (before[i].origin) counts[before[i].origin].beforeRow = i;
    bool any = false;
    for (size_t i = from; i < nTo; ++i) any = any || (now[i].origin && counts.count(now[i].origin));
    if (!any) return;
    for (const IntervalKey& k : before)
        if (auto it = k.origin ? counts.find(k.origin) : counts.end(); it != counts.end()) ++it->second.before;
    for (const IntervalKey& k : now)
        if (auto it = k.origin ? counts.find(k.origin) : counts.end(); it != counts.end()) ++it->second.now;
    for (size_t i = from; i < nTo; ++i) {
        const auto it = now[i].origin ? counts.find(now[i].origin) : counts.end();
        if (it == counts.end() || it->second.before != 1 || it->second.now != 1) continue;
        match[i] = static_cast<int>(it->second.beforeRow);
        beforePaired[it->second.beforeRow] = 1;
        nowPaired[i] = 1;
    }
}

}  // namespace

IntervalKey intervalKey(const TFragment& f, uint64_t origin) {
    return {f.name, static_cast<double>(f.startPoint), static_cast<double>(f.endPoint), origin};
}

bool IntervalKey::operator==(const TFragment& f) const {
    return start == static_cast<double>(f.startPoint) && end == static_cast<double>(f.endPoint) && name == f.name;
}

bool looksAlike(const IntervalKey& a, const IntervalKey& b) {
    return a.start == b.start && a.end == b.end && a.name == b.name;
}

std::vector<int> matchIntervals(const std::vector<IntervalKey>& before, const std::vector<IntervalKey>& now) {
    std::vector<int> match(now.size(), -1);
    // Most changes add, remove or alter a few intervals: the lists agree at both ends.
    size_t head = 0;
    while (head < before.size() && head < now.size() && before[head] == now[head]) {
        match[head] = static_cast<int>(head);
        ++head;
    }
    size_t tail = 0;
    while (tail < before.size() - head && tail < now.size() - head &&
           before[before.size() - 1 - tail] == now[now.size() - 1 - tail]) {
        match[now.size() - 1 - tail] = static_cast<int>(before.size() - 1 - tail);
        ++tail;
    }
    // In between, first the intervals edited in place, known by their chart interval.
    std::vector<char> used(before.size(), 0), paired(now.size(), 0);
    pairByOrigin(before, now, head, before.size() - tail, now.size() - tail, match, used, paired);
    // Then the rest through their hashes; alike intervals share a hash and are met in list
    // order, so the n-th of them now is the n-th before.
    const std::vector<Hashed> b = hashed(before, head, before.size() - tail, used);
    const std::vector<Hashed> n = hashed(now, head, now.size() - tail, paired);
    size_t bi = 0;
    for (size_t ni = 0; ni < n.size();) {
        const size_t h = n[ni].hash;
        size_t nEnd = ni;
        while (nEnd < n.size() && n[nEnd].hash == h) ++nEnd;
        while (bi < b.size() && b[bi].hash < h) ++bi;
        size_t bEnd = bi;
        while (bEnd < b.size() && b[bEnd].hash == h) ++bEnd;
        size_t firstFree = bi;
        for (size_t k = ni; k < nEnd; ++k) {
            const IntervalKey& key = now[static_cast<size_t>(n[k].index)];
            while (firstFree < bEnd && used[static_cast<size_t>(b[firstFree].index)]) ++firstFree;
            for (size_t j = firstFree; j < bEnd; ++j) {
                const int was = b[j].index;
                if (!used[static_cast<size_t>(was)] && looksAlike(before[static_cast<size_t>(was)], key)) {
                    used[static_cast<size_t>(was)] = 1;
                    match[static_cast<size_t>(n[k].index)] = was;
                    break;
                }
            }
        }
        ni = nEnd;
        bi = bEnd;
    }
    return match;
}

IntervalListModel::IntervalListModel(bool checkable, QObject* parent)
    : QAbstractListModel(parent), checkable_(checkable) {}

int IntervalListModel::replace(const arrayOfFragment& fragments, const std::vector<uint64_t>& origins, Ticks ticks,
                               int row) {
    auto originOf = [&origins](size_t i) { return i < origins.size() ? origins[i] : uint64_t{0}; };
    bool same = fragments.size() == keys_.size();
    for (size_t i = 0; same && i < fragments.size(); ++i) same = keys_[i] == fragments[i] && keys_[i].origin == originOf(i);
    if (same) {
        if (ticks != Ticks::Keep) setAllTicks(ticks == Ticks::All);
        return row >= 0 && row < rowCount() ? row : -1;
    }
    std::vector<IntervalKey> keys;
    keys.reserve(fragments.size());
    for (size_t i = 0; i < fragments.size(); ++i) keys.push_back(intervalKey(fragments[i], originOf(i)));
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
