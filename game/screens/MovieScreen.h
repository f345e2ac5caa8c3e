#pragma once

#include <cstdint>
#include <string>

#include "engine/core/RefPtr.h"
#include "engine/render/movie/MoviePlayer.h"
#include "game/screens/ScreenDrawKit.h"
#include "game/screens/ScreenInput.h"
#include "game/system/SceneTask.h"

namespace mareldon {

class SpriteSheet;
class TexturedScreenDrawer;

// A screen that plays one movie full screen and hands over to its successor
// when the movie ends. Each frame the player has ready is uploaded into the
// movie texture as the screen draws. A movie that cannot be played (missing,
// damaged, larger than the texture, no decoder or no renderer) counts as ended
// at once, so the flow moves on.
class MovieScreen : public SceneTask, private MovieEndListener {
  public:
    // The texture every movie plays into, the size the player accepts at most.
    static constexpr const char* kTextureName = "movie";
    static constexpr int32_t kTextureWidth = MoviePlayer::kMaxWidth;
    static constexpr int32_t kTextureHeight = MoviePlayer::kMaxHeight;

    bool IsAlive() override { return IsAliveWhileCurrent(); }

    // Null when the screen runs without its movie.
    MoviePlayer* Player() const { return player_.Get(); }
    // Frames uploaded so far.
    int32_t Uploads() const { return uploads_; }
    bool HasEnded() const { return ended_; }
    // The movie's corner in the texture: (width / 512, height / 1024).
    struct Uv {
        float u, v;
    };
    static Uv MovieUv(int32_t width, int32_t height);

  protected:
    MovieScreen(GameSystem* owner, const String& breakInName, const String& successorName, int32_t priority,
                const std::string& description, const char* movieName);
    ~MovieScreen() override;

    // Runs the player's events; true when the movie has ended.
    bool PollMovie();
    void DrawMovie();

    ScreenInput players_[2] = {{*this, ScreenInput::kPlayer1, 0}, {*this, ScreenInput::kPlayer2, 1}};

  private:
    bool OnMovieEnd() override;

    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kStandard};
    RefPtr<MoviePlayer> player_;
    RefPtr<SpriteSheet> sheet_;
    TexturedScreenDrawer* drawer_ = nullptr;
    int32_t uploads_ = 0;
    bool ended_ = false;
};

}  // namespace mareldon
