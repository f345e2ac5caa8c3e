#pragma once

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"

namespace mareldon {

class Renderer;
class RenderView;
class RenderBatch;
class MeshPart;

// The root of every shader generator: for one draw it sets the device states and
// constants and extends the two cache keys (Apply), and on a cache miss writes the
// shader text of the variant the keys name. The Renderer drives it (BindShaders) and
// owns the assembled shaders.
class ShaderGenBase {
  public:
    explicit ShaderGenBase(const RefPtr<Renderer>& owner);
    virtual ~ShaderGenBase();
    ShaderGenBase(const ShaderGenBase&) = delete;
    ShaderGenBase& operator=(const ShaderGenBase&) = delete;

    virtual String GetName();
    // False: the draw must not happen (its constants could not be set).
    virtual bool Apply(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                       const RefPtr<MeshPart>& part) = 0;
    virtual void BuildVertexShader() {}
    virtual void BuildPixelShader() {}
    // True: the part lies outside the view and is not drawn. May write a depth.
    virtual bool Cull(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                      const RefPtr<MeshPart>& part, float& depth) = 0;

    const RefPtr<Renderer>& Owner() const { return owner; }

    String vsKey;
    String psKey;
    // The text of the current build (vertex text, then pixel text in a later call).
    String text;

  protected:
    RefPtr<Renderer> owner;
};

}  // namespace mareldon
