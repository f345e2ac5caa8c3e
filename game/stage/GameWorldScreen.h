#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "game/stage/EnemyBullets.h"
#include "game/stage/EnemyGroups.h"
#include "game/stage/KillCounter.h"
#include "game/stage/RecordPool.h"
#include "game/stage/ScreenMapping.h"
#include "game/stage/WorldHitLists.h"
#include "game/system/ResultWorld.h"
#include "game/system/SceneTask.h"
#include "game/system/SoundCueRef.h"
#include "game/system/SoundIds.h"
#include "game/system/StageEntry.h"

namespace mareldon {

class CameraNode;
class ColoredScreenDrawer;
class Hud;
class Object3D;
class PlayerInput;
class PlayerShip;
class RenderView;
class SceneDrawSet;
class ShaderGenBase;
class ShadowmapNode;
class SpriteDrawer;
class SpriteSheet;
class StageScene;
class StaticModelRoot;
class TextureProjection;
class TexturedScreenDrawer;
class UvScrollObject;
class WorldEventLog;

// A light score chip, pooled like the bullets; its point lives in the stage scene's
// `sceneRoot` frame.
struct ScoreChipRecord {
    BulletWorld* owner = nullptr;
    ScoreChipRecord* next = nullptr;
    int32_t value = 0;
    Vec3 position{};
    Vec3 velocity{};
    float uMin = 0.0f, vMin = 0.0f, uMax = 0.0f, vMax = 0.0f;
    Vec3 corners[4]{};
    int32_t age = 0;
    int32_t soundId = 0;
};

// A spark: a shrinking disc, pooled; its point lives in the `sceneRoot` frame.
struct SparkRecord {
    BulletWorld* owner = nullptr;
    SparkRecord* next = nullptr;
    Vec3 position{};
    Vec3 velocity{};
    float size = 0.0f;
    int32_t age = 0;
};

// A player's reflect gauge as the reflect force writes it: 1 charging, 2 full,
// 3 discharging; value 0..1.
struct ReflectGauge {
    int32_t state = 0;
    float value = 0.0f;
};

// The scene that shows and runs one stage. It owns what a stage needs that is not a
// stage object itself (inputs, ships, generators and drawers, the world root, the
// bullet, chip and spark pools, the hit lists, the stage timer, the clear and the
// music), and every game object reaches the game through its services.
//
// Task slots: the alive test is Step, the update hook OnUpdatePre, the after-children
// update ApplyBombDamage, the draw hooks OnDrawPre and DrawHud. Derived screens replace
// the update and draw hooks and call the base update hook from theirs.
class GameWorldScreen : public SceneTask, public ResultWorld {
  public:
    enum PlayMode : int32_t { kPlayLive = 0, kPlayReplay = 1, kPlayRecord = 2 };

    static constexpr int32_t kDefaultExitCountdown = 17;
    static constexpr float kClearCountdown = 12.0f;
    static constexpr float kClearFloor = -1.3f;
    static constexpr float kCancelWindow = 0.3f;
    static constexpr int32_t kGeneratorCount = 14;
    static constexpr int32_t kPopupLimit = 4;
    static constexpr int32_t kCameraHoldSteps = 30;
    static constexpr int32_t kSpawnProtection = 300;
    static constexpr int32_t kClearProtection = 6000;
    static constexpr float kRespawnZ = -6.0f;
    static constexpr float kRespawnSpread = 6.5f;
    static constexpr float kDifficultyScale = 0.14285715f;
    static constexpr int32_t kPlayerSlotWords = 5;

    GameWorldScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                    int32_t difficulty, int32_t playMode, int32_t stageEntryIndex, uint8_t musicOn,
                    uint8_t livePlay);
    ~GameWorldScreen() override;

    bool IsAlive() override { return Step(); }
    // The screen's update: timer, clear, music, respawn, camera, bullets and the world
    // freeze, before every stage object. Derived screens call it from theirs.
    void OnUpdatePre() override;
    void OnUpdatePost() override { ApplyBombDamage(); }
    // The world pass (WorldDraw.cpp).
    void OnDrawPre() override;
    void OnDrawPost() override { DrawHud(); }

    // Moves reflected bullets, chips and sparks; once the screen is no longer current
    // counts the exit countdown down and answers false at 0.
    virtual bool Step();
    // The head-up display (Hud.cpp): the play screen's full set, then the reduced
    // sets of the screens derived from it; each submits the 2D draw set.
    virtual void DrawHud();
    void DrawHudNoScore();
    void DrawHudGauges();
    void DrawHudMinimal();
    // The credit prompts of both players from the anchor; they blink every 32 steps.
    void DrawCredits(float x, float y);
    void SetExitCountdown(int32_t steps) { exitCountdown = steps; }
    // Noted in the event log when the request is made.
    void RequestSuccessor(const String& name) override;
    void RequestBreakIn(const String& name) override;
    int32_t GetExitCountdown() const { return exitCountdown; }

    // Stage loading (StageLoad.cpp).
    void LoadStage();
    // The five stage cameras, in the order they are built.
    enum class CameraId : int32_t { kScene, kBomb, kShip, kWater, kEffect };
    CameraNode* GetCamera(CameraId id) const;
    // Generator 1 to 14 in the constructor's order; empty for any other number.
    RefPtr<ShaderGenBase> GetGenerator(int32_t number) const;
    // One frame of the stage through its cameras: shadow, background or water, bomb,
    // scene, effects, the 2D set, shots, ships, items and bullets. The spawn parents,
    // "Scene" and the ships are taken out of the tree for the frame and put back at
    // its end. (Not Draw: that is the task tree's traversal.)
    void DrawWorld();
    // The water texture is redrawn every other frame of any world screen; tests
    // start from a known phase.
    static void ResetWaterParity();

    // Spawning.
    EnemyBulletRecord* FireEnemyBullet(const Vec3& position, const Vec3& velocity, int32_t spriteIndex,
                                       float size);
    ReflectedBulletRecord* FireReflectedBullet(const Vec3& position, const Vec3& velocity,
                                               uint32_t playerMask);
    void UpdateEnemyBullets();
    void UpdateReflectedBullets();
    void CancelAllEnemyBullets();
    void DrawEnemyBullets();
    void DrawReflectedBullets();
    // The point's projection lies within `margin` pixels of the viewport.
    bool IsOnScreen(const Vec3& point, float margin) const { return mapping.IsOnScreen(point, margin); }
    TaskObject* SpawnItem(const Vec3& position, const Vec3& velocity, const char* name);
    // A player shot's 32-pixel sprite of the "game" sheet at the point's projection,
    // turned to the direction (PlayerShotSprite.cpp).
    void DrawPlayerBulletSprite(const Vec3& worldPosition, const Vec3& direction, int32_t cell);
    // The first of the effect camera's views, with which the shots' sprites go out: the
    // camera submits the shots once per view, the sprites are wanted once a frame.
    bool IsShotSpriteView(const RenderView* view) const;
    ScoreChipRecord* SpawnScoreChip(const Vec3& position, const Vec3& velocity, int32_t row, int32_t value,
                                    int32_t soundId);
    void UpdateScoreChips();
    void DrawScoreChips();
    SparkRecord* SpawnSpark(const Vec3& position, const Vec3& velocity, float size);
    void UpdateSparks();
    void DrawSparks();
    // A one-shot effect model under `effectParent`, at the position in that frame.
    TaskObject* SpawnEffect(const Vec3& position, const Vec3& velocity, const char* name, const Vec3& scale);
    // A stage decal under the stage scene's `sceneRoot`, or under the given parent
    // (EffectLayers.cpp).
    UvScrollObject* CreateUvScrollObject(const Vec3& position, const Vec3& velocity, const char* name,
                                         const Vec3& scale, uint8_t hideDuringBomb);
    UvScrollObject* CreateUvScrollObjectUnder(TaskObject* parent, const Vec3& position, const Vec3& velocity,
                                              const char* name, const Vec3& scale, uint8_t hideDuringBomb);
    // Number pop-ups of player 1 or 2 at a screen position; a group keeps the four newest.
    TaskObject* CreateFallingSprite(const Vec3& worldPosition, const Vec3& screenPosition, int32_t number,
                                    int32_t player);
    TaskObject* CreateGravitySprite(const Vec3& worldPosition, const Vec3& screenPosition, int32_t number,
                                    int32_t player);
    // A pop-up going away; the player's newest pointer must not outlive it.
    void ForgetPopup(const TaskObject* sprite);
    void SpawnPlayers(int32_t playerMask);
    // The front-end screens' ships, bound to the players' inputs; replaces a ship the
    // player still has.
    void SpawnPlayersAtStart(int32_t playerMask);

    // Players and their ships.
    // 1 or 2: that ship (may be null); 3: either, by the screen's generator, the dummy
    // ship when neither exists; anything else null.
    PlayerShip* GetPlayer(int32_t player);
    PlayerShip* GetNearestPlayer(const Vec3& point);
    // Radians of the direction from p toward where q is seen through the stage camera, in
    // the plane of p.
    float ProjectedAimAngle(const Vec3& p, const Vec3& q) const;
    PlayerShip* GetDummyShip() const { return dummyShip; }
    // The play input of player 1 or 2 (replayed in replay play); null for others.
    const PlayerInput* GetPlayInput(int32_t player) const {
        return player == 1 || player == 2 ? playerInputs[player - 1].Get() : nullptr;
    }
    int32_t* GetPlayerSlot(int32_t player);
    bool CanMoveNegativeX(int32_t player);
    bool CanMovePositiveX(int32_t player);
    bool CanPlayerAct(uint32_t playerBit) const;
    void KillPlayers(int32_t playerMask);
    // A ship going away: its slot and its hit circles go with it.
    void ForgetShip(const PlayerShip* ship);
    void DisableRespawn() { respawnDisabled = 1; }
    void CountKill(uint32_t playerMask) { kills.CountKill(playerMask); }
    void CountAppearedEnemy() { kills.CountAppearedEnemy(); }
    int32_t GetKillPercent(uint32_t playerMask) const override { return kills.GetKillPercent(playerMask); }
    const KillCounter& GetKillCounter() const { return kills; }
    void SetReflectGauge(uint32_t playerMask, const ReflectGauge* gauge);
    const ReflectGauge& GetReflectGauge(int32_t player) const { return reflectGauges[player == 2 ? 1 : 0]; }

    // Score: every amount is multiplied by the player's multiplier (the raw one is
    // not), each score and the pair's sum stay under the cap.
    void AddScore(uint32_t playerMask, int32_t value);
    void AddScore64(uint32_t playerMask, int64_t value) override;
    void AddScoreRaw(uint32_t playerMask, uint64_t value) override;
    void LaunchBomb(uint32_t playerMask);
    void ApplyBombDamage();
    // What every bomb strikes each step: all zero but 1.0 in the third component.
    static const AttackVector& BombAttackTable();
    // A chip or score item taken by player 1 or 2: raises the chain and the multiplier,
    // pays the chain, earlier pickups paying more, and shows the new chain.
    void CollectPickup(int32_t player, int32_t value, int32_t age, const Vec3& worldPosition,
                       int32_t soundId);

    // Stage state.
    float GetTimeLeft() const { return timeLimit > 0.0f ? timeLimit : 0.0f; }
    // Unclamped, as the stage timer counts it.
    float GetRawTimeLeft() const { return timeLimit; }
    // Puts the stage timer at `seconds` (tests go straight to a boss's time marks).
    void SetTimeLeft(float seconds) { timeLimit = seconds; }
    int32_t GetClearTime() const override { return clearTime; }
    int32_t GetPlayingStage() const;
    int32_t GetDifficultyLevel() const { return difficulty; }
    float GetDifficultyScale() const { return float(difficulty) * kDifficultyScale; }
    StaticModelRoot* GetWorldRoot() const { return worldRoot; }
    StageScene* GetStageScene() const { return stageScene; }
    // The stage scene's `sceneRoot`, which scrolls with the stage.
    Object3D* GetSceneRoot() const { return ShipParent(); }
    // The stage clock: the stage scene's motion time.
    float GetStageTime() const;
    int32_t GetStageEntryIndex() const { return stageEntryIndex; }
    const StageEntryHandle& GetStageEntry() const { return stageEntry; }
    bool IsNotCleared() const { return cleared == 0; }
    bool IsBombActive() const { return bombActive != 0; }
    void SetBombActive(bool flag);
    void EnableFreeBombs() { freeBombs = 1; }
    bool AreBombsFree() const { return freeBombs != 0; }
    void SetTimeLimitEnabled(bool flag) { timeLimitEnabled = flag ? 1 : 0; }
    bool IsTimeLimitEnabled() const { return timeLimitEnabled != 0; }
    bool IsTimeLimitRunning() const { return timeLimitRunning != 0; }
    bool IsMusicPaused() const { return musicPaused != 0; }
    void SetNoClear(bool flag) { noClear = flag ? 1 : 0; }
    bool IsLivePlay() const { return livePlay != 0; }
    int32_t GetPlayMode() const { return playMode; }
    int32_t GetLivePlayerBullets() const { return playerBulletCount; }
    void AddLivePlayerBullet(int32_t change) { playerBulletCount += change; }

    // Stage clear and music (StageClear.cpp).
    void LoadStageMusic();
    void BeginStageClear();
    void StopAllMusic();
    void StopStageMusic() override;

    // Projection through `sceneCamera`, set once a step.
    void SetupCamera();
    Vec3 ProjectToScreen(const Vec3& point) const { return mapping.ProjectToScreen(point); }
    float ProjectRadius(const Vec3& point, float radius) const {
        return mapping.ProjectRadius(point, radius);
    }
    // A world point in the frame of the stage scene's `sceneRoot`, where effects,
    // items and player shots live.
    Vec3 ToStageCameraSpace(const Vec3& point);
    void ComputeProjectiveTextureMatrix(Matrix4& out, CameraNode& camera) const;
    const ScreenMapping& GetScreenMapping() const { return mapping; }

    // Sound shortcuts.
    void PlaySe(int32_t id);
    void PlayShotSe();
    void PlayExplosionSeRandom();
    void PlayExplosionSe4() { PlaySe(kSeExplosion4); }
    void PlayExplosionSe5() { PlaySe(kSeExplosion5); }
    void StartReflectLoopSe();
    void StopReflectLoopSe();
    void PlaySe16() { PlaySe(kSeReflectRecovery); }

    // Enemy groups: one wave number per group letter while it has members.
    bool JoinGroup(int32_t group, uint8_t number) { return groups.JoinGroup(group, number); }
    void LeaveGroup(int32_t group) { groups.LeaveGroup(group); }
    const EnemyGroups& GetGroups() const { return groups; }

    // Collision lists of this step.
    WorldHitLists& HitLists() { return hitLists; }
    void ClearHitLists() { hitLists.ClearHitLists(); }
    const EnemyBullets& Bullets() const { return bullets; }
    int32_t GetScoreChipCount() const { return chipCount; }
    int32_t GetSparkCount() const { return sparkCount; }
    // The pooled chips and sparks, newest first; null after the last (state checks).
    const ScoreChipRecord* FirstScoreChip() const {
        return chipHead.next == &chipHead ? nullptr : chipHead.next;
    }
    const ScoreChipRecord* NextScoreChip(const ScoreChipRecord* r) const {
        return r->next == &chipHead ? nullptr : r->next;
    }
    const SparkRecord* FirstSpark() const { return sparkHead.next == &sparkHead ? nullptr : sparkHead.next; }
    const SparkRecord* NextSpark(const SparkRecord* r) const {
        return r->next == &sparkHead ? nullptr : r->next;
    }
    Random& GetRandom() { return random; }

    // The 2D drawers of the in-game sheet and the reflected-bullet sheet; null without a screen.
    TexturedScreenDrawer* GetGameDrawer() const { return gameDrawer.Get(); }
    TexturedScreenDrawer* GetReflectedDrawer() const { return reflectedDrawer.Get(); }
    SpriteDrawer* GetGameSpriteDrawer() const { return gameSpriteDrawer.Get(); }
    TexturedScreenDrawer* GetSystemDrawer() const { return systemDrawer.Get(); }

    // Sees every enemy bullet asked for, before any refusal (the pattern tests); none
    // in the game.
    using EnemyShotProbe = void (*)(void* context, const Vec3& position, const Vec3& velocity,
                                    int32_t spriteIndex, float size);
    void SetEnemyShotProbe(EnemyShotProbe probe, void* context) {
        enemyShotProbe = probe;
        enemyShotContext = context;
    }

    // What the screen did, step by step; none in the game.
    void SetEventLog(WorldEventLog* log) { eventLog = log; }
    WorldEventLog* GetEventLog() const { return eventLog; }

    // Builds the result tally of a clear under the screen; the stand-in when unset.

    // Stage nodes made by LoadStage.
    StageScene* stageScene = nullptr;
    Object3D* cameraRig = nullptr;
    CameraNode* sceneCamera = nullptr;
    CameraNode* bombCamera = nullptr;
    CameraNode* shipCamera = nullptr;
    CameraNode* waterCamera = nullptr;
    CameraNode* effectCamera = nullptr;
    TextureProjection* textureProjection = nullptr;
    // The last shadow map the light file built, or the stage's default one.
    ShadowmapNode* shadowMapNode = nullptr;
    StaticModelRoot* playerShotParent = nullptr;
    StaticModelRoot* itemParent = nullptr;
    StaticModelRoot* effectParent = nullptr;
    StaticModelRoot* underlayParent = nullptr;
    StaticModelRoot* bomberParent = nullptr;
    // The running bomb's bomber model, placed at its owner's ship each step.
    Object3D* bomber = nullptr;
    int32_t bombOwnerMask = 0;
    PlayerShip* ships[2] = {nullptr, nullptr};

  protected:
    // A player's input under the input manager, with the game's keys and the
    // screens' repeat. Without an input manager (a headless screen) it reads no device.
    RefPtr<PlayerInput> MakePlayerInput(uint32_t flags);
    // The ".trace" files of both players: read in replay play, written in record play.
    String TraceName(int32_t player) const;
    void ReadTraces();
    void WriteTraces();
    // Notes an operation in the event log, when there is one.
    void Note(const char* operation, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 3, 4)))
#endif
        ;

    // The 2D draw set and its drawers, drawn in the middle of the world pass.
    RefPtr<SceneDrawSet> drawSet;
    RefPtr<TexturedScreenDrawer> gameDrawer;
    RefPtr<SpriteDrawer> gameSpriteDrawer;
    RefPtr<TexturedScreenDrawer> systemDrawer;
    RefPtr<TexturedScreenDrawer> effectDrawer;
    RefPtr<TexturedScreenDrawer> reflectedDrawer;
    RefPtr<ColoredScreenDrawer> addColorDrawer;
    RefPtr<ColoredScreenDrawer> colorDrawer;
    RefPtr<SpriteSheet> waterTarget;

  private:
    friend class Hud;
    Hud& GetHud();
    void SubmitDrawSet();
    std::unique_ptr<Hud> hud;

    // The bullets' view of the screen.
    class BulletPort : public BulletWorld {
      public:
        explicit BulletPort(GameWorldScreen& screen) : screen(screen) {}
        float GetTimeLeft() override { return screen.GetTimeLeft(); }
        bool IsCleared() override { return !screen.IsNotCleared(); }
        bool IsBombActive() override { return screen.IsBombActive(); }
        bool HasAnyShip() override { return screen.ships[0] != nullptr || screen.ships[1] != nullptr; }
        Vec3 GetCameraEye() override;
        const Matrix4& GetSceneRootWorldMatrix() override;
        const Matrix4& GetSceneRootInverseWorldMatrix() override;
        const Matrix4& GetItemParentInverseWorldMatrix() override;
        void SpawnEffect(const char* name, const Vec3& position) override;
        void SpawnItem(const Vec3& position, const Vec3& velocity, const char* name) override {
            screen.SpawnItem(position, velocity, name);
        }
        void SpawnSpark(const Vec3& position, const Vec3& velocity, float size) override {
            screen.SpawnSpark(position, velocity, size);
        }
        void PlaySe(int32_t id) override { screen.PlaySe(id); }
        void AddScore(uint32_t playerMask, int64_t value) override { screen.AddScore64(playerMask, value); }
        Random& GetRandom() override { return screen.random; }
        WorldEventLog* GetEventLog() override { return screen.eventLog; }

      private:
        GameWorldScreen& screen;
    };

    // Bullet quads to a drawer of the 2D draw set.
    class BulletSink : public BulletTriangleSink {
      public:
        void AddTriangle(float sortKey, const BulletVertex& a, const BulletVertex& b,
                         const BulletVertex& c) override;
        TexturedScreenDrawer* drawer = nullptr;
    };

    void BuildInputs();
    void BuildGenerators();
    void BuildDrawSet();
    void ResolveStageEntry(int32_t requested);
    // The render views of one camera, from the stage view table.
    void BuildCameraViews(CameraId id);
    // The stage's light file (or the default lights) and its shadow map.
    void LoadLights(Object3D* sceneRoot);
    // The object the ships and the dummy ship hang under: the stage scene's `sceneRoot`.
    Object3D* ShipParent() const;
    void FollowCamera();
    void FreezeWorld(bool noShip);
    void OrderPopups();
    void PlayStageOneCues();
    // An effect at a point of the `sceneRoot` frame.
    TaskObject* PlaceEffect(const Vec3& local, const Vec3& velocity, const char* name, const Vec3& scale);
    // The x of each ship; none where a player has no ship.
    std::array<std::optional<float>, 2> ShipXs() const;
    // The one spawn routine of the two ship spawns.
    PlayerShip* MakeShip(int32_t player, float x, float z);
    // Cue operations, each noted in the event log; nothing happens on an empty cue.
    void StartCue(SoundCueRef& cue, const char* name, uint8_t loop);
    void StopCue(SoundCueRef& cue, const char* name);
    TaskObject* MakePopup(TaskObject* group, TaskObject*& newest, bool gravity, const Vec3& screenPosition,
                          int32_t number, int32_t player);

    int32_t playMode;
    RefPtr<PlayerInput> idleInput;
    RefPtr<PlayerInput> playerInputs[2];
    uint8_t noClear = 0;
    std::array<RefPtr<ShaderGenBase>, kGeneratorCount> generators;
    RefPtr<SpriteSheet> effectSheet;
    RefPtr<SpriteSheet> reflectedSheet;
    RefPtr<SpriteSheet> gameSheet;
    RefPtr<SpriteSheet> systemSheet;
    ReflectGauge reflectGauges[2];
    uint8_t livePlay;
    ScreenMapping mapping;
    WorldHitLists hitLists{mapping};
    BulletPort bulletPort{*this};
    EnemyBullets bullets{bulletPort, mapping, hitLists};
    BulletSink bulletSink;
    RecordPool<ScoreChipRecord> chipPool;
    RecordPool<SparkRecord> sparkPool;
    ScoreChipRecord chipHead{};
    SparkRecord sparkHead{};
    int32_t chipCount = 0;
    int32_t sparkCount = 0;
    int32_t playerBulletCount = 0;
    Random random;
    uint8_t musicOn;
    SoundCueRef currentCue;
    SoundCueRef stageCue;
    SoundCueRef bossCue;
    SoundCueRef clearCue;
    SoundCueRef nameCue;
    SoundCueRef continueCue;
    SoundCueRef interruptCue;
    // Which of "name" and "conti" the interrupt cue is: 0 none, 1 name, 2 conti.
    int32_t interruptKind = 0;
    uint8_t musicPaused = 0;
    uint8_t reflectSound = 0;
    uint8_t stageOneCues[4] = {0, 0, 0, 0};
    uint8_t cleared = 0;
    float clearCountdown = kClearCountdown;
    uint8_t timeLimitRunning = 0;
    float timeLimit = 0.0f;
    int32_t clearTime = 0;
    int32_t exitCountdown = kDefaultExitCountdown;
    int32_t difficulty;
    int32_t stageEntryIndex;
    StageEntryHandle stageEntry;
    StaticModelRoot* worldRoot = nullptr;
    TaskObject* popupGroups[2] = {nullptr, nullptr};
    TaskObject* newestPopups[2] = {nullptr, nullptr};
    TaskObject* gravityGroups[2] = {nullptr, nullptr};
    TaskObject* newestGravitySprites[2] = {nullptr, nullptr};
    EnemyGroups groups;
    uint8_t respawnDisabled = 0;
    float lastShipX[2] = {0.0f, 0.0f};
    PlayerShip* dummyShip = nullptr;
    int32_t cameraHold = 0;
    int32_t playerSlots[3][kPlayerSlotWords] = {};
    uint8_t bombActive = 0;
    uint8_t freeBombs = 0;
    KillCounter kills;
    uint8_t timeLimitEnabled = 1;
    float clearFloor = kClearFloor;
    WorldEventLog* eventLog = nullptr;
    EnemyShotProbe enemyShotProbe = nullptr;
    void* enemyShotContext = nullptr;
};

}  // namespace mareldon
