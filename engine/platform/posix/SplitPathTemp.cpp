// TEMP: stands in for the application's SplitPath until it lands on main.
#include "engine/core/String.h"
#include "engine/platform/Cp932.h"

#include <string>

namespace mareldon {

void SplitPath(const char* path, String* drive, String* directory, String* name, String* extension) {
    std::string rest = path;
    std::string d;
    if (rest.size() >= 2 && rest[1] == ':') {
        d = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    size_t lastSep = std::string::npos, lastDot = std::string::npos;
    for (size_t i = 0; i < rest.size();) {
        int n = Cp932CharLength(rest.c_str() + i);
        if (n == 1 && (rest[i] == '/' || rest[i] == '\\')) {
            lastSep = i;
            lastDot = std::string::npos;
        } else if (n == 1 && rest[i] == '.') {
            lastDot = i;
        }
        i += n > 0 ? n : 1;
    }
    size_t dirEnd = lastSep == std::string::npos ? 0 : lastSep + 1;
    size_t extStart = lastDot == std::string::npos ? rest.size() : lastDot;
    if (drive)
        *drive = d.c_str();
    if (directory)
        *directory = rest.substr(0, dirEnd).c_str();
    if (name)
        *name = rest.substr(dirEnd, extStart - dirEnd).c_str();
    if (extension)
        *extension = rest.substr(extStart).c_str();
}

}  // namespace mareldon
