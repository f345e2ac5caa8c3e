#include "engine/platform/posix/DirectoryFileSystem.h"

#include "engine/core/AppBase.h"
#include "engine/core/Log.h"
#include "engine/platform/posix/PathResolver.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace mareldon {

namespace {

int32_t StatusFromFileError(int error) {
    switch (error) {
        case kErrorPathNotFound:
            return kFilePathNotFound;
        case kErrorTooManyOpenFiles:
            return kFileTooManyOpen;
        case kErrorAccessDenied:
            return kFileAccessDenied;
        case kErrorInvalidHandle:
            return kFileInvalidHandle;
        case kErrorInvalidParameter:
            return kFileInvalidParameter;
        case kErrorFilenameTooLong:
            return kFileNameTooLong;
        default:
            return kFileNotFound;  // file not found, and any other error
    }
}

std::string CurrentDirectory() {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return "/";
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data()) + "/";
}

// A name from the disk as the game sees it: cp932 when it has a cp932 form,
// else the raw bytes.
String GameName(const std::string& native) {
    std::string cp932;
    return String(PathResolver::FromNative(native, cp932) ? cp932.c_str() : native.c_str());
}

bool IsSearchableDirectory(const std::string& native) {
    struct stat st;
    return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && access(native.c_str(), X_OK) == 0;
}

// The game's form of a resolved directory, with the separator the root keeps.
std::string RootFrom(const std::string& native) {
    std::string out = GameName(native).Text();
    if (out.empty() || out.back() != '/') {
        out += '/';
    }
    return out;
}

}  // namespace

FileSystem* CreateFileSystem(const String& root) {
    const char* override = std::getenv("MARELDON_ROOT");
    if (override != nullptr && override[0] != '\0') {
        return new DirectoryFileSystem(String(override));
    }
    return new DirectoryFileSystem(root);
}

// ---------------------------------------------------------------------------
// DirectoryFileSystem

DirectoryFileSystem::DirectoryFileSystem(const String& root) {
    const std::string absolute = PathResolver::MakeAbsolute(CurrentDirectory(), root.Text());
    const PathResolver::Result found = PathResolver::Resolve(absolute);
    if (found.exists && IsSearchableDirectory(found.native)) {
        root_ = RootFrom(found.native);
    } else {
        LOG_WARN("file", "the root directory \"%s\" does not exist", absolute.c_str());
        root_ = absolute.back() == '/' ? absolute : absolute + "/";
    }
}

DirectoryFileSystem::~DirectoryFileSystem() {
    // The worker uses the queue and its lock: it stops before they go.
    StopAndJoin();
}

bool DirectoryFileSystem::ChangeRoot(const String& path) {
    const PathResolver::Result found = PathResolver::Resolve(PathResolver::MakeAbsolute(root_, path.Text()));
    if (!found.exists || !IsSearchableDirectory(found.native)) {
        return false;
    }
    root_ = RootFrom(found.native);
    return true;
}

String DirectoryFileSystem::GetRoot() {
    return String(root_.c_str());
}

RefPtr<DirectoryList> DirectoryFileSystem::ListDirectory(const String& path) {
    RefPtr<DirectoryList> list(new DirectoryList());
    const PathResolver::Result found = PathResolver::Resolve(PathResolver::MakeAbsolute(root_, path.Text()));
    DIR* directory = found.exists ? opendir(found.native.c_str()) : nullptr;
    if (directory == nullptr) {
        return list;  // nothing matches
    }
    std::vector<DirectoryEntry*> entries;
    while (const dirent* e = readdir(directory)) {
        auto* entry = new DirectoryEntry();
        entry->name = GameName(e->d_name);
        struct stat st;
        if (fstatat(dirfd(directory), e->d_name, &st, 0) == 0) {
            entry->type = S_ISDIR(st.st_mode) ? kEntryDirectory : kEntryFile;
            entry->size = entry->type == kEntryFile ? static_cast<uint32_t>(st.st_size) : 0;
        }
        entries.push_back(entry);
    }
    closedir(directory);
    // "." and ".." first, as Windows lists them, then by name: a fixed order.
    auto rank = [](const DirectoryEntry* e) {
        return e->name.Equals(".") ? 0 : e->name.Equals("..") ? 1 : 2;
    };
    std::sort(entries.begin(), entries.end(), [&](const DirectoryEntry* a, const DirectoryEntry* b) {
        if (rank(a) != rank(b)) {
            return rank(a) < rank(b);
        }
        return std::strcmp(a->name.Text(), b->name.Text()) < 0;
    });
    for (DirectoryEntry* entry : entries) {
        list->Add(entry);
    }
    return list;
}

void DirectoryFileSystem::SplitFilePath(const String& path, String& drive, String& directory, String& name,
                                        String& extension) {
    SplitPath(path.Text(), &drive, &directory, &name, &extension);
}

void DirectoryFileSystem::FullPath(String& out, const String& path) {
    out = PathResolver::MakeAbsolute(root_, path.Text()).c_str();
}

File* DirectoryFileSystem::Open(const String& path, uint32_t mode) {
    String full;
    FullPath(full, path);
    return new AsyncFile(this, full, mode);
}

void DirectoryFileSystem::Close(File* file) {
    delete file;
}

void DirectoryFileSystem::AsyncFileOpened() {
    std::lock_guard<std::mutex> guard(queueLock_);
    if (asyncFileCount_ == 0 && !IsRunning()) {
        Start();
    }
    ++asyncFileCount_;
}

void DirectoryFileSystem::AsyncFileClosing(AsyncFile* file) {
    std::unique_lock<std::mutex> lock(queueLock_);
    // The worker must be done with this file's requests before it goes.
    queueChanged_.wait(lock, [file] { return file->pending_ == 0; });
    const bool last = --asyncFileCount_ == 0;
    lock.unlock();
    if (last) {
        StopAndJoin();
    }
}

void DirectoryFileSystem::Enqueue(const FileRequest& request) {
    std::lock_guard<std::mutex> guard(queueLock_);
    // Busy from the first queued transfer until the last one is done.
    if (request.file->pending_++ == 0) {
        request.file->ChangeBusy(true);
    }
    queue_.push_back(request);
    queueChanged_.notify_all();
}

void DirectoryFileSystem::Run() {
    std::unique_lock<std::mutex> lock(queueLock_);
    for (;;) {
        if (queue_.empty()) {
            // The stop request is only heeded once the queue is empty.
            if (StopRequested()) {
                return;
            }
            queueChanged_.wait_for(lock, std::chrono::milliseconds(9));
            continue;
        }
        const FileRequest request = queue_.front();
        queue_.pop_front();
        lock.unlock();
        if (request.file->GetStatus() >= 0) {
            request.file->Transfer(request.kind == 1, request.position, request.buffer, request.size);
        }
        lock.lock();
        if (--request.file->pending_ == 0) {
            request.file->ChangeBusy(false);
        }
        queueChanged_.notify_all();
    }
}

// ---------------------------------------------------------------------------
// AsyncFile

AsyncFile::AsyncFile(DirectoryFileSystem* fileSystem, const String& path, uint32_t mode)
    : fileSystem_(fileSystem), path_(path), mode_(mode) {
    if (mode_ & kFileAsync) {
        fileSystem_->AsyncFileOpened();
    }
    const int fd = OpenNative();
    if (fd >= 0) {
        close(fd);
    }
}

AsyncFile::~AsyncFile() {
    if (mode_ & kFileAsync) {
        fileSystem_->AsyncFileClosing(this);
    }
}

int32_t AsyncFile::GetStatus() {
    std::lock_guard<std::mutex> guard(lock_);
    return status_;
}

void AsyncFile::SetStatus(int32_t status) {
    std::lock_guard<std::mutex> guard(lock_);
    status_ = status;
}

void AsyncFile::ChangeBusy(bool busy) {
    std::lock_guard<std::mutex> guard(lock_);
    status_ = busy ? (status_ | kFileBusy) : (status_ & ~kFileBusy);
}

void AsyncFile::SetError(int fileError) {
    std::lock_guard<std::mutex> guard(lock_);
    status_ = StatusFromFileError(fileError);
}

int AsyncFile::OpenNative() {
    const uint32_t mode = mode_.load();
    const bool write = (mode & kFileWrite) != 0;
    int flags = O_CLOEXEC;
    if (write) {
        flags |= (mode & kFileRead) ? O_RDWR : O_WRONLY;
        flags |= O_CREAT;
        if (mode & kFileCreateAnew) {
            flags |= O_TRUNC;
        }
    } else {
        flags |= O_RDONLY;
    }
    const PathResolver::Result found = PathResolver::Resolve(path_.Text());
    if (!found.exists && !(write && found.error == kErrorFileNotFound)) {
        SetError(found.error);
        return -1;
    }
    const int fd = open(found.native.c_str(), flags, 0666);
    if (fd < 0) {
        const int mapped = FileErrorFromErrno(errno, true);
        SetError(mapped < 0 ? kErrorFileNotFound : mapped);
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);  // Linux opens directories for reading; the game's system refused
        SetError(kErrorAccessDenied);
        return -1;
    }
    if (write) {
        mode_.fetch_and(~kFileCreateAnew);  // truncated once, never again
    }
    return fd;
}

uint32_t AsyncFile::GetSize() {
    const PathResolver::Result found = PathResolver::Resolve(path_.Text());
    struct stat st;
    if (!found.exists || stat(found.native.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        access(found.native.c_str(), R_OK) != 0) {
        return 0;
    }
    return static_cast<uint32_t>(st.st_size);
}

bool AsyncFile::Transfer(bool read, uint32_t position, void* buffer, uint32_t size) {
    const int fd = OpenNative();
    if (fd < 0) {
        return false;
    }
    auto* bytes = static_cast<uint8_t*>(buffer);
    if (!(mode_ & (read ? kFileRead : kFileWrite))) {
        close(fd);
        SetError(kErrorAccessDenied);  // a transfer the handle was not opened for
        return false;
    }
    uint32_t done = 0;
    bool failed = false;
    while (done < size) {
        const off_t at = static_cast<off_t>(position) + done;
        const ssize_t n =
            read ? pread(fd, bytes + done, size - done, at) : pwrite(fd, bytes + done, size - done, at);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int mapped = FileErrorFromErrno(errno, true);
            SetError(mapped < 0 ? kErrorFileNotFound : mapped);
            failed = true;
            break;
        }
        if (n == 0) {
            break;  // end of the file (or a full disk)
        }
        done += static_cast<uint32_t>(n);
    }
    close(fd);
    if (done < size && read) {
        // The end (or an error) came first: the rest is zeros, never stale bytes.
        std::memset(bytes + done, 0, size - done);
    }
    return !failed && done == size;
}

bool AsyncFile::Start(bool read, void* buffer, uint32_t size) {
    if (GetStatus() < 0) {
        return false;  // an error refuses transfers until the status is set back
    }
    const uint32_t at = position_;
    position_ += size;
    if (mode_ & kFileAsync) {
        fileSystem_->Enqueue(FileRequest{this, read ? 1u : 0u, at, size, buffer});
        return true;
    }
    ChangeBusy(true);
    const bool ok = Transfer(read, at, buffer, size);
    ChangeBusy(false);
    return ok;
}

bool AsyncFile::Read(void* buffer, uint32_t size) {
    return Start(true, buffer, size);
}

bool AsyncFile::Write(const void* buffer, uint32_t size) {
    return Start(false, const_cast<void*>(buffer), size);
}

bool AsyncFile::Seek(uint32_t position) {
    position_ = position;
    return true;
}

}  // namespace mareldon
