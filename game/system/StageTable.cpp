#include "game/system/StageTable.h"

namespace mareldon {

namespace {
// The float nearest to pi/6 (bits 0x3F060A92), as every stage camera uses it.
constexpr float kFov = 0.5235988f;
}  // namespace

// Light names are written as cp932 bytes, as the archive and light files name them.
const StageRow kStageRows[kStageCount] = {
    {"\x8E\xA9\x8B@\x83Z\x83\x8C\x83N\x83g:\x83\x89\x83"
     "C\x83g\x97p",  // 自機セレクト:ライト用
     "STAGE_REI", "select", 180.0f, "BOSS", 10000.0f, 100.0f, 18.0f, 380.0f, kFov},
    {"\x95\x97", "STAGE_KAZE", "vosk_st1", 132.5f, "BOSS", 135.0f, 45.0f, 18.0f, 380.0f, kFov},  // 風
    {"\x89\xCE", "STAGE_HI", "vosk_st2", 151.0f, "BOSS", 160.0f, 45.0f, 18.0f, 380.0f, kFov},    // 火
    {"\x8A"
     "C",
     "STAGE_UMI", "vosk_st3", 144.5f, "BOSS", 147.0f, 60.0f, 18.0f, 380.0f, kFov},              // 海
    {"\x8B\xF3", "STAGE_KU", "vosk_st4", 182.0f, "BOSS2", 190.0f, 90.0f, 18.0f, 380.0f, kFov},  // 空
    {"\x93V", "STAGE_TEN", "vosk_st5", 180.0f, "BOSS2", 190.0f, 90.0f, 18.0f, 380.0f, kFov},    // 天
    {"\x89\xCA", "STAGE_HATE", "vosk_st6", 132.5f, "BOSS", 0.0f, 90.0f, 18.0f, 380.0f, kFov},   // 果
    {"\x83`\x83\x85\x81[\x83g\x83\x8A\x83"
     "A\x83\x8B",  // チュートリアル
     "STAGE_HAJIME", "tutorial2", 180.0f, "BOSS", 10000.0f, 90.0f, 1.0f, 380.0f, kFov},
    {"\x96\xB3", "STAGE_MU", "", 132.5f, "BOSS", 190.0f, 90.0f, 18.0f, 380.0f, kFov},  // 無
    {"\x91q\x8C\xC9:\x83\x89\x83"
     "C\x83g\x97p",  // 倉庫:ライト用
     "STAGE_SOKO", "select01", 180.0f, "BOSS", 10000.0f, 90.0f, 1.0f, 380.0f, kFov},
    {"ISLAND:\x83\x89\x83"
     "C\x83g\x97p",
     "ISLAND", "select01", 180.0f, "BOSS", 10000.0f, 90.0f, 1.0f, 380.0f, kFov},
    {"VOLCANO:\x83\x89\x83"
     "C\x83g\x97p",
     "VOLCANO", "select01", 180.0f, "BOSS", 10000.0f, 90.0f, 1.0f, 380.0f, kFov},
    {"\x96\xB3"
     "2",
     "STAGE_MU2", "vosk_st3", 132.5f, "BOSS", 190.0f, 90.0f, 18.0f, 380.0f, kFov},  // 無2
};

}  // namespace mareldon
