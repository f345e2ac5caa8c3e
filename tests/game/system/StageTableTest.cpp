#include "game/system/StageTable.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <bit>
#include <cstring>
#include <string>

namespace mareldon {
namespace {

std::string Cp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string in = utf8;
    char out[64] = {};
    char* inPtr = in.data();
    char* outPtr = out;
    size_t inLeft = in.size();
    size_t outLeft = sizeof(out) - 1;
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return out;
}

TEST(StageTableTest, RowsAsListed) {
    const StageRow& kaze = kStageRows[1];
    EXPECT_STREQ(kaze.stageId, "STAGE_KAZE");
    EXPECT_STREQ(kaze.music, "vosk_st1");
    EXPECT_EQ(kaze.bossMusicTime, 132.5f);
    EXPECT_STREQ(kaze.bossMusic, "BOSS");
    EXPECT_EQ(kaze.timeLimitStart, 135.0f);
    EXPECT_EQ(kaze.timeLimit, 45.0f);
    EXPECT_EQ(kaze.nearClip, 18.0f);
    EXPECT_EQ(kaze.farClip, 380.0f);
    EXPECT_EQ(kStageRows[8].music[0], '\0');
    for (size_t i = 0; i < kStageCount; ++i) {
        EXPECT_EQ(std::bit_cast<uint32_t>(kStageRows[i].fieldOfView), 0x3F060A92u) << i;
        EXPECT_EQ(kStageRows[i].nearClip, (i == 7 || (i >= 9 && i <= 11)) ? 1.0f : 18.0f) << i;
    }
    EXPECT_STREQ(kStageRows[12].stageId, "STAGE_MU2");
    EXPECT_STREQ(kStageRows[4].bossMusic, "BOSS2");
    EXPECT_EQ(kStageRows[6].timeLimitStart, 0.0f);
}

TEST(StageTableTest, LightNamesAreCp932) {
    const char* utf8[kStageCount] = {"自機セレクト:ライト用",
                                     "風",
                                     "火",
                                     "海",
                                     "空",
                                     "天",
                                     "果",
                                     "チュートリアル",
                                     "無",
                                     "倉庫:ライト用",
                                     "ISLAND:ライト用",
                                     "VOLCANO:ライト用",
                                     "無2"};
    EXPECT_STREQ(kStageRows[1].lightName, "\x95\x97");
    for (size_t i = 0; i < kStageCount; ++i) {
        EXPECT_EQ(kStageRows[i].lightName, Cp932(utf8[i])) << i;
    }
}

}  // namespace
}  // namespace mareldon
