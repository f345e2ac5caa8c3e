// Any bytes as a whole archive file: the header, the body built into the shared
// objects and, for each sound slot the body names, its record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/render/archive/ArchiveBuilder.h"

namespace {

// The parser bounds the depth of the tree.
void BuildLayouts(mareldon::ModelNodeData& node) {
    if (node.mesh) {
        for (const auto& part : node.mesh->parts) {
            part->BuildLayout();
        }
    }
    for (const auto& child : node.children) {
        BuildLayouts(*child);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    ArchiveHeader header;
    std::string error;
    if (!ReadArchiveHeader(data, size, size, header, error)) {
        return 0;
    }
    // As the loader does: the body in a block of words that the arrays view.
    RefPtr<WordBlock> body(new WordBlock((size_t(header.bodySize) + 3) / 4));
    std::memcpy(body->Bytes(), data + kArchiveHeaderSize, size_t(header.bodySize));
    ArchiveBuilder built;
    built.ShareBody(body);
    if (!ParseArchiveBody(body->Bytes(), size_t(header.bodySize), header, size, built, error)) {
        return 0;
    }
    for (const RefPtr<SoundSlot>& slot : built.sounds) {
        ArchiveSoundRecord record;
        ParseSoundRecord(data + slot->fileOffset, slot->size, record, error);
    }
    for (const RefPtr<ModelEntry>& model : built.models) {
        BuildLayouts(*model->root);
    }
    return 0;
}
