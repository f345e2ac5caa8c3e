#include "engine/render/device/AssembleVersionedShader.h"

#include <string>

#include "engine/core/Log.h"
#include "engine/platform/helper/ShaderAssembler.h"

namespace mareldon {

bool AssembleVersionedShader(const char* version, std::string_view text, int constantRegisters,
                             std::vector<uint32_t>* code) {
    std::string source = version;
    source += '\n';
    source.append(text);
    code->clear();
    ShaderAssemblerOptions options;
    options.constantTableRegisters = constantRegisters;
    AssembledShader shader = AssembleShader(source, options);
    if (shader.Ok()) {
        *code = std::move(shader.code);
        return true;
    }
    LOG_ERROR("render", "%s shader does not assemble: %s", version, shader.error.c_str());
    return false;
}

}  // namespace mareldon
