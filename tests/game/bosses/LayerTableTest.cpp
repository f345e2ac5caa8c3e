#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "game/bosses/Boss1Body.h"
#include "game/bosses/Boss1LayerParts.h"
#include "game/bosses/Boss2Body.h"
#include "game/bosses/Boss2LayerParts.h"
#include "game/bosses/Boss3Body.h"
#include "game/bosses/Boss3LayerParts.h"
#include "game/bosses/Boss4Body.h"
#include "game/bosses/Boss4Head.h"
#include "game/bosses/Boss4LayerParts.h"
#include "game/bosses/Boss5Body.h"
#include "game/bosses/Boss5Cube.h"
#include "game/bosses/MultiPartEnemy.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/DebrisShooter.h"
#include "game/objects/LayerEnemies.h"
#include "game/objects/RailTrain.h"
#include "game/objects/StageLayers.h"
#include "game/objects/StageNodes.h"
#include "game/objects/TowerEnemies.h"
#include "game/objects/TransformingShip.h"
#include "tests/game/objects/EnemyStageFixture.h"

namespace mareldon {
namespace {

using Node = MbdWriter::Node;
using Check = std::function<bool(Object3D*)>;

template <typename T>
Check Is() {
    return [](Object3D* o) { return dynamic_cast<T*>(o) != nullptr; };
}
// Exactly the passive class: no enemy of its own, one zero-radius sphere.
Check Passive() {
    return [](Object3D* o) {
        auto* e = dynamic_cast<LayerEnemy*>(o);
        return e != nullptr && typeid(*e) == typeid(LayerEnemy) && e->durability == 1.0f && e->radius == 0.0f;
    };
}
Check Scenery() {
    return [](Object3D* o) { return dynamic_cast<StageMeshObject*>(o) != nullptr; };
}

std::string Layer(const char* model, int n) {
    return std::string(model) + ":Layer" + std::to_string(n);
}

// Every layer of the boss models and what it becomes: passive unless listed.
std::map<std::string, Check> BossLayers() {
    std::map<std::string, Check> out;
    const std::pair<const char*, int> models[] = {
        {"ba_01zenyoku", 17},       {"ba02_cyou", 14},   {"bg_03big_spider", 21},
        {"ba_03_only_kage", 0},     {"ba_04kao", 33},    {"ba_05_1mandara", 23},
        {"ba_05_4hikari_dama", 11}, {"ba_05_3cube", 13}, {"ba_06medarion_gear", 5}};
    for (const auto& [model, last] : models) {
        for (int n = 0; n <= last; ++n)
            out[Layer(model, n)] = Passive();
    }
    out["ba_01zenyoku:Layer0"] = Is<Boss1LayerPart0>();
    out["ba_01zenyoku:Layer2"] = Is<Boss1LayerPart2>();
    out["ba_01zenyoku:Layer3"] = Is<Boss1WingRoot>();
    out["ba_01zenyoku:Layer4"] = Is<Boss1WingRoot>();
    for (int n = 5; n <= 10; ++n)
        out[Layer("ba_01zenyoku", n)] = Is<Boss1WingPart>();
    out["ba_01zenyoku:Layer15"] = Scenery();  // not in the table
    out["ba_01zenyoku:Layer17"] = Is<Boss1Body>();
    out["ba02_cyou:Layer0"] = Is<Boss2Body>();
    out["ba02_cyou:Layer1"] = Is<Boss2LayerPart1>();
    out["ba02_cyou:Layer2"] = Is<Boss2LayerPart2>();
    out["ba02_cyou:Layer3"] = Is<Boss2LayerPart3>();
    out["ba02_cyou:Layer4"] = Is<Boss2LayerPart4>();
    out["ba02_cyou:Layer7"] = Is<Boss2LayerPartN<7>>();
    for (int n = 11; n <= 14; ++n)
        out[Layer("ba02_cyou", n)] = Is<Boss2LayerPart>();
    out["ba02_cyou:Layer11"] = Is<Boss2LayerPartN<11>>();
    out["ba02_cyou:Layer14"] = Is<Boss2LayerPartN<14>>();
    for (int n : {0, 2, 3, 4, 5, 6, 11, 12, 13, 14, 16, 17, 19, 20, 21})
        out[Layer("bg_03big_spider", n)] = Is<Boss3Section>();
    out["bg_03big_spider:Layer0"] = Is<Boss3LayerPartOf<0>>();
    out["bg_03big_spider:Layer21"] = Is<Boss3LayerPartOf<21>>();
    out["bg_03big_spider:Layer15"] = Is<Boss3Body>();
    out["ba_04kao:Layer0"] = Is<Boss4LayerPart0>();
    out["ba_04kao:Layer1"] = Is<Boss4LayerPart1>();
    out["ba_04kao:Layer2"] = Is<Boss4LayerPart2>();
    out["ba_04kao:Layer3"] = Is<Boss4LayerPart3>();  // and Layer33 passive
    out["ba_04kao:Layer4"] = Is<Boss4LayerPart4>();
    out["ba_04kao:Layer5"] = Is<Boss4LayerPart5>();
    out["ba_04kao:Layer6"] = Is<Boss4LayerPart6>();
    out["ba_04kao:Layer7"] = Is<Boss4LayerPart7>();
    out["ba_04kao:Layer8"] = Is<Boss4LayerPart8>();
    out["ba_04kao:Layer23"] = Is<Boss4LayerPart23>();
    out["ba_04kao:Layer24"] = Is<Boss4Body>();
    out["ba_04kao:Layer25"] = Is<Boss4LayerPart25>();
    out["ba_05_1mandara:Layer21"] = Is<Boss5MandaraLayerPart21>();
    out["ba_05_1mandara:Layer0"] = Is<Boss5MandaraLayerPart0>();
    out["ba_05_1mandara:Layer1"] = Is<Boss5WeakPoint>();
    out["ba_05_1mandara:Layer22"] = Is<Boss5MandaraLayerPart22>();
    out["ba_05_1mandara:Layer7"] = Is<Boss5WeakPoint>();
    out["ba_05_4hikari_dama:Layer0"] = Is<Boss5Body>();
    out["ba_05_4hikari_dama:Layer2"] = Is<Boss5WeakPoint>();
    out["ba_05_3cube:Layer0"] = [](Object3D* o) {
        auto* cube = dynamic_cast<Boss5CubeLayerPart0*>(o);
        return cube != nullptr && cube->durability == 700.0f && cube->hitRadius == 0.5f &&
               cube->bonus.Equals("BONUS_SX");
    };
    out["ba_06medarion_gear:Layer0"] = Is<MultiPartEnemy>();
    return out;
}

// The class a row's form builds; classes of their own are left to their own tests.
Check FormClass(LayerForm form) {
    using F = LayerForm;
    switch (form) {
        case F::kPassive:
        case F::kLinkedPassive:
            return Is<LayerEnemy>();
        case F::kTank:
            return Is<LayerTankEnemy>();
        case F::kTurret:
        case F::kSecondTurret:
            return Is<LayerTankTurret>();
        case F::kDrop:
            return Is<DropFormEnemy>();
        case F::kEmitter:
            return Is<EmitterFormEnemy>();
        case F::kWing:
            return Is<DurabilityFormEnemy>();
        case F::kHover:
            return Is<HoverEnemy>();
        case F::kHover2:
            return Is<HoverEnemy2>();
        case F::kHover3:
            return Is<HoverEnemy3>();
        case F::kHeavyTank:
            return Is<HeavyTankEnemy>();
        case F::kTower:
            return Is<TowerEnemy>();
        case F::kWreck:
            return Is<WreckFormEnemy>();
        case F::kBattery:
            return Is<BatteryEnemy>();
        case F::kBigBattery:
            return Is<BigBatteryEnemy>();
        case F::kSmoothTurret:
            return Is<SmoothTurret>();
        case F::kDebrisFighter:
            return Is<DebrisFighterEnemy>();
        case F::kTransformer:
            return Is<TransformingShipEnemy>();
        case F::kTrainCar:
            return Is<RailTrain>();
        case F::kHidden:
        case F::kClass:
            break;
    }
    return Is<Enemy>();
}

// Names the hover carries: table names all, so each must come out passive.
const char* const kUnderHover[] = {
    "sg_01tank:Layer0",       "ba_04kao:Layer3",      "eg_07_lens_houdai:Layer1", "mg_04rail_cargo:Layer0",
    "lg_02tank_heavy:Layer0", "unknown_under:Layer0", "t_midwing:Layer0"};

// Every name of the table and of the boss models flat under the scene, one unknown
// layer, and the first hover carrying seven table-named layers.
std::vector<Node> AllLayers(StageModelBuilder& b) {
    const std::map<std::string, Check> bosses = BossLayers();
    std::vector<std::string> names;
    for (const LayerRow& row : StageLayerRows()) {
        if (bosses.count(row.name) == 0)
            names.push_back(row.name);
    }
    for (const auto& [name, check] : bosses)
        names.push_back(name);
    names.push_back("unknown_scenery:Layer0");
    std::vector<Node> nodes;
    int i = 0;
    for (const std::string& name : names) {
        Node node = b.Box(name, 0.2f);
        b.At(node, float(i % 20) - 10.0f, 0.0f, float(i / 20) - 8.0f);
        ++i;
        if (name == "lg_01hover:Layer0") {
            for (const char* child : kUnderHover)
                node.children.push_back(b.Box(child, 0.1f));
        }
        nodes.push_back(node);
    }
    return nodes;
}

// The node of that name the table built (a hover's parts left out), or null.
Object3D* Built(EnemyStageFixture& f, const std::string& name) {
    for (Object3D* node : f.Find<Object3D>()) {
        if (node->name.Equals(name.c_str()) && dynamic_cast<CarriedPart*>(node) == nullptr)
            return node;
    }
    return nullptr;
}

struct Played {
    int32_t stage;
    int32_t level;
};

class LayerTableTest : public ::testing::TestWithParam<Played> {};

TEST_P(LayerTableTest, EveryNameBuildsItsClassWithItsArgumentsForTheStageAndDifficulty) {
    const Played played = GetParam();
    EnemyStageFixture f(AllLayers);
    RegisterBossObjects(f.registry);
    f.difficulty = played.level;
    f.stageStart = StageStart{played.stage, 0};
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    ASSERT_EQ(f.screen->GetPlayingStage(), played.stage);
    const float scale = f.screen->GetDifficultyScale();
    ASSERT_NEAR(scale, float(played.level) / 7.0f, 1e-6f);

    const std::map<std::string, Check> bosses = BossLayers();
    for (const LayerRow& row : StageLayerRows()) {
        SCOPED_TRACE(row.name);
        if (bosses.count(row.name) != 0)
            continue;
        Object3D* built = Built(f, row.name);
        if (row.form == LayerForm::kHidden) {
            // A plain node: nothing of it draws.
            for (MeshObject* mesh : f.Find<MeshObject>())
                EXPECT_FALSE(mesh->name.Equals(row.name));
            continue;
        }
        if (row.form == LayerForm::kTrainCar) {
            // The linked frame-node object first, the car under it.
            EXPECT_NE(dynamic_cast<NullNodeObject*>(built), nullptr);
            built = f.FindNamed<RailTrain>(row.name);
            EXPECT_TRUE(built != nullptr && dynamic_cast<NullNodeObject*>(built->parent) != nullptr);
        }
        if (built == nullptr) {
            ADD_FAILURE() << "not built";
            continue;
        }
        EXPECT_TRUE(FormClass(row.form)(built)) << typeid(*built).name();
        auto* enemy = dynamic_cast<Enemy*>(built);
        if (enemy == nullptr)
            continue;
        EXPECT_NEAR(enemy->durability, StageLayerDurability(row, played.stage, scale), 1e-3f);
        using F = LayerForm;
        if (row.form == F::kPassive || row.form == F::kLinkedPassive) {
            auto* layer = dynamic_cast<LayerEnemy*>(built);
            EXPECT_EQ(layer->radius, 0.0f);
            EXPECT_TRUE(layer->itemName.Equals(row.bonus)) << layer->itemName.Text();
        }
        const F withNames[] = {F::kTank,    F::kTurret, F::kSecondTurret, F::kDrop,
                               F::kEmitter, F::kTower,  F::kWreck};
        if (std::find(std::begin(withNames), std::end(withNames), row.form) != std::end(withNames)) {
            auto* form = dynamic_cast<LayerFormEnemy*>(built);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->radius, row.radius);
            EXPECT_TRUE(form->bonus.Equals(row.bonus)) << form->bonus.Text();
            EXPECT_TRUE(form->explosion.Equals(row.explosion)) << form->explosion.Text();
            if (row.form != F::kTurret && row.form != F::kSecondTurret) {
                EXPECT_EQ(form->lingerFrames, row.linger);
            }
        }
    }

    // The stage-dependent rows at their figures: stage 1 takes the first, any other the second.
    const bool first = played.stage == 1;
    const float level = scale;
    const std::pair<const char*, float> dependent[] = {
        {"ma_17kuzira_yusouki:Layer0", first ? 60.0f : 100.0f},
        {"lg_02tank_heavy:Layer0", first ? 800.0f : 900.0f},
        {"lg_01hover:Layer0", (level + 0.25f) * (first ? 550.0f : 750.0f)},
        {"lg_01hover_02:Layer0", (level + 0.15f) * (first ? 150.0f : 250.0f)},
        {"lg_01hover_03:Layer0", (level + 0.25f) * (first ? 300.0f : 400.0f)},
        {"t_midwing:Layer0", 1150.0f},
        {"sg_09tank_isekiB:Layer0", 2300.0f},
    };
    for (const auto& [name, durability] : dependent) {
        auto* enemy = dynamic_cast<Enemy*>(Built(f, name));
        ASSERT_NE(enemy, nullptr) << name;
        EXPECT_NEAR(enemy->durability, durability, 1e-3f) << name;
    }
    if (played.level == 4) {
        auto* hover = dynamic_cast<Enemy*>(Built(f, "lg_01hover:Layer0"));
        EXPECT_NEAR(hover->durability, first ? 451.7857f : 616.0715f, 1e-3f);
    }

    // Boss layers: the bosses' classes, their passive layers, one layer outside the table.
    for (const auto& [name, check] : bosses) {
        Object3D* built = Built(f, name);
        ASSERT_NE(built, nullptr) << name;
        EXPECT_TRUE(check(built)) << name << " is " << typeid(*built).name();
    }

    // Unknown names are scenery that bombs hide, bound to the playing world.
    auto* scenery = dynamic_cast<StageMeshObject*>(Built(f, "unknown_scenery:Layer0"));
    ASSERT_NE(scenery, nullptr);
    EXPECT_EQ(scenery->world, f.screen);

    // Whatever it is called, a layer under a hover is one of its passive parts; six are kept.
    auto* hover = dynamic_cast<HoverEnemy*>(Built(f, "lg_01hover:Layer0"));
    ASSERT_NE(hover, nullptr);
    EXPECT_EQ(hover->partCount, 7);
    int carried = 0;
    for (CarriedPart* part : f.Find<CarriedPart>()) {
        if (std::find_if(std::begin(kUnderHover), std::end(kUnderHover),
                         [&](const char* n) { return part->name.Equals(n); }) == std::end(kUnderHover))
            continue;
        ++carried;
        EXPECT_EQ(typeid(*part), typeid(CarriedPart)) << part->name.Text();
        EXPECT_EQ(part->durability, 1.0f);
        EXPECT_EQ(part->radius, 0.0f);
    }
    EXPECT_EQ(carried, 7);
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(hover->parts[i], nullptr);
        EXPECT_TRUE(hover->parts[i]->name.Equals(kUnderHover[i]));
    }
}

INSTANTIATE_TEST_SUITE_P(StagesAndLevels, LayerTableTest,
                         ::testing::Values(Played{0, 0}, Played{0, 4}, Played{0, 8}, Played{1, 0},
                                           Played{1, 4}, Played{1, 8}, Played{2, 0}, Played{2, 4},
                                           Played{2, 8}, Played{4, 0}, Played{4, 4}, Played{4, 8}));

}  // namespace
}  // namespace mareldon
