// Any bytes as a whole archive file: the header, the body and, for each sound
// slot the body names, its record.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/render/ArchiveParser.h"

namespace {

struct Slots : mareldon::ArchiveSink {
    void OnSoundSlot(uint64_t offset, uint32_t size) override { sounds.emplace_back(offset, size); }
    std::vector<std::pair<uint64_t, uint32_t>> sounds;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    ArchiveHeader header;
    std::string error;
    if (!ReadArchiveHeader(data, size, size, header, error)) {
        return 0;
    }
    Slots slots;
    if (!ParseArchiveBody(data + kArchiveHeaderSize, size_t(header.bodySize), header, size, slots, error)) {
        return 0;
    }
    for (const auto& [offset, length] : slots.sounds) {
        ArchiveSoundRecord record;
        ReadSoundRecord(data + offset, length, record, error);
    }
    return 0;
}
