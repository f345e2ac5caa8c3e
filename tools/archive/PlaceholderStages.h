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
// discs coloured by row), "hansyadan" (4 x 4 cells of a reflected bullet) and
// "effect_all"; with `screenSprites` "game" holds the front-end screens' sprites
// right of the bullets too. Returns the image slot of "game".
int32_t AddPlaceholderStageData(MbdWriter& writer, bool screenSprites = false);

}  // namespace mareldon
