#include "engine/render/archive/FileRef.h"

namespace mareldon {

FileRef::FileRef(const RefPtr<FileSystem>& fileSystem, const String& name, uint32_t mode)
    : fileSystem_(fileSystem), file_(fileSystem ? fileSystem->Open(name, mode) : nullptr) {}

FileRef::~FileRef() {
    if (fileSystem_) {
        fileSystem_->Close(file_);
    }
}

}  // namespace mareldon
