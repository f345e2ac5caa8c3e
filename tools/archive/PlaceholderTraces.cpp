#include "tools/archive/PlaceholderTraces.h"

#include <algorithm>

#include "tools/archive/TraceWriter.h"

namespace mareldon {

namespace {

constexpr uint32_t kUp = 1u << 0;
constexpr uint32_t kDown = 1u << 1;
constexpr uint32_t kLeft = 1u << 2;
constexpr uint32_t kRight = 1u << 3;
constexpr uint32_t kShot = 1u << 6;
constexpr uint32_t kBomb = 1u << 7;

// A play written as runs of held buttons.
class Script {
  public:
    Script& Hold(int steps, uint32_t word) {
        words.insert(words.end(), size_t(steps), word);
        return *this;
    }
    // Shot tapped every eighth step (a held shot fires only briefly and charges the
    // reflect force instead), with `direction` held throughout.
    Script& Tap(int steps, uint32_t direction) {
        for (int i = 0; i < steps; ++i)
            words.push_back(direction | (i % 8 < 4 ? kShot : 0u));
        return *this;
    }
    // Weaves left and right while tapping, `swing` steps each way.
    Script& Weave(int steps, int swing, uint32_t extra = 0) {
        for (int done = 0; done < steps;) {
            const int run = std::min(swing, steps - done);
            Tap(run, ((done / swing) % 2 == 0 ? kLeft : kRight) | extra);
            done += run;
        }
        return *this;
    }
    std::vector<uint32_t> words;
};

// Pages of the tutorial by second: moving (0-3), the normal shot (3-9), the
// reflect force (9-24), the force bomb (24-28).
std::vector<uint32_t> TutorialPlay() {
    Script s;
    s.Hold(60, 0);  // the entry flight
    s.Hold(20, kLeft).Hold(40, kRight).Hold(20, kLeft).Hold(10, kUp).Hold(10, kUp | kLeft);
    s.Hold(10, kDown).Hold(10, kDown | kRight);
    s.Weave(360, 40);
    s.Hold(150, kShot).Hold(30, 0).Hold(60, kShot | kLeft).Hold(90, kShot | kRight).Hold(30, 0);
    s.Hold(120, kShot | kUp).Hold(30, kDown).Hold(150, kShot).Hold(40, 0);
    s.Hold(60, kShot | kLeft).Hold(60, kShot | kRight).Hold(80, 0);
    s.Hold(20, 0).Hold(4, kBomb).Hold(90, 0).Hold(4, kBomb).Hold(122, 0);
    s.Weave(120, 30);
    return s.words;
}

std::vector<uint32_t> DemoPlay(int steps, int swing, uint32_t lean) {
    Script s;
    s.Hold(60, 0);
    s.Weave(steps / 2, swing, lean);
    s.Hold(90, kShot).Hold(10, 0);
    s.Weave(std::max(0, steps - steps / 2 - 184), swing + 10, 0);
    s.Hold(4, kBomb);
    s.Hold(std::max(0, steps - int(s.words.size())), 0);
    return s.words;
}

std::vector<uint32_t> Idle(int steps) {
    return std::vector<uint32_t>(size_t(steps), 0u);
}

}  // namespace

uint32_t PlaceholderTutorialWord(int step) {
    static const std::vector<uint32_t> words = TutorialPlay();
    return step >= 0 && size_t(step) < words.size() ? words[size_t(step)] : 0u;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> PlaceholderTraceFiles() {
    const struct {
        const char* stage;
        uint32_t ships[2];
        std::vector<uint32_t> plays[2];
    } kPlays[] = {
        {"STAGE_HAJIME", {0, 1}, {TutorialPlay(), Idle(1810)}},
        {"STAGE_KAZE", {2, 1}, {DemoPlay(920, 35, kUp), Idle(920)}},
        {"STAGE_HI", {1, 3}, {DemoPlay(1210, 40, 0), DemoPlay(1210, 25, kDown)}},
        {"STAGE_UMI", {3, 0}, {DemoPlay(1210, 30, kUp), DemoPlay(1210, 45, 0)}},
    };
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    for (const auto& play : kPlays) {
        for (int player = 1; player <= 2; ++player) {
            files.emplace_back(std::string(play.stage) + "_" + std::to_string(player) + ".trace",
                               BuildTraceFile(play.ships[player - 1], play.plays[player - 1]));
        }
    }
    return files;
}

}  // namespace mareldon
