#pragma once

#include <cstdint>
#include <utility>

namespace mareldon {

// Base of every object the graphics layer hands out. Counted like the COM objects
// the device code was written against: the creator holds one reference, AddRef
// adds one, Release drops one and destroys the object at zero.
class GpuResource {
  public:
    GpuResource(const GpuResource&) = delete;
    GpuResource& operator=(const GpuResource&) = delete;

    uint32_t AddRef() { return ++references_; }
    uint32_t Release() {
        uint32_t left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    uint32_t References() const { return references_; }

  protected:
    GpuResource() = default;
    virtual ~GpuResource() = default;

  private:
    uint32_t references_ = 1;
};

// Owns one reference to a layer object; releases it when reset or destroyed.
template <class T>
class GpuPtr {
  public:
    GpuPtr() = default;
    // Takes over a reference the caller already holds (as returned by a Create call).
    explicit GpuPtr(T* adopted) : object_(adopted) {}
    // Shares an object the caller does not own: adds a reference.
    static GpuPtr Share(T* object) {
        if (object) {
            object->AddRef();
        }
        return GpuPtr(object);
    }
    GpuPtr(const GpuPtr& other) : object_(other.object_) {
        if (object_) {
            object_->AddRef();
        }
    }
    GpuPtr(GpuPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GpuPtr& operator=(GpuPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~GpuPtr() { Reset(); }

    void Reset(T* adopted = nullptr) {
        T* old = std::exchange(object_, adopted);
        if (old) {
            old->Release();
        }
    }
    // For Create calls that return the new object through a T** argument.
    T** Receive() {
        Reset();
        return &object_;
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(object_, nullptr); }
    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    T* object_ = nullptr;
};

}  // namespace mareldon
