#include "tools/archive/PlaceholderItems.h"

#include <cstdio>

#include "tools/archive/PlaceholderStages.h"

namespace mareldon {

namespace {

struct ItemShape {
    const char* name;
    float half;
};

constexpr ItemShape kItems[] = {
    {"BONUS_POWER", 0.4f}, {"BONUS_BOMB", 0.4f}, {"BONUS_S", 0.2f},  {"BONUS_SX", 0.25f},
    {"BONUS_M", 0.3f},     {"BONUS_L", 0.35f},   {"BONUS_X", 0.45f}, {"BONUS_SR2", 0.2f},
};

constexpr float kBomberTravel = 12.0f;

}  // namespace

void AddPlaceholderItemModels(MbdWriter& writer) {
    for (const ItemShape& item : kItems)
        writer.AddModel(item.name, QuadModel(writer, item.name, item.half, 1.0f));
    for (const char* caption : {"POWER_font", "FORCE_font"})
        writer.AddModel(caption, QuadModel(writer, caption, 1.0f, 1.0f));
    for (int type = 0; type < 4; ++type) {
        // Room for any int, so the compiler sees no cut.
        char name[24];
        std::snprintf(name, sizeof name, "pl%02d_bomber", type);
        MbdWriter::Node root = QuadModel(writer, name, 1.5f, kPlaceholderBomberSeconds);
        // The craft flies up the screen, from below it to above it.
        MbdWriter::Track fly;
        fly.keys = {{0.0f, -kBomberTravel}, {kPlaceholderBomberSeconds, kBomberTravel}};
        root.children[0].tracks[2] = writer.AddTrack(fly);
        writer.AddModel(name, root);
    }
}

}  // namespace mareldon
