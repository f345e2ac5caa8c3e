#include "engine/render/draw/MeshPart.h"

#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/TextureBase.h"

namespace mareldon {

MeshPart::MeshPart() = default;
MeshPart::~MeshPart() = default;

}  // namespace mareldon
