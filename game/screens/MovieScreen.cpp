#include "game/screens/MovieScreen.h"

#include <algorithm>

#include "engine/core/Log.h"
#include "engine/render/device/PixelConvert.h"
#include "engine/render/device/TextureBase.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "movie";
constexpr float kQuadWidth = 480.0f;
constexpr float kQuadHeight = 640.0f;
constexpr float kQuadDepth = 0.1f;

}  // namespace

MovieScreen::MovieScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                         int32_t priority, const std::string& description, const char* movieName)
    : SceneTask(owner, breakInName, successorName, priority) {
    PlaceholderScreen::Report(description);
    const MovieDecoderFactory createDecoder = owner->GetMovieDecoderFactory();
    if (createDecoder == nullptr || !kit_.IsReady() || !fileSystem) {
        LOG_WARN(kLog, "\"%s\" cannot be played here: it counts as ended", movieName);
        ended_ = true;
        return;
    }
    MoviePlayerPorts ports;
    ports.createDecoder = createDecoder;
    ports.soundBox = soundBox;
    RefPtr<MoviePlayer> player = CreateMoviePlayer(ports);
    if (!player->Open(fileSystem, movieName)) {
        LOG_WARN(kLog, "\"%s\" cannot be played: it counts as ended", movieName);
        ended_ = true;
        return;
    }
    sheet_.Reset(SpriteSheet::SpriteSheetForTexture(renderer, kTextureName, kTextureSampled, kTextureWidth,
                                                    kTextureHeight));
    if (!sheet_->HasTexels()) {
        LOG_WARN(kLog, "no movie texture: \"%s\" counts as ended", movieName);
        sheet_.Reset();
        ended_ = true;
        return;
    }
    drawer_ = kit_.AddTextured(sheet_);
    player->SetEndHandler(this);
    player->Play();
    player_ = player;
}

MovieScreen::~MovieScreen() {
    if (player_) {
        player_->Close();
    }
}

MovieScreen::Uv MovieScreen::MovieUv(int32_t width, int32_t height) {
    // The player refuses larger movies; the clamp keeps the quad inside the texture whatever it says.
    return {std::min(float(width) / float(kTextureWidth), 1.0f),
            std::min(float(height) / float(kTextureHeight), 1.0f)};
}

bool MovieScreen::PollMovie() {
    if (player_) {
        player_->Update();
    }
    return ended_;
}

bool MovieScreen::OnMovieEnd() {
    ended_ = true;
    return false;  // the last frame stays until the successor takes over
}

void MovieScreen::DrawMovie() {
    kit_.Clear(0);
    if (!player_ || drawer_ == nullptr) {
        return;
    }
    const int32_t width = std::min(player_->GetWidth(), kTextureWidth);
    const int32_t height = std::min(player_->GetHeight(), kTextureHeight);
    if (player_->IsFrameReady()) {
        const uint32_t* frame = player_->TakeFrame();
        if (frame != nullptr && width == player_->GetWidth() && height == player_->GetHeight()) {
            sheet_->Upload(TextureRect{0, 0, width, height}, PixelKind::ARGB8888, frame);
            ++uploads_;
        }
    }
    const Uv uv = MovieUv(width, height);
    drawer_->DrawQuad(TexturedVertex{0.0f, 0.0f, kQuadDepth, 0.0f, 0.0f},
                      TexturedVertex{kQuadWidth, kQuadHeight, kQuadDepth, uv.u, uv.v});
    kit_.Draw();
}

}  // namespace mareldon
