#include "engine/render/device/PixelShader.h"

#include <vector>

#include "engine/render/device/AssembleVersionedShader.h"
#include "engine/render/device/GraphicsDeviceDX.h"

namespace mareldon {

PixelShader* PixelShader::Create(GraphicsDeviceDX* device, std::string_view text) {
    uint32_t handle = 0;
    if (!text.empty() && device->Device() &&
        GpuShaderVersionNumber(device->Caps().PixelShaderVersion) >= 0x101) {
        std::vector<uint32_t> code;
        if (AssembleVersionedShader("ps.1.1", text, 0, &code) &&
            !GpuFailed(device->Device()->CreatePixelShader(code.data(), &handle))) {
            ++device->Statistics()->livePixelShaders;
        } else {
            handle = 0;
        }
    }
    return new PixelShader(device, handle);
}

PixelShader::~PixelShader() {
    if (handle_ != 0 && device_->Device()) {
        device_->Device()->DeletePixelShader(handle_);
        --device_->Statistics()->livePixelShaders;
    }
}

}  // namespace mareldon
