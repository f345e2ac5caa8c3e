#include "tools/archive/PlaceholderStages.h"

#include <cmath>

#include "engine/core/RotationTrack.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/LightFileWriter.h"
#include "tools/archive/PlaceholderBoss1.h"
#include "tools/archive/PlaceholderEffects.h"
#include "tools/archive/PlaceholderItems.h"
#include "tools/archive/PlaceholderSheets.h"

namespace mareldon {

namespace {

constexpr int32_t kGameSheetSize = 2048;
constexpr int32_t kBulletCell = 32;
constexpr int32_t kBulletRows = 64;
constexpr int32_t kBulletFrames = 8;
// The front-end sprites' columns, right of the bullets.
constexpr int32_t kScreenSpritesWidth = 512;
constexpr int32_t kHudLeft = kGameSheetSize * 5 / 8;
constexpr int32_t kHudTop = kGameSheetSize / 32 * 2;
constexpr int32_t kReflectedCell = 32;

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

// The head-up display's sprites, right of u 0.625 below the two chip rows.
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
    for (MbdWriter::Node& child : model.children) {
        if (child.name == "Scene") {
            child.children.push_back(PlaceholderBoss1Node(builder));
            return;
        }
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
        node.children = std::move(QuadModel(writer, std::string(nodeName) + "Floor").children);
        root.children.push_back(std::move(node));
    };
    if (parts.underWater)
        waterNode("UnderWater");
    if (parts.boundaryWater)
        waterNode("BoundaryWater");
    return root;
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
    // Turned as the default shadow map is, its +z points down, a little toward +x.
    directional.rotation.SetKey(0.0f, EulerToQuaternion(-1.2f, 0.3f, 0.0f));
    WriteLightRecord(out, directional);

    LightTracks fog;
    fog.type = LightFileType::Fog;
    fog.nearTrack.defaultValue = 30.0f;
    fog.farTrack.defaultValue = 150.0f;
    colour(fog, 0.2f, 0.2f, 0.25f);
    WriteLightRecord(out, fog);

    LightTracks shadow;
    shadow.type = LightFileType::Shadowmap;
    shadow.transform[1].SetKey(0.0f, 20.0f, 3);
    shadow.rotation.SetKey(0.0f, EulerToQuaternion(-1.6580629f, 0.0f, 0.0f));
    const float parameters[6] = {5.0f, 40.0f, 0.0f, 0.07f, 0.07f, 0.1f};
    for (int i = 0; i < 6; ++i)
        shadow.parameters[i].defaultValue = parameters[i];
    colour(shadow, -0.1f, -0.08f, -0.08f);
    WriteLightRecord(out, shadow);
    return out.bytes;
}

bool HasPlaceholderStageLights(const std::string& stageId) {
    return stageId != "STAGE_REI";
}

int32_t AddPlaceholderStageData(MbdWriter& writer, bool screenSprites) {
    for (const char* id : StageModelNames()) {
        MbdWriter::Node model = PlaceholderStageModel(writer, id);
        if (std::string(id) == "STAGE_KAZE")
            AddBoss1ToStage(writer, model);
        writer.AddModel(id, model);
    }
    AddPlaceholderBoss1Models(writer);
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
