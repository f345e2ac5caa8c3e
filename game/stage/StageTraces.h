#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"

namespace mareldon {

class FileSystem;
class PlayerInput;

// One player's recorded stage input, "<stage id>_<player>.trace" in the data
// folder. Layout (little-endian, see docs/trace-file-format.md):
//   0   u32  ship type, 0..3
//   4   u32  0, three times
//   16       the input table: header record ("VJTR", 0, bytes, records) and
//            the 16-byte step records
class StageTraces {
  public:
    static constexpr size_t kTableOffset = 16;
    static constexpr size_t kMinimumSize = 32;  // ship words and the table's header record

    // "STAGE_X" and 2 give "STAGE_X_2.trace".
    static String FileName(const String& stageId, int32_t player);

    // Checks a whole file image; false (and why, for the log) when it is to be
    // treated as missing.
    static bool Check(const uint8_t* data, size_t size, const char** problem);

    // Writes the input's recording with the ship type; false when nothing was
    // written (no recording, the file cannot be opened or written), logged.
    static bool Write(const RefPtr<FileSystem>& files, const String& name, uint32_t shipType,
                      PlayerInput& input);

    // Installs a whole file image's table as the input's replay and gives its ship
    // type; false (and why) with the input left without a table when it is damaged.
    static bool ReadImage(const uint8_t* data, size_t size, PlayerInput& input, int32_t& shipType,
                          const char** problem);

    // Installs the file's table as the input's replay and gives its ship type;
    // false, with the input left without a table, when the file is missing or
    // damaged.
    static bool Read(const RefPtr<FileSystem>& files, const String& name, PlayerInput& input,
                     int32_t& shipType);
};

}  // namespace mareldon
