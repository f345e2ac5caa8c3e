#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/archive/MbdWriter.h"
#include "tools/archive/PlaceholderScenery.h"

namespace mareldon {

// A model whose only child is a grey quad facing up, 2 * half units a side:
// root (type 0, 0 to endTime s) > layer "<name>:Layer1".
MbdWriter::Node QuadModel(MbdWriter& writer, const std::string& name, float half = 1.0f,
                          float endTime = 1.0f);

// What a placeholder stage model holds besides its root.
struct StageModelParts {
    // The type-5 node "CameraMount", kStageCameraHeight above the origin, looking
    // down: world +x to screen right, +z to screen up.
    bool cameraMount = true;
    // The frame node "Scene" at the origin, holding the quad.
    bool scene = true;
    // Frame nodes "UnderWater" and "BoundaryWater" beside "Scene", each holding a
    // quad of its own.
    bool underWater = false;
    bool boundaryWater = false;
    // With scenery images: "Scene" holds the scenery's "Field" in place of the quad,
    // and the water nodes hold the sea floor; `waterface` adds the water plane.
    const StageSceneryImages* scenery = nullptr;
    bool waterface = false;
};
inline constexpr float kStageCameraHeight = 25.0f;
inline constexpr float kStageEndTime = 300.0f;

// A stage model: root (type 0, 0 to 300 s) > the parts asked for. Without "Scene" the
// quad hangs under the root.
MbdWriter::Node PlaceholderStageModel(MbdWriter& writer, const std::string& name,
                                      const StageModelParts& parts = {});

// "STAGE_HI"'s enemy layers: a small box each, seen from the camera, whose position
// keys give it a window of a few seconds; the windows are staggered over two minutes.
// Under them hang every gun node of the stages but the rail train's, the waves
// "GP*A01" and "GP*A02", an "EC_GENERAL" with scale keys, a "bs_Null" holding a layer and
// the eye bone "BNba_01_medamaR".
struct PlaceholderEnemy {
    std::string layer;
    float x, z;
    float start, end;
    std::vector<std::string> guns;
};
const std::vector<PlaceholderEnemy>& PlaceholderStageHiEnemies();
// Every gun node name of the stage models but the rail train's.
const std::vector<const char*>& PlaceholderGunNodeNames();
// The enemy layers of PlaceholderStageHiEnemies under the "Scene" of `stage`.
void AddPlaceholderEnemies(MbdWriter& writer, MbdWriter::Node& stage);

// Stage models alone, for the stage-model fuzz seeds: "STAGE_HI" with its enemies, and
// "STAGE_ODD", whose nodes break the naming rules (short and lowercase group names,
// control and group nodes under plain nodes, two type-5 nodes, one nested, "Scene"
// inside the first, layers under frame nodes and bones).
std::vector<uint8_t> MakeStageSampleArchive();

// The stage ids of the stage table, in entry order.
const std::vector<const char*>& StageModelNames();

// "<stage id>.lights" of a placeholder stage: an ambient light, a directional light
// shining down at a slant whose red dims over the stage, a fog beyond the field and
// a shadow map 20 above it looking down.
std::vector<uint8_t> PlaceholderStageLightFile();
// The stages that get that file; the others take the default lights.
bool HasPlaceholderStageLights(const std::string& stageId);

// Everything stage play looks up by name: a placeholder stage with its scenery for
// every stage id ("STAGE_UMI" with "UnderWater" and the water plane, "STAGE_KU" with
// "BoundaryWater"), the
// muzzle flash "TEKIDAN_HATSYA01" (a small quad ending at 0.25 s), the item, caption
// and bomber models (AddPlaceholderItemModels), and the sheets
// "game" (2048 x 2048; its left 256 pixels the 64 bullet rows of 8 frames, 32-pixel
// discs coloured by row; right of u 0.625 the player shots' 56 cells in rows of twelve
// from v 0.0625, then the head-up display's sprites), "hansyadan" (4 x 4 cells of a reflected bullet) and
// "effect_all"; with `screenSprites` "game" holds the front-end screens' sprites
// right of the bullets too. Returns the image slot of "game".
int32_t AddPlaceholderStageData(MbdWriter& writer, bool screenSprites = false);

}  // namespace mareldon
