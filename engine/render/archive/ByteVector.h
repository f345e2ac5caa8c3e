#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace mareldon {

// Leaves new elements uninitialised: archive data is copied in right after the
// allocation, and a second pass over hundreds of megabytes is measurable.
template <typename T>
struct FillLaterAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = FillLaterAllocator<U>;
    };
    FillLaterAllocator() = default;
    template <typename U>
    FillLaterAllocator(const FillLaterAllocator<U>&) {}
    template <typename U>
    void construct(U* at) {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

using ByteVector = std::vector<uint8_t, FillLaterAllocator<uint8_t>>;

}  // namespace mareldon
