#include "engine/render/archive/ShaderDataFile.h"

#include <gtest/gtest.h>

#include "engine/core/Log.h"
#include "engine/core/String.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/ShaderDataWriter.h"

namespace mareldon {
namespace {

struct Read {
    bool ok = false;
    std::string error;
    std::vector<std::string> keys;
    std::vector<std::string> texts;
    std::vector<std::vector<std::pair<std::string, int32_t>>> elements;
};

Read ReadAll(const std::vector<uint8_t>& bytes, ShaderDataKind kind) {
    Read read;
    read.ok = ReadShaderData(
        bytes.data(), bytes.size(), kind,
        [&](const ShaderDataRecord& record) {
            read.keys.emplace_back(record.key);
            read.texts.emplace_back(record.text);
            read.elements.emplace_back();
            for (const ShaderDataElement& element : record.elements) {
                read.elements.back().emplace_back(std::string(element.name), element.type);
            }
        },
        read.error);
    return read;
}

TEST(ShaderDataFileTest, VertexRecordsWithAndWithoutElements) {
    std::vector<uint8_t> bytes = MakeSampleVertexShaderData();
    // The first record has no elements: 12 + n + m bytes.
    const size_t first =
        12 + std::string("Plain").size() + 1 + std::string("m4x4\toPos, v0, c0\n").size() + 1;
    EXPECT_EQ(bytes[first], std::string("NormalPosition:Normal:").size() + 1);
    Read read = ReadAll(bytes, ShaderDataKind::Vertex);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.keys, (std::vector<std::string>{"Plain", "NormalPosition:Normal:"}));
    EXPECT_EQ(read.texts[0], "m4x4\toPos, v0, c0\n");
    EXPECT_TRUE(read.elements[0].empty());
    EXPECT_EQ(read.elements[1],
              (std::vector<std::pair<std::string, int32_t>>{{"Position", 2}, {"Normal", 2}}));
}

TEST(ShaderDataFileTest, PixelRecordsAndAnEmptyFile) {
    Read read = ReadAll(MakeSamplePixelShaderData(), ShaderDataKind::Pixel);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.keys, (std::vector<std::string>{"Plain", "NormalSetMatTex 1 [L] "}));
    EXPECT_EQ(read.texts[1], "tex\tt0\nmul\tr0, t0, v0\n");
    Read empty = ReadAll({}, ShaderDataKind::Vertex);
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.keys.empty());
}

// Types 0 to 4 (one to four floats, and the packed colour) are all element types.
TEST(ShaderDataFileTest, EveryElementTypeIsRead) {
    ShaderDataWriter writer;
    writer.AddVertexShader("Every", "mov\toPos, v0\n",
                           {{"Position", 0}, {"Normal", 1}, {"TextureUV", 2}, {"Blend", 3}, {"Diffuse", 4}});
    Read read = ReadAll(writer.Bytes(), ShaderDataKind::Vertex);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.elements[0],
              (std::vector<std::pair<std::string, int32_t>>{
                  {"Position", 0}, {"Normal", 1}, {"TextureUV", 2}, {"Blend", 3}, {"Diffuse", 4}}));
}

TEST(ShaderDataFileTest, StringsEndAtTheirFirstZeroOrTheirField) {
    std::vector<uint8_t> bytes = {3, 0, 0, 0, 'a', 0, 'b', 4, 0, 0, 0, 'm', 'o', 'v', 'x'};
    Read read = ReadAll(bytes, ShaderDataKind::Pixel);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.keys[0], "a");
    EXPECT_EQ(read.texts[0], "movx");
}

// Each damage keeps the records before it.
TEST(ShaderDataFileTest, DamagedRecordEndsTheRead) {
    const std::vector<uint8_t> good = MakeSampleVertexShaderData();
    ShaderDataWriter one;
    one.AddVertexShader("Plain", "m4x4\toPos, v0, c0\n", {});
    const size_t second = one.Bytes().size();

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"truncated last record", {good.begin(), good.end() - 3}});
    cases.push_back({"record cut inside its count", {good.begin(), good.begin() + long(second) + 2}});
    auto patched = [&](size_t offset, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[offset + size_t(i)] = uint8_t(value >> (8 * i));
        }
        return bytes;
    };
    cases.push_back({"negative name length", patched(second, 0xFFFFFFF0u)});
    cases.push_back({"text length past the end", patched(second + 4 + 23, 0x10000)});
    cases.push_back({"element type 5", patched(good.size() - 4, 5)});
    cases.push_back(
        {"element count past the end", patched(good.size() - 2 * 4 - 9 - 4 - 7 - 4 - 4, 1000000)});
    for (const Case& c : cases) {
        Read read = ReadAll(c.bytes, ShaderDataKind::Vertex);
        EXPECT_FALSE(read.ok) << c.name;
        EXPECT_EQ(read.keys, std::vector<std::string>{"Plain"}) << c.name;
        EXPECT_NE(read.error.find("record 1"), std::string::npos) << c.name << ": " << read.error;
    }
}

TEST(ShaderDataFileTest, FilesThroughTheFileSystem) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["QVDSHDV.dat"] = MakeSampleVertexShaderData();
    files->files["QVDSHDP.dat"] = {};
    std::vector<uint8_t> cut = MakeSamplePixelShaderData();
    cut.resize(cut.size() - 1);
    files->files["cut.dat"] = cut;
    std::vector<std::string> keys;
    auto record = [&](const ShaderDataRecord& r) { keys.emplace_back(r.key); };
    const RefPtr<FileSystem> fs(files);
    EXPECT_EQ(LoadShaderDataFile(fs, "QVDSHDV.dat", ShaderDataKind::Vertex, record), 2u);
    EXPECT_EQ(LoadShaderDataFile(fs, "QVDSHDP.dat", ShaderDataKind::Pixel, record), 0u);
    EXPECT_EQ(LoadShaderDataFile(fs, "missing.dat", ShaderDataKind::Pixel, record), 0u);
    EXPECT_EQ(LoadShaderDataFile(fs, "cut.dat", ShaderDataKind::Pixel, record), 1u);
    EXPECT_EQ(keys, (std::vector<std::string>{"Plain", "NormalPosition:Normal:", "Plain"}));
    EXPECT_EQ(files->opens, files->closes);
}

std::vector<std::string> logged;
void Keep(LogLevel level, const char* category, const char* text) {
    if (level >= LogLevel::Warning)
        logged.push_back(std::string(category) + ": " + text);
}

// A shader data file that is not there is no error, but it is said once, by name;
// a file that is there says nothing, and without a file system nothing is missing.
TEST(ShaderDataFileTest, AMissingFileIsNamedInOneLogLine) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["QVDSHDP.dat"] = MakeSamplePixelShaderData();
    const RefPtr<FileSystem> fs(files);
    auto none = [](const ShaderDataRecord&) {};
    logged.clear();
    const LogSink previous = SetLogSink(&Keep);
    EXPECT_EQ(LoadShaderDataFile(fs, "QVDSHDV.dat", ShaderDataKind::Vertex, none), 0u);
    EXPECT_GT(LoadShaderDataFile(fs, "QVDSHDP.dat", ShaderDataKind::Pixel, none), 0u);
    EXPECT_EQ(LoadShaderDataFile(RefPtr<FileSystem>(), "QVDSHDP.dat", ShaderDataKind::Pixel, none), 0u);
    SetLogSink(previous);
    EXPECT_EQ(logged, std::vector<std::string>{"shaders: QVDSHDV.dat: cannot be opened"});
}

}  // namespace
}  // namespace mareldon
