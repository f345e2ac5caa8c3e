#include "tools/archive/PlaceholderBoss1.h"

#include <string>
#include <utility>

namespace mareldon {

namespace {

using Node = MbdWriter::Node;

constexpr const char* kBoss = "ba_01zenyoku";

// Half a side of each layer's box.
constexpr float kHalf[18] = {0.6f,  0.3f,  0.7f, 0.6f, 0.6f, 0.45f, 0.45f, 0.45f, 0.45f,
                             0.35f, 0.35f, 0.2f, 0.2f, 0.2f, 0.2f,  0.2f,  0.4f,  0.2f};

// Six faces of an axis-aligned box: Position, Normal, TextureUV a vertex.
void AddBoxFaces(const float centre[3], const float half[3], std::vector<float>& words,
                 std::vector<uint32_t>& indices) {
    for (int axis = 0; axis < 3; ++axis) {
        const int a = (axis + 1) % 3, b = (axis + 2) % 3;
        for (const float sign : {1.0f, -1.0f}) {
            const uint32_t first = uint32_t(words.size() / 8);
            const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
            for (const auto& st : corners) {
                float p[3], n[3] = {0.0f, 0.0f, 0.0f};
                p[axis] = centre[axis] + sign * half[axis];
                p[a] = centre[a] + st[0] * half[a];
                p[b] = centre[b] + st[1] * half[b];
                n[axis] = sign;
                words.insert(words.end(),
                             {p[0], p[1], p[2], n[0], n[1], n[2], (st[0] + 1) / 2, (1 - st[1]) / 2});
            }
            // Counter-clockwise seen from outside on either side.
            if (sign > 0)
                indices.insert(indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
            else
                indices.insert(indices.end(), {first, first + 2, first + 1, first, first + 3, first + 2});
        }
    }
}

// A broken layer: the box with its +x, +z quarter knocked out (seen from above, the
// corner toward the screen's top right), so what lies under it shows through.
Node NotchedBox(StageModelBuilder& b, const std::string& name, float half, uint32_t rgb) {
    Node node = b.Box(name, half, rgb);
    std::vector<float> words;
    std::vector<uint32_t> indices;
    const float quarter[3] = {half / 2.0f, half, half / 2.0f};
    for (const auto& [sx, sz] : {std::pair{-1.0f, -1.0f}, std::pair{1.0f, -1.0f}, std::pair{-1.0f, 1.0f}}) {
        const float centre[3] = {sx * half / 2.0f, 0.0f, sz * half / 2.0f};
        AddBoxFaces(centre, quarter, words, indices);
    }
    MbdWriter::Part& part = node.mesh.parts.front();
    part.vertexArray = b.writer.AddVertexArray(8, words);
    part.vertexCount = int32_t(words.size() / 8);
    part.indexArray = b.writer.AddIndexArray(indices);
    part.indexCount = int32_t(indices.size());
    return node;
}

}  // namespace

uint32_t PlaceholderBoss1Colour(int32_t layer) {
    static const uint32_t kColours[18] = {0xE03030, 0x707070, 0x3060E0, 0x30C030, 0x30C0C0, 0xE0E030,
                                          0xE030E0, 0xF08020, 0x2080F0, 0x80F080, 0xF08080, 0x909090,
                                          0x909090, 0x909090, 0x909090, 0x909090, 0x808080, 0x505050};
    return layer >= 0 && layer < 18 ? kColours[layer] : 0x808080;
}

uint32_t PlaceholderBoss1BrokenColour(int32_t layer) {
    const uint32_t c = PlaceholderBoss1Colour(layer);
    return (((c >> 16) & 0xFF) / 3) << 16 | (((c >> 8) & 0xFF) / 3) << 8 | ((c & 0xFF) / 3);
}

Node PlaceholderBoss1Node(StageModelBuilder& b, float appearTime, float endTime) {
    auto box = [&](int32_t n, float x, float y, float z, std::vector<Node> children = {}) {
        Node node = b.Box(LayerName(kBoss, n), kHalf[n], PlaceholderBoss1Colour(n), std::move(children));
        b.At(node, x, y, z);
        return node;
    };
    auto frame = [&](const char* name, float x, float z, std::vector<Node> children = {}) {
        Node node = StageModelBuilder::Frame(name, std::move(children));
        b.At(node, x, 0.0f, z);
        return node;
    };
    // Wing A on the left (-x), wing B mirrored; 9 and 10 five levels under the body.
    Node wingTipA =
        frame("Null_ba01_tubasa_sakiL", -3.3f, 0.0f,
              {box(7, 0.0f, 0.0f, 0.0f, {box(11, -0.4f, 0.0f, 0.0f, {box(9, -0.3f, 0.0f, -0.7f)})})});
    Node wingTipB =
        frame("Null_ba01_tubasa_sakiR", 3.3f, 0.0f,
              {box(8, 0.0f, 0.0f, 0.0f, {box(12, 0.4f, 0.0f, 0.0f, {box(10, 0.3f, 0.0f, -0.7f)})})});
    Node frameLayer = box(
        1, 0.0f, 0.0f, 0.0f,
        {box(2, 0.0f, 0.3f, -0.3f), box(3, -1.4f, 0.0f, 0.0f, {box(13, 0.0f, 0.5f, 0.0f)}),
         box(4, 1.4f, 0.0f, 0.0f, {box(14, 0.0f, 0.5f, 0.0f)}), box(5, -2.4f, 0.0f, 0.4f),
         box(6, 2.4f, 0.0f, 0.4f), std::move(wingTipA), std::move(wingTipB),
         frame("Null_ba01_tubasa_sakisotoL", -3.6f, 1.0f), frame("Null_ba01_tubasa_sakisotoR", 3.6f, 1.0f)});
    Node body = b.Box(LayerName(kBoss, 17), kHalf[17], PlaceholderBoss1Colour(17),
                      {box(0, 0.0f, 0.0f, 0.0f), std::move(frameLayer), box(16, 0.0f, -0.4f, 0.9f)});
    b.Window(body, 0.0f, 0.0f, kPlaceholderBoss1Z, appearTime, endTime);
    return body;
}

void AddPlaceholderBoss1Models(MbdWriter& writer) {
    StageModelBuilder b(writer);
    const std::string broken = std::string(kBoss) + "_koware";
    std::vector<Node> layers;
    for (int32_t n = 0; n <= 16; ++n)
        layers.push_back(
            NotchedBox(b, LayerName(broken.c_str(), n), kHalf[n] * 0.9f, PlaceholderBoss1BrokenColour(n)));
    writer.AddModel(broken, ModelRoot(broken, 1.0f, std::move(layers)));
    const struct {
        const char* name;
        float half;
        uint32_t rgb;
    } kWeapons[] = {{"ba_01zenyoku_kirai_cover", 0.5f, 0xC0C0C0},
                    {"ba_01zenyoku_houdai_B", 0.4f, 0xA0A0F0},
                    {"ba_01zenyoku_houdai_S", 0.3f, 0xF0A0A0},
                    {"ba_01zenyoku_2renhou", 0.25f, 0xA0F0A0}};
    for (const auto& weapon : kWeapons) {
        Node mesh = b.Box(LayerName(weapon.name, 0), weapon.half, weapon.rgb);
        writer.AddModel(weapon.name, ModelRoot(weapon.name, 1.0f, {std::move(mesh)}));
    }
    // A short growing blast.
    Node blast = b.Box("EXPLOSION_BS01:Layer0", 1.0f, 0xFFF0C0);
    for (int axis = 0; axis < 3; ++axis)
        b.ScaleKeys(blast, axis, {{0.0f, 0.5f}, {0.5f, 3.0f}}, StageModelBuilder::kLinear);
    writer.AddModel("EXPLOSION_BS01", ModelRoot("EXPLOSION_BS01", 0.5f, {std::move(blast)}));
}

}  // namespace mareldon
