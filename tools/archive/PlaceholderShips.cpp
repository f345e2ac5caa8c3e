#include "tools/archive/PlaceholderShips.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "tools/archive/ArchiveRecords.h"

namespace mareldon {

namespace {

using Rgb = std::array<uint8_t, 3>;

constexpr Rgb kBodyColours[4] = {{70, 130, 230}, {220, 70, 60}, {60, 190, 90}, {230, 180, 40}};
constexpr Rgb kCanopyColour = {235, 240, 250};

int32_t SolidImage(MbdWriter& writer, const Rgb& colour) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 4; ++i)
        rgba.insert(rgba.end(), {colour[0], colour[1], colour[2], 255});
    return writer.AddImage(EncodePng(2, 2, rgba));
}

// A flat polygon facing up (+y) at height y, as a fan of triangles from its first point;
// its part takes the shading group `group` (the layer name when empty).
MbdWriter::Node FlatLayer(MbdWriter& writer, const std::string& name, const std::string& layer, int32_t image,
                          const std::vector<std::array<float, 2>>& outline, float y,
                          const std::string& group = "") {
    std::vector<float> words;
    for (const auto& p : outline)
        words.insert(words.end(), {p[0], y, p[1], 0.0f, 1.0f, 0.0f, 0.5f, 0.5f});
    std::vector<uint32_t> indices;
    for (uint32_t i = 1; i + 1 < outline.size(); ++i)
        indices.insert(indices.end(), {0u, i, i + 1});
    MbdWriter::Part part;
    part.name = group.empty() ? layer : group;
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(8, words);
    part.vertexCount = int32_t(outline.size());
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = int32_t(indices.size());
    part.settings.radius = 0.5f;
    MbdWriter::Node mesh;
    mesh.name = name + ":" + layer;
    mesh.type = 2;
    mesh.mesh.parts.push_back(part);
    return mesh;
}

MbdWriter::Node Root(const std::string& name, float endTime) {
    MbdWriter::Node root;
    root.name = name;
    root.type = 0;
    root.endTime = endTime;
    return root;
}

// Each type a different outline, nose toward +z.
std::vector<std::array<float, 2>> BodyOutline(int32_t type) {
    switch (type) {
        case 0:  // dart
            return {{0.0f, 0.3f}, {-0.25f, -0.3f}, {0.0f, -0.18f}, {0.25f, -0.3f}};
        case 1:  // broad wing
            return {{0.0f, 0.3f}, {-0.32f, -0.1f}, {-0.2f, -0.3f}, {0.2f, -0.3f}, {0.32f, -0.1f}};
        case 2:  // slim needle
            return {{0.0f, 0.32f}, {-0.12f, -0.28f}, {0.12f, -0.28f}};
        default:  // box
            return {{-0.08f, 0.3f}, {-0.22f, -0.3f}, {0.22f, -0.3f}, {0.08f, 0.3f}};
    }
}

// Scale keys from `from` to `to` over the model's time, on a grouping node.
MbdWriter::Node Growing(MbdWriter& writer, MbdWriter::Node child, float from, float to, float endTime) {
    MbdWriter::Node grow;
    grow.name = child.name + "_grow";
    grow.type = 1;
    MbdWriter::Track scale;
    scale.keys.push_back({0.0f, from, 3, {}});
    scale.keys.push_back({endTime, to, 3, {}});
    const int32_t track = writer.AddTrack(scale);
    grow.tracks[6] = grow.tracks[7] = grow.tracks[8] = track;
    grow.children.push_back(std::move(child));
    return grow;
}

// A bright square of additive light, 2 * half a side, that lasts `endTime` seconds.
MbdWriter::Node FlashModel(MbdWriter& writer, const std::string& name, const Rgb& colour, float half,
                           float endTime, bool grows) {
    const int32_t image = SolidImage(writer, colour);
    MbdWriter::Node quad =
        FlatLayer(writer, name, "Layer1", image, {{-half, half}, {-half, -half}, {half, -half}, {half, half}},
                  0.05f, "addsat");
    MbdWriter::Node root = Root(name, endTime);
    root.children.push_back(grows ? Growing(writer, std::move(quad), 0.4f, 1.2f, endTime) : std::move(quad));
    return root;
}

}  // namespace

void AddPlaceholderShipData(MbdWriter& writer) {
    const int32_t canopy = SolidImage(writer, kCanopyColour);
    for (int32_t type = 0; type < 4; ++type) {
        const int32_t body = SolidImage(writer, kBodyColours[type]);
        const std::string digit(1, char('0' + type));
        const std::string ship = "sel_p0" + digit + "_fix";
        MbdWriter::Node root = Root(ship, 1.0f);
        root.children.push_back(FlatLayer(writer, ship, "Layer1", body, BodyOutline(type), 0.0f));
        root.children.push_back(FlatLayer(writer, ship, "Layer2", canopy,
                                          {{0.0f, 0.12f}, {-0.05f, -0.05f}, {0.05f, -0.05f}}, 0.02f));
        writer.AddModel(ship, root);

        const std::string pod = "sel_p0" + digit + "_podonly";
        MbdWriter::Node podRoot = Root(pod, 1.0f);
        podRoot.children.push_back(
            FlatLayer(writer, pod, "Layer1", body,
                      {{-0.06f, 0.08f}, {-0.06f, -0.08f}, {0.06f, -0.08f}, {0.06f, 0.08f}}, 0.0f));
        writer.AddModel(pod, podRoot);
    }
    writer.AddModel("EXPLOSION_PLAYER",
                    FlashModel(writer, "EXPLOSION_PLAYER", {255, 140, 40}, 0.6f, 1.0f, true));

    // Muzzle flashes loop while their gun fires; hit effects are over within 0.3 s.
    const std::pair<const char*, Rgb> flashes[] = {{"PSHOT_MUZZLE00", {140, 190, 255}},
                                                   {"PSHOT_MUZZLE01", {255, 140, 120}},
                                                   {"PSHOT_MUZZLE02", {140, 255, 160}},
                                                   {"PSHOT_MUZZLE02_2", {200, 255, 140}},
                                                   {"PSHOT_MUZZLE03", {255, 220, 120}}};
    for (const auto& [name, colour] : flashes)
        writer.AddModel(name, FlashModel(writer, name, colour, 0.08f, 0.1f, false));
    const std::pair<const char*, Rgb> hits[] = {{"PSHOT_HIT", {255, 255, 200}},
                                                {"STE_pl00_s_chakudan", {140, 190, 255}},
                                                {"STE_pl01_b_chakudan", {255, 140, 120}},
                                                {"STE_pl02_h_chakudan", {140, 255, 160}},
                                                {"STE_pl03_k_chakudan", {255, 220, 120}}};
    for (const auto& [name, colour] : hits)
        writer.AddModel(name, FlashModel(writer, name, colour, 0.15f, 0.25f, true));
}

}  // namespace mareldon
