#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mareldon {

class ByteWriter;

// Writes a data archive (docs/archive-format.md). Records are added in any order
// and refer to one another by the indices the Add calls return; Build() lays the
// sections out in file order. The writer checks nothing on purpose, so tests can
// write damaged archives with it as well as good ones.
class MbdWriter {
  public:
    struct Key {
        float time = 0.0f;
        float value = 0.0f;
        uint32_t kind = 3;  // linear
        std::array<float, 4> c{};
    };

    struct Track {
        int32_t preMode = 1;
        int32_t postMode = 1;
        float defaultValue = 0.0f;
        std::vector<Key> keys;
    };

    struct Element {
        std::string name;
        int32_t floatCount = 0;
    };

    struct TextureRef {
        std::string slotName = "Diffuse";
        int32_t image = 0;
    };

    struct Param {
        std::string name;
        int32_t track = 0;
    };

    // The ten draw-setting words of a part.
    struct DrawSettings {
        float centre[3] = {0.0f, 0.0f, 0.0f};
        float radius = 0.0f;  // 0 or less: never culled
        int32_t cullMode = 0;
        int32_t castShadow = 0;
        int32_t receiveShadow = 0;
    };

    struct Part {
        std::string name;
        int32_t kind = 3;  // triangle list
        std::vector<Element> elements;
        std::vector<TextureRef> textures;
        int32_t vertexArray = 0;
        int32_t startValue = 0;
        int32_t vertexCount = 0;
        int32_t indexArray = -1;  // -1: the shared empty index array
        int32_t startIndex = 0;
        int32_t indexCount = 0;
        std::vector<Param> params;
        DrawSettings settings;
    };

    struct Mesh {
        int32_t paletteSize = 0;
        int32_t parameterCount = 0;
        int32_t instancing = 0;
        std::vector<Part> parts;
    };

    struct Node {
        std::string name;
        int32_t type = 1;
        float startTime = 0.0f;  // type 0
        float endTime = 0.0f;
        Mesh mesh;  // type 2
        std::vector<Param> params;
        int32_t paletteIndex = 0;  // type 3
        std::array<float, 16> offsetMatrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        // Position xyz, Euler xyz, scale xyz, pivot xyz; -1 takes the shared empty
        // track (scale: the one whose default is 1).
        std::array<int32_t, 12> tracks{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        std::vector<Node> children;
    };

    struct Frame {
        std::string name;
        float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    };

    struct Group {
        std::string name;
        std::vector<int32_t> sounds;
        std::vector<int32_t> further;
        std::vector<int32_t> images;
    };

    // Each returns the new record's index in its section.
    int32_t AddString(std::string_view text);  // interned: equal texts share one index
    int32_t AddTrack(const Track& track);
    int32_t EmptyTrack();       // no keys, default 0
    int32_t EmptyScaleTrack();  // no keys, default 1
    int32_t AddIndexArray(std::vector<uint32_t> indices);
    int32_t EmptyIndexArray();
    int32_t AddVertexArray(int32_t wordsPerVertex, const std::vector<float>& words);
    int32_t AddVertexArrayWords(int32_t wordsPerVertex, std::vector<uint32_t> words);
    int32_t AddWordArray(std::vector<uint32_t> words);
    int32_t AddBlob(std::vector<uint8_t> bytes);
    // An image record (IIMG or an image-loader file) in the image area.
    int32_t AddImage(std::vector<uint8_t> bytes);
    // A sound slot holding raw record bytes (see EncodeSoundRecord).
    int32_t AddSound(std::vector<uint8_t> record);
    void AddModel(std::string_view name, const Node& root);
    // A model record (name index and node tree) given byte for byte.
    void AddModelRecord(std::vector<uint8_t> record);
    void AddSprite(std::string_view name, int32_t image, const std::vector<Frame>& frames);
    // The stored length counts the terminating 0; the field is padded to 4.
    void AddSoundName(std::string_view name, int32_t soundSlot);
    // A sound name with its field given byte for byte (length = field size).
    void AddSoundNameField(std::vector<uint8_t> field, int32_t soundSlot);
    void AddFont(std::string_view name, int32_t glyphWidth, int32_t glyphHeight, int32_t offsetTable,
                 int32_t bitStream);
    void AddGroup(const Group& group);

    // Writes a string without its 0 byte at the end of the string section.
    void SetUnterminatedLastString(bool on) { unterminatedLastString_ = on; }

    size_t StringCount() const { return strings_.size(); }

    // The whole file.
    std::vector<uint8_t> Build() const;

  private:
    void WriteNode(ByteWriter& out, const Node& node) const;
    void WriteParams(ByteWriter& out, const std::vector<Param>& params) const;
    int32_t TrackOrEmpty(int32_t track, size_t channel) const;

    std::vector<std::string> strings_;
    std::map<std::string, int32_t, std::less<>> stringIndex_;
    std::vector<Track> tracks_;
    std::vector<std::vector<uint32_t>> indexArrays_;
    struct VertexArray {
        int32_t wordsPerVertex;
        std::vector<uint32_t> words;
    };
    std::vector<VertexArray> vertexArrays_;
    std::vector<std::vector<uint32_t>> wordArrays_;
    std::vector<std::vector<uint8_t>> blobs_;
    std::vector<std::vector<uint8_t>> images_;
    std::vector<std::vector<uint8_t>> sounds_;
    std::vector<std::vector<uint8_t>> models_;  // whole records
    struct Sprite {
        int32_t name;
        int32_t image;
        std::vector<std::pair<int32_t, Frame>> frames;
    };
    std::vector<Sprite> sprites_;
    struct SoundName {
        std::vector<uint8_t> field;
        int32_t length;
        int32_t slot;
    };
    std::vector<SoundName> soundNames_;
    struct Font {
        int32_t name, glyphWidth, glyphHeight, offsetTable, bitStream;
    };
    std::vector<Font> fonts_;
    std::vector<std::pair<int32_t, Group>> groups_;
    int32_t emptyTrack_ = -1;
    int32_t emptyScaleTrack_ = -1;
    int32_t emptyIndexArray_ = -1;
    bool unterminatedLastString_ = false;
};

}  // namespace mareldon
