#pragma once

#include <cstdint>

namespace mareldon {

// Mode bits of an open file.
enum : uint32_t {
    kFileAsync = 0x01,  // transfers are queued for the file system's worker thread
    kFileRead = 0x02,
    kFileWrite = 0x04,
    kFileCreateAnew = 0x08,  // with write access, the first open creates or truncates; then cleared
    kFileShareRead = 0x10,   // not enforced on Linux
    kFileShareWrite = 0x20,  // not enforced on Linux
};

// Status words. Bit 30 is set while a transfer runs or waits; a negative word is
// the last error and refuses transfers until it is set back.
enum : int32_t {
    kFileIdle = 0,
    kFileBusy = 0x40000000,
    kFileNotFound = static_cast<int32_t>(0x80000000u),
    kFilePathNotFound = static_cast<int32_t>(0x80000001u),
    kFileAccessDenied = static_cast<int32_t>(0x80000002u),
    kFileTooManyOpen = static_cast<int32_t>(0x80000003u),
    kFileInvalidParameter = static_cast<int32_t>(0x80000004u),
    kFileInvalidHandle = static_cast<int32_t>(0x80000005u),
    kFileNameTooLong = static_cast<int32_t>(0x80000006u),
};

// An open file: a path, a mode, a position and a status word. Every transfer
// opens the native file, transfers at the position and closes it again.
class File {
  public:
    virtual ~File() = default;
    virtual int32_t GetStatus() = 0;
    virtual void SetStatus(int32_t status) = 0;
    // 0 for an empty file and for one that cannot be opened.
    virtual uint32_t GetSize() = 0;
    // Both advance the position by size. A read that finds the end of the file
    // first answers false and zero-fills the rest of the buffer; an asynchronous
    // transfer answers true at once, and the buffer must stay valid until the
    // busy bit is clear.
    virtual bool Read(void* buffer, uint32_t size) = 0;
    virtual bool Write(const void* buffer, uint32_t size) = 0;
    virtual bool Seek(uint32_t position) = 0;
    virtual uint32_t Tell() = 0;
};

}  // namespace mareldon
