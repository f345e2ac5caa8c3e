// Shader text from the data files is outside input: any text must assemble or be
// refused with a message. What assembles must be framed by version and end tokens and
// must be accepted by MojoShader, which the GL backend hands the tokens to.
#include <mojoshader.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/platform/helper/ShaderAssembler.h"

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
    if (!shader.Ok()) {
        return 0;
    }
    const uint32_t version = shader.code.front();
    if ((version != 0xFFFE0101u && version != 0xFFFF0101u) || shader.code.back() != 0x0000FFFFu) {
        std::abort();
    }
    // The "d3d" profile decodes every instruction; "glsl" lacks some ps.1.1 texture opcodes.
    const MOJOSHADER_parseData* parsed = MOJOSHADER_parse(
        "d3d", "main", reinterpret_cast<const unsigned char*>(shader.code.data()),
        static_cast<unsigned>(shader.code.size() * 4), nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr);
    const int errors = parsed->error_count;
    if (errors > 0) {
        std::fprintf(stderr, "MojoShader refused assembled code: %s\n", parsed->errors[0].error);
    }
    MOJOSHADER_freeParseData(parsed);
    if (errors > 0) {
        std::abort();
    }
    return 0;
}
