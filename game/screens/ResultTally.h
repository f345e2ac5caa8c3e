#pragma once

#include <cstdint>

namespace mareldon {

// The bonuses of a cleared stage and their payment into the scores, second by
// second: rows appear over tally seconds 0 to 4, the bonus is counted in over
// seconds 5 to 7 (twenty steps of 5 %; in pair mode 0.1 % to each player, then
// the rest to player 1), and the tally finishes at second 8. All sums are 64-bit.
class ResultTally {
  public:
    static constexpr uint64_t kTimeUnit = 10000000;
    static constexpr uint64_t kShootdownUnit = 1000000;
    static constexpr uint64_t kBombUnit = 10000000;
    static constexpr int kInfiniteBombs = 10;
    static constexpr int kCountSteps = 20;
    static constexpr int kRowSe = 20;
    static constexpr int kCountSe = 21;
    static constexpr int kFinishSe = 22;

    // What the tally pays into and plays through.
    class Sink {
      public:
        virtual ~Sink() = default;
        virtual int Multiplier(int mask) = 0;
        virtual void PlaySe(int id) = 0;
        // Adds value times the player's multiplier.
        virtual void AddScore64(int mask, uint64_t value) = 0;
        // Adds value as it is.
        virtual void AddScoreRaw(int mask, uint64_t value) = 0;
        virtual void SavePlayerRecords() = 0;
        virtual void StopStageMusic() = 0;
    };

    // A player as the clear found it.
    struct Entry {
        bool counted;  // in the game, not entering a name, continuing or choosing a ship
        int killPercent;
        int bombs;
    };

    struct Player {
        bool counted = false;
        int clearTime = 0;
        uint64_t timeBonus = 0;
        int killPercent = 0;
        uint64_t shootdownBonus = 0;
        uint64_t bombBonus = 0;
        uint64_t totalBonus = 0;
        uint64_t remainingBonus = 0;
        uint64_t shownBonus = 0;
        uint64_t countStep = 0;
        int countSteps = 0;
    };

    // clearTime: whole seconds left when the stage was cleared (never below 0).
    ResultTally(int clearTime, bool pairMode, const Entry (&players)[2]);

    // One step of the overlay; `step` is its step count.
    void Update(int step, Sink& sink);

    const Player& GetPlayer(int i) const { return players_[i]; }
    bool IsPairMode() const { return pairMode_; }
    bool HasStarted() const { return started_; }
    bool IsFinished() const { return finished_; }
    bool IsCountDone() const { return countDone_; }
    int GetTallySecond() const { return tallySecond_; }
    uint64_t GetPairRemaining() const { return pairRemaining_; }
    // Rows 0 (labels) to 4 (total): shown once their second has come.
    bool IsRowShown(int row) const { return row >= 0 && row < 8 && rowShown_[row]; }
    // The banners' x: they slide in from both sides to 240 during the intro.
    float GetStageBannerX() const { return stageBannerX_; }
    float GetClearBannerX() const { return clearBannerX_; }

  private:
    void CountSingle(Sink& sink);
    void CountPair(Sink& sink);

    Player players_[2];
    bool pairMode_;
    bool started_ = false;
    int introSecond_ = 0;
    int tallySecond_ = 0;
    int lastSecond_ = 0;
    bool rowShown_[8] = {};
    float stageBannerX_ = -120.0f;
    float clearBannerX_ = 600.0f;
    bool finished_ = false;
    bool countDone_ = false;
    uint64_t pairRemaining_ = 0;
};

}  // namespace mareldon
