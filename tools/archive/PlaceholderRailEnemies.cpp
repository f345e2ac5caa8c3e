#include "tools/archive/PlaceholderRailEnemies.h"

#include <string>
#include <utility>
#include <vector>

#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

namespace {

using B = StageModelBuilder;
using Node = MbdWriter::Node;

constexpr uint32_t kWreckGrey = 0x404040;

// A box layer whose corners sit `dx` along x from its node: the cars share one node's
// tracks, so each is modelled at its place along the train.
Node OffsetBox(B& b, const std::string& name, float half, uint32_t rgb, float dx,
               std::vector<Node> children = {}) {
    Node box = b.Box(name, half, rgb, std::move(children));
    const float faces[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    std::vector<float> words;
    for (const auto& n : faces) {
        const float u[3] = {n[1] != 0 || n[2] != 0 ? 1.0f : 0.0f, n[0] != 0 ? 1.0f : 0.0f, 0.0f};
        const float v[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0]};
        const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
        for (const auto& st : corners) {
            for (int i = 0; i < 3; ++i)
                words.push_back(half * (n[i] + st[0] * u[i] + st[1] * v[i]) + (i == 0 ? dx : 0.0f));
            words.insert(words.end(), {n[0], n[1], n[2], (st[0] + 1) / 2, (1 - st[1]) / 2});
        }
    }
    MbdWriter::Part& part = box.mesh.parts[0];
    part.vertexArray = b.writer.AddVertexArray(8, words);
    part.settings.radius = 1.8f * half + (dx < 0 ? -dx : dx);
    return box;
}

// The guns and sub-layers of one car, `dx` along the train.
std::vector<Node> CarParts(B& b, const std::string& model, float dx) {
    std::vector<Node> parts;
    auto passive = [&](int index, float dz) {
        Node sub = b.Box(LayerName(model, index), 0.15f, 0xC0C0C0);
        b.At(sub, dx, 0.4f, dz);
        parts.push_back(std::move(sub));
    };
    auto turret = [&](int index, float dz, std::vector<Node> guns) {
        Node sub = b.Box(LayerName(model, index), 0.2f, 0xF0D020, std::move(guns));
        b.At(sub, dx, 0.5f, dz);
        parts.push_back(std::move(sub));
    };
    if (model == "mg_04rail_locomotive") {
        parts.push_back(B::Frame("BS_RAIL_LOCOMOTIVE"));
        for (int i = 1; i <= 3; ++i)
            passive(i, -0.3f + 0.3f * float(i - 1));
    } else if (model == "mg_04rail_tender") {
        parts.push_back(B::Frame("BS_RAIL_TENDER"));
    } else if (model == "mg_04rail_cargo") {
        parts.push_back(B::Frame("BS_RAIL_CARGO"));
        passive(1, 0.0f);
    } else if (model == "mg_04rail_metalA") {
        turret(1, 0.0f, {B::Frame("BS_RAIL_METAL_A_4"), B::Frame("BS_METAL_A_HOUTOU")});
        passive(2, -0.35f);
        passive(3, 0.35f);
    } else if (model == "mg_04rail_metalB") {
        turret(1, -0.3f, {B::Frame("BS_RAIL_METAL_B_HOU")});
        turret(2, 0.3f, {B::Frame("BS_RAIL_METAL_B_LAUNCHER")});
        turret(3, -0.3f, {});
        turret(4, 0.3f, {});
        passive(5, -0.1f);
        passive(6, 0.1f);
    }
    return parts;
}

// Runs along +x at z 4.5 from ten seconds on, waits in view, then leaves: both of the
// cars' hit spans see it.
Node Train(B& b) {
    Node holder = B::Frame("Null_Train");
    constexpr float kSpacing = 1.3f;
    constexpr uint32_t kColours[] = {0xD02020, 0x806040, 0x4060C0, 0xA08020, 0x40A060};
    for (int i = 0; i < 10; ++i) {
        const std::string model = kPlaceholderTrainCars[i];
        const float dx = -kSpacing * float(i);
        holder.children.push_back(
            OffsetBox(b, LayerName(model, 0), 0.55f, kColours[i % 5], dx, CarParts(b, model, dx)));
    }
    return holder;
}

// Position keys that take the train across: the holder gives them to every car.
void TrainKeys(B& b, Node& holder) {
    b.At(holder, -40.0f, 0.0f, 4.5f);
    MbdWriter::Track x;
    for (const auto& [time, value] : std::vector<std::pair<float, float>>{
             {0.0f, -40.0f}, {10.0f, -30.0f}, {38.0f, 4.0f}, {80.0f, 4.0f}, {110.0f, 30.0f}})
        x.keys.push_back({time, value, B::kLinear, {}});
    holder.tracks[0] = b.writer.AddTrack(x);
}

struct Placed {
    const char* layer;
    float x, z;
    float start, end;
};

constexpr Placed kPlaced[] = {
    {"tou_001:Layer0", -3.0f, 3.0f, 6.0f, 18.0f},
    {"tou_002:Layer0", 3.0f, 3.0f, 14.0f, 26.0f},
    {"eg_06houdai:Layer0", -7.0f, -4.0f, 20.0f, 32.0f},
    {"eg_04houdai_big:Layer0", 0.0f, 3.0f, 26.0f, 40.0f},
    {"eg_houdaimalti:Layer0", -3.0f, 3.0f, 34.0f, 46.0f},
    {"sa_12isekifighterB:Layer0", 0.0f, 8.0f, 30.0f, 45.0f},
    {"ma13_henkeihou_kan:Layer0", 3.0f, 3.0f, 44.0f, 60.0f},
    {"mg_09tankisekiD:Layer0", -2.0f, 3.0f, 52.0f, 64.0f},
    {"bs4_t:Layer2", 2.0f, 3.0f, 60.0f, 72.0f},
    {"la_01tank_yusoukan:Layer0", 0.0f, 3.0f, 66.0f, 78.0f},
};

Node PlaceEnemy(B& b, const Placed& placed) {
    const std::string layer = placed.layer;
    const std::string model = layer.substr(0, layer.find(':'));
    std::vector<Node> children;
    if (model == "eg_04houdai_big") {
        for (int i = 1; i <= 3; ++i)
            children.push_back(b.Box(LayerName(model, i), 0.2f, 0xF0F0F0));
    } else if (model == "eg_houdaimalti") {
        children.push_back(b.Box(LayerName(model, 1), 0.3f, 0xF0D020));
    } else if (model == "ma13_henkeihou_kan") {
        // Hittable and active all along; it opens two seconds into its window.
        Node control = B::Frame("EC_GENERAL");
        b.ScaleKeys(control, 0, {{0.0f, 1.0f}});
        b.ScaleKeys(control, 1, {{0.0f, 1.0f}});
        b.ScaleKeys(control, 2, {{0.0f, 0.0f}, {placed.start + 2.0f, 1.0f}});
        children.push_back(std::move(control));
        for (int i = 1; i <= 3; ++i)
            children.push_back(b.Box(LayerName(model, i), 0.2f, 0xF0F0F0));
    }
    Node box = b.Box(layer, 0.5f, 0xE05030, std::move(children));
    b.Window(box, placed.x, 0.0f, placed.z, placed.start, placed.end);
    if (model == "la_01tank_yusoukan") {
        // Alone under its carrier node, so it can be hit.
        Node carrier = B::Frame("yusou_null", {std::move(box)});
        return carrier;
    }
    return box;
}

}  // namespace

void AddPlaceholderWreckModels(B& b) {
    MbdWriter& writer = b.writer;
    for (const char* name : {"tou_001b", "tou_002b", "nozule_k", "mg_09tankisekiD_k"})
        writer.AddModel(name, ModelRoot(name, 1.0f, {b.Box(LayerName(name, 0), 0.45f, kWreckGrey)}));
    const struct {
        const char* name;
        int layers;
    } kTrainWrecks[] = {{"mg_04rail_cargo_k", 2},
                        {"mg_04rail_locomotive_k", 4},
                        {"mg_04rail_metalA_k", 4},
                        {"mg_04rail_metalB_k", 7},
                        {"mg_04rail_tender_k", 1}};
    for (const auto& wreck : kTrainWrecks) {
        std::vector<Node> layers;
        for (int i = 0; i < wreck.layers; ++i)
            layers.push_back(b.Box(LayerName(wreck.name, i), i == 0 ? 0.5f : 0.15f, kWreckGrey));
        writer.AddModel(wreck.name, ModelRoot(wreck.name, 1.0f, std::move(layers)));
    }
    writer.AddModel("EXPLOSION_LLG01",
                    ModelRoot("EXPLOSION_LLG01", 1.0f, {b.Box("EXPLOSION_LLG01:Layer0", 1.2f, 0xFFE0A0)}));
}

MbdWriter::Node PlaceholderTrain(B& b) {
    Node train = Train(b);
    TrainKeys(b, train);
    return train;
}

void AddPlaceholderRailEnemies(MbdWriter& writer, MbdWriter::Node& scene) {
    B b(writer);
    scene.children.push_back(PlaceholderTrain(b));
    for (const Placed& placed : kPlaced)
        scene.children.push_back(PlaceEnemy(b, placed));
    AddPlaceholderWreckModels(b);
}

}  // namespace mareldon
