#include "game/screens/StageSelectScreen.h"

#include <memory>

#include "engine/core/Log.h"
#include "engine/render/archive/ModelEntry.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "engine/render/scene/CameraNode.h"
#include "engine/render/scene/MeshObject.h"
#include "game/render/LightFile.h"
#include "game/render/LightNodes.h"
#include "game/render/ShadowmapNode.h"
#include "game/render/SpriteSheet.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/screens/StageSelectScene.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr ScreenColor kGrey{0.5f, 0.5f, 0.5f, 1.0f};
constexpr ScreenColor kBlack{0.0f, 0.0f, 0.0f, 1.0f};

enum Sprite : int {
    kSelectFighter,
    kSelectScoreMode,
    kSelectStage,
    kPrompt1,
    kPrompt2,
    kSingle,
    kTag,
    kIsland,
    kVolcano,
    kJoin1,
    kJoin2,
    kIcon1,
    kIcon2,
    kShipName0,
    kFrame1 = kShipName0 + 4,
    kRight1 = kFrame1 + 4,
    kLeft1 = kRight1 + 3,
    kSpriteCount = kLeft1 + 3,
};
constexpr const char* kSpriteNames[kSpriteCount] = {"SelectYourFighter",
                                                    "stageselect_SelectScoreMode",
                                                    "SelectFirstStage",
                                                    "1PPleaseSelectStage",
                                                    "2PPleaseSelect",
                                                    "SANKA_03_mode_SINGLE",
                                                    "SANKA_04_mode_TAG",
                                                    "stageselect_TheIsland",
                                                    "stageselect_TheVolcano",
                                                    "SANKA_01_1p_uketuke",
                                                    "SANKA_02_2p_uketuke",
                                                    "1p_aikon_00_00",
                                                    "2p_aikon_00_00",
                                                    "ShipName0",
                                                    "ShipName1",
                                                    "ShipName2",
                                                    "ShipName3",
                                                    "SLframe1",
                                                    "SLframe2",
                                                    "SLframe3",
                                                    "SLframe4",
                                                    "003_R1",
                                                    "003_R2",
                                                    "003_R3",
                                                    "004_L1",
                                                    "004_L2",
                                                    "004_L3"};
constexpr const char* kDigitNames[10] = {"0_00_00", "1_00_00", "2_00_00", "3_00_00", "4_00_00",
                                         "5_00_00", "6_00_00", "7_00_00", "8_00_00", "9_00_00"};
constexpr const char* kShipModelNames[StageSelectScreen::kShipTypes] = {"ship0", "ship1", "ship2", "ship3"};

// Generator numbers of the world screen's set.
constexpr int32_t kGenDefault = 1;
constexpr int32_t kGenAdd = 2;
constexpr int32_t kGenAlpha = 3;
constexpr int32_t kGenUnlit = 4;

constexpr float kNear = 1.0f;
constexpr float kFar = 150.0f;
constexpr float kVolcanoFar = 151.5f;
constexpr float kFieldOfView = 0.5235988f;
constexpr float kShadowParameters[6] = {19.0f, 41.0f, 0.0f, 0.07f, 0.07f, 0.1f};
constexpr float kShadowColour[4] = {-0.1f, -0.08f, -0.08f, 1.0f};
constexpr Quaternion kPreviewSpecular{-0.0558505f, 0.5689774f, 0.7347836f, -0.3630285f};

ClearRecord MakeClear(uint32_t flags) {
    ClearRecord clear = RenderView::DefaultClear();
    clear.flags = flags;
    clear.color = 0xFF000000u;
    clear.z = 1.0f;
    clear.stencil = 0;
    return clear;
}

int Index(int player) {
    return player == 2 ? 1 : 0;
}

}  // namespace

StageSelectScreen::StageSelectScreen(GameSystem* system, const String& breakInName,
                                     const String& successorName)
    : GameWorldScreen(system, breakInName, successorName, 3, kPlayLive, 0, 1, 0),
      players_{ScreenInput(*this, ScreenInput::kPlayer1, 0),
               ScreenInput(*this, ScreenInput::kPlayer2Keys, 1)},
      kit_(*this, ScreenDrawKit::Shading::kAlternate) {
    PlaceholderScreen::Report(Describe("StageSelectScreen", breakInName, successorName));
    sheet_ = kit_.AddSheet("stageselect");
    digits_ = kit_.AddSheet("game");
    colours_ = kit_.AddColored();
    sprites_ = ScreenDrawKit::FindSprites(sheet_, kSpriteNames);
    digitSprites_ = ScreenDrawKit::FindSprites(digits_, kDigitNames);
    if (renderer) {
        const char* names[2] = {"StageSelectIsland", "StageSelectVolcano"};
        for (int stage = 0; stage < 2; ++stage) {
            previewSheets_[stage] = RefPtr<SpriteSheet>(
                SpriteSheet::SpriteSheetForTexture(renderer, names[stage], 5, kPreviewSize, kPreviewSize));
            if (kit_.IsReady())
                previewDrawers_[stage] = kit_.AddTextured(previewSheets_[stage]);
        }
        for (int type = 0; type < kShipTypes; ++type)
            shipModels_[type] = renderer->FindModel(kShipModelNames[type]);
    }
    rules_.Begin();
    BuildStaging();
}

StageSelectScreen::~StageSelectScreen() {
    // The staging goes with the world's children; the views kept here go with it.
    for (ShipModelView*& view : slotModels_)
        view = nullptr;
}

void StageSelectScreen::BuildStaging() {
    backgroundRoot_ = new StaticModelRoot(this);
    islandRoot_ = new StaticModelRoot(this);
    volcanoRoot_ = new StaticModelRoot(this);
    backgroundPart_ = new StaticModelPart(backgroundRoot_);
    islandPart_ = new StaticModelPart(islandRoot_);
    backgroundScene_ = new StageSelectScene(backgroundRoot_, "STAGE_SOKO");
    islandScene_ = new StageSelectScene(islandRoot_, "ISLAND");
    volcanoScene_ = new StageSelectScene(volcanoRoot_, "VOLCANO");

    // Upright screen: the camera's x factor is height over width.
    const float aspect = kit_.IsReady() ? kit_.Height() / kit_.Width() : 640.0f / 480.0f;
    cameras_[0] = new CameraNode(backgroundScene_->CameraMount(), kNear, kFar, kFieldOfView, aspect, 1.0f);
    if (renderer && screenTarget) {
        const RefPtr<TextureBase> target(screenTarget);
        const TextureViewport whole{0, 0, 0, 0, 0.0f, 0.0f};
        RefPtr<ShaderGenBase> none;
        RefPtr<RenderView> opaque(
            new RenderView(renderer, target, MakeClear(3), GetGenerator(kGenDefault), whole));
        opaque->AddLayer("nonshade", GetGenerator(kGenUnlit));
        opaque->AddLayer("alphaface", none);
        opaque->AddLayer("addsat", none);
        RefPtr<RenderView> alpha(new RenderView(renderer, target, MakeClear(0), none, whole));
        alpha->AddLayer("alphaface", GetGenerator(kGenAlpha));
        RefPtr<RenderView> plain(new RenderView(renderer, target, MakeClear(0), none, whole));
        RefPtr<RenderView> add(new RenderView(renderer, target, MakeClear(0), none, whole));
        add->AddLayer("addsat", GetGenerator(kGenAdd));
        for (const RefPtr<RenderView>& view : {opaque, alpha, plain, add})
            cameras_[0]->AddView(view);
    }

    LoadBackgroundLights();
    shadowMap_ =
        new ShadowmapNode(backgroundRoot_, kShadowParameters[0], kShadowParameters[1], kShadowParameters[2],
                          kShadowParameters[3], kShadowParameters[4], kShadowParameters[5], kShadowColour);
    shadowMaps_.push_back(shadowMap_);

    cameras_[1] = new CameraNode(islandScene_->CameraMount(), kNear, kFar, kFieldOfView, 1.0f, 1.0f);
    cameras_[2] = new CameraNode(volcanoScene_->CameraMount(), kNear, kVolcanoFar, kFieldOfView, 1.0f, 1.0f);
    StaticModelRoot* previewRoots[2] = {islandRoot_, volcanoRoot_};
    for (int stage = 0; stage < 2; ++stage) {
        if (renderer && previewSheets_[stage]) {
            const TextureViewport viewport{0, 0, kPreviewSize, kPreviewSize, 0.0f, 1.0f};
            RefPtr<RenderView> view(new RenderView(renderer, RefPtr<TextureBase>(previewSheets_[stage]),
                                                   MakeClear(3), GetGenerator(kGenDefault), viewport));
            cameras_[1 + stage]->AddView(view);
        }
        Object3D* root = previewRoots[stage];
        new AmbientLight(root, Vec4{0.05f, 0.05f, 0.05f, 1.0f});
        DirectionalLight* directional = new DirectionalLight(root, Vec4{1.0f, 1.0f, 1.0f, 1.0f});
        directional->SetRotation(Vec3{kFieldOfView, kFieldOfView, kFieldOfView});
        DirectionalSpecularLight* specular = new DirectionalSpecularLight(root, Vec4{1.0f, 1.0f, 1.0f, 1.0f});
        specular->SetQuaternion(kPreviewSpecular);
    }
    RefreshShipModels();
}

void StageSelectScreen::LoadBackgroundLights() {
    std::vector<std::unique_ptr<LightTracks>> shadowMaps;
    defaultLights_ = !LoadLightFile(backgroundRoot_, fileSystem, "STAGE_SOKO.lights", &shadowMaps);
    for (const std::unique_ptr<LightTracks>& record : shadowMaps) {
        ShadowmapNode* node = new ShadowmapNode(backgroundRoot_, kShadowParameters[0], kShadowParameters[1],
                                                kShadowParameters[2], kShadowParameters[3],
                                                kShadowParameters[4], kShadowParameters[5], kShadowColour);
        node->ReadTracks(*record);
        shadowMaps_.push_back(node);
    }
    if (defaultLights_) {
        shadowMaps_.push_back(new ShadowmapNode(backgroundRoot_, kShadowParameters[0], kShadowParameters[1],
                                                kShadowParameters[2], kShadowParameters[3],
                                                kShadowParameters[4], kShadowParameters[5], kShadowColour));
    }
}

void StageSelectScreen::RefreshShipModels() {
    if (backgroundScene_ == nullptr)
        return;
    for (int player = 1; player <= 2; ++player) {
        const int i = Index(player);
        if (!rules_.joined[i])
            continue;
        const int slot = rules_.frontSlot[i];
        if (slot < 0 || slot >= StageSelectScene::kSlots)
            continue;
        ShipModelView*& view = slotModels_[slot];
        Object3D* node = backgroundScene_->slots[slot];
        const int type = owner != nullptr ? owner->GetPlayer(player).shipType : 0;
        const RefPtr<ModelEntry>& model = shipModels_[type >= 0 && type < kShipTypes ? type : 0];
        // The same ship again: the view made anew in place, without building its tree.
        if (view != nullptr && node != nullptr && model && view->boundModel == model.Get()) {
            view->Restart();
            continue;
        }
        delete view;
        view = nullptr;
        if (node == nullptr)
            continue;
        view = new ShipModelView(node, Vec3{0.0f, 0.0f, 0.0f}, Vec3{0.0f, 0.0f, 0.0f}, model);
    }
}

bool StageSelectScreen::IsAlive() {
    const bool worldAlive = Step();
    if (rules_.phase == StageSelectRules::kLeaving)
        return rules_.IsAlive();
    return worldAlive;
}

void StageSelectScreen::OnUpdatePre() {
    GameWorldScreen::OnUpdatePre();
    RefreshShipModels();
    const uint32_t pressed[2] = {players_[0].Buttons().pressed, players_[1].Buttons().pressed};
    rules_.Step(pressed, GetStepCount());
    backgroundRoot_->StepAnimation();
    // For whoever drives the screen from outside (the end-to-end runs).
    if (rules_.phase != loggedPhase_ || rules_.inputsEnabled != loggedInputs_) {
        loggedPhase_ = rules_.phase;
        loggedInputs_ = rules_.inputsEnabled;
        LOG_DEBUG("scene", "ship select: phase %d, inputs %s, step %d", int(loggedPhase_),
                  loggedInputs_ ? "taken" : "not taken", int(GetStepCount()));
    }
}

void StageSelectScreen::OnDrawPre() {
    backgroundRoot_->DrawHierarchy();
    // Every shadow map draws its own target before the hangar's materials read one:
    // the receivers take the first record, the light set's.
    for (ShadowmapNode* shadow : shadowMaps_)
        shadow->Camera().Render(backgroundRoot_);
    cameras_[0]->Render(backgroundRoot_);
    if (rules_.phase == StageSelectRules::kStage) {
        islandRoot_->DrawHierarchy();
        cameras_[1]->Render(islandRoot_);
        volcanoRoot_->DrawHierarchy();
        cameras_[2]->Render(volcanoRoot_);
    }
    if (screenTarget) {
        ClearRecord depth = MakeClear(2);
        screenTarget->Clear(depth);
    }
    DrawCredits(8.0f, 60.0f);
    GameWorldScreen::OnDrawPre();
}

void StageSelectScreen::OnDrawPost() {
    DrawOverlay();
}

bool StageSelectScreen::DrawSelectionFrame() {
    const int32_t phase = rules_.phase;
    if (phase != StageSelectRules::kScoreMode && phase != StageSelectRules::kStage)
        return false;
    const bool decided = rules_.IsDecided();
    const StageSelectRules::FrameResult result = rules_.DrawnFrame();
    if (sheet_ != nullptr && (decided || rules_.IsReady())) {
        const ScreenColor colour = !decided || (GetStepCount() & 2) == 0 ? kWhite : kBlack;
        const float x = rules_.ChosenPanelX();
        const float y = StageSelectRules::kPanelY;
        const float corners[4][2] = {
            {x - 4, y - 12}, {x + 164, y - 12}, {x - 4, y + 220}, {x + 164, y + 220}};
        for (int k = 0; k < 4; ++k) {
            const Vec3 a{corners[k][0], corners[k][1], 0.5f};
            const Vec3 b{corners[k][0] + 41.0f, corners[k][1] + 31.0f, 0.5f};
            sheet_->DrawSpriteRect(*sprites_[size_t(kFrame1 + k)], a, colour, b, colour);
        }
    }
    return result != StageSelectRules::FrameResult::kNone;
}

void StageSelectScreen::DrawOverlay() {
    const int32_t step = GetStepCount();
    const int32_t phase = rules_.phase;
    auto sprite = [this](int index, float x, float y, float z, const ScreenColor& colour = kWhite) {
        if (sheet_ != nullptr)
            sheet_->DrawSprite(*sprites_[size_t(index)], Vec3{x, y, z}, colour);
    };
    auto rect = [this](int index, float x, float y, float w, float h, float z, const ScreenColor& colour) {
        if (sheet_ != nullptr)
            sheet_->DrawSpriteRect(*sprites_[size_t(index)], Vec3{x, y, z}, colour, Vec3{x + w, y + h, z},
                                   colour);
    };

    if (phase != StageSelectRules::kLeaving && digits_ != nullptr) {
        const int32_t n = rules_.Countdown();
        int32_t tens = n / 10;
        int32_t ones = n % 10;
        tens = tens < 0 || tens > 9 ? 0 : tens;
        ones = ones < 0 || ones > 9 ? 0 : ones;
        digits_->DrawSprite(*digitSprites_[size_t(tens)], Vec3{232.0f, 78.0f, 0.5f}, kWhite);
        digits_->DrawSprite(*digitSprites_[size_t(ones)], Vec3{250.0f, 78.0f, 0.5f}, kWhite);
    }

    for (int player = 1; player <= 2; ++player) {
        const int i = Index(player);
        if (!rules_.joined[i])
            continue;
        const float x0 = player == 1 ? 0.0f : 310.0f;
        const bool turning = !rules_.confirmed[i] && rules_.turnPending[i] != 0 && !rules_.shipRemoved[i];
        const int type = owner != nullptr ? owner->GetPlayer(player).shipType : 0;
        if (!turning && type >= 0 && type < kShipTypes)
            sprite(kShipName0 + type, x0 + 88.0f, 600.0f, 0.0f);
        sprite(player == 1 ? kIcon1 : kIcon2, player == 1 ? 208.0f : 272.0f, 600.0f, 0.0f);
    }

    auto prompt = [&] {
        if ((step & 32) != 0 && rules_.leadingPlayer != 0)
            sprite(rules_.leadingPlayer == 1 ? kPrompt1 : kPrompt2, 240.0f, 416.0f, 0.5f);
    };
    if (phase == StageSelectRules::kShip) {
        static constexpr int kArrowFrames[4] = {0, 0, 1, 2};
        const int frame = kArrowFrames[(step / 4) & 3];
        sprite(kSelectFighter, 240.0f, 32.0f, 0.5f);
        for (int player = 1; player <= 2; ++player) {
            const int i = Index(player);
            if (!rules_.joined[i] || rules_.confirmed[i])
                continue;
            const float a = player == 1 ? 208.0f : 464.0f;
            if (rules_.rightFlash[i])
                rect(kRight1 + frame, a - 8.0f, 516.0f, 12.0f, 16.0f, 0.5f, kWhite);
            else
                rect(kRight1 + frame, a - 16.0f, 510.0f, 24.0f, 32.0f, 0.5f, kWhite);
            if (rules_.leftFlash[i])
                rect(kLeft1 + frame, a - 192.0f, 516.0f, 12.0f, 16.0f, 0.5f, kWhite);
            else
                rect(kLeft1 + frame, a - 200.0f, 510.0f, 24.0f, 32.0f, 0.5f, kWhite);
        }
        if (!rules_.BothJoined()) {
            if (!rules_.joined[1])
                sprite(kJoin2, 350.0f, 256.0f, 0.0f);
            else
                sprite(kJoin1, 110.0f, 256.0f, 0.0f);
        }
    } else if (phase == StageSelectRules::kScoreMode) {
        sprite(kSelectScoreMode, 240.0f, 32.0f, 0.5f);
        prompt();
        for (int k = 0; k < 2; ++k) {
            const ScreenColor& colour = rules_.scoreChoice == k ? kWhite : kGrey;
            rect(k == 0 ? kSingle : kTag, rules_.scorePanelX[k], StageSelectRules::kPanelY, 200.0f, 240.0f,
                 0.5f, colour);
        }
        DrawSelectionFrame();
    } else if (phase == StageSelectRules::kStage) {
        sprite(kSelectStage, 240.0f, 32.0f, 0.5f);
        prompt();
        for (int k = 0; k < 2; ++k) {
            const float x = rules_.stagePanelX[k];
            const float y = StageSelectRules::kPanelY;
            if (previewDrawers_[k] != nullptr)
                previewDrawers_[k]->DrawQuad(TexturedVertex{x, y, 0.5f, 0.0f, 0.0f},
                                             TexturedVertex{x + 200.0f, y + 240.0f, 0.5f, 1.0f, 1.0f});
            // The panel not chosen is shown at half brightness.
            if (rules_.stageChoice != k && colours_ != nullptr)
                colours_->DrawRect(Vec3{x, y, 0.45f}, ScreenColor{0.0f, 0.0f, 0.0f, 0.5f},
                                   Vec3{x + 200.0f, y + 240.0f, 0.45f}, ScreenColor{0.0f, 0.0f, 0.0f, 0.5f});
        }
        if (DrawSelectionFrame())
            RequestSuccessor("");
        sprite(kIsland, 120.0f, 384.0f, 0.5f);
        sprite(kVolcano, 360.0f, 384.0f, 0.5f);
    } else {
        rules_.AdvanceFade();
        if (colours_ != nullptr) {
            const ScreenColor white{1.0f, 1.0f, 1.0f, rules_.fadeAlpha};
            colours_->DrawRect(Vec3{0.0f, 0.0f, 0.0f}, white, Vec3{kit_.Width(), kit_.Height(), 0.0f}, white);
        }
    }
    kit_.Draw();
    if (drawSet)
        drawSet->Draw();
}

// Port: the game system's records and the world's ships.

bool StageSelectScreen::Port::IsPlayerInGame(int player) {
    return screen.owner != nullptr && screen.owner->IsPlayerInGame(player);
}

int StageSelectScreen::Port::PlayerStatus(int player) {
    return screen.owner != nullptr ? screen.owner->GetPlayerStatus(player) : 0;
}

int StageSelectScreen::Port::ShipType(int player) {
    return screen.owner != nullptr ? screen.owner->GetPlayer(player).shipType : 0;
}

void StageSelectScreen::Port::SetShipType(int player, int type) {
    if (screen.owner != nullptr)
        screen.owner->GetPlayer(player).shipType = type;
}

void StageSelectScreen::Port::ZeroContinues(int player) {
    if (screen.owner != nullptr)
        screen.owner->GetPlayer(player).continueCount = 0;
}

void StageSelectScreen::Port::JoinPlayer(int player) {
    if (screen.owner != nullptr)
        screen.owner->JoinPlayers(player);
}

void StageSelectScreen::Port::RebuildShip(int player, bool keepPosition) {
    PlayerShip*& slot = screen.ships[Index(player)];
    const bool had = slot != nullptr;
    const Vec3 position = had ? slot->GetPosition() : Vec3{};
    screen.SpawnPlayersAtStart(player);
    if (slot == nullptr)
        return;
    if (keepPosition && had)
        slot->SetPosition(position);
    slot->SetAutoFire(1);
}

void StageSelectScreen::Port::RemoveShip(int player) {
    PlayerShip* ship = screen.ships[Index(player)];
    if (ship == nullptr)
        return;
    ship->SetAutoFire(0);
    // The ship forgets itself in the world's slot as it goes.
    delete ship;
}

void StageSelectScreen::Port::PlaySe(int id) {
    screen.GameWorldScreen::PlaySe(id);
}

void StageSelectScreen::Port::AddStartLock() {
    if (screen.owner != nullptr)
        screen.owner->AddStartLock();
}

void StageSelectScreen::Port::ReleaseStartLock() {
    if (screen.owner != nullptr)
        screen.owner->ReleaseStartLock();
}

void StageSelectScreen::Port::SetPairMode(bool tag) {
    if (screen.owner != nullptr)
        screen.owner->SetPairMode(tag);
}

void StageSelectScreen::Port::SetGameMode(int mode) {
    if (screen.owner != nullptr)
        screen.owner->SetGameMode(mode);
}

void StageSelectScreen::Port::ResetPreviews() {
    for (StaticModelRoot* root : {screen.islandRoot_, screen.volcanoRoot_}) {
        if (root != nullptr)
            root->SetMotionTime(0.0f);
    }
    for (StageSelectScene* scene : {screen.islandScene_, screen.volcanoScene_}) {
        if (scene != nullptr)
            scene->SetMotionTime(0.0f);
    }
}

void StageSelectScreen::Port::StepPreviews() {
    for (StaticModelRoot* root : {screen.islandRoot_, screen.volcanoRoot_}) {
        if (root != nullptr)
            root->StepAnimation();
    }
}

void StageSelectScreen::Port::MoveTurntable(int player, float radians, float dx) {
    if (screen.backgroundScene_ == nullptr)
        return;
    MeshObject* mesh = screen.backgroundScene_->turntables[Index(player)];
    if (mesh == nullptr)
        return;
    Object3D* node = mesh;
    Vec3 rotation = node->GetRotation();
    rotation.z += radians;
    node->SetRotation(rotation);
    if (dx != 0.0f) {
        Vec3 position = node->GetPosition();
        position.x += dx;
        node->SetPosition(position);
    }
}

}  // namespace mareldon
