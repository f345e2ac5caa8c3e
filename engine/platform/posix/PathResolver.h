#pragma once

#include <string>

namespace mareldon {

// The Windows error numbers the file layer speaks in; the file status words are
// made from them, so Linux errors are first mapped to these.
enum FileError : int {
    kFileOk = 0,
    kErrorFileNotFound = 2,
    kErrorPathNotFound = 3,
    kErrorTooManyOpenFiles = 4,
    kErrorAccessDenied = 5,
    kErrorInvalidHandle = 6,
    kErrorInvalidParameter = 87,
    kErrorInvalidName = 123,
    kErrorFilenameTooLong = 206,
};

// errno of a failed call to the Windows number. parentExists tells ENOENT
// apart: a missing file (2) or a missing folder on the way (3).
int FileErrorFromErrno(int err, bool parentExists);

// Game paths (cp932, "\" or "/" separators, maybe "X:") to Linux paths. Works
// on text and directory scans only: no chdir, since the worker thread shares
// the process's current directory.
class PathResolver {
  public:
    // The absolute form of path against base (absolute, ending with '/'):
    // separators become '/', "." and ".." are folded, a drive is dropped and a
    // leading separator means the file-system root. A trailing separator stays.
    static std::string MakeAbsolute(const std::string& base, const std::string& path);

    struct Result {
        std::string native;  // UTF-8 path to hand to the system
        bool exists = false;
        int error = kFileOk;  // why it does not exist: 2 (name missing), 3, 123, 206 ...
    };
    // Finds an absolute path on disk: the exact name first, then per component
    // an ASCII case-insensitive match (the first in byte order when several
    // match). A missing last component keeps the name as given, for creation.
    static Result Resolve(const std::string& absolute);

    // A cp932 name for the system (UTF-8); false when it is not valid cp932.
    static bool ToNative(const std::string& cp932, std::string& native);
    // A name from the system back to cp932; false when it has no cp932 form.
    static bool FromNative(const std::string& native, std::string& cp932);
};

}  // namespace mareldon
