#include "game/objects/RegisterStageObjects.h"

#include <string>

#include "engine/core/Log.h"
#include "game/objects/RailTrain.h"
#include "game/objects/StageGuns.h"
#include "game/objects/StageLayers.h"
#include "game/objects/StageNodes.h"
#include "game/objects/StageWatchers.h"
#include "game/stage/StageNodeRegistry.h"

namespace mareldon {

namespace {

using Kind = StageNodeRegistry::Kind;

// Muzzles and mounts of the bosses, attached to the section they hang under.
const char* const kFrameNodes[] = {
    "bs_Null",
    "Null_JYUUKOU_4ren_maeR",
    "Null_JYUUKOU_4ren_maeL",
    "Null_JYUUKOU_4ren_atoR",
    "Null_JYUUKOU_4ren_atoL",
    "Null_JYUUKOU_guruguri_houR",
    "Null_JYUUKOU_guruguri_houL",
    "Null_ashi_Rmae_top",
    "Null_ashi_Rushiuro_top",
    "Null_ashi_Lmae_top",
    "Null_ashi_Lushiuro_top",
    "Null_face_mask_move",
    "Null_kasaR",
    "Null_kasaL",
    "Null_asiRmae",
    "Null_asiRmae_upvec",
    "Null_asiLmae",
    "Null_asiLmae_upvec",
    "Null_asiRushiro",
    "Null_asiRushiro_upvec",
    "Null_asiLushiro",
    "Null_asiLushiro_upvec",
    "Null_JYUUKOU_maeRR",
    "Null_JYUUKOU_maeRL",
    "Null_JYUUKOU_maeLR",
    "Null_JYUUKOU_maeLL",
    "Null_JYUUKOU_U_meR",
    "Null_JYUUKOU_U_meL",
    "Null_hebi_Rue",
    "Null_hebi_Rnaka",
    "Null_hebi_Rshita",
    "Null_hebi_Lue",
    "Null_hebi_Lnaka",
    "Null_hebi_Lshita",
    "Null_MEDARION_ALL",
    "Null_JYUUKOU_medarion_1BOSS",
    "Null_JYUUKOU_medarion_2BOSS",
    "Null_JYUUKOU_medarion_3BOSS",
    "Null_JYUUKOU_medarion_4BOSS",
    "Null_KAITEN_medarion_1BOSS",
    "Null_KAITEN_medarion_2BOSS",
    "Null_KAITEN_medarion_3BOSS",
    "Null_KAITEN_medarion_4BOSS",
    "Null_KAITEN_medarion_5BOSS",
    "Null_Null_top",
    "Null_JYUUKOU_cube_center",
    "Null_JYUUKOU_togesaki_UE",
    "Null_JYUUKOU_togesaki_SHITA",
    "Null_JYUUKOU_togesaki_R",
    "Null_JYUUKOU_togesaki_L",
    "Null_JYUUKOU_togesaki_MAE",
    "Null_JYUUKOU_togesaki_USHIRO",
    "Null_JYUUKOU_muzzle1",
    "Null_JYUUKOU_muzzle2",
    "Null_JYUUKOU_muzzle3",
    "Null_JYUUKOU_muzzle4",
    "Null_JYUUKOU_muzzle5",
    "Null_JYUUKOU_muzzle6",
    "Null_JYUUKOU_muzzle7",
    "Null_JYUUKOU_muzzle8",
    "Null_JYUUKOU_hachidama",
    "Null_JYUUKOU_2ren1",
    "Null_JYUUKOU_2ren2",
    "HikaridamaDummyOya",
};

// Frame-node objects that hang under another frame-node object.
const char* const kLinkedFrameNodes[] = {
    "Null_shiroi_hikari_all",
    "soto_naka_null",
    "Null_akadama_all_top",
    "Null_hikaridama",
};

// The bosses' own node classes; until the bosses register them, plain frame-node objects.
const char* const kBossNodes[] = {
    "Null_ba01_tubasa_sakiR",
    "Null_ba01_tubasa_sakiL",
    "Null_ba01_tubasa_sakisotoR",
    "Null_ba01_tubasa_sakisotoL",
    "Null_JYUUKOU_Runit1",
    "Null_JYUUKOU_Lunit1",
    "Null_JYUUKOU_Runit2",
    "Null_JYUUKOU_Lunit2",
    "Null_JYUUKOU_center0",
    "Null_JYUUKOU_center1",
    "Null_JYUUKOU_meR",
    "Null_JYUUKOU_meC",
    "Null_JYUUKOU_meL",
    "Null_JYUUKOU_side_unitR",
    "Null_JYUUKOU_side_unitL",
    "Null_JYUUKOU_kasaRcenter",
    "Null_JYUUKOU_kasaLcenter",
    "Null_JYUUKOU_medarion",
    "Null_JYUUKOU_S_meR",
    "Null_JYUUKOU_S_meL",
    "Null_JYUUKOU_hebi_Rue",
    "Null_JYUUKOU_hebi_Rnaka",
    "Null_JYUUKOU_hebi_Rshita",
    "Null_JYUUKOU_hebi_Lue",
    "Null_JYUUKOU_hebi_Lnaka",
    "Null_JYUUKOU_hebi_Lshita",
    "Null_JYUUKOU_medarion2",
    "Null_JYUUKOU_U_meR2",
    "Null_JYUUKOU_U_meL2",
    "Null_JYUUKOU_doguu_ue",
    "Null_JYUUKOU_doguu_shita",
    "Null_JYUUKOU_medarion_5BOSS",
    "Null_JYUUKOU_U_cyuou",
    "Null_JYUUKOU_R_cyuou",
    "Null_JYUUKOU_L_cyuou",
    "Null_JYUUKOU_15_18_inazuma",
    "Null_JYUUKOU_16_19_inazuma",
    "Null_JYUUKOU_17_20_inazuma",
    "Null_ba_05_4hikari_dama_top",
    "Null_JYUUKOU_chusin1",
};

const char* const kEyeBones[] = {"BNba_01_medamaR", "BNba_01_medamaL"};

Object3D* BuildFrameNode(Object3D* parent, NodeSpawnInfo& info) {
    return new NullNodeObject(parent, info);
}

Object3D* BuildLinkedFrameNode(Object3D* parent, NodeSpawnInfo& info) {
    return new NullNodeObject(parent, info, AttachKind::kUnderFrameNode);
}

Object3D* BuildControlNode(Object3D* parent, NodeSpawnInfo& info) {
    Enemy* enemy = dynamic_cast<Enemy*>(parent);
    if (enemy == nullptr) {
        LOG_WARN("stage", "control node \"%s\" is not under an enemy", info.name.Text());
        return nullptr;
    }
    return new EnemyControlNode(*enemy, info);
}

Object3D* BuildEyeBone(Object3D* parent, NodeSpawnInfo& info) {
    return new EyeBonePart(parent, info);
}

Object3D* BuildScenery(Object3D* parent, NodeSpawnInfo& info) {
    return new StageMeshObject(parent, info.owner, info.node, info.mesh, info.materials);
}

bool JoinWave(Object3D* parent, uint8_t letter, uint8_t number) {
    Enemy* enemy = dynamic_cast<Enemy*>(parent);
    if (enemy == nullptr)
        return false;
    enemy->groupLetter = letter;
    enemy->groupNumber = number;
    return true;
}

}  // namespace

void RegisterStageObjects(StageNodeRegistry& registry) {
    for (const char* name : kFrameNodes)
        registry.Add(Kind::kFrame, name, BuildFrameNode);
    for (const char* name : kLinkedFrameNodes)
        registry.Add(Kind::kFrame, name, BuildLinkedFrameNode);
    for (const char* name : kBossNodes)
        registry.Add(Kind::kFrame, name, BuildFrameNode);
    for (int i = 0; i <= 5; ++i)
        registry.Add(Kind::kFrame, "Null_JYUUKOU_revolver" + std::to_string(i), BuildFrameNode);
    for (int i = 1; i <= 12; ++i) {
        registry.Add(Kind::kFrame, "Null_JYUUKOU_kasaR" + std::to_string(i), BuildFrameNode);
        registry.Add(Kind::kFrame, "Null_JYUUKOU_kasaL" + std::to_string(i), BuildFrameNode);
    }
    registry.Add(Kind::kFrame, "EC_GENERAL", BuildControlNode);
    for (const char* name : kEyeBones)
        registry.Add(Kind::kBone, name, BuildEyeBone);
    RegisterStageGuns(registry);
    RegisterRailTrain(registry);
    RegisterStageLayers(registry);
    RegisterStageWatchers(registry);
    registry.defaultLayer = BuildScenery;
    registry.groupHook = JoinWave;
}

}  // namespace mareldon
