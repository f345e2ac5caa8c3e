#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/core/Log.h"
#include "game/system/SaveFileStore.h"

namespace mareldon {

namespace {

class DirectorySaveFileStore final : public SaveFileStore {
  public:
    explicit DirectorySaveFileStore(std::string root) : root_(std::move(root)) {}

    bool Read(const char* path, size_t limit, std::vector<uint8_t>& bytes) override;
    bool Replace(const char* path, const uint8_t* data, size_t size) override;

  private:
    std::filesystem::path Resolve(const char* path) const;

    std::filesystem::path root_;
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

}  // namespace

std::filesystem::path DirectorySaveFileStore::Resolve(const char* path) const {
    std::string relative(path);
    for (char& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    return root_ / relative;
}

bool DirectorySaveFileStore::Read(const char* path, size_t limit, std::vector<uint8_t>& bytes) {
    const std::filesystem::path full = Resolve(path);
    FileDescriptor fd(open(full.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return false;
    }
    struct stat info;
    if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<uint64_t>(info.st_size) > limit) {
        return false;
    }
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = read(fd.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return true;
}

bool DirectorySaveFileStore::Replace(const char* path, const uint8_t* data, size_t size) {
    const std::filesystem::path full = Resolve(path);
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
    // The rename itself is only durable once the folder is flushed.
    FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        fsync(dir.Get());
    }
    return true;
}

std::unique_ptr<SaveFileStore> CreateDirectorySaveFileStore(std::string root) {
    return std::make_unique<DirectorySaveFileStore>(std::move(root));
}

}  // namespace mareldon
