#include "game/screens/NameEntryScreen.h"

#include <cmath>
#include <string>

#include "game/screens/NameGlyphs.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

enum {
    kCaption = 0,
    kCursor = 1,
    kPlace1 = 2,  // "1st" to "10th"
    kSmallDigit0 = 12,
    kContinueLarge = 22,
    kContinueSmall = 23,
    kLargeDigit0 = 24,
    kGameSpriteCount = 34
};
constexpr const char* kGameNames[kGameSpriteCount] = {
    "namerezi_nameentry_00", "namerezi_carsoru_00", "namerezi_1st_00",     "namerezi_2nd_00",
    "namerezi_3rd_00",       "namerezi_4th_00",     "namerezi_5th_00",     "namerezi_6th_00",
    "namerezi_7th_00",       "namerezi_8th_00",     "namerezi_9th_00",     "namerezi_10th_00",
    "namerezi_con_su_0",     "namerezi_con_su_1",   "namerezi_con_su_2",   "namerezi_con_su_3",
    "namerezi_con_su_4",     "namerezi_con_su_5",   "namerezi_con_su_6",   "namerezi_con_su_7",
    "namerezi_con_su_8",     "namerezi_con_su_9",   "continue_dai",        "continue_syou",
    "continue_dai_kazu_0",   "continue_dai_kazu_1", "continue_dai_kazu_2", "continue_dai_kazu_3",
    "continue_dai_kazu_4",   "continue_dai_kazu_5", "continue_dai_kazu_6", "continue_dai_kazu_7",
    "continue_dai_kazu_8",   "continue_dai_kazu_9"};
constexpr int kNameFlag = 0;
constexpr int kContinueFlag = 1;
constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};

int DigitCount(int value) {
    int digits = 1;
    for (; value >= 10; value /= 10) {
        ++digits;
    }
    return digits;
}

}  // namespace

std::span<const char* const> NameEntryScreen::GameSpriteNames() {
    return kGameNames;
}

NameEntryScreen::NameEntryScreen(GameSystem* owner, int playerBit)
    : SystemTask(owner, 0),
      system_(*this, ScreenInput::kPlayer1, 0),
      input_(*this, playerBit == 2 ? ScreenInput::kPlayer2Keys : ScreenInput::kPlayer1,
             playerBit == 2 ? 1 : 0),
      player_(playerBit) {
    PlaceholderScreen::Report("NameEntryScreen " + std::to_string(playerBit));
    gameSprites_ = ScreenDrawKit::FindSprites(game_, kGameNames);
    if (rank_ != nullptr) {
        for (int i = 0; i < NameGlyphs::kCount; ++i) {
            const char* name = NameGlyphs::SpriteName(i);
            letterSprites_.push_back(name != nullptr ? &rank_->Sheet()->Find(name) : nullptr);
        }
    }

    const bool continueAllowed =
        !owner->HasReachedEnding() && owner->GetOperatingSettings().continueEnabled == 1;
    const State unranked = continueAllowed ? kContinue : kFinished;
    if (owner->IsPairMode()) {
        const int own = owner->GetPlayer(player_).continueCount;
        const int partner = owner->GetPlayer(player_ ^ 3).continueCount;
        if (own != 0) {
            state_ = unranked;
        } else if (partner != 0) {
            owner->SavePlayerRecords();
            const auto& saved = owner->GetSavedScore();
            state_ = owner->FindPairRankPosition(PairRankingEntry{saved[0], saved[1]}) >= 0 ? kNameEntry
                                                                                            : kContinue;
        } else {
            state_ = kNameEntry;
        }
    } else {
        state_ = owner->FindRankPosition(owner->GetPlayer(player_)) >= 0 ? kNameEntry : unranked;
    }
    if (state_ == kNameEntry) {
        owner->GetPlayerFlags(player_)[kNameFlag] = 1;
    } else if (state_ == kContinue) {
        owner->GetPlayerFlags(player_)[kContinueFlag] = 1;
    }
}

NameEntryScreen::~NameEntryScreen() {
    // Taken away early (the test switch, a reset): the player's status must not stay pending.
    owner->GetPlayerFlags(player_)[kNameFlag] = 0;
    owner->GetPlayerFlags(player_)[kContinueFlag] = 0;
}

bool NameEntryScreen::IsAlive() {
    if (state_ != kFinished) {
        return true;
    }
    if (owner->GetPlayerStatus(player_) != 2) {
        owner->GetPlayer(player_).playCount = 0;
    }
    return false;
}

void NameEntryScreen::OnUpdatePre() {
    if (owner->IsStartBlocked() || owner->IsEndingInProgress()) {
        // Frozen until the game-over or all-clear scene.
        nameTimer_ = kNameTimer;
        continueTimer_ = kContinueTimer;
        return;
    }
    const bool continueOn = owner->GetOperatingSettings().continueEnabled != 0 && !owner->HasReachedEnding();
    owner->StartAttentionTimer();
    if (state_ == kNameEntry) {
        UpdateName();
    }
    if (state_ == kNameShown && --wait_ <= 0) {
        owner->GetPlayerFlags(player_)[kNameFlag] = 0;
        owner->GetPlayerFlags(player_)[kContinueFlag] = 1;
        state_ = kContinue;
    }
    if (state_ == kContinue) {
        UpdateContinue(continueOn);
    }
}

void NameEntryScreen::UpdateName() {
    bool finished = false;
    if (nameTimer_ < kNameInputFrom) {
        if (input_.Repeated(ScreenButton::kUp | ScreenButton::kLeft)) {
            editor_.StepDown();
            owner->PlaySe(kMoveSe);
        }
        if (input_.Repeated(ScreenButton::kDown | ScreenButton::kRight)) {
            editor_.StepUp();
            owner->PlaySe(kMoveSe);
        }
        if (input_.Pressed(ScreenButton::kFirst)) {
            owner->PlaySe(kConfirmSe);
            finished = editor_.Confirm();
        }
        if (input_.Pressed(ScreenButton::kSecond)) {
            editor_.Erase();
        }
        if (input_.Pressed(ScreenButton::kStart)) {
            finished = true;
        }
    }
    --nameTimer_;
    if (nameTimer_ <= 0 || finished) {
        Commit();
    }
}

void NameEntryScreen::Commit() {
    const String name(editor_.Name().c_str());
    owner->GetPlayer(player_).name = name;
    if (owner->IsPairMode()) {
        owner->GetSavedRecord(player_).name = name;
        owner->SavePlayerRecords();
        // The pair is ranked once, when the second player commits.
        if (owner->PairNameFlag() != 0) {
            const auto& saved = owner->GetSavedScore();
            owner->InsertPairRanking(PairRankingEntry{saved[0], saved[1]});
        } else {
            owner->PairNameFlag() = 1;
        }
    } else {
        owner->InsertRanking(owner->GetPlayer(player_));
    }
    state_ = kNameShown;
}

void NameEntryScreen::UpdateContinue(bool continueOn) {
    if (!continueOn) {
        owner->GetPlayerFlags(player_)[kContinueFlag] = 0;
        state_ = kFinished;
    }
    if (system_.Pressed(ScreenButton::kCoin) || system_.Released(ScreenButton::kService)) {
        continueTimer_ = kContinueTimer;
    }
    if (continueTimer_ % 60 == 0) {
        owner->PlaySe(kCountSe);
    }
    --continueTimer_;
    if (continueTimer_ < kShortenFrom && input_.Pressed(ScreenButton::kFirst)) {
        continueTimer_ = continueTimer_ / 60 * 60;
    }
    if (continueTimer_ < 1 || owner->GetPlayerStatus(player_) == 2) {
        owner->GetPlayerFlags(player_)[kContinueFlag] = 0;
        state_ = kFinished;
    }
}

void NameEntryScreen::OnDrawPost() {
    if (owner->IsStartBlocked() || owner->IsEndingInProgress() || game_ == nullptr) {
        return;
    }
    const float w = kit_.Width();
    const float base =
        player_ == 2 ? std::trunc(0.18f * w) + 0.5f * (w + 1.0f) : 0.5f * w - std::trunc(0.38f * w) + 0.5f;
    if (state_ == kNameEntry || state_ == kNameShown) {
        DrawName(base);
    } else if (state_ == kContinue && owner->GetOperatingSettings().continueEnabled != 0 &&
               !owner->HasReachedEnding()) {
        DrawContinue(w);
    }
    kit_.Draw();
}

void NameEntryScreen::DrawLetter(int index, float x) {
    const SpriteRect* glyph =
        index >= 0 && index < NameGlyphs::kCount ? letterSprites_[size_t(index)] : nullptr;
    if (glyph != nullptr) {
        rank_->DrawSpriteRect(*glyph, Vec3{x, 100.0f, 0.0f}, kWhite, Vec3{x + 32.0f, 132.0f, 0.0f}, kWhite);
    }
}

void NameEntryScreen::DrawName(float base) {
    if (state_ == kNameEntry && !owner->IsPairMode()) {
        place_ = owner->FindRankPosition(owner->GetPlayer(player_)) + 1;
    }
    if (place_ == 0) {
        place_ = 11;
    }
    const bool showPlace = place_ >= 1 && place_ <= 10;
    if (state_ == kNameShown) {
        // The stored name blinks every two frames.
        if ((GetStepCount() & 2) != 0) {
            const String& name = owner->GetPlayer(player_).name;
            for (int i = 0; i < 3 && i < int(name.Length()); ++i) {
                DrawLetter(NameGlyphs::IndexOf(name.Text()[i]), base + 16.0f + 32.0f * float(i));
            }
        }
    }
    if (showPlace) {
        game_->DrawSprite(*gameSprites_[size_t(kPlace1 + place_ - 1)], Vec3{base - 16.0f, 116.0f, 0.0f},
                          kWhite);
    }
    game_->DrawSprite(*gameSprites_[kCaption], Vec3{base, 84.0f, 0.0f}, kWhite);
    if (state_ != kNameEntry) {
        return;
    }
    const int seconds = nameTimer_ / 60;
    if (seconds / 10 != 0) {
        game_->DrawSprite(*gameSprites_[size_t(kSmallDigit0 + seconds / 10 % 10)],
                          Vec3{base + 64.0f, 76.0f, 0.5f}, kWhite);
    }
    game_->DrawSprite(*gameSprites_[size_t(kSmallDigit0 + seconds % 10)], Vec3{base + 82.0f, 76.0f, 0.5f},
                      kWhite);
    if (nameTimer_ >= kNameInputFrom) {
        return;
    }
    const int cursor = editor_.Cursor();
    for (int i = 0; i <= cursor && i < NameEditor::kSlots; ++i) {
        DrawLetter(editor_.Letter(i), base + 16.0f + 32.0f * float(i));
    }
    const float x = base + 16.0f + 32.0f * float(cursor);
    game_->DrawSpriteRect(*gameSprites_[kCursor], Vec3{x, 132.0f, 0.0f}, kWhite,
                          Vec3{x + 32.0f, 140.0f, 0.0f}, kWhite);
}

void NameEntryScreen::DrawContinue(float w) {
    const int seconds = continueTimer_ / 60;
    const bool aloneP1 = owner->IsPlayerStatus9To11(1) && !owner->IsPlayerInGame(2);
    const bool aloneP2 = owner->IsPlayerStatus9To11(2) && !owner->IsPlayerInGame(1);
    if (aloneP1 || aloneP2) {
        game_->DrawSprite(*gameSprites_[kContinueLarge], Vec3{240.0f, 228.0f, 0.0f}, kWhite);
        if (seconds == 0) {
            game_->DrawSprite(*gameSprites_[kLargeDigit0], Vec3{248.0f, 324.0f, 0.0f}, kWhite);
        } else {
            const int n = DigitCount(seconds);
            int value = seconds;
            for (int k = 0; k < n; ++k, value /= 10) {
                game_->DrawSprite(*gameSprites_[size_t(kLargeDigit0 + value % 10)],
                                  Vec3{240.0f + 12.0f * float(n) - 40.0f * float(k), 324.0f, 0.0f}, kWhite);
            }
        }
    }
    const float base = player_ == 2 ? 0.76f * w : 0.5f * w - 0.34f * w;
    game_->DrawSprite(*gameSprites_[kContinueSmall], Vec3{base + 1.0f, 109.0f, 0.0f}, kWhite);
    float x = base + 56.0f;
    if (seconds == 0) {
        game_->DrawSprite(*gameSprites_[kSmallDigit0], Vec3{x + 31.0f, 109.0f, 0.0f}, kWhite);
        return;
    }
    const int n = DigitCount(seconds);
    if (n == 1) {
        x -= 9.0f;
    }
    int value = seconds;
    for (int k = 0; k < n; ++k, value /= 10) {
        game_->DrawSprite(*gameSprites_[size_t(kSmallDigit0 + value % 10)],
                          Vec3{x + 40.0f - 18.0f * float(k), 109.0f, 0.0f}, kWhite);
    }
}

}  // namespace mareldon
