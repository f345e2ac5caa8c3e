#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"

namespace mareldon {

// An array of counted handles whose capacity doubles when full and never shrinks.
template <typename T>
class HandleArray {
  public:
    explicit HandleArray(int32_t initialCapacity) { items.reserve(static_cast<size_t>(initialCapacity)); }

    // Appends a copy of the handle; returns its index.
    int32_t Add(const RefPtr<T>& handle) {
        if (items.size() == items.capacity())
            items.reserve(items.capacity() * 2);
        items.push_back(handle);
        return static_cast<int32_t>(items.size()) - 1;
    }
    // Releases every handle, keeping the capacity.
    void Clear() { items.clear(); }
    // Releases from the last to the first.
    void ReleaseBackwards() {
        while (!items.empty())
            items.pop_back();
    }

    int32_t Count() const { return static_cast<int32_t>(items.size()); }
    int32_t Capacity() const { return static_cast<int32_t>(items.capacity()); }
    const RefPtr<T>& operator[](int32_t index) const { return items[static_cast<size_t>(index)]; }
    RefPtr<T>& operator[](int32_t index) { return items[static_cast<size_t>(index)]; }

  private:
    std::vector<RefPtr<T>> items;
};

}  // namespace mareldon
