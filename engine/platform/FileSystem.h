#pragma once

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/platform/File.h"

#include <cstdint>

namespace mareldon {

enum : uint32_t { kEntryFile = 0, kEntryDirectory = 2 };

struct DirectoryEntry {
    String name;
    uint32_t size = 0;      // low 32 bits
    uint32_t sizeHigh = 0;  // always 0
    uint32_t type = kEntryFile;
    uint32_t reserved[2] = {0, 0};
};

// The entries of one directory: "." and ".." first, then by name.
class DirectoryList : public PtrArray<DirectoryEntry> {
  public:
    DirectoryList() : PtrArray<DirectoryEntry>(4) {}
};

struct PathParts {
    String drive;
    String directory;
    String name;
    String extension;
};

// All file access of the program, below one root directory.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // A directory relative to the root becomes the root; false leaves it.
    virtual bool ChangeRoot(const String& path) = 0;
    // Absolute, ending with a separator.
    virtual String GetRoot() = 0;
    virtual RefPtr<DirectoryList> ListDirectory(const String& path) = 0;
    virtual void SplitFilePath(const String& path, String& drive, String& directory, String& name,
                               String& extension) = 0;
    // The absolute form of a path relative to the root.
    virtual void FullPath(String& out, const String& path) = 0;
    // A file object even when the file cannot be opened: its status tells.
    virtual File* Open(const String& path, uint32_t mode) = 0;
    virtual void Close(File* file) = 0;
};

}  // namespace mareldon
