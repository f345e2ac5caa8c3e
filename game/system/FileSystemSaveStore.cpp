#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/core/Log.h"
#include "engine/platform/FileSystem.h"
#include "game/system/SaveFileStore.h"

namespace mareldon {

namespace {

// Reads go through the file system like every other file; a replace takes the
// file system's absolute path and does what its files cannot: flush to disk and
// rename.
class FileSystemSaveStore final : public SaveFileStore {
  public:
    explicit FileSystemSaveStore(FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    bool Read(const char* path, size_t limit, std::vector<uint8_t>& bytes) override;
    bool Replace(const char* path, const uint8_t* data, size_t size) override;
    bool KeepAside(const char* path, std::string& keptAs) override;

  private:
    FileSystem& fileSystem_;
};

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now, so a failed close (a lost write on some file systems) is seen.
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t done = write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

// The rename is only durable once the folder is flushed.
void FlushFolder(const std::filesystem::path& folder) {
    FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        fsync(dir.Get());
    }
}

// How many damaged copies of one file are kept before the file is left in place.
constexpr int kMaxKeptCopies = 99;

}  // namespace

bool FileSystemSaveStore::Read(const char* path, size_t limit, std::vector<uint8_t>& bytes) {
    File* file = fileSystem_.Open(path, kFileRead);
    if (file == nullptr) {
        return false;
    }
    bool ok = file->GetStatus() >= 0;
    const uint32_t size = ok ? file->GetSize() : 0;
    ok = ok && size <= limit;
    if (ok) {
        bytes.assign(size, 0);
        ok = size == 0 || file->Read(bytes.data(), size);
    }
    fileSystem_.Close(file);
    return ok;
}

bool FileSystemSaveStore::Replace(const char* path, const uint8_t* data, size_t size) {
    String absolute;
    fileSystem_.FullPath(absolute, path);
    const std::filesystem::path full(absolute.Text());
    const std::filesystem::path folder = full.parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        LOG_ERROR("save", "cannot create %s: %s", folder.c_str(), error.message().c_str());
        return false;
    }
    std::filesystem::path temporary = full;
    temporary += ".tmp";
    bool written = false;
    {
        FileDescriptor fd(open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        written = fd.Get() >= 0 && WriteAll(fd.Get(), data, size) && fsync(fd.Get()) == 0 && fd.Close();
    }
    if (!written || rename(temporary.c_str(), full.c_str()) != 0) {
        LOG_ERROR("save", "cannot write %s: %s", full.c_str(), std::strerror(errno));
        unlink(temporary.c_str());
        return false;
    }
    FlushFolder(folder);
    return true;
}

bool FileSystemSaveStore::KeepAside(const char* path, std::string& keptAs) {
    keptAs.clear();
    String absolute;
    fileSystem_.FullPath(absolute, path);
    const std::filesystem::path full(absolute.Text());
    std::error_code error;
    if (!std::filesystem::exists(full, error)) {
        return !error;
    }
    for (int copy = 1; copy <= kMaxKeptCopies; ++copy) {
        std::string suffix = ".damaged";
        if (copy > 1) {
            suffix += "." + std::to_string(copy);
        }
        std::filesystem::path target = full;
        target += suffix;
        if (std::filesystem::exists(target, error) || error) {
            continue;
        }
        if (rename(full.c_str(), target.c_str()) != 0) {
            LOG_ERROR("save", "cannot rename %s: %s", full.c_str(), std::strerror(errno));
            return false;
        }
        FlushFolder(full.parent_path());
        keptAs = std::string(path) + suffix;
        return true;
    }
    LOG_ERROR("save", "%s: %d damaged copies are kept already", full.c_str(), kMaxKeptCopies);
    return false;
}

std::unique_ptr<SaveFileStore> CreateSaveFileStore(FileSystem& fileSystem) {
    return std::make_unique<FileSystemSaveStore>(fileSystem);
}

}  // namespace mareldon
