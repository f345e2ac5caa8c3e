#pragma once

#include <span>
#include <vector>

#include "game/screens/NumberLayout.h"
#include "game/screens/ResultTally.h"
#include "game/screens/ScreenDrawKit.h"
#include "game/system/SystemTask.h"

namespace mareldon {

class ResultWorld;

// The tally over a cleared stage, a child of the world screen: banners slide
// in, the bonus rows appear one a second, the bonus is counted into the scores,
// and the final scores are shown. Nobody can start or join while it lives; the
// start block the clear set is lifted when it goes.
class ResultScreen : public SystemTask, private ResultTally::Sink {
  public:
    ResultScreen(SystemTask* worldScreen, ResultWorld& world);
    ~ResultScreen() override;

    void OnUpdatePre() override;
    void OnDrawPost() override;

    // The "result" sheet's labels, banners and marks (the digits come from NumberLayout).
    static std::span<const char* const> LabelSpriteNames();
    const ResultTally& GetTally() const { return tally_; }
    ScreenDrawKit& GetDrawKit() { return kit_; }
    // A player who takes part in the tally: in the game, and not entering a
    // name, waiting to continue or choosing a ship.
    static bool IsCounted(const GameSystem& system, int mask);

  private:
    int Multiplier(int mask) override;
    void PlaySe(int id) override;
    void AddScore64(int mask, uint64_t value) override;
    void AddScoreRaw(int mask, uint64_t value) override;
    void SavePlayerRecords() override;
    void StopStageMusic() override;

    void DrawFinal();
    void DrawPairRows();
    void DrawPlayerRows(int i);
    void Sprite(int id, float x, float y, float depth, float alpha = 1.0f);
    void Label(int id, float x, float y, float depth);
    void Number(uint64_t value, int style, float x, float y, float depth);
    void Score(uint64_t score, int continues, float x, float y);
    // "value x unit", the bonus's formula on one line.
    void Formula(uint64_t value, uint64_t unit, float valueX, float timesX, float unitX, float y);

    ResultWorld& world_;
    ResultTally tally_;
    ScreenDrawKit kit_{*this, ScreenDrawKit::Shading::kStandard};
    ColoredScreenDrawer* panel_ = kit_.AddColored();
    SpriteDrawer* result_ = kit_.AddSheet("result");
    std::vector<const SpriteRect*> sprites_;
};

}  // namespace mareldon
