#pragma once

#include <cstdint>
#include <vector>

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// The layers of the stage objects' table that no other placeholder stage holds, by model:
// with `carrier` the model's Layer0 carries the others, otherwise each stands alone.
struct PlaceholderLayerGroup {
    const char* model;
    std::vector<int32_t> layers;
    bool carrier;
};
const std::vector<PlaceholderLayerGroup>& PlaceholderTableLayerGroups();

// Those layers under the "Scene" of `stage`, a group coming into view every 2.5 s from
// the stage's second second on, each up for six seconds; beside them a "senyouwatcher"
// over two "eg_senyou:Layer0", a "Splasher" and a "Splasher2".
void AddPlaceholderTableLayers(MbdWriter& writer, MbdWriter::Node& stage);

}  // namespace mareldon
