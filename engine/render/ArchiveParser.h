#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/render/ArchiveWords.h"

namespace mareldon {

// Reading of the data archive's layout (docs/archive-format.md), independent of
// the objects built from it: the parser checks every length, index and range and
// hands each record to an ArchiveSink. Names and key tracks are passed as indices
// into the string and key-track sections, which the parser has checked.

inline constexpr size_t kArchiveHeaderSize = 8;
// Model trees deeper than this are refused; real models are a few levels deep.
inline constexpr int kArchiveMaxNodeDepth = 256;
// A font's offset table holds one entry per 16-bit character code.
inline constexpr size_t kFontOffsetTableWords = 65536;
// Glyphs are cached in cells of a texture of this width and height.
inline constexpr int32_t kFontTextureSize = 512;
// Node types the model loader knows.
inline constexpr int32_t kArchiveNodeTypeCount = 6;
// A mesh's bone palette and parameters become vertex shader constants: no shader holds
// more, and a larger claim would only size a buffer from damaged data.
inline constexpr int32_t kArchiveMaxPaletteSize = 256;
inline constexpr int32_t kArchiveMaxParameterCount = 1024;

struct ArchiveHeader {
    int32_t bodySize = 0;
    int32_t soundBase = 0;
};

struct ArchiveParamTrack {
    int32_t name = 0;
    int32_t track = 0;
};

struct ArchiveElement {
    int32_t name = 0;
    int32_t floatCount = 0;
};

struct ArchiveTextureRef {
    int32_t slotName = 0;
    int32_t image = 0;
};

struct ArchiveMeshPart {
    int32_t name = 0;
    int32_t kind = 0;
    std::vector<ArchiveElement> elements;
    std::vector<ArchiveTextureRef> textures;
    int32_t vertexArray = 0;
    std::array<int32_t, 2> vertexWords{};  // start value, vertex count
    int32_t indexArray = 0;
    std::array<int32_t, 2> indexWords{};  // start index, index count
    std::vector<ArchiveParamTrack> params;
    std::array<uint32_t, 10> drawSettings{};
};

struct ArchiveMesh {
    int32_t paletteSize = 0;
    int32_t parameterCount = 0;
    bool instancing = false;
    std::vector<ArchiveMeshPart> parts;
};

struct ArchiveNode {
    int32_t name = 0;
    int32_t type = 0;
    // Type 0.
    float startTime = 0.0f;
    float endTime = 0.0f;
    // Type 2.
    ArchiveMesh mesh;
    std::vector<ArchiveParamTrack> params;
    // Type 3.
    int32_t paletteIndex = 0;
    std::array<float, 16> offsetMatrix{};
    // Position xyz, Euler xyz, scale xyz, pivot xyz.
    std::array<int32_t, 12> tracks{};
    std::vector<ArchiveNode> children;
};

struct ArchiveSpriteFrame {
    int32_t name = 0;
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
};

struct ArchiveSprite {
    int32_t name = 0;
    int32_t image = 0;
    std::vector<ArchiveSpriteFrame> frames;
};

struct ArchiveFont {
    int32_t name = 0;
    int32_t glyphWidth = 0;
    int32_t glyphHeight = 0;
    int32_t offsetTable = 0;  // word array
    int32_t bitStream = 0;    // byte blob
};

struct ArchiveGroup {
    int32_t name = 0;
    std::vector<int32_t> sounds;
    std::vector<int32_t> further;
    std::vector<int32_t> images;
};

// Receives the records in file order. Views point into the body and are valid
// only during the call.
class ArchiveSink {
  public:
    virtual ~ArchiveSink() = default;
    virtual void OnString(std::string_view /*text*/) {}
    // keys: k records of 8 words (time, value, kind, c0 .. c3, reserved).
    virtual void OnKeyTrack(int32_t /*preMode*/, int32_t /*postMode*/, float /*defaultValue*/,
                            ArchiveWords /*keys*/) {}
    virtual void OnIndexArray(ArchiveWords /*indices*/) {}
    virtual void OnVertexArray(int32_t /*wordsPerVertex*/, ArchiveWords /*words*/) {}
    virtual void OnWordArray(ArchiveWords /*words*/) {}
    virtual void OnByteBlob(const uint8_t* /*bytes*/, size_t /*size*/) {}
    // Absolute file offsets, checked to lie in the file behind the body.
    virtual void OnImageSlot(uint64_t /*fileOffset*/, uint32_t /*size*/) {}
    virtual void OnSoundSlot(uint64_t /*fileOffset*/, uint32_t /*size*/) {}
    virtual void OnModel(int32_t /*name*/, const ArchiveNode& /*root*/) {}
    virtual void OnSprite(const ArchiveSprite& /*sprite*/) {}
    virtual void OnSoundName(std::string_view /*name*/, int32_t /*soundSlot*/) {}
    virtual void OnFont(const ArchiveFont& /*font*/) {}
    virtual void OnGroup(const ArchiveGroup& /*group*/) {}
};

// Reads the 8-byte header from the start of a file of fileSize bytes and checks
// that the body fits behind it.
bool ReadArchiveHeader(const uint8_t* data, size_t size, uint64_t fileSize, ArchiveHeader& header,
                       std::string& error);

// Parses a whole body (header.bodySize bytes). On failure `error` says what was
// wrong and where; the sink may have seen part of the records and must drop them.
bool ParseArchiveBody(const uint8_t* body, size_t size, const ArchiveHeader& header, uint64_t fileSize,
                      ArchiveSink& sink, std::string& error);

// A sound slot's record: PCM byte count s, s bytes, padding to 4, five
// parameters (bits per sample, samples per second, channels, two more) and a flag.
struct ArchiveSoundRecord {
    const uint8_t* pcm = nullptr;
    size_t pcmSize = 0;
    std::array<int32_t, 5> params{};
    bool flag = false;
};

// Fails when the record does not fit in the slot's bytes.
bool ParseSoundRecord(const uint8_t* data, size_t size, ArchiveSoundRecord& record, std::string& error);

}  // namespace mareldon
