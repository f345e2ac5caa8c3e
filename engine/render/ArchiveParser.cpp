#include "engine/render/ArchiveParser.h"

#include "engine/core/ByteReader.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace mareldon {

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// Smallest sizes of the records, used to bound counts before anything is allocated.
constexpr size_t kKeyBytes = 32;
constexpr size_t kNodeMinBytes = 15 * 4;      // name, type, 12 tracks, child count
constexpr size_t kMeshPartMinBytes = 21 * 4;  // fixed words of a part with empty lists
constexpr size_t kPairBytes = 8;

class BodyParser {
  public:
    BodyParser(const uint8_t* body, size_t size, const ArchiveHeader& header, uint64_t fileSize,
               ArchiveSink& sink)
        : in_(body, size), header_(header), fileSize_(fileSize), sink_(sink) {}

    bool Parse(std::string& error);

  private:
    bool Strings();
    bool KeyTracks();
    bool Section(const char* name, size_t minRecordBytes, size_t& count);
    bool WordSection(const char* name, std::vector<ArchiveWords>& arrays,
                     void (ArchiveSink::*deliver)(ArchiveWords));
    bool VertexArrays();
    bool ByteBlobs();
    bool Slots(bool sounds);
    bool Models();
    bool Node(ArchiveNode& node, int depth);
    bool Mesh(ArchiveMesh& mesh);
    bool Part(ArchiveMeshPart& part);
    bool ParamTracks(std::vector<ArchiveParamTrack>& params);
    bool Sprites();
    bool SoundNames();
    bool Fonts();
    bool Groups();
    bool IndexList(std::vector<int32_t>& list, size_t limit, const char* what);

    bool Index(int32_t& out, size_t limit, const char* what);
    uint32_t LargestIndex(size_t array);
    bool Name(int32_t& out) { return Index(out, strings_, "string"); }
    bool Track(int32_t& out) { return Index(out, tracks_.size(), "key track"); }

    bool Fail(const char* what) {
        if (error_.empty()) {
            error_ = Format("%s at body offset %zu", what, in_.Position());
        }
        return in_.Fail();
    }
    bool Truncated() { return Fail(Format("%s: record runs past the end of the body", section_).c_str()); }

    ByteReader in_;
    ArchiveHeader header_;
    uint64_t fileSize_;
    ArchiveSink& sink_;
    const char* section_ = "header";
    std::string error_;

    size_t strings_ = 0;
    std::vector<size_t> tracks_;
    std::vector<ArchiveWords> indexArrays_;
    std::vector<int32_t> largestIndex_;  // per index array, -1 until needed
    std::vector<size_t> vertexArrays_;   // vertex counts
    std::vector<int32_t> wordsPerVertex_;
    std::vector<ArchiveWords> wordArrays_;
    size_t blobs_ = 0;
    size_t images_ = 0;
    size_t sounds_ = 0;
};

bool BodyParser::Parse(std::string& error) {
    bool ok = Strings() && KeyTracks() &&
              WordSection("index arrays", indexArrays_, &ArchiveSink::OnIndexArray) && VertexArrays() &&
              WordSection("word arrays", wordArrays_, &ArchiveSink::OnWordArray) && ByteBlobs() &&
              Slots(false) && Slots(true) && Models() && Sprites() && SoundNames() && Fonts() && Groups();
    if (!ok) {
        if (error_.empty()) {
            Truncated();
        }
        error = error_;
    }
    return ok;
}

bool BodyParser::Index(int32_t& out, size_t limit, const char* what) {
    if (!in_.I32(out)) {
        return Truncated();
    }
    if (out < 0 || size_t(out) >= limit) {
        return Fail(Format("%s: %s index %d out of range (%zu)", section_, what, out, limit).c_str());
    }
    return true;
}

uint32_t BodyParser::LargestIndex(size_t array) {
    if (largestIndex_.empty()) {
        largestIndex_.assign(indexArrays_.size(), -1);
    }
    if (largestIndex_[array] < 0) {
        const ArchiveWords& words = indexArrays_[array];
        uint32_t largest = 0;
        for (size_t i = 0; i < words.count; ++i) {
            largest = std::max(largest, words[i] & 0xFFFF);
        }
        largestIndex_[array] = int32_t(largest);
    }
    return uint32_t(largestIndex_[array]);
}

bool BodyParser::Strings() {
    size_t count = 0;
    if (!Section("strings", 1, count)) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        std::string_view text;
        if (!in_.CString(text)) {
            return Fail("strings: name without its 0 byte");
        }
        sink_.OnString(text);
    }
    strings_ = count;
    return in_.AlignTo4(0) || Truncated();
}

bool BodyParser::KeyTracks() {
    size_t count = 0;
    if (!Section("key tracks", 16, count)) {
        return false;
    }
    tracks_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        int32_t preMode = 0, postMode = 0;
        float defaultValue = 0.0f;
        size_t keys = 0;
        const uint8_t* data = nullptr;
        if (!in_.I32(preMode) || !in_.I32(postMode) || !in_.F32(defaultValue) ||
            !in_.Count(kKeyBytes, keys) || !in_.Bytes(keys * kKeyBytes, data)) {
            return Truncated();
        }
        const ArchiveWords words{data, keys * 8};
        // Keys are kept in time order, which a time that is not a number has no place in.
        for (size_t k = 0; k < keys; ++k) {
            if (std::isnan(words.Float(k * 8))) {
                return Fail(Format("key tracks: key %zu of track %zu has no time", k, i).c_str());
            }
        }
        sink_.OnKeyTrack(preMode, postMode, defaultValue, words);
        tracks_.push_back(keys);
    }
    return true;
}

bool BodyParser::WordSection(const char* name, std::vector<ArchiveWords>& arrays,
                             void (ArchiveSink::*deliver)(ArchiveWords)) {
    size_t count = 0;
    if (!Section(name, 4, count)) {
        return false;
    }
    arrays.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        size_t words = 0;
        const uint8_t* data = nullptr;
        if (!in_.Count(4, words) || !in_.Bytes(words * 4, data)) {
            return Truncated();
        }
        (sink_.*deliver)(ArchiveWords{data, words});
        arrays.push_back(ArchiveWords{data, words});
    }
    return true;
}

bool BodyParser::Section(const char* name, size_t minRecordBytes, size_t& count) {
    section_ = name;
    return in_.Count(minRecordBytes, count) || Truncated();
}

bool BodyParser::VertexArrays() {
    size_t count = 0;
    if (!Section("vertex arrays", 8, count)) {
        return false;
    }
    vertexArrays_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        size_t words = 0;
        int32_t perVertex = 0;
        if (!in_.Count(0, words) || !in_.I32(perVertex)) {
            return Truncated();
        }
        if (perVertex <= 0) {
            return Fail(Format("vertex arrays: %d words per vertex", perVertex).c_str());
        }
        if (words % size_t(perVertex) != 0) {
            return Fail(
                Format("vertex arrays: %zu words are not whole vertices of %d", words, perVertex).c_str());
        }
        const uint8_t* data = nullptr;
        if (words > in_.Remaining() / 4 || !in_.Bytes(words * 4, data)) {
            return Truncated();
        }
        sink_.OnVertexArray(perVertex, ArchiveWords{data, words});
        vertexArrays_.push_back(words / size_t(perVertex));
        wordsPerVertex_.push_back(perVertex);
    }
    return true;
}

bool BodyParser::ByteBlobs() {
    size_t count = 0;
    if (!Section("byte blobs", 4, count)) {
        return false;
    }
    size_t base = in_.Position();
    for (size_t i = 0; i < count; ++i) {
        size_t bytes = 0;
        const uint8_t* data = nullptr;
        if (!in_.Count(1, bytes) || !in_.Bytes(bytes, data)) {
            return Truncated();
        }
        sink_.OnByteBlob(data, bytes);
    }
    blobs_ = count;
    return in_.AlignTo4(base) || Truncated();
}

bool BodyParser::Slots(bool sounds) {
    size_t count = 0;
    if (!Section(sounds ? "sound table" : "image table", 8, count)) {
        return false;
    }
    // Both areas lie behind the body; a slot must stay inside the file.
    const int64_t areaStart = int64_t(kArchiveHeaderSize) + (sounds ? header_.soundBase : header_.bodySize);
    const int64_t dataStart = int64_t(kArchiveHeaderSize) + header_.bodySize;
    for (size_t i = 0; i < count; ++i) {
        int32_t offset = 0, size = 0;
        if (!in_.I32(offset) || !in_.I32(size)) {
            return Truncated();
        }
        int64_t start = areaStart + offset;
        if (offset < 0 || size < 0 || start < dataStart || uint64_t(start) + uint64_t(size) > fileSize_) {
            return Fail(
                Format("%s: slot %zu (offset %d, %d bytes) lies outside the file", section_, i, offset, size)
                    .c_str());
        }
        if (sounds) {
            sink_.OnSoundSlot(uint64_t(start), uint32_t(size));
        } else {
            sink_.OnImageSlot(uint64_t(start), uint32_t(size));
        }
    }
    (sounds ? sounds_ : images_) = count;
    return true;
}

bool BodyParser::Models() {
    size_t count = 0;
    if (!Section("models", 4 + kNodeMinBytes, count)) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        int32_t name = 0;
        ArchiveNode root;
        if (!Name(name) || !Node(root, 1)) {
            return false;
        }
        sink_.OnModel(name, root);
    }
    return true;
}

bool BodyParser::Node(ArchiveNode& node, int depth) {
    if (depth > kArchiveMaxNodeDepth) {
        return Fail(Format("models: node tree deeper than %d levels", kArchiveMaxNodeDepth).c_str());
    }
    if (!Name(node.name) || !in_.I32(node.type)) {
        return Truncated();
    }
    if (node.type < 0 || node.type >= kArchiveNodeTypeCount) {
        return Fail(Format("models: unknown node type %d", node.type).c_str());
    }
    switch (node.type) {
        case 0:
            if (!in_.F32(node.startTime) || !in_.F32(node.endTime)) {
                return Truncated();
            }
            break;
        case 2:
            if (!Mesh(node.mesh) || !ParamTracks(node.params)) {
                return false;
            }
            if (node.params.size() > size_t(std::max(node.mesh.parameterCount, 0))) {
                return Fail(Format("models: %zu node parameters for a mesh of %d", node.params.size(),
                                   node.mesh.parameterCount)
                                .c_str());
            }
            break;
        case 3:
            if (!in_.I32(node.paletteIndex)) {
                return Truncated();
            }
            for (float& value : node.offsetMatrix) {
                if (!in_.F32(value)) {
                    return Truncated();
                }
            }
            break;
        default:
            break;
    }
    for (int32_t& track : node.tracks) {
        if (!Track(track)) {
            return false;
        }
    }
    size_t children = 0;
    if (!in_.Count(kNodeMinBytes, children)) {
        return Truncated();
    }
    // Grown child by child: a count is only bounded by the bytes left, and every
    // level of a deep tree claiming its most would hold that many nodes at once.
    for (size_t i = 0; i < children; ++i) {
        node.children.emplace_back();
        if (!Node(node.children.back(), depth + 1)) {
            return false;
        }
    }
    return true;
}

bool BodyParser::Mesh(ArchiveMesh& mesh) {
    size_t parts = 0;
    int32_t instancing = 0;
    if (!in_.Count(0, parts) || !in_.I32(mesh.paletteSize) || !in_.I32(mesh.parameterCount) ||
        !in_.I32(instancing)) {
        return Truncated();
    }
    if (parts > in_.Remaining() / kMeshPartMinBytes) {
        return Truncated();
    }
    if (mesh.paletteSize > kArchiveMaxPaletteSize || mesh.parameterCount > kArchiveMaxParameterCount) {
        return Fail(Format("models: a mesh of %d palette matrices and %d parameters", mesh.paletteSize,
                           mesh.parameterCount)
                        .c_str());
    }
    mesh.instancing = instancing == 1;
    mesh.parts.resize(parts);
    for (ArchiveMeshPart& part : mesh.parts) {
        if (!Part(part)) {
            return false;
        }
    }
    return true;
}

bool BodyParser::Part(ArchiveMeshPart& part) {
    size_t count = 0;
    if (!Name(part.name) || !in_.I32(part.kind)) {
        return Truncated();
    }
    if (!in_.Count(kPairBytes, count)) {
        return Truncated();
    }
    part.elements.resize(count);
    int64_t floats = 0;
    for (ArchiveElement& element : part.elements) {
        if (!Name(element.name) || !in_.I32(element.floatCount)) {
            return Truncated();
        }
        if (element.floatCount < 0) {
            return Fail(Format("models: vertex element of %d floats", element.floatCount).c_str());
        }
        floats += element.floatCount;
    }
    if (!in_.Count(kPairBytes, count)) {
        return Truncated();
    }
    part.textures.resize(count);
    for (ArchiveTextureRef& texture : part.textures) {
        if (!Name(texture.slotName) || !Index(texture.image, images_, "image slot")) {
            return false;
        }
    }
    if (!Index(part.vertexArray, vertexArrays_.size(), "vertex array") || !in_.I32(part.vertexWords[0]) ||
        !in_.I32(part.vertexWords[1]) || !Index(part.indexArray, indexArrays_.size(), "index array") ||
        !in_.I32(part.indexWords[0]) || !in_.I32(part.indexWords[1])) {
        return Truncated();
    }
    // The device draws these ranges straight from the buffers, so they must lie inside.
    const size_t vertices = vertexArrays_[size_t(part.vertexArray)];
    const ArchiveWords& indexArray = indexArrays_[size_t(part.indexArray)];
    const size_t indices = indexArray.count;
    auto inside = [](int32_t start, int32_t n, size_t limit) {
        return start >= 0 && n >= 0 && uint64_t(start) + uint64_t(n) <= limit;
    };
    if (!inside(part.vertexWords[0], part.vertexWords[1], vertices) ||
        !inside(part.indexWords[0], part.indexWords[1], indices)) {
        return Fail(Format("models: part draws vertices %d+%d of %zu, indices %d+%d of %zu",
                           part.vertexWords[0], part.vertexWords[1], vertices, part.indexWords[0],
                           part.indexWords[1], indices)
                        .c_str());
    }
    // Each index (its low 16 bits) counts from the start value, the base vertex.
    // Parts share index arrays: the array's largest index settles most of them.
    if (part.indexWords[1] > 0 &&
        uint64_t(part.vertexWords[0]) + LargestIndex(size_t(part.indexArray)) >= vertices) {
        for (size_t i = 0; i < size_t(part.indexWords[1]); ++i) {
            const uint32_t index = indexArray[size_t(part.indexWords[0]) + i] & 0xFFFF;
            if (uint64_t(part.vertexWords[0]) + index >= vertices) {
                return Fail(Format("models: part index %u from vertex %d reads past the %zu vertices", index,
                                   part.vertexWords[0], vertices)
                                .c_str());
            }
        }
    }
    if (floats > wordsPerVertex_[size_t(part.vertexArray)]) {
        return Fail(Format("models: part elements of %lld floats on vertices of %d words", (long long)floats,
                           wordsPerVertex_[size_t(part.vertexArray)])
                        .c_str());
    }
    if (!ParamTracks(part.params)) {
        return false;
    }
    for (uint32_t& word : part.drawSettings) {
        if (!in_.U32(word)) {
            return Truncated();
        }
    }
    return true;
}

bool BodyParser::ParamTracks(std::vector<ArchiveParamTrack>& params) {
    size_t count = 0;
    if (!in_.Count(kPairBytes, count)) {
        return Truncated();
    }
    params.resize(count);
    for (ArchiveParamTrack& param : params) {
        if (!Name(param.name) || !Track(param.track)) {
            return false;
        }
    }
    return true;
}

bool BodyParser::Sprites() {
    size_t count = 0;
    if (!Section("sprites", 12, count)) {
        return false;
    }
    ArchiveSprite sprite;
    for (size_t i = 0; i < count; ++i) {
        size_t frames = 0;
        if (!Name(sprite.name) || !Index(sprite.image, images_, "image slot")) {
            return false;
        }
        if (!in_.Count(20, frames)) {
            return Truncated();
        }
        sprite.frames.resize(frames);
        for (ArchiveSpriteFrame& frame : sprite.frames) {
            if (!Name(frame.name)) {
                return false;
            }
            if (!in_.F32(frame.x) || !in_.F32(frame.y) || !in_.F32(frame.w) || !in_.F32(frame.h)) {
                return Truncated();
            }
        }
        sink_.OnSprite(sprite);
    }
    return true;
}

bool BodyParser::SoundNames() {
    size_t count = 0;
    if (!Section("sound names", 8, count)) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        int32_t length = 0;
        if (!in_.I32(length)) {
            return Truncated();
        }
        if (length < 0 || size_t(length) > in_.Remaining()) {
            return Truncated();
        }
        const size_t field = (size_t(length) + 3) & ~size_t(3);
        const uint8_t* data = nullptr;
        if (!in_.Bytes(field, data)) {
            return Truncated();
        }
        // The name ends at its first 0 byte, which must lie inside its field.
        size_t end = 0;
        while (end < field && data[end] != 0) {
            ++end;
        }
        if (end == field) {
            return Fail("sound names: name without its 0 byte");
        }
        int32_t slot = 0;
        if (!Index(slot, sounds_, "sound slot")) {
            return false;
        }
        sink_.OnSoundName(std::string_view(reinterpret_cast<const char*>(data), end), slot);
    }
    return true;
}

bool BodyParser::Fonts() {
    size_t count = 0;
    if (!Section("fonts", 20, count)) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        ArchiveFont font;
        if (!Name(font.name)) {
            return false;
        }
        if (!in_.I32(font.glyphWidth) || !in_.I32(font.glyphHeight)) {
            return Truncated();
        }
        if (!Index(font.offsetTable, wordArrays_.size(), "word array") ||
            !Index(font.bitStream, blobs_, "byte blob")) {
            return false;
        }
        // The glyph cache divides its 512x512 texture into cells of the glyph size
        // and looks up every 16-bit code in the offset table.
        if (font.glyphWidth <= 0 || font.glyphHeight <= 0 || font.glyphWidth > kFontTextureSize ||
            font.glyphHeight > kFontTextureSize) {
            return Fail(Format("fonts: glyph size %dx%d", font.glyphWidth, font.glyphHeight).c_str());
        }
        if (wordArrays_[size_t(font.offsetTable)].count < kFontOffsetTableWords) {
            return Fail(
                Format("fonts: offset table of %zu words", wordArrays_[size_t(font.offsetTable)].count)
                    .c_str());
        }
        sink_.OnFont(font);
    }
    return true;
}

bool BodyParser::IndexList(std::vector<int32_t>& list, size_t limit, const char* what) {
    size_t count = 0;
    if (!in_.Count(4, count)) {
        return Truncated();
    }
    list.resize(count);
    for (int32_t& index : list) {
        if (limit == SIZE_MAX) {
            if (!in_.I32(index)) {
                return Truncated();
            }
        } else if (!Index(index, limit, what)) {
            return false;
        }
    }
    return true;
}

bool BodyParser::Groups() {
    size_t count = 0;
    if (!Section("groups", 16, count)) {
        return false;
    }
    ArchiveGroup group;
    for (size_t i = 0; i < count; ++i) {
        if (!Name(group.name) || !IndexList(group.sounds, sounds_, "sound slot") ||
            !IndexList(group.further, SIZE_MAX, "") || !IndexList(group.images, images_, "image slot")) {
            return false;
        }
        sink_.OnGroup(group);
    }
    return true;
}

}  // namespace

bool ReadArchiveHeader(const uint8_t* data, size_t size, uint64_t fileSize, ArchiveHeader& header,
                       std::string& error) {
    ByteReader in(data, size);
    if (!in.I32(header.bodySize) || !in.I32(header.soundBase)) {
        error = Format("file of %llu bytes has no header", (unsigned long long)fileSize);
        return false;
    }
    if (header.bodySize < 0 || uint64_t(header.bodySize) > fileSize - kArchiveHeaderSize) {
        error = Format("body of %d bytes does not fit in a file of %llu bytes", header.bodySize,
                       (unsigned long long)fileSize);
        return false;
    }
    return true;
}

bool ParseArchiveBody(const uint8_t* body, size_t size, const ArchiveHeader& header, uint64_t fileSize,
                      ArchiveSink& sink, std::string& error) {
    return BodyParser(body, size, header, fileSize, sink).Parse(error);
}

bool ParseSoundRecord(const uint8_t* data, size_t size, ArchiveSoundRecord& record, std::string& error) {
    ByteReader in(data, size);
    int32_t pcmSize = 0;
    int32_t flag = 0;
    if (!in.I32(pcmSize) || pcmSize < 0 || !in.Bytes(size_t(pcmSize), record.pcm) || !in.AlignTo4(0)) {
        error = Format("sound record of %d PCM bytes does not fit in its %zu-byte slot", pcmSize, size);
        return false;
    }
    record.pcmSize = size_t(pcmSize);
    for (int32_t& param : record.params) {
        in.I32(param);
    }
    if (!in.I32(flag)) {
        error = Format("sound record of %d PCM bytes does not fit in its %zu-byte slot", pcmSize, size);
        return false;
    }
    record.flag = flag != 0;
    return true;
}

}  // namespace mareldon
