#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"

namespace mareldon {

class File;
class FileSystem;

// Where a movie's bytes come from. One thread at a time uses it.
class MovieSource {
  public:
    virtual ~MovieSource() = default;
    // Up to size bytes from the position on; the count read, 0 at the end, or
    // -1 when the bytes cannot be read.
    virtual int32_t Read(uint8_t* buffer, int32_t size) = 0;
    // False for a position past the end; the position then stays.
    virtual bool Seek(uint64_t position) = 0;
    virtual uint64_t Tell() = 0;
    virtual uint64_t Size() = 0;
};

// A file of the file system, read where it lies; closes it when destroyed.
// Made and destroyed on the main thread; reads touch only the file.
class FileMovieSource final : public MovieSource {
  public:
    FileMovieSource(const RefPtr<FileSystem>& fileSystem, File* file);
    ~FileMovieSource() override;

    int32_t Read(uint8_t* buffer, int32_t size) override;
    bool Seek(uint64_t position) override;
    uint64_t Tell() override { return position_; }
    uint64_t Size() override { return size_; }

  private:
    RefPtr<FileSystem> fileSystem_;
    File* file_;
    uint64_t size_;
    uint64_t position_ = 0;
};

// Bytes in memory (a fuzz target's input).
class MemoryMovieSource final : public MovieSource {
  public:
    MemoryMovieSource(const uint8_t* data, size_t size) : bytes_(data, data + size) {}
    explicit MemoryMovieSource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    int32_t Read(uint8_t* buffer, int32_t size) override;
    bool Seek(uint64_t position) override;
    uint64_t Tell() override { return position_; }
    uint64_t Size() override { return bytes_.size(); }

  private:
    std::vector<uint8_t> bytes_;
    uint64_t position_ = 0;
};

}  // namespace mareldon
