#include "game/screens/TutorialScreen.h"

#include "engine/core/Log.h"
#include "engine/core/PlayerInput.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kDepth = 0.09f;
constexpr int32_t kTutorialEntry = 7;

enum Sprite : int {
    kLever1,
    kShot1 = kLever1 + 9,
    kBomb1 = kShot1 + 3,
    kArrow = kBomb1 + 3,
    kNormalShot,
    kReflect,
    kForceBomb,
    kTutorialLabel,
    kSkip,
    kSpriteCount,
};
constexpr const char* kSpriteNames[kSpriteCount] = {"tutorial_rebar_01",
                                                    "tutorial_rebar_02",
                                                    "tutorial_rebar_03",
                                                    "tutorial_rebar_04",
                                                    "tutorial_rebar_05",
                                                    "tutorial_rebar_06",
                                                    "tutorial_rebar_07",
                                                    "tutorial_rebar_08",
                                                    "tutorial_rebar_09",
                                                    "tutorial_botan_01",
                                                    "tutorial_botan_02",
                                                    "tutorial_botan_03",
                                                    "tutorial_botan_ao_01",
                                                    "tutorial_botan_ao_02",
                                                    "tutorial_botan_ao_03",
                                                    "tutorial_yazirusi",
                                                    "tutorial_NormalShot",
                                                    "tutorial_RiflectForace",
                                                    "tutorial_ForceBomb",
                                                    "TUTORIAL",
                                                    "tutorial_PressStartButtonToSkip"};
constexpr const char* kMessageNames[TutorialGuide::kPages] = {"messe_01", "messe_02", "messe_03",
                                                              "messe_04", "messe_05", "messe_06",
                                                              "messe_07", "messe_08", "messe_09"};
// The attract notices on the "game" sheet, as the demonstration play shows them.
constexpr const char* kNoticeNames[2] = {"game over", "insert coin"};

}  // namespace

TutorialReplayScreen::TutorialReplayScreen(GameSystem* system, const String& breakInName,
                                           const String& successorName, uint8_t musicOn,
                                           const char* className)
    : GameWorldScreen(system, breakInName, successorName, 3, kPlayReplay, kTutorialEntry, musicOn, 1),
      players_{ScreenInput(*this, ScreenInput::kPlayer1, 0),
               ScreenInput(*this, ScreenInput::kPlayer2Keys, 1)},
      kit_(*this, ScreenDrawKit::Shading::kAlternate) {
    PlaceholderScreen::Report(Describe(className, breakInName, successorName));
    LOG_DEBUG("scene", "%s: the tutorial stage replays", className);
    DisableRespawn();
    EnableFreeBombs();
    SpawnPlayersAtStart(1);
    tutorial_ = kit_.AddSheet("tutorial");
    messages_ = kit_.AddSheet("messe");
    sprites_ = ScreenDrawKit::FindSprites(tutorial_, kSpriteNames);
    messageSprites_ = ScreenDrawKit::FindSprites(messages_, kMessageNames);
}

void TutorialReplayScreen::OnUpdatePre() {
    GameWorldScreen::OnUpdatePre();
    const int32_t step = GetStepCount();
    if (step == kSteps)
        RequestSuccessor("");
    CheckButtons();
    const PlayerInput* replayed = GetPlayInput(1);
    guide_.Step(replayed != nullptr ? replayed->GetButtons() : ButtonSet{}, step);
}

void TutorialReplayScreen::OnDrawPost() {
    DrawHudPart();
    const int32_t step = GetStepCount();
    auto rect = [this](int index, float x0, float y0, float x1, float y1, float z = kDepth) {
        if (tutorial_ != nullptr)
            tutorial_->DrawSpriteRect(*sprites_[size_t(index)], Vec3{x0, y0, z}, kWhite, Vec3{x1, y1, z},
                                      kWhite);
    };

    const int32_t lever = guide_.LeverSprite();
    if (lever != 0)
        rect(kLever1 + lever - 1, 280.0f, 488.0f, 360.0f, 568.0f);
    rect(kShot1 + TutorialGuide::ButtonFrame(guide_.shotLight) - 1, 360.0f, 526.0f, 408.0f, 566.0f);
    rect(kBomb1 + TutorialGuide::ButtonFrame(guide_.bombLight) - 1, 408.0f, 526.0f, 456.0f, 566.0f);

    const float seconds = GetWorldRoot() != nullptr ? GetWorldRoot()->GetMotionTime() : 0.0f;
    if (seconds > TutorialGuide::kOverlaySecond) {
        const int32_t arrow = guide_.ArrowPlace();
        if (arrow == 1)
            rect(kArrow, 360.0f, 478.0f, 408.0f, 526.0f);
        else if (arrow == 2)
            rect(kArrow, 408.0f, 478.0f, 456.0f, 526.0f);
        if (colorDrawer)
            colorDrawer->DrawRect(Vec3{8.0f, 64.0f, 0.2f}, ScreenColor{0.0f, 0.0f, 0.5f, 0.25f},
                                  Vec3{472.0f, 168.0f, 0.2f}, ScreenColor{0.0f, 0.0f, 0.1f, 0.25f});
        guide_.AdvancePage(seconds);
        if (messages_ != nullptr)
            messages_->DrawSprite(*messageSprites_[size_t(guide_.page)], Vec3{240.0f, 116.0f, kDepth},
                                  kWhite);
        const int32_t topic = guide_.Topic();
        if (topic != 0)
            rect(kNormalShot + topic - 1, 128.0f, 32.0f, 352.0f, 64.0f);
    }
    if ((step & 32) != 0)
        rect(kTutorialLabel, 176.0f, 320.0f, 304.0f, 352.0f, 0.0f);
    DrawNotice();
    // The panel lies under the overlay's sprites.
    if (drawSet)
        drawSet->Draw();
    kit_.Draw();
}

TutorialScreen::TutorialScreen(GameSystem* system, const String& breakInName, const String& successorName)
    : TutorialReplayScreen(system, breakInName, successorName, 1, "TutorialScreen") {}

TutorialScreen::~TutorialScreen() {
    if (owner == nullptr)
        return;
    // The start that led here took the start lock; the replayed play leaves
    // nothing in the records.
    owner->ReleaseStartLock();
    for (int player = 1; player <= 2; ++player) {
        if (!owner->IsPlayerInGame(player))
            continue;
        delete ships[player - 1];
        PlayerRecord& record = owner->GetPlayer(player);
        record.score = 0;
        record.multiplier = 0;
    }
}

void TutorialScreen::CheckButtons() {
    if (GetStepCount() < kSkipFrom || owner == nullptr)
        return;
    for (int player = 1; player <= 2; ++player) {
        if (owner->IsPlayerInGame(player) && players_[player - 1].Pressed(ScreenButton::kStart))
            RequestSuccessor("");
    }
}

void TutorialScreen::DrawNotice() {
    if (tutorial_ != nullptr)
        tutorial_->DrawSprite(*sprites_[kSkip], Vec3{kit_.Width() * 0.5f, 580.0f, 0.0f}, kWhite);
}

DemoTutorialScreen::DemoTutorialScreen(GameSystem* system, const String& breakInName,
                                       const String& successorName)
    : TutorialReplayScreen(system, breakInName, successorName, 0, "DemoTutorialScreen") {
    game_ = kit_.AddSheet("game");
    noticeSprites_ = ScreenDrawKit::FindSprites(game_, kNoticeNames);
}

void DemoTutorialScreen::CheckButtons() {
    if (players_[0].Pressed(ScreenButton::kCoin))
        RequestBreakIn("");
    if (players_[0].Released(ScreenButton::kService) || players_[1].Released(ScreenButton::kService))
        RequestBreakIn("");
    if (owner == nullptr)
        return;
    for (int player = 1; player <= 2; ++player) {
        if (owner->CanPlayerStart(player) && players_[player - 1].Pressed(ScreenButton::kStart))
            RequestBreakIn("");
    }
}

void DemoTutorialScreen::DrawNotice() {
    if ((GetStepCount() & 32) != 0) {
        if (game_ != nullptr)
            game_->DrawSprite(*noticeSprites_[noticeIndex_ & 1u],
                              Vec3{kit_.Width() * 0.5f, kit_.Height() * 0.5f, 0.0f}, kWhite);
        toggled_ = 0;
        return;
    }
    const bool freePlay = owner != nullptr && owner->GetOperatingSettings().playMode == 1;
    if (!freePlay && !toggled_) {
        noticeIndex_ ^= 1;
        toggled_ = 1;
    }
}

}  // namespace mareldon
