#include "engine/render/ArchiveCursor.h"

#include <bit>
#include <cstring>

namespace mareldon {

bool ArchiveCursor::ReadU32(uint32_t& out) {
    if (Remaining() < 4) {
        return Fail();
    }
    out = LoadLE32(data_ + pos_);
    pos_ += 4;
    return true;
}

bool ArchiveCursor::ReadI32(int32_t& out) {
    uint32_t word = 0;
    if (!ReadU32(word)) {
        return false;
    }
    out = int32_t(word);
    return true;
}

bool ArchiveCursor::ReadF32(float& out) {
    uint32_t word = 0;
    if (!ReadU32(word)) {
        return false;
    }
    out = std::bit_cast<float>(word);
    return true;
}

bool ArchiveCursor::ReadBytes(size_t n, const uint8_t*& out) {
    if (Remaining() < n) {
        return Fail();
    }
    out = data_ + pos_;
    pos_ += n;
    return true;
}

bool ArchiveCursor::Skip(size_t n) {
    const uint8_t* ignored = nullptr;
    return ReadBytes(n, ignored);
}

bool ArchiveCursor::AlignTo4(size_t base) {
    if (failed_ || pos_ < base) {
        return Fail();
    }
    return Skip((4 - (pos_ - base) % 4) % 4);
}

bool ArchiveCursor::ReadCount(size_t minRecordBytes, size_t& count) {
    int32_t stored = 0;
    if (!ReadI32(stored)) {
        return false;
    }
    count = stored > 0 ? size_t(stored) : 0;
    if (minRecordBytes > 0 && count > Remaining() / minRecordBytes) {
        return Fail();
    }
    return true;
}

bool ArchiveCursor::ReadCString(size_t limit, std::string_view& out) {
    if (limit > Remaining()) {
        limit = Remaining();
    }
    const void* end = limit ? std::memchr(data_ + pos_, 0, limit) : nullptr;
    if (end == nullptr) {
        return Fail();
    }
    size_t length = size_t(static_cast<const uint8_t*>(end) - (data_ + pos_));
    out = std::string_view(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length + 1;
    return true;
}

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
