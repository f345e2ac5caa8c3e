#pragma once

#include <string>
#include <vector>

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// One of the gunship, destroyer and lens layers placed in "STAGE_HI".
struct PlaceholderGunship {
    std::string layer;
    float x, z;
    float start, end;
};

// The layers, in the order they come (windows staggered over two minutes from 2 s on).
const std::vector<PlaceholderGunship>& PlaceholderGunships();
// Puts them under "Scene" of `stage`, with their sub-layers: the destroyer's two deck
// sections under its hull, the lens base's core, cover and four turrets, a tank on a
// "NULL_YUSOUKAN" transport.
void AddPlaceholderGunships(MbdWriter& writer, MbdWriter::Node& stage);
// The destroyer's wreck model "la_kuchiku_k" (Layer0 to Layer2, dark grey).
void AddPlaceholderGunshipModels(MbdWriter& writer);

}  // namespace mareldon
