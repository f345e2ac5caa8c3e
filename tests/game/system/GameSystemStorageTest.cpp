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

// A ranking file the game cannot take (cut short, empty, garbage, too large to
// be ours) leaves the built-in tables in force and stays as it is; the next save
// keeps it beside the new file, once.
TEST_F(GameSystemStorageTest, UntakenRankingFileIsKeptBesideTheNextSave) {
    Rankings stored;
    stored.ResetRanking();
    stored.ResetPairRanking();
    stored.single[0].name = "ABC";
    const std::vector<uint8_t> whole = RankingFile::Encode(stored);
    const std::vector<uint8_t> truncated(whole.begin(), whole.begin() + 1000);
    const std::vector<uint8_t> garbage(1440, 0xFF);
    const std::vector<uint8_t> tooLarge(70000, 0);
    const std::string path = RankingFile::kPath;
    for (const auto& file : {truncated, std::vector<uint8_t>(), garbage, tooLarge}) {
        SCOPED_TRACE(file.size());
        GameSystemFixture fixture;
        fixture.saves.files[path] = file;
        GameSystem& system = fixture.Start();
        EXPECT_EQ(system.GetRankingEntry(0).name, "ZEV");
        EXPECT_EQ(fixture.saves.files[path], file) << "untouched until a save";
        system.AddCoin();
        EXPECT_EQ(system.GetCredits(), 1) << "the game runs on";

        EXPECT_TRUE(system.SaveRanking());
        EXPECT_EQ(fixture.saves.files[path].size(), 1440u);
        EXPECT_EQ(fixture.saves.files[path + ".damaged"], file);
        EXPECT_TRUE(system.SaveRanking());
        EXPECT_EQ(fixture.saves.files.count(path + ".damaged.2"), 0u) << "kept once";
        EXPECT_EQ(fixture.saves.files[path + ".damaged"], file);
    }
}

TEST_F(GameSystemStorageTest, UnreadableSettingsFileIsKeptBesideTheFirstStore) {
    std::vector<uint8_t> damaged = Encoded(ConfigBlocks{});
    damaged[0] = 2;
    ConfigBytes() = damaged;
    saves.files[std::string(ConfigFile::kPath) + ".damaged"] = {1, 2, 3};
    Start();
    EXPECT_EQ(ConfigBytes(), damaged);
    system->StoreSoundSettings(SoundSettings{10, 20, 30});
    EXPECT_EQ(ConfigBytes(), Encoded(ConfigBlocks{{}, {}, SoundSettings{10, 20, 30}}));
    EXPECT_EQ(saves.files[std::string(ConfigFile::kPath) + ".damaged"], (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(saves.files[std::string(ConfigFile::kPath) + ".damaged.2"], damaged)
        << "an earlier copy stays too";
}

// A store that cannot move the file out of the way: the file is not overwritten,
// and the game goes on with what it holds.
TEST_F(GameSystemStorageTest, UnreadableFileThatCannotBeKeptIsNotOverwritten) {
    class StuckSaves : public MemorySaveFiles {
      public:
        bool KeepAside(const char*, std::string& keptAs) override {
            keptAs.clear();
            return false;
        }
    };
    StuckSaves stuck;
    const std::vector<uint8_t> garbage(7, 0x55);
    stuck.files[RankingFile::kPath] = garbage;
    stuck.files[ConfigFile::kPath] = garbage;
    GameSystem* owned = new GameSystem(&root, GameSystemPorts{&stuck, RecordEvent, &inputs, &scenes});
    EXPECT_FALSE(owned->SaveRanking());
    owned->StoreGameSettings(GameSettings{5, 3, 2});
    EXPECT_EQ(owned->GetGameSettings().difficulty, 5);
    EXPECT_EQ(stuck.files[RankingFile::kPath], garbage);
    EXPECT_EQ(stuck.files[ConfigFile::kPath], garbage);
    EXPECT_EQ(stuck.replaces, 0);
    delete owned;
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
