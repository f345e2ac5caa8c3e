#include "engine/core/AppBase.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace mareldon {

AppBase* theApplication = nullptr;

AppBase::AppBase(int argc, const char* const* argv) {
    previousLogHook = SetLogHook(SendDebugText);
    theApplication = this;
    for (int i = 0; i < argc; ++i)
        arguments.Add(argv[i]);

    programDir = GetExecutableDirectory();
    if (programDir.IsEmpty() && argc > 0) {
        String drive;
        String directory;
        SplitPath(argv[0], &drive, &directory, nullptr, nullptr);
        programDir = drive + directory;
    }
}

AppBase::~AppBase() {
    SetLogHook(previousLogHook);
    if (theApplication == this)
        theApplication = nullptr;
}

void SplitCommandLine(const char* commandLine, StringArray& out) {
    uint32_t length = StrLength(commandLine);
    std::vector<char> bytes(commandLine, commandLine + length + 1);
    bool quoted = false;
    for (char& byte : bytes) {
        if (byte == '"') {
            quoted = !quoted;
            byte = 0;
        } else if (!quoted && static_cast<signed char>(byte) <= 32) {
            byte = 0;
        }
    }
    for (uint32_t i = 0; i <= length; ++i) {
        if (bytes[i] != 0 && (i == 0 || bytes[i - 1] == 0))
            out.Add(&bytes[i]);
    }
}

void SplitPath(const char* path, String* drive, String* directory, String* name, String* extension) {
    if (path == nullptr)
        path = "";
    const char* rest = path;
    if (StrLength(path) >= 2 && path[1] == ':') {
        if (drive != nullptr) {
            char letters[3] = {path[0], ':', 0};
            drive->Assign(letters);
        }
        rest = path + 2;
    } else if (drive != nullptr) {
        drive->Assign("");
    }
    const char* lastSeparator = nullptr;
    const char* lastDot = nullptr;
    for (const char* p = rest; *p != 0; p = NextCharacter(p)) {
        if (*p == '/' || *p == '\\') {
            lastSeparator = p;
            lastDot = nullptr;
        } else if (*p == '.') {
            lastDot = p;
        }
    }
    const char* nameStart = lastSeparator != nullptr ? lastSeparator + 1 : rest;
    const char* end = rest + StrLength(rest);
    const char* nameEnd = lastDot != nullptr ? lastDot : end;
    auto assign = [](String* out, const char* from, const char* to) {
        if (out == nullptr)
            return;
        std::vector<char> part(from, to);
        part.push_back(0);
        out->Assign(part.data());
    };
    assign(directory, rest, nameStart);
    assign(name, nameStart, nameEnd);
    assign(extension, nameEnd, end);
}

String GetExecutableDirectory() {
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return String();
    buffer[length] = 0;
    String drive;
    String directory;
    SplitPath(buffer, &drive, &directory, nullptr, nullptr);
    return drive + directory;
}

}  // namespace mareldon
