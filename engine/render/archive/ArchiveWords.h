#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/ByteReader.h"

namespace mareldon {

// A view of `count` little-endian 32-bit words inside a buffer.
struct ArchiveWords {
    const uint8_t* bytes = nullptr;
    size_t count = 0;

    uint32_t operator[](size_t i) const { return LoadLE32(bytes + i * 4); }
    int32_t Int(size_t i) const { return int32_t((*this)[i]); }
    float Float(size_t i) const;
    // Decodes every word into out[0 .. count).
    void CopyTo(uint32_t* out) const;
};

}  // namespace mareldon
