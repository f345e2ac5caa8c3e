#include "engine/render/archive/ArchiveWords.h"

#include <bit>
#include <cstring>

namespace mareldon {

float ArchiveWords::Float(size_t i) const {
    return std::bit_cast<float>((*this)[i]);
}

void ArchiveWords::CopyTo(uint32_t* out) const {
    if constexpr (std::endian::native == std::endian::little) {
        if (count != 0) {
            std::memcpy(out, bytes, count * 4);
        }
    } else {
        for (size_t i = 0; i < count; ++i) {
            out[i] = (*this)[i];
        }
    }
}

}  // namespace mareldon
