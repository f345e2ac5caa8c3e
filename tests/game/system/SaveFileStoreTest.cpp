#include "game/system/SaveFileStore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "engine/platform/FileSystem.h"
#include "engine/platform/posix/DirectoryFileSystem.h"
#include "game/system/ConfigFile.h"
#include "game/system/RankingFile.h"

namespace mareldon {
namespace {

class SaveFileStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("mareldon_save_" + std::to_string(getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        fileSystem.reset(CreateFileSystem(root.string().c_str()));
        store = CreateSaveFileStore(*fileSystem);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    std::filesystem::path root;
    std::unique_ptr<FileSystem> fileSystem;
    std::unique_ptr<SaveFileStore> store;
};

TEST_F(SaveFileStoreTest, CreatesTheSaveFolderAndReadsBack) {
    const uint8_t bytes[] = {1, 2, 3};
    ASSERT_TRUE(store->Replace("sv\\A.bin", bytes, 3));
    EXPECT_TRUE(std::filesystem::exists(root / "sv" / "A.bin"));
    EXPECT_FALSE(std::filesystem::exists(root / "sv" / "A.bin.tmp"));
    std::vector<uint8_t> read;
    ASSERT_TRUE(store->Read("sv\\A.bin", 16, read));
    EXPECT_EQ(read, std::vector<uint8_t>(bytes, bytes + 3));
    EXPECT_FALSE(store->Read("sv\\A.bin", 2, read)) << "over the limit";
    EXPECT_FALSE(store->Read("sv\\missing", 16, read));
}

TEST_F(SaveFileStoreTest, FailedReplaceKeepsTheOldFile) {
    const uint8_t old[] = {7};
    ASSERT_TRUE(store->Replace("sv\\A.bin", old, 1));
    // A folder in the way of the temporary file makes the write fail.
    std::filesystem::create_directories(root / "sv" / "A.bin.tmp" / "x");
    const uint8_t fresh[] = {8, 8};
    EXPECT_FALSE(store->Replace("sv\\A.bin", fresh, 2));
    std::vector<uint8_t> read;
    ASSERT_TRUE(store->Read("sv\\A.bin", 16, read));
    EXPECT_EQ(read, std::vector<uint8_t>{7});
}

TEST_F(SaveFileStoreTest, KeepAsideRenamesToTheFirstFreeName) {
    std::string keptAs = "x";
    EXPECT_TRUE(store->KeepAside("sv\\A.bin", keptAs)) << "no file, nothing in the way";
    EXPECT_EQ(keptAs, "");
    const uint8_t first[] = {1};
    const uint8_t second[] = {2, 2};
    ASSERT_TRUE(store->Replace("sv\\A.bin", first, 1));
    ASSERT_TRUE(store->KeepAside("sv\\A.bin", keptAs));
    EXPECT_EQ(keptAs, "sv\\A.bin.damaged");
    ASSERT_TRUE(store->Replace("sv\\A.bin", second, 2));
    ASSERT_TRUE(store->KeepAside("sv\\A.bin", keptAs));
    EXPECT_EQ(keptAs, "sv\\A.bin.damaged.2");
    EXPECT_FALSE(std::filesystem::exists(root / "sv" / "A.bin"));
    std::vector<uint8_t> read;
    ASSERT_TRUE(store->Read("sv\\A.bin.damaged", 16, read));
    EXPECT_EQ(read, std::vector<uint8_t>{1});
    ASSERT_TRUE(store->Read("sv\\A.bin.damaged.2", 16, read));
    EXPECT_EQ(read, (std::vector<uint8_t>{2, 2}));
}

// A process killed at a random moment while it saves over and over leaves a
// whole settings file and a whole ranking file, the old or the new.
TEST_F(SaveFileStoreTest, KilledWhileSavingLeavesAWholeFile) {
    ConfigBlocks a;
    ConfigBlocks b;
    b.sound.balance = -40;
    b.operating.coins = 3;
    Rankings ranksA;
    ranksA.ResetRanking();
    ranksA.ResetPairRanking();
    Rankings ranksB = ranksA;
    ranksB.single[0].name = "LONGER NAME";
    const auto configA = ConfigFile::Encode(a);
    const auto configB = ConfigFile::Encode(b);
    const auto rankA = RankingFile::Encode(ranksA);
    const auto rankB = RankingFile::Encode(ranksB);
    ASSERT_TRUE(store->Replace(ConfigFile::kPath, configA.data(), configA.size()));
    ASSERT_TRUE(store->Replace(RankingFile::kPath, rankA.data(), rankA.size()));

    std::mt19937 random(1234);
    for (int round = 0; round < 25; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                const auto& config = (i & 1) ? configB : configA;
                const auto& rank = (i & 1) ? rankB : rankA;
                store->Replace(ConfigFile::kPath, config.data(), config.size());
                store->Replace(RankingFile::kPath, rank.data(), rank.size());
            }
        }
        usleep(std::uniform_int_distribution<int>(200, 20000)(random));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        std::vector<uint8_t> bytes;
        ASSERT_TRUE(store->Read(ConfigFile::kPath, 4096, bytes));
        ConfigBlocks read;
        read.game.difficulty = 1;
        ASSERT_TRUE(ConfigFile::Decode(bytes.data(), bytes.size(), read)) << "round " << round;
        EXPECT_TRUE(read == a || read == b);
        ASSERT_TRUE(store->Read(RankingFile::kPath, 4096, bytes));
        EXPECT_TRUE(bytes == rankA || bytes == rankB) << "round " << round;
    }
}

}  // namespace
}  // namespace mareldon
