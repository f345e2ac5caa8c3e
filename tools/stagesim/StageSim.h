#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Math.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

class GameSystem;
class GameWorldScreen;

// FNV-1a over the bytes of what is added, 64-bit.
class StateHash {
  public:
    void Bytes(const void* data, size_t size);
    void Int(int64_t value) { Bytes(&value, sizeof value); }
    void Float(float value) { Bytes(&value, sizeof value); }
    void Vector(const Vec3& v) {
        Float(v.x);
        Float(v.y);
        Float(v.z);
    }
    void Text(const std::string& text) {
        Int(int64_t(text.size()));
        Bytes(text.data(), text.size());
    }
    uint64_t Value() const { return value; }

  private:
    uint64_t value = 14695981039346656037ull;
};

// Adds a subsystem's state to a step's hash; later subsystems (enemies, bosses) add
// theirs with AddStageStateHasher.
using StageStateHasher = void (*)(StateHash& hash, GameWorldScreen& screen);
void AddStageStateHasher(StageStateHasher hasher);

// The state of a world screen after a step: the step, the stage clock, the time
// left, the world generator, both player records, each ship (position, protection,
// dying, reflect force), every pooled record in list order, the child counts of the
// spawn parents, what the added hashers add, and the step's event-log entries.
uint64_t HashStageState(GameWorldScreen& screen, GameSystem& system,
                        const std::vector<WorldEvent>& stepEvents);

// One stage played from a button script: the stage entry, the steps, each
// player's logical buttons a step, and what the case puts on the stage once the
// screen runs (until the enemies exist: a test shooter and a test enemy).
struct StageSimCase {
    const char* name;
    int32_t stageEntry;
    int32_t steps;
    uint32_t (*buttons)(int32_t player, int32_t step);
    void (*populate)(GameWorldScreen& screen);
    int32_t shipTypes[2];
    // Ships each player starts with: enough that the run is not cut short by a game over.
    int32_t shipStock;
};
// The cases, the record/replay test's table.
const std::vector<StageSimCase>& StageSimCases();
const StageSimCase* FindStageSimCase(const std::string& name);

struct StageSimRun {
    std::vector<uint64_t> hashes;  // one a step
    std::vector<WorldEvent> events;
    int32_t mostEnemyBullets = 0;
    bool ran = false;
};

// A headless game system (the recording graphics device, the placeholder archive,
// memory files, the stage objects and bosses registered) that plays one case in
// record play, ends the screen so that it writes its traces, and plays the traces
// back in replay play, hashing every step.
class StageSim {
  public:
    explicit StageSim(const StageSimCase& simCase);
    ~StageSim();

    // `drawing` also runs the draw pass each step.
    StageSimRun Record(bool drawing = true);
    // `beforeStep` runs before each step with its index, for checks of the check.
    StageSimRun Replay(const std::function<void(int32_t, GameWorldScreen&)>& beforeStep = {},
                       bool drawing = true);
    // The traces the recording left, by file name.
    const std::vector<uint8_t>* TraceFile(const std::string& name) const;
    std::vector<std::string> TraceNames() const;

    // The first step whose hash or events differ, or -1.
    static int32_t FirstDifference(const StageSimRun& a, const StageSimRun& b);

  private:
    struct Files;
    StageSimRun Run(int32_t playMode, const std::function<void(int32_t, GameWorldScreen&)>& beforeStep,
                    bool drawing);

    const StageSimCase& simCase;
    std::unique_ptr<Files> files;
};

}  // namespace mareldon
