// Any bytes as a vertex shader data file and as a pixel shader data file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/render/archive/ShaderDataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    std::string error;
    size_t seen = 0;
    auto record = [&](const ShaderDataRecord& r) {
        seen += r.key.size() + r.text.size() + r.elements.size();
    };
    ReadShaderData(data, size, ShaderDataKind::Vertex, record, error);
    ReadShaderData(data, size, ShaderDataKind::Pixel, record, error);
    return 0;
}
