#include "game/screens/ResultTally.h"

namespace mareldon {

ResultTally::ResultTally(int clearTime, bool pairMode, const Entry (&players)[2]) : pairMode_(pairMode) {
    bool timeCounted = false;
    for (int i = 0; i < 2; ++i) {
        Player& player = players_[i];
        player.clearTime = clearTime < 0 ? 0 : clearTime;
        // 64-bit: a 32-bit product overflows above 214 s left.
        player.timeBonus = uint64_t(player.clearTime) * kTimeUnit;
        if (!players[i].counted) {
            continue;
        }
        player.counted = true;
        player.killPercent = players[i].killPercent < 0 ? 0 : players[i].killPercent;
        player.shootdownBonus = uint64_t(player.killPercent) * kShootdownUnit;
        const int bombs = players[i].bombs;
        player.bombBonus = bombs == kInfiniteBombs || bombs < 0 ? 0 : uint64_t(bombs) * kBombUnit;
        player.totalBonus = player.bombBonus + player.shootdownBonus;
        // The shared clock is paid once in pair mode, to the first counted player.
        if (!pairMode || !timeCounted) {
            player.totalBonus += player.timeBonus;
            timeCounted = true;
        }
        player.remainingBonus = player.totalBonus;
    }
}

void ResultTally::Update(int step, Sink& sink) {
    const int s = step / 60;
    if (introSecond_ > 1) {
        started_ = true;
    }
    if (!started_) {
        if (stageBannerX_ < 240.0f) {
            stageBannerX_ += 5.0f;
        }
        if (clearBannerX_ > 240.0f) {
            clearBannerX_ -= 5.0f;
        }
        introSecond_ = s;
        return;
    }
    const int t = s - introSecond_;
    tallySecond_ = t;
    if (t < 5) {
        for (int i = 0; i < 2; ++i) {
            players_[i].shownBonus = uint64_t(sink.Multiplier(1 << i)) * players_[i].totalBonus;
        }
        pairRemaining_ = pairMode_ ? (players_[0].totalBonus + players_[1].totalBonus) *
                                         uint64_t(sink.Multiplier(1) + sink.Multiplier(2))
                                   : 0;
        if (t != lastSecond_) {
            sink.PlaySe(kRowSe);
        }
        rowShown_[t] = true;
    } else if (t <= 7) {
        if (pairMode_) {
            CountPair(sink);
        } else {
            CountSingle(sink);
        }
    } else if (!finished_) {
        finished_ = true;
        sink.StopStageMusic();
        sink.PlaySe(kFinishSe);
    }
    lastSecond_ = t;
}

void ResultTally::CountSingle(Sink& sink) {
    for (int i = 0; i < 2; ++i) {
        Player& player = players_[i];
        const int mask = 1 << i;
        player.shownBonus = uint64_t(sink.Multiplier(mask)) * player.remainingBonus;
        if (!player.counted) {
            continue;
        }
        if (player.countStep == 0) {
            // Every bonus is a whole number of millions: twenty steps pay it exactly.
            player.countStep = player.totalBonus / kCountSteps;
        } else if (!countDone_) {
            if (player.countSteps < kCountSteps) {
                player.remainingBonus -= player.countStep;
                sink.AddScore64(mask, player.countStep);
                if (players_[0].shownBonus != 0 || players_[1].shownBonus != 0) {
                    sink.PlaySe(kCountSe);
                }
                ++player.countSteps;
            } else {
                // The first player through ends the count for both.
                sink.AddScore64(mask, player.remainingBonus);
                player.remainingBonus = 0;
                countDone_ = true;
            }
        }
    }
}

void ResultTally::CountPair(Sink& sink) {
    Player& first = players_[0];
    Player& second = players_[1];
    if (first.countStep == 0 && second.countStep == 0) {
        const uint64_t step = uint64_t(double(pairRemaining_) * 0.001);
        first.countStep = step;
        second.countStep = step;
        return;
    }
    if (countDone_) {
        return;
    }
    constexpr int kPaidOut = 1000;
    if (first.countSteps >= kCountSteps || second.countSteps >= kCountSteps) {
        if (first.countSteps != kPaidOut) {
            sink.AddScoreRaw(1, pairRemaining_);
        }
        sink.SavePlayerRecords();
        pairRemaining_ = 0;
        countDone_ = true;
        return;
    }
    // The multipliers are inside the pair bonus already.
    const uint64_t paid = first.countStep + second.countStep;
    pairRemaining_ = paid >= pairRemaining_ ? 0 : pairRemaining_ - paid;
    sink.AddScoreRaw(1, first.countStep);
    sink.AddScoreRaw(2, second.countStep);
    if (pairRemaining_ != 0) {
        sink.PlaySe(kCountSe);
    }
    ++first.countSteps;
    ++second.countSteps;
    if (pairRemaining_ == 0) {
        first.countSteps = kPaidOut;
        second.countSteps = kPaidOut;
    }
}

}  // namespace mareldon
