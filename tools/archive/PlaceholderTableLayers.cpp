#include "tools/archive/PlaceholderTableLayers.h"

#include <string>

#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

namespace {

using B = StageModelBuilder;
using Node = MbdWriter::Node;

constexpr uint32_t kColour = 0xC08040;

Node* SceneOf(Node& stage) {
    for (Node& child : stage.children) {
        if (child.name == "Scene")
            return &child;
    }
    return nullptr;
}

}  // namespace

const std::vector<PlaceholderLayerGroup>& PlaceholderTableLayerGroups() {
    static const std::vector<PlaceholderLayerGroup> groups = {
        {"VIEWFRAME", {0}, false},
        {"sel_p00_size_1", {0, 1, 2}, true},
        {"12", {0}, false},
        {"t_midwing", {0, 1}, true},
        {"sa_05midwing", {0, 1}, true},
        {"t_fukuyou", {0, 1}, true},
        {"sa_04fukuyou", {0, 1}, true},
        {"t_niren", {0, 1, 2}, true},
        {"sa_03niren", {0, 1, 2}, true},
        {"sa_itemC", {0, 1, 2, 3, 4}, true},
        {"ma_17kuzira_yusouki", {0, 1, 2, 3, 4, 5}, true},
        {"sg_01tank", {0, 1}, true},
        {"sg_04tank_kaiten4ana", {0, 1}, true},
        {"mg_01tank", {0, 1, 2}, true},
        {"mg_01tankB", {0, 1, 2, 3}, true},
        {"eg_mainbase", {1, 2}, false},
        {"eg_senyou", {0, 1}, true},
        {"sg_03tankblock", {0, 1}, true},
        {"mg_03_tank_yokonaga", {0, 1}, true},
        {"sa_06hikoutei_ao", {0, 1}, true},
        {"sa_09light_fighter", {0, 1}, true},
        {"mg_02hover3", {0, 1, 2, 3, 4}, true},
        {"sa_10zenbiyoku", {0, 1}, true},
        {"eg_houdai_kari02_", {2, 3, 4, 5, 6, 7, 8}, false},
        {"mg_05tankA", {0, 1, 2, 3}, true},
        {"mg_06tankB", {0, 1, 2}, true},
        {"ma_14enban", {0, 1, 2}, true},
        {"eg_08houdai", {0}, false},
        {"la_01tank_yusoukan", {0, 1, 2, 3, 4, 5, 6}, true},
        {"ma_11large_wing", {0, 1, 2}, true},
        {"lg_01hover", {0, 1, 2, 3, 4, 5, 6}, true},
        {"lg_01hover_02", {0, 1, 2, 3, 4, 5, 6}, true},
        {"lg_01hover_03", {0, 1, 2, 3, 4, 5, 6}, true},
        {"ma_01taruwing", {0, 1, 2, 3, 4, 5, 6}, true},
        {"medal", {0}, false},
        {"lg_03soudou_bigfighter", {0, 1, 2, 3}, true},
        {"ma_10machinegun_tei", {0, 1, 2, 3, 4, 5}, true},
        {"ma_08hikousen", {0, 3, 4, 5, 6, 7}, true},
        {"ma_07kuucyuuhou1", {0, 1, 2, 3, 4}, true},
        {"ma_09tutu6", {0, 1, 2, 3, 4, 5, 6, 7, 8}, true},
        {"mg_07tankisekiC", {0, 1, 2}, true},
        {"mg_4ebi", {0}, false},
        {"sa_11isekifighterA", {0}, false},
        {"bs4_t", {15, 16, 17}, false},
        {"sg_09tank_isekiB", {0, 1, 2, 3, 4}, true},
        {"sa_15sinkuukan", {0, 1}, true},
        {"ma_03fuyuuhou", {0}, false},
        {"ba_03_only_kage", {0}, false},
        {"lg_02tank_heavy", {0, 1}, true},
    };
    return groups;
}

void AddPlaceholderTableLayers(MbdWriter& writer, Node& stage) {
    Node* scene = SceneOf(stage);
    if (scene == nullptr)
        return;
    B b(writer);
    const std::vector<PlaceholderLayerGroup>& groups = PlaceholderTableLayerGroups();
    for (size_t i = 0; i < groups.size(); ++i) {
        const PlaceholderLayerGroup& group = groups[i];
        const float x = -6.0f + 3.0f * float(i % 5);
        const float z = i % 2 == 0 ? 5.0f : 2.0f;
        const float start = 2.0f + 2.5f * float(i);
        if (group.carrier) {
            // The carried layers in a row across the carrier.
            std::vector<Node> parts;
            for (size_t k = 1; k < group.layers.size(); ++k) {
                Node part = b.Box(LayerName(group.model, group.layers[k]), 0.2f, kColour);
                b.At(part, -0.9f + 0.3f * float(k), 0.2f, 0.0f);
                parts.push_back(std::move(part));
            }
            Node carrier = b.Box(LayerName(group.model, group.layers[0]), 0.5f, kColour, std::move(parts));
            b.Window(carrier, x, 0.0f, z, start, start + 6.0f);
            scene->children.push_back(std::move(carrier));
            continue;
        }
        for (size_t k = 0; k < group.layers.size(); ++k) {
            Node layer = b.Box(LayerName(group.model, group.layers[k]), 0.4f, kColour);
            b.Window(layer, x + 0.5f * float(k), 0.0f, z, start, start + 6.0f);
            scene->children.push_back(std::move(layer));
        }
    }
    // Two watched enemies side by side, and the two splash points.
    const float start = 2.0f + 2.5f * float(groups.size());
    Node left = b.Box("eg_senyou:Layer0", 0.4f, kColour);
    b.Window(left, -2.0f, 0.0f, 4.0f, start, start + 6.0f);
    Node right = b.Box("eg_senyou:Layer0", 0.4f, kColour);
    b.Window(right, 2.0f, 0.0f, 4.0f, start, start + 6.0f);
    scene->children.push_back(
        B::Frame("senyouwatcher", {B::Frame("holderA", {left}), B::Frame("holderB", {right})}));
    scene->children.push_back(B::Frame("Splasher"));
    scene->children.push_back(B::Frame("Splasher2"));
}

}  // namespace mareldon
