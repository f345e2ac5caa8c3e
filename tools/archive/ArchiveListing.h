#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "engine/render/archive/ShaderDataFile.h"

namespace mareldon {

// Writes what an archive holds: the header, each section's count, and the names
// of models (with node and part counts), sprites, sound names, fonts and groups.
// A damaged archive gets the reason it is refused; the result is then false.
bool ListArchive(const std::vector<uint8_t>& file, std::ostream& out);

// Writes each record of a shader data file: key, text size and elements.
bool ListShaderData(const std::vector<uint8_t>& file, ShaderDataKind kind, std::ostream& out);

}  // namespace mareldon
