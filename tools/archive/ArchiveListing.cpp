#include "tools/archive/ArchiveListing.h"

#include <string>

#include "engine/core/Cp932.h"
#include "engine/render/archive/ArchiveParser.h"

namespace mareldon {

namespace {

class Listing : public ArchiveSink {
  public:
    // Names are cp932; the listing is for a UTF-8 terminal.
    void OnString(std::string_view text) override { strings.push_back(Cp932ToUtf8(text)); }
    void OnKeyTrack(int32_t, int32_t, float, ArchiveWords) override { ++tracks; }
    void OnIndexArray(ArchiveWords) override { ++indexArrays; }
    void OnVertexArray(int32_t, ArchiveWords) override { ++vertexArrays; }
    void OnWordArray(ArchiveWords) override { ++wordArrays; }
    void OnByteBlob(const uint8_t*, size_t) override { ++blobs; }
    void OnImageSlot(uint64_t offset, uint32_t size) override {
        images += "  image " + std::to_string(imageCount++) + " at " + std::to_string(offset) + ", " +
                  std::to_string(size) + " bytes\n";
    }
    void OnSoundSlot(uint64_t offset, uint32_t size) override {
        sounds += "  sound " + std::to_string(soundCount++) + " at " + std::to_string(offset) + ", " +
                  std::to_string(size) + " bytes\n";
    }
    void OnModel(int32_t name, const ArchiveNode& root) override {
        size_t nodes = 0, parts = 0;
        Count(root, nodes, parts);
        models += "  model \"" + strings[size_t(name)] + "\": " + std::to_string(nodes) + " nodes, " +
                  std::to_string(parts) + " parts, " + std::to_string(root.startTime) + " to " +
                  std::to_string(root.endTime) + " s\n";
        ++modelCount;
    }
    void OnSprite(const ArchiveSprite& sprite) override {
        sprites += "  sprite \"" + strings[size_t(sprite.name)] + "\": image " +
                   std::to_string(sprite.image) + ", frames";
        for (const ArchiveSpriteFrame& frame : sprite.frames) {
            sprites += " \"" + strings[size_t(frame.name)] + "\"";
        }
        sprites += "\n";
        ++spriteCount;
    }
    void OnSoundName(std::string_view name, int32_t slot) override {
        soundNames += "  sound name \"" + Cp932ToUtf8(name) + "\": sound " + std::to_string(slot) + "\n";
        ++soundNameCount;
    }
    void OnFont(const ArchiveFont& font) override {
        fonts += "  font \"" + strings[size_t(font.name)] + "\": " + std::to_string(font.glyphWidth) + "x" +
                 std::to_string(font.glyphHeight) + "\n";
        ++fontCount;
    }
    void OnGroup(const ArchiveGroup& group) override {
        groups += "  group \"" + strings[size_t(group.name)] + "\": " + std::to_string(group.sounds.size()) +
                  " sounds, " + std::to_string(group.images.size()) + " images\n";
        ++groupCount;
    }

    static void Count(const ArchiveNode& node, size_t& nodes, size_t& parts) {
        ++nodes;
        parts += node.mesh.parts.size();
        for (const ArchiveNode& child : node.children) {
            Count(child, nodes, parts);
        }
    }

    std::vector<std::string> strings;
    size_t tracks = 0, indexArrays = 0, vertexArrays = 0, wordArrays = 0, blobs = 0;
    size_t imageCount = 0, soundCount = 0, modelCount = 0, spriteCount = 0, soundNameCount = 0, fontCount = 0,
           groupCount = 0;
    std::string images, sounds, models, sprites, soundNames, fonts, groups;
};

}  // namespace

bool ListArchive(const std::vector<uint8_t>& file, std::ostream& out) {
    ArchiveHeader header;
    std::string error;
    Listing list;
    if (!ReadArchiveHeader(file.data(), file.size(), file.size(), header, error) ||
        !ParseArchiveBody(file.data() + kArchiveHeaderSize, size_t(header.bodySize), header, file.size(),
                          list, error)) {
        out << "refused: " << error << "\n";
        return false;
    }
    out << "body " << header.bodySize << " bytes, sound area at " << header.soundBase << "\n";
    out << "strings " << list.strings.size() << "\n";
    out << "key tracks " << list.tracks << "\n";
    out << "index arrays " << list.indexArrays << "\n";
    out << "vertex arrays " << list.vertexArrays << "\n";
    out << "word arrays " << list.wordArrays << "\n";
    out << "byte blobs " << list.blobs << "\n";
    out << "images " << list.imageCount << "\n" << list.images;
    out << "sounds " << list.soundCount << "\n" << list.sounds;
    out << "models " << list.modelCount << "\n" << list.models;
    out << "sprites " << list.spriteCount << "\n" << list.sprites;
    out << "sound names " << list.soundNameCount << "\n" << list.soundNames;
    out << "fonts " << list.fontCount << "\n" << list.fonts;
    out << "groups " << list.groupCount << "\n" << list.groups;
    return true;
}

bool ListShaderData(const std::vector<uint8_t>& file, ShaderDataKind kind, std::ostream& out) {
    std::string error;
    size_t count = 0;
    bool ok = ReadShaderData(
        file.data(), file.size(), kind,
        [&](const ShaderDataRecord& record) {
            out << "shader \"" << Cp932ToUtf8(record.key) << "\": " << record.text.size() << " bytes of text";
            for (const ShaderDataElement& element : record.elements) {
                out << ", " << element.name << ":" << element.type;
            }
            out << "\n";
            ++count;
        },
        error);
    out << "records " << count << "\n";
    if (!ok) {
        out << "damaged: " << error << "\n";
    }
    return ok;
}

}  // namespace mareldon
