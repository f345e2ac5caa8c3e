#pragma once

// Direct3D 8 shader token words written by hand for the GL backend's tests.
#include <cstdint>
#include <cstring>
#include <vector>

namespace mareldon::tokens {

enum Register : int { R = 0, V = 1, C = 2, A = 3, T = 3, OPOS = 4, OD = 5, OT = 6 };
enum Opcode : uint32_t { MOV = 1, ADD = 2, SUB = 3, MAD = 4, MUL = 5, TEX = 66 };
constexpr uint32_t kCoIssue = 0x40000000;
constexpr uint32_t kVs11 = 0xFFFE0101, kPs11 = 0xFFFF0101, kEnd = 0x0000FFFF;
constexpr uint32_t kXyzw = 0xE4;

inline uint32_t Dst(int type, int num, int mask = 0xF, bool saturate = false) {
    return 0x80000000u | (uint32_t(type & 7) << 28) | (uint32_t(mask) << 16) | (saturate ? 1u << 20 : 0u) |
           uint32_t(num);
}
inline uint32_t Src(int type, int num, uint32_t swizzle = kXyzw, int modifier = 0, bool relative = false) {
    return 0x80000000u | (uint32_t(type & 7) << 28) | (swizzle << 16) | (uint32_t(modifier) << 24) |
           (relative ? 0x2000u : 0u) | uint32_t(num);
}

// A comment holding a constant table that declares c0..c(n-1) as one float4 array "c".
inline std::vector<uint32_t> ConstantTable(uint16_t registers) {
    std::vector<uint8_t> d(4 + 68, 0);
    auto w32 = [&](size_t o, uint32_t v) { std::memcpy(&d[o], &v, 4); };
    auto w16 = [&](size_t o, uint16_t v) { std::memcpy(&d[o], &v, 2); };
    std::memcpy(&d[0], "CTAB", 4);
    const size_t b = 4;
    w32(b + 0, 28), w32(b + 8, kVs11), w32(b + 12, 1), w32(b + 16, 28);
    w32(b + 28, 48), w16(b + 32, 2), w16(b + 36, registers), w32(b + 40, 52);                // constant info
    d[b + 48] = 'c';                                                                         // name
    w16(b + 52, 1), w16(b + 54, 3), w16(b + 56, 1), w16(b + 58, 4), w16(b + 60, registers);  // type
    std::vector<uint32_t> words(d.size() / 4);
    std::memcpy(words.data(), d.data(), d.size());
    words.insert(words.begin(), 0xFFFEu | (uint32_t(words.size()) << 16));
    return words;
}

}  // namespace mareldon::tokens
