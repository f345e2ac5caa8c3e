// Game paths as the data files and the program name them: cp932 text, "\" or "/"
// separators (a "\" may be the trail byte of a double-byte character), any ASCII
// case. Under a small tree of ASCII and cp932 names: the absolute form is folded
// and stable, names convert both ways, what resolves exists on disk, and a path
// whose ASCII letters (not trail bytes) change case resolves the same way.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/core/Cp932.h"
#include "engine/platform/posix/PathResolver.h"

namespace {

using mareldon::PathResolver;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// A tree made once per process, with names given in cp932 and stored as the system's.
struct Tree {
    std::string root;

    Tree() {
        root = (std::filesystem::temp_directory_path() / ("mareldon-fuzz-path-" + std::to_string(::getpid())))
                   .string() +
               "/";
        const char* files[] = {
            "sv/MARELDON.config",
            "\x95\x5C\x8E\xA6/\x83\x5C\x83\x74\x83\x67.dat",  // cp932 names with "\" trail bytes
            "Data/Movie.BIN",
            "MIXED",
            "mixed",
        };
        for (const char* file : files) {
            std::filesystem::path path = root + mareldon::Cp932ToUtf8(file);
            std::filesystem::create_directories(path.parent_path());
            std::ofstream(path) << "x";
        }
    }
    ~Tree() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

// ASCII letters upper-cased, the bytes of double-byte characters kept.
std::string UpperAscii(const std::string& path) {
    std::string out = path;
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (mareldon::IsCp932LeadByte(c) && mareldon::Cp932CharLength(out.c_str() + i) == 2) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Tree tree;
    std::string path(reinterpret_cast<const char*>(data), size);
    if (path.find('\0') != std::string::npos) {
        return 0;  // game paths are zero-ended strings
    }
    const std::string absolute = PathResolver::MakeAbsolute(tree.root, path);
    Check(!absolute.empty() && absolute[0] == '/');
    // "/" is never a trail byte, so it splits the folded form exactly.
    size_t start = 1;
    while (start < absolute.size()) {
        size_t end = absolute.find('/', start);
        if (end == std::string::npos) {
            end = absolute.size();
        }
        const std::string component = absolute.substr(start, end - start);
        Check(!component.empty() && component != "." && component != "..");
        std::string native, back;
        if (PathResolver::ToNative(component, native)) {
            Check(PathResolver::FromNative(native, back) && back == component);
        }
        start = end + 1;
    }
    Check(PathResolver::MakeAbsolute(tree.root, absolute) == absolute);
    Check(PathResolver::MakeAbsolute("/elsewhere/", absolute) == absolute);

    // Resolving touches the disk: only inside the tree.
    if (absolute.compare(0, tree.root.size(), tree.root) != 0 || absolute.size() > 512) {
        return 0;
    }
    const PathResolver::Result found = PathResolver::Resolve(absolute);
    struct stat st;
    if (found.exists) {
        Check(found.error == 0 && ::lstat(found.native.c_str(), &st) == 0);
    } else {
        Check(found.error != 0);
    }
    if (UpperAscii(absolute).compare(0, tree.root.size(), tree.root) != 0) {
        return 0;  // the root itself would change case
    }
    const PathResolver::Result upper =
        PathResolver::Resolve(PathResolver::MakeAbsolute(tree.root, UpperAscii(path)));
    Check(upper.exists == found.exists);
    return 0;
}
