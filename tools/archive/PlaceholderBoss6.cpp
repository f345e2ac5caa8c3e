#include "tools/archive/PlaceholderBoss6.h"

#include <string>
#include <utility>

namespace mareldon {

MbdWriter::Node PlaceholderBoss6Node(StageModelBuilder& b, float endTime) {
    std::vector<MbdWriter::Node> gears;
    for (int32_t n = 1; n <= 5; ++n) {
        MbdWriter::Node gear =
            b.Box("ba_06medarion_gear:Layer" + std::to_string(n), 0.3f, 0x8080A0 + 0x100000 * uint32_t(n));
        b.At(gear, -2.0f + float(n - 1), 0.0f, -0.8f);
        gears.push_back(std::move(gear));
    }
    MbdWriter::Node body = b.Box("ba_06medarion_gear:Layer0", 1.2f, 0xD0A040, std::move(gears));
    b.Window(body, 0.0f, 0.0f, 3.5f, 0.0f, endTime);
    return body;
}

void AddPlaceholderBoss6ToStage(MbdWriter& writer, MbdWriter::Node& stage, const std::string& id) {
    if (id != "STAGE_HATE")
        return;
    StageModelBuilder builder(writer);
    AddToScene(stage, PlaceholderBoss6Node(builder));
}

}  // namespace mareldon
