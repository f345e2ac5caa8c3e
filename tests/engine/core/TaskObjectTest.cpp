#include "engine/core/TaskObject.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace mareldon {

// Only stored behind handles in the task; the test gives it a body to count deletions.
class Renderer {
  public:
    explicit Renderer(int* deletions) : deletions(deletions) {}
    virtual ~Renderer() { ++*deletions; }
    int* deletions;
};

namespace {

// Logs its hooks; dies when told to.
class ProbeTask : public TaskObject {
  public:
    ProbeTask(TaskObject* parent, int32_t priority, std::string name, std::vector<std::string>* log)
        : TaskObject(parent, priority), name(std::move(name)), log(log) {}
    ~ProbeTask() override {
        if (log != nullptr)
            log->push_back("~" + name);
    }

    void OnUpdatePre() override { log->push_back("u<" + name); }
    void OnUpdatePost() override { log->push_back("u>" + name); }
    void OnDrawPre() override { log->push_back("d<" + name); }
    void OnDrawPost() override { log->push_back("d>" + name); }
    bool IsAlive() override { return !dieNow; }

    std::string name;
    std::vector<std::string>* log;
    bool dieNow = false;
};

class TaskObjectTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;  // outlives root, whose children log their deletion
    TaskObject root{nullptr, 0};

    ProbeTask* Add(TaskObject* parent, int32_t priority, const char* name) {
        return new ProbeTask(parent, priority, name, &log);
    }
    std::vector<std::string> Hooks(const char* prefix) {
        std::vector<std::string> out;
        for (const std::string& entry : log) {
            if (entry.rfind(prefix, 0) == 0)
                out.push_back(entry.substr(std::strlen(prefix)));
        }
        return out;
    }
};

using Names = std::vector<std::string>;

TEST_F(TaskObjectTest, ChildrenRunInPriorityThenInsertionOrder) {
    Add(&root, 5, "5a");
    Add(&root, 1, "1");
    Add(&root, 5, "5b");
    Add(&root, 3, "3");
    root.Update();
    EXPECT_EQ(Hooks("u<"), (Names{"1", "3", "5a", "5b"}));
    log.clear();
    root.Draw();
    EXPECT_EQ(log, (Names{"d<1", "d>1", "d<3", "d>3", "d<5a", "d>5a", "d<5b", "d>5b"}));
}

TEST_F(TaskObjectTest, ParentHooksWrapTheChildren) {
    ProbeTask* parent = Add(&root, 0, "p");
    Add(parent, 0, "c");
    root.Update();
    EXPECT_EQ(log, (Names{"u<p", "u<c", "u>c", "u>p"}));
}

TEST_F(TaskObjectTest, DeadTaskGoesInTheSameSweepWithItsSubtree) {
    Add(&root, 0, "a");
    ProbeTask* b = Add(&root, 1, "b");
    Add(b, 0, "b1");
    Add(&root, 2, "c");
    b->dieNow = true;
    root.Update();
    root.CollectDead();
    EXPECT_EQ(Hooks("~"), (Names{"b", "b1"}));
    EXPECT_EQ(root.childCount, 2);
    log.clear();
    root.Update();
    EXPECT_EQ(Hooks("u<"), (Names{"a", "c"}));
}

TEST_F(TaskObjectTest, SweepVisitsEverySiblingAroundDeletions) {
    // Each dying task also has a dying child: the sweep must reach every one of them.
    std::vector<ProbeTask*> tasks;
    for (int i = 0; i < 5; ++i) {
        ProbeTask* task = Add(&root, i, std::to_string(i).c_str());
        ProbeTask* child = Add(task, 0, (std::to_string(i) + "x").c_str());
        child->dieNow = true;
        tasks.push_back(task);
    }
    tasks[0]->dieNow = true;
    tasks[2]->dieNow = true;
    tasks[4]->dieNow = true;
    root.CollectDead();
    // A subtree is swept before its own root is looked at.
    EXPECT_EQ(Hooks("~"), (Names{"0x", "0", "1x", "2x", "2", "3x", "4x", "4"}));
    EXPECT_EQ(root.childCount, 2);
    EXPECT_EQ(tasks[1]->childCount, 0);
    EXPECT_EQ(root.firstChild, tasks[1]);

    tasks[1]->dieNow = true;
    tasks[3]->dieNow = true;
    root.CollectDead();  // the last children: the ring empties mid-sweep
    EXPECT_EQ(root.childCount, 0);
    EXPECT_EQ(root.firstChild, nullptr);
}

TEST_F(TaskObjectTest, EnableFlagsAndStepCount) {
    ProbeTask* off = Add(&root, 0, "off");
    Add(off, 0, "offChild");
    ProbeTask* quiet = Add(&root, 1, "quiet");
    ProbeTask* child = Add(quiet, 0, "quietChild");
    off->updateEnabled = 0;
    quiet->SetUpdateSelf(false);
    root.Update();
    root.Update();
    EXPECT_EQ(Hooks("u<"), (Names{"quietChild", "quietChild"}));
    EXPECT_EQ(off->stepCount, 0);
    EXPECT_EQ(quiet->stepCount, 2);
    EXPECT_EQ(child->stepCount, 2);

    log.clear();
    quiet->SetVisible(false);
    EXPECT_FALSE(quiet->GetDrawSelf());
    off->SetDrawChildren(false);
    root.Draw();
    EXPECT_EQ(Hooks("d<"), (Names{"off", "quietChild"}));
    off->drawEnabled = 0;
    log.clear();
    root.Draw();
    EXPECT_EQ(Hooks("d<"), (Names{"quietChild"}));
}

TEST_F(TaskObjectTest, ParentlessTaskHasNoServicesAndChildrenInheritThem) {
    EXPECT_EQ(root.frameRate, 0.0f);
    EXPECT_EQ(root.framePeriod, 0.0f);
    EXPECT_FALSE(root.renderer);
    EXPECT_EQ(root.inputManager, nullptr);

    int deletions = 0;
    int freeTop = theCounterCellPool.FreeTop();
    root.renderer.Reset(new Renderer(&deletions));
    root.frameRate = 60.0f;
    root.framePeriod = 1.0f / 60.0f;
    root.inputManager = reinterpret_cast<InputManager*>(&root);
    ProbeTask* parent = Add(&root, 0, "p");
    for (int i = 0; i < 4; ++i)
        Add(parent, i, "c");
    EXPECT_EQ(root.renderer.UseCount(), 6);
    TaskObject* last = static_cast<TaskObject*>(parent->firstChild->prev);
    EXPECT_EQ(last->renderer.Get(), root.renderer.Get());
    EXPECT_EQ(last->framePeriod, 1.0f / 60.0f);
    EXPECT_EQ(last->inputManager, root.inputManager);

    delete parent;
    EXPECT_EQ(root.childCount, 0);
    EXPECT_EQ(root.renderer.UseCount(), 1);
    EXPECT_EQ(theCounterCellPool.FreeTop(), freeTop);  // every child's cells came back
    root.renderer.Reset();
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(theCounterCellPool.FreeTop(), freeTop);
}

TEST_F(TaskObjectTest, PriorityChangesDuringAPassFollowTheRing) {
    // A task moving itself to the end during its update is visited once; the walk goes
    // on from its new place, so the index bound decides who else runs.
    class Mover : public ProbeTask {
      public:
        using ProbeTask::ProbeTask;
        void OnUpdatePre() override {
            ProbeTask::OnUpdatePre();
            SetPriority(100);
        }
    };
    new Mover(&root, 0, "m", &log);
    Add(&root, 1, "a");
    Add(&root, 2, "b");
    root.Update();
    // m moved behind b: its next is the first child (a); the third visit is b.
    EXPECT_EQ(Hooks("u<"), (Names{"m", "a", "b"}));
    log.clear();
    root.Update();
    EXPECT_EQ(Hooks("u<"), (Names{"a", "b", "m"}));
}

// An owner whose children report back to it while dying deletes them itself first.
class Owner : public TaskObject {
  public:
    explicit Owner(TaskObject* parent) : TaskObject(parent, 0) {}
    ~Owner() override { DeleteChildren(); }
    int liveChildren = 0;
};

class Reporter : public TaskObject {
  public:
    explicit Reporter(Owner* owner) : TaskObject(owner, 0), owner(owner) { ++owner->liveChildren; }
    ~Reporter() override { --owner->liveChildren; }
    Owner* owner;
};

TEST_F(TaskObjectTest, OwnersCanDeleteChildrenBeforeTheirOwnPartsGo) {
    Owner* owner = new Owner(&root);
    new Reporter(owner);
    new Reporter(owner);
    EXPECT_EQ(owner->liveChildren, 2);
    delete owner;  // ASan catches a child touching a destroyed owner
    EXPECT_EQ(root.childCount, 0);
}

}  // namespace
}  // namespace mareldon
