// Plays a harness case headless: records it from its button script, replays the
// traces, and prints each step's two state hashes; with --events also the event log.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/stage/GameWorldScreen.h"
#include "tools/stagesim/StageSim.h"

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage: mareldon-stage-sim [CASE] [--steps N] [--events] [--quiet] [--no-draw] [--disturb STEP]\n"
        "  plays CASE (default: the first) in record play from its script, replays the\n"
        "  traces it wrote and prints \"step record-hash replay-hash\" for every step;\n"
        "  --disturb draws once from the world generator before that replay step;\n"
        "  --no-draw leaves out the draw pass.\n"
        "  Exit status 0 when both runs agree at every step, 1 when not.\n"
        "cases:");
    for (const mareldon::StageSimCase& c : mareldon::StageSimCases())
        std::fprintf(stderr, " %s", c.name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace mareldon;
    std::string name = StageSimCases().front().name;
    bool events = false, quiet = false, drawing = true;
    int32_t steps = -1, disturb = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--events") == 0) {
            events = true;
        } else if (std::strcmp(argv[i], "--no-draw") == 0) {
            drawing = false;
        } else if (std::strcmp(argv[i], "--quiet") == 0) {
            quiet = true;
        } else if (std::strcmp(argv[i], "--steps") == 0 && i + 1 < argc) {
            steps = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--disturb") == 0 && i + 1 < argc) {
            disturb = std::atoi(argv[++i]);
        } else if (argv[i][0] != '-') {
            name = argv[i];
        } else {
            return Usage();
        }
    }
    const StageSimCase* found = FindStageSimCase(name);
    if (found == nullptr)
        return Usage();
    StageSimCase simCase = *found;
    if (steps > 0)
        simCase.steps = steps;

    StageSim sim(simCase);
    const StageSimRun recorded = sim.Record(drawing);
    const StageSimRun replayed = sim.Replay(
        [disturb](int32_t step, GameWorldScreen& screen) {
            if (step == disturb)
                screen.GetRandom().Next();
        },
        drawing);
    if (!recorded.ran || !replayed.ran) {
        std::fprintf(stderr, "mareldon-stage-sim: the stage did not start\n");
        return 1;
    }
    if (!quiet) {
        for (size_t i = 0; i < recorded.hashes.size(); ++i) {
            std::printf(
                "%zu %016llx %016llx\n", i, static_cast<unsigned long long>(recorded.hashes[i]),
                i < replayed.hashes.size() ? static_cast<unsigned long long>(replayed.hashes[i]) : 0ull);
        }
    }
    if (events) {
        for (const StageSimRun* run : {&recorded, &replayed}) {
            std::printf("%s:\n", run == &recorded ? "recorded" : "replayed");
            for (const WorldEvent& event : run->events)
                std::printf("%d %s %s\n", event.step, event.operation.c_str(), event.arguments.c_str());
        }
    }
    const int32_t difference = StageSim::FirstDifference(recorded, replayed);
    std::printf("case %s: %zu steps, %zu events, at most %d enemy bullets; ", simCase.name,
                recorded.hashes.size(), recorded.events.size(), recorded.mostEnemyBullets);
    if (difference < 0) {
        std::printf("the replay agrees at every step\n");
        return 0;
    }
    std::printf("the replay departs at step %d\n", difference);
    return 1;
}
