#include "engine/core/Application.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/core/Clock.h"

namespace mareldon {
namespace {

// Counts what the loop asks of the platform.
struct Services : MessagePump, FramePresenter, InputPoller {
    void PumpMessages() override { ++pumps; }
    void PresentFrame() override {
        ++presents;
        if (clock != nullptr)
            clock->Advance(advancePerPresent);
    }
    void PollInput() override { ++polls; }
    int pumps = 0, presents = 0, polls = 0;
    VirtualClock* clock = nullptr;
    uint32_t advancePerPresent = 0;
};

class CountingTask : public TaskObject {
  public:
    CountingTask(TaskObject* parent, int32_t lifetime) : TaskObject(parent, 0), lifetime(lifetime) {}
    void OnUpdatePre() override { ++updates; }
    void OnDrawPre() override { ++draws; }
    bool IsAlive() override { return lifetime < 0 || updates < lifetime; }
    int32_t lifetime;
    int updates = 0;
    int draws = 0;
};

class ApplicationTest : public ::testing::Test {
  protected:
    explicit ApplicationTest(uint32_t start = 0) : clock(start), scope(clock) {}
    void Wire(Application& app) {
        app.SetMessagePump(&services);
        app.SetFramePresenter(&services);
        app.SetInputPoller(&services);
    }
    VirtualClock clock;
    ScopedClock scope;
    Services services;
};

TEST_F(ApplicationTest, RootIsSetUpForSixtySteps) {
    const char* argv[] = {"prog", "x"};
    Application app(2, argv);
    EXPECT_EQ(theApplication, &app);
    EXPECT_EQ(app.root.frameRate, 60.0f);
    uint32_t bits;
    std::memcpy(&bits, &app.root.framePeriod, sizeof bits);
    EXPECT_EQ(bits, 0x3C888889u);
    EXPECT_EQ(app.GetArguments().Count(), 2);
    EXPECT_STREQ(app.GetArguments()[1]->Text(), "x");
    String dir = app.GetProgramDir();
    ASSERT_FALSE(dir.IsEmpty());
    EXPECT_EQ(dir[dir.Length() - 1], '/');
}

TEST_F(ApplicationTest, StallDropsWholeBlocksThenSteps) {
    struct Case {
        uint32_t elapsed;
        uint32_t dropped, steps;
    };
    const Case cases[] = {{2340, 23, 2}, {16, 0, 0}, {17, 0, 1}, {99, 0, 5}, {100, 1, 0}, {117, 1, 1}};
    for (const Case& c : cases) {
        Application app(0, nullptr);
        Wire(app);
        CountingTask* task = new CountingTask(&app.root, -1);
        services = Services{};
        app.StartClock();
        clock.Advance(c.elapsed);
        ASSERT_TRUE(app.RunPass());
        EXPECT_EQ(app.DroppedBlocks(), c.dropped) << c.elapsed;
        EXPECT_EQ(app.StepsInLastPass(), c.steps) << c.elapsed;
        EXPECT_EQ(task->updates, static_cast<int>(c.steps));
        EXPECT_EQ(services.polls, static_cast<int>(c.steps));
        EXPECT_EQ(task->draws, 1);  // drawn and presented whether or not a step ran
        EXPECT_EQ(services.presents, 1);
        EXPECT_EQ(services.pumps, 1);
    }
}

class WrappedClockTest : public ApplicationTest {
  protected:
    WrappedClockTest() : ApplicationTest(0xFFFFFFF0u) {}
};

TEST_F(WrappedClockTest, StepsAcrossTheTickWrap) {
    Application app(0, nullptr);
    new CountingTask(&app.root, -1);
    app.StartClock();
    clock.Set(0x00000001u);  // 17 ms later
    ASSERT_TRUE(app.RunPass());
    EXPECT_EQ(app.StepsInLastPass(), 1u);
}

TEST_F(WrappedClockTest, KeepsPaceOverLongUptime) {
    // With absolute float seconds the loop ran fast after a day and a half, froze after
    // six days and stopped at the 49.7-day wrap. Only tick differences count now: an
    // hour around the wrap at 49.7 days runs as the first hour did.
    Application app(0, nullptr);
    CountingTask* task = new CountingTask(&app.root, -1);
    clock.Set(0xFFFFFFFFu - 30u * 60 * 1000);
    app.StartClock();
    const uint32_t passes = 60u * 60 * 1000 / 17;
    uint32_t most = 0;
    for (uint32_t i = 0; i < passes; ++i) {
        clock.Advance(17);
        app.RunPass();
        if (app.StepsInLastPass() > most)
            most = app.StepsInLastPass();
    }
    EXPECT_LE(most, 2u);
    EXPECT_EQ(app.DroppedBlocks(), 0u);
    EXPECT_NEAR(task->updates, passes * 17 / (1000.0 / 60.0), 1.0);
}

TEST_F(ApplicationTest, HugeStallIsDroppedAtOnce) {
    Application app(0, nullptr);
    CountingTask* task = new CountingTask(&app.root, -1);
    app.StartClock();
    clock.Advance(0xFFFFFFF0u);  // 49.7 days without a pass
    ASSERT_TRUE(app.RunPass());
    EXPECT_NEAR(app.DroppedBlocks(), 42949672.0, 3.0);
    EXPECT_LE(task->updates, 6);
    clock.Advance(17);
    app.RunPass();
    EXPECT_LE(app.StepsInLastPass(), 6u);
}

TEST_F(ApplicationTest, RunEndsWhenTheOnlyTaskDies) {
    Application app(0, nullptr);
    Wire(app);
    services.clock = &clock;
    services.advancePerPresent = 5;  // a headless present takes a little time
    new CountingTask(&app.root, 120);
    app.Run();
    EXPECT_EQ(app.root.childCount, 0);
    EXPECT_EQ(services.polls, 120);  // exactly the 120 steps it lived
    EXPECT_EQ(app.root.stepCount, 120);
    // Sleeping through the clock: about one pass per step, not a spin.
    EXPECT_LT(services.presents, 130);
}

TEST_F(ApplicationTest, EmptyRootEndsBeforeDrawing) {
    Application app(0, nullptr);
    Wire(app);
    EXPECT_FALSE(app.RunPass());
    EXPECT_EQ(services.presents, 0);
    EXPECT_EQ(services.pumps, 1);
}

class FailingInit : public Application {
  public:
    using Application::Application;
    bool Init() override { return false; }
    void Exit() override { ++exits; }
    int exits = 0;
};

TEST_F(ApplicationTest, FailedInitEndsWithZeroAndNoFrame) {
    FailingInit app(0, nullptr);
    Wire(app);
    new CountingTask(&app.root, 1);
    EXPECT_EQ(ApplicationMain(), 0);
    EXPECT_EQ(services.presents, 0);
    EXPECT_EQ(app.exits, 0);
}

TEST(AppBaseTest, CommandLineSplit) {
    struct Case {
        const char* line;
        std::vector<const char*> arguments;
    };
    const std::vector<Case> cases = {
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"ab\"cd", {"ab", "cd"}},
        {"  x\t\ty  ", {"x", "y"}},
        {"\"\"", {}},
        {"p \"unterminated quote", {"p", "unterminated quote"}},
        {"a\x82\xA0z", {"a", "z"}},  // bytes of 0x80 and up separate outside quotes
        {"\"a\x82\xA0z\"", {"a\x82\xA0z"}},
    };
    for (const Case& c : cases) {
        StringArray out;
        SplitCommandLine(c.line, out);
        ASSERT_EQ(out.Count(), static_cast<int32_t>(c.arguments.size())) << c.line;
        for (size_t i = 0; i < c.arguments.size(); ++i) {
            EXPECT_STREQ(out[static_cast<int32_t>(i)]->Text(), c.arguments[i]) << c.line;
        }
    }
}

TEST(AppBaseTest, SplitPath) {
    struct Case {
        const char *path, *drive, *directory, *name, *extension;
    };
    const Case cases[] = {
        {"C:\\dir\\f.ext", "C:", "\\dir\\", "f", ".ext"},
        {"/usr/lib/game.tar.gz", "", "/usr/lib/", "game.tar", ".gz"},
        {"a.b/c", "", "a.b/", "c", ""},
        {"name", "", "", "name", ""},
        {"", "", "", "", ""},
        {"d\x83\x5C.x", "", "", "d\x83\x5C", ".x"},  // the trail byte 0x5C is no separator
        {"dir/\x82", "", "dir/", "\x82", ""},        // a truncated character ends the scan
    };
    for (const Case& c : cases) {
        String drive, directory, name, extension;
        SplitPath(c.path, &drive, &directory, &name, &extension);
        EXPECT_STREQ(drive.Text(), c.drive) << c.path;
        EXPECT_STREQ(directory.Text(), c.directory) << c.path;
        EXPECT_STREQ(name.Text(), c.name) << c.path;
        EXPECT_STREQ(extension.Text(), c.extension) << c.path;
    }
}

}  // namespace
}  // namespace mareldon
