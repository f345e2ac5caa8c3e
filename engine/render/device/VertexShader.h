#pragma once

#include <cstdint>
#include <string_view>

namespace mareldon {

class VertexLayout;

class GraphicsDeviceDX;

// A vertex declaration holds at most this many tokens: the stream token, one per
// element, the end token.
constexpr uint32_t kMaxDeclarationTokens = 256;

// A vertex shader assembled from "vs.1.1" text; handle 0 binds none.
class VertexShader {
  public:
    // Empty text, an unsupported device, a text that does not assemble or too many
    // elements give a shader with handle 0.
    static VertexShader* Create(GraphicsDeviceDX* device, std::string_view text, const VertexLayout& layout);
    virtual ~VertexShader();
    uint32_t Handle() const { return handle_; }

  private:
    VertexShader(GraphicsDeviceDX* device, uint32_t handle) : device_(device), handle_(handle) {}
    GraphicsDeviceDX* device_;
    uint32_t handle_;
};

}  // namespace mareldon
