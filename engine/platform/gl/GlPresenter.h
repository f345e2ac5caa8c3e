#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/gl/GlFunctions.h"

namespace mareldon {

class GlImage;
class GlShaderCache;

// Shows the back buffer in the window, scaled to fit in proportion, keeps the
// window's picture (tests) and writes the picture of one present upright at its
// own size (MARELDON_CAPTURE). Leaves GL's
// state as the window's picture needs it; the device sets its own again.
class GlPresenter {
  public:
    GlPresenter(GlFunctions& gl, SDL_Window* window, const GlShaderCache& shaders, bool clipControl);
    GlPresenter(const GlPresenter&) = delete;
    GlPresenter& operator=(const GlPresenter&) = delete;

    // Draws the picture turned back by shownTurn quarter turns and swaps the window.
    // uprightTurn is the screen rotation that turns the picture upright; a capture
    // uses it whatever the window shows.
    void Present(const GlImage& picture, uint32_t shownTurn, uint32_t uprightTurn);
    // Frees the GL objects (the context is about to go).
    void ReleaseGlObjects();

    void KeepWindowPicture(bool keep) { keepWindowPicture_ = keep; }
    const std::vector<uint32_t>& WindowPicture(int& width, int& height) const {
        width = windowWidth_;
        height = windowHeight_;
        return windowPixels_;
    }
    uint32_t PresentCount() const { return presentCount_; }

  private:
    void Draw(const GlImage& picture, uint32_t turn);
    // Reads the window's picture back into windowPixels_.
    void KeepWindow();
    // Writes the picture, upright, to the MARELDON_CAPTURE file.
    void Capture(const GlImage& picture, uint32_t turn);

    GlFunctions& gl_;
    SDL_Window* window_;
    const GlShaderCache& shaders_;
    bool clipControl_;
    GLuint sampler_ = 0;
    GLuint vertexArray_ = 0;
    uint32_t presentCount_ = 0;
    uint32_t captureFrame_ = 0;
    std::string capturePath_;
    bool keepWindowPicture_ = false;
    std::vector<uint32_t> windowPixels_;
    int windowWidth_ = 0, windowHeight_ = 0;
};

// BGRA words as read back from GL to 0xAARRGGBB words, rows reversed when GL
// gave the bottom row first.
void GlToArgb(const std::vector<uint32_t>& bgra, int width, int height, bool bottomUp,
              std::vector<uint32_t>& out);

}  // namespace mareldon
