#pragma once

#include <cstdint>
#include <vector>

namespace mareldon {

// One circle in viewport pixels, registered for one step.
template <typename Object>
struct HitEntry {
    Object* object;
    float x;
    float y;
    uint32_t reserved;
    float radius;
};

// The circles of one kind, in registration order, held by value. The array keeps its
// capacity across steps, so after the first busy step appending allocates nothing.
template <typename Object>
class HitList {
  public:
    static constexpr int32_t kInitialCapacity = 4;

    HitList() { entries.reserve(kInitialCapacity); }

    void Add(Object* object, float x, float y, float radius) { entries.push_back({object, x, y, 0, radius}); }
    void Clear() { entries.clear(); }
    // Drops every entry of the object, keeping the order of the others.
    void Remove(const Object* object) {
        std::erase_if(entries, [object](const HitEntry<Object>& entry) { return entry.object == object; });
    }

    // The first entry, in registration order, whose circle holds the point strictly
    // inside; null when none does.
    Object* FindFirst(float x, float y) const {
        for (const HitEntry<Object>& entry : entries) {
            float dx = entry.x - x;
            float dy = entry.y - y;
            if (dx * dx + dy * dy < entry.radius * entry.radius)
                return entry.object;
        }
        return nullptr;
    }

    int32_t Count() const { return int32_t(entries.size()); }
    const std::vector<HitEntry<Object>>& Entries() const { return entries; }

  private:
    std::vector<HitEntry<Object>> entries;
};

}  // namespace mareldon
