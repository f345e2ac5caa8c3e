#include "game/screens/TitleScreen.h"

#include <algorithm>

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr const char* kTitleNames[] = {"titleback", "title"};
constexpr const char* kSystemNames[TitleScreen::kSystemSpriteCount] = {
    "C_hyouki",    "PressStartButton", "ToStart",     "Add",         "COINS",
    "1016_kazu_0", "1016_kazu_1",      "1016_kazu_2", "1016_kazu_3", "1016_kazu_4",
    "1016_kazu_5", "1016_kazu_6",      "1016_kazu_7", "1016_kazu_8", "1016_kazu_9"};
constexpr int kJoinSe = 7;

}  // namespace

const char* TitleScreen::SystemSpriteName(int sprite) {
    return sprite >= 0 && sprite < kSystemSpriteCount ? kSystemNames[sprite] : "";
}

TitleScreen::TitleScreen(GameSystem* owner, const String& breakInName, const String& successorName)
    : TitleScreen(owner, breakInName, successorName, "TitleScreen") {}

TitleScreen::TitleScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                         const char* className)
    : SceneTask(owner, breakInName, successorName, 0) {
    PlaceholderScreen::Report(Describe(className, breakInName, successorName));
    titleSprites_ = ScreenDrawKit::FindSprites(title_, kTitleNames);
    systemSprites_ = ScreenDrawKit::FindSprites(system_, kSystemNames);
    owner->GetPlayer(1).shipStock = 0;
    owner->GetPlayer(2).shipStock = 0;
    owner->StartAttentionTimer();
    owner->ResetGame();
}

bool TitleScreen::IsAlive() {
    if (IsCurrentScene()) {
        return true;
    }
    return --linger_ > 0;
}

bool TitleScreen::JoinStartingPlayers() {
    bool joined = false;
    for (int mask = 1; mask <= 2; ++mask) {
        // Asked anew for player 2: player 1's join may have changed it.
        if (owner->GetPlayerStatus(mask) == 7 && players_[mask - 1].Pressed(ScreenButton::kStart)) {
            owner->JoinPlayers(mask);
            joined = true;
        }
    }
    if (joined) {
        owner->PlaySe(kJoinSe);
        RequestSuccessor("titleshutter");
        // The game's screens release it once the start is through.
        owner->AddStartLock();
    }
    return joined;
}

void TitleScreen::OnUpdatePre() {
    const int s = GetStepCount();
    // The first request wins: later ones find the scene no longer current.
    if (s == kSteps) {
        RequestSuccessor("");
    }
    if (players_[0].Pressed(ScreenButton::kCoin)) {
        RequestBreakIn("");
    }
    if (players_[0].Released(ScreenButton::kService) || players_[1].Released(ScreenButton::kService)) {
        RequestBreakIn("");
    }
    if (s > kIgnoredSteps) {
        for (int mask = 1; mask <= 2; ++mask) {
            if (owner->CanPlayerStart(mask) && players_[mask - 1].Pressed(ScreenButton::kStart)) {
                RequestBreakIn("");
            }
        }
    }
    if (IsCurrentScene()) {
        JoinStartingPlayers();
    }
}

int TitleScreen::CollectPrompt(const GameSystem& system, bool titleStart, int step, PromptSprite (&out)[4]) {
    if ((step & 0x20) == 0) {
        return 0;
    }
    const int playMode = system.GetOperatingSettings().playMode;
    const bool askForStart = titleStart ? (system.GetCredits() != 0 || playMode == 1)
                                        : (system.GetCredits() != 0 && playMode == 0);
    if (askForStart) {
        out[0] = {kPressStart, 0.45f};
        out[1] = {kToStart, 0.7f};
        return 2;
    }
    if (system.GetCoinUnits() == 0) {
        return 0;
    }
    const int coins = std::clamp(system.CoinsToNextCredit(), 0, 9);
    out[0] = {kAdd, 0.35f};
    out[1] = {kDigit0 + coins, 0.41f};
    out[2] = {kCoins, 0.49f};
    out[3] = {kToStart, 0.64f};
    return 4;
}

void TitleScreen::OnDrawPre() {
    kit_.Clear(0x00000001);
    // The credit overlay shows while a title is drawn.
    owner->StartAttentionTimer();
    if (title_ == nullptr) {
        return;
    }
    const float w = kit_.Width();
    const float h = kit_.Height();
    title_->DrawSprite(*titleSprites_[0], Vec3{w * 0.5f, h * 0.5f, 0.0f}, kWhite);
    title_->DrawSprite(*titleSprites_[1], Vec3{w * 0.5f, kLogoY, 0.0f}, kWhite);
    kit_.Draw();
    system_->DrawSprite(*systemSprites_[kNoticeLine], Vec3{w * 0.52f, h * 0.94f, 0.001f}, kWhite);
    PromptSprite prompt[4];
    const int count = CollectPrompt(*owner, IsTitleStart(), GetStepCount(), prompt);
    for (int i = 0; i < count; ++i) {
        system_->DrawSprite(*systemSprites_[size_t(prompt[i].sprite)],
                            Vec3{w * prompt[i].x, h * 0.84f, 0.001f}, kWhite);
    }
    kit_.Draw();
}

}  // namespace mareldon
