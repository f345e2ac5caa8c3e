#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/platform/File.h"
#include "engine/platform/FileSystem.h"

namespace mareldon {

// One open file of a file system, held through counted handles for one read
// sequence; the file is closed when the last handle goes. The file object is
// kept even when the open failed: its status then is negative.
class FileRef {
  public:
    FileRef(const RefPtr<FileSystem>& fileSystem, const String& name, uint32_t mode);
    ~FileRef();
    FileRef(const FileRef&) = delete;
    FileRef& operator=(const FileRef&) = delete;

    // Negative when the file is not open (also when the file system had no memory
    // for a file object).
    int32_t GetStatus() const { return file_ != nullptr ? file_->GetStatus() : kFileNotFound; }
    File* GetFile() const { return file_; }

  private:
    RefPtr<FileSystem> fileSystem_;
    File* file_;
};

}  // namespace mareldon
