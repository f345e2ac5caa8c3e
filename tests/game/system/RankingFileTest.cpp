#include "game/system/RankingFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace mareldon {
namespace {

Rankings Defaults() {
    Rankings rankings;
    rankings.ResetRanking();
    rankings.ResetPairRanking();
    return rankings;
}

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

bool SameTables(const Rankings& a, const Rankings& b) {
    return RankingFile::Encode(a) == RankingFile::Encode(b);
}

TEST(RankingFileTest, DefaultTablesGiveTheKnownFile) {
    const std::vector<uint8_t> bytes = RankingFile::Encode(Defaults());
    ASSERT_EQ(bytes.size(), 1440u);
    const std::vector<uint8_t> first = {0x00, 0xA0, 0x72, 0x4E, 0x18, 0x09, 0x00, 0x00, 0xE8, 0x03, 0, 0,
                                        0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0, 0,
                                        0,    0,    0,    0,    0x01, 0,    0,    0,    0x04, 0,    0, 0,
                                        'Z',  'E',  'V',  0,    0,    0,    0,    0,    0,    0,    0, 0};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 48), first);
    // Pair entry 3: scores 7 x 10^12, "ZEV" with ship 3, then "VEZ" with ship 1.
    const size_t pair3 = (10 + 2 * 3) * 48;
    EXPECT_EQ(bytes[pair3 + 36], 'Z');
    EXPECT_EQ(bytes[pair3 + 40], 3);
    EXPECT_EQ(bytes[pair3 + 48 + 36], 'V');
    EXPECT_EQ(bytes[pair3 + 48 + 40], 1);
}

TEST(RankingFileTest, SaveLoadSaveIsByteIdenticalAndKeepsLongNames) {
    Rankings rankings = Defaults();
    rankings.single[2].name = "ABCDE";
    rankings.single[2].powerLevel = 3;
    rankings.pairs[9].second.chain = -5;
    const std::vector<uint8_t> bytes = RankingFile::Encode(rankings);
    EXPECT_EQ(bytes.size(), 1442u);
    Rankings read;
    ASSERT_TRUE(RankingFile::Decode(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read.single[2].name, "ABCDE");
    EXPECT_EQ(RankingFile::Encode(read), bytes);
}

TEST(RankingFileTest, NameEndsAtTheFirstZeroOrFillsTheField) {
    std::vector<uint8_t> bytes = RankingFile::Encode(Defaults());
    bytes[37] = 0;  // "Z\0V\0"
    Rankings read;
    ASSERT_TRUE(RankingFile::Decode(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read.single[0].name, "Z");
    bytes[37] = 'E';
    bytes[39] = 'X';  // no zero byte at all
    ASSERT_TRUE(RankingFile::Decode(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read.single[0].name, "ZEVX");
}

TEST(RankingFileTest, ShortOrAbsurdFilesLeaveTheTablesWhole) {
    const std::vector<uint8_t> valid = RankingFile::Encode(Defaults());
    struct Case {
        const char* what;
        size_t size;
        size_t lengthOffset;  // a name length to overwrite, or SIZE_MAX
        uint32_t length;
    };
    const Case cases[] = {
        {"empty", 0, SIZE_MAX, 0},
        {"1000 bytes", 1000, SIZE_MAX, 0},
        {"one byte short", 1439, SIZE_MAX, 0},
        {"length 0x7FFFFFFF", 1440, 32, 0x7FFFFFFF},
        {"length 0xFFFFFFFF", 1440, 32, 0xFFFFFFFF},
        {"length 0", 1440, 32, 0},
        {"length 65", 1440, 32, 65},
        {"length past the end in the last record", 1440, 1440 - 16, 20},
    };
    Rankings live = Defaults();
    live.single[0].name = "AAA";
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = valid;
        bytes.resize(c.size);
        if (c.lengthOffset != SIZE_MAX) {
            PutU32(bytes, c.lengthOffset, c.length);
        }
        Rankings read = live;
        EXPECT_FALSE(RankingFile::Decode(bytes.data(), bytes.size(), read)) << c.what;
        EXPECT_TRUE(SameTables(read, live)) << c.what;
    }
}

TEST(RankingFileTest, PlayCountIsNotStored) {
    Rankings rankings = Defaults();
    rankings.single[0].playCount = 4;
    Rankings read;
    const std::vector<uint8_t> bytes = RankingFile::Encode(rankings);
    ASSERT_TRUE(RankingFile::Decode(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read.single[0].playCount, 0);
}

}  // namespace
}  // namespace mareldon
