#include "game/render/LightFile.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/Log.h"
#include "tools/archive/LightFileWriter.h"

namespace mareldon {
namespace {

std::vector<std::string> logged;
void Keep(LogLevel level, const char*, const char* text) {
    if (level == LogLevel::Warning)
        logged.emplace_back(text);
}

struct Walk {
    explicit Walk(const std::vector<uint8_t>& bytes) {
        logged.clear();
        LogSink previous = SetLogSink(&Keep);
        delivered =
            WalkLightFile(bytes.data(), bytes.size(), "test.lights", [this](std::unique_ptr<LightTracks>& r) {
                types.push_back(int32_t(r->type));
                records.push_back(std::move(r));
            });
        SetLogSink(previous);
    }
    size_t delivered;
    std::vector<int32_t> types;
    std::vector<std::unique_ptr<LightTracks>> records;
};

std::vector<uint8_t> Record(LightFileType type) {
    LightTracks record;
    record.type = type;
    record.colour[0].SetKey(0.0f, 1.0f, 3);
    record.colour[0].SetKey(1.0f, 0.5f, 3);
    ByteWriter out;
    WriteLightRecord(out, record);
    return out.bytes;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> bytes;
    for (const auto& part : parts)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

std::vector<uint8_t> Word(int32_t value) {
    ByteWriter out;
    out.I32(value);
    return out.bytes;
}

void PutWord(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    std::vector<uint8_t> word = Word(value);
    std::copy(word.begin(), word.end(), bytes.begin() + long(at));
}

TEST(LightFileTest, EveryTypeReadsBackWhatWasWritten) {
    Walk walk(MakeSampleLightFile());
    EXPECT_EQ(walk.types, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(logged.empty());
    ASSERT_EQ(walk.records.size(), 5u);
    LightTracks& ambient = *walk.records[0];
    ASSERT_EQ(ambient.colour[0].keyCount, 2);
    EXPECT_FLOAT_EQ(ambient.colour[0].Evaluate(0.5f), 0.2f);
    EXPECT_EQ(ambient.colour[3].defaultValue, 1.0f);
    const LightTracks& directional = *walk.records[1];
    EXPECT_EQ(directional.transform[3].defaultValue, 0.5f);
    ASSERT_EQ(directional.rotation.keyCount, 2);
    EXPECT_EQ(directional.rotation.keys[1].time, 2.0f);
    EXPECT_EQ(directional.rotation.keys[1].rotation.y, EulerToQuaternion(0.0f, 1.0f, 0.0f).y);
    EXPECT_EQ(walk.records[2]->colour[1].defaultValue, 1.0f);
    LightTracks& fog = *walk.records[3];
    EXPECT_EQ(fog.nearTrack.defaultValue, 10.0f);
    EXPECT_FLOAT_EQ(fog.farTrack.Evaluate(2.0f), 125.0f);
    const LightTracks& shadow = *walk.records[4];
    EXPECT_EQ(shadow.transform[1].defaultValue, 20.0f);
    EXPECT_EQ(shadow.parameters[1].defaultValue, 41.0f);
    EXPECT_EQ(shadow.parameters[5].defaultValue, 0.1f);
    EXPECT_EQ(shadow.colour[0].defaultValue, -0.1f);
    EXPECT_EQ(shadow.rotation.initial.x, EulerToQuaternion(-1.6580629f, 0.0f, 0.0f).x);

    Walk placeholder(MakePlaceholderLightFile());
    EXPECT_EQ(placeholder.types, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(placeholder.records[4]->parameters[2].defaultValue, 0.0f);  // parallel
    EXPECT_EQ(placeholder.records[1]->rotation.keyCount, 9);
    EXPECT_EQ(placeholder.records[3]->farTrack.defaultValue, 40.0f);
}

// A damaged file gives the records before the damage and one line naming the file
// and the damaged record's offset; nothing is read outside the bytes.
TEST(LightFileTest, DamageEndsTheWalkAtItsRecord) {
    const std::vector<uint8_t> ambient = Record(LightFileType::Ambient);
    const std::vector<uint8_t> directional = Record(LightFileType::Directional);
    const std::vector<uint8_t> fog = Record(LightFileType::Fog);
    // The first colour track of an ambient record: its count at 4 + 12.
    std::vector<uint8_t> longCount = ambient;
    PutWord(longCount, 16, 4);  // 128 bytes of keys; 112 follow
    std::vector<uint8_t> hugeCount = ambient;
    PutWord(hugeCount, 16, 0x7FFFFFFF);
    std::vector<uint8_t> negativeCount = ambient;
    PutWord(negativeCount, 16, -1);
    std::vector<uint8_t> cutRotation = directional;
    cutRotation.resize(4 + 12 * 16 + 10);
    std::vector<uint8_t> noTime = fog;
    PutWord(noTime, 4 + 2 * 16 + 16, 0x7FC00000);  // colour r's first key time
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<int32_t> types;
        int64_t damageAt;  // -1: no damage
    };
    const Case cases[] = {
        {"empty", {}, {}, -1},
        {"type 7 alone", Word(7), {}, -1},
        {"types above 4 and below 0", Join({Word(5), Word(-1), ambient, Word(1000)}), {0}, -1},
        {"every type",
         Join({ambient, directional, Record(LightFileType::DirectionalSpecular), fog,
               Record(LightFileType::Shadowmap)}),
         {0, 1, 2, 3, 4},
         -1},
        {"key count beyond the bytes", Join({ambient, longCount}), {0}, int64_t(ambient.size())},
        {"huge key count", Join({directional, hugeCount}), {1}, int64_t(directional.size())},
        {"negative key count", Join({negativeCount}), {}, 0},
        {"cut rotation track", Join({fog, cutRotation}), {3}, int64_t(fog.size())},
        {"key time not a number", Join({ambient, noTime}), {0}, int64_t(ambient.size())},
        {"payload cut short",
         Join({ambient, std::vector<uint8_t>(fog.begin(), fog.end() - 1)}),
         {0},
         int64_t(ambient.size())},
        {"three bytes left", Join({ambient, {1, 0, 0}}), {0}, int64_t(ambient.size())},
    };
    for (const Case& c : cases) {
        Walk walk(c.bytes);
        EXPECT_EQ(walk.types, c.types) << c.what;
        EXPECT_EQ(walk.delivered, c.types.size()) << c.what;
        if (c.damageAt < 0) {
            EXPECT_TRUE(logged.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(logged.size(), 1u) << c.what;
        EXPECT_NE(logged[0].find("\"test.lights\""), std::string::npos) << logged[0];
        EXPECT_NE(logged[0].find("offset " + std::to_string(c.damageAt)), std::string::npos) << logged[0];
    }
}

}  // namespace
}  // namespace mareldon
