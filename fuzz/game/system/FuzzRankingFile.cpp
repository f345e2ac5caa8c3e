// The ranking file reader on any bytes: it either refuses the file and keeps the
// tables, or takes tables that write and read back to the same bytes.
#include <cstdlib>

#include "game/system/RankingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    Rankings defaults;
    defaults.ResetRanking();
    defaults.ResetPairRanking();
    const std::vector<uint8_t> before = RankingFile::Encode(defaults);
    Rankings rankings = defaults;
    if (!RankingFile::Decode(data, size, rankings)) {
        if (RankingFile::Encode(rankings) != before) {
            std::abort();
        }
        return 0;
    }
    const std::vector<uint8_t> written = RankingFile::Encode(rankings);
    Rankings again;
    if (!RankingFile::Decode(written.data(), written.size(), again) ||
        RankingFile::Encode(again) != written) {
        std::abort();
    }
    return 0;
}
