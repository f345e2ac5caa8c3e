// Players, coins and credits: the arcade rules of who may start, continue or join.
#include <algorithm>

#include "engine/core/Log.h"
#include "game/system/GameSystem.h"
#include "game/system/IoEvent.h"

namespace mareldon {

namespace {

constexpr int kMaxContinues = 9;
constexpr const char* kLog = "players";

}  // namespace

int GameSystem::GetCredits() const {
    return GetCoinUnits() / CoinsPerCredit();
}

void GameSystem::GrantCredits(int units) {
    creditUnits_ += units;
    if (creditUnits_ / CoinsPerCredit() > kMaxCredits) {
        creditUnits_ = kMaxCredits * CoinsPerCredit();
    }
}

void GameSystem::AddCoin() {
    // Coins that arrive while nine credits stand are swallowed: that is the cap.
    if (IsFreePlay() || GetCredits() >= kMaxCredits) {
        return;
    }
    ++pendingCoins_;
    if (pendingCoins_ >= CoinsPerCredit()) {
        pendingCoins_ = 0;
        GrantCredits(operating_.credits * CoinsPerCredit());
        ReportEvent(IoEvent::kCredits, static_cast<uint32_t>(creditUnits_));
    }
}

void GameSystem::AddServiceCredit() {
    if (IsFreePlay() || GetCredits() >= kMaxCredits) {
        return;
    }
    creditUnits_ += CoinsPerCredit();
    ReportEvent(IoEvent::kServiceCredit, static_cast<uint32_t>(creditUnits_));
}

int GameSystem::CoinsToNextCredit() const {
    if (IsFreePlay() || GetCredits() >= 1) {
        return 0;
    }
    return CoinsPerCredit() - pendingCoins_ - creditUnits_;
}

int GameSystem::Price(int mask) const {
    const PlayerRecord& record = live_[PlayerIndex(mask)];
    if (record.playCount != 0 && operating_.continueCoins != 10) {
        return operating_.continueCoins;
    }
    return CoinsPerCredit();
}

int GameSystem::CoinsForPlayer(int mask) const {
    if (IsFreePlay()) {
        return 0;
    }
    return std::max(0, Price(mask) - creditUnits_ - pendingCoins_);
}

int GameSystem::GetPlayerStatus(int mask) const {
    const int index = PlayerIndex(mask);
    const PlayerRecord& record = live_[index];
    const auto& flags = flags_[index];
    const bool anyCoin = GetCoinUnits() > 0;
    if (flags[0]) {
        return 12;
    }
    if (flags[2]) {
        return 13;
    }
    if (record.shipStock > 0) {
        return 2;
    }
    if (startBlocked_) {
        return 1;
    }
    if (flags[1]) {
        return CoinsForPlayer(mask) == 0 ? 11 : anyCoin ? 10 : 9;
    }
    if (startLock_ > 0) {
        return 1;
    }
    if (CoinsForPlayer(mask) == 0) {
        return record.playCount != 0 ? 8 : 7;
    }
    if (record.playCount != 0) {
        return anyCoin ? 6 : 4;
    }
    return anyCoin ? 5 : 3;
}

int GameSystem::ReleaseStartLock() {
    // A lock released twice would leave the count below 0, and nobody could
    // start, join or continue until the machine boots again.
    if (startLock_ <= 0) {
        LOG_WARN(kLog, "start lock released while not held");
        return startLock_ = 0;
    }
    return --startLock_;
}

bool GameSystem::CanPlayerStart(int mask) const {
    const int status = GetPlayerStatus(mask);
    return startLock_ == 0 && (status == 7 || status == 8 || status == 11);
}

bool GameSystem::IsPlayerInGame(int mask) const {
    const int status = GetPlayerStatus(mask);
    return status == 2 || (status >= 9 && status <= 13);
}

bool GameSystem::IsPlayerStatus9To11(int mask) const {
    const int status = GetPlayerStatus(mask);
    return status >= 9 && status <= 11;
}

void GameSystem::TakeCoinsForCredit(int mask) {
    if (IsFreePlay()) {
        return;
    }
    const int price = Price(mask);
    if (price == CoinsPerCredit() && GetCredits() >= 1) {
        creditUnits_ -= CoinsPerCredit();
        return;
    }
    pendingCoins_ -= price;
    if (pendingCoins_ < 0) {
        creditUnits_ += pendingCoins_;
        pendingCoins_ = 0;
    }
}

void GameSystem::StartGame(int mask) {
    for (int i = 0; i < 2; ++i) {
        if (!(mask & (1 << i))) {
            continue;
        }
        const int price = IsFreePlay() ? 0 : Price(1 << i);
        TakeCoinsForCredit(1 << i);
        ReportEvent(IoEvent::kStart, static_cast<uint32_t>(price));
        PlayerRecord& record = live_[i];
        if (!pairMode_) {
            record.score = 0;
            record.multiplier = 0;
        }
        record.chain = 0;
        record.shipStock = game_.shipStock;
        record.bombStock = game_.bombStock;
        record.name = "   ";
        record.stage = currentStage_;
        record.powerLevel = 0;
    }
}

void GameSystem::JoinPlayers(int mask) {
    attentionTimer_ = kAttentionSteps;
    for (int i = 0; i < 2; ++i) {
        if (!(mask & (1 << i))) {
            continue;
        }
        PlayerRecord& record = live_[i];
        const bool firstJoin = record.playCount == 1;
        StartGame(1 << i);
        ReportEvent(
            IoEvent::WithPlayer(firstJoin ? IoEvent::kFirstJoin : IoEvent::kFurtherJoin, currentStage_, i),
            0);
        if (currentStage_ != 0) {
            record.continueCount = std::min(record.continueCount + 1, kMaxContinues);
            if (record.playCount == 0 && ports_.scenes != nullptr && ports_.scenes->joinIn != nullptr) {
                ports_.scenes->joinIn(*this, 1 << i);
            }
            ++record.playCount;
        } else {
            record.playCount = 1;
            record.continueCount = 0;
        }
        // A partner joining a running game makes both records continued, so a
        // two-player game never enters the single ranking.
        PlayerRecord& other = live_[1 - i];
        const int otherStatus = GetPlayerStatus(1 << (1 - i));
        if (record.playCount == 1 && (otherStatus == 2 || otherStatus == 13) && other.continueCount == 0) {
            record.continueCount = 1;
            other.continueCount = 1;
        }
    }
}

void GameSystem::StartNameEntry(int mask) {
    for (int i = 0; i < 2; ++i) {
        if (!(mask & (1 << i))) {
            continue;
        }
        ReportEvent(IoEvent::WithPlayer(IoEvent::kNameEntry, currentStage_, i), 0);
        live_[i].stage = currentStage_;
        if (ports_.scenes != nullptr && ports_.scenes->nameEntry != nullptr) {
            ports_.scenes->nameEntry(*this, 1 << i);
        }
    }
}

void GameSystem::ResetPlayers(int mask) {
    for (int i = 0; i < 2; ++i) {
        if (!(mask & (1 << i))) {
            continue;
        }
        PlayerRecord& record = live_[i];
        record = PlayerRecord{};
        record.name = "   ";
        record.stage = currentStage_;
        flags_[i] = {};
    }
}

void GameSystem::ResetGame() {
    ResetPlayers(3);
    saved_ = {};
    pairNameFlag_ = 0;
    topScore_ = pairMode_ ? rankings_.pairs[0].Key() : rankings_.single[0].score;
    gameMode_ = 1;
    currentStage_ = 0;
    playingStage_ = 0;
    pairMode_ = 0;
}

void GameSystem::SavePlayerRecords() {
    if (live_[0].continueCount == 0 && live_[1].continueCount == 0) {
        saved_ = live_;
    }
}

void GameSystem::SetPairMode(bool pair) {
    pairMode_ = pair ? 1 : 0;
    topScore_ = pair ? rankings_.pairs[0].Key() : rankings_.single[0].score;
}

uint64_t GameSystem::UpdateTopScore() {
    if (pairMode_) {
        const uint64_t sum = live_[0].score + live_[1].score;
        topScore_ = std::max(topScore_, sum);
        return sum;
    }
    topScore_ = std::max(topScore_, live_[0].score);
    topScore_ = std::max(topScore_, live_[1].score);
    return live_[1].score;
}

}  // namespace mareldon
