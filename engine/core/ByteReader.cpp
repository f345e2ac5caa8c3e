#include "engine/core/ByteReader.h"

#include <bit>
#include <cstring>

namespace mareldon {

bool ByteReader::Bytes(size_t n, const uint8_t*& out) {
    // Even an empty read fails once the reader has failed.
    if (failed_ || n > size_ - pos_) {
        return Fail();
    }
    out = data_ + pos_;
    pos_ += n;
    return true;
}

bool ByteReader::Skip(size_t n) {
    const uint8_t* ignored = nullptr;
    return Bytes(n, ignored);
}

bool ByteReader::U8(uint8_t& value) {
    const uint8_t* p = nullptr;
    if (!Bytes(1, p)) {
        return false;
    }
    value = p[0];
    return true;
}

bool ByteReader::U32(uint32_t& value) {
    const uint8_t* p = nullptr;
    if (!Bytes(4, p)) {
        return false;
    }
    value = LoadLE32(p);
    return true;
}

bool ByteReader::I32(int32_t& value) {
    uint32_t word = 0;
    if (!U32(word)) {
        return false;
    }
    value = int32_t(word);
    return true;
}

bool ByteReader::F32(float& value) {
    uint32_t word = 0;
    if (!U32(word)) {
        return false;
    }
    value = std::bit_cast<float>(word);
    return true;
}

bool ByteReader::U64(uint64_t& value) {
    const uint8_t* p = nullptr;
    if (!Bytes(8, p)) {
        return false;
    }
    value = uint64_t{LoadLE32(p + 4)} << 32 | LoadLE32(p);
    return true;
}

bool ByteReader::AlignTo4(size_t base) {
    if (failed_ || pos_ < base) {
        return Fail();
    }
    return Skip((4 - (pos_ - base) % 4) % 4);
}

bool ByteReader::Count(size_t minRecordBytes, size_t& count) {
    int32_t stored = 0;
    if (!I32(stored)) {
        return false;
    }
    count = stored > 0 ? size_t(stored) : 0;
    if (minRecordBytes > 0 && count > Remaining() / minRecordBytes) {
        return Fail();
    }
    return true;
}

bool ByteReader::CString(size_t limit, std::string_view& out) {
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

}  // namespace mareldon
