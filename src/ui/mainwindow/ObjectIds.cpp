#include "ui/mainwindow/ObjectIds.h"

std::vector<uint64_t> ObjectIds::refresh(const std::vector<Key>& list) {
    std::unordered_map<const void*, Entry> kept;
    std::vector<uint64_t> ids;
    ids.reserve(list.size());
    for (const Key& k : list) {
        auto it = byObject_.find(k.object);
        Entry e{0, k.name};
        if (it != byObject_.end() && it->second.name == k.name) e.id = it->second.id;
        else e.id = next_++;
        ids.push_back(e.id);
        kept[k.object] = std::move(e);
    }
    byObject_ = std::move(kept);
    return ids;
}

int ObjectIds::indexOf(uint64_t id, const std::vector<Key>& list) const {
    if (id == 0) return -1;
    for (size_t i = 0; i < list.size(); ++i) {
        auto it = byObject_.find(list[i].object);
        if (it != byObject_.end() && it->second.id == id && it->second.name == list[i].name)
            return static_cast<int>(i);
    }
    return -1;
}

uint64_t ObjectIds::idOf(const void* object, const std::string& name) const {
    auto it = byObject_.find(object);
    return (it != byObject_.end() && it->second.name == name) ? it->second.id : 0;
}
