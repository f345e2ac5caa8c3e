#include "tools/archive/PlaceholderBoss3.h"

#include <cmath>
#include <string>
#include <utility>

namespace mareldon {

namespace {

using Node = MbdWriter::Node;

constexpr const char* kBoss = "bg_03big_spider";
constexpr float kPi = 3.1415927f;

// Half a side of each layer's box.
constexpr float kHalf[22] = {0.8f,  0.4f,  0.45f, 0.4f, 0.4f, 0.5f,  0.6f,  0.2f, 0.2f,  0.2f,  0.2f,
                             0.35f, 0.35f, 0.7f,  0.7f, 0.3f, 0.35f, 0.35f, 0.2f, 0.45f, 0.45f, 0.45f};

// A yaw held from time 0: muzzles that fire along their forward axis face the player.
void Yaw(MbdWriter& writer, Node& node, float radians) {
    MbdWriter::Track track;
    track.defaultValue = radians;
    track.keys.push_back({0.0f, radians, 3, {}});
    node.tracks[4] = writer.AddTrack(track);
}

}  // namespace

uint32_t PlaceholderBoss3Colour(int32_t layer) {
    static const uint32_t kColours[22] = {0xE03030, 0x606060, 0x3060E0, 0x30C030, 0x30C0C0, 0xE0E030,
                                          0xE030E0, 0x707070, 0x707070, 0x707070, 0x707070, 0xF08020,
                                          0x2080F0, 0x80F080, 0xF08080, 0x404040, 0xA06030, 0x30A060,
                                          0x707070, 0xC0C0F0, 0xF0C0C0, 0xC0F0C0};
    return layer >= 0 && layer < 22 ? kColours[layer] : 0x808080;
}

float PlaceholderBoss3Half(int32_t layer) {
    return layer >= 0 && layer < 22 ? kHalf[layer] : 0.0f;
}

uint32_t PlaceholderBoss3BrokenColour(int32_t layer) {
    const uint32_t c = PlaceholderBoss3Colour(layer);
    return (((c >> 16) & 0xFF) / 3) << 16 | (((c >> 8) & 0xFF) / 3) << 8 | ((c & 0xFF) / 3);
}

Node PlaceholderBoss3Node(StageModelBuilder& b, float appearTime, float endTime,
                          const PlaceholderBoss3Omit& omit) {
    auto keep = [&](std::vector<Node>& into, Node node, int32_t layer, const char* muzzle) {
        if (layer >= 0 && layer == omit.layer)
            return;
        if (muzzle != nullptr && omit.muzzle != nullptr && std::string(muzzle) == omit.muzzle)
            return;
        into.push_back(std::move(node));
    };
    auto box = [&](int32_t n, float x, float y, float z, std::vector<Node> children = {}) {
        Node node = b.Box(LayerName(kBoss, n), kHalf[n], PlaceholderBoss3Colour(n), std::move(children));
        b.At(node, x, y, z);
        return node;
    };
    auto muzzle = [&](std::vector<Node>& into, const std::string& name, float x, float z, float yaw = 0.0f) {
        Node node = StageModelBuilder::Frame("Null_JYUUKOU_" + name);
        // A frame node under scenery keeps a window of its own: the body's.
        b.Window(node, x, 0.0f, z, appearTime, endTime);
        if (yaw != 0.0f)
            Yaw(b.writer, node, yaw);
        keep(into, std::move(node), -1, name.c_str());
    };

    // The kasa (umbrellas) on either side, each carrying its twelve muzzles round its rim.
    std::vector<Node> kasa[2];
    for (int32_t side = 0; side < 2; ++side) {
        const char* prefix = side == 0 ? "kasaR" : "kasaL";
        for (int32_t n = 1; n <= 12; ++n) {
            const float a = float(n - 1) * kPi / 6.0f;
            muzzle(kasa[side], prefix + std::to_string(n), 0.6f * std::cos(a), 0.6f * std::sin(a));
        }
    }
    std::vector<Node> kasaR;
    keep(kasaR, box(13, 0.0f, 0.3f, 0.0f, std::move(kasa[0])), 13, nullptr);
    std::vector<Node> kasaL;
    keep(kasaL, box(14, 0.0f, 0.3f, 0.0f, std::move(kasa[1])), 14, nullptr);

    std::vector<Node> eyes;
    muzzle(eyes, "meC", 0.0f, -0.2f);
    muzzle(eyes, "meR", 0.3f, -0.1f, kPi);
    muzzle(eyes, "meL", -0.3f, -0.1f, kPi);
    std::vector<Node> eyeMount;
    keep(eyeMount, box(10, 0.0f, 0.0f, 0.0f, std::move(eyes)), 10, nullptr);

    std::vector<Node> rearR;
    keep(rearR, box(17, 0.6f, 0.0f, 0.8f), 17, nullptr);
    muzzle(rearR, "side_unitR", 0.3f, -0.3f);
    std::vector<Node> rearL;
    keep(rearL, box(16, -0.6f, 0.0f, 0.8f), 16, nullptr);
    muzzle(rearL, "side_unitL", -0.3f, -0.3f);

    std::vector<Node> frame;
    keep(frame, box(2, 0.0f, 0.2f, -1.2f), 2, nullptr);
    keep(frame, box(3, -1.6f, 0.0f, -0.6f), 3, nullptr);
    keep(frame, box(4, 1.6f, 0.0f, -0.6f), 4, nullptr);
    keep(frame, box(5, 0.0f, 0.2f, 0.6f), 5, nullptr);
    keep(frame, box(20, 0.0f, 0.2f, 1.4f), 20, nullptr);
    keep(frame, box(19, -1.0f, 0.2f, 1.3f), 19, nullptr);
    keep(frame, box(21, 1.0f, 0.2f, 1.3f), 21, nullptr);
    keep(frame, box(11, 0.7f, 0.3f, -1.4f), 11, nullptr);
    keep(frame, box(12, -0.7f, 0.3f, -1.4f), 12, nullptr);
    keep(frame, box(18, 0.0f, 0.0f, 1.9f), 18, nullptr);
    keep(frame, box(7, -1.6f, 0.0f, 0.6f, std::move(rearL)), 7, nullptr);
    keep(frame, box(8, 1.6f, 0.0f, 0.6f, std::move(rearR)), 8, nullptr);
    keep(frame, box(9, 0.0f, 0.3f, -0.9f, std::move(eyeMount)), 9, nullptr);
    {
        Node joint = StageModelBuilder::Frame("Null_kasaR", std::move(kasaR));
        b.Window(joint, 2.6f, 0.0f, -0.4f, appearTime, endTime);
        frame.push_back(std::move(joint));
        Node jointL = StageModelBuilder::Frame("Null_kasaL", std::move(kasaL));
        b.Window(jointL, -2.6f, 0.0f, -0.4f, appearTime, endTime);
        frame.push_back(std::move(jointL));
    }
    muzzle(frame, "kasaRcenter", 2.6f, -0.4f, kPi);
    muzzle(frame, "kasaLcenter", -2.6f, -0.4f, kPi);

    std::vector<Node> body;
    keep(body, box(0, 0.0f, 0.4f, 0.0f), 0, nullptr);
    keep(body, box(6, 0.0f, 0.0f, 1.0f), 6, nullptr);
    keep(body, box(1, 0.0f, 0.0f, 0.0f, std::move(frame)), 1, nullptr);
    Node root = b.Box(LayerName(kBoss, 15), kHalf[15], PlaceholderBoss3Colour(15), std::move(body));
    b.Window(root, 0.0f, 0.0f, kPlaceholderBoss3Z, appearTime, endTime);
    return root;
}

void AddPlaceholderBoss3Models(MbdWriter& writer) {
    StageModelBuilder b(writer);
    const std::string broken = std::string(kBoss) + "_koware";
    std::vector<Node> layers;
    for (int32_t n = 0; n <= 21; ++n)
        layers.push_back(
            b.Box(LayerName(broken.c_str(), n), kHalf[n] * 0.9f, PlaceholderBoss3BrokenColour(n)));
    writer.AddModel(broken, ModelRoot(broken, 1.0f, std::move(layers)));
}

void AddPlaceholderBoss3ToStage(MbdWriter& writer, MbdWriter::Node& stage) {
    StageModelBuilder builder(writer);
    AddToScene(stage, PlaceholderBoss3Node(builder));
}

}  // namespace mareldon
