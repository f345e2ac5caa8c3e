#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/platform/FileSystem.h"
#include "engine/platform/posix/DirectoryFileSystem.h"

#include "game/system/ConfigFile.h"
#include "game/system/GameSystem.h"
#include "game/system/RankingFile.h"
#include "tests/game/system/GameSystemFixture.h"

namespace mareldon {
namespace {

using Event = std::pair<uint32_t, uint32_t>;

class GameSystemStorageTest : public testing::Test, public GameSystemFixture {
  protected:
    std::vector<uint8_t>& ConfigBytes() { return saves.files[ConfigFile::kPath]; }
    static std::vector<uint8_t> Encoded(const ConfigBlocks& blocks) {
        const auto bytes = ConfigFile::Encode(blocks);
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(GameSystemStorageTest, StoreWritesAllThreeLiveBlocks) {
    Start();
    EXPECT_TRUE(saves.files.empty()) << "nothing is written until a store";
    SoundSettings sound{10, 20, -30};
    system->StoreSoundSettings(sound);
    EXPECT_EQ(Events().back(), (Event{0x06000000, 0}));
    ConfigBlocks expected;
    expected.sound = sound;
    EXPECT_EQ(ConfigBytes(), Encoded(expected));

    OperatingSettings op{0, 2, 1, 10, 0, 1};
    system->StoreOperatingSettings(op);
    system->StoreSoundSettings(sound);
    expected.operating = op;
    EXPECT_EQ(ConfigBytes(), Encoded(expected)) << "the operating block is the live one";
    EXPECT_EQ(system->DefaultOperatingSettings(), OperatingSettings{});
    OperatingSettings copy;
    EXPECT_EQ(*system->GetOperatingSettings(&copy), op);
}

TEST_F(GameSystemStorageTest, ValidFileIsReadAtStart) {
    ConfigBlocks stored;
    stored.operating.coins = 3;
    stored.game.difficulty = 7;
    ConfigBytes() = Encoded(stored);
    Start();
    EXPECT_EQ(system->GetOperatingSettings().coins, 3);
    EXPECT_EQ(system->GetGameSettings().difficulty, 7);
}

TEST_F(GameSystemStorageTest, DamagedFileLeavesFactoryValuesAndIsKept) {
    ConfigBlocks stored;
    stored.operating.credits = 4;
    std::vector<uint8_t> coinZero = Encoded(stored);
    coinZero[8] = 0;
    std::vector<uint8_t> version2 = Encoded(stored);
    version2[0] = 2;
    std::vector<uint8_t> long49 = Encoded(stored);
    long49.push_back(0);
    for (const auto& file : {coinZero, version2, long49}) {
        ConfigBytes() = file;
        GameSystemFixture fixture;
        fixture.saves.files = saves.files;
        GameSystem& system = fixture.Start();
        EXPECT_EQ(system.GetOperatingSettings(), OperatingSettings{});
        EXPECT_EQ(fixture.saves.files[ConfigFile::kPath], file) << "replaced only by a store";
        system.AddCoin();
        EXPECT_EQ(system.GetCredits(), 1);
    }
}

TEST_F(GameSystemStorageTest, RankingFileReadAtStartUnlessDamaged) {
    Rankings stored;
    stored.ResetRanking();
    stored.ResetPairRanking();
    stored.single[0].name = "ABCDE";
    stored.single[0].score = 42;
    std::vector<uint8_t> bytes = RankingFile::Encode(stored);
    saves.files[RankingFile::kPath] = bytes;
    Start();
    EXPECT_EQ(system->GetRankingEntry(0).name, "ABCDE");
    EXPECT_EQ(system->GetTopScore(), 42u);
    system->SaveRanking();
    EXPECT_EQ(saves.files[RankingFile::kPath], bytes);

    bytes.resize(1000);
    GameSystemFixture truncated;
    truncated.saves.files[RankingFile::kPath] = bytes;
    GameSystem& fresh = truncated.Start();
    EXPECT_EQ(fresh.GetRankingEntry(0).name, "ZEV");
    EXPECT_EQ(fresh.GetPairRankingEntry(9).second.name, "VEZ");
}

TEST_F(GameSystemStorageTest, WithoutAFileTheDefaultsAreSaved) {
    Start();
    system->SaveRanking();
    const std::vector<uint8_t>& bytes = saves.files[RankingFile::kPath];
    ASSERT_EQ(bytes.size(), 1440u);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0xA0);
    EXPECT_EQ(bytes[8], 0xE8);
}

// Without a store of its own the game system saves through the file system its
// parent hands down, creating the save folder.
TEST_F(GameSystemStorageTest, SavesThroughTheTaskFileSystem) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("mareldon_gamesys_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    root.fileSystem.Reset(CreateFileSystem(dir.string().c_str()));
    GameSystem* owned = new GameSystem(&root);
    owned->StoreGameSettings(GameSettings{5, 3, 2});
    std::ifstream in(dir / "sv" / "MARELDON.config", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ConfigBlocks expected;
    expected.game.difficulty = 5;
    EXPECT_EQ(bytes, Encoded(expected));
    delete owned;

    GameSystem reread(&root);
    EXPECT_EQ(reread.GetGameSettings().difficulty, 5);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace mareldon
