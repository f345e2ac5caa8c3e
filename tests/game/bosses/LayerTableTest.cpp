#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <type_traits>
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
#include "game/objects/Destroyer.h"
#include "game/objects/GunshipEnemies.h"
#include "game/objects/LayerEnemies.h"
#include "game/objects/LensTurret.h"
#include "game/objects/RailTrain.h"
#include "game/objects/StageNodes.h"
#include "game/objects/TowerEnemies.h"
#include "game/objects/TransformingShip.h"
#include "game/stage/StaticModelRoot.h"
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

constexpr float kAny = -1.0f;

// One layer of the table: the class it builds and its arguments. Durability is the
// figure on every stage but stage 1, `first` the one on stage 1; a hover's is
// (difficulty scale + plus) x the figure. Null names and kAny numbers are not checked.
struct Row {
    std::string name;
    Check cls;
    float durability = 1.0f;
    float first = 1.0f;
    float radius = kAny;
    int32_t linger = -1;
    const char* item = nullptr;       // a passive layer's name; a turret's first text
    const char* explosion = nullptr;  // a turret's second text
    Check extra = nullptr;
    float plus = kAny;
};

template <typename T>
Check Exactly() {
    return [](Object3D* o) { return o != nullptr && typeid(*o) == typeid(T); };
}

Row Hidden(const char* name) {
    return {name, nullptr};
}
Row Passive(const std::string& name, const char* label = "NULL") {
    return {name, Exactly<LayerEnemy>(), 1.0f, 1.0f, 0.0f, -1, label};
}
Row Tank(const char* name, float d, float r, int32_t linger, const char* item, const char* explosion) {
    return {name, Exactly<LayerTankEnemy>(), d, d, r, linger, item, explosion};
}
template <typename T = LayerTankTurret>
Row Turret(const char* name, const char* text, const char* label, float offset, float speed = 3.0f) {
    return {name, Exactly<T>(), 1.0f, 1.0f, 0.0f, -1, text, label, [=](Object3D* o) {
                auto* t = dynamic_cast<T*>(o);
                if constexpr (std::is_same_v<T, LayerTankTurret>)
                    return t->angleOffset == offset && t->turnSpeed == speed;
                return t->angleOffset == offset;
            }};
}
template <typename T>
Row Form(const char* name, float d, float r, int32_t linger, const char* item, const char* explosion,
         Check extra = nullptr) {
    return {name, Exactly<T>(), d, d, r, linger, item, explosion, extra};
}
Row Wreck(const char* name, bool tower, float d, float r, const char* model, int32_t linger, const char* item,
          const char* explosion) {
    Row row{name,
            tower ? Exactly<TowerEnemy>() : Exactly<WreckFormEnemy>(),
            d,
            d,
            r,
            linger,
            item,
            explosion,
            [=](Object3D* o) { return dynamic_cast<WreckFormEnemy*>(o)->wreckModel.Equals(model); }};
    return row;
}
Row Train(const char* name, float d, float r) {
    return {name, Exactly<RailTrain>(), d, d, kAny, -1, nullptr, nullptr, [=](Object3D* o) {
                auto* car = dynamic_cast<RailTrain*>(o);
                return car->radius == r && car->bonus.Equals("BONUS_S") &&
                       car->explosion.Equals("EXPLOSION_SG01");
            }};
}
Row SmallCraft(const char* name, float d, float r, int32_t gunKind, const char* item, const char* explosion,
               int32_t scorch) {
    return Form<SmallCraftEnemy>(name, d, r, 5, item, explosion, [=](Object3D* o) {
        auto* craft = dynamic_cast<SmallCraftEnemy*>(o);
        return craft->GunCount() == (gunKind == 0 ? 0 : 1) && craft->scorchFlag == scorch;
    });
}
Row Lens(const char* name, float d, float r, int32_t kind, int32_t linger) {
    return Form<LensHoudaiEnemy>(name, d, r, linger, "BONUS_M", "EXPLOSION_ita_SA01", [=](Object3D* o) {
        return dynamic_cast<LensHoudaiEnemy*>(o)->kind == kind;
    });
}
Row Kuchiku(const char* name, float d, int32_t index) {
    return {name, Exactly<KuchikuEnemy>(), d, d, kAny, -1, nullptr, nullptr, [=](Object3D* o) {
                return dynamic_cast<KuchikuEnemy*>(o)->sectionIndex == index;
            }};
}
Row Hover(const char* name, Check cls, float first, float other, float plus) {
    return {name, cls, other, first, kAny, -1, nullptr, nullptr, nullptr, plus};
}
// "name:Layer" a to b, passive.
void PassiveRange(std::vector<Row>& rows, const char* model, int a, int b, const char* label = "NULL") {
    for (int n = a; n <= b; ++n)
        rows.push_back(Passive(Layer(model, n), label));
}

// The stage layers of the table with their arguments.
std::vector<Row> StageRows() {
    const char* S = "BONUS_S";
    const char* SX = "BONUS_SX";
    const char* M = "BONUS_M";
    const char* L = "BONUS_L";
    const char* SA = "EXPLOSION_ita_SA01";
    const char* MA = "EXPLOSION_ita_MA01";
    const char* LA = "EXPLOSION_ita_LA01";
    const char* SG = "EXPLOSION_SG01";
    const char* LG = "EXPLOSION_LG01";
    std::vector<Row> r;
    for (const char* name : {"VIEWFRAME:Layer0", "sel_p00_size_1:Layer0", "sel_p00_size_1:Layer1",
                             "sel_p00_size_1:Layer2", "12:Layer0"})
        r.push_back(Hidden(name));
    r.push_back(Form<DurabilityFormEnemy>("t_midwing:Layer0", 1150.0f, kAny, -1, nullptr, nullptr));
    r.push_back(Passive("t_midwing:Layer1"));
    r.push_back(Form<DurabilityFormEnemy>("sa_05midwing:Layer0", 100.0f, kAny, -1, nullptr, nullptr));
    r.push_back(Passive("sa_05midwing:Layer1"));
    for (const char* model : {"t_fukuyou", "sa_04fukuyou"}) {
        r.push_back(Form<FukuyouEnemy>(Layer(model, 0).c_str(), 1.0f, 0.5f, -1, SX, SA));
        r.back().name = Layer(model, 0);
        r.push_back(Passive(Layer(model, 1)));
    }
    for (const char* model : {"t_niren", "sa_03niren"}) {
        r.push_back(Form<NirenEnemy>("", 60.0f, 1.0f, 5, L, MA));
        r.back().name = Layer(model, 0);
        PassiveRange(r, model, 1, 2);
    }
    r.push_back(Form<ItemCEnemy>("sa_itemC:Layer0", 10.0f, 1.0f, -1, "BONUS_POWER", MA));
    PassiveRange(r, "sa_itemC", 1, 4);
    r.push_back(Form<KuziraYusoukiEnemy>("ma_17kuzira_yusouki:Layer0", 100.0f, 1.0f, 5, L, LA));
    r.back().first = 60.0f;
    PassiveRange(r, "ma_17kuzira_yusouki", 1, 5);
    r.push_back(Tank("rader_1:Layer0", 10.0f, 0.6f, 5, S, SG));
    r.push_back(Wreck("tou_001:Layer0", true, 30.0f, 2.0f, "tou_001b", 5, M, SG));
    r.push_back(Wreck("tou_002:Layer0", true, 50.0f, 2.0f, "tou_002b", 5, M, SG));
    r.push_back(Form<BatteryEnemy>("eg_06houdai:Layer0", 1.0f, 0.0f, -1, "NULL", nullptr));
    r.push_back(Tank("sg_01tank:Layer0", 5.0f, 0.6f, 5, S, SG));
    r.push_back(Turret("sg_01tank:Layer1", "3.000000", "NULL", 0.0f));
    r.push_back(Tank("sg_04tank_kaiten4ana:Layer0", 6.0f, 1.3f, 7, S, SG));
    r.push_back(Passive("sg_04tank_kaiten4ana:Layer1", "3.000000"));
    r.push_back(Tank("mg_01tank:Layer0", 20.0f, 1.8f, 5, M, SG));
    r.push_back(Turret("mg_01tank:Layer1", "3.000000", "NULL", 0.0f));
    r.push_back(Turret("mg_01tank:Layer2", "3.000000", "NULL", 0.0f));
    r.push_back(Tank("mg_01tankB:Layer0", 40.0f, 1.8f, 5, M, SG));
    r.push_back(Turret("mg_01tankB:Layer1", "3.000000", "NULL", 0.0f, 24.0f));
    PassiveRange(r, "mg_01tankB", 2, 3);
    r.push_back(
        Form<BigBatteryEnemy>("eg_04houdai_big:Layer0", 70.0f, 2.0f, -1, nullptr, nullptr, [](Object3D* o) {
            auto* b = dynamic_cast<BigBatteryEnemy*>(o);
            return b->turnSpeed == 3.0f && b->pauseLength == 100 && b->angleOffset == 3.1415927f;
        }));
    PassiveRange(r, "eg_04houdai_big", 1, 3);
    r.push_back(Tank("eg_mainbase:Layer1", 150.0f, 3.0f, 5, L, LG));
    r.push_back(Tank("eg_mainbase:Layer2", 250.0f, 3.0f, 5, L, LG));
    r.push_back(Form<DropFormEnemy>("eg_mainbase:Layer3", 360.0f, 3.0f, 5, L, "EXPLOSION_LLG01"));
    r.push_back(Form<DropFormEnemy>("eg_senyou:Layer0", 100.0f, 2.0f, 5, M, SG));
    r.push_back(Turret("eg_senyou:Layer1", "50", "NULL", 0.0f));
    r.push_back(Tank("sg_03tankblock:Layer0", 10.0f, 1.0f, 5, S, SG));
    r.push_back(Turret("sg_03tankblock:Layer1", "3.000000", "NULL", 0.0f));
    r.push_back(Tank("mg_03_tank_yokonaga:Layer0", 17.5f, 1.35f, 5, M, SA));
    r.push_back(Turret("mg_03_tank_yokonaga:Layer1", "3.000000", "NULL", 0.0f));
    r.push_back(Tank("eg_01houdai:Layer0", 5.0f, 0.4f, 5, S, SA));
    r.push_back({"lg_02tank_heavy:Layer0", Exactly<HeavyTankEnemy>(), 900.0f, 800.0f, kAny, 5});
    r.push_back(Turret("lg_02tank_heavy:Layer1", "3.141593", "NULL", 0.0f));
    r.push_back(Form<HikouteiAoEnemy>("sa_06hikoutei_ao:Layer0", 10.0f, 0.8f, 1, M, SA));
    r.push_back(Passive("sa_06hikoutei_ao:Layer1"));
    r.push_back(SmallCraft("sa_07hikoutei_gray:Layer0", 5.0f, 0.5f, 1, S, SA, 0));
    r.push_back(SmallCraft("sa_09light_fighter:Layer0", 10.0f, 1.0f, 0, S, MA, 0));
    r.push_back(SmallCraft("mg_02hover3:Layer0", 10.0f, 1.0f, 1, M, MA, 1));
    r.push_back(SmallCraft("sa_10zenbiyoku:Layer0", 10.0f, 1.0f, 1, M, MA, 0));
    r.push_back(Passive("sa_09light_fighter:Layer1"));
    PassiveRange(r, "mg_02hover3", 1, 4);
    r.push_back(Passive("sa_10zenbiyoku:Layer1"));
    for (int n = 1; n <= 8; ++n) {
        r.push_back(Form<HoudaiKariEnemy>("", 10.0f, 1.0f, -1, "NULL", "NULL"));
        r.back().name = Layer("eg_houdai_kari02_", n);
    }
    r.push_back(Tank("mg_05tankA:Layer0", 40.0f, 1.35f, 5, M, SA));
    PassiveRange(r, "mg_05tankA", 1, 3);
    r.push_back(Tank("mg_06tankB:Layer0", 40.0f, 1.35f, 5, M, SA));
    PassiveRange(r, "mg_06tankB", 1, 2);
    r.push_back(Form<TankABEnemy>("sg_05tankA:Layer0", 17.5f, 1.35f, 5, M, SA));
    r.push_back(Form<TankABEnemy>("sg_06tankB:Layer0", 17.5f, 1.35f, 5, M, SA));
    r.push_back(Form<EnbanEnemy>("ma_14enban:Layer0", 20.0f, 1.0f, -1, M, MA));
    PassiveRange(r, "ma_14enban", 1, 2);
    r.push_back(Tank("eg_08houdai:Layer0", 20.0f, 1.35f, 5, M, SA));
    r.push_back(Tank("eg_houdaimalti:Layer0", 40.0f, 1.3f, 5, M, SA));
    r.push_back(Turret<SmoothTurret>("eg_houdaimalti:Layer1", "NULL", "NULL", 0.0f));
    r.push_back(Form<DropFormEnemy>("tanku_002:Layer0", 20.0f, 1.0f, 5, M, LA));
    r.push_back(Form<DropFormEnemy>("la_01tank_yusoukan:Layer0", 100.0f, 2.5f, 5, M, LA));
    PassiveRange(r, "la_01tank_yusoukan", 1, 6);
    r.push_back(Form<LargeWingEnemy>("ma_11large_wing:Layer0", 220.0f, kAny, -1, "NULL", "NULL"));
    PassiveRange(r, "ma_11large_wing", 1, 2);
    r.push_back(Hover("lg_01hover:Layer0", Exactly<HoverEnemy>(), 550.0f, 750.0f, 0.25f));
    r.push_back(Hover("lg_01hover_02:Layer0", Exactly<HoverEnemy2>(), 150.0f, 250.0f, 0.15f));
    r.push_back(Hover("lg_01hover_03:Layer0", Exactly<HoverEnemy3>(), 300.0f, 400.0f, 0.25f));
    for (const char* model : {"lg_01hover", "lg_01hover_02", "lg_01hover_03"})
        PassiveRange(r, model, 1, 6);
    r.push_back(Form<DropFormEnemy>("ma_01taruwing:Layer0", 55.0f, 1.5f, 5, M, SG));
    PassiveRange(r, "ma_01taruwing", 1, 6);
    r.push_back(Form<TransformingShipEnemy>("ma13_henkeihou_kan:Layer0", 70.0f, kAny, -1, nullptr, nullptr));
    PassiveRange(r, "ma13_henkeihou_kan", 1, 3);
    r.push_back(Kuchiku("la_kuchiku:Layer0", 200.0f, 0));
    r.push_back(Kuchiku("la_kuchiku:Layer1", 100.0f, 1));
    r.push_back(Kuchiku("la_kuchiku:Layer2", 100.0f, 2));
    r.push_back(Train("mg_04rail_cargo:Layer0", 200.0f, 4.0f));
    r.push_back(Passive("mg_04rail_cargo:Layer1", "5"));
    r.push_back(Train("mg_04rail_locomotive:Layer0", 400.0f, 4.5f));
    PassiveRange(r, "mg_04rail_locomotive", 1, 3, "5");
    r.push_back(Passive("medal:Layer0", "5"));
    r.push_back(Train("mg_04rail_metalA:Layer0", 200.0f, 4.0f));
    r.push_back(Turret("mg_04rail_metalA:Layer1", "0", "0", -3.6651917f));
    PassiveRange(r, "mg_04rail_metalA", 2, 3, "5");
    r.push_back(Train("mg_04rail_metalB:Layer0", 200.0f, 4.0f));
    r.push_back(Turret("mg_04rail_metalB:Layer1", "0", "0", 1.5707964f));
    r.push_back(Turret("mg_04rail_metalB:Layer2", "0", "0", 1.5707964f));
    r.push_back(Turret("mg_04rail_metalB:Layer3", "0", "0", -1.5707964f));
    r.push_back(Turret("mg_04rail_metalB:Layer4", "0", "0", -1.5707964f));
    PassiveRange(r, "mg_04rail_metalB", 5, 6, "5");
    r.push_back(Train("mg_04rail_tender:Layer0", 200.0f, 4.0f));
    r.push_back(Form<BigFighterEnemy>("lg_03soudou_bigfighter:Layer0", 600.0f, 2.0f, -1, "BONUS_BOMB", SA));
    PassiveRange(r, "lg_03soudou_bigfighter", 1, 3, "5");
    r.push_back(Form<BigFighterEnemy>("ma_10machinegun_tei:Layer0", 300.0f, 2.0f, -1, M, SA));
    PassiveRange(r, "ma_10machinegun_tei", 1, 5, "5");
    r.push_back(Form<DropFormEnemy>("ma_08hikousen:Layer0", 120.0f, 2.2f, 5, L, LA));
    PassiveRange(r, "ma_08hikousen", 3, 7, "5");
    r.push_back(Form<LensBaseEnemy>("eg_07_lens_houdai:Layer0", 1.0f, 0.0f, 5, L, SA));
    r.push_back(Form<LensCoreEnemy>("eg_07_lens_houdai:Layer1", 150.0f, 1.15f, -1, nullptr, nullptr));
    r.push_back(Passive("eg_07_lens_houdai:Layer2", "5"));
    for (int n = 3; n <= 6; ++n) {
        r.push_back(Lens("", 80.0f, 1.5f, -1, 5));
        r.back().name = Layer("eg_07_lens_houdai", n);
    }
    r.push_back(Lens("eg_ukishima_A:Layer0", 40.0f, 1.35f, 0, 0));
    r.push_back(Lens("eg_ukishima_B:Layer1", 80.0f, 1.35f, 1, 0));
    r.push_back(Lens("eg_ukishima_C:Layer1", 80.0f, 1.35f, 10, 5));
    r.push_back(Form<DropFormEnemy>("ma_07kuucyuuhou1:Layer0", 400.0f, 4.0f, 5, L, "NULL"));
    PassiveRange(r, "ma_07kuucyuuhou1", 1, 4, "5");
    r.push_back(Form<DropFormEnemy>("ma_09tutu6:Layer0", 500.0f, 2.25f, 5, L, "NULL"));
    PassiveRange(r, "ma_09tutu6", 1, 8, "5");
    r.push_back(Form<TankIsekiCEnemy>("mg_07tankisekiC:Layer0", 40.0f, 2.0f, 5, M, SA));
    PassiveRange(r, "mg_07tankisekiC", 1, 2, "5");
    r.push_back(Form<TankIsekiEEnemy>("sg_10tank_isekiE:Layer0", 15.0f, 1.35f, 5, M, SA));
    r.push_back(Wreck("mg_09tankisekiD:Layer0", false, 300.0f, 3.0f, "mg_09tankisekiD_k", 5, "NULL", "NULL"));
    r.push_back(Form<EmitterFormEnemy>("mg_4ebi:Layer0", 100.0f, 2.0f, 5, L, SA));
    r.push_back(Form<EmitterFormEnemy>("sa_11isekifighterA:Layer0", 80.0f, 1.6f, 20, L, SA));
    r.push_back(Form<DebrisFighterEnemy>("sa_12isekifighterB:Layer0", 80.0f, 1.6f, 20, L, SA));
    r.push_back(Wreck("bs4_t:Layer2", false, 800.0f, 5.0f, "nozule_k", 5, "NULL", "NULL"));
    r.push_back(Form<Bs4tLayer6Enemy>("bs4_t:Layer6", 20.0f, 1.3f, -1, M, SA));
    r.push_back(Form<Bs4tLayer14Enemy>("bs4_t:Layer14", 30.0f, 1.3f, -1, M, SA));
    r.push_back(Form<Bs4tLayer5Enemy>("bs4_t:Layer5", 80.0f, 1.3f, -1, SX, SA));
    r.push_back(Form<EmitterFormEnemy>("bs4_t:Layer15", 1000.0f, 2.3f, 5, L, SA));
    PassiveRange(r, "bs4_t", 16, 17);
    r.push_back(Form<EmitterFormEnemy>("sg_09tank_isekiB:Layer0", 2300.0f, 2.5f, 5, "BONUS_X", SA));
    PassiveRange(r, "sg_09tank_isekiB", 1, 4);
    r.push_back(Form<SinkuukanEnemy>("sa_15sinkuukan:Layer0", 10.0f, 0.6f, -1, M, SA));
    r.push_back(Passive("sa_15sinkuukan:Layer1"));
    r.push_back(Form<PorvikTankEnemy>("mg_11porvik:Layer0", 70.0f, kAny, 15, "NULL", "NULL"));
    r.push_back(Form<EmitterFormEnemy>("ma_03fuyuuhou:Layer0", 100.0f, 1.4f, 5, L, SA));
    r.push_back(Form<OugonJetEnemy>("sa_13ougon_jet:Layer0", 180.0f, 0.8f, -1, M, SA));
    r.push_back(Form<EmitterFormEnemy>("ma_20namazu:Layer0", 100.0f, 1.2f, 5, L, SA));
    r.push_back(Form<GomaEnemy>("sa_16goma:Layer0", 5.0f, 0.6f, -1, M, SA));
    r.push_back(Form<StageTenLayer17Enemy>("STAGE_TEN:Layer17", 130.0f, 1.3f, -1, M, SA));
    r.push_back(Form<StageTenLayer4Enemy>("STAGE_TEN:Layer4", 700.0f, 4.5f, -1, M, MA));
    return r;
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
    for (const Row& row : StageRows())
        names.push_back(row.name);
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
    const bool first = played.stage == 1;

    for (const Row& row : StageRows()) {
        SCOPED_TRACE(row.name);
        Object3D* built = Built(f, row.name);
        if (row.cls == nullptr) {
            // Hidden: a plain node, nothing of it draws.
            EXPECT_TRUE(built != nullptr && typeid(*built) == typeid(Object3D));
            for (MeshObject* mesh : f.Find<MeshObject>())
                EXPECT_FALSE(mesh->name.Equals(row.name.c_str()));
            continue;
        }
        if (built != nullptr && typeid(*built) == typeid(NullNodeObject)) {
            // A train car: the linked frame-node object first, the car under it.
            built = f.FindNamed<RailTrain>(row.name.c_str());
            EXPECT_TRUE(built != nullptr && dynamic_cast<NullNodeObject*>(built->parent) != nullptr);
        }
        if (built == nullptr || !row.cls(built)) {
            ADD_FAILURE() << (built != nullptr ? typeid(*built).name() : "not built");
            continue;
        }
        auto* enemy = dynamic_cast<Enemy*>(built);
        const float figure = first ? row.first : row.durability;
        EXPECT_NEAR(enemy->durability, row.plus == kAny ? figure : (scale + row.plus) * figure, 1e-3f);
        if (row.linger >= 0) {
            EXPECT_EQ(enemy->lingerFrames, row.linger);
        }
        if (auto* passive = dynamic_cast<LayerEnemy*>(built)) {
            EXPECT_EQ(passive->radius, row.radius);
            EXPECT_TRUE(passive->itemName.Equals(row.item)) << passive->itemName.Text();
        }
        if (auto* form = dynamic_cast<LayerFormEnemy*>(built)) {
            if (row.radius != kAny) {
                EXPECT_EQ(form->radius, row.radius);
            }
            if (row.item != nullptr) {
                EXPECT_TRUE(form->bonus.Equals(row.item)) << form->bonus.Text();
            }
            if (row.explosion != nullptr) {
                EXPECT_TRUE(form->explosion.Equals(row.explosion)) << form->explosion.Text();
            }
        }
        if (row.extra != nullptr) {
            EXPECT_TRUE(row.extra(built));
        }
    }
    if (played.level == 4) {
        auto* hover = dynamic_cast<Enemy*>(Built(f, "lg_01hover:Layer0"));
        EXPECT_NEAR(hover->durability, first ? 451.7857f : 616.0715f, 1e-3f);
    }

    const std::map<std::string, Check> bosses = BossLayers();
    // Boss layers: the bosses' classes, their passive layers, one layer outside the table.
    for (const auto& [name, check] : bosses) {
        Object3D* built = Built(f, name);
        ASSERT_NE(built, nullptr) << name;
        EXPECT_TRUE(check(built)) << name << " is " << typeid(*built).name();
        // Sections and bodies 500000 but for the named few; passive layers 1.
        auto* enemy = dynamic_cast<Enemy*>(built);
        if (enemy == nullptr)
            continue;  // the scenery layer
        const bool passive = typeid(*built) == typeid(LayerEnemy);
        float durability = passive ? 1.0f : 500000.0f;
        if (name == "ba_04kao:Layer23" || name == "ba_05_1mandara:Layer21")
            durability = 1.0f;
        if (name == "ba_05_3cube:Layer0")
            durability = 700.0f;
        if (name == "ba_06medarion_gear:Layer0")
            durability = 7000.0f;
        EXPECT_EQ(enemy->durability, durability) << name;
    }
    // The bodies of stages 1, 2, 3 and the stage-5 light orb stand under a root of their own.
    for (const char* body : {"ba_01zenyoku:Layer17", "ba02_cyou:Layer0", "bg_03big_spider:Layer15",
                             "ba_05_4hikari_dama:Layer0", "ba_04kao:Layer24"}) {
        Object3D* built = Built(f, body);
        ASSERT_NE(built, nullptr) << body;
        const bool rooted = dynamic_cast<StaticModelRoot*>(built->parent) != nullptr;
        EXPECT_EQ(rooted, std::string(body) != "ba_04kao:Layer24") << body;
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
