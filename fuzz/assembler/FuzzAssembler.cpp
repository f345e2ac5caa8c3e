// Shader text from the data files is outside input: any text must assemble or be
// refused with a message, and assembled code must be framed by version and end tokens.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/platform/ShaderAssembler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    mareldon::ShaderAssemblerOptions options;
    // The first byte picks the constant-table option, so both layouts get covered.
    if (size > 0) {
        options.constantTableRegisters = data[0] & 1 ? 256 : 0;
        ++data;
        --size;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const mareldon::AssembledShader shader = mareldon::AssembleShader(text, options);
    if (shader.Ok() != shader.error.empty()) {
        std::abort();
    }
    if (shader.Ok()) {
        const uint32_t version = shader.code.front();
        if ((version != 0xFFFE0101u && version != 0xFFFF0101u) || shader.code.back() != 0x0000FFFFu) {
            std::abort();
        }
    }
    return 0;
}
