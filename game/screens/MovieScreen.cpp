#include "game/screens/MovieScreen.h"

#include "engine/core/Log.h"
#include "engine/render/device/PixelConvert.h"
#include "engine/render/device/TextureBase.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "movie";
constexpr float kScreenWidth = 480.0f;
constexpr float kScreenHeight = 640.0f;

}  // namespace

MovieScreen::MovieScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                         const std::string& description, const char* movieName)
    : PlaceholderScreen(owner, breakInName, successorName, description) {
    const MovieDecoderFactory createDecoder = owner->GetMovieDecoderFactory();
    if (createDecoder == nullptr || !renderer || !screenTarget || !fileSystem) {
        return;
    }
    MoviePlayerPorts ports;
    ports.createDecoder = createDecoder;
    ports.soundBox = soundBox;
    RefPtr<MoviePlayer> player = CreateMoviePlayer(ports);
    if (!player->Open(fileSystem, movieName)) {
        LOG_WARN(kLog, "\"%s\" cannot be played: the screen goes on without it", movieName);
        return;
    }
    sheet_.Reset(SpriteSheet::SpriteSheetForTexture(renderer, kTextureName, kTextureSampled, kTextureWidth,
                                                    kTextureHeight));
    if (!sheet_->HasTexels()) {
        LOG_WARN(kLog, "no movie texture: \"%s\" is not shown", movieName);
        sheet_.Reset();
        return;
    }
    set_ = std::make_unique<SceneDrawSet>(renderer);
    ClearRecord clear = RenderView::DefaultClear();
    clear.flags = 0x3;  // colour and depth
    clear.color = 0xFF000000;
    const TextureViewport whole{0, 0, 0, 0, 0.0f, 0.0f};
    set_->AddView(RefPtr<RenderView>(
        new RenderView(renderer, RefPtr<TextureBase>(screenTarget), clear,
                       RefPtr<ShaderGenBase>(NormalShaderGen::NormalShaderGenAlt(renderer)), whole)));
    drawer_.Reset(new TexturedScreenDrawer(*set_, kTextureName, sheet_));
    player->SetEndHandler(this);
    player->Play();
    player_ = player;
}

MovieScreen::~MovieScreen() {
    if (player_) {
        player_->Close();
    }
}

void MovieScreen::Step() {
    if (!player_) {
        PlaceholderScreen::Step();
        return;
    }
    CheckBreakIn();
    player_->Update();
    if (player_->IsFrameReady()) {
        const uint32_t* frame = player_->TakeFrame();
        if (frame != nullptr) {
            const TextureRect rect{0, 0, player_->GetWidth(), player_->GetHeight()};
            sheet_->Upload(rect, PixelKind::ARGB8888, frame);
            ++uploads_;
        }
    }
    if (ended_) {
        RequestSuccessor("");
    }
}

bool MovieScreen::OnMovieEnd() {
    ended_ = true;
    return false;  // the last frame stays until the successor takes over
}

void MovieScreen::OnDrawPre() {
    if (!player_) {
        PlaceholderScreen::OnDrawPre();
        return;
    }
    // The movie's picture, stretched over the screen; the far edges inset half a texel.
    const float u = (float(player_->GetWidth()) - 0.5f) / float(kTextureWidth);
    const float v = (float(player_->GetHeight()) - 0.5f) / float(kTextureHeight);
    const float u0 = 0.5f / float(kTextureWidth);
    const float v0 = 0.5f / float(kTextureHeight);
    drawer_->DrawQuad(TexturedVertex{0.0f, 0.0f, 0.5f, u0, v0},
                      TexturedVertex{kScreenWidth, kScreenHeight, 0.5f, u, v});
    set_->Draw();
}

}  // namespace mareldon
