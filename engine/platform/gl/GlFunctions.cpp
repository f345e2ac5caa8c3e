#include "engine/platform/gl/GlFunctions.h"

#include <SDL.h>

#include "engine/core/Log.h"

namespace mareldon {

bool GlFunctions::Load() {
    bool complete = true;
#define MARELDON_GL_LOAD(name)                                                  \
    name = reinterpret_cast<decltype(name)>(SDL_GL_GetProcAddress("gl" #name)); \
    if (name == nullptr) {                                                      \
        LOG_ERROR("gl", "the GL driver lacks gl%s", #name);                     \
        complete = false;                                                       \
    }
    MARELDON_GL_FUNCTIONS(MARELDON_GL_LOAD)
#undef MARELDON_GL_LOAD
    if (SDL_GL_ExtensionSupported("GL_ARB_clip_control")) {
        ClipControl = reinterpret_cast<decltype(ClipControl)>(SDL_GL_GetProcAddress("glClipControl"));
    }
    return complete;
}

}  // namespace mareldon
