#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"
#include "game/screens/ScreenDrawKit.h"
#include "game/screens/ScreenInput.h"
#include "game/screens/StageSelectRules.h"
#include "game/stage/GameWorldScreen.h"

namespace mareldon {

class CameraNode;
class ModelEntry;
class ShadowmapNode;
class ShipModelView;
class SpriteRect;
class SpriteSheet;
class StageSelectScene;
class StaticModelPart;
class StaticModelRoot;

// The "shipselect" scene: each player in the game picks a ship on a turntable of
// the hangar, a pair picks the score mode, the leading player picks the first
// stage over live previews of both. The chosen ships fly, firing, in a live world
// behind the overlay.
class StageSelectScreen : public GameWorldScreen {
  public:
    static constexpr int32_t kPreviewSize = 256;
    static constexpr int32_t kShipTypes = 4;

    StageSelectScreen(GameSystem* owner, const String& breakInName, const String& successorName);
    ~StageSelectScreen() override;

    // The world's keep-alive moves its bullets every step; once leaving, the screen
    // goes after its own count, not the world's exit countdown.
    bool IsAlive() override;
    void OnUpdatePre() override;
    void OnDrawPre() override;
    void OnDrawPost() override;

    const StageSelectRules& Rules() const { return rules_; }
    // The 3D staging, for inspection.
    StageSelectScene* Background() const { return backgroundScene_; }
    StageSelectScene* Preview(int stage) const { return stage == 0 ? islandScene_ : volcanoScene_; }
    CameraNode* BackgroundCamera() const { return cameras_[0]; }
    CameraNode* PreviewCamera(int stage) const { return cameras_[stage == 0 ? 1 : 2]; }
    ShadowmapNode* ShadowMap() const { return shadowMap_; }
    // Every shadow map of the hangar in build order, the light set's first and the
    // screen's last; each renders its own target every frame.
    const std::vector<ShadowmapNode*>& ShadowMaps() const { return shadowMaps_; }
    StaticModelRoot* BackgroundRoot() const { return backgroundRoot_; }
    ShipModelView* SlotModel(int slot) const { return slot >= 0 && slot < 6 ? slotModels_[slot] : nullptr; }
    // True when the light file was missing and the default set was built.
    bool UsesDefaultLights() const { return defaultLights_; }

  private:
    class Port : public StageSelectPort {
      public:
        explicit Port(StageSelectScreen& screen) : screen(screen) {}
        bool IsPlayerInGame(int player) override;
        int PlayerStatus(int player) override;
        int ShipType(int player) override;
        void SetShipType(int player, int type) override;
        void ZeroContinues(int player) override;
        void JoinPlayer(int player) override;
        void RebuildShip(int player, bool keepPosition) override;
        void RemoveShip(int player) override;
        void PlaySe(int id) override;
        void AddStartLock() override;
        void ReleaseStartLock() override;
        void SetPairMode(bool tag) override;
        void SetGameMode(int mode) override;
        void ResetPreviews() override;
        void StepPreviews() override;
        void MoveTurntable(int player, float radians, float dx) override;
        void RefreshShipModels() override { screen.RefreshShipModels(); }

      private:
        StageSelectScreen& screen;
    };

    void BuildStaging();
    void LoadBackgroundLights();
    void RefreshShipModels();
    void DrawOverlay();
    // The four corners around the chosen panel; true when the decision blink is over.
    bool DrawSelectionFrame();

    Port port_{*this};
    StageSelectRules rules_{port_};
    ScreenInput players_[2];
    ScreenDrawKit kit_;
    SpriteDrawer* sheet_ = nullptr;
    SpriteDrawer* digits_ = nullptr;
    TexturedScreenDrawer* previewDrawers_[2] = {nullptr, nullptr};
    ColoredScreenDrawer* colours_ = nullptr;
    std::vector<const SpriteRect*> sprites_;
    std::vector<const SpriteRect*> digitSprites_;
    RefPtr<SpriteSheet> previewSheets_[2];
    RefPtr<ModelEntry> shipModels_[kShipTypes];

    StaticModelRoot* backgroundRoot_ = nullptr;
    StaticModelRoot* islandRoot_ = nullptr;
    StaticModelRoot* volcanoRoot_ = nullptr;
    StaticModelPart* backgroundPart_ = nullptr;
    StaticModelPart* islandPart_ = nullptr;
    StageSelectScene* backgroundScene_ = nullptr;
    StageSelectScene* islandScene_ = nullptr;
    StageSelectScene* volcanoScene_ = nullptr;
    CameraNode* cameras_[3] = {nullptr, nullptr, nullptr};
    ShadowmapNode* shadowMap_ = nullptr;
    std::vector<ShadowmapNode*> shadowMaps_;  // children of the background root
    bool defaultLights_ = false;
    ShipModelView* slotModels_[6] = {};
    int32_t loggedPhase_ = -1;
    uint8_t loggedInputs_ = 0;
};

}  // namespace mareldon
