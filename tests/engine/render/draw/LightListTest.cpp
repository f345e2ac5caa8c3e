#include "engine/render/draw/LightList.h"

#include <gtest/gtest.h>

#include "tests/engine/render/device/FakeTarget.h"

namespace mareldon {
namespace {

TEST(LightListTest, CopiesEveryWordAndDoublesWhenFull) {
    LightList list;
    EXPECT_EQ(list.Capacity(), 2);
    LightRecord record("DirectionalLight", 7, nullptr);
    for (int i = 0; i < LightRecord::kValueCount; ++i)
        record.values[i] = float(i);
    for (int i = 0; i < 5; ++i) {
        record.values[0] = float(100 + i);
        EXPECT_EQ(list.Add(record), i);
    }
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Capacity(), 8);
    EXPECT_EQ(list[4].values[0], 104.0f);
    EXPECT_EQ(list[4].values[31], 31.0f);  // beyond count, copied as it stands
    EXPECT_EQ(list[4].count, 7);
    EXPECT_STREQ(list[4].name.Text(), "DirectionalLight");
}

// The list is emptied every frame (a record's texture is let go with it); the next
// frame's records overwrite the old ones.
TEST(LightListTest, ClearStartsAFreshFrame) {
    LightList list;
    const float colour[4] = {0.1f, 0.2f, 0.3f, 1.0f};
    list.Add(LightRecord("AmbientLight", 4, colour));
    LightRecord shadow("Shadowmap", 4, colour);
    shadow.texture = RefPtr<TextureBase>(new FakeTarget(4, 4));
    list.Add(shadow);
    EXPECT_EQ(list[1].texture.Get(), shadow.texture.Get());
    EXPECT_EQ(shadow.texture.UseCount(), 2);
    list.Clear();
    EXPECT_EQ(shadow.texture.UseCount(), 1);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Add(LightRecord("SimpleFog", 2, colour)), 0);
    EXPECT_STREQ(list[0].name.Text(), "SimpleFog");
    EXPECT_EQ(list[0].count, 2);
    EXPECT_EQ(list[0].values[3], 0.0f);
    EXPECT_EQ(list.Capacity(), 2);
}

}  // namespace
}  // namespace mareldon
