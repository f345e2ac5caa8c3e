#include "game/system/ByteReader.h"

namespace mareldon {

const uint8_t* ByteReader::Bytes(size_t n) {
    if (failed_ || n > size_ - pos_) {
        failed_ = true;
        return nullptr;
    }
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

bool ByteReader::U8(uint8_t& value) {
    const uint8_t* p = Bytes(1);
    if (p == nullptr) {
        return false;
    }
    value = p[0];
    return true;
}

bool ByteReader::U32(uint32_t& value) {
    const uint8_t* p = Bytes(4);
    if (p == nullptr) {
        return false;
    }
    value = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    return true;
}

bool ByteReader::I32(int32_t& value) {
    uint32_t raw;
    if (!U32(raw)) {
        return false;
    }
    value = static_cast<int32_t>(raw);
    return true;
}

bool ByteReader::U64(uint64_t& value) {
    uint32_t low;
    uint32_t high;
    if (!U32(low) || !U32(high)) {
        return false;
    }
    value = uint64_t{high} << 32 | low;
    return true;
}

void ByteWriter::U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out_.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void ByteWriter::U64(uint64_t value) {
    U32(static_cast<uint32_t>(value));
    U32(static_cast<uint32_t>(value >> 32));
}

void ByteWriter::Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    out_.insert(out_.end(), p, p + n);
}

}  // namespace mareldon
