#include "game/stage/GameWorldScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "engine/core/Log.h"
#include "engine/core/PlayerInput.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "engine/render/scene/CameraNode.h"
#include "game/render/ExpShaderGen.h"
#include "game/render/LightWeightShaderGen.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"
#include "game/render/WaterShaderGen.h"
#include "game/stage/FallingSprite.h"
#include "game/stage/Hud.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StageTraces.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"
#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"

namespace mareldon {

namespace {

constexpr uint32_t kClearColour = 0xFF000000u;
constexpr int32_t kRepeatDelay = 20;
constexpr int32_t kRepeatInterval = 4;
constexpr int32_t kWaterTargetSize = 256;
constexpr uint32_t kWaterTargetKind = 5;
constexpr float kFollowClamp = 1.5f;
constexpr float kFollowScale = 3.3333333f;
constexpr float kFollowRate = 0.3f;
constexpr float kFollowStep = 0.9f;

// The stage-1 sound schedule: each sounds once when the stage clock passes its time.
struct TimedSe {
    float time;
    int32_t id;
};
constexpr TimedSe kStageOneSes[4] = {{42.0f, 24}, {43.0f, 23}, {46.0f, 25}, {126.0f, 27}};

// The six render-state words as the generator table writes them: each the device
// value, depth write 0 or 1.
RenderStateBlock States(BlendFactor dest, CompareFunc depth, int32_t depthWrite) {
    RenderStateBlock block;
    block.srcBlend = int32_t(BlendFactor::SrcAlpha);
    block.destBlend = int32_t(dest);
    block.zFunc = int32_t(depth);
    block.zWrite = depthWrite;
    return block;
}

}  // namespace

GameWorldScreen::GameWorldScreen(GameSystem* system, const String& breakInName, const String& successorName,
                                 int32_t difficultyLevel, int32_t mode, int32_t requestedEntry, uint8_t music,
                                 uint8_t live)
    : SceneTask(system, breakInName, successorName, 0),
      playMode(mode == kPlayReplay || mode == kPlayRecord ? mode : kPlayLive),
      livePlay(live),
      musicOn(music),
      difficulty(difficultyLevel),
      stageEntryIndex(requestedEntry) {
    chipHead.next = &chipHead;
    sparkHead.next = &sparkHead;
    BuildInputs();
    BuildGenerators();
    BuildDrawSet();
    worldRoot = new StaticModelRoot(this);
    for (int player = 0; player < 2; ++player) {
        popupGroups[player] = new TaskObject(this, 0);
        gravityGroups[player] = new TaskObject(this, 0);
    }
    new TaskObject(this, 0);
    ClearHitLists();
    ResolveStageEntry(requestedEntry);
    if (owner != nullptr) {
        owner->GetPlayer(1).chain = 0;
        owner->GetPlayer(2).chain = 0;
    }
    LoadStage();
    LoadStageMusic();
    if (playMode == kPlayReplay)
        ReadTraces();
    dummyShip = new PlayerShip(ShipParent(), this, 0, 0, idleInput, 0.0f, 0.0f, -100.0f);
}

GameWorldScreen::~GameWorldScreen() {
    if (playMode == kPlayRecord)
        WriteTraces();
    StopAllMusic();
    if (owner != nullptr)
        owner->StopAllSe();
    // Ships, bullets of the ships and pop-ups call back into the screen while they go,
    // so the children go while every member still stands.
    DeleteChildren();
    stageScene = nullptr;
    worldRoot = nullptr;
    dummyShip = nullptr;
}

void GameWorldScreen::BuildInputs() {
    const uint32_t modeBits = playMode == kPlayReplay   ? PlayerInput::kReplay
                              : playMode == kPlayRecord ? PlayerInput::kRecord
                                                        : 0u;
    idleInput = RefPtr<PlayerInput>(new PlayerInput(inputManager, 0));
    playerInputs[0] = MakePlayerInput(modeBits | PlayerInput::kPad0 | PlayerInput::kKeyboard);
    playerInputs[1] = MakePlayerInput(modeBits | PlayerInput::kPad1);
}

RefPtr<PlayerInput> GameWorldScreen::MakePlayerInput(uint32_t flags) {
    RefPtr<PlayerInput> input(new PlayerInput(inputManager, flags));
    if (owner != nullptr)
        input->SetKeyMap(owner->GetKeyMap());
    input->SetRepeat(0xFFFFFFFFu, kRepeatDelay, kRepeatInterval);
    return input;
}

String GameWorldScreen::TraceName(int32_t player) const {
    return StageTraces::FileName(stageEntry ? stageEntry->stageId : String(), player);
}

void GameWorldScreen::ReadTraces() {
    for (int32_t player = 1; player <= 2; ++player) {
        PlayerInput& input = *playerInputs[player - 1];
        int32_t shipType = 0;
        if (StageTraces::Read(fileSystem, TraceName(player), input, shipType) && owner != nullptr)
            owner->GetPlayer(player).shipType = shipType;
        // The recording input wrote its first record in its own reset; consuming
        // it the same way keeps the replay on the recorded steps.
        input.Reset();
        input.SetRepeat(0xFFFFFFFFu, kRepeatDelay, kRepeatInterval);
    }
}

void GameWorldScreen::WriteTraces() {
    for (int32_t player = 1; player <= 2; ++player) {
        const uint32_t shipType = owner != nullptr ? uint32_t(owner->GetPlayer(player).shipType) : 0u;
        StageTraces::Write(fileSystem, TraceName(player), shipType, *playerInputs[player - 1]);
    }
}

void GameWorldScreen::BuildGenerators() {
    if (!renderer)
        return;
    auto normal = [this](const RenderStateBlock* states, bool unlit = false) {
        RefPtr<NormalShaderGen> generator(new NormalShaderGen(renderer));
        if (states != nullptr)
            generator->states = *states;
        generator->forcedUnlit = unlit;
        return RefPtr<ShaderGenBase>(generator);
    };
    auto lightWeight = [this](const RenderStateBlock& states, bool unlit) {
        RefPtr<LightWeightShaderGen> generator(new LightWeightShaderGen(renderer));
        generator->states = states;
        generator->forcedUnlit = unlit;
        return RefPtr<ShaderGenBase>(generator);
    };
    const RenderStateBlock add = States(BlendFactor::One, CompareFunc::LessEqual, 0);
    const RenderStateBlock alpha = States(BlendFactor::InvSrcAlpha, CompareFunc::LessEqual, 0);
    const RenderStateBlock overAlpha = States(BlendFactor::InvSrcAlpha, CompareFunc::Always, 0);
    const RenderStateBlock overAdd = States(BlendFactor::One, CompareFunc::Always, 0);
    generators = {normal(nullptr),
                  normal(&add),
                  normal(&alpha),
                  normal(nullptr, true),
                  normal(&add, true),
                  RefPtr<ShaderGenBase>(new WaterShaderGen(renderer)),
                  RefPtr<ShaderGenBase>(new ExpShaderGen(renderer)),
                  normal(&overAlpha),
                  normal(&overAdd),
                  lightWeight(overAlpha, false),
                  lightWeight(overAdd, false),
                  lightWeight(overAlpha, false),
                  lightWeight(overAlpha, true),
                  lightWeight(overAdd, true)};
}

void GameWorldScreen::BuildDrawSet() {
    // Without a screen there is nothing to draw on.
    if (!renderer || !screenTarget)
        return;
    waterTarget = RefPtr<SpriteSheet>(SpriteSheet::SpriteSheetForTexture(
        renderer, "WaterTarget", kWaterTargetKind, kWaterTargetSize, kWaterTargetSize));
    // The display's sprites belong to the sheets made here.
    hud.reset();
    drawSet = RefPtr<SceneDrawSet>(new SceneDrawSet(renderer));
    ClearRecord clear = RenderView::DefaultClear();
    // No clear flags: the set is drawn in the middle of the world pass.
    clear.flags = 0;
    clear.color = kClearColour;
    clear.z = 1.0f;
    clear.stencil = 0;
    const TextureViewport whole{0, 0, 0, 0, 0.0f, 0.0f};
    RefPtr<RenderView> view(
        new RenderView(renderer, RefPtr<TextureBase>(screenTarget), clear, generators[7], whole));
    view->AddLayer("addsat", generators[8]);
    drawSet->AddView(view);

    addColorDrawer = RefPtr<ColoredScreenDrawer>(new ColoredScreenDrawer(*drawSet, "addsat"));
    colorDrawer = RefPtr<ColoredScreenDrawer>(new ColoredScreenDrawer(*drawSet, "shadingname"));
    gameSheet = RefPtr<SpriteSheet>(new SpriteSheet(renderer, "game"));
    systemSheet = RefPtr<SpriteSheet>(new SpriteSheet(renderer, "systemimage"));
    gameDrawer = RefPtr<TexturedScreenDrawer>(new TexturedScreenDrawer(*drawSet, "shadingname", gameSheet));
    gameSpriteDrawer = RefPtr<SpriteDrawer>(new SpriteDrawer(*drawSet, "shadingname", gameSheet));
    systemDrawer =
        RefPtr<TexturedScreenDrawer>(new TexturedScreenDrawer(*drawSet, "shadingname", systemSheet));
    effectSheet = RefPtr<SpriteSheet>(new SpriteSheet(renderer, "effect_all"));
    effectDrawer =
        RefPtr<TexturedScreenDrawer>(new TexturedScreenDrawer(*drawSet, "shadingname", effectSheet));
    reflectedSheet = RefPtr<SpriteSheet>(new SpriteSheet(renderer, "hansyadan"));
    reflectedDrawer =
        RefPtr<TexturedScreenDrawer>(new TexturedScreenDrawer(*drawSet, "shadingname", reflectedSheet));
}

void GameWorldScreen::ResolveStageEntry(int32_t requested) {
    if (owner == nullptr)
        return;
    const int32_t count = owner->GetStageCount();
    const int32_t first = std::clamp(requested, 0, std::max(count - 1, 0));
    int32_t index = first;
    // The search stops at the table's end: with no stage model at or after the
    // requested entry the requested one is loaded as it is.
    while (index < count && renderer && !renderer->HasModel(owner->GetStageEntry(index)->stageId))
        ++index;
    if (index >= count) {
        LOG_WARN("stage", "no stage model at or after entry %d; loading entry %d without one", requested,
                 first);
        index = first;
    }
    stageEntryIndex = index;
    stageEntry = owner->GetStageEntry(index);
}

Object3D* GameWorldScreen::ShipParent() const {
    if (stageScene != nullptr && stageScene->sceneRoot != nullptr)
        return stageScene->sceneRoot;
    return worldRoot;
}

float GameWorldScreen::GetStageTime() const {
    return stageScene != nullptr ? stageScene->GetMotionTime() : 0.0f;
}

int32_t GameWorldScreen::GetPlayingStage() const {
    return owner != nullptr ? owner->GetPlayingStage() : 0;
}

bool GameWorldScreen::Step() {
    UpdateReflectedBullets();
    UpdateScoreChips();
    UpdateSparks();
    if (IsNotCurrentScene())
        --exitCountdown;
    return exitCountdown > 0;
}

void GameWorldScreen::OnUpdatePre() {
    if (eventLog != nullptr)
        eventLog->SetStep(stepCount);
    if (stageEntryIndex == 1)
        PlayStageOneCues();

    // Decided before the respawn: the step a ship comes back in still runs frozen.
    const bool noShip = ships[0] == nullptr && ships[1] == nullptr;
    if (noShip)
        CancelAllEnemyBullets();

    if (livePlay && !respawnDisabled && owner != nullptr) {
        for (int player = 1; player <= 2; ++player) {
            const PlayerRecord& record = owner->GetPlayer(player);
            if (ships[player - 1] == nullptr && record.shipStock > 0 && !owner->IsPlayerSelectingShip(player))
                SpawnPlayers(player);
        }
    }

    if (cleared) {
        clearCountdown -= framePeriod;
        if (clearCountdown < 0.0f) {
            clearCountdown = 0.0f;
            RequestSuccessor("nextstage");
        }
    } else if (!noShip && timeLimitRunning && timeLimitEnabled) {
        timeLimit -= framePeriod;
        if (timeLimit <= kCancelWindow)
            CancelAllEnemyBullets();
        if (timeLimit < clearFloor) {
            timeLimit = clearFloor;
            BeginStageClear();
        }
    }

    if (livePlay)
        FollowCamera();

    if (bombActive || cleared)
        CancelAllEnemyBullets();
    if (bombActive && bomber != nullptr) {
        PlayerShip* ship = (bombOwnerMask & 1) ? ships[0] : (bombOwnerMask & 2) ? ships[1] : nullptr;
        if (ship != nullptr)
            bomber->SetPosition(ship->GetPosition());
    }

    const float stageTime = GetStageTime();
    if (musicOn && stageEntry && stageTime > stageEntry->bossMusicTime && !stageCue.IsEmpty()) {
        StopCue(stageCue, "stage");
        StartCue(bossCue, "boss", 0);
        stageCue = SoundCueRef();
        currentCue = bossCue;
    }
    if (stageEntry && stageTime > stageEntry->timeLimitStart)
        timeLimitRunning = 1;

    ClearHitLists();
    UpdateEnemyBullets();
    FreezeWorld(noShip);
    SetupCamera();
    OrderPopups();
    if (owner != nullptr && owner->GetCurrentScene() != this)
        StopAllMusic();
}

void GameWorldScreen::PlayStageOneCues() {
    const float stageTime = GetStageTime();
    for (int i = 0; i < 4; ++i) {
        if (!stageOneCues[i] && stageTime > kStageOneSes[i].time) {
            stageOneCues[i] = 1;
            PlaySe(kStageOneSes[i].id);
        }
    }
}

void GameWorldScreen::FollowCamera() {
    if (cameraRig == nullptr)
        return;
    float target = 0.0f;
    if (ships[0] != nullptr && ships[1] != nullptr) {
        const float mean = (ships[0]->GetPosition().x + ships[1]->GetPosition().x) * 0.5f;
        target = std::clamp(mean, -kFollowClamp, kFollowClamp) * kFollowScale;
        cameraHold = kCameraHoldSteps;
    } else if (ships[0] != nullptr || ships[1] != nullptr) {
        target = (ships[0] != nullptr ? ships[0] : ships[1])->GetPosition().x;
    } else {
        cameraHold = kCameraHoldSteps;
    }
    const float rigX = cameraRig->GetPosition().x;
    float d = std::clamp((rigX - target) * kFollowRate, -kFollowStep, kFollowStep);
    // After the ships change, the first moves are softened.
    if (cameraHold > 0) {
        d = d * std::fabs(d);
        --cameraHold;
    }
    cameraRig->SetPosition(Vec3{rigX - d, 0.0f, 0.0f});
}

void GameWorldScreen::FreezeWorld(bool noShip) {
    if (!noShip) {
        SetUpdateChildren(true);
        if (musicOn && musicPaused) {
            musicPaused = 0;
            if (!currentCue.IsEmpty()) {
                currentCue.Resume();
                Note("CueResume", "current");
            }
            StopCue(interruptCue, interruptKind == 1 ? "name" : "conti");
            interruptCue = SoundCueRef();
            interruptKind = 0;
        }
        if (worldRoot != nullptr)
            worldRoot->StepAnimation();
        return;
    }
    SetUpdateChildren(false);
    if (musicOn && !musicPaused) {
        musicPaused = 1;
        if (!currentCue.IsEmpty()) {
            currentCue.Pause();
            Note("CuePause", "current");
        }
    }
    if (owner != nullptr) {
        const bool naming = owner->IsPlayerStatus12(1) || owner->IsPlayerStatus12(2);
        if (!naming) {
            if (interruptKind != 2 && musicOn &&
                (owner->IsPlayerStatus9To11(1) || owner->IsPlayerStatus9To11(2))) {
                StopCue(interruptCue, interruptKind == 1 ? "name" : "none");
                interruptCue = continueCue;
                interruptKind = 2;
                StartCue(interruptCue, "conti", 1);
            }
        } else if (musicOn && interruptKind != 1) {
            StopCue(interruptCue, interruptKind == 2 ? "conti" : "none");
            interruptCue = nameCue;
            interruptKind = 1;
            StartCue(interruptCue, "name", 1);
        }
    }
    // Effects keep animating and items and player shots keep moving while the world stands.
    if (underlayParent != nullptr)
        underlayParent->StepAnimation();
    if (effectParent != nullptr)
        effectParent->StepAnimation();
    if (itemParent != nullptr) {
        itemParent->StepAnimation();
        itemParent->Update();
    }
    if (playerShotParent != nullptr) {
        playerShotParent->StepAnimation();
        playerShotParent->Update();
    }
}

void GameWorldScreen::OrderPopups() {
    TaskObject* const* groupLists[2] = {popupGroups, gravityGroups};
    TaskObject** newestLists[2] = {newestPopups, newestGravitySprites};
    TaskObject* children[kPopupLimit + 1];
    for (int kind = 0; kind < 2; ++kind) {
        for (int player = 0; player < 2; ++player) {
            TaskObject* group = groupLists[kind][player];
            if (group == nullptr || group->childCount == 0)
                continue;
            // Collected first: re-attaching changes the ring being walked.
            int32_t count = 0;
            TreeNode* node = group->firstChild;
            for (int32_t i = 0; i < group->childCount && count <= kPopupLimit; ++i, node = node->next)
                children[count++] = static_cast<TaskObject*>(node);
            for (int32_t i = 0; i < count; ++i) {
                static_cast<NumberPopup*>(children[i])->newest = 0;
                children[i]->Reattach(group, 0);
            }
            TaskObject* newest = newestLists[kind][player];
            if (newest != nullptr && newest->parent == group) {
                static_cast<NumberPopup*>(newest)->newest = 1;
                newest->Reattach(group, 256);
            }
        }
    }
}

void GameWorldScreen::RequestSuccessor(const String& name) {
    if (IsCurrentScene())
        Note("RequestSuccessor", "%s", name.Text());
    SceneTask::RequestSuccessor(name);
}

void GameWorldScreen::RequestBreakIn(const String& name) {
    if (IsCurrentScene())
        Note("RequestBreakIn", "%s", name.Text());
    SceneTask::RequestBreakIn(name);
}

void GameWorldScreen::StartCue(SoundCueRef& cue, const char* name, uint8_t loop) {
    if (cue.IsEmpty())
        return;
    SoundSettings sound;
    if (owner != nullptr)
        sound = owner->GetSoundSettings();
    cue.SetVolume(float(sound.bgmVolume) / 100.0f);
    cue.SetPan(float(sound.balance) / 100.0f);
    cue.Play(loop);
    Note("CuePlay", "%s %d", name, int(loop));
}

void GameWorldScreen::StopCue(SoundCueRef& cue, const char* name) {
    if (cue.IsEmpty())
        return;
    cue.Stop();
    Note("CueStop", "%s", name);
}

void GameWorldScreen::Note(const char* operation, const char* format, ...) {
    if (eventLog == nullptr)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    eventLog->Record(operation, text);
}

}  // namespace mareldon
