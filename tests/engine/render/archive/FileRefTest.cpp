#include "engine/render/archive/FileRef.h"

#include <gtest/gtest.h>

#include "tests/engine/render/archive/ArchiveTestServices.h"

namespace mareldon {
namespace {

TEST(FileRefTest, LastHandleClosesTheFileOnce) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    files->files["a.dat"] = {1, 2, 3};
    {
        RefPtr<FileRef> file(new FileRef(RefPtr<FileSystem>(files), "a.dat", kFileRead));
        EXPECT_EQ(file->GetStatus(), kFileIdle);
        { RefPtr<FileRef> copy = file; }
        EXPECT_EQ(files->closes, 0);
    }
    EXPECT_EQ(files->opens, 1);
    EXPECT_EQ(files->closes, 1);
}

TEST(FileRefTest, MissingFileIsNotOpenAndStillClosed) {
    RefPtr<MemoryFileSystem> files(new MemoryFileSystem());
    {
        FileRef file(RefPtr<FileSystem>(files), "missing.dat", kFileRead);
        EXPECT_EQ(file.GetStatus(), kFileNotFound);
    }
    EXPECT_EQ(files->closes, 1);
    FileRef none(RefPtr<FileSystem>(), "a.dat", kFileRead);
    EXPECT_LT(none.GetStatus(), 0);
}

}  // namespace
}  // namespace mareldon
