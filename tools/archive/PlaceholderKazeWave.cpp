#include "tools/archive/PlaceholderKazeWave.h"

#include "tools/archive/StageModelBuilder.h"

namespace mareldon {

const std::vector<PlaceholderWaveEnemy>& PlaceholderKazeWave() {
    // Tanks and a drop without gun nodes: the wave stands still and fires nothing.
    static const std::vector<PlaceholderWaveEnemy> wave = {
        {"rader_1:Layer0", -3.5f, 3.0f, 0xFF0000},    {"sg_01tank:Layer0", -1.8f, 2.4f, 0x00FF00},
        {"eg_01houdai:Layer0", 0.9f, 3.3f, 0x0000FF}, {"tanku_002:Layer0", 1.8f, 2.4f, 0xFFFF00},
        {"mg_05tankA:Layer0", 3.5f, 3.0f, 0x00FFFF},
    };
    return wave;
}

void AddPlaceholderKazeWave(MbdWriter& writer, MbdWriter::Node& stage) {
    StageModelBuilder builder(writer);
    for (MbdWriter::Node& child : stage.children) {
        if (child.name != "Scene")
            continue;
        for (const PlaceholderWaveEnemy& enemy : PlaceholderKazeWave()) {
            MbdWriter::Node box = builder.Box(enemy.layer, kPlaceholderKazeWaveHalf, enemy.rgb);
            builder.Window(box, enemy.x, 0.0f, enemy.z, kPlaceholderKazeWaveStart, kPlaceholderKazeWaveEnd);
            child.children.push_back(std::move(box));
        }
        return;
    }
}

}  // namespace mareldon
