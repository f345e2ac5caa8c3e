#include "engine/platform/gl/GlPresenter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/core/Log.h"
#include "engine/platform/gl/GlFrameCapture.h"
#include "engine/platform/gl/GlGpuResources.h"
#include "engine/platform/gl/GlShaderCache.h"

namespace mareldon {

void GlToArgb(const std::vector<uint32_t>& bgra, int width, int height, bool bottomUp,
              std::vector<uint32_t>& out) {
    out.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        int source = bottomUp ? height - 1 - y : y;
        std::memcpy(out.data() + static_cast<size_t>(y) * width,
                    bgra.data() + static_cast<size_t>(source) * width, static_cast<size_t>(width) * 4);
    }
}

GlPresenter::GlPresenter(GlFunctions& gl, SDL_Window* window, const GlShaderCache& shaders, bool clipControl)
    : gl_(gl), window_(window), shaders_(shaders), clipControl_(clipControl) {
    gl_.GenVertexArrays(1, &vertexArray_);
    gl_.GenSamplers(1, &sampler_);
    gl_.SamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl_.SamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl_.SamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl_.SamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (const char* capture = std::getenv("MARELDON_CAPTURE")) {
        GlCaptureRequest request;
        if (ParseCaptureRequest(capture, request)) {
            // The other forms are armed by the game loop (TakeArmedCapture).
            captureFrame_ = request.frame;
            capturePath_ = request.path;
        } else {
            LOG_WARN(
                "gl",
                "MARELDON_CAPTURE=%s is none of FRAME:FILE, step:N:FILE, log:TEXT[+N]:FILE, signal:FILE; "
                "no capture",
                capture);
        }
    }
}

void GlPresenter::ReleaseGlObjects() {
    if (sampler_) {
        gl_.DeleteSamplers(1, &sampler_);
    }
    if (vertexArray_) {
        gl_.DeleteVertexArrays(1, &vertexArray_);
    }
    sampler_ = vertexArray_ = 0;
}

void GlPresenter::Present(const GlImage& picture, uint32_t shownTurn, uint32_t uprightTurn) {
    ++presentCount_;
    Draw(picture, shownTurn & 3);
    if (keepWindowPicture_) {
        KeepWindow();
    }
    const bool armed = TakeArmedCapture();
    if (!capturePath_.empty() && (captureFrame_ != 0 ? presentCount_ == captureFrame_ : armed)) {
        Capture(picture, uprightTurn & 3);
    }
    SDL_GL_SwapWindow(window_);
}

void GlPresenter::Draw(const GlImage& picture, uint32_t turn) {
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window_, &width, &height);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    if (clipControl_) {
        gl_.ClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    }
    gl_.Disable(GL_DEPTH_TEST);
    gl_.Disable(GL_BLEND);
    gl_.Disable(GL_CULL_FACE);
    gl_.Disable(GL_SCISSOR_TEST);
    gl_.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    gl_.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl_.Viewport(0, 0, width, height);
    gl_.DepthRange(0.0, 1.0);
    gl_.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl_.Clear(GL_COLOR_BUFFER_BIT);

    double pictureWidth = (turn & 1) ? picture.Height() : picture.Width();
    double pictureHeight = (turn & 1) ? picture.Width() : picture.Height();
    double scale = std::min(width / pictureWidth, height / pictureHeight);
    int shownWidth = std::max(1, static_cast<int>(std::lround(pictureWidth * scale)));
    int shownHeight = std::max(1, static_cast<int>(std::lround(pictureHeight * scale)));
    gl_.Viewport((width - shownWidth) / 2, (height - shownHeight) / 2, shownWidth, shownHeight);

    // The screen transform turned the picture by turn quarter turns
    // counter-clockwise; the same rotation finds where a point went.
    static const float kTurns[4][4] = {
        {1, 0, 0, 1}, {0, 1, -1, 0}, {-1, 0, 0, -1}, {0, -1, 1, 0}};  // column-major R(turn * 90°)
    gl_.UseProgram(shaders_.PresentProgram());
    gl_.UniformMatrix2fv(shaders_.PresentTurnUniform(), 1, GL_FALSE, kTurns[turn]);
    gl_.ActiveTexture(GL_TEXTURE0);
    gl_.BindTexture(GL_TEXTURE_2D, picture.Texture());
    gl_.BindSampler(0, sampler_);
    gl_.BindVertexArray(vertexArray_);
    gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    windowWidth_ = width;
    windowHeight_ = height;
}

void GlPresenter::KeepWindow() {
    std::vector<uint32_t> bgra(static_cast<size_t>(windowWidth_) * windowHeight_);
    gl_.ReadBuffer(GL_BACK);
    gl_.PixelStorei(GL_PACK_ALIGNMENT, 4);
    gl_.ReadPixels(0, 0, windowWidth_, windowHeight_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bgra.data());
    GlToArgb(bgra, windowWidth_, windowHeight_, true, windowPixels_);
}

void GlPresenter::Capture(const GlImage& picture, uint32_t turn) {
    // The picture itself at its own size, turned upright also in full screen, where
    // the window shows it as drawn for a turned monitor: what a window reads back
    // depends on the window system (SDL's offscreen driver keeps a window's first
    // size when the device turns it).
    if (picture.Texture() == 0) {
        return;
    }
    const int width = static_cast<int>(picture.Width());
    const int height = static_cast<int>(picture.Height());
    std::vector<uint32_t> bgra(static_cast<size_t>(width) * height);
    GLuint framebuffer = 0;
    gl_.GenFramebuffers(1, &framebuffer);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture.Texture(), 0);
    gl_.ReadBuffer(GL_COLOR_ATTACHMENT0);
    gl_.PixelStorei(GL_PACK_ALIGNMENT, 4);
    gl_.ReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bgra.data());
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl_.DeleteFramebuffers(1, &framebuffer);
    // Render targets hold their top row first.
    std::vector<uint32_t> drawn;
    GlToArgb(bgra, width, height, false, drawn);

    const int uprightWidth = (turn & 1) ? height : width;
    const int uprightHeight = (turn & 1) ? width : height;
    std::vector<uint32_t> upright(drawn.size());
    for (int v = 0; v < uprightHeight; ++v) {
        for (int u = 0; u < uprightWidth; ++u) {
            // Where the screen transform put the upright pixel (u, v).
            const int x = turn == 0 ? u : turn == 1 ? v : turn == 2 ? width - 1 - u : width - 1 - v;
            const int y = turn == 0 ? v : turn == 1 ? height - 1 - u : turn == 2 ? height - 1 - v : u;
            upright[static_cast<size_t>(v) * uprightWidth + u] = drawn[static_cast<size_t>(y) * width + x];
        }
    }
    if (WritePng(capturePath_, uprightWidth, uprightHeight, upright.data())) {
        LOG_INFO("gl", "frame %u written to %s", presentCount_, capturePath_.c_str());
    }
}

}  // namespace mareldon
