// The settings file reader on any bytes: a file it takes must write back unchanged
// (apart from the unused bytes) and hold COIN and CREDIT of at least 1.
#include <cstdlib>
#include <cstring>

#include "game/system/ConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    ConfigBlocks blocks;
    if (!ConfigFile::Decode(data, size, blocks)) {
        if (!(blocks == ConfigBlocks{})) {
            std::abort();
        }
        return 0;
    }
    const auto written = ConfigFile::Encode(blocks);
    if (blocks.operating.coins < 1 || blocks.operating.credits < 1 ||
        std::memcmp(written.data(), data, 22) != 0 || std::memcmp(written.data() + 24, data + 24, 24) != 0) {
        std::abort();
    }
    return 0;
}
