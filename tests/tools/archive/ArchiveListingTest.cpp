#include "tools/archive/ArchiveListing.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

TEST(ArchiveListingTest, SampleListsEveryKindByName) {
    std::ostringstream out;
    ASSERT_TRUE(ListArchive(MakeSampleArchive(), out));
    const std::string text = out.str();
    for (const char* line :
         {"models 2\n", "model \"scene\": 4 nodes, 1 parts", "sprite \"sheet\": image 1, frames \"a\" \"b\"",
          "sound name \"se_shot\": sound 0", "font \"F24\": 24x24", "group \"SYSTEMBGM\": 1 sounds, 0 images",
          "images 2\n", "sounds 2\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(ArchiveListingTest, GameArchiveHoldsThePlaceholderModels) {
    std::ostringstream out;
    ASSERT_TRUE(ListArchive(MakeGameArchive(), out));
    const std::string text = out.str();
    for (const char* line :
         {"model \"placeholder_ground\": 2 nodes, 1 parts", "model \"placeholder_swarm\": 2 nodes, 1 parts",
          "model \"placeholder_water\": 2 nodes, 1 parts",
          "model \"placeholder_effect\": 2 nodes, 1 parts"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(ArchiveListingTest, DamagedFilesSayWhy) {
    std::vector<uint8_t> file = MakeSampleArchive();
    file.resize(100);
    std::ostringstream out;
    EXPECT_FALSE(ListArchive(file, out));
    EXPECT_NE(out.str().find("refused: body of"), std::string::npos) << out.str();

    std::vector<uint8_t> shaders = MakeSampleVertexShaderData();
    shaders.pop_back();
    std::ostringstream listed;
    EXPECT_FALSE(ListShaderData(shaders, ShaderDataKind::Vertex, listed));
    EXPECT_NE(listed.str().find("records 1\ndamaged: record 1"), std::string::npos) << listed.str();
}

}  // namespace
}  // namespace mareldon
