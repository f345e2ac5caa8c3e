#include "tools/archive/PlaceholderAttractSheets.h"

#include <string>

namespace mareldon {

std::vector<PlaceholderSprite> PlaceholderRankingSprites() {
    using S = PlaceholderSprite;
    std::vector<S> rank = {{"SingleRanking", 224, 32, "SINGLE RANKING", 0},
                           {"TagRanking", 224, 32, "TAG RANKING", 0}};
    const char* places[] = {"1ST", "2ND", "3RD", "4TH", "5TH", "6TH", "7TH", "8TH", "9TH", "10TH"};
    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i + 1);
        rank.push_back({"jyuni_" + std::string(3 - n.size(), '0') + n, 64, 32, places[i], 0});
    }
    const uint32_t shipColours[] = {0x2040E0, 0xE02020, 0xE0E020, 0x20C040};
    for (int ship = 0; ship < 4; ++ship) {
        rank.push_back(
            {"kitai_" + std::to_string(ship + 1), 32, 32, std::to_string(ship + 1), shipColours[ship]});
    }
    rank.push_back({"STAGE", 64, 32, "STAGE", 0});
    rank.push_back({"AllClear_CLEAR", 64, 32, "CLEAR", 0});
    rank.push_back({"AllClear_ALL", 64, 32, "ALL", 0});
    for (int stage = 1; stage <= 6; ++stage) {
        rank.push_back({"stage_" + std::to_string(stage), 32, 32, std::to_string(stage), 0});
    }
    rank.push_back({"NAME", 64, 32, "NAME", 0});
    rank.push_back({"3232_ki_006", 32, 32, "&", 0});
    for (int digit = 0; digit < 10; ++digit) {
        rank.push_back({"1632_su_siro_" + std::to_string(digit), 16, 32, std::to_string(digit), 0xF0F0F0});
    }
    rank.push_back({"001_ten", 16, 32, ".", 0xF0F0F0});
    const char* units[] = {"rank_tani_01_oku", "rank_tani_02_tyou", "rank_tani_03_kyou", "rank_tani_04_gai"};
    const char* unitText[] = {"OK", "CH", "KY", "GA"};
    for (int unit = 0; unit < 4; ++unit) {
        rank.push_back({units[unit], 32, 32, unitText[unit], 0});
    }
    return rank;
}

std::vector<PlaceholderSprite> PlaceholderNoticeSprites() {
    return {{"game over", 192, 32, "GAME OVER", 0xC02040}, {"insert coin", 192, 32, "INSERT COIN", 0x20A0C0}};
}

std::vector<int32_t> AddPlaceholderAttractSheets(MbdWriter& writer) {
    return {AddPlaceholderSheet(writer, "ending", 512,
                                {{"endingback", 480, 640, "ENDING", kPlaceholderEndingColour}})};
}

}  // namespace mareldon
