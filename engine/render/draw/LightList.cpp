#include "engine/render/draw/LightList.h"

namespace mareldon {

LightRecord::LightRecord(const char* recordName, int32_t valueCount, const float* source)
    : name(recordName), count(valueCount) {
    for (int32_t i = 0; source != nullptr && i < valueCount && i < kValueCount; ++i)
        values[i] = source[i];
}

LightRecord& LightRecord::operator=(const LightRecord& other) {
    if (this == &other)
        return *this;
    name = other.name;
    count = other.count;
    for (int32_t i = 0; i < kValueCount; ++i)
        values[i] = other.values[i];
    texture = other.texture;
    return *this;
}

LightList::LightList(int32_t initialCapacity) {
    items.reserve(static_cast<size_t>(initialCapacity > 0 ? initialCapacity : 1));
}

int32_t LightList::Add(const LightRecord& record) {
    if (static_cast<size_t>(count) == items.size()) {
        if (items.size() == items.capacity())
            items.reserve(items.capacity() * 2);
        items.push_back(std::make_unique<LightRecord>(record));
    } else {
        *items[static_cast<size_t>(count)] = record;
    }
    return count++;
}

void LightList::Clear() {
    for (int32_t i = 0; i < count; ++i)
        items[static_cast<size_t>(i)]->texture = RefPtr<TextureBase>();
    count = 0;
}

}  // namespace mareldon
