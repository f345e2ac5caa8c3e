#include "tools/archive/PlaceholderBoss2.h"

#include <cstring>
#include <string>
#include <utility>

namespace mareldon {

namespace {

using Node = MbdWriter::Node;

constexpr const char* kBoss = "ba02_cyou";

// Half a side of each layer's box.
constexpr float kHalf[15] = {0.3f, 0.5f, 0.7f, 0.6f,  0.5f,  0.3f,  0.3f, 0.5f,
                             0.4f, 0.4f, 0.4f, 0.35f, 0.35f, 0.35f, 0.35f};

}  // namespace

uint32_t PlaceholderBoss2Colour(int32_t layer) {
    static const uint32_t kColours[15] = {0x505050, 0xE0A020, 0x3060E0, 0xE03030, 0x20C0A0,
                                          0x707070, 0x707070, 0xC040C0, 0x909090, 0x909090,
                                          0x909090, 0x40E040, 0xE0E040, 0x40A0F0, 0xF07040};
    return layer >= 0 && layer < 15 ? kColours[layer] : 0x808080;
}

float PlaceholderBoss2Half(int32_t layer) {
    return layer >= 0 && layer < 15 ? kHalf[layer] : 0.0f;
}

uint32_t PlaceholderBoss2BrokenColour(int32_t layer) {
    const uint32_t c = PlaceholderBoss2Colour(layer);
    return (((c >> 16) & 0xFF) / 3) << 16 | (((c >> 8) & 0xFF) / 3) << 8 | ((c & 0xFF) / 3);
}

Node PlaceholderBoss2Node(StageModelBuilder& b, float appearTime, float endTime,
                          const PlaceholderBoss2Omit& omit) {
    auto keep = [&](std::vector<Node>& into, Node node, bool present) {
        if (present)
            into.push_back(std::move(node));
    };
    auto box = [&](int32_t n, float x, float y, float z, std::vector<Node> children = {}) {
        Node node = b.Box(LayerName(kBoss, n), kHalf[n], PlaceholderBoss2Colour(n), std::move(children));
        b.At(node, x, y, z);
        return node;
    };
    auto gun = [&](std::vector<Node>& into, const char* name, float x, float z) {
        Node node = StageModelBuilder::Frame(std::string("Null_JYUUKOU_") + name);
        b.At(node, x, 0.0f, z);
        keep(into, std::move(node), omit.gun == nullptr || std::strcmp(omit.gun, name) != 0);
    };
    auto section = [&](std::vector<Node>& into, int32_t n, float x, float y, float z,
                       std::vector<Node> children) {
        keep(into, box(n, x, y, z, std::move(children)), omit.layer != n);
    };
    // The pods carry the unit guns, five under the body.
    std::vector<Node> pod11, pod13, pod12, pod14;
    gun(pod11, "Runit1", 0.0f, 0.3f);
    gun(pod13, "Lunit1", 0.0f, 0.3f);
    gun(pod12, "Runit2", 0.0f, -0.3f);
    gun(pod14, "Lunit2", 0.0f, -0.3f);
    // All four pods hang on Layer7, not the front ones on Layer3: that one ends when it
    // breaks.
    std::vector<Node> tail, hull;
    section(tail, 11, 1.1f, 0.0f, 2.7f, std::move(pod11));
    section(tail, 13, -1.1f, 0.0f, 2.7f, std::move(pod13));
    section(tail, 12, 1.1f, 0.0f, 0.0f, std::move(pod12));
    section(tail, 14, -1.1f, 0.0f, 0.0f, std::move(pod14));
    // Guns three under the body.
    std::vector<Node> back;
    section(back, 3, 0.0f, 0.2f, 1.0f, {});
    section(back, 7, 0.0f, 0.1f, -1.2f, std::move(tail));
    gun(back, "center0", 0.0f, 1.7f);
    gun(back, "center1", 0.0f, -1.9f);
    gun(back, "revolver0", 1.6f, 0.4f);
    gun(back, "revolver1", 1.6f, -0.2f);
    gun(back, "revolver2", 0.6f, 1.2f);
    gun(back, "revolver3", -0.6f, 1.2f);
    gun(back, "revolver4", -1.6f, 0.4f);
    gun(back, "revolver5", -1.6f, -0.2f);
    section(hull, 2, 0.0f, 0.5f, -0.4f, std::move(back));
    std::vector<Node> rightHull;
    section(rightHull, 4, -2.0f, 0.8f, 0.4f, {});
    std::vector<Node> below;
    section(below, 1, 2.0f, 0.0f, 0.4f, {});
    // Two small hidden carriers low under the hull.
    below.push_back(box(5, 0.0f, -0.8f, 0.0f, std::move(hull)));
    below.push_back(box(6, 0.0f, -0.8f, 0.0f, std::move(rightHull)));
    below.push_back(box(8, 2.9f, 0.0f, -0.6f));
    below.push_back(box(9, -2.9f, 0.0f, -0.6f));
    below.push_back(box(10, 0.0f, 0.0f, -2.2f));
    Node body = b.Box(LayerName(kBoss, 0), kHalf[0], PlaceholderBoss2Colour(0), std::move(below));
    b.Window(body, 0.0f, 0.0f, kPlaceholderBoss2Z, appearTime, endTime);
    return body;
}

void AddPlaceholderBoss2Models(MbdWriter& writer) {
    StageModelBuilder b(writer);
    const std::string broken = std::string(kBoss) + "_koware";
    std::vector<Node> layers;
    for (int32_t n = 0; n <= 14; ++n)
        layers.push_back(
            b.Box(LayerName(broken.c_str(), n), kHalf[n] * 0.9f, PlaceholderBoss2BrokenColour(n)));
    writer.AddModel(broken, ModelRoot(broken, 1.0f, std::move(layers)));
}

void AddPlaceholderBoss2ToStage(MbdWriter& writer, MbdWriter::Node& stage) {
    StageModelBuilder builder(writer);
    AddToScene(stage, PlaceholderBoss2Node(builder));
}

}  // namespace mareldon
