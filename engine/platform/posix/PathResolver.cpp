#include "engine/platform/posix/PathResolver.h"

#include "engine/core/Cp932.h"

#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>

#include <cctype>
#include <vector>

namespace mareldon {

namespace {

bool IsAscii(const std::string& s) {
    for (unsigned char c : s) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

// Splits at '/' and '\', except a '\' that is the trail byte of a cp932 character.
std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsCp932LeadByte(c) && Cp932CharLength(path.c_str() + i) == 2) {
            current += path[i];
            current += path[++i];
        } else if (c == '/' || c == '\\') {
            parts.push_back(current);
            current.clear();
        } else {
            current += path[i];
        }
    }
    parts.push_back(current);
    return parts;
}

bool AsciiEqualNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (y == 0) {
            return false;
        }
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<unsigned char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<unsigned char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return b[i] == 0;
}

std::string Join(const std::string& dir, const std::string& name) {
    std::string out = dir;
    if (out.empty() || out.back() != '/') {
        out += '/';
    }
    out += name;
    return out;
}

// The entry of dir whose name equals one of the candidates but for ASCII case.
bool FindNoCase(const std::string& dir, const std::vector<std::string>& candidates, std::string& found) {
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) {
        return false;
    }
    bool any = false;
    while (const dirent* e = readdir(d)) {
        for (const std::string& want : candidates) {
            if (AsciiEqualNoCase(want, e->d_name) && (!any || found.compare(e->d_name) > 0)) {
                found = e->d_name;
                any = true;
            }
        }
    }
    closedir(d);
    return any;
}

}  // namespace

int FileErrorFromErrno(int err, bool parentExists) {
    switch (err) {
        case 0:
            return kFileOk;
        case ENOENT:
            return parentExists ? kErrorFileNotFound : kErrorPathNotFound;
        case ENOTDIR:
            return kErrorPathNotFound;
        case EMFILE:
        case ENFILE:
            return kErrorTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return kErrorAccessDenied;
        case EBADF:
            return kErrorInvalidHandle;
        case EINVAL:
            return kErrorInvalidParameter;
        case ENAMETOOLONG:
            return kErrorFilenameTooLong;
        case EILSEQ:
            return kErrorInvalidName;
        default:
            return -1;  // "any other": the caller's status map sends it to not found
    }
}

bool PathResolver::ToNative(const std::string& cp932, std::string& native) {
    if (IsAscii(cp932)) {
        native = cp932;
        return true;
    }
    // The converters substitute what they cannot map: only a round trip proves
    // the name has a form on the other side.
    native = Cp932ToUtf8(cp932);
    return Utf8ToCp932(native) == cp932;
}

bool PathResolver::FromNative(const std::string& native, std::string& cp932) {
    if (IsAscii(native)) {
        cp932 = native;
        return true;
    }
    cp932 = Utf8ToCp932(native);
    return Cp932ToUtf8(cp932) == native;
}

std::string PathResolver::MakeAbsolute(const std::string& base, const std::string& path) {
    std::string rest = path;
    // A drive means nothing here. Only a letter names one: "\:" is a separator and a
    // name, or folding an absolute path again would drop its first folder.
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        rest.erase(0, 2);
    }
    std::vector<std::string> parts;
    bool absolute = !rest.empty() && (rest[0] == '/' || rest[0] == '\\');
    if (!absolute) {
        for (const std::string& p : SplitComponents(base)) {
            if (!p.empty()) {
                parts.push_back(p);
            }
        }
    }
    std::vector<std::string> given = SplitComponents(rest);
    bool trailing = !rest.empty() && given.back().empty();
    for (const std::string& p : given) {
        if (p.empty() || p == ".") {
            continue;
        }
        if (p == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        parts.push_back(p);
    }
    std::string out;
    for (const std::string& p : parts) {
        out += '/';
        out += p;
    }
    if (out.empty() || trailing) {
        out += '/';
    }
    return out;
}

PathResolver::Result PathResolver::Resolve(const std::string& absolute) {
    std::vector<std::string> parts;
    for (const std::string& p : SplitComponents(absolute)) {
        if (!p.empty()) {
            parts.push_back(p);
        }
    }
    Result result;
    struct stat st;
    // The exact name first: all real names are ASCII and match.
    std::string exact(1, '/');
    bool convertible = true;
    for (const std::string& p : parts) {
        std::string n;
        convertible = convertible && ToNative(p, n);
        exact = Join(exact, n);
    }
    if (convertible && lstat(exact.c_str(), &st) == 0) {
        result.native = exact;
        result.exists = true;
        return result;
    }
    std::string current = "/";
    for (size_t i = 0; i < parts.size(); ++i) {
        bool last = i + 1 == parts.size();
        // A name on disk may be cp932 text or, above the game's own folders, raw bytes.
        std::vector<std::string> candidates;
        std::string converted;
        const bool convertible = ToNative(parts[i], converted);
        if (convertible) {
            candidates.push_back(converted);
        }
        if (!convertible || converted != parts[i]) {
            candidates.push_back(parts[i]);
        }
        std::string found;
        int err = ENOENT;
        for (const std::string& c : candidates) {
            if (lstat(Join(current, c).c_str(), &st) == 0) {
                found = c;
                err = 0;
                break;
            }
            if (errno != ENOENT) {
                err = errno;
            }
        }
        if (err == ENOENT && FindNoCase(current, candidates, found)) {
            err = 0;
        }
        if (err != 0) {
            if (err == ENOENT && last && !convertible) {
                result.error = kErrorInvalidName;
            } else {
                int mapped = FileErrorFromErrno(err, last);
                result.error = mapped < 0 ? kErrorFileNotFound : mapped;
            }
            result.native = Join(current, convertible ? converted : parts[i]);
            for (size_t j = i + 1; j < parts.size(); ++j) {
                result.native = Join(result.native, parts[j]);
            }
            return result;
        }
        current = Join(current, found);
    }
    result.native = current;
    result.exists = true;
    return result;
}

}  // namespace mareldon
