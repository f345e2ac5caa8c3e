#include "tools/archive/PlaceholderBoss4.h"

#include <string>
#include <utility>

namespace mareldon {

namespace {

using Node = MbdWriter::Node;

constexpr const char* kBoss = "ba_04kao";

float Half(int32_t layer) {
    if (layer == 24 || layer == 23 || layer == 0)
        return 0.3f;
    if (layer == 2 || layer == 25)
        return 1.2f;
    if (layer == 1)
        return 1.5f;
    return layer >= 3 && layer <= 8 ? 0.8f : 0.4f;
}

// Linear keys on one track of a node.
void Keys(MbdWriter& writer, Node& node, int32_t track, const std::vector<std::pair<float, float>>& keys) {
    MbdWriter::Track t;
    t.defaultValue = keys.empty() ? 0.0f : keys.front().second;
    for (const auto& [time, value] : keys)
        t.keys.push_back({time, value, StageModelBuilder::kLinear, {}});
    node.tracks[size_t(track)] = writer.AddTrack(t);
}

}  // namespace

uint32_t PlaceholderBoss4Colour(int32_t layer) {
    static const uint32_t kColours[10] = {0x606060, 0xB08040, 0xE03030, 0x40A0E0, 0x40C060,
                                          0x40E060, 0xE0A040, 0xC060E0, 0xE06090, 0x909090};
    if (layer == 25)
        return 0x20F0F0;
    if (layer == 23)
        return 0xD0C0A0;
    return layer >= 0 && layer < 10 ? kColours[layer] : 0x707070;
}

Node PlaceholderBoss4Node(StageModelBuilder& b, float appearTime, float endTime) {
    auto box = [&](int32_t n, float x, float z, std::vector<Node> children = {}) {
        Node node = b.Box(LayerName(kBoss, n), Half(n), PlaceholderBoss4Colour(n), std::move(children));
        b.At(node, x, 0.0f, z);
        return node;
    };
    auto frame = [&](const std::string& name, std::vector<Node> children = {}, float x = 0.0f,
                     float z = 0.0f) {
        Node node = StageModelBuilder::Frame(name, std::move(children));
        b.At(node, x, 0.0f, z);
        return node;
    };
    auto muzzle = [&](const char* name, float x, float z) {
        return frame(std::string("Null_JYUUKOU_") + name, {}, x, z);
    };

    // The plates two levels under the body, the body's muzzles four levels under it.
    Node muzzles =
        frame("Null_b4_muzzles", {muzzle("medarion", 0.0f, 1.5f), muzzle("hebi_Rue", 3.5f, 2.0f),
                                  muzzle("hebi_Rnaka", 4.0f, 0.0f), muzzle("hebi_Rshita", 3.5f, -2.0f),
                                  muzzle("hebi_Lue", -3.5f, 2.0f), muzzle("hebi_Lnaka", -4.0f, 0.0f),
                                  muzzle("hebi_Lshita", -3.5f, -2.0f)});
    Node plates = frame("Null_b4_plates",
                        {box(3, -2.0f, 2.0f), box(4, -2.5f, 0.0f), box(5, -2.0f, -2.0f), box(6, 2.0f, 2.0f),
                         box(7, 2.5f, 0.0f), box(8, 2.0f, -2.0f), std::move(muzzles)});
    Node face = frame("Null_b4_face", {std::move(plates)});
    Node weak = frame("Null_b4_weak",
                      {box(2, 0.0f, 0.5f), muzzle("S_meL", -1.0f, 1.0f), muzzle("S_meR", 1.0f, 1.0f)});
    std::vector<Node> bodyChildren = {box(1, 0.0f, -3.0f), std::move(weak), std::move(face)};
    for (int32_t n = 9; n <= 22; ++n)
        bodyChildren.push_back(box(n, float(n - 15) * 0.6f, 4.0f));
    Node body = box(24, 0.0f, kPlaceholderBoss4Z, std::move(bodyChildren));

    // The head's muzzles four levels under it.
    Node headMuzzles = frame("Null_b4_head_c", {muzzle("medarion2", 0.0f, 1.0f), muzzle("U_meR2", 1.5f, 0.5f),
                                                muzzle("U_meL2", -1.5f, 0.5f), muzzle("doguu_ue", 0.0f, 3.0f),
                                                muzzle("doguu_shita", 0.0f, -2.0f)});
    Node head = box(
        23, 0.0f, kPlaceholderBoss4Z,
        {box(25, 0.0f, 0.0f), frame("Null_b4_head_a", {frame("Null_b4_head_b", {std::move(headMuzzles)})})});

    std::vector<Node> rootChildren = {std::move(body), std::move(head)};
    for (int32_t n = 26; n <= 33; ++n)
        rootChildren.push_back(box(n, float(n - 30) * 1.2f, kPlaceholderBoss4Z + 6.0f));
    Node root = b.Box(LayerName(kBoss, 0), Half(0), PlaceholderBoss4Colour(0), std::move(rootChildren));
    // At the origin of "Scene": the head stands where its model carries it.
    b.Window(root, 0.0f, 0.0f, 0.0f, appearTime, endTime);
    return root;
}

void AddPlaceholderBoss4Models(MbdWriter& writer) {
    StageModelBuilder b(writer);
    const std::string broken = std::string(kBoss) + "_k";
    std::vector<Node> layers;
    for (int32_t n = 0; n <= 14; ++n) {
        const uint32_t c = PlaceholderBoss4Colour(n);
        const uint32_t dim = (((c >> 16) & 0xFF) / 3) << 16 | (((c >> 8) & 0xFF) / 3) << 8 | ((c & 0xFF) / 3);
        layers.push_back(b.Box(LayerName(broken.c_str(), n), Half(n) * 0.9f, dim));
    }
    writer.AddModel(broken, ModelRoot(broken, 1.0f, std::move(layers)));

    // The head model carries the head down into view and sways it.
    Node carrier = b.Box("Boss4Head:Layer0", 0.2f, 0xA0A0A0);
    Keys(writer, carrier, 0, {{0.0f, 0.0f}});
    Keys(writer, carrier, 1, {{0.0f, 0.0f}});
    Keys(writer, carrier, 2,
         {{0.0f, kPlaceholderBoss4Z + 3.0f}, {2.5f, kPlaceholderBoss4Z}, {40.0f, kPlaceholderBoss4Z}});
    Keys(writer, carrier, 5, {{0.0f, 0.0f}, {10.0f, 0.3f}, {20.0f, -0.3f}, {40.0f, 0.0f}});
    writer.AddModel("Boss4Head", ModelRoot("Boss4Head", 40.0f, {std::move(carrier)}));

    Node blast = b.Box("EXPLOSION_S4BOSS:Layer0", 1.5f, 0xFFD0A0);
    for (int axis = 0; axis < 3; ++axis)
        b.ScaleKeys(blast, axis, {{0.0f, 0.5f}, {0.8f, 4.0f}}, StageModelBuilder::kLinear);
    writer.AddModel("EXPLOSION_S4BOSS", ModelRoot("EXPLOSION_S4BOSS", 0.8f, {std::move(blast)}));
}

void AddPlaceholderBoss4ToStage(MbdWriter& writer, Node& stage) {
    StageModelBuilder builder(writer);
    AddToScene(stage, PlaceholderBoss4Node(builder));
}

}  // namespace mareldon
