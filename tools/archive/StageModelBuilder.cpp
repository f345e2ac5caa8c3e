#include "tools/archive/StageModelBuilder.h"

#include <cmath>

#include "tools/archive/ArchiveRecords.h"

namespace mareldon {

namespace {

StageModelBuilder::Node Named(const std::string& name, int32_t type,
                              std::vector<StageModelBuilder::Node> children) {
    StageModelBuilder::Node node;
    node.name = name;
    node.type = type;
    node.children = std::move(children);
    return node;
}

}  // namespace

StageModelBuilder::Node StageModelBuilder::Frame(const std::string& name, std::vector<Node> children) {
    return Named(name, 1, std::move(children));
}

StageModelBuilder::Node StageModelBuilder::Bone(const std::string& name, std::vector<Node> children) {
    return Named(name, 3, std::move(children));
}

StageModelBuilder::Node StageModelBuilder::TypeFive(const std::string& name, std::vector<Node> children) {
    return Named(name, 5, std::move(children));
}

int32_t StageModelBuilder::Texture(uint32_t rgb) {
    auto found = textures.find(rgb);
    if (found != textures.end())
        return found->second;
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 16; ++i)
        rgba.insert(rgba.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255});
    const int32_t image = writer.AddImage(EncodePng(4, 4, rgba));
    textures.emplace(rgb, image);
    return image;
}

StageModelBuilder::Node StageModelBuilder::Box(const std::string& name, float half, uint32_t rgb,
                                               std::vector<Node> children) {
    // Six faces of four corners: Position, Normal, TextureUV.
    const float faces[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    std::vector<float> words;
    std::vector<uint32_t> indices;
    for (const auto& n : faces) {
        // Two axes across the face.
        const float u[3] = {n[1] != 0 || n[2] != 0 ? 1.0f : 0.0f, n[0] != 0 ? 1.0f : 0.0f, 0.0f};
        const float v[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0]};
        const uint32_t first = uint32_t(words.size() / 8);
        const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
        for (const auto& st : corners) {
            for (int i = 0; i < 3; ++i)
                words.push_back(half * (n[i] + st[0] * u[i] + st[1] * v[i]));
            words.insert(words.end(), {n[0], n[1], n[2], (st[0] + 1) / 2, (1 - st[1]) / 2});
        }
        indices.insert(indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    MbdWriter::Part part;
    part.name = "nonshade";
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", Texture(rgb)});
    part.vertexArray = writer.AddVertexArray(8, words);
    part.vertexCount = 24;
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = 36;
    part.settings.radius = 1.8f * half;
    Node node = Named(name, 2, std::move(children));
    node.mesh.parts.push_back(part);
    return node;
}

int32_t StageModelBuilder::Keys(const std::vector<std::pair<float, float>>& keys, uint32_t kind,
                                float defaultValue) {
    MbdWriter::Track track;
    track.defaultValue = defaultValue;
    for (const auto& [time, value] : keys)
        track.keys.push_back({time, value, kind, {}});
    return writer.AddTrack(track);
}

StageModelBuilder::Node& StageModelBuilder::Window(Node& node, float x, float y, float z, float t0,
                                                   float t1) {
    const float values[3] = {x, y, z};
    for (int i = 0; i < 3; ++i)
        node.tracks[size_t(i)] = Keys({{t0, values[i]}, {t1, values[i]}}, kLinear, values[i]);
    return node;
}

StageModelBuilder::Node& StageModelBuilder::At(Node& node, float x, float y, float z) {
    const float values[3] = {x, y, z};
    for (int i = 0; i < 3; ++i)
        node.tracks[size_t(i)] = Keys({{0.0f, values[i]}}, kLinear, values[i]);
    return node;
}

StageModelBuilder::Node& StageModelBuilder::ScaleKeys(Node& node, int axis,
                                                      const std::vector<std::pair<float, float>>& keys,
                                                      uint32_t kind) {
    node.tracks[size_t(6 + axis)] = Keys(keys, kind, 1.0f);
    return node;
}

StageModelBuilder::Node StageModelBuilder::CameraMount(float height) {
    Node mount = TypeFive("CameraMount");
    // A node takes only the components whose tracks have keys.
    mount.tracks[1] = Keys({{0.0f, height}}, kLinear, height);
    // Turned a quarter about x: its +z (the view) points down, its +y (up) along world +z.
    const float pitch = float(M_PI / 2.0);
    mount.tracks[3] = Keys({{0.0f, pitch}}, kLinear, pitch);
    return mount;
}

StageModelBuilder::Node StageModelBuilder::Stage(const std::string& name, std::vector<Node> scene,
                                                 float endTime, float cameraHeight) {
    Node root = Named(name, 0, {Frame("Scene", std::move(scene)), CameraMount(cameraHeight)});
    root.endTime = endTime;
    return root;
}

std::string LayerName(const std::string& model, int32_t n) {
    return model + ":Layer" + std::to_string(n);
}

MbdWriter::Node ModelRoot(const std::string& name, float endTime, std::vector<MbdWriter::Node> children) {
    MbdWriter::Node root;
    root.name = name;
    root.type = 0;
    root.endTime = endTime;
    root.children = std::move(children);
    return root;
}

bool AddToScene(MbdWriter::Node& stage, MbdWriter::Node node) {
    for (MbdWriter::Node& child : stage.children) {
        if (child.name == "Scene") {
            child.children.push_back(std::move(node));
            return true;
        }
    }
    return false;
}

}  // namespace mareldon
