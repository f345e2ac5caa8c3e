#pragma once

#include "engine/platform/FileSystem.h"
#include "engine/platform/SoundBox.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

// A Renderer over the given device, with no files and no sound.
inline RefPtr<Renderer> MakeTestRenderer(const RefPtr<GraphicsDevice>& device) {
    return RefPtr<Renderer>(new Renderer(RefPtr<FileSystem>(), device, RefPtr<SoundBox>()));
}

}  // namespace mareldon
