#include "game/stage/StageTraces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PlayerInput.h"
#include "game/stage/PlayerShip.h"
#include "game/system/InputManager.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/game/stage/WorldScreenFixture.h"
#include "tools/archive/TraceWriter.h"

namespace mareldon {
namespace {

void Put(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    std::memcpy(bytes.data() + at, &value, 4);
}

uint32_t Get(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

// A trace file image: ship type, three zero words, the table header and one
// record per word.
std::vector<uint8_t> TraceImage(uint32_t shipType, const std::vector<uint32_t>& words) {
    std::vector<uint8_t> bytes(16 + 16 * (words.size() + 1), 0);
    Put(bytes, 0, shipType);
    Put(bytes, 16, PlayerInput::kTraceTag);
    Put(bytes, 24, uint32_t(16 * (words.size() + 1)));
    Put(bytes, 28, uint32_t(words.size()));
    for (size_t i = 0; i < words.size(); ++i)
        Put(bytes, 32 + 16 * i, words[i]);
    return bytes;
}

TEST(StageTracesTest, NamesCarryTheStageAndPlayer) {
    EXPECT_STREQ(StageTraces::FileName(String("STAGE_KAZE"), 1).Text(), "STAGE_KAZE_1.trace");
    EXPECT_STREQ(StageTraces::FileName(String("STAGE_KAZE"), 2).Text(), "STAGE_KAZE_2.trace");
}

TEST(StageTracesTest, ThreeHundredRecordedStepsMakeTheDocumentedFile) {
    auto* memory = new WritableFileSystem();
    RefPtr<FileSystem> files(memory);
    // The reset writes record 1; 299 more steps make 300.
    RefPtr<PlayerInput> input(new PlayerInput(nullptr, PlayerInput::kRecord));
    for (int step = 0; step < 299; ++step)
        input->Update();
    ASSERT_TRUE(StageTraces::Write(files, String("S_1.trace"), 3, *input));
    const std::vector<uint8_t>& bytes = memory->files["S_1.trace"];
    ASSERT_EQ(bytes.size(), 4832u);
    // With no device under it every step records "no device answered" (bit 31).
    EXPECT_EQ(bytes, TraceImage(3, std::vector<uint32_t>(300, 1u << 31)));
    EXPECT_EQ(Get(bytes, 24), 4816u);
    EXPECT_EQ(Get(bytes, 28), 300u);

    // Written again, the file is replaced, not appended to.
    ASSERT_TRUE(StageTraces::Write(files, String("S_1.trace"), 3, *input));
    EXPECT_EQ(memory->files["S_1.trace"].size(), 4832u);
}

TEST(StageTracesTest, WriteFailuresAreReportedNotPretended) {
    auto* memory = new WritableFileSystem();
    RefPtr<FileSystem> files(memory);
    RefPtr<PlayerInput> recording(new PlayerInput(nullptr, PlayerInput::kRecord));
    memory->refuseWrites = true;
    EXPECT_FALSE(StageTraces::Write(files, String("S_1.trace"), 0, *recording));
    EXPECT_EQ(memory->files.count("S_1.trace"), 0u);

    // An input that never recorded has no table to write.
    memory->refuseWrites = false;
    RefPtr<PlayerInput> idle(new PlayerInput(nullptr, 0));
    EXPECT_FALSE(StageTraces::Write(files, String("S_2.trace"), 0, *idle));
    EXPECT_EQ(memory->files.count("S_2.trace"), 0u);
    EXPECT_FALSE(StageTraces::Write(RefPtr<FileSystem>(), String("S_1.trace"), 0, *recording));
}

TEST(StageTracesTest, DamagedTracesCountAsMissing) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool present;
        bool accepted;
    };
    std::vector<Case> cases;
    cases.push_back({"sound", TraceImage(2, {5, 9}), true, true});
    cases.push_back({"no records", TraceImage(1, {}), true, true});
    cases.push_back({"missing", {}, false, false});
    cases.push_back({"empty", {}, true, false});
    cases.push_back({"10 bytes", std::vector<uint8_t>(10, 0x56), true, false});
    {
        auto bytes = TraceImage(0, {5});
        bytes[16] = 'X';
        cases.push_back({"wrong tag", bytes, true, false});
    }
    {
        auto bytes = TraceImage(0, {5, 9, 12});
        Put(bytes, 28, 1000000);
        cases.push_back({"count 10^6 with 3 records", bytes, true, false});
    }
    {
        auto bytes = TraceImage(0, {5, 9, 12});
        Put(bytes, 28, 0xFFFFFFFFu);
        cases.push_back({"negative count", bytes, true, false});
    }
    cases.push_back({"ship type 7", TraceImage(7, {5}), true, false});
    {
        auto bytes = TraceImage(0, {5, 9});
        bytes.resize(bytes.size() - 3);
        cases.push_back({"cut mid-record", bytes, true, false});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* memory = new WritableFileSystem();
        RefPtr<FileSystem> files(memory);
        if (c.present)
            memory->files["T_1.trace"] = c.bytes;
        // Replay flag and a pad: a rejected trace still must not reach the devices.
        RefPtr<PlayerInput> input(new PlayerInput(nullptr, PlayerInput::kReplay));
        int32_t shipType = -1;
        EXPECT_EQ(StageTraces::Read(files, String("T_1.trace"), *input, shipType), c.accepted);
        input->Reset();
        if (c.accepted) {
            EXPECT_EQ(shipType, int32_t(Get(c.bytes, 0)));
        } else {
            EXPECT_EQ(shipType, -1);
            EXPECT_EQ(input->tableCapacity, 0);
        }
        for (int step = 0; step < 3; ++step) {
            input->Update();
            EXPECT_EQ(input->GetButtons().held,
                      c.accepted && c.bytes.size() > 48 ? (step == 0 ? 9u : 0u) : 0u);
        }
    }
}

// A world screen whose two players' pads are scripted through an input manager
// without a board, in record or replay play.
class TraceRun : public WorldScreenFixture {
  public:
    TraceRun(const RefPtr<FileSystem>& files, int32_t mode)
        : manager(nullptr, 2, 0, 1, nullptr, [](const char*) { return std::unique_ptr<SerialLink>(); }) {
        root.fileSystem = files;
        root.inputManager = &manager;
        playMode = mode;
        Enter(1);
        Enter(2);
    }
    ~TraceRun() {
        root.DeleteChildren();
        system = nullptr;
        root.inputManager = nullptr;
    }

    void StepWithPads(uint32_t pad0, uint32_t pad1) {
        SetPad(manager.padStates[0], pad0);
        SetPad(manager.padStates[1], pad1);
        for (TreeNode* child = manager.firstChild; child != nullptr;) {
            TreeNode* next = child->next == manager.firstChild ? nullptr : child->next;
            static_cast<InputNode*>(child)->Update();
            child = next;
        }
        Step();
    }

    static void SetPad(PadState& pad, uint32_t logical) {
        pad = PadState{};
        pad.connected = 1;
        pad.axes[0] = (logical & PlayerShip::kLeft) ? -1.0f : (logical & PlayerShip::kRight) ? 1.0f : 0.0f;
        pad.axes[1] = (logical & PlayerShip::kUp) ? -1.0f : (logical & PlayerShip::kDown) ? 1.0f : 0.0f;
        for (int button = 0; button < 24; ++button)
            pad.buttons[button] = ((logical >> (6 + button)) & 1u) ? 1.0f : 0.0f;
    }

    InputManager manager;
};

// Player 1 weaves and fires in bursts, player 2 sweeps and bombs once.
uint32_t Script(int player, int step) {
    using S = PlayerShip;
    if (player == 1) {
        const uint32_t move = (step / 40) % 4 == 0   ? S::kLeft
                              : (step / 40) % 4 == 1 ? S::kUp
                              : (step / 40) % 4 == 2 ? S::kRight
                                                     : S::kDown;
        return move | ((step / 7) % 2 == 0 ? S::kShot : 0u);
    }
    return (step < 150 ? S::kRight : S::kLeft) | (step == 120 ? S::kBomb : 0u) |
           (step % 3 == 0 ? S::kShot : 0u);
}

std::vector<WorldEvent> UpTo(const std::vector<WorldEvent>& events, int32_t lastStep) {
    std::vector<WorldEvent> kept;
    for (const WorldEvent& event : events) {
        if (event.step <= lastStep)
            kept.push_back(event);
    }
    return kept;
}

TEST(StageTracesTest, RecordedStageReplaysToTheSameEventLog) {
    constexpr int kSteps = 300;
    auto* memory = new WritableFileSystem();
    memory->files["MARELDON.mbd"] = MakeBootArchive();
    RefPtr<FileSystem> files(memory);

    std::vector<WorldEvent> recorded;
    int32_t lastStep = 0;
    std::string stageId;
    {
        TraceRun run(files, GameWorldScreen::kPlayRecord);
        ASSERT_TRUE(run.StartWorld());
        run.system->GetPlayer(2).shipType = 2;
        stageId = run.screen->GetStageEntry() ? run.screen->GetStageEntry()->stageId.Text() : "";
        for (int step = 0; step < kSteps; ++step)
            run.StepWithPads(Script(1, step), Script(2, step));
        lastStep = run.log.GetStep();
        recorded = UpTo(run.log.Events(), lastStep);
    }
    const std::string name1 = stageId + "_1.trace", name2 = stageId + "_2.trace";
    ASSERT_EQ(memory->files.count(name1), 1u);
    ASSERT_EQ(memory->files.count(name2), 1u);
    EXPECT_EQ(Get(memory->files[name2], 0), 2u);
    ASSERT_GT(recorded.size(), 10u) << "the script should make the stage busy";

    TraceRun replay(files, GameWorldScreen::kPlayReplay);
    ASSERT_TRUE(replay.StartWorld());
    EXPECT_EQ(replay.system->GetPlayer(2).shipType, 2) << "the trace's ship type is taken";
    for (int step = 0; step < kSteps; ++step)  // the live pads say something else
        replay.StepWithPads(PlayerShip::kBomb | PlayerShip::kLeft, PlayerShip::kBomb | PlayerShip::kUp);
    ASSERT_EQ(replay.log.GetStep(), lastStep);
    const std::vector<WorldEvent> replayed = UpTo(replay.log.Events(), lastStep);
    ASSERT_EQ(replayed.size(), recorded.size());
    for (size_t i = 0; i < recorded.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(replayed[i].step, recorded[i].step);
        EXPECT_EQ(replayed[i].operation, recorded[i].operation);
        EXPECT_EQ(replayed[i].arguments, recorded[i].arguments);
    }
}

TEST(StageTracesTest, ReplayWithoutTracesGivesNoInput) {
    auto* memory = new WritableFileSystem();
    memory->files["MARELDON.mbd"] = MakeBootArchive();
    RefPtr<FileSystem> files(memory);
    TraceRun replay(files, GameWorldScreen::kPlayReplay);
    ASSERT_TRUE(replay.StartWorld());
    // Past the ships' entry, then the live pads push and bomb.
    for (int step = 0; step < 120; ++step)
        replay.StepWithPads(0, 0);
    ASSERT_NE(replay.screen->ships[0], nullptr);
    ASSERT_NE(replay.screen->ships[1], nullptr);
    const float x0 = replay.screen->ships[0]->GetPosition().x, x1 = replay.screen->ships[1]->GetPosition().x;
    for (int step = 0; step < 60; ++step)
        replay.StepWithPads(PlayerShip::kLeft | PlayerShip::kBomb, PlayerShip::kRight | PlayerShip::kBomb);
    EXPECT_EQ(replay.log.Count("LaunchBomb"), 0);
    EXPECT_EQ(replay.screen->ships[0]->GetPosition().x, x0);
    EXPECT_EQ(replay.screen->ships[1]->GetPosition().x, x1);
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// The stage id of the fixture's stage entry, read from a screen built for it.
std::string StageIdOf(const RefPtr<FileSystem>& files) {
    TraceRun probe(files, GameWorldScreen::kPlayLive);
    if (!probe.StartWorld() || !probe.screen->GetStageEntry())
        return "";
    return probe.screen->GetStageEntry()->stageId.Text();
}

TEST(StageTracesTest, TheScriptWriterMakesTheFileARecordingMakes) {
    auto* memory = new WritableFileSystem();
    memory->files["MARELDON.mbd"] = MakeBootArchive();
    RefPtr<FileSystem> files(memory);
    std::vector<uint32_t> words = {0};  // what the screen's build reads
    for (int step = 1; step < 300; ++step)
        words.push_back(Script(1, step) | (step % 50 == 0 ? PlayerShip::kBomb : 0u));
    std::string stageId;
    {
        TraceRun run(files, GameWorldScreen::kPlayRecord);
        // Pads answering with nothing pressed while the screen is built.
        TraceRun::SetPad(run.manager.padStates[0], 0);
        TraceRun::SetPad(run.manager.padStates[1], 0);
        ASSERT_TRUE(run.StartWorld());
        stageId = run.screen->GetStageEntry()->stageId.Text();
        for (int step = 1; step < 300; ++step)
            run.StepWithPads(words[size_t(step)], 0);
    }
    const std::vector<uint8_t>& recorded = memory->files[stageId + "_1.trace"];
    ASSERT_EQ(recorded.size(), 4832u);
    EXPECT_EQ(recorded, BuildTraceFile(0, words));
    EXPECT_EQ(Get(recorded, 28), 300u);
    // Player 2 never moved, and the file is there all the same.
    EXPECT_EQ(memory->files[stageId + "_2.trace"], BuildTraceFile(0, std::vector<uint32_t>(300, 0u)));
}

TEST(StageTracesTest, AReplayedShipFliesItsRecordsAndStopsWhenTheyEnd) {
    auto* memory = new WritableFileSystem();
    memory->files["MARELDON.mbd"] = MakeBootArchive();
    RefPtr<FileSystem> files(memory);
    const std::string stageId = StageIdOf(files);
    ASSERT_FALSE(stageId.empty());
    // Records 40 to 69 hold right; nothing before, no records after.
    std::vector<uint32_t> words(69, 0u);
    for (size_t record = 40; record <= 69; ++record)
        words[record - 1] = PlayerShip::kRight;
    memory->files[stageId + "_1.trace"] = TraceImage(0, words);

    TraceRun replay(files, GameWorldScreen::kPlayReplay);
    replay.system = nullptr;
    replay.entered = 1;
    ASSERT_TRUE(replay.StartWorld());
    for (int step = 0; step < 90; ++step)
        replay.StepWithPads(PlayerShip::kLeft, PlayerShip::kLeft);
    ASSERT_NE(replay.screen->ships[0], nullptr);
    EXPECT_NEAR(replay.screen->ships[0]->GetPosition().x, 3.0f, 1e-4f);
    for (int step = 0; step < 30; ++step)
        replay.StepWithPads(PlayerShip::kLeft, PlayerShip::kLeft);
    EXPECT_NEAR(replay.screen->ships[0]->GetPosition().x, 3.0f, 1e-4f) << "still once the records ran out";
}

TEST(StageTracesTest, TheTracesShipTypeChoosesTheReplayedShip) {
    auto* memory = new WritableFileSystem();
    memory->files["MARELDON.mbd"] = MakeBootArchive();
    RefPtr<FileSystem> files(memory);
    const std::string stageId = StageIdOf(files);
    memory->files[stageId + "_1.trace"] = TraceImage(2, std::vector<uint32_t>(10, 0u));
    TraceRun replay(files, GameWorldScreen::kPlayReplay);
    ASSERT_TRUE(replay.StartWorld());
    ASSERT_GE(replay.StepUntil([&] { return replay.screen->ships[0] != nullptr; }, 10), 0);
    PlayerShip* ship = replay.screen->ships[0];
    EXPECT_EQ(ship->shipType, 2);
    ASSERT_NE(ship->model, nullptr);
    EXPECT_STREQ(ship->model->name.Text(), "sel_p02_fix");
}

TEST(TraceScriptTest, LinesBecomeOneWordAStep) {
    std::vector<uint32_t> words;
    std::string error;
    ASSERT_TRUE(ParseTraceScript("# entry\n2 none\n3 right+shot  # go\n\n1 0x80\n1 b1+up\n", words, error))
        << error;
    EXPECT_EQ(words, (std::vector<uint32_t>{0, 0, 8 | 64, 8 | 64, 8 | 64, 128, 128 | 1}));
    for (const char* bad : {"x none", "2", "2 fire", "2 b24", "-1 up", "2 up extra"}) {
        std::vector<uint32_t> none;
        EXPECT_FALSE(ParseTraceScript(bad, none, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace mareldon
