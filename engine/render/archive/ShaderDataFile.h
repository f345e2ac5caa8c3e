#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mareldon {

class FileSystem;
class String;
template <typename T>
class RefPtr;

// The records of the shader data files "QVDSHDV.dat" (vertex shaders with their
// input elements) and "QVDSHDP.dat" (pixel shaders); docs/shader-data-format.md.
enum class ShaderDataKind { Vertex, Pixel };

struct ShaderDataElement {
    std::string_view name;
    int32_t type = 0;  // 0-3: one to four floats, 4: four bytes
};

struct ShaderDataRecord {
    std::string_view key;
    std::string_view text;
    std::vector<ShaderDataElement> elements;  // vertex records only
};

inline constexpr int32_t kShaderElementTypeCount = 5;

// Calls `record` for each whole record in file order (views into `data`). Stops
// at the first record that runs past the end or holds a bad length or element
// type, keeping the records before it; then `error` says what was wrong and the
// result is false. A string is the bytes of its field before the first 0.
bool ReadShaderData(const uint8_t* data, size_t size, ShaderDataKind kind,
                    const std::function<void(const ShaderDataRecord&)>& record, std::string& error);

// Reads a whole shader data file through the file system and hands its records
// to `record`. A missing file is skipped with one log line naming it; a damaged one
// is logged and keeps the records before the damage. The number of records read.
size_t LoadShaderDataFile(const RefPtr<FileSystem>& fileSystem, const String& name, ShaderDataKind kind,
                          const std::function<void(const ShaderDataRecord&)>& record);

}  // namespace mareldon
