#pragma once
// Stable ids for the objects of a project list (series, models). The project holds its
// objects by pointer without ids of its own; this table gives each object an id when it
// first appears in a refresh and keeps it while the same object (same address and same
// name) stays in the list, so list items and tree nodes never hold raw pointers. An
// object whose address was reused for a new one under another name gets a new id.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class ObjectIds {
public:
    struct Key {
        const void* object;
        std::string name;
    };
    // The ids of the objects in list order; forgets objects no longer listed.
    std::vector<uint64_t> refresh(const std::vector<Key>& list);
    // Index of the object that carries `id` in `list` (the list as it is now), or -1.
    int indexOf(uint64_t id, const std::vector<Key>& list) const;
    // Id of the object at an address under a name, or 0 when it has none.
    uint64_t idOf(const void* object, const std::string& name) const;

private:
    struct Entry {
        uint64_t id;
        std::string name;
    };
    std::unordered_map<const void*, Entry> byObject_;
    uint64_t next_ = 1;
};
