#pragma once

#include "engine/platform/FileSystem.h"
#include "engine/platform/posix/WorkerThread.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

namespace mareldon {

class AsyncFile;

// One queued transfer of an asynchronous file.
struct FileRequest {
    AsyncFile* file = nullptr;
    uint32_t kind = 0;  // 1 read, 0 write
    uint32_t position = 0;
    uint32_t size = 0;
    void* buffer = nullptr;
};

// The file system over a directory of the Linux file system. Game paths may
// use "\" and differ in ASCII case from the names on disk. Transfers of
// asynchronous files run in queue order on one worker thread, which runs
// while such a file is open.
class DirectoryFileSystem final : public FileSystem, private WorkerThread {
  public:
    explicit DirectoryFileSystem(const String& root);
    ~DirectoryFileSystem() override;

    bool ChangeRoot(const String& path) override;
    String GetRoot() override;
    RefPtr<DirectoryList> ListDirectory(const String& path) override;
    void SplitFilePath(const String& path, String& drive, String& directory, String& name,
                       String& extension) override;
    void FullPath(String& out, const String& path) override;
    File* Open(const String& path, uint32_t mode) override;
    void Close(File* file) override;

  private:
    friend class AsyncFile;

    // Called by asynchronous files.
    void AsyncFileOpened();
    // Waits until the file has no transfer queued or running; stops the worker
    // with the last asynchronous file.
    void AsyncFileClosing(AsyncFile* file);
    void Enqueue(const FileRequest& request);
    void Run() override;

    std::string root_;  // absolute, ends with '/'
    std::mutex queueLock_;
    std::condition_variable queueChanged_;
    std::deque<FileRequest> queue_;
    int asyncFileCount_ = 0;
};

// A file of the directory file system.
class AsyncFile final : public File {
  public:
    // Opens the file once, which creates or truncates it when the mode asks.
    AsyncFile(DirectoryFileSystem* fileSystem, const String& path, uint32_t mode);
    ~AsyncFile() override;

    int32_t GetStatus() override;
    void SetStatus(int32_t status) override;
    uint32_t GetSize() override;
    bool Read(void* buffer, uint32_t size) override;
    bool Write(const void* buffer, uint32_t size) override;
    bool Seek(uint32_t position) override;
    uint32_t Tell() override { return position_; }

    const String& Path() const { return path_; }

  private:
    friend class DirectoryFileSystem;

    bool Transfer(bool read, uint32_t position, void* buffer, uint32_t size);
    bool Start(bool read, void* buffer, uint32_t size);
    // A native descriptor for a transfer, or -1 with the error in the status.
    int OpenNative();
    void SetError(int fileError);
    void ChangeBusy(bool busy);

    DirectoryFileSystem* fileSystem_;
    String path_;
    // Bit 3 is cleared by the first open, maybe on the worker thread.
    std::atomic<uint32_t> mode_;
    std::mutex lock_;
    int32_t status_ = kFileIdle;
    uint32_t position_ = 0;
    int pending_ = 0;  // queued or running transfers, under the queue lock
};

// The file system over root (the program directory); the environment
// variable MARELDON_ROOT, when set, names another root.
FileSystem* CreateFileSystem(const String& root);

}  // namespace mareldon
