#include "tools/stagesim/StageSim.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/core/PlayerInput.h"
#include "engine/platform/File.h"
#include "engine/platform/FileSystem.h"
#include "engine/platform/MessageBox.h"
#include "engine/platform/SerialLink.h"
#include "engine/platform/SoundBoxDX.h"
#include "engine/platform/recording/RecordingDeviceWindow.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/platform/recording/RecordingSoundOutput.h"
#include "engine/render/device/GraphicsDeviceDX.h"
#include "engine/render/draw/Renderer.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/Enemy.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/ActualGameScreen.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/ReflectForce.h"
#include "game/stage/ShooterObject.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/StraightShot.h"
#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/system/SaveFileStore.h"
#include "game/system/SceneRegistry.h"
#include "game/system/SceneTask.h"
#include "game/system/SystemInputs.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/stagesim/StageSimBoss1.h"
#include "tools/stagesim/StageSimBoss2.h"
#include "tools/stagesim/StageSimBoss4.h"
#include "tools/stagesim/StageSimBoss5.h"
#include "tools/stagesim/StageSimBoss6.h"

namespace mareldon {

// Files in memory: the archive to read, and the traces the recording writes.
struct StageSim::Files : public FileSystem {
    class MemoryFile : public File {
      public:
        MemoryFile(std::vector<uint8_t>* bytes, bool writing) : bytes(bytes), writing(writing) {}
        int32_t GetStatus() override { return bytes != nullptr ? kFileIdle : kFileNotFound; }
        void SetStatus(int32_t) override {}
        uint32_t GetSize() override { return bytes != nullptr ? uint32_t(bytes->size()) : 0; }
        bool Read(void* buffer, uint32_t size) override {
            if (bytes == nullptr || writing || position + size > bytes->size())
                return false;
            std::copy(bytes->begin() + position, bytes->begin() + position + size,
                      static_cast<uint8_t*>(buffer));
            position += size;
            return true;
        }
        bool Write(const void* buffer, uint32_t size) override {
            if (bytes == nullptr || !writing)
                return false;
            const auto* in = static_cast<const uint8_t*>(buffer);
            bytes->insert(bytes->end(), in, in + size);
            return true;
        }
        bool Seek(uint32_t at) override {
            position = at;
            return true;
        }
        uint32_t Tell() override { return position; }

      private:
        std::vector<uint8_t>* bytes;
        bool writing;
        uint32_t position = 0;
    };

    bool ChangeRoot(const String&) override { return false; }
    String GetRoot() override { return String("/"); }
    RefPtr<DirectoryList> ListDirectory(const String&) override { return RefPtr<DirectoryList>(); }
    void SplitFilePath(const String&, String&, String&, String&, String&) override {}
    void FullPath(String& out, const String& path) override { out = path; }
    File* Open(const String& path, uint32_t mode) override {
        if ((mode & kFileWrite) != 0) {
            std::vector<uint8_t>& bytes = files[path.Text()];
            if ((mode & kFileCreateAnew) != 0)
                bytes.clear();
            return new MemoryFile(&bytes, true);
        }
        auto found = files.find(path.Text());
        return new MemoryFile(found == files.end() ? nullptr : &found->second, false);
    }
    void Close(File* file) override { delete file; }

    std::map<std::string, std::vector<uint8_t>> files;
};

namespace {

constexpr float kPeriod = 1.0f / 60.0f;

std::vector<StageStateHasher>& Hashers() {
    static std::vector<StageStateHasher> hashers;
    return hashers;
}

class QuietMessages : public MessageBoxPresenter {
  public:
    void ShowMessageBox(const char*, const char*) override {}
};

class MemorySaves : public SaveFileStore {
  public:
    bool Read(const char* path, size_t limit, std::vector<uint8_t>& bytes) override {
        auto it = files.find(path);
        if (it == files.end() || it->second.size() > limit)
            return false;
        bytes = it->second;
        return true;
    }
    bool Replace(const char* path, const uint8_t* data, size_t size) override {
        files[path].assign(data, data + size);
        return true;
    }
    bool KeepAside(const char* path, std::string& keptAs) override {
        keptAs.clear();
        auto it = files.find(path);
        if (it != files.end()) {
            keptAs = std::string(path) + ".damaged";
            files[keptAs] = std::move(it->second);
            files.erase(path);
        }
        return true;
    }
    std::map<std::string, std::vector<uint8_t>> files;
};

class NoSystemInputs : public SystemInputs {
  public:
    ButtonSet GetButtons(int) const override { return ButtonSet{}; }
};

int NoEvent(uint32_t, uint32_t) {
    return 1;
}

// What the scene factories of a run read.
struct RunContext {
    const StageSimCase* simCase = nullptr;
    int32_t playMode = 0;
    WorldEventLog* log = nullptr;
    GameWorldScreen* screen = nullptr;
};
RunContext* current = nullptr;

class IdleScene : public SceneTask {
  public:
    IdleScene(GameSystem* owner, const SceneSetup& at) : SceneTask(owner, at.breakIn, at.successor, 0) {}
    bool IsAlive() override { return IsAliveWhileCurrent(); }
};

class LaunchScene : public SceneTask {
  public:
    LaunchScene(GameSystem* owner, const SceneSetup& at) : SceneTask(owner, at.breakIn, at.successor, 0) {}
    bool IsAlive() override { return IsAliveWhileCurrent(); }
    void OnUpdatePre() override {
        owner->LoadCommonResources();
        RequestSuccessor("actualgame");
    }
};

class SimScreen : public ActualGameScreen {
  public:
    using ActualGameScreen::ActualGameScreen;
    ~SimScreen() override {
        if (current != nullptr && current->screen == this)
            current->screen = nullptr;
    }
};

// Fires bursts of aimed fans at the ship GetPlayer(3) picks.
class TestShooter : public ShotPatternBase {
  public:
    TestShooter(TaskObject* parent, GameWorldScreen* screen, int32_t fan, int32_t burstGap, float speed)
        : ShotPatternBase(parent, screen), fan(fan), burstGap(burstGap), speed(speed) {
        SetFiring(true);
    }

  protected:
    void Configure() override {
        SetBurstInterval(burstGap);
        SetShotInterval(3);
        SetBurstShots(3);
        SetBurstCount(1000000);
    }
    void FireShot() override {
        GameWorldScreen* screen = OwnerScreen();
        PlayerShip* target = screen->GetPlayer(3);
        const Vec3 from = GetWorldPosition();
        const float aim = target != nullptr
                              ? ConvertAngleConvention(BearingBetween(from, target->GetWorldPosition()))
                              : 270.0f;
        const float wobble = Generator().Range(-6.0f, 6.0f);
        for (int32_t i = 0; i < fan; ++i) {
            Vec3 velocity;
            AngleToDirection(velocity, aim + wobble + 12.0f * (float(i) - float(fan - 1) / 2.0f), speed);
            screen->FireEnemyBullet(from, velocity, 3, 1.0f);
        }
    }

  private:
    int32_t fan;
    int32_t burstGap;
    float speed;
};

// A target the ships' shots and reflected bullets strike; it never dies.
class TestEnemy : public Enemy {
  public:
    TestEnemy(TaskObject* parent, GameWorldScreen* screen) : Enemy(parent, 1.0e9f), screen(screen) {
        attackWeights = GameWorldScreen::BombAttackTable();
    }
    void OnUpdatePre() override { screen->HitLists().RegisterTarget(this, GetWorldPosition(), 0.6f); }

    GameWorldScreen* screen;
};

// The shooter rides on the enemy, near the top of the field, swaying.
void PopulateShooter(GameWorldScreen& screen, int32_t fan, int32_t burstGap, float speed) {
    auto* enemy = new TestEnemy(screen.GetSceneRoot(), &screen);
    enemy->SetPosition(Vec3{0.0f, 0.0f, 3.5f});
    new TestShooter(enemy, &screen, fan, burstGap, speed);
}

void PopulateDuel(GameWorldScreen& screen) {
    PopulateShooter(screen, 3, 30, 0.06f);
}

void PopulateStorm(GameWorldScreen& screen) {
    PopulateShooter(screen, 4, 4, 0.025f);
}

// Player 1 weaves and charges the reflect force; player 2 sweeps, taps shot and bombs.
uint32_t DuelButtons(int32_t player, int32_t step) {
    using S = PlayerShip;
    if (player == 1) {
        const int32_t phase = (step / 50) % 4;
        const uint32_t move = phase == 0 ? S::kLeft : phase == 1 ? S::kUp : phase == 2 ? S::kRight : S::kDown;
        // Long holds charge the reflect force; the gaps between them fire.
        const bool hold = (step % 400) >= 100 && (step % 400) < 170;
        const bool tap = (step / 5) % 2 == 0;
        return move | (hold || tap ? S::kShot : 0u);
    }
    const uint32_t sweep = (step / 90) % 2 == 0 ? S::kRight : S::kLeft;
    const uint32_t bomb = step == 700 || step == 1500 ? S::kBomb : 0u;
    const bool hold = (step % 500) >= 250 && (step % 500) < 300;
    return sweep | bomb | (hold || step % 4 == 0 ? S::kShot : 0u) | ((step / 120) % 3 == 0 ? S::kDown : 0u);
}

// Both ships stay below the boss, sweeping across and firing.
uint32_t FightButtons(int32_t player, int32_t step) {
    using S = PlayerShip;
    const int32_t phase = ((step / 80) + player) % 4;
    const uint32_t move = phase == 0 ? S::kLeft : phase == 2 ? S::kRight : 0u;
    return move | (step % 2 == 0 ? S::kShot : 0u) | (step < 40 ? S::kUp : 0u);
}

// Every clock of a subtree to `time`.
void SetClocks(TaskObject& task, float time) {
    if (Object3D* node = task.AsObject3D())
        node->SetMotionTime(time);
    TreeNode* child = task.firstChild;
    for (int32_t i = 0; i < task.childCount; ++i, child = child->next)
        SetClocks(*static_cast<TaskObject*>(child), time);
}

// The world root's clock and the stage's (the boss's own among them) just before the
// stage-3 boss's fight start.
void PopulateBoss3(GameWorldScreen& screen) {
    screen.GetWorldRoot()->SetMotionTime(8640.0f / 60.0f);
    if (StageScene* scene = screen.GetStageScene())
        SetClocks(*scene, 8640.0f / 60.0f);
}

uint32_t StormButtons(int32_t player, int32_t step) {
    using S = PlayerShip;
    const uint32_t sweep = ((step / 60) + player) % 2 == 0 ? S::kRight : S::kLeft;
    return sweep | (step % 3 == 0 ? S::kShot : 0u) | ((step / 45) % 2 == 0 ? S::kDown : S::kUp);
}

void SetPad(PadState& pad, uint32_t logical) {
    pad = PadState{};
    pad.connected = 1;
    pad.axes[0] = (logical & PlayerShip::kLeft) ? -1.0f : (logical & PlayerShip::kRight) ? 1.0f : 0.0f;
    pad.axes[1] = (logical & PlayerShip::kUp) ? -1.0f : (logical & PlayerShip::kDown) ? 1.0f : 0.0f;
    for (int button = 0; button < 24; ++button)
        pad.buttons[button] = ((logical >> (6 + button)) & 1u) ? 1.0f : 0.0f;
}

}  // namespace

void StateHash::Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) {
        value ^= p[i];
        value *= 1099511628211ull;
    }
}

void AddStageStateHasher(StageStateHasher hasher) {
    if (std::find(Hashers().begin(), Hashers().end(), hasher) == Hashers().end())
        Hashers().push_back(hasher);
}

uint64_t HashStageState(GameWorldScreen& screen, GameSystem& system,
                        const std::vector<WorldEvent>& stepEvents) {
    StateHash h;
    h.Int(screen.GetEventLog() != nullptr ? screen.GetEventLog()->GetStep() : 0);
    h.Float(screen.GetStageTime());
    h.Float(screen.GetRawTimeLeft());
    h.Int(screen.GetRandom().state);
    for (int mask = 1; mask <= 2; ++mask) {
        const PlayerRecord& p = system.GetPlayer(mask);
        h.Int(int64_t(p.score));
        for (int32_t field :
             {p.multiplier, p.chain, p.shipStock, p.bombStock, p.continueCount, p.shipType, p.powerLevel})
            h.Int(field);
    }
    for (PlayerShip* ship : screen.ships) {
        h.Int(ship != nullptr);
        if (ship == nullptr)
            continue;
        h.Vector(ship->GetPosition());
        h.Int(ship->protectionTimer);
        h.Int(ship->protectionFlag);
        h.Int(ship->dying);
        h.Int(ship->deathCountdown);
        h.Float(ship->fireHoldTimer);
        if (const ReflectForce* force = ship->reflectForce) {
            h.Float(force->chargeLeft);
            h.Float(force->activeLeft);
            h.Float(force->cooldownLeft);
        }
    }
    const EnemyBullets& bullets = screen.Bullets();
    h.Int(bullets.GetEnemyBulletCount());
    for (const EnemyBulletRecord* b = bullets.FirstEnemyBullet(); b != nullptr;
         b = bullets.NextEnemyBullet(b)) {
        h.Vector(b->position);
        h.Vector(b->velocity);
        h.Int(b->age);
    }
    h.Int(bullets.GetReflectedBulletCount());
    const ReflectedBulletRecord* r = bullets.FirstReflectedBullet();
    for (int32_t i = 0; i < bullets.GetReflectedBulletCount() && r != nullptr; ++i, r = r->next) {
        h.Vector(r->position);
        h.Vector(r->velocity);
        h.Int(r->age);
        h.Int(r->ownerMask);
    }
    h.Int(screen.GetScoreChipCount());
    for (const ScoreChipRecord* c = screen.FirstScoreChip(); c != nullptr; c = screen.NextScoreChip(c)) {
        h.Vector(c->position);
        h.Int(c->value);
        h.Int(c->age);
    }
    h.Int(screen.GetSparkCount());
    for (const SparkRecord* s = screen.FirstSpark(); s != nullptr; s = screen.NextSpark(s)) {
        h.Vector(s->position);
        h.Float(s->size);
        h.Int(s->age);
    }
    for (const StaticModelRoot* parent : {screen.playerShotParent, screen.itemParent, screen.effectParent,
                                          screen.underlayParent, screen.bomberParent})
        h.Int(parent != nullptr ? parent->childCount : -1);
    for (StageStateHasher hasher : Hashers())
        hasher(h, screen);
    for (const WorldEvent& event : stepEvents) {
        h.Text(event.operation);
        h.Text(event.arguments);
    }
    return h.Value();
}

const std::vector<StageSimCase>& StageSimCases() {
    static const std::vector<StageSimCase> cases = {
        // Two players moving, shooting, charging the reflect force and bombing.
        {"duel", 6, 2400, DuelButtons, PopulateDuel, {0, 2}, 9},
        // The benchmark's: a dense stream of slow bullets, some hundreds on screen.
        {"storm", 6, 2000, StormButtons, PopulateStorm, {1, 3}, 99},
        // Stage 1 from just before its boss's fight: the ships under it, shooting.
        {"boss1", 1, 2400, Boss1FightButtons, PopulateBoss1Fight, {0, 1}, 99},
        // The stage-3 boss's fight from its start, the ships shooting at it.
        {"boss3", 3, 2400, FightButtons, PopulateBoss3, {0, 1}, 99},
        // Stage 2 from just before its boss's fight, both ships firing at it to the clear.
        {"boss2", 2, 2640, Boss2FightButtons, PopulateBoss2Fight, {0, 1}, 9},
        // Stage 4 from just before its face opens: the body goes down, the head attacks.
        {"boss4", 4, 2800, Boss4FightButtons, PopulateBoss4Fight, {2, 0}, 99},
        // Stage 5 from just before the ball attacks, 41 seconds left: it gives up, the mandala attacks
        // until its centre times out, and the stage clears.
        {"boss5", 5, 2880, Boss5FightButtons, PopulateBoss5Fight, {1, 2}, 99},
        // Stage 6 from the boss's frame 3400: its late guns, its end and the clear.
        {"boss6", 6, 2200, Boss6FightButtons, PopulateBoss6Fight, {3, 0}, 99},
    };
    return cases;
}

const StageSimCase* FindStageSimCase(const std::string& name) {
    for (const StageSimCase& c : StageSimCases()) {
        if (name == c.name)
            return &c;
    }
    return nullptr;
}

StageSim::StageSim(const StageSimCase& c) : simCase(c), files(std::make_unique<Files>()) {
    files->files["MARELDON.mbd"] = MakeBootArchive();
}

StageSim::~StageSim() = default;

StageSimRun StageSim::Record(bool drawing) {
    return Run(GameWorldScreen::kPlayRecord, {}, drawing);
}

StageSimRun StageSim::Replay(const std::function<void(int32_t, GameWorldScreen&)>& beforeStep, bool drawing) {
    return Run(GameWorldScreen::kPlayReplay, beforeStep, drawing);
}

const std::vector<uint8_t>* StageSim::TraceFile(const std::string& name) const {
    auto found = files->files.find(name);
    return found == files->files.end() ? nullptr : &found->second;
}

std::vector<std::string> StageSim::TraceNames() const {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files->files) {
        if (name.size() > 6 && name.compare(name.size() - 6, 6, ".trace") == 0)
            names.push_back(name);
    }
    return names;
}

int32_t StageSim::FirstDifference(const StageSimRun& a, const StageSimRun& b) {
    const size_t steps = std::min(a.hashes.size(), b.hashes.size());
    for (size_t i = 0; i < steps; ++i) {
        if (a.hashes[i] != b.hashes[i])
            return int32_t(i);
    }
    if (a.hashes.size() != b.hashes.size())
        return int32_t(steps);
    return -1;
}

StageSimRun StageSim::Run(int32_t playMode, const std::function<void(int32_t, GameWorldScreen&)>& beforeStep,
                          bool drawing) {
    StageSimRun run;
    WorldEventLog log;
    RunContext context{&simCase, playMode, &log, nullptr};
    current = &context;
    // What the program keeps across screens starts afresh, as in a program that
    // plays only this stage.
    StraightShot::ResetMadeCounts();
    GameWorldScreen::ResetWaterParity();

    TaskObject root(nullptr, 0);
    root.frameRate = 60.0f;
    root.framePeriod = kPeriod;
    QuietMessages quiet;
    RecordingGpu gpu;
    RecordingDeviceWindow window;
    GraphicsDeviceDX device(&gpu, &window, 1, 8, 480, 640, 3);
    auto output = std::make_shared<RecordingSoundOutput>();
    root.fileSystem = RefPtr<FileSystem>(files.get(), [](FileSystem*) {});
    root.graphicsDevice = RefPtr<GraphicsDevice>(&device, [](GraphicsDevice*) {});
    root.soundBox = RefPtr<SoundBox>(new SoundBoxDX(nullptr, output));
    root.renderer = RefPtr<Renderer>(
        new Renderer(root.fileSystem, root.graphicsDevice, root.soundBox, String("sim"), &quiet));
    root.renderer->LoadArchive("MARELDON.mbd");
    // The stage objects and bosses, as the program registers them.
    StageNodeRegistry registry;
    RegisterStageObjects(registry);
    RegisterBossObjects(registry);
    ScopedStageNodeRegistry scope(registry);
    {
        InputManager manager(nullptr, 2, 0, 1, nullptr,
                             [](const char*) { return std::unique_ptr<SerialLink>(); });
        root.inputManager = &manager;

        SceneRegistry flow;
        flow.Add("boot",
                 [](GameSystem& s, const SceneSetup& at) -> SceneTask* { return new LaunchScene(&s, at); });
        flow.Add("actualgame", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
            auto* screen = new SimScreen(&s, at.breakIn, at.successor, 4, current->playMode,
                                         current->simCase->stageEntry);
            screen->SetEventLog(current->log);
            current->screen = screen;
            return screen;
        });
        for (const char* idle : {"nextstage", "gameover", "continue", "ranking1", "ranking2"})
            flow.Add(idle,
                     [](GameSystem& s, const SceneSetup& at) -> SceneTask* { return new IdleScene(&s, at); });
        MemorySaves saves;
        NoSystemInputs inputs;
        GameSystem* system = new GameSystem(&root, GameSystemPorts{&saves, NoEvent, &inputs, &flow});
        for (int mask = 1; mask <= 2; ++mask) {
            system->GetPlayer(mask).shipStock = simCase.shipStock;
            system->GetPlayer(mask).shipType = simCase.shipTypes[mask - 1];
        }
        auto step = [&](uint32_t pad0, uint32_t pad1) {
            SetPad(manager.padStates[0], pad0);
            SetPad(manager.padStates[1], pad1);
            for (TreeNode* child = manager.firstChild; child != nullptr;) {
                TreeNode* next = child->next == manager.firstChild ? nullptr : child->next;
                static_cast<InputNode*>(child)->Update();
                child = next;
            }
            root.Update();
            root.CollectDead();
            if (drawing)
                root.Draw();
        };
        for (int i = 0; i < 10 && context.screen == nullptr; ++i)
            step(0, 0);
        if (context.screen != nullptr) {
            run.ran = true;
            simCase.populate(*context.screen);
            size_t seen = log.Events().size();
            for (int32_t i = 0; i < simCase.steps && context.screen != nullptr; ++i) {
                if (beforeStep)
                    beforeStep(i, *context.screen);
                // A replay ignores the pads: they say something else.
                if (playMode == GameWorldScreen::kPlayReplay)
                    step(PlayerShip::kLeft | PlayerShip::kBomb, PlayerShip::kRight | PlayerShip::kShot);
                else
                    step(simCase.buttons(1, i), simCase.buttons(2, i));
                if (context.screen == nullptr)
                    break;
                std::vector<WorldEvent> stepEvents(log.Events().begin() + std::ptrdiff_t(seen),
                                                   log.Events().end());
                seen = log.Events().size();
                run.hashes.push_back(HashStageState(*context.screen, *system, stepEvents));
                run.mostEnemyBullets =
                    std::max(run.mostEnemyBullets, context.screen->Bullets().GetEnemyBulletCount());
            }
        }
        run.events = log.Events();
        // The screen goes first and writes its traces.
        root.DeleteChildren();
        root.inputManager = nullptr;
    }
    root.renderer = RefPtr<Renderer>();
    root.soundBox = RefPtr<SoundBox>();
    root.graphicsDevice = RefPtr<GraphicsDevice>();
    root.fileSystem = RefPtr<FileSystem>();
    current = nullptr;
    return run;
}

}  // namespace mareldon
