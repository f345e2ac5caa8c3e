#pragma once

#include <type_traits>

#include "engine/core/CounterCellPool.h"

namespace mareldon {

namespace {
// Keeps the pool alive for the static handles of every unit that includes this.
[[maybe_unused]] CounterCellPoolGuard counterCellPoolGuard;
}  // namespace

// A shared-ownership handle: the object and a count cell from the pool. Every handle,
// an empty one too, owns or shares a cell. The last release deletes the object.
//
// The handle carries its deleter, taken where the object was handed over (where its
// type is complete), so handles can be stored, copied and released where the pointee
// is only forward-declared.
template <typename T>
class RefPtr {
  public:
    using Deleter = void (*)(T*);

    RefPtr() : object(nullptr), cell(AllocCounterCell()), deleter(nullptr) { *cell = 1; }
    explicit RefPtr(T* pointer) : RefPtr() { Take(pointer, &DeleteObject); }
    // For objects freed in another way (a plain memory block, an array's own release).
    RefPtr(T* pointer, Deleter customDeleter) : RefPtr() { Take(pointer, customDeleter); }

    RefPtr(const RefPtr& other) : object(other.object), cell(other.cell), deleter(other.deleter) { ++*cell; }

    // From a handle of a derived type; the last release then deletes through T's
    // virtual destructor.
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*> && !std::is_same_v<U, T>>>
    RefPtr(const RefPtr<U>& other)  // NOLINT(google-explicit-constructor)
        : object(other.Get()), cell(other.Cell()), deleter(&DeleteObject) {
        static_assert(std::has_virtual_destructor_v<T>, "a shared base handle needs a virtual destructor");
        ++*cell;
    }

    ~RefPtr() { Release(); }

    // Shares other's object. Safe on itself and when other lives inside the object
    // this handle releases: the source is taken before anything is let go.
    RefPtr& operator=(const RefPtr& other) {
        T* newObject = other.object;
        CounterCell* newCell = other.cell;
        Deleter newDeleter = other.deleter;
        ++*newCell;
        Release();
        object = newObject;
        cell = newCell;
        deleter = newDeleter;
        return *this;
    }

    // Releases the current object and takes pointer with a fresh cell. Handing in the
    // object already held changes nothing.
    void Reset(T* pointer = nullptr) { Reset(pointer, &DeleteObject); }
    void Reset(T* pointer, Deleter customDeleter) {
        if (pointer != nullptr && pointer == object)
            return;
        Release();
        cell = AllocCounterCell();
        *cell = 1;
        Take(pointer, customDeleter);
    }

    T* Get() const { return object; }
    T* operator->() const { return object; }
    T& operator*() const { return *object; }
    explicit operator bool() const { return object != nullptr; }
    bool operator==(const RefPtr& other) const { return object == other.object; }
    bool operator==(const T* pointer) const { return object == pointer; }

    CounterCell* Cell() const { return cell; }
    int32_t UseCount() const { return *cell; }

  private:
    static void DeleteObject(T* pointer) { delete pointer; }

    void Take(T* pointer, Deleter customDeleter) {
        object = pointer;
        deleter = pointer != nullptr ? customDeleter : nullptr;
    }

    void Release() {
        if (--*cell == 0) {
            if (object != nullptr && deleter != nullptr)
                deleter(object);
            FreeCounterCell(cell);
        }
    }

    T* object;
    CounterCell* cell;
    Deleter deleter;
};

}  // namespace mareldon
