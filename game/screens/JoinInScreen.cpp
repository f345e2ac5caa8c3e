#include "game/screens/JoinInScreen.h"

#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

// Ship icons by type, the cursor's two colours, then the countdown digits.
enum { kIcon0 = 0, kCursorBlue = 4, kCursorRed = 5, kDigit0 = 6, kSpriteCount = 16 };
constexpr const char* kGameNames[kSpriteCount] = {
    "2psanka_ziki_01_ao_00",     "2psanka_ziki_02_aka_00",     "2psanka_ziki_03_ki_00",
    "2psanka_ziki_04_midori_00", "2psanka_ziki_05_waku_ao_00", "2psanka_ziki_06_waku_aka_00",
    "namerezi_con_su_0",         "namerezi_con_su_1",          "namerezi_con_su_2",
    "namerezi_con_su_3",         "namerezi_con_su_4",          "namerezi_con_su_5",
    "namerezi_con_su_6",         "namerezi_con_su_7",          "namerezi_con_su_8",
    "namerezi_con_su_9"};
constexpr int kFlag = 2;
constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};

}  // namespace

std::span<const char* const> JoinInScreen::GameSpriteNames() {
    return kGameNames;
}

JoinInScreen::JoinInScreen(GameSystem* owner, int playerBit)
    : SystemTask(owner, 0),
      player_(playerBit),
      input_(*this, playerBit == 2 ? ScreenInput::kPlayer2Keys : ScreenInput::kPlayer1,
             playerBit == 2 ? 1 : 0) {
    PlaceholderScreen::Report("JoinInScreen " + std::to_string(playerBit));
    gameSprites_ = ScreenDrawKit::FindSprites(game_, kGameNames);
    if (system_ != nullptr) {
        caption_ = &system_->Sheet()->Find("SelectYourFighter");
    }
    owner->GetPlayerFlags(player_)[kFlag] = 1;
}

JoinInScreen::~JoinInScreen() {
    // Taken away before the choice (a reset, the test switch): the status must not stay 13.
    owner->GetPlayerFlags(player_)[kFlag] = 0;
}

void JoinInScreen::OnUpdatePre() {
    if (done_) {
        return;
    }
    if (owner->IsStartBlocked()) {
        timer_ = kTimer;
        return;
    }
    bool confirm = false;
    if (timer_ < kInputFrom) {
        if (input_.Repeated(ScreenButton::kLeft)) {
            choice_ = choice_ == 0 ? 2 : choice_ - 1;
            owner->PlaySe(kMoveSe);
        }
        if (input_.Repeated(ScreenButton::kRight)) {
            choice_ = choice_ == 2 ? 0 : choice_ + 1;
            owner->PlaySe(kMoveSe);
        }
        if (input_.Pressed(ScreenButton::kFirst)) {
            owner->PlaySe(kConfirmSe);
            confirm = true;
        }
        if (input_.Pressed(ScreenButton::kStart)) {
            owner->PlaySe(kConfirmSe);
            confirm = true;
        }
    }
    if (owner->HasReachedEnding()) {
        confirm = true;
    }
    --timer_;
    if (timer_ == 0 || confirm) {
        const int partnerShip = owner->GetPlayer(player_ ^ 3).shipType;
        owner->GetPlayer(player_).shipType = ShipForChoice(choice_, partnerShip);
        done_ = true;
        owner->GetPlayerFlags(player_)[kFlag] = 0;
    }
}

void JoinInScreen::OnDrawPost() {
    if (owner->IsStartBlocked() || game_ == nullptr) {
        return;
    }
    const float w = kit_.Width();
    const float base = player_ == 2 ? 0.67f * w : 0.5f * w - 0.4f * w;
    const int partnerShip = owner->GetPlayer(player_ ^ 3).shipType;
    for (int ship = 0, k = 0; ship < 4; ++ship) {
        if (ship != partnerShip) {
            game_->DrawSprite(*gameSprites_[size_t(kIcon0 + ship)],
                              Vec3{base + 40.0f * float(k), 80.0f, 0.0f}, kWhite);
            ++k;
        }
    }
    const int cursor = (GetStepCount() & 0x10) != 0 ? kCursorBlue : kCursorRed;
    game_->DrawSprite(*gameSprites_[size_t(cursor)], Vec3{base + 40.0f * float(choice_), 80.0f, 0.0f},
                      kWhite);
    system_->DrawSprite(*caption_, Vec3{base + 56.0f, 48.0f, 0.0f}, kWhite);
    const int seconds = timer_ / 60;
    if (seconds / 10 != 0) {
        game_->DrawSprite(*gameSprites_[size_t(kDigit0 + seconds / 10 % 10)],
                          Vec3{base + 108.0f, 80.0f, 0.5f}, kWhite);
    }
    game_->DrawSprite(*gameSprites_[size_t(kDigit0 + seconds % 10)], Vec3{base + 126.0f, 80.0f, 0.5f},
                      kWhite);
    kit_.Draw();
}

}  // namespace mareldon
