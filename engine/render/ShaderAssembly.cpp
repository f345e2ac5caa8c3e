#include "engine/render/ShaderAssembly.h"

#include <string>

#include "engine/core/Log.h"

#if __has_include("engine/platform/ShaderAssembler.h")
#include "engine/platform/ShaderAssembler.h"
#define MARELDON_HAVE_ASSEMBLER 1
#endif

namespace mareldon {

bool ShaderAssemblerAvailable() {
#ifdef MARELDON_HAVE_ASSEMBLER
    return true;
#else
    return false;
#endif
}

bool AssembleVersionedShader(const char* version, std::string_view text, int constantRegisters,
                             std::vector<uint32_t>* code) {
    std::string source = version;
    source += '\n';
    source.append(text);
    code->clear();
#ifdef MARELDON_HAVE_ASSEMBLER
    ShaderAssemblerOptions options;
    options.constantTableRegisters = constantRegisters;
    AssembledShader shader = AssembleShader(source, options);
    if (shader.Ok()) {
        *code = std::move(shader.code);
        return true;
    }
    LOG_ERROR("render", "%s shader does not assemble: %s", version, shader.error.c_str());
#else
    (void)constantRegisters;
    LOG_ERROR("render", "%s shader not assembled: no assembler in this build", version);
#endif
    return false;
}

}  // namespace mareldon
