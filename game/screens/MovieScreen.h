#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/RefPtr.h"
#include "engine/render/movie/MoviePlayer.h"
#include "game/screens/PlaceholderScreen.h"

namespace mareldon {

class SceneDrawSet;
class SpriteSheet;
class TexturedScreenDrawer;

// A screen that plays one movie full screen and hands over to its successor when
// the movie ends. Each frame the player has ready is uploaded into the movie
// texture on the main thread. Without the movie (a missing file, no decoder, no
// renderer) it runs as the placeholder does.
class MovieScreen : public PlaceholderScreen, private MovieEndListener {
  public:
    // The texture every movie plays into, the size the player accepts at most.
    static constexpr const char* kTextureName = "movie";
    static constexpr int32_t kTextureWidth = MoviePlayer::kMaxWidth;
    static constexpr int32_t kTextureHeight = MoviePlayer::kMaxHeight;

    MovieScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                const std::string& description, const char* movieName);
    ~MovieScreen() override;

    void OnDrawPre() override;

    // Null when the screen runs without its movie.
    MoviePlayer* Player() const { return player_.Get(); }
    // Frames uploaded so far.
    int32_t Uploads() const { return uploads_; }

  protected:
    void Step() override;

  private:
    bool OnMovieEnd() override;

    RefPtr<MoviePlayer> player_;
    RefPtr<SpriteSheet> sheet_;
    std::unique_ptr<SceneDrawSet> set_;
    RefPtr<TexturedScreenDrawer> drawer_;
    int32_t uploads_ = 0;
    bool ended_ = false;
};

}  // namespace mareldon
