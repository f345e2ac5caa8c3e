#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/system/Rankings.h"

namespace mareldon {

// "sv\MARELDON.ranking": 30 records, little-endian, laid out in docs/save-files.md.
class RankingFile {
  public:
    static constexpr const char* kPath = "sv\\MARELDON.ranking";
    // Longest stored name length (name bytes plus the zero) a file may hold.
    // Names are three characters; the bound only keeps a damaged file from
    // asking for absurd amounts of memory.
    static constexpr uint32_t kMaxStoredNameLength = 64;

    static std::vector<uint8_t> Encode(const Rankings& rankings);
    // Parses all 30 records into a copy and hands it over only when every one
    // was whole; a short or damaged file returns false with `rankings` untouched.
    // The play count is not stored: read records keep the one already in `rankings`.
    static bool Decode(const uint8_t* data, size_t size, Rankings& rankings);
};

}  // namespace mareldon
