#include "engine/platform/MovieSource.h"

#include <algorithm>
#include <cstring>

#include "engine/platform/File.h"
#include "engine/platform/FileSystem.h"

namespace mareldon {

FileMovieSource::FileMovieSource(const RefPtr<FileSystem>& fileSystem, File* file)
    : fileSystem_(fileSystem), file_(file), size_(file != nullptr ? file->GetSize() : 0) {}

FileMovieSource::~FileMovieSource() {
    if (fileSystem_ && file_ != nullptr) {
        fileSystem_->Close(file_);
    }
}

int32_t FileMovieSource::Read(uint8_t* buffer, int32_t size) {
    if (file_ == nullptr || size < 0) {
        return -1;
    }
    // Files are 32-bit sized; a read past the end of what was measured at
    // opening finds nothing, even when the file grew since.
    const uint64_t left = position_ < size_ ? size_ - position_ : 0;
    const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(left, static_cast<uint64_t>(size)));
    if (count == 0) {
        return 0;
    }
    file_->Seek(static_cast<uint32_t>(position_));
    if (!file_->Read(buffer, count)) {
        return -1;  // the file shrank or went away since it was opened
    }
    position_ += count;
    return static_cast<int32_t>(count);
}

bool FileMovieSource::Seek(uint64_t position) {
    if (position > size_) {
        return false;
    }
    position_ = position;
    return true;
}

int32_t MemoryMovieSource::Read(uint8_t* buffer, int32_t size) {
    if (size < 0) {
        return -1;
    }
    const uint64_t left = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(left, static_cast<uint64_t>(size)));
    if (count > 0) {
        std::memcpy(buffer, bytes_.data() + position_, count);
    }
    position_ += count;
    return static_cast<int32_t>(count);
}

bool MemoryMovieSource::Seek(uint64_t position) {
    if (position > bytes_.size()) {
        return false;
    }
    position_ = position;
    return true;
}

}  // namespace mareldon
