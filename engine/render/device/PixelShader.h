#pragma once

#include <cstdint>
#include <string_view>

namespace mareldon {

class GraphicsDeviceDX;

// A pixel shader assembled from "ps.1.1" text; handle 0 binds none.
class PixelShader {
  public:
    static PixelShader* Create(GraphicsDeviceDX* device, std::string_view text);
    virtual ~PixelShader();
    uint32_t Handle() const { return handle_; }

  private:
    PixelShader(GraphicsDeviceDX* device, uint32_t handle) : device_(device), handle_(handle) {}
    GraphicsDeviceDX* device_;
    uint32_t handle_;
};

}  // namespace mareldon
