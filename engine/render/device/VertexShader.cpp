#include "engine/render/device/VertexShader.h"

#include <vector>

#include "engine/core/Log.h"
#include "engine/core/VertexLayout.h"
#include "engine/render/device/AssembleVersionedShader.h"
#include "engine/render/device/GraphicsDeviceDX.h"

namespace mareldon {

VertexShader* VertexShader::Create(GraphicsDeviceDX* device, std::string_view text,
                                   const VertexLayout& layout) {
    if (text.empty() || !device->Device()) {
        return new VertexShader(device, 0);
    }
    if (static_cast<uint32_t>(layout.Count()) > kMaxDeclarationTokens - 2) {
        LOG_ERROR("render", "vertex shader with %d elements refused (at most %u)", layout.Count(),
                  kMaxDeclarationTokens - 2);
        return new VertexShader(device, 0);
    }
    std::vector<uint32_t> declaration;
    declaration.reserve(static_cast<size_t>(layout.Count()) + 2);
    declaration.push_back(kGpuDeclStream0);
    for (int32_t i = 0; i < layout.Count(); ++i) {
        declaration.push_back(
            GpuDeclRegister(static_cast<uint32_t>(layout.Element(i).type), static_cast<uint32_t>(i)));
    }
    declaration.push_back(kGpuDeclEnd);

    uint32_t handle = 0;
    if (GpuShaderVersionNumber(device->Caps().VertexShaderVersion) >= 0x101) {
        std::vector<uint32_t> code;
        if (AssembleVersionedShader("vs.1.1", text, static_cast<int>(device->MaxVertexShaderConstants()),
                                    &code) &&
            !GpuFailed(device->Device()->CreateVertexShader(declaration.data(), code.data(), &handle, 0))) {
            ++device->Statistics()->liveVertexShaders;
        } else {
            handle = 0;
        }
    }
    return new VertexShader(device, handle);
}

VertexShader::~VertexShader() {
    if (handle_ != 0 && device_->Device()) {
        device_->Device()->DeleteVertexShader(handle_);
        --device_->Statistics()->liveVertexShaders;
    }
}

}  // namespace mareldon
