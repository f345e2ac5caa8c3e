#include "tools/archive/PlaceholderStages.h"

#include <cmath>

#include "engine/core/RotationTrack.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/LightFileWriter.h"
#include "tools/archive/PlaceholderBoss1.h"
#include "tools/archive/PlaceholderBoss2.h"
#include "tools/archive/PlaceholderBoss3.h"
#include "tools/archive/PlaceholderBoss4.h"
#include "tools/archive/PlaceholderBoss5.h"
#include "tools/archive/PlaceholderBoss6.h"
#include "tools/archive/PlaceholderEffects.h"
#include "tools/archive/PlaceholderGunships.h"
#include "tools/archive/PlaceholderItems.h"
#include "tools/archive/PlaceholderKazeWave.h"
#include "tools/archive/PlaceholderRailEnemies.h"
#include "tools/archive/PlaceholderSheets.h"
#include "tools/archive/PlaceholderShipSelect.h"
#include "tools/archive/PlaceholderTableLayers.h"
#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

namespace {

constexpr int32_t kGameSheetSize = 2048;
constexpr int32_t kBulletCell = 32;
constexpr int32_t kBulletRows = 64;
constexpr int32_t kBulletFrames = 8;
// The front-end sprites' columns, right of the bullets.
constexpr int32_t kScreenSpritesWidth = 512;
constexpr int32_t kHudLeft = kGameSheetSize * 5 / 8;
// The player shots' cells: rows of twelve 64-pixel cells from (1281.5, 128).
constexpr float kShotLeft = 0.625732f * kGameSheetSize;
constexpr int32_t kShotTop = kGameSheetSize / 32 * 2;
constexpr int32_t kShotCell = kGameSheetSize / 32;
constexpr int32_t kShotCellsPerRow = 12;
constexpr int32_t kShotCells = 56;
constexpr int32_t kShotRows = (kShotCells + kShotCellsPerRow - 1) / kShotCellsPerRow;
constexpr int32_t kHudTop = kShotTop + kShotRows * kShotCell;
constexpr int32_t kReflectedCell = 32;
// The stage light's slant: 69 degrees down from the horizontal.
constexpr float kLightPitch = -1.2f;

// A colour wheel by row, so neighbouring rows tell apart.
void RowColour(int32_t row, uint8_t (&rgb)[3]) {
    const float hue = float(row) * 6.0f / float(kBulletRows);
    const float f = hue - std::floor(hue);
    const uint8_t up = uint8_t(255.0f * f);
    const uint8_t down = uint8_t(255.0f * (1.0f - f));
    switch (int(hue) % 6) {
        case 0:
            rgb[0] = 255, rgb[1] = up, rgb[2] = 0;
            break;
        case 1:
            rgb[0] = down, rgb[1] = 255, rgb[2] = 0;
            break;
        case 2:
            rgb[0] = 0, rgb[1] = 255, rgb[2] = up;
            break;
        case 3:
            rgb[0] = 0, rgb[1] = down, rgb[2] = 255;
            break;
        case 4:
            rgb[0] = up, rgb[1] = 0, rgb[2] = 255;
            break;
        default:
            rgb[0] = 255, rgb[1] = 0, rgb[2] = down;
            break;
    }
}

// A disc in the cell at (x0, y0), radius r, with a white core.
void StampDisc(std::vector<uint8_t>& rgba, int32_t width, int32_t x0, int32_t y0, int32_t cell, float r,
               const uint8_t (&rgb)[3]) {
    const float centre = float(cell) * 0.5f;
    for (int32_t y = 0; y < cell; ++y) {
        for (int32_t x = 0; x < cell; ++x) {
            const float dx = float(x) + 0.5f - centre;
            const float dy = float(y) + 0.5f - centre;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d > r)
                continue;
            uint8_t* p = &rgba[(size_t(y0 + y) * size_t(width) + size_t(x0 + x)) * 4];
            const bool core = d < r * 0.4f;
            p[0] = core ? 255 : rgb[0];
            p[1] = core ? 255 : rgb[1];
            p[2] = core ? 255 : rgb[2];
            p[3] = 255;
        }
    }
}

// Where the front-end sprites sit on the game sheet, right of the bullet columns.
std::vector<MbdWriter::Frame> GameSheetFrames(bool screenSprites) {
    std::vector<MbdWriter::Frame> frames;
    if (screenSprites)
        frames = PackPlaceholderSprites(PlaceholderGameSprites(), kBulletFrames * kBulletCell,
                                        kScreenSpritesWidth, nullptr);
    return frames;
}

// The head-up display's sprites, right of u 0.625 below the chip rows and the shot cells.
std::vector<MbdWriter::Frame> HudSheetFrames() {
    std::vector<MbdWriter::Frame> frames =
        PackPlaceholderSprites(PlaceholderHudSprites(), kHudLeft, kGameSheetSize - kHudLeft, nullptr);
    for (MbdWriter::Frame& frame : frames)
        frame.y += float(kHudTop);
    return frames;
}

// The game sheet: the bullet columns, and with `screenSprites` the front-end
// screens' sprites right of them. The sheet is big, so each form is encoded once.
const std::vector<uint8_t>& GameSheetPng(bool screenSprites) {
    static const auto encode = [](bool withSprites) {
        std::vector<uint8_t> rgba(size_t(kGameSheetSize) * kGameSheetSize * 4, 0);
        for (int32_t row = 0; row < kBulletRows; ++row) {
            uint8_t rgb[3];
            RowColour(row, rgb);
            for (int32_t frame = 0; frame < kBulletFrames; ++frame) {
                // The disc breathes over the eight frames.
                const float r = 11.0f + float(frame % 4);
                StampDisc(rgba, kGameSheetSize, frame * kBulletCell, row * kBulletCell, kBulletCell, r, rgb);
            }
        }
        // One colour per shot kind and level; the age frames of a kind share it.
        for (int32_t cell = 0; cell < kShotCells; ++cell) {
            const int32_t kind = cell < 16 ? cell : cell < 32 ? 16 + (cell - 16) / 2 : cell < 40 ? 24 : 25;
            uint8_t rgb[3];
            RowColour(kind * kBulletRows / 26, rgb);
            const int32_t x = int32_t(kShotLeft) + (cell % kShotCellsPerRow) * kShotCell;
            const int32_t y = kShotTop + (cell / kShotCellsPerRow) * kShotCell;
            StampDisc(rgba, kGameSheetSize, x, y, kShotCell - 2, 18.0f + float(cell % 2) * 4.0f, rgb);
        }
        PaintPlaceholderSprites(rgba, kGameSheetSize, HudSheetFrames(), PlaceholderHudSprites());
        if (withSprites)
            PaintPlaceholderSprites(rgba, kGameSheetSize, GameSheetFrames(true), PlaceholderGameSprites());
        return EncodePng(kGameSheetSize, kGameSheetSize, rgba);
    };
    if (screenSprites) {
        static const std::vector<uint8_t> full = encode(true);
        return full;
    }
    static const std::vector<uint8_t> plain = encode(false);
    return plain;
}

std::vector<uint8_t> ReflectedSheetPng() {
    const int32_t size = kReflectedCell * 4;
    std::vector<uint8_t> rgba(size_t(size) * size * 4, 0);
    const uint8_t blue[3] = {64, 160, 255};
    for (int32_t cell = 0; cell < 16; ++cell) {
        const float r = 6.0f + float(cell % 8) * 1.2f;
        StampDisc(rgba, size, (cell % 4) * kReflectedCell, (cell / 4) * kReflectedCell, kReflectedCell, r,
                  blue);
    }
    return EncodePng(size, size, rgba);
}

MbdWriter::Node CameraMount(MbdWriter& writer) {
    MbdWriter::Node mount;
    mount.name = "CameraMount";
    mount.type = 5;
    // A node takes only the components whose tracks have keys.
    MbdWriter::Track height;
    height.defaultValue = kStageCameraHeight;
    height.keys.push_back({0.0f, kStageCameraHeight, 3, {}});
    mount.tracks[1] = writer.AddTrack(height);
    // Turned a quarter about x: its +z (the view) points down, its +y (up) along world +z.
    MbdWriter::Track pitch;
    pitch.defaultValue = float(M_PI / 2.0);
    pitch.keys.push_back({0.0f, float(M_PI / 2.0), 3, {}});
    mount.tracks[3] = writer.AddTrack(pitch);
    return mount;
}

// Stage 1 ends in its boss: the boss's nodes go under "Scene".
void AddBoss1ToStage(MbdWriter& writer, MbdWriter::Node& model) {
    StageModelBuilder builder(writer);
    AddToScene(model, PlaceholderBoss1Node(builder));
}

// Every stage id's model with the scenery; water where the stages want it.
void AddPlaceholderStageModels(MbdWriter& writer) {
    const StageSceneryImages images = AddStageSceneryImages(writer);
    for (const char* id : StageModelNames()) {
        if (IsShipSelectStage(id)) {
            writer.AddModel(id, PlaceholderShipSelectStage(writer, id));
            continue;
        }
        StageModelParts parts;
        parts.scenery = &images;
        parts.underWater = parts.waterface = std::string(id) == "STAGE_UMI";
        parts.boundaryWater = std::string(id) == "STAGE_KU";
        MbdWriter::Node stage = PlaceholderStageModel(writer, id, parts);
        if (std::string(id) == "STAGE_HI")
            AddPlaceholderEnemies(writer, stage);
        if (std::string(id) == "STAGE_HI")
            AddPlaceholderBoss2ToStage(writer, stage);
        if (std::string(id) == "STAGE_KAZE")
            AddBoss1ToStage(writer, stage);
        if (std::string(id) == "STAGE_KAZE")
            AddPlaceholderKazeWave(writer, stage);
        if (std::string(id) == "STAGE_UMI")
            AddPlaceholderBoss3ToStage(writer, stage);
        AddPlaceholderBoss5ToStage(writer, stage, id);
        AddPlaceholderBoss6ToStage(writer, stage, id);
        if (std::string(id) == "STAGE_KU")
            AddPlaceholderBoss4ToStage(writer, stage);
        if (std::string(id) == "STAGE_MU")
            AddPlaceholderTableLayers(writer, stage);
        writer.AddModel(id, stage);
    }
}

}  // namespace

MbdWriter::Node QuadModel(MbdWriter& writer, const std::string& name, float half, float endTime) {
    MbdWriter::Node mesh;
    mesh.name = name + ":Layer1";
    mesh.type = 2;
    MbdWriter::Part part;
    part.name = "Layer1";
    part.elements = {{"Position", 3}, {"Normal", 3}};
    const float h = half;
    part.vertexArray = writer.AddVertexArray(
        6, {-h, 0, -h, 0, 1, 0, h, 0, -h, 0, 1, 0, -h, 0, h, 0, 1, 0, h, 0, h, 0, 1, 0});
    part.vertexCount = 4;
    part.indexArray = writer.AddIndexArray({0, 1, 2, 2, 1, 3});
    part.indexCount = 6;
    part.settings.radius = 1.5f * half;
    mesh.mesh.parts.push_back(part);
    MbdWriter::Node root;
    root.name = name;
    root.type = 0;
    root.endTime = endTime;
    root.children.push_back(mesh);
    return root;
}

MbdWriter::Node PlaceholderStageModel(MbdWriter& writer, const std::string& name,
                                      const StageModelParts& parts) {
    MbdWriter::Node root = QuadModel(writer, name, 1.0f, kStageEndTime);
    if (parts.scenery != nullptr)
        root.children = {SceneryField(writer, *parts.scenery, parts.waterface)};
    if (parts.scene) {
        MbdWriter::Node scene;
        scene.name = "Scene";
        scene.type = 1;
        scene.children = std::move(root.children);
        root.children = {std::move(scene)};
    }
    if (parts.cameraMount)
        root.children.push_back(CameraMount(writer));
    auto waterNode = [&](const char* nodeName) {
        MbdWriter::Node node;
        node.name = nodeName;
        node.type = 1;
        if (parts.scenery != nullptr)
            node.children = {SeaFloor(writer, *parts.scenery, std::string(nodeName) + "Floor")};
        else
            node.children = std::move(QuadModel(writer, std::string(nodeName) + "Floor").children);
        root.children.push_back(std::move(node));
    };
    if (parts.underWater)
        waterNode("UnderWater");
    if (parts.boundaryWater)
        waterNode("BoundaryWater");
    return root;
}

const std::vector<const char*>& PlaceholderGunNodeNames() {
    static const std::vector<const char*> names = {"BS_t_battery",
                                                   "BS_ONION_CENTER",
                                                   "BS_ONION1",
                                                   "BS_ONION_1",
                                                   "BS_ONION2",
                                                   "BS_ONION_2",
                                                   "BS_LARGEBATTERY",
                                                   "BS_MIDWING_REAR",
                                                   "BS_MIDWING_R",
                                                   "BS_MIDWING_L",
                                                   "BS_MIDWING_R2",
                                                   "BS_MIDWING_L2",
                                                   "BS_MIDWING_R3",
                                                   "BS_MIDWING_L3",
                                                   "BS_YOKONAGA",
                                                   "BS_BIGTANK_R",
                                                   "BS_BIGTANK_L",
                                                   "BS_TANK_KAITEN_CENTER",
                                                   "BS_LARGEWING_L",
                                                   "BS_LARGEWING_R",
                                                   "BS_LARGEWING_CENTER",
                                                   "BS_TULIP",
                                                   "BS_MG01TANK_L",
                                                   "BS_MG01TANK_R",
                                                   "BS_MG01TANKB",
                                                   "BS_HEAVYTANK_CENTER",
                                                   "BS_HEAVYTANK_CIRCLE",
                                                   "BS_HEAVYTANK_R",
                                                   "BS_HEAVYTANK_L",
                                                   "BS_EG_SENYOU",
                                                   "BS_MAINBASE_EYE",
                                                   "BS_HOVER_FRONT",
                                                   "BS_HOVER_FRONT2",
                                                   "BS_HOVER_FRONT3",
                                                   "BS_HOVER_R",
                                                   "BS_HOVER_L",
                                                   "BS_HOVER_R2",
                                                   "BS_HOVER_L2",
                                                   "BS_HOVER_R3",
                                                   "BS_HOVER_L3",
                                                   "BS_HENKEIHOU_DOWN_L",
                                                   "BS_HENKEIHOU_DOWN_R",
                                                   "BS_MG05TANK_A",
                                                   "BS_MG05TANK_B_R",
                                                   "BS_MG05TANK_B_L",
                                                   "BS_MIDBOSS03_CENTER",
                                                   "BS_MIDBOSS03_R",
                                                   "BS_MIDBOSS03_L",
                                                   "BS_KUUCYUUHOU",
                                                   "BS_MAC_RO",
                                                   "BS_MAC_LO",
                                                   "BS_MAC_RI",
                                                   "BS_MAC_LI",
                                                   "BS_MAC_C",
                                                   "BS_HIKOUSEN_R",
                                                   "BS_HIKOUSEN_L",
                                                   "BS_HIKOUSEN_CENTER",
                                                   "BS_COVER_R",
                                                   "BS_COVER_L",
                                                   "BS_TUTU_R",
                                                   "BS_TUTU_L",
                                                   "BS_UKISHIMA_C",
                                                   "BS_LENSHOUDAI_NORMAL",
                                                   "BS_ISLAND_C",
                                                   "BS_TORISANBEAM",
                                                   "BS_TORISAN",
                                                   "BS_TORILASER",
                                                   "BS_KANKYO_LU",
                                                   "BS_KANKYO_LD",
                                                   "BS_KANKYO_RU",
                                                   "BS_KANKYO_RD",
                                                   "BS_OINU_R0",
                                                   "BS_OINU_R1",
                                                   "BS_OINU_R2",
                                                   "BS_OINU_R3",
                                                   "BS_OINU_L0",
                                                   "BS_OINU_L1",
                                                   "BS_OINU_L2",
                                                   "BS_OINU_L3",
                                                   "BS_NOZULE",
                                                   "BS_NEKO_RO",
                                                   "BS_NEKO_LO",
                                                   "BS_NEKO_RI",
                                                   "BS_NEKO_LI",
                                                   "BS_NEKO_C",
                                                   "BS_NAMAZU",
                                                   "BS_FUYUUHOU_CENTER",
                                                   "BS_FUYUUHOU_0",
                                                   "BS_FUYUUHOU_1",
                                                   "BS_FUYUUHOU_2",
                                                   "BS_FUYUUHOU_3"};
    return names;
}

const std::vector<PlaceholderEnemy>& PlaceholderStageHiEnemies() {
    static const std::vector<PlaceholderEnemy> enemies = [] {
        const char* const layers[] = {
            "mg_01tank:Layer0",    "sg_01tank:Layer0",        "mg_01tankB:Layer0",
            "eg_01houdai:Layer0",  "sa_06hikoutei_ao:Layer0", "t_midwing:Layer0",
            "sa_05midwing:Layer0", "ma_11large_wing:Layer0",  "lg_02tank_heavy:Layer0",
            "eg_senyou:Layer0",    "eg_mainbase:Layer3",      "lg_01hover:Layer0",
            "mg_05tankA:Layer0",   "ma_07kuucyuuhou1:Layer0", "ma_08hikousen:Layer0",
            "ma_20namazu:Layer0"};
        const size_t count = std::size(layers);
        const std::vector<const char*>& guns = PlaceholderGunNodeNames();
        std::vector<PlaceholderEnemy> list;
        for (size_t i = 0; i < count; ++i) {
            PlaceholderEnemy enemy;
            enemy.layer = layers[i];
            // Across the view in a zigzag, each up for five seconds, a new one every 7.5.
            enemy.x = -4.5f + 3.0f * float(i % 4);
            enemy.z = i % 2 == 0 ? 2.0f : -1.0f;
            enemy.start = 4.0f + 7.5f * float(i);
            enemy.end = enemy.start + 5.0f;
            for (size_t g = i; g < guns.size(); g += count)
                enemy.guns.push_back(guns[g]);
            list.push_back(enemy);
        }
        return list;
    }();
    return enemies;
}

void AddPlaceholderEnemies(MbdWriter& writer, MbdWriter::Node& stage) {
    using B = StageModelBuilder;
    B builder(writer);
    MbdWriter::Node* scene = nullptr;
    for (MbdWriter::Node& child : stage.children) {
        if (child.name == "Scene")
            scene = &child;
    }
    if (scene == nullptr)
        return;
    const std::vector<PlaceholderEnemy>& enemies = PlaceholderStageHiEnemies();
    for (size_t i = 0; i < enemies.size(); ++i) {
        const PlaceholderEnemy& enemy = enemies[i];
        std::vector<B::Node> children;
        for (const std::string& gun : enemy.guns)
            children.push_back(B::Frame(gun));
        // Two waves of letter A: the second comes while the first may still live.
        if (i < 2)
            children.push_back(B::Frame("GP*A01"));
        else if (i < 4)
            children.push_back(B::Frame("GP*A02"));
        if (i == 4) {
            // Hittable all along, active only in the second half of its window.
            B::Node control = B::Frame("EC_GENERAL");
            builder.ScaleKeys(control, 1, {{0.0f, 0.0f}, {enemy.start + 2.5f, 1.0f}});
            builder.ScaleKeys(control, 2, {{0.0f, 0.0f}});
            children.push_back(control);
        }
        if (i == 5)
            children.push_back(B::Frame("bs_Null", {builder.Box("ba_05_3cube:Layer0", 0.25f, 0x40A0FF)}));
        if (i == 6)
            children.push_back(B::Bone("BNba_01_medamaR"));
        B::Node box = builder.Box(enemy.layer, 0.5f, 0xE05030, std::move(children));
        builder.Window(box, enemy.x, 0.0f, enemy.z, enemy.start, enemy.end);
        scene->children.push_back(std::move(box));
    }
    AddPlaceholderRailEnemies(writer, *scene);
    AddPlaceholderGunships(writer, stage);
}

std::vector<uint8_t> MakeStageSampleArchive() {
    using B = StageModelBuilder;
    MbdWriter writer;
    MbdWriter::Node hi = PlaceholderStageModel(writer, "STAGE_HI");
    AddPlaceholderEnemies(writer, hi);
    writer.AddModel("STAGE_HI", hi);

    B builder(writer);
    B::Node control = B::Frame("EC_GENERAL");
    builder.ScaleKeys(control, 0, {{0.0f, 1.0f}, {0.5f, 0.0f}});
    builder.ScaleKeys(control, 1, {{0.0f, 0.0f}, {0.25f, 1.0f}});
    B::Node host = builder.Box(
        "host:Layer0", 0.5f, 0x808080,
        {B::Frame("GP*"), B::Frame("GP*a01"), B::Frame("GP*Z9"), B::Frame("GP*B07"), control,
         B::Frame("bs_Null",
                  {builder.Box("under_null:Layer1"), B::Frame("Null_hikaridama", {builder.Box("x:Layer2")})}),
         B::Bone("BNba_01_medamaR", {builder.Box("eye:Layer3")}), B::Frame("BS_TULIP"),
         B::Frame("BS_MIDWING_R3")});
    builder.Window(host, 0.0f, 0.0f, 0.0f, 0.1f, 0.5f);
    B::Node stray = B::Frame("plain", {B::Frame("GP*A01"), B::Frame("EC_GENERAL"), B::Frame("BS_NOZULE"),
                                       builder.Box("stray:Layer1")});
    B::Node first = B::TypeFive("first", {B::Frame("Scene", {host, stray}), B::Frame("UnderWater")});
    B::Node second = B::TypeFive("second", {B::TypeFive("nested", {B::Frame("BoundaryWater")})});
    MbdWriter::Node odd;
    odd.name = "STAGE_ODD";
    odd.type = 0;
    odd.endTime = 0.5f;
    odd.children = {first, second, B::Bone("BNba_01_medamaL")};
    writer.AddModel("STAGE_ODD", odd);
    return writer.Build();
}

const std::vector<const char*>& StageModelNames() {
    static const std::vector<const char*> names = {
        "STAGE_REI",    "STAGE_KAZE", "STAGE_HI",   "STAGE_UMI", "STAGE_KU", "STAGE_TEN", "STAGE_HATE",
        "STAGE_HAJIME", "STAGE_MU",   "STAGE_SOKO", "ISLAND",    "VOLCANO",  "STAGE_MU2"};
    return names;
}

std::vector<uint8_t> PlaceholderStageLightFile() {
    auto colour = [](LightTracks& record, float r, float g, float b) {
        const float values[4] = {r, g, b, 1.0f};
        for (int i = 0; i < 4; ++i)
            record.colour[i].defaultValue = values[i];
    };
    ByteWriter out;
    LightTracks ambient;
    colour(ambient, 0.2f, 0.2f, 0.25f);
    WriteLightRecord(out, ambient);

    LightTracks directional;
    directional.type = LightFileType::Directional;
    colour(directional, 0.8f, 0.7f, 0.6f);
    directional.colour[0].SetKey(0.0f, 0.8f, 3);
    directional.colour[0].SetKey(kStageEndTime, 0.5f, 3);
    // Its +z points down and toward the top of the screen, as the shadow map looks.
    directional.rotation.SetKey(0.0f, EulerToQuaternion(kLightPitch, 0.0f, 0.0f));
    WriteLightRecord(out, directional);

    LightTracks fog;
    fog.type = LightFileType::Fog;
    fog.nearTrack.defaultValue = 30.0f;
    fog.farTrack.defaultValue = 150.0f;
    colour(fog, 0.2f, 0.2f, 0.25f);
    WriteLightRecord(out, fog);

    LightTracks shadow;
    shadow.type = LightFileType::Shadowmap;
    // Along the light, 20 above the field, its axis meeting the ground at the origin:
    // a block's shadow falls beside it toward the top of the screen.
    shadow.transform[1].SetKey(0.0f, 20.0f, 3);
    shadow.transform[2].SetKey(0.0f, -20.0f / std::tan(-kLightPitch), 3);
    shadow.rotation.SetKey(0.0f, EulerToQuaternion(kLightPitch, 0.0f, 0.0f));
    const float parameters[6] = {12.0f, 32.0f, 0.0f, 0.1f, 0.1f, 0.01f};
    for (int i = 0; i < 6; ++i)
        shadow.parameters[i].defaultValue = parameters[i];
    colour(shadow, -0.35f, -0.35f, -0.3f);
    WriteLightRecord(out, shadow);
    return out.bytes;
}

bool HasPlaceholderStageLights(const std::string& stageId) {
    return stageId != "STAGE_REI";
}

int32_t AddPlaceholderStageData(MbdWriter& writer, bool screenSprites) {
    AddPlaceholderStageModels(writer);
    AddPlaceholderBoss1Models(writer);
    AddPlaceholderGunshipModels(writer);
    AddPlaceholderBoss3Models(writer);
    AddPlaceholderBoss2Models(writer);
    AddPlaceholderBoss5Models(writer);
    AddPlaceholderBoss4Models(writer);
    writer.AddModel("TEKIDAN_HATSYA01", QuadModel(writer, "TEKIDAN_HATSYA01", 0.25f, 0.25f));
    AddPlaceholderItemModels(writer);
    const int32_t game = writer.AddImage(GameSheetPng(screenSprites));
    std::vector<MbdWriter::Frame> frames = GameSheetFrames(screenSprites);
    const std::vector<MbdWriter::Frame> hud = HudSheetFrames();
    frames.insert(frames.end(), hud.begin(), hud.end());
    writer.AddSprite("game", game, frames);
    writer.AddSprite("hansyadan", writer.AddImage(ReflectedSheetPng()), {});
    writer.AddSprite("effect_all", writer.AddImage(FireballSheetPng()), {});
    return game;
}

}  // namespace mareldon
