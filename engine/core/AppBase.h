#pragma once

#include "engine/core/DebugLog.h"
#include "engine/core/String.h"

namespace mareldon {

// Prepares the process: the one application pointer, the debug text hook, the
// argument list and the program directory. (Timer period, COM and common controls
// have nothing to do on Linux.)
class AppBase {
  public:
    // Arguments come from argv, argument 0 first. The program directory is the
    // executable's (from /proc/self/exe, since argv[0] may be a bare name found through
    // PATH).
    AppBase(int argc, const char* const* argv);
    virtual ~AppBase();
    AppBase(const AppBase&) = delete;
    AppBase& operator=(const AppBase&) = delete;

    virtual bool Init() { return true; }
    virtual void Exit() {}
    virtual void Run() {}

    // Drive and directory with the trailing separator.
    const String& GetProgramDir() const { return programDir; }
    const StringArray& GetArguments() const { return arguments; }

  protected:
    StringArray arguments{4};
    String programDir;

  private:
    LogHookFunction previousLogHook;
};

// The one application, set by its constructor.
extern AppBase* theApplication;

// Splits a command line the way the original runtime did: a double quote toggles
// quoting and separates; outside quotes every byte <= 32 as a signed char separates
// (so bytes >= 0x80 do too).
void SplitCommandLine(const char* commandLine, StringArray& out);

// Splits a path into drive ("X:"), directory (up to the last '/' or '\\', kept),
// name and extension (from the last dot after the directory). Multibyte characters
// are stepped whole, so a 0x5C trail byte is not a separator. Any output may be null.
void SplitPath(const char* path, String* drive, String* directory, String* name, String* extension);

// The directory of the running executable, with a trailing '/'; empty when unknown.
String GetExecutableDirectory();

}  // namespace mareldon
