#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "game/system/GameSystem.h"
#include "game/system/SoundCueRef.h"
#include "tests/game/system/ServicesFixture.h"

namespace mareldon {
namespace {

struct Cue {
    int32_t id;
    const char* name;
    float volume;
};

// The sound-effect table, in table order.
constexpr Cue kCues[] = {
    {0, "SE0030", 0.85f},      {14, "SE0044", 0.9f},     {15, "SE0045", 0.9f},       {16, "SE0058", 1.0f},
    {17, "vosk1_se42", 1.0f},  {44, "vosk1_se42", 1.0f}, {2, "SE0077_2", 1.0f},      {3, "vosk1_se37", 1.0f},
    {4, "SE0071", 1.0f},       {5, "vosk1_se36", 1.0f},  {45, "05D_GIMIC17", 0.98f}, {46, "SE0021", 1.0f},
    {49, "061_FSHOT18", 0.8f}, {50, "atc", 0.8f},        {1, "SE005D", 0.9f},        {47, "09_", 1.0f},
    {6, "SE0020", 1.0f},       {7, "SE0021", 1.0f},      {8, "SE005F", 1.0f},        {9, "SE008B", 1.0f},
    {10, "SE0023", 1.0f},      {11, "SE003D", 0.72f},    {12, "SE0023", 1.0f},       {13, "SE0083", 1.0f},
    {18, "vosk1_se02", 1.0f},  {19, "gameover", 1.0f},   {20, "SE0082", 0.81f},      {21, "vosk1_se01", 1.0f},
    {22, "vosk1_se10", 1.0f},  {23, "vosk1_se83", 1.0f}, {24, "SE008F", 0.9f},       {25, "vosk1_se57", 1.0f},
    {26, "vosk1_se85", 1.0f},  {27, "vosk1_se66", 0.9f}, {28, "SE00B2", 1.0f},       {29, "SE0088", 1.0f},
    {30, "SE00B3", 1.0f},      {31, "SE00B2", 1.0f},     {32, "SE008F", 1.0f},       {33, "SE0091", 1.0f},
    {34, "SE008C", 1.0f},      {35, "SE0099", 1.0f},     {36, "SE00AE", 1.0f},       {37, "SE0070", 0.91f},
    {38, "SE0071", 0.91f},     {39, "SE0074", 0.91f},    {40, "SE007C", 0.91f},      {41, "vosk1_se31", 1.0f},
    {42, "vosk1_se42", 1.0f},  {43, "vosk1_se49", 1.0f}, {51, "vosk1_se23", 1.0f},   {48, "vosk1_se50", 1.0f},
};

class SoundCueTableTest : public testing::Test, public ServicesFixture {
  protected:
    // The buffer the archive gives a cue name.
    int BufferOf(const char* name) {
        const SoundCueRef cue(root.renderer.Get(), root.soundBox, String(name));
        return cue.IsEmpty() ? -1 : cue.Sound()->Buffer();
    }
};

// Every row: its id, cue name and relative volume, in table order; loading gives each id
// the sound of its name at effect volume x 0.0095 x the row's volume, row after row.
TEST_F(SoundCueTableTest, EveryIdHasItsCueAndVolume) {
    const auto table = GameSystem::SeTable();
    ASSERT_EQ(table.size(), std::size(kCues));
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table[i].id, kCues[i].id);
        EXPECT_STREQ(table[i].cue, kCues[i].name);
        EXPECT_EQ(table[i].volume, kCues[i].volume);
    }

    StartLoaded();
    TakeLog();
    system->LoadSeCues();
    std::vector<std::string> volumes;
    for (const std::string& line : TakeLog()) {
        if (line.rfind("volume ", 0) == 0)
            volumes.push_back(line);
    }
    std::vector<std::string> expected;
    for (const Cue& cue : kCues) {
        SCOPED_TRACE(cue.id);
        const int buffer = BufferOf(cue.name);
        ASSERT_GE(buffer, 0);
        EXPECT_EQ(Buffer(cue.id), buffer);
        // Factory settings: effects at 75.
        char line[64];
        std::snprintf(line, sizeof line, "volume %d %d", buffer,
                      int(VolumeToMillibels(75 * 0.0095f * cue.volume)));
        expected.push_back(line);
    }
    EXPECT_EQ(volumes, expected);
}

}  // namespace
}  // namespace mareldon
