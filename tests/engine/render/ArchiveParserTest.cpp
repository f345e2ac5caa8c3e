#include "engine/render/ArchiveParser.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>

#include "engine/core/ByteWriter.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/MbdWriter.h"

namespace mareldon {
namespace {

struct Recorder : ArchiveSink {
    void OnString(std::string_view text) override { strings.emplace_back(text); }
    void OnKeyTrack(int32_t pre, int32_t post, float def, ArchiveWords keys) override {
        tracks.push_back({pre, post, def, {}});
        for (size_t i = 0; i < keys.count; ++i) {
            tracks.back().words.push_back(keys[i]);
        }
    }
    void OnIndexArray(ArchiveWords words) override { indexArrays.push_back(words.count); }
    void OnVertexArray(int32_t perVertex, ArchiveWords words) override {
        vertexArrays.push_back({perVertex, words.count});
    }
    void OnWordArray(ArchiveWords words) override { wordArrays.push_back(words.count); }
    void OnByteBlob(const uint8_t* bytes, size_t size) override { blobs.emplace_back(bytes, bytes + size); }
    void OnImageSlot(uint64_t offset, uint32_t size) override { images.push_back({offset, size}); }
    void OnSoundSlot(uint64_t offset, uint32_t size) override { sounds.push_back({offset, size}); }
    void OnModel(int32_t name, const ArchiveNode& root) override { models.push_back({name, root}); }
    void OnSprite(const ArchiveSprite& sprite) override { sprites.push_back(sprite); }
    void OnSoundName(std::string_view name, int32_t slot) override {
        soundNames.push_back({std::string(name), slot});
    }
    void OnFont(const ArchiveFont& font) override { fonts.push_back(font); }
    void OnGroup(const ArchiveGroup& group) override { groups.push_back(group); }

    struct Track {
        int32_t pre, post;
        float def;
        std::vector<uint32_t> words;
    };
    std::vector<std::string> strings;
    std::vector<Track> tracks;
    std::vector<size_t> indexArrays, wordArrays;
    std::vector<std::pair<int32_t, size_t>> vertexArrays;
    std::vector<std::vector<uint8_t>> blobs;
    std::vector<std::pair<uint64_t, uint32_t>> images, sounds;
    std::vector<std::pair<int32_t, ArchiveNode>> models;
    std::vector<ArchiveSprite> sprites;
    std::vector<std::pair<std::string, int32_t>> soundNames;
    std::vector<ArchiveFont> fonts;
    std::vector<ArchiveGroup> groups;
};

bool Parse(const std::vector<uint8_t>& file, ArchiveSink& sink, std::string& error) {
    ArchiveHeader header;
    return ReadArchiveHeader(file.data(), file.size(), file.size(), header, error) &&
           ParseArchiveBody(file.data() + 8, size_t(header.bodySize), header, file.size(), sink, error);
}

uint32_t WordAt(const std::vector<uint8_t>& file, size_t offset) {
    return LoadLE32(file.data() + offset);
}

void PutWord(std::vector<uint8_t>& file, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        file[offset + size_t(i)] = uint8_t(value >> (8 * i));
    }
}

TEST(ArchiveParserTest, EmptyArchiveHasA52ByteBodyAndNoRecords) {
    std::vector<uint8_t> file = MakeEmptyArchive();
    ASSERT_EQ(file.size(), 60u);
    EXPECT_EQ(WordAt(file, 0), 52u);
    Recorder sink;
    std::string error;
    ASSERT_TRUE(Parse(file, sink, error)) << error;
    EXPECT_TRUE(sink.strings.empty());
    EXPECT_TRUE(sink.models.empty());
    EXPECT_TRUE(sink.groups.empty());
}

TEST(ArchiveParserTest, StringAndBlobPaddingAndSoundNameFields) {
    std::vector<uint8_t> file = MakePaddingArchive();
    // "a", "bb" and "" take 6 bytes after the count: the key-track count is at body offset 12.
    EXPECT_EQ(WordAt(file, 8 + 12), 1u);
    Recorder sink;
    std::string error;
    ASSERT_TRUE(Parse(file, sink, error)) << error;
    EXPECT_EQ(sink.strings, (std::vector<std::string>{"a", "bb", ""}));
    ASSERT_EQ(sink.tracks.size(), 1u);
    ASSERT_EQ(sink.tracks[0].words.size(), 16u);
    EXPECT_EQ(std::bit_cast<float>(sink.tracks[0].words[8]), 10.0f);
    EXPECT_EQ(std::bit_cast<float>(sink.tracks[0].words[9]), 2.0f);
    EXPECT_EQ(sink.blobs, (std::vector<std::vector<uint8_t>>{{0x11}, {0x22, 0x33}}));
    ASSERT_EQ(sink.soundNames.size(), 1u);
    EXPECT_EQ(sink.soundNames[0], (std::pair<std::string, int32_t>{"abcd", 0}));
    // The sound name record is the last 16 bytes before the font and group counts:
    // length 5, an 8-byte field, then the slot index.
    const size_t record = file.size() - 32 - 8 - 16;
    EXPECT_EQ(WordAt(file, record), 5u);
    EXPECT_EQ(WordAt(file, record + 12), 0u);
}

TEST(ArchiveParserTest, SampleArchiveRecordsInFileOrder) {
    std::vector<uint8_t> file = MakeSampleArchive();
    Recorder sink;
    std::string error;
    ASSERT_TRUE(Parse(file, sink, error)) << error;
    const uint32_t bodySize = WordAt(file, 0);
    ASSERT_EQ(sink.images.size(), 2u);
    EXPECT_EQ(sink.images[0].first, 8u + bodySize);
    EXPECT_EQ(sink.images[1].first, 8u + bodySize + sink.images[0].second);
    ASSERT_EQ(sink.sounds.size(), 2u);
    EXPECT_EQ(sink.sounds[0].first, 8u + WordAt(file, 4));
    EXPECT_EQ(sink.sounds[1].first + sink.sounds[1].second, file.size());

    ASSERT_EQ(sink.models.size(), 2u);
    const ArchiveNode& root = sink.models[0].second;
    EXPECT_EQ(sink.strings[size_t(sink.models[0].first)], "scene");
    EXPECT_EQ(root.type, 0);
    EXPECT_EQ(root.endTime, 2.0f);
    ASSERT_EQ(root.children.size(), 1u);
    const ArchiveNode& frame = root.children[0];
    EXPECT_EQ(frame.type, 1);
    ASSERT_EQ(sink.tracks[size_t(frame.tracks[0])].words.size(), 16u);
    // Absent scale channels use the shared track whose default is 1.
    EXPECT_EQ(sink.tracks[size_t(frame.tracks[6])].def, 1.0f);
    EXPECT_EQ(sink.tracks[size_t(frame.tracks[1])].def, 0.0f);
    const ArchiveNode& mesh = frame.children[0];
    ASSERT_EQ(mesh.type, 2);
    ASSERT_EQ(mesh.mesh.parts.size(), 1u);
    const ArchiveMeshPart& part = mesh.mesh.parts[0];
    EXPECT_EQ(sink.strings[size_t(part.name)], "Layer1");
    EXPECT_EQ(part.kind, 3);
    ASSERT_EQ(part.elements.size(), 3u);
    EXPECT_EQ(sink.strings[size_t(part.elements[2].name)], "TextureUV");
    EXPECT_EQ(part.elements[2].floatCount, 2);
    ASSERT_EQ(part.textures.size(), 1u);
    EXPECT_EQ(sink.strings[size_t(part.textures[0].slotName)], "Diffuse");
    EXPECT_EQ(sink.vertexArrays[size_t(part.vertexArray)], (std::pair<int32_t, size_t>{8, 32}));
    EXPECT_EQ(part.vertexWords, (std::array<int32_t, 2>{0, 4}));
    EXPECT_EQ(part.indexWords, (std::array<int32_t, 2>{0, 6}));
    EXPECT_EQ(part.drawSettings,
              (std::array<uint32_t, 10>{0, 0, 0, std::bit_cast<uint32_t>(1.5f), 1, 1, 0, 0, 0, 0}));
    ASSERT_EQ(part.params.size(), 1u);
    EXPECT_EQ(sink.strings[size_t(part.params[0].name)], "Emissive");
    const ArchiveNode& bone = mesh.children[0];
    EXPECT_EQ(bone.type, 3);
    EXPECT_EQ(bone.offsetMatrix[15], 1.0f);
    EXPECT_TRUE(sink.models[1].second.children[0].mesh.instancing);

    ASSERT_EQ(sink.sprites.size(), 1u);
    EXPECT_EQ(sink.sprites[0].image, 1);
    ASSERT_EQ(sink.sprites[0].frames.size(), 2u);
    EXPECT_EQ(sink.sprites[0].frames[1].h, 32.0f);
    ASSERT_EQ(sink.fonts.size(), 1u);
    EXPECT_EQ(sink.wordArrays[size_t(sink.fonts[0].offsetTable)], 65536u);
    EXPECT_EQ(sink.soundNames[1], (std::pair<std::string, int32_t>{"bgm_title", 1}));
    ASSERT_EQ(sink.groups.size(), 3u);
    EXPECT_EQ(sink.groups[0].images, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(sink.groups[2].sounds, (std::vector<int32_t>{1}));
}

TEST(ArchiveParserTest, NegativeCountsMeanNoRecords) {
    std::vector<uint8_t> file = MakeEmptyArchive();
    PutWord(file, 8, 0xFFFFFFFF);
    Recorder sink;
    std::string error;
    EXPECT_TRUE(Parse(file, sink, error)) << error;
}

// A damaged archive and the words its refusal must name.
struct Damage {
    const char* name;
    std::vector<uint8_t> (*make)();
    const char* reason;
};

MbdWriter::Node ChainOf(int depth) {
    MbdWriter::Node root;
    root.name = "n";
    MbdWriter::Node* at = &root;
    for (int i = 1; i < depth; ++i) {
        at->children.emplace_back();
        at = &at->children[0];
        at->name = "n";
    }
    return root;
}

MbdWriter::Node OnePartModel(int32_t vertexArray, int32_t vertexCount, int32_t indexArray,
                             int32_t indexCount) {
    MbdWriter::Node node;
    node.name = "m";
    node.type = 2;
    MbdWriter::Part part;
    part.name = "p";
    part.elements = {{"Position", 3}};
    part.vertexArray = vertexArray;
    part.vertexCount = vertexCount;
    part.indexArray = indexArray;
    part.indexCount = indexCount;
    node.mesh.parts.push_back(part);
    return node;
}

const Damage kDamages[] = {
    {"BodyLongerThanFile",
     [] {
         auto file = MakeSampleArchive();
         file.resize(file.size() / 2);
         return file;
     },
     "does not fit"},
    {"NegativeBodySize",
     [] {
         auto file = MakeEmptyArchive();
         PutWord(file, 0, 0x80000000u);
         return file;
     },
     "does not fit"},
    {"NoHeader",
     [] {
         return std::vector<uint8_t>{1, 2, 3};
     },
     "no header"},
    {"SectionsRunPastBody",
     [] {
         auto file = MakeSampleArchive();
         PutWord(file, 0, WordAt(file, 0) - 40);
         return file;
     },
     "past the end of the body"},
    {"HugeModelCount",
     [] {
         auto file = MakeEmptyArchive();
         PutWord(file, 8 + 32, 0x7FFFFFFF);
         return file;
     },
     "models"},
    {"ImageSlotPastFile",
     [] {
         auto file = MakeSampleArchive();
         file.erase(file.end() - 2000, file.end());
         return file;
     },
     "outside the file"},
    {"KeyWithoutATime",
     [] {
         MbdWriter writer;
         MbdWriter::Track track;
         track.keys.push_back({0.0f, 1.0f, 3, {}});
         track.keys.push_back({std::numeric_limits<float>::quiet_NaN(), 2.0f, 3, {}});
         writer.AddTrack(track);
         return writer.Build();
     },
     "key 1 of track 0 has no time"},
    {"ZeroWordsPerVertex",
     [] {
         MbdWriter writer;
         writer.AddVertexArrayWords(0, {});
         return writer.Build();
     },
     "0 words per vertex"},
    {"PartialVertex",
     [] {
         MbdWriter writer;
         writer.AddVertexArray(3, {1, 2, 3, 4});
         return writer.Build();
     },
     "whole vertices"},
    {"StringIndexOutOfRange",
     [] {
         MbdWriter writer;
         writer.AddModel("m", ChainOf(1));
         auto file = writer.Build();
         // The model's name index follows the model count, the last word of the
         // first nine sections; the body ends with four zero counts.
         PutWord(file, file.size() - 16 - 15 * 4 - 4, 99);
         return file;
     },
     "string index 99"},
    {"KeyTrackIndexOutOfRange",
     [] {
         MbdWriter writer;
         MbdWriter::Node node = ChainOf(1);
         node.tracks[4] = 7;
         writer.AddModel("m", node);
         return writer.Build();
     },
     "key track index 7"},
    {"VertexArrayIndexOutOfRange",
     [] {
         MbdWriter writer;
         writer.AddModel("m", OnePartModel(3, 0, -1, 0));
         return writer.Build();
     },
     "vertex array index 3"},
    {"PartDrawsPastVertices",
     [] {
         MbdWriter writer;
         writer.AddVertexArray(3, std::vector<float>(12));
         writer.AddModel("m", OnePartModel(0, 5, -1, 0));
         return writer.Build();
     },
     "part draws"},
    {"PartDrawsPastIndices",
     [] {
         MbdWriter writer;
         writer.AddVertexArray(3, std::vector<float>(12));
         int32_t indices = writer.AddIndexArray({0, 1, 2});
         writer.AddModel("m", OnePartModel(0, 4, indices, 6));
         return writer.Build();
     },
     "part draws"},
    {"IndexPastVerticesFromTheBaseVertex",
     [] {
         MbdWriter writer;
         writer.AddVertexArray(3, std::vector<float>(12));
         int32_t indices = writer.AddIndexArray({0, 1, 2, 0, 1, 3});
         MbdWriter::Node node = OnePartModel(0, 3, indices, 3);
         node.mesh.parts[0].startValue = 1;
         node.mesh.parts[0].startIndex = 3;  // 1 + 3 is past the 4 vertices
         writer.AddModel("m", node);
         return writer.Build();
     },
     "index 3 from vertex 1 reads past the 4 vertices"},
    {"ElementsWiderThanVertex",
     [] {
         MbdWriter writer;
         writer.AddVertexArray(2, std::vector<float>(8));
         writer.AddModel("m", OnePartModel(0, 4, -1, 0));
         return writer.Build();
     },
     "3 floats on vertices of 2"},
    {"SpriteImageOutOfRange",
     [] {
         MbdWriter writer;
         writer.AddSprite("s", 0, {});
         return writer.Build();
     },
     "image slot index 0"},
    {"GroupSoundOutOfRange",
     [] {
         MbdWriter writer;
         writer.AddGroup({"SYSTEM", {2}, {}, {}});
         return writer.Build();
     },
     "sound slot index 2"},
    {"SoundNameSlotOutOfRange",
     [] {
         MbdWriter writer;
         writer.AddSoundName("se", 0);
         return writer.Build();
     },
     "sound slot index 0"},
    {"DeepNesting",
     [] {
         // Written flat: 10,000 frame nodes, each the only child of the one before.
         MbdWriter writer;
         int32_t name = writer.AddString("deep");
         int32_t track = writer.EmptyTrack();
         ByteWriter record;
         record.I32(name);
         for (int depth = 0; depth < 10000; ++depth) {
             record.I32(name);
             record.I32(1);
             for (int i = 0; i < 12; ++i) {
                 record.I32(track);
             }
             record.I32(depth + 1 < 10000 ? 1 : 0);
         }
         writer.AddModelRecord(record.bytes);
         return writer.Build();
     },
     "deeper than 256"},
    {"UnknownNodeType",
     [] {
         MbdWriter writer;
         MbdWriter::Node node = ChainOf(1);
         node.type = 6;
         writer.AddModel("m", node);
         return writer.Build();
     },
     "node type 6"},
    {"UnterminatedString",
     [] {
         MbdWriter writer;
         writer.AddString("abc");
         writer.SetUnterminatedLastString(true);
         return writer.Build();
     },
     "without its 0 byte"},
    {"UnterminatedSoundName",
     [] {
         MbdWriter writer;
         writer.AddSound(EncodeSoundRecord({0}, 8, 8000, 1));
         writer.AddSoundNameField({'a', 'b', 'c', 'd'}, 0);
         return writer.Build();
     },
     "without its 0 byte"},
    {"SoundNameLongerThanBody",
     [] {
         MbdWriter writer;
         writer.AddSound(EncodeSoundRecord({0}, 8, 8000, 1));
         writer.AddSoundName("abc", 0);
         auto file = writer.Build();
         PutWord(file, file.size() - 32 - 8 - 12, 0x7FFFFFF0);
         return file;
     },
     "past the end"},
    {"ShortFontOffsetTable",
     [] {
         MbdWriter writer;
         writer.AddFont("F24", 24, 24, writer.AddWordArray({0, 0}), writer.AddBlob({0x80}));
         return writer.Build();
     },
     "offset table of 2 words"},
    {"ZeroGlyphSize",
     [] {
         MbdWriter writer;
         writer.AddFont("F24", 0, 24, writer.AddWordArray(std::vector<uint32_t>(65536)),
                        writer.AddBlob({0x80}));
         return writer.Build();
     },
     "glyph size 0x24"},
    {"TooManyNodeParams",
     [] {
         MbdWriter writer;
         MbdWriter::Node node = ChainOf(1);
         node.type = 2;
         node.params.push_back({"Emissive", writer.EmptyTrack()});
         writer.AddModel("m", node);
         return writer.Build();
     },
     "node parameters"},
    // Would size a palette of 2^31 matrices when the model is bound.
    {"HugePalette",
     [] {
         MbdWriter writer;
         MbdWriter::Node node = ChainOf(1);
         node.type = 2;
         node.mesh.paletteSize = 0x7FFFFFFF;
         writer.AddModel("m", node);
         return writer.Build();
     },
     "palette matrices"},
    {"HugeParameterCount",
     [] {
         MbdWriter writer;
         MbdWriter::Node node = ChainOf(1);
         node.type = 2;
         node.mesh.parameterCount = 1025;
         writer.AddModel("m", node);
         return writer.Build();
     },
     "1025 parameters"},
};

void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.name;
}

class ArchiveDamageTest : public testing::TestWithParam<Damage> {};

TEST_P(ArchiveDamageTest, IsRefusedWithItsReason) {
    Recorder sink;
    std::string error;
    EXPECT_FALSE(Parse(GetParam().make(), sink, error));
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Damages, ArchiveDamageTest, testing::ValuesIn(kDamages),
                         [](const testing::TestParamInfo<Damage>& info) { return info.param.name; });

TEST(ArchiveParserTest, SoundRecordFitsItsSlot) {
    std::vector<uint8_t> record = EncodeSoundRecord({1, 2, 3, 4, 5}, 16, 22050, 1);
    ASSERT_EQ(record.size(), 4u + 8u + 24u);
    ArchiveSoundRecord sound;
    std::string error;
    ASSERT_TRUE(ParseSoundRecord(record.data(), record.size(), sound, error)) << error;
    EXPECT_EQ(sound.pcmSize, 5u);
    EXPECT_EQ(sound.pcm[4], 5);
    EXPECT_EQ(sound.params, (std::array<int32_t, 5>{16, 22050, 1, 0, 0}));
    EXPECT_FALSE(sound.flag);

    // A PCM count past the slot, a negative one, and a slot cut before the flag.
    PutWord(record, 0, 9);
    EXPECT_FALSE(ParseSoundRecord(record.data(), record.size(), sound, error));
    PutWord(record, 0, 0xFFFFFFFF);
    EXPECT_FALSE(ParseSoundRecord(record.data(), record.size(), sound, error));
    PutWord(record, 0, 5);
    EXPECT_FALSE(ParseSoundRecord(record.data(), record.size() - 4, sound, error));
    EXPECT_NE(error.find("does not fit"), std::string::npos);
}

}  // namespace
}  // namespace mareldon
