#include "tools/archive/PlaceholderGunships.h"

#include <iterator>

#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

namespace {

using B = StageModelBuilder;
using Node = MbdWriter::Node;

constexpr uint32_t kWreckGrey = 0x404040;

// The sub-layers one placed layer carries.
std::vector<Node> SubLayers(B& b, const std::string& layer) {
    std::vector<Node> children;
    if (layer == "la_kuchiku:Layer0") {
        Node front = b.Box("la_kuchiku:Layer1", 0.35f, 0x6080A0);
        b.At(front, 0.0f, 0.3f, 0.8f);
        Node back = b.Box("la_kuchiku:Layer2", 0.35f, 0x6080A0);
        b.At(back, 0.0f, 0.3f, -0.8f);
        children.push_back(front);
        children.push_back(back);
    } else if (layer == "eg_07_lens_houdai:Layer0") {
        children.push_back(b.Box("eg_07_lens_houdai:Layer1", 0.3f, 0xF0F040));
        children.push_back(b.Box("eg_07_lens_houdai:Layer2", 0.2f, 0x808080));
        const float spots[4][2] = {{-0.9f, 0.9f}, {0.9f, 0.9f}, {-0.9f, -0.9f}, {0.9f, -0.9f}};
        for (int i = 0; i < 4; ++i) {
            Node turret = b.Box(LayerName("eg_07_lens_houdai", 3 + i), 0.25f, 0x40C0F0);
            b.At(turret, spots[i][0], 0.2f, spots[i][1]);
            children.push_back(turret);
        }
    }
    return children;
}

}  // namespace

const std::vector<PlaceholderGunship>& PlaceholderGunships() {
    static const std::vector<PlaceholderGunship> ships = [] {
        const char* const layers[] = {"t_fukuyou:Layer0",
                                      "t_niren:Layer0",
                                      "sa_itemC:Layer0",
                                      "ma_17kuzira_yusouki:Layer0",
                                      "sa_07hikoutei_gray:Layer0",
                                      "sa_09light_fighter:Layer0",
                                      "mg_02hover3:Layer0",
                                      "sa_10zenbiyoku:Layer0",
                                      "eg_houdai_kari02_:Layer1",
                                      "sg_05tankA:Layer0",
                                      "ma_14enban:Layer0",
                                      "la_kuchiku:Layer0",
                                      "lg_03soudou_bigfighter:Layer0",
                                      "eg_07_lens_houdai:Layer0",
                                      "eg_ukishima_A:Layer0",
                                      "eg_ukishima_B:Layer1",
                                      "eg_ukishima_C:Layer1",
                                      "mg_07tankisekiC:Layer0",
                                      "sg_10tank_isekiE:Layer0",
                                      "bs4_t:Layer6",
                                      "bs4_t:Layer14",
                                      "bs4_t:Layer5",
                                      "sa_15sinkuukan:Layer0",
                                      "mg_11porvik:Layer0",
                                      "sa_13ougon_jet:Layer0",
                                      "sa_16goma:Layer0",
                                      "STAGE_TEN:Layer17",
                                      "STAGE_TEN:Layer4",
                                      "sa_04fukuyou:Layer0",
                                      "sa_03niren:Layer0",
                                      "sg_06tankB:Layer0",
                                      "ma_10machinegun_tei:Layer0"};
        const size_t count = std::size(layers);
        std::vector<PlaceholderGunship> list;
        for (size_t i = 0; i < count; ++i) {
            PlaceholderGunship ship;
            ship.layer = layers[i];
            // Across the upper view, a new one every 3.75 s, each up for six seconds.
            ship.x = -6.0f + 3.0f * float(i % 5);
            ship.z = i % 2 == 0 ? 5.0f : 3.0f;
            ship.start = 2.0f + 3.75f * float(i);
            ship.end = ship.start + 6.0f;
            list.push_back(ship);
        }
        return list;
    }();
    return ships;
}

void AddPlaceholderGunships(MbdWriter& writer, MbdWriter::Node& stage) {
    B b(writer);
    Node* scene = nullptr;
    for (Node& child : stage.children) {
        if (child.name == "Scene")
            scene = &child;
    }
    if (scene == nullptr)
        return;
    for (const PlaceholderGunship& ship : PlaceholderGunships()) {
        Node box = b.Box(ship.layer, 0.5f, 0x30A0E0, SubLayers(b, ship.layer));
        b.Window(box, ship.x, 0.0f, ship.z, ship.start, ship.end);
        // The second tank rides a transport: its scorch waits for the control flag.
        if (ship.layer == "sg_06tankB:Layer0") {
            Node transport = B::Frame("NULL_YUSOUKAN", {box});
            scene->children.push_back(std::move(transport));
            continue;
        }
        scene->children.push_back(std::move(box));
    }
}

void AddPlaceholderGunshipModels(MbdWriter& writer) {
    B b(writer);
    Node root;
    root.name = "la_kuchiku_k";
    root.type = 0;
    root.endTime = 1.0f;
    for (int i = 0; i < 3; ++i)
        root.children.push_back(b.Box(LayerName("la_kuchiku_k", i), i == 0 ? 0.5f : 0.35f, kWreckGrey));
    writer.AddModel("la_kuchiku_k", root);
}

}  // namespace mareldon
