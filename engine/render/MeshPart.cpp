#include "engine/render/MeshPart.h"

#include "engine/render/GeometryBuffer.h"
#include "engine/render/TextureBase.h"

namespace mareldon {

MeshPart::MeshPart() = default;
MeshPart::~MeshPart() = default;

}  // namespace mareldon
