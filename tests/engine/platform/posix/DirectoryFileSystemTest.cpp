#include "engine/platform/posix/DirectoryFileSystem.h"

#include "engine/core/Cp932.h"
#include "engine/platform/posix/PathResolver.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace mareldon {
namespace {

// A fresh directory per test, removed afterwards.
class DirectoryFileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/mareldon-fs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        fs = std::make_unique<DirectoryFileSystem>(String(dir.c_str()));
    }
    void TearDown() override {
        fs.reset();
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    void Put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) {
        std::ifstream in(dir + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void MakeDir(const std::string& name) { ASSERT_EQ(mkdir((dir + "/" + name).c_str(), 0755), 0); }
    std::unique_ptr<File> Open(const char* path, uint32_t mode) {
        return std::unique_ptr<File>(fs->Open(String(path), mode));
    }

    std::string dir;
    std::unique_ptr<DirectoryFileSystem> fs;
};

TEST_F(DirectoryFileSystemTest, MissingFileReportsNotFoundAndRefusesReads) {
    auto file = Open("nothing.dat", kFileRead);
    EXPECT_EQ(file->GetStatus(), kFileNotFound);
    char buffer[4] = {1, 1, 1, 1};
    EXPECT_FALSE(file->Read(buffer, 4));
    EXPECT_EQ(file->GetSize(), 0u);
    EXPECT_EQ(Open("no\\such\\dir.dat", kFileRead)->GetStatus(), kFilePathNotFound);
    EXPECT_EQ(Open("sv\\MARELDON.config", kFileWrite | kFileCreateAnew)->GetStatus(), kFilePathNotFound);
}

TEST_F(DirectoryFileSystemTest, CreateAnewTruncatesOnlyOnce) {
    Put("save.bin", "old contents that are long");
    auto file = Open("save.bin", kFileWrite | kFileCreateAnew);
    EXPECT_EQ(file->GetStatus(), kFileIdle);
    EXPECT_EQ(Get("save.bin"), "");
    EXPECT_TRUE(file->Write("abcd", 4));
    file->Seek(8);
    EXPECT_TRUE(file->Write("wxyz", 4));
    EXPECT_EQ(file->Tell(), 12u);
    EXPECT_EQ(Get("save.bin"), std::string("abcd\0\0\0\0wxyz", 12));
    EXPECT_EQ(file->GetSize(), 12u);
}

TEST_F(DirectoryFileSystemTest, ShortReadFailsAndZeroFillsTheTail) {
    Put("ten.bin", "0123456789");
    auto file = Open("ten.bin", kFileRead);
    unsigned char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), 0xAA);
    EXPECT_FALSE(file->Read(buffer, 16));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 10), "0123456789");
    for (int i = 10; i < 16; ++i) {
        EXPECT_EQ(buffer[i], 0) << i;
    }
    EXPECT_EQ(file->GetStatus(), kFileIdle);  // no native error happened
    EXPECT_EQ(file->Tell(), 16u);
    file->Seek(2);
    EXPECT_TRUE(file->Read(buffer, 8));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), "23456789");
}

TEST_F(DirectoryFileSystemTest, BackslashesAndCaseResolveToTheDisk) {
    MakeDir("sv");
    Put("sv/MARELDON.config", "settings");
    auto file = Open("SV\\mareldon.CONFIG", kFileRead);
    char buffer[8];
    ASSERT_TRUE(file->Read(buffer, 8));
    EXPECT_EQ(std::string(buffer, 8), "settings");
    // A write reuses the existing case variant instead of making a second file.
    auto writer = Open("sv\\mareldon.config", kFileWrite | kFileCreateAnew);
    EXPECT_TRUE(writer->Write("new", 3));
    EXPECT_EQ(Get("sv/MARELDON.config"), "new");
    EXPECT_NE(access((dir + "/sv/mareldon.config").c_str(), F_OK), 0);
    // A new name is made as given.
    EXPECT_TRUE(Open("sv\\MARELDON.ranking", kFileWrite | kFileCreateAnew)->Write("r", 1));
    EXPECT_EQ(Get("sv/MARELDON.ranking"), "r");
}

TEST_F(DirectoryFileSystemTest, SeveralCaseMatchesTakeTheFirstInByteOrder) {
    Put("Data.bin", "upper");
    Put("data.BIN", "lower");
    auto file = Open("DATA.bin", kFileRead);
    char buffer[5];
    ASSERT_TRUE(file->Read(buffer, 5));
    EXPECT_EQ(std::string(buffer, 5), "upper");
}

TEST_F(DirectoryFileSystemTest, Cp932NamesKeepTheirTrailBackslash) {
    // "表" is 95 5C in cp932: its second byte is not a separator.
    const std::string name = "\x95\x5C.dat";
    MakeDir("sub");
    Put("sub/" + Cp932ToUtf8(name), "kanji");
    auto file = Open(("sub\\" + name).c_str(), kFileRead);
    char buffer[5];
    ASSERT_TRUE(file->Read(buffer, 5));
    EXPECT_EQ(std::string(buffer, 5), "kanji");
    String full;
    fs->FullPath(full, String(("a\\" + name).c_str()));
    EXPECT_EQ(std::string(full.Text()), dir + "/a/" + name);

    RefPtr<DirectoryList> list = fs->ListDirectory("sub");
    ASSERT_EQ(list->Count(), 3);
    EXPECT_STREQ((*list)[2]->name.Text(), name.c_str());
}

TEST_F(DirectoryFileSystemTest, InvalidNamesFailCleanly) {
    // A lead byte with no trail byte is not cp932.
    auto bad = Open("bad\x81", kFileRead);
    EXPECT_LT(bad->GetStatus(), 0);
    auto badWrite = Open("bad\x81", kFileWrite | kFileCreateAnew);
    EXPECT_LT(badWrite->GetStatus(), 0);
    char buffer[1];
    EXPECT_FALSE(badWrite->Write(buffer, 1));
    EXPECT_EQ(Open(std::string(300, 'n').c_str(), kFileRead)->GetStatus(), kFileNameTooLong);
}

TEST_F(DirectoryFileSystemTest, DirectoriesAndWrongAccessAreDenied) {
    MakeDir("folder");
    EXPECT_EQ(Open("folder", kFileRead)->GetStatus(), kFileAccessDenied);
    EXPECT_EQ(Open("folder", kFileWrite)->GetStatus(), kFileAccessDenied);
    Put("w.bin", "data");
    auto writeOnly = Open("w.bin", kFileWrite);
    char buffer[4];
    EXPECT_FALSE(writeOnly->Read(buffer, 4));
    EXPECT_EQ(writeOnly->GetStatus(), kFileAccessDenied);
    // The error blocks transfers until the status is set back.
    EXPECT_FALSE(writeOnly->Write("x", 1));
    writeOnly->SetStatus(kFileIdle);
    EXPECT_TRUE(writeOnly->Write("x", 1));
    if (geteuid() != 0) {
        Put("locked.bin", "x");
        chmod((dir + "/locked.bin").c_str(), 0);
        EXPECT_EQ(Open("locked.bin", kFileRead)->GetStatus(), kFileAccessDenied);
    }
}

// A transfer from a FIFO without a writer holds the worker in its open, so the reads
// queued behind it stay busy, whatever the machine's speed, until the test opens the
// FIFO's other end.
TEST_F(DirectoryFileSystemTest, AsynchronousReadsRunInOrderAndStayBusyToTheEnd) {
    std::string big(1 << 20, 'a');
    big += std::string(1 << 20, 'b');
    Put("big.bin", big);
    const std::string fifo = dir + "/gate";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int holder = open(fifo.c_str(), O_RDWR);  // lets the gate's own open return
    ASSERT_GE(holder, 0);
    auto gate = Open("gate", kFileRead | kFileAsync);
    close(holder);
    char gateByte = 0;
    EXPECT_TRUE(gate->Read(&gateByte, 1));

    auto file = Open("big.bin", kFileRead | kFileAsync);
    std::vector<char> first(1 << 20), second(1 << 20);
    EXPECT_EQ(file->GetStatus(), kFileIdle);
    EXPECT_TRUE(file->Read(first.data(), 1 << 20));
    EXPECT_EQ(file->GetStatus(), kFileIdle | kFileBusy);
    EXPECT_TRUE(file->Read(second.data(), 1 << 20));
    EXPECT_EQ(file->GetStatus(), kFileIdle | kFileBusy);

    const int release = open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(release, 0);
    close(release);
    int32_t status;
    while ((status = file->GetStatus()) & kFileBusy)
        std::this_thread::yield();
    // Idle only once the last read is done.
    EXPECT_EQ(status, kFileIdle);
    EXPECT_EQ(first.front(), 'a');
    EXPECT_EQ(first.back(), 'a');
    EXPECT_EQ(second.front(), 'b');
    EXPECT_EQ(second.back(), 'b');
}

TEST_F(DirectoryFileSystemTest, ClosingAnAsynchronousFileWaitsForItsTransfers) {
    auto keep = Open("keep.bin", kFileWrite | kFileCreateAnew | kFileAsync);
    for (int round = 0; round < 20; ++round) {
        std::vector<char> bytes(4096, static_cast<char>('a' + round % 26));
        auto file = Open("out.bin", kFileWrite | kFileAsync);
        for (int i = 0; i < 8; ++i) {
            EXPECT_TRUE(file->Write(bytes.data(), 4096));
        }
        // Closed at once: its queued writes must finish before it is gone.
    }
    EXPECT_EQ(Get("out.bin").size(), 8u * 4096u);
    EXPECT_EQ(Get("out.bin")[0], 't');
    std::unique_ptr<File> last(fs->Open("late.bin", kFileWrite | kFileAsync));
    EXPECT_TRUE(last->Write("late", 4));
    fs->Close(last.release());
    keep.reset();
    EXPECT_EQ(Get("late.bin"), "late");
}

TEST_F(DirectoryFileSystemTest, ListingPutsDotsFirstThenSortsByName) {
    RefPtr<DirectoryList> empty = fs->ListDirectory("");
    ASSERT_EQ(empty->Count(), 2);
    EXPECT_STREQ((*empty)[0]->name.Text(), ".");
    EXPECT_STREQ((*empty)[1]->name.Text(), "..");
    EXPECT_EQ((*empty)[0]->type, kEntryDirectory);
    EXPECT_EQ((*empty)[1]->type, kEntryDirectory);

    Put("b.txt", "12345");
    Put("A.txt", "1");
    MakeDir("c");
    RefPtr<DirectoryList> list = fs->ListDirectory(".\\");
    ASSERT_EQ(list->Count(), 5);
    EXPECT_STREQ((*list)[2]->name.Text(), "A.txt");
    EXPECT_STREQ((*list)[3]->name.Text(), "b.txt");
    EXPECT_EQ((*list)[3]->size, 5u);
    EXPECT_EQ((*list)[3]->type, kEntryFile);
    EXPECT_EQ((*list)[4]->type, kEntryDirectory);
    EXPECT_EQ(fs->ListDirectory("missing")->Count(), 0);
    EXPECT_EQ(fs->ListDirectory("b.txt")->Count(), 0);
}

TEST_F(DirectoryFileSystemTest, RootPathsAndSplitting) {
    EXPECT_EQ(std::string(fs->GetRoot().Text()), dir + "/");
    String full;
    fs->FullPath(full, "sv\\..\\x\\.\\y.dat");
    EXPECT_EQ(std::string(full.Text()), dir + "/x/y.dat");
    fs->FullPath(full, "\\etc\\passwd");
    EXPECT_EQ(std::string(full.Text()), "/etc/passwd");
    // Only a letter makes a drive; a full path folds to itself.
    fs->FullPath(full, "d:\\etc\\passwd");
    EXPECT_EQ(std::string(full.Text()), "/etc/passwd");
    fs->FullPath(full, "\\:v\\x");
    EXPECT_EQ(std::string(full.Text()), "/:v/x");
    fs->FullPath(full, full);
    EXPECT_EQ(std::string(full.Text()), "/:v/x");

    MakeDir("Data");
    EXPECT_TRUE(fs->ChangeRoot("data"));
    EXPECT_EQ(std::string(fs->GetRoot().Text()), dir + "/Data/");
    EXPECT_FALSE(fs->ChangeRoot("nowhere"));
    EXPECT_EQ(std::string(fs->GetRoot().Text()), dir + "/Data/");
    EXPECT_TRUE(fs->ChangeRoot(".."));

    struct Case {
        const char* path;
        const char *drive, *directory, *name, *extension;
    };
    const Case cases[] = {{"C:\\d\\f.e", "C:", "\\d\\", "f", ".e"},
                          {"name", "", "", "name", ""},
                          {"a/b.c/d", "", "a/b.c/", "d", ""},
                          {"\x95\x5C.x", "", "", "\x95\x5C", ".x"},
                          {"a\\\x83\x5C\\b.c", "", "a\\\x83\x5C\\", "b", ".c"}};
    for (const Case& c : cases) {
        String drive, directory, name, extension;
        fs->SplitFilePath(c.path, drive, directory, name, extension);
        EXPECT_STREQ(drive.Text(), c.drive) << c.path;
        EXPECT_STREQ(directory.Text(), c.directory) << c.path;
        EXPECT_STREQ(name.Text(), c.name) << c.path;
        EXPECT_STREQ(extension.Text(), c.extension) << c.path;
    }
}

TEST(CreateFileSystemTest, EnvironmentRootOverridesTheProgramDirectory) {
    char pattern[] = "/tmp/mareldon-root-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    setenv("MARELDON_ROOT", pattern, 1);
    std::unique_ptr<FileSystem> fs(CreateFileSystem("/nonexistent/program/dir/"));
    unsetenv("MARELDON_ROOT");
    EXPECT_EQ(std::string(fs->GetRoot().Text()), std::string(pattern) + "/");
    rmdir(pattern);
}

TEST(PathResolverTest, ErrnoMapsToTheWindowsCodes) {
    EXPECT_EQ(FileErrorFromErrno(ENOENT, true), kErrorFileNotFound);
    EXPECT_EQ(FileErrorFromErrno(ENOENT, false), kErrorPathNotFound);
    EXPECT_EQ(FileErrorFromErrno(ENOTDIR, true), kErrorPathNotFound);
    EXPECT_EQ(FileErrorFromErrno(EMFILE, true), kErrorTooManyOpenFiles);
    EXPECT_EQ(FileErrorFromErrno(EROFS, true), kErrorAccessDenied);
    EXPECT_EQ(FileErrorFromErrno(EBADF, true), kErrorInvalidHandle);
    EXPECT_EQ(FileErrorFromErrno(EINVAL, true), kErrorInvalidParameter);
    EXPECT_EQ(FileErrorFromErrno(ENAMETOOLONG, true), kErrorFilenameTooLong);
    EXPECT_EQ(FileErrorFromErrno(ENOSPC, true), -1);
}

}  // namespace
}  // namespace mareldon
