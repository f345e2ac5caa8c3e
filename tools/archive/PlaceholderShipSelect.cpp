#include "tools/archive/PlaceholderShipSelect.h"

#include <array>
#include <cmath>

#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/PlaceholderSheets.h"

namespace mareldon {

namespace {

using S = PlaceholderSprite;

constexpr float kPi = 3.14159265f;
constexpr float kHangarCameraHeight = 40.0f;
constexpr float kPreviewCameraHeight = 25.0f;
constexpr float kTurntableX = 4.3f;
constexpr float kTurntableZ = -4.0f;
constexpr float kSlotRadius = 1.6f;
constexpr float kMoveTime = 10.0f;

int32_t SolidImage(MbdWriter& writer, uint32_t rgb) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 4; ++i)
        rgba.insert(rgba.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255});
    return writer.AddImage(EncodePng(2, 2, rgba));
}

// A box from `lo` to `hi`, 4 vertices a face, facing out, in one colour.
MbdWriter::Part BoxPart(MbdWriter& writer, const std::string& name, std::array<float, 3> lo,
                        std::array<float, 3> hi, int32_t image) {
    std::vector<float> words;
    std::vector<uint32_t> indices;
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = 0; side < 2; ++side) {
            const int u = (axis + 1) % 3;
            const int v = (axis + 2) % 3;
            const uint32_t first = uint32_t(words.size() / 8);
            const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            for (const auto& c : corners) {
                float p[3];
                p[axis] = side == 0 ? lo[size_t(axis)] : hi[size_t(axis)];
                p[u] = c[0] == 0 ? lo[size_t(u)] : hi[size_t(u)];
                p[v] = c[1] == 0 ? lo[size_t(v)] : hi[size_t(v)];
                float n[3] = {0, 0, 0};
                n[axis] = side == 0 ? -1.0f : 1.0f;
                words.insert(words.end(), {p[0], p[1], p[2], n[0], n[1], n[2], c[0], c[1]});
            }
            // Both windings, so the box shows whatever the culling.
            indices.insert(indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3, first,
                                           first + 2, first + 1, first, first + 3, first + 2});
        }
    }
    MbdWriter::Part part;
    part.name = name;
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(8, words);
    part.vertexCount = int32_t(words.size() / 8);
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = int32_t(indices.size());
    part.settings.radius = 0.0f;
    return part;
}

MbdWriter::Node MeshNode(const std::string& name, std::vector<MbdWriter::Part> parts) {
    MbdWriter::Node mesh;
    mesh.name = name;
    mesh.type = 2;
    mesh.mesh.parts = std::move(parts);
    return mesh;
}

int32_t Constant(MbdWriter& writer, float value) {
    MbdWriter::Track track;
    track.defaultValue = value;
    track.keys.push_back({0.0f, value, 3, {}});
    return writer.AddTrack(track);
}

// Places a node: position and Euler tracks with one key each where not 0.
void Place(MbdWriter& writer, MbdWriter::Node& node, std::array<float, 3> position,
           std::array<float, 3> euler = {0, 0, 0}) {
    for (int i = 0; i < 3; ++i) {
        if (position[size_t(i)] != 0.0f)
            node.tracks[size_t(i)] = Constant(writer, position[size_t(i)]);
        if (euler[size_t(i)] != 0.0f)
            node.tracks[size_t(3 + i)] = Constant(writer, euler[size_t(i)]);
    }
}

MbdWriter::Node Frame(const std::string& name) {
    MbdWriter::Node node;
    node.name = name;
    node.type = 1;
    return node;
}

// Looks straight down from `height`: world +x to screen right, +z to screen up.
MbdWriter::Node CameraMount(MbdWriter& writer, float height) {
    MbdWriter::Node mount;
    mount.name = "CameraMount";
    mount.type = 5;
    Place(writer, mount, {0.0f, height, 0.0f}, {kPi / 2.0f, 0.0f, 0.0f});
    return mount;
}

// A turntable of the hangar: a disc-like slab spinning about its z, tilted so z is
// world up; its slots stand on it, the first toward the camera's bottom edge.
MbdWriter::Node Turntable(MbdWriter& writer, int player, int32_t image) {
    MbdWriter::Node tilt = Frame(player == 1 ? "TurntableLeft" : "TurntableRight");
    Place(writer, tilt, {player == 1 ? -kTurntableX : kTurntableX, 0.0f, kTurntableZ},
          {-kPi / 2.0f, 0.0f, 0.0f});
    const std::string layer = player == 1 ? "STAGE_SOKO:Layer2" : "STAGE_SOKO:Layer4";
    MbdWriter::Node table =
        MeshNode(layer, {BoxPart(writer, layer, {-2.4f, -2.4f, -0.3f}, {2.4f, 2.4f, 0.0f}, image)});
    for (int k = 0; k < 3; ++k) {
        const float angle = float(k) * 2.0f * kPi / 3.0f;
        MbdWriter::Node slot = Frame(std::string(1, char('1' + (player - 1) * 3 + k)));
        // Local y of the turntable points to the camera's bottom edge; the slot's y is up.
        Place(writer, slot, {kSlotRadius * std::sin(angle), kSlotRadius * std::cos(angle), 0.0f},
              {kPi / 2.0f, 0.0f, 0.0f});
        table.children.push_back(slot);
    }
    tilt.children.push_back(table);
    return tilt;
}

MbdWriter::Node Hangar(MbdWriter& writer) {
    const int32_t floor = SolidImage(writer, kPlaceholderHangarColour);
    const int32_t wall = SolidImage(writer, 0x556677);
    const int32_t crate = SolidImage(writer, 0x886633);
    const int32_t table = SolidImage(writer, 0x999999);
    MbdWriter::Node root;
    root.name = "STAGE_SOKO";
    root.type = 0;
    root.endTime = 300.0f;
    MbdWriter::Node scene = Frame("Scene");
    scene.children.push_back(
        MeshNode("STAGE_SOKO:Layer1",
                 {BoxPart(writer, "Floor", {-14.0f, -1.0f, -18.0f}, {14.0f, -0.4f, 18.0f}, floor),
                  BoxPart(writer, "BackWall", {-14.0f, -1.0f, 9.0f}, {14.0f, 3.0f, 10.0f}, wall),
                  BoxPart(writer, "LeftWall", {-8.5f, -1.0f, -18.0f}, {-7.5f, 3.0f, 10.0f}, wall),
                  BoxPart(writer, "RightWall", {7.5f, -1.0f, -18.0f}, {8.5f, 3.0f, 10.0f}, wall)}));
    scene.children.push_back(MeshNode(
        "STAGE_SOKO:Layer3", {BoxPart(writer, "CrateA", {-6.5f, -0.4f, 5.0f}, {-4.5f, 1.6f, 7.0f}, crate),
                              BoxPart(writer, "CrateB", {4.0f, -0.4f, 6.0f}, {6.5f, 1.0f, 8.0f}, crate),
                              BoxPart(writer, "CrateC", {-1.0f, -0.4f, 7.0f}, {1.0f, 0.6f, 8.5f}, crate)}));
    scene.children.push_back(Turntable(writer, 1, table));
    scene.children.push_back(Turntable(writer, 2, table));
    root.children.push_back(scene);
    root.children.push_back(CameraMount(writer, kHangarCameraHeight));
    return root;
}

// A landscape in `ground` with hills in `hill` and a block sliding across over 10 s.
MbdWriter::Node Landscape(MbdWriter& writer, const std::string& name, uint32_t ground, uint32_t hill,
                          uint32_t mover) {
    const int32_t groundImage = SolidImage(writer, ground);
    const int32_t hillImage = SolidImage(writer, hill);
    const int32_t moverImage = SolidImage(writer, mover);
    MbdWriter::Node root;
    root.name = name;
    root.type = 0;
    root.endTime = 300.0f;
    MbdWriter::Node scene = Frame("Scene");
    scene.children.push_back(
        MeshNode(name + ":Layer1",
                 {BoxPart(writer, "Ground", {-12.0f, -1.0f, -12.0f}, {12.0f, 0.0f, 12.0f}, groundImage),
                  BoxPart(writer, "HillA", {-5.0f, 0.0f, 1.0f}, {-2.0f, 2.0f, 4.0f}, hillImage),
                  BoxPart(writer, "HillB", {2.0f, 0.0f, -4.0f}, {4.0f, 3.0f, -2.0f}, hillImage)}));
    MbdWriter::Node moving = MeshNode(
        name + ":Layer2", {BoxPart(writer, "Mover", {-0.6f, 0.0f, -0.6f}, {0.6f, 1.2f, 0.6f}, moverImage)});
    MbdWriter::Track slide;
    slide.keys.push_back({0.0f, -6.0f, 3, {}});
    slide.keys.push_back({kMoveTime, 6.0f, 3, {}});
    slide.postMode = 3;
    moving.tracks[0] = writer.AddTrack(slide);
    MbdWriter::Track spin;
    spin.keys.push_back({0.0f, 0.0f, 3, {}});
    spin.keys.push_back({kMoveTime, 2.0f * kPi, 3, {}});
    spin.postMode = 2;
    moving.tracks[4] = writer.AddTrack(spin);
    scene.children.push_back(moving);
    root.children.push_back(scene);
    root.children.push_back(CameraMount(writer, kPreviewCameraHeight));
    return root;
}

constexpr uint32_t kShipColours[4] = {0x2244EE, 0xEE2222, 0x22CC44, 0xEEBB22};

}  // namespace

bool IsShipSelectStage(const std::string& stageId) {
    return stageId == "STAGE_SOKO" || stageId == "ISLAND" || stageId == "VOLCANO";
}

MbdWriter::Node PlaceholderShipSelectStage(MbdWriter& writer, const std::string& stageId) {
    if (stageId == "ISLAND")
        return Landscape(writer, stageId, kPlaceholderIslandColour, 0x116633, 0xDDDDDD);
    if (stageId == "VOLCANO")
        return Landscape(writer, stageId, kPlaceholderVolcanoColour, 0x662211, 0xFFAA00);
    return Hangar(writer);
}

void AddPlaceholderShipSelectModels(MbdWriter& writer) {
    using Box = std::array<std::array<float, 3>, 2>;
    // Body, wings, canopy, tail, engines: each ship its own set of boxes.
    const std::vector<Box> shapes[4] = {
        {{{{-0.15f, 0.0f, -0.5f}, {0.15f, 0.2f, 0.6f}}},
         {{{-0.6f, 0.05f, -0.3f}, {0.6f, 0.12f, 0.1f}}},
         {{{-0.08f, 0.2f, 0.1f}, {0.08f, 0.32f, 0.35f}}}},
        {{{{-0.2f, 0.0f, -0.5f}, {0.2f, 0.25f, 0.5f}}},
         {{{-0.8f, 0.05f, -0.4f}, {0.8f, 0.12f, 0.2f}}},
         {{{-0.1f, 0.25f, 0.0f}, {0.1f, 0.35f, 0.3f}}},
         {{{-0.05f, 0.25f, -0.5f}, {0.05f, 0.55f, -0.3f}}}},
        {{{{-0.1f, 0.0f, -0.6f}, {0.1f, 0.15f, 0.7f}}},
         {{{-0.4f, 0.03f, -0.5f}, {0.4f, 0.1f, -0.2f}}},
         {{{-0.06f, 0.15f, 0.2f}, {0.06f, 0.25f, 0.45f}}},
         {{{-0.35f, 0.0f, -0.6f}, {-0.2f, 0.15f, -0.1f}}},
         {{{0.2f, 0.0f, -0.6f}, {0.35f, 0.15f, -0.1f}}}},
        {{{{-0.3f, 0.0f, -0.5f}, {0.3f, 0.3f, 0.5f}}},
         {{{-0.7f, 0.05f, -0.2f}, {0.7f, 0.15f, 0.2f}}},
         {{{-0.12f, 0.3f, 0.0f}, {0.12f, 0.42f, 0.3f}}},
         {{{-0.7f, 0.0f, -0.5f}, {-0.55f, 0.35f, -0.2f}}},
         {{{0.55f, 0.0f, -0.5f}, {0.7f, 0.35f, -0.2f}}},
         {{{-0.05f, 0.3f, -0.5f}, {0.05f, 0.6f, -0.3f}}}},
    };
    const int32_t canopy = SolidImage(writer, 0xEEEEFF);
    for (int type = 0; type < 4; ++type) {
        const int32_t body = SolidImage(writer, kShipColours[type]);
        const std::string name = "ship" + std::to_string(type);
        MbdWriter::Node root;
        root.name = name;
        root.type = 0;
        root.endTime = 1.0f;
        int layer = 1;
        for (const Box& box : shapes[type]) {
            const std::string layerName = "Layer" + std::to_string(layer);
            root.children.push_back(
                MeshNode(name + ":" + layerName,
                         {BoxPart(writer, layerName, box[0], box[1], layer == 3 ? canopy : body)}));
            ++layer;
        }
        writer.AddModel(name, root);
    }
}

std::vector<int32_t> AddPlaceholderShipSelectSheets(MbdWriter& writer) {
    std::vector<int32_t> images;
    std::vector<S> select = {
        {"SelectYourFighter", 256, 32, "SELECT YOUR FIGHTER", kPlaceholderSelectFighterColour},
        {"stageselect_SelectScoreMode", 256, 32, "SELECT SCORE MODE", 0},
        {"SelectFirstStage", 256, 32, "SELECT FIRST STAGE", 0},
        {"1PPleaseSelectStage", 256, 24, "1P PLEASE SELECT", 0},
        {"2PPleaseSelect", 256, 24, "2P PLEASE SELECT", 0},
        {"SANKA_03_mode_SINGLE", 200, 240, "SINGLE", 0x3355AA},
        {"SANKA_04_mode_TAG", 200, 240, "TAG", 0xAA5533},
        {"stageselect_TheIsland", 160, 24, "THE ISLAND", 0},
        {"stageselect_TheVolcano", 160, 24, "THE VOLCANO", 0},
        {"SANKA_01_1p_uketuke", 192, 48, "1P PRESS START", 0},
        {"SANKA_02_2p_uketuke", 192, 48, "2P PRESS START", 0},
        {"1p_aikon_00_00", 32, 32, "1P", 0x2244EE},
        {"2p_aikon_00_00", 32, 32, "2P", 0xEE2222}};
    for (int type = 0; type < 4; ++type)
        select.push_back({"ShipName" + std::to_string(type), 160, 24, "SHIP " + std::to_string(type + 1),
                          kShipColours[type]});
    for (int corner = 1; corner <= 4; ++corner)
        select.push_back({"SLframe" + std::to_string(corner), 41, 31, "", 0xFFFFFF, S::kFrame});
    for (int frame = 1; frame <= 3; ++frame) {
        select.push_back({"003_R" + std::to_string(frame), 24, 32, ">", 0xEEEE22});
        select.push_back({"004_L" + std::to_string(frame), 24, 32, "<", 0xEEEE22});
    }
    images.push_back(AddPlaceholderSheet(writer, "stageselect", 512, select));

    std::vector<S> tutorial;
    const char* lever[9] = {"N", "D", "DL", "L", "UL", "U", "UR", "R", "DR"};
    for (int k = 1; k <= 9; ++k)
        tutorial.push_back(
            {"tutorial_rebar_0" + std::to_string(k), 80, 80, lever[k - 1], kPlaceholderLeverColour});
    for (int k = 1; k <= 3; ++k) {
        const uint32_t shade = 0x444444u * uint32_t(k);
        tutorial.push_back(
            {"tutorial_botan_0" + std::to_string(k), 48, 40, "S" + std::to_string(k), shade & 0xFFFFFF});
        tutorial.push_back({"tutorial_botan_ao_0" + std::to_string(k), 48, 40, "B" + std::to_string(k),
                            0x1122AA * uint32_t(k) & 0xFFFFFF});
    }
    tutorial.push_back({"tutorial_yazirusi", 48, 48, "V", 0xEEEE22});
    tutorial.push_back({"tutorial_NormalShot", 224, 32, "NORMAL SHOT", 0});
    tutorial.push_back({"tutorial_RiflectForace", 224, 32, "REFLECT FORCE", 0});
    tutorial.push_back({"tutorial_ForceBomb", 224, 32, "FORCE BOMB", 0});
    tutorial.push_back({"TUTORIAL", 128, 32, "TUTORIAL", 0});
    tutorial.push_back({"tutorial_PressStartButtonToSkip", 320, 24, "PRESS START TO SKIP", 0});
    images.push_back(AddPlaceholderSheet(writer, "tutorial", 512, tutorial));

    std::vector<S> messages;
    for (int k = 1; k <= 9; ++k)
        messages.push_back({"messe_0" + std::to_string(k), 448, 96, "MESSAGE " + std::to_string(k),
                            kPlaceholderMessageColour});
    images.push_back(AddPlaceholderSheet(writer, "messe", 512, messages));
    return images;
}

}  // namespace mareldon
