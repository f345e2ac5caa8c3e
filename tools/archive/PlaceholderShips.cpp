#include "tools/archive/PlaceholderShips.h"

#include <array>
#include <string>
#include <vector>

#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/PlaceholderStages.h"

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

// A flat polygon facing up (+y) at height y, as a fan of triangles from its first point.
MbdWriter::Node FlatLayer(MbdWriter& writer, const std::string& name, const std::string& layer, int32_t image,
                          const std::vector<std::array<float, 2>>& outline, float y) {
    std::vector<float> words;
    for (const auto& p : outline)
        words.insert(words.end(), {p[0], y, p[1], 0.0f, 1.0f, 0.0f, 0.5f, 0.5f});
    std::vector<uint32_t> indices;
    for (uint32_t i = 1; i + 1 < outline.size(); ++i)
        indices.insert(indices.end(), {0u, i, i + 1});
    MbdWriter::Part part;
    part.name = layer;
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
    writer.AddModel("EXPLOSION_PLAYER", QuadModel(writer, "EXPLOSION_PLAYER", 0.6f, 1.0f));
}

}  // namespace mareldon
