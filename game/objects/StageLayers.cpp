#include "game/objects/StageLayers.h"

#include <array>
#include <string_view>

#include "engine/core/Log.h"
#include "game/objects/DeathReactions.h"
#include "game/objects/DebrisShooter.h"
#include "game/objects/Destroyer.h"
#include "game/objects/GunshipEnemies.h"
#include "game/objects/LayerEnemy.h"
#include "game/objects/LensTurret.h"
#include "game/objects/RailTrain.h"
#include "game/objects/TowerEnemies.h"
#include "game/objects/TransformingShip.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"

namespace mareldon {

namespace {

using Kind = StageNodeRegistry::Kind;
using F = LayerForm;
using namespace reactions;

constexpr const char* kSpin = "3.000000";  // the turrets' number, printed with %f

constexpr LayerRow Hidden(const char* name) {
    return {name, F::kHidden};
}
constexpr LayerRow Passive(const char* name, const char* label = "NULL") {
    return {name, F::kPassive, 1.0f, 0.0f, Enemy::kDefaultLinger, label};
}
constexpr LayerRow LinkedPassive(const char* name) {
    return {name, F::kLinkedPassive};
}
constexpr LayerRow Tank(const char* name, float d, float r, int32_t linger, const char* bonus,
                        const char* explosion) {
    return {name, F::kTank, d, r, linger, bonus, explosion};
}
constexpr LayerRow Turret(const char* name, const char* text, const char* label = "NULL", float offset = 0.0f,
                          F form = F::kTurret) {
    return {name, form, 1.0f, 0.0f, Enemy::kDefaultLinger, text, label, HitRule::kAlways, nullptr, offset};
}
constexpr LayerRow Drop(const char* name, float d, float r, const char* bonus, const char* explosion,
                        DeathReaction reaction) {
    return {name, F::kDrop, d, r, Enemy::kDefaultLinger, bonus, explosion, HitRule::kAlways, reaction};
}
constexpr LayerRow Emitter(const char* name, float d, float r, const char* bonus, DeathReaction reaction,
                           HitRule rule = HitRule::kWhenActive, int32_t linger = Enemy::kDefaultLinger) {
    return {name, F::kEmitter, d, r, linger, bonus, "EXPLOSION_ita_SA01", rule, reaction};
}
template <typename T>
constexpr LayerRow Class(const char* name, float d, float r = 0.0f, int32_t linger = Enemy::kDefaultLinger,
                         const char* bonus = "NULL", const char* explosion = "NULL", int32_t kind = 0,
                         int32_t flag = 0, float firstStage = 0.0f) {
    LayerRow row{name, F::kClass, d, r, linger, bonus, explosion};
    row.build = BuildLayerClass<T>;
    row.kind = kind;
    row.flag = flag;
    row.firstStageDurability = firstStage;
    return row;
}
constexpr LayerRow Carrier(const char* name, F form, float d) {
    return {name, form, d};
}
constexpr LayerRow Wreck(const char* name, F form, float d, float r, const char* model, const char* bonus,
                         const char* explosion, DeathReaction reaction = nullptr) {
    return {name, form, d, r, 5, bonus, explosion, HitRule::kAlways, reaction, 0.0f, model};
}
constexpr LayerRow TrainCar(const char* name, float d, float r) {
    return {name, F::kTrainCar, d, r, 5, "BONUS_S", "EXPLOSION_SG01"};
}
constexpr LayerRow RailTurret(const char* name, float offset) {
    return Turret(name, "0", "0", offset);
}

// Tested in this order; the first equal name decides.
constexpr LayerRow kRows[] = {
    Hidden("VIEWFRAME:Layer0"),
    Hidden("sel_p00_size_1:Layer0"),
    Hidden("sel_p00_size_1:Layer1"),
    Hidden("sel_p00_size_1:Layer2"),
    Hidden("12:Layer0"),
    {"t_midwing:Layer0", F::kWing, 1150.0f, 0.0f, Enemy::kDefaultLinger, "NULL", "NULL", HitRule::kWing,
     WingLine},
    Passive("t_midwing:Layer1"),
    {"sa_05midwing:Layer0", F::kWing, 100.0f, 0.0f, Enemy::kDefaultLinger, "NULL", "NULL", HitRule::kWing,
     WingLine},
    Passive("sa_05midwing:Layer1"),
    Class<FukuyouEnemy>("t_fukuyou:Layer0", 1.0f, 0.5f, 5, "BONUS_SX", "EXPLOSION_ita_SA01"),
    Passive("t_fukuyou:Layer1"),
    Class<FukuyouEnemy>("sa_04fukuyou:Layer0", 1.0f, 0.5f, 5, "BONUS_SX", "EXPLOSION_ita_SA01"),
    Passive("sa_04fukuyou:Layer1"),
    Class<NirenEnemy>("t_niren:Layer0", 60.0f, 1.0f, 5, "BONUS_L", "EXPLOSION_ita_MA01"),
    Passive("t_niren:Layer1"),
    Passive("t_niren:Layer2"),
    Class<NirenEnemy>("sa_03niren:Layer0", 60.0f, 1.0f, 5, "BONUS_L", "EXPLOSION_ita_MA01"),
    Passive("sa_03niren:Layer1"),
    Passive("sa_03niren:Layer2"),
    Class<ItemCEnemy>("sa_itemC:Layer0", 10.0f, 1.0f, 5, "BONUS_POWER", "EXPLOSION_ita_MA01"),
    Passive("sa_itemC:Layer1"),
    Passive("sa_itemC:Layer2"),
    Passive("sa_itemC:Layer3"),
    Passive("sa_itemC:Layer4"),
    Class<KuziraYusoukiEnemy>("ma_17kuzira_yusouki:Layer0", 100.0f, 1.0f, 5, "BONUS_L", "EXPLOSION_ita_LA01",
                              0, 0, 60.0f),
    Passive("ma_17kuzira_yusouki:Layer1"),
    Passive("ma_17kuzira_yusouki:Layer2"),
    Passive("ma_17kuzira_yusouki:Layer3"),
    Passive("ma_17kuzira_yusouki:Layer4"),
    Passive("ma_17kuzira_yusouki:Layer5"),
    Tank("rader_1:Layer0", 10.0f, 0.6f, 5, "BONUS_S", "EXPLOSION_SG01"),
    Tank("sg_01tank:Layer0", 5.0f, 0.6f, 5, "BONUS_S", "EXPLOSION_SG01"),
    Turret("sg_01tank:Layer1", kSpin),
    Tank("sg_04tank_kaiten4ana:Layer0", 6.0f, 1.3f, 7, "BONUS_S", "EXPLOSION_SG01"),
    Passive("sg_04tank_kaiten4ana:Layer1", kSpin),
    Tank("mg_01tank:Layer0", 20.0f, 1.8f, 5, "BONUS_M", "EXPLOSION_SG01"),
    Turret("mg_01tank:Layer1", kSpin),
    Turret("mg_01tank:Layer2", kSpin),
    Tank("mg_01tankB:Layer0", 40.0f, 1.8f, 5, "BONUS_M", "EXPLOSION_SG01"),
    Turret("mg_01tankB:Layer1", kSpin, "NULL", 0.0f, F::kSecondTurret),
    Passive("mg_01tankB:Layer2"),
    Passive("mg_01tankB:Layer3"),
    Tank("eg_mainbase:Layer1", 150.0f, 3.0f, 5, "BONUS_L", "EXPLOSION_LG01"),
    Tank("eg_mainbase:Layer2", 250.0f, 3.0f, 5, "BONUS_L", "EXPLOSION_LG01"),
    Drop("eg_mainbase:Layer3", 360.0f, 3.0f, "BONUS_L", "EXPLOSION_LLG01", MainBase),
    Drop("eg_senyou:Layer0", 100.0f, 2.0f, "BONUS_M", "EXPLOSION_SG01", EmitterDropEffect),
    Turret("eg_senyou:Layer1", "50"),
    Tank("sg_03tankblock:Layer0", 10.0f, 1.0f, 5, "BONUS_S", "EXPLOSION_SG01"),
    Turret("sg_03tankblock:Layer1", kSpin),
    Tank("mg_03_tank_yokonaga:Layer0", 17.5f, 1.35f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Turret("mg_03_tank_yokonaga:Layer1", kSpin),
    Tank("eg_01houdai:Layer0", 5.0f, 0.4f, 5, "BONUS_S", "EXPLOSION_ita_SA01"),
    {"lg_02tank_heavy:Layer0", F::kHeavyTank, 0.0f, 0.0f, 5},
    // Under its tank the tank's own hook builds it; anywhere else this row does.
    Turret("lg_02tank_heavy:Layer1", "3.141593"),
    Class<HikouteiAoEnemy>("sa_06hikoutei_ao:Layer0", 10.0f, 0.8f, 1, "BONUS_M", "EXPLOSION_ita_SA01"),
    Passive("sa_06hikoutei_ao:Layer1"),
    Class<SmallCraftEnemy>("sa_07hikoutei_gray:Layer0", 5.0f, 0.5f, 5, "BONUS_S", "EXPLOSION_ita_SA01", 1, 0),
    Class<SmallCraftEnemy>("sa_09light_fighter:Layer0", 10.0f, 1.0f, 5, "BONUS_S", "EXPLOSION_ita_MA01", 0,
                           0),
    Class<SmallCraftEnemy>("mg_02hover3:Layer0", 10.0f, 1.0f, 5, "BONUS_M", "EXPLOSION_ita_MA01", 1, 1),
    Class<SmallCraftEnemy>("sa_10zenbiyoku:Layer0", 10.0f, 1.0f, 5, "BONUS_M", "EXPLOSION_ita_MA01", 1, 0),
    Passive("sa_09light_fighter:Layer1"),
    Passive("mg_02hover3:Layer1"),
    Passive("mg_02hover3:Layer2"),
    Passive("mg_02hover3:Layer3"),
    Passive("mg_02hover3:Layer4"),
    Passive("sa_10zenbiyoku:Layer1"),
    Class<HoudaiKariEnemy>("eg_houdai_kari02_:Layer1", 10.0f, 1.0f),
    Class<HoudaiKariEnemy>("eg_houdai_kari02_:Layer2", 10.0f, 1.0f),
    Class<HoudaiKariEnemy>("eg_houdai_kari02_:Layer3", 10.0f, 1.0f),
    Class<HoudaiKariEnemy>("eg_houdai_kari02_:Layer4", 10.0f, 1.0f),
    Class<HoudaiKariEnemy>("eg_houdai_kari02_:Layer5", 10.0f, 1.0f),
    Class<HoudaiKariEnemy>("eg_houdai_kari02_:Layer6", 10.0f, 1.0f),
    Class<HoudaiKariEnemy>("eg_houdai_kari02_:Layer7", 10.0f, 1.0f),
    Class<HoudaiKariEnemy>("eg_houdai_kari02_:Layer8", 10.0f, 1.0f),
    Tank("mg_05tankA:Layer0", 40.0f, 1.35f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Passive("mg_05tankA:Layer1"),
    Passive("mg_05tankA:Layer2"),
    Passive("mg_05tankA:Layer3"),
    Tank("mg_06tankB:Layer0", 40.0f, 1.35f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Passive("mg_06tankB:Layer1"),
    Passive("mg_06tankB:Layer2"),
    Class<TankABEnemy>("sg_05tankA:Layer0", 17.5f, 1.35f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Class<TankABEnemy>("sg_06tankB:Layer0", 17.5f, 1.35f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Class<EnbanEnemy>("ma_14enban:Layer0", 20.0f, 1.0f, 5, "BONUS_M", "EXPLOSION_ita_MA01"),
    Passive("ma_14enban:Layer1"),
    Passive("ma_14enban:Layer2"),
    Tank("eg_08houdai:Layer0", 20.0f, 1.35f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Tank("eg_houdaimalti:Layer0", 40.0f, 1.3f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Drop("tanku_002:Layer0", 20.0f, 1.0f, "BONUS_M", "EXPLOSION_ita_LA01", DropStandard),
    {"la_01tank_yusoukan:Layer0", F::kDrop, 100.0f, 2.5f, Enemy::kDefaultLinger, "BONUS_M",
     "EXPLOSION_ita_LA01", HitRule::kLoneOrControlled, EmitterDropEffect},
    Passive("la_01tank_yusoukan:Layer1"),
    Passive("la_01tank_yusoukan:Layer2"),
    Passive("la_01tank_yusoukan:Layer3"),
    Passive("la_01tank_yusoukan:Layer4"),
    Passive("la_01tank_yusoukan:Layer5"),
    Passive("la_01tank_yusoukan:Layer6"),
    Class<LargeWingEnemy>("ma_11large_wing:Layer0", 220.0f),
    Passive("ma_11large_wing:Layer1"),
    Passive("ma_11large_wing:Layer2"),
    Carrier("lg_01hover:Layer0", F::kHover, 0.0f),
    Passive("lg_01hover:Layer1"),
    Passive("lg_01hover:Layer2"),
    Passive("lg_01hover:Layer3"),
    Passive("lg_01hover:Layer4"),
    Passive("lg_01hover:Layer5"),
    Passive("lg_01hover:Layer6"),
    Carrier("lg_01hover_02:Layer0", F::kHover2, 0.0f),
    Passive("lg_01hover_02:Layer1"),
    Passive("lg_01hover_02:Layer2"),
    Passive("lg_01hover_02:Layer3"),
    Passive("lg_01hover_02:Layer4"),
    Passive("lg_01hover_02:Layer5"),
    Passive("lg_01hover_02:Layer6"),
    Carrier("lg_01hover_03:Layer0", F::kHover3, 0.0f),
    Passive("lg_01hover_03:Layer1"),
    Passive("lg_01hover_03:Layer2"),
    Passive("lg_01hover_03:Layer3"),
    Passive("lg_01hover_03:Layer4"),
    Passive("lg_01hover_03:Layer5"),
    Passive("lg_01hover_03:Layer6"),
    Drop("ma_01taruwing:Layer0", 55.0f, 1.5f, "BONUS_M", "EXPLOSION_SG01", LargeScorchDrop),
    Passive("ma_01taruwing:Layer1"),
    Passive("ma_01taruwing:Layer2"),
    Passive("ma_01taruwing:Layer3"),
    Passive("ma_01taruwing:Layer4"),
    Passive("ma_01taruwing:Layer5"),
    Passive("ma_01taruwing:Layer6"),
    Class<KuchikuEnemy>("la_kuchiku:Layer0", 200.0f, 0.0f, Enemy::kDefaultLinger, "NULL", "NULL", 0),
    Class<KuchikuEnemy>("la_kuchiku:Layer1", 100.0f, 0.0f, Enemy::kDefaultLinger, "NULL", "NULL", 1),
    Class<KuchikuEnemy>("la_kuchiku:Layer2", 100.0f, 0.0f, Enemy::kDefaultLinger, "NULL", "NULL", 2),
    Passive("medal:Layer0", "5"),
    Class<BigFighterEnemy>("lg_03soudou_bigfighter:Layer0", 600.0f, 2.0f, 5, "BONUS_BOMB",
                           "EXPLOSION_ita_SA01"),
    Passive("lg_03soudou_bigfighter:Layer1", "5"),
    Passive("lg_03soudou_bigfighter:Layer2", "5"),
    Passive("lg_03soudou_bigfighter:Layer3", "5"),
    Class<BigFighterEnemy>("ma_10machinegun_tei:Layer0", 300.0f, 2.0f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Passive("ma_10machinegun_tei:Layer1", "5"),
    Passive("ma_10machinegun_tei:Layer2", "5"),
    Passive("ma_10machinegun_tei:Layer3", "5"),
    Passive("ma_10machinegun_tei:Layer4", "5"),
    Passive("ma_10machinegun_tei:Layer5", "5"),
    Drop("ma_08hikousen:Layer0", 120.0f, 2.2f, "BONUS_L", "EXPLOSION_ita_LA01", DropStandard),
    Passive("ma_08hikousen:Layer3", "5"),
    Passive("ma_08hikousen:Layer4", "5"),
    Passive("ma_08hikousen:Layer5", "5"),
    Passive("ma_08hikousen:Layer6", "5"),
    Passive("ma_08hikousen:Layer7", "5"),
    Class<LensBaseEnemy>("eg_07_lens_houdai:Layer0", 1.0f, 0.0f, 5, "BONUS_L", "EXPLOSION_ita_SA01"),
    Class<LensCoreEnemy>("eg_07_lens_houdai:Layer1", 150.0f, 1.15f),
    Passive("eg_07_lens_houdai:Layer2", "5"),
    Class<LensHoudaiEnemy>("eg_07_lens_houdai:Layer3", 80.0f, 1.5f, 5, "BONUS_M", "EXPLOSION_ita_SA01", -1),
    Class<LensHoudaiEnemy>("eg_07_lens_houdai:Layer4", 80.0f, 1.5f, 5, "BONUS_M", "EXPLOSION_ita_SA01", -1),
    Class<LensHoudaiEnemy>("eg_07_lens_houdai:Layer5", 80.0f, 1.5f, 5, "BONUS_M", "EXPLOSION_ita_SA01", -1),
    Class<LensHoudaiEnemy>("eg_07_lens_houdai:Layer6", 80.0f, 1.5f, 5, "BONUS_M", "EXPLOSION_ita_SA01", -1),
    Class<LensHoudaiEnemy>("eg_ukishima_A:Layer0", 40.0f, 1.35f, 0, "BONUS_M", "EXPLOSION_ita_SA01", 0),
    Class<LensHoudaiEnemy>("eg_ukishima_B:Layer1", 80.0f, 1.35f, 0, "BONUS_M", "EXPLOSION_ita_SA01", 1),
    Class<LensHoudaiEnemy>("eg_ukishima_C:Layer1", 80.0f, 1.35f, 5, "BONUS_M", "EXPLOSION_ita_SA01", 10),
    Drop("ma_07kuucyuuhou1:Layer0", 400.0f, 4.0f, "BONUS_L", "NULL", AntiAirShip),
    Passive("ma_07kuucyuuhou1:Layer1", "5"),
    Passive("ma_07kuucyuuhou1:Layer2", "5"),
    Passive("ma_07kuucyuuhou1:Layer3", "5"),
    Passive("ma_07kuucyuuhou1:Layer4", "5"),
    Drop("ma_09tutu6:Layer0", 500.0f, 2.25f, "BONUS_L", "NULL", TubeShip),
    Passive("ma_09tutu6:Layer1", "5"),
    Passive("ma_09tutu6:Layer2", "5"),
    Passive("ma_09tutu6:Layer3", "5"),
    Passive("ma_09tutu6:Layer4", "5"),
    Passive("ma_09tutu6:Layer5", "5"),
    Passive("ma_09tutu6:Layer6", "5"),
    Passive("ma_09tutu6:Layer7", "5"),
    Passive("ma_09tutu6:Layer8", "5"),
    Class<TankIsekiCEnemy>("mg_07tankisekiC:Layer0", 40.0f, 2.0f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Passive("mg_07tankisekiC:Layer1", "5"),
    Passive("mg_07tankisekiC:Layer2", "5"),
    Class<TankIsekiEEnemy>("sg_10tank_isekiE:Layer0", 15.0f, 1.35f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Emitter("mg_4ebi:Layer0", 100.0f, 2.0f, "BONUS_L", EmitterDrop),
    Emitter("sa_11isekifighterA:Layer0", 80.0f, 1.6f, "BONUS_L", EmitterDrop, HitRule::kNoseAndBody, 20),
    Class<Bs4tLayer6Enemy>("bs4_t:Layer6", 20.0f, 1.3f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Class<Bs4tLayer14Enemy>("bs4_t:Layer14", 30.0f, 1.3f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Class<Bs4tLayer5Enemy>("bs4_t:Layer5", 80.0f, 1.3f, 5, "BONUS_SX", "EXPLOSION_ita_SA01"),
    Emitter("bs4_t:Layer15", 1000.0f, 2.3f, "BONUS_L", EmitterDropCancel),
    Passive("bs4_t:Layer16"),
    Passive("bs4_t:Layer17"),
    Emitter("sg_09tank_isekiB:Layer0", 2300.0f, 2.5f, "BONUS_X", EmitterDropEffectCancel,
            HitRule::kThreePoint),
    Passive("sg_09tank_isekiB:Layer1"),
    Passive("sg_09tank_isekiB:Layer2"),
    Passive("sg_09tank_isekiB:Layer3"),
    Passive("sg_09tank_isekiB:Layer4"),
    Class<SinkuukanEnemy>("sa_15sinkuukan:Layer0", 10.0f, 0.6f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Passive("sa_15sinkuukan:Layer1"),
    Class<PorvikTankEnemy>("mg_11porvik:Layer0", 70.0f, 0.0f, 15),
    Emitter("ma_03fuyuuhou:Layer0", 100.0f, 1.4f, "BONUS_L", SmallEmitterDrop),
    Class<OugonJetEnemy>("sa_13ougon_jet:Layer0", 180.0f, 0.8f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Emitter("ma_20namazu:Layer0", 100.0f, 1.2f, "BONUS_L", EmitterDrop),
    // Towers, batteries, wrecks, the debris fighter, the transforming ship and the train.
    Wreck("tou_001:Layer0", F::kTower, 30.0f, 2.0f, "tou_001b", "BONUS_M", "EXPLOSION_SG01"),
    Wreck("tou_002:Layer0", F::kTower, 50.0f, 2.0f, "tou_002b", "BONUS_M", "EXPLOSION_SG01"),
    {"eg_06houdai:Layer0", F::kBattery},
    {"eg_04houdai_big:Layer0", F::kBigBattery, 70.0f, 2.0f, Enemy::kDefaultLinger, "BONUS_L",
     "EXPLOSION_LG01", HitRule::kAlways, nullptr, 3.1415927f, nullptr, 3.0f, 100},
    Passive("eg_04houdai_big:Layer1"),
    Passive("eg_04houdai_big:Layer2"),
    Passive("eg_04houdai_big:Layer3"),
    Turret("eg_houdaimalti:Layer1", "NULL", "NULL", 0.0f, F::kSmoothTurret),
    Carrier("ma13_henkeihou_kan:Layer0", F::kTransformer, 70.0f),
    Passive("ma13_henkeihou_kan:Layer1"),
    Passive("ma13_henkeihou_kan:Layer2"),
    Passive("ma13_henkeihou_kan:Layer3"),
    TrainCar("mg_04rail_cargo:Layer0", 200.0f, 4.0f),
    Passive("mg_04rail_cargo:Layer1", "5"),
    TrainCar("mg_04rail_locomotive:Layer0", 400.0f, 4.5f),
    Passive("mg_04rail_locomotive:Layer1", "5"),
    Passive("mg_04rail_locomotive:Layer2", "5"),
    Passive("mg_04rail_locomotive:Layer3", "5"),
    TrainCar("mg_04rail_metalA:Layer0", 200.0f, 4.0f),
    RailTurret("mg_04rail_metalA:Layer1", -3.6651917f),
    Passive("mg_04rail_metalA:Layer2", "5"),
    Passive("mg_04rail_metalA:Layer3", "5"),
    TrainCar("mg_04rail_metalB:Layer0", 200.0f, 4.0f),
    RailTurret("mg_04rail_metalB:Layer1", 1.5707964f),
    RailTurret("mg_04rail_metalB:Layer2", 1.5707964f),
    RailTurret("mg_04rail_metalB:Layer3", -1.5707964f),
    RailTurret("mg_04rail_metalB:Layer4", -1.5707964f),
    Passive("mg_04rail_metalB:Layer5", "5"),
    Passive("mg_04rail_metalB:Layer6", "5"),
    TrainCar("mg_04rail_tender:Layer0", 200.0f, 4.0f),
    Wreck("mg_09tankisekiD:Layer0", F::kWreck, 300.0f, 3.0f, "mg_09tankisekiD_k", "NULL", "NULL",
          WreckDropNoCancel),
    {"sa_12isekifighterB:Layer0", F::kDebrisFighter, 80.0f, 1.6f, 20, "BONUS_L", "EXPLOSION_ita_SA01"},
    Wreck("bs4_t:Layer2", F::kWreck, 800.0f, 5.0f, "nozule_k", "NULL", "NULL", WreckDrop),
    Class<GomaEnemy>("sa_16goma:Layer0", 5.0f, 0.6f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Class<StageTenLayer17Enemy>("STAGE_TEN:Layer17", 130.0f, 1.3f, 5, "BONUS_M", "EXPLOSION_ita_SA01"),
    Class<StageTenLayer4Enemy>("STAGE_TEN:Layer4", 700.0f, 4.5f, 5, "BONUS_M", "EXPLOSION_ita_MA01"),
    // The bosses' passive layers their own code does not register.
    Passive("ba_01zenyoku:Layer1"),
    Passive("ba_01zenyoku:Layer11"),
    Passive("ba_01zenyoku:Layer12"),
    Passive("ba_01zenyoku:Layer13"),
    Passive("ba_01zenyoku:Layer14"),
    Passive("ba_01zenyoku:Layer16"),
    LinkedPassive("bg_03big_spider:Layer1"),
    Passive("bg_03big_spider:Layer7"),
    Passive("bg_03big_spider:Layer8"),
    Passive("bg_03big_spider:Layer9"),
    Passive("bg_03big_spider:Layer10"),
    Passive("bg_03big_spider:Layer18"),
    Passive("ba_03_only_kage:Layer0"),
    Passive("ba_04kao:Layer9"),
    Passive("ba_04kao:Layer10"),
    Passive("ba_04kao:Layer11"),
    Passive("ba_04kao:Layer12"),
    Passive("ba_04kao:Layer13"),
    Passive("ba_04kao:Layer14"),
    Passive("ba_04kao:Layer15"),
    Passive("ba_04kao:Layer16"),
    Passive("ba_04kao:Layer17"),
    Passive("ba_04kao:Layer18"),
    Passive("ba_04kao:Layer19"),
    Passive("ba_04kao:Layer20"),
    Passive("ba_04kao:Layer21"),
    Passive("ba_04kao:Layer22"),
    Passive("ba_04kao:Layer26"),
    Passive("ba_04kao:Layer27"),
    Passive("ba_04kao:Layer28"),
    Passive("ba_04kao:Layer29"),
    Passive("ba_04kao:Layer30"),
    Passive("ba_04kao:Layer31"),
    Passive("ba_04kao:Layer32"),
    Passive("ba_04kao:Layer33"),
};

Object3D* BuildRow(const LayerRow& row, Object3D* parent, NodeSpawnInfo& info) {
    GameWorldScreen* world = info.owner;
    const int32_t stage = world != nullptr ? world->GetPlayingStage() : 0;
    const float scale = world != nullptr ? world->GetDifficultyScale() : 0.0f;
    const float durability = StageLayerDurability(row, stage, scale);
    switch (row.form) {
        case F::kHidden:
            return new Object3D(parent, 0);
        case F::kPassive:
            return new LayerEnemy(parent, info, 1.0f, 0.0f, String(row.bonus));
        case F::kLinkedPassive:
            return new LayerEnemy(parent, info, 1.0f, 0.0f, String(row.bonus), AttachKind::kUnderFrameNode);
        case F::kTank:
            return new LayerTankEnemy(parent, info, durability, row.radius, row.linger, row.bonus,
                                      row.explosion, Vec3{1.0f, 1.0f, 1.0f});
        case F::kTurret:
            return new LayerTankTurret(parent, info, durability, row.radius, row.bonus, row.explosion,
                                       row.angleOffset);
        case F::kSecondTurret:
            return new LayerTankTurret(parent, info, durability, row.radius, row.bonus, row.explosion,
                                       row.angleOffset, LayerTankTurret::Turn::kSecond);
        case F::kDrop:
            return new DropFormEnemy(parent, info, durability, row.radius, row.linger, row.bonus,
                                     row.explosion, row.reaction, row.rule);
        case F::kEmitter:
            return new EmitterFormEnemy(parent, info, durability, row.radius, row.bonus, row.explosion,
                                        row.linger, row.rule, row.reaction);
        case F::kWing:
            return new DurabilityFormEnemy(parent, info, durability, row.reaction);
        case F::kHover:
            return new HoverEnemy(parent, info, durability);
        case F::kHover2:
            return new HoverEnemy2(parent, info, durability);
        case F::kHover3:
            return new HoverEnemy3(parent, info, durability);
        case F::kHeavyTank:
            return new HeavyTankEnemy(parent, info, durability, row.linger);
        case F::kTower:
            return new TowerEnemy(parent, info, durability, row.radius, row.model, row.linger, row.bonus,
                                  row.explosion);
        case F::kWreck:
            return new WreckFormEnemy(parent, info, durability, row.radius, row.model, row.linger, row.bonus,
                                      row.explosion, row.reaction);
        case F::kBattery:
            return new BatteryEnemy(parent, info, durability, row.radius, row.bonus);
        case F::kBigBattery:
            return new BigBatteryEnemy(parent, info, durability, row.radius, row.speed, row.pause,
                                       row.angleOffset);
        case F::kSmoothTurret:
            return new SmoothTurret(parent, info, durability, row.radius, row.bonus, row.explosion,
                                    row.angleOffset);
        case F::kDebrisFighter:
            return new DebrisFighterEnemy(parent, info, durability, row.radius, row.bonus, row.explosion,
                                          row.linger);
        case F::kTransformer:
            return new TransformingShipEnemy(parent, info, durability);
        case F::kTrainCar:
            return BuildTrainCar(parent, info, durability, row.radius, row.linger, row.bonus, row.explosion);
        case F::kClass:
            return row.build(
                parent, info,
                LayerArgs{durability, row.radius, row.linger, row.bonus, row.explosion, row.kind, row.flag});
    }
    return nullptr;
}

Object3D* BuildLayer(Object3D* parent, NodeSpawnInfo& info) {
    const LayerRow* row = FindStageLayerRow(info.name.Text());
    if (row == nullptr) {
        LOG_WARN("stage", "layer \"%s\" has no row", info.name.Text());
        return nullptr;
    }
    return BuildRow(*row, parent, info);
}

}  // namespace

std::span<const LayerRow> StageLayerRows() {
    return kRows;
}

const LayerRow* FindStageLayerRow(std::string_view name) {
    for (const LayerRow& row : kRows) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

float StageLayerDurability(const LayerRow& row, int32_t stage, float scale) {
    const bool first = stage == 1;
    switch (row.form) {
        case F::kHover:
            return (scale + 0.25f) * (first ? 550.0f : 750.0f);
        case F::kHover2:
            return (scale + 0.15f) * (first ? 150.0f : 250.0f);
        case F::kHover3:
            return (scale + 0.25f) * (first ? 300.0f : 400.0f);
        case F::kHeavyTank:
            return first ? 800.0f : 900.0f;
        default:
            return first && row.firstStageDurability != 0.0f ? row.firstStageDurability : row.durability;
    }
}

void RegisterStageLayers(StageNodeRegistry& registry) {
    for (const LayerRow& row : kRows)
        registry.Add(Kind::kLayer, row.name, BuildLayer);
}

}  // namespace mareldon
