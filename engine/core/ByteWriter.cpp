#include "engine/core/ByteWriter.h"

namespace mareldon {

void ByteWriter::U16(uint16_t value) {
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(value >> 8));
}

void ByteWriter::U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(uint8_t(value >> shift));
    }
}

void ByteWriter::U64(uint64_t value) {
    U32(uint32_t(value));
    U32(uint32_t(value >> 32));
}

void ByteWriter::Bytes(const void* data, size_t n) {
    if (n == 0) {
        return;
    }
    const auto* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + n);
}

void ByteWriter::Pad4(size_t base) {
    Zeros((4 - (bytes.size() - base) % 4) % 4);
}

}  // namespace mareldon
