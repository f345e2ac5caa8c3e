#include "game/system/ConfigFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace mareldon {
namespace {

// The factory file, byte for byte.
const std::vector<uint8_t> kFactory = {
    0x01, 0, 0, 0, 0x00, 0, 0, 0, 0x01, 0, 0, 0, 0x01, 0, 0, 0, 0x0A, 0, 0, 0, 0x01, 0x01, 0, 0,
    0x04, 0, 0, 0, 0x03, 0, 0, 0, 0x02, 0, 0, 0, 0x4B, 0, 0, 0, 0x4B, 0, 0, 0, 0x00, 0,    0, 0,
};

std::vector<uint8_t> Encoded(const ConfigBlocks& blocks) {
    auto bytes = ConfigFile::Encode(blocks);
    return {bytes.begin(), bytes.end()};
}

void PutI32(std::vector<uint8_t>& bytes, size_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    }
}

TEST(ConfigFileTest, FactoryBlocksEncodeToTheFactoryDump) {
    EXPECT_EQ(Encoded(ConfigBlocks{}), kFactory);
}

TEST(ConfigFileTest, ValidFileRoundTripsEveryField) {
    ConfigBlocks blocks;
    blocks.operating = {1, 3, 2, 2, 0, 0};
    blocks.game = {8, 9, 1};
    blocks.sound = {0, 100, -100};
    std::vector<uint8_t> bytes = Encoded(blocks);
    EXPECT_EQ(bytes[22], 0);
    EXPECT_EQ(bytes[23], 0);
    ConfigBlocks read;
    ASSERT_TRUE(ConfigFile::Decode(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read, blocks);
}

TEST(ConfigFileTest, UnusedBytesAreIgnoredOnRead) {
    std::vector<uint8_t> bytes = kFactory;
    bytes[22] = 0xCD;
    bytes[23] = 0xCD;
    ConfigBlocks read;
    read.game.difficulty = 7;
    ASSERT_TRUE(ConfigFile::Decode(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read, ConfigBlocks{});
}

// Any of these leaves the blocks exactly as they were.
TEST(ConfigFileTest, RejectedFilesLeaveTheBlocksUntouched) {
    struct Case {
        const char* what;
        size_t offset;  // field to overwrite, or SIZE_MAX for none
        int32_t value;
        size_t size;
    };
    const Case cases[] = {
        {"version 2", 0, 2, 48},       {"49 bytes", SIZE_MAX, 0, 49},
        {"47 bytes", SIZE_MAX, 0, 47}, {"empty", SIZE_MAX, 0, 0},
        {"COIN 0", 8, 0, 48},          {"COIN negative", 8, -1, 48},
        {"CREDIT 0", 12, 0, 48},       {"CONTINUE COIN 11", 16, 11, 48},
        {"play mode 2", 4, 2, 48},     {"CONTINUE 2", 20, 0x0102, 48},
        {"difficulty 0", 24, 0, 48},   {"ship stock 0", 28, 0, 48},
        {"bomb stock 10", 32, 10, 48}, {"SE volume 101", 36, 101, 48},
        {"BGM volume -1", 40, -1, 48}, {"balance -101", 44, -101, 48},
    };
    ConfigBlocks live;
    live.operating.coins = 2;
    live.sound.balance = 30;
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = kFactory;
        bytes.resize(c.size, 0);
        if (c.offset != SIZE_MAX) {
            PutI32(bytes, c.offset, c.value);
        }
        ConfigBlocks read = live;
        EXPECT_FALSE(ConfigFile::Decode(bytes.data(), bytes.size(), read)) << c.what;
        EXPECT_EQ(read, live) << c.what;
    }
}

}  // namespace
}  // namespace mareldon
