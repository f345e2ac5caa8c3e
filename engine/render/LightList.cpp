#include "engine/render/LightList.h"

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

LightList::LightList(int32_t initialCapacity)
    : capacity(initialCapacity > 0 ? initialCapacity : 1), items(new LightRecord*[capacity]) {}

LightList::~LightList() {
    for (int32_t i = 0; i < allocated; ++i)
        delete items[i];
    delete[] items;
}

int32_t LightList::Add(const LightRecord& record) {
    if (count == allocated) {
        if (allocated == capacity) {
            auto** grown = new LightRecord*[static_cast<size_t>(capacity) * 2];
            for (int32_t i = 0; i < allocated; ++i)
                grown[i] = items[i];
            delete[] items;
            items = grown;
            capacity *= 2;
        }
        items[allocated++] = new LightRecord(record);
    } else {
        *items[count] = record;
    }
    return count++;
}

void LightList::Clear() {
    for (int32_t i = 0; i < count; ++i)
        items[i]->texture.Reset();
    count = 0;
}

}  // namespace mareldon
