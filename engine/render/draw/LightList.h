#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"

namespace mareldon {

class TextureBase;

// One named light, fog, projection or per-object record read by the shader
// generators. Records that carry a texture ("Shadowmap", "TextureProjection") keep it
// in `texture`: a pointer does not fit in float words, so words 0 to 2 stay unused for
// them and their values start at word 3.
struct LightRecord {
    static constexpr int32_t kValueCount = 32;

    String name;
    int32_t count = 0;
    float values[kValueCount] = {};
    RefPtr<TextureBase> texture;

    LightRecord() = default;
    LightRecord(const char* recordName, int32_t valueCount, const float* source);
    LightRecord(const LightRecord& other) = default;
    LightRecord& operator=(const LightRecord& other);
};

// A growable list of owned record copies; the capacity doubles when full. Cleared and
// refilled every frame, so cleared records are kept and overwritten by the next Add
// instead of being freed and allocated again.
class LightList {
  public:
    explicit LightList(int32_t initialCapacity = 2);
    LightList(const LightList&) = delete;
    LightList& operator=(const LightList&) = delete;

    // Appends a copy of the record (name, count, all 32 words, texture); returns its index.
    int32_t Add(const LightRecord& record);
    // Empties the list (texture handles are let go at once).
    void Clear();

    int32_t Count() const { return count; }
    int32_t Capacity() const { return static_cast<int32_t>(items.capacity()); }
    const LightRecord& operator[](int32_t index) const { return *items[static_cast<size_t>(index)]; }
    LightRecord& operator[](int32_t index) { return *items[static_cast<size_t>(index)]; }

  private:
    int32_t count = 0;
    // Records made so far; those past count are kept for the next frame.
    std::vector<std::unique_ptr<LightRecord>> items;
};

}  // namespace mareldon
