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

// Each field at its own offset: a round trip cannot tell two swapped fields apart.
TEST(ConfigFileTest, EveryFieldSitsAtItsOffset) {
    ConfigBlocks blocks;
    blocks.operating = {1, 2, 3, 4, 0, 0};
    blocks.game = {5, 6, 7};
    blocks.sound = {8, 9, -10};
    const std::vector<uint8_t> bytes = Encoded(blocks);
    const struct {
        const char* field;
        size_t offset;
        int32_t value;
    } fields[] = {
        {"play mode", 4, 1},   {"COIN", 8, 2},        {"CREDIT", 12, 3},     {"CONTINUE COIN", 16, 4},
        {"difficulty", 24, 5}, {"ship stock", 28, 6}, {"bomb stock", 32, 7}, {"SE volume", 36, 8},
        {"BGM volume", 40, 9}, {"balance", 44, -10},
    };
    for (const auto& f : fields) {
        std::vector<uint8_t> want(4);
        PutI32(want, 0, f.value);
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + f.offset, bytes.begin() + f.offset + 4), want)
            << f.field;
    }
    EXPECT_EQ(bytes[20], 0) << "CONTINUE";
    EXPECT_EQ(bytes[21], 0) << "DEMO'S SOUND";
    std::vector<uint8_t> flags = kFactory;
    flags[20] = 0;
    ConfigBlocks read;
    ASSERT_TRUE(ConfigFile::Decode(flags.data(), flags.size(), read));
    EXPECT_EQ(read.operating.continueEnabled, 0);
    EXPECT_EQ(read.operating.demoSound, 1);
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
