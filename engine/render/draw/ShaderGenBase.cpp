#include "engine/render/draw/ShaderGenBase.h"

namespace mareldon {

ShaderGenBase::ShaderGenBase(const RefPtr<Renderer>& rendererHandle) : owner(rendererHandle) {}

ShaderGenBase::~ShaderGenBase() = default;

String ShaderGenBase::GetName() {
    return String();
}

}  // namespace mareldon
