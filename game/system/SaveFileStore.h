#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mareldon {

// Where the game system keeps its save files (settings, rankings). Paths are
// the game's own names, relative to the program directory, with backslashes.
class SaveFileStore {
  public:
    virtual ~SaveFileStore() = default;
    // The whole file; false when it is missing, unreadable or larger than `limit`.
    virtual bool Read(const char* path, size_t limit, std::vector<uint8_t>& bytes) = 0;
    // Replaces the file whole. A cabinet is switched off at the wall, so a cut
    // at any moment must leave either the old file or the new one, never a mix.
    virtual bool Replace(const char* path, const uint8_t* data, size_t size) = 0;
    // Renames a file the game could not read to the first free "<file>.damaged",
    // "<file>.damaged.2", ..., so that replacing it loses nothing. True when the
    // path is free now, with `keptAs` the new name (empty when there was no
    // file); false when the file is still in the way.
    virtual bool KeepAside(const char* path, std::string& keptAs) = 0;
};

class FileSystem;

// Save files through the program's file system. A replace writes "<file>.tmp"
// in the same folder, flushes it, renames it over the old file and flushes the
// folder; missing folders on the way (the "sv" folder) are created. A file kept
// aside is renamed in its folder, which is then flushed.
std::unique_ptr<SaveFileStore> CreateSaveFileStore(FileSystem& fileSystem);

}  // namespace mareldon
