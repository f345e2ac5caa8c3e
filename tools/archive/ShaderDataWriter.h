#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/ByteWriter.h"

namespace mareldon {

// Writes the records of the shader data files (docs/shader-data-format.md):
// "QVDSHDV.dat" holds vertex shader records, "QVDSHDP.dat" pixel shader records.
// Each string field is the text and its 0 byte; its length counts both.
class ShaderDataWriter {
  public:
    struct Element {
        std::string name;
        int32_t type = 0;  // 0-3: one to four floats, 4: four bytes
    };

    void AddVertexShader(std::string_view key, std::string_view text, const std::vector<Element>& elements);
    void AddPixelShader(std::string_view key, std::string_view text);

    const std::vector<uint8_t>& Bytes() const { return out_.bytes; }

  private:
    void Field(std::string_view text);
    ByteWriter out_;
};

}  // namespace mareldon
