#include "tools/archive/PlaceholderSheets.h"

#include <algorithm>

#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/MbdWriter.h"
#include "tools/archive/PlaceholderAttractSheets.h"
#include "tools/archive/PlaceholderScreenData.h"

namespace mareldon {

namespace {

// A bright colour of the name's own.
uint32_t ColourOf(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (char c : name) {
        hash = (hash ^ uint8_t(c)) * 16777619u;
    }
    const uint32_t r = 0x40 + (hash & 0xFF) % 0xB0;
    const uint32_t g = 0x40 + ((hash >> 8) & 0xFF) % 0xB0;
    const uint32_t b = 0x40 + ((hash >> 16) & 0xFF) % 0xB0;
    return (r << 16) | (g << 8) | b;
}

// The largest whole scale the text fits at, 1 at least.
int32_t TextScale(const PlaceholderSprite& sprite) {
    if (sprite.text.empty()) {
        return 1;
    }
    const int32_t across = (sprite.w - 2) / (int32_t(sprite.text.size()) * 6);
    const int32_t down = (sprite.h > 64 ? sprite.h / 4 - 2 : sprite.h - 2) / 8;
    return std::max(1, std::min(across, down));
}

std::vector<PlaceholderSprite> Digits(const std::string& prefix, int32_t w, int32_t h, uint32_t rgb = 0) {
    std::vector<PlaceholderSprite> digits;
    for (int digit = 0; digit < 10; ++digit) {
        digits.push_back({prefix + std::to_string(digit), w, h, std::to_string(digit), rgb});
    }
    return digits;
}

void Append(std::vector<PlaceholderSprite>& to, const std::vector<PlaceholderSprite>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace

std::vector<MbdWriter::Frame> PackPlaceholderSprites(const std::vector<PlaceholderSprite>& sprites,
                                                     int32_t left, int32_t width, int32_t* bottom) {
    // Shelf packing: a sprite that does not fit the row starts the next one.
    std::vector<MbdWriter::Frame> frames;
    int32_t x = 0, y = 0, rowHeight = 0;
    for (const PlaceholderSprite& sprite : sprites) {
        if (x + sprite.w > width) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        frames.push_back({sprite.name, float(left + x), float(y), float(sprite.w), float(sprite.h)});
        x += sprite.w;
        rowHeight = std::max(rowHeight, sprite.h);
    }
    if (bottom != nullptr) {
        *bottom = y + rowHeight;
    }
    return frames;
}

void PaintPlaceholderSprites(std::vector<uint8_t>& rgba, int32_t width,
                             const std::vector<MbdWriter::Frame>& frames,
                             const std::vector<PlaceholderSprite>& sprites) {
    auto put = [&](int32_t px, int32_t py, uint32_t rgb, uint8_t alpha) {
        uint8_t* p = &rgba[(size_t(py) * size_t(width) + size_t(px)) * 4];
        p[0] = uint8_t(rgb >> 16);
        p[1] = uint8_t(rgb >> 8);
        p[2] = uint8_t(rgb);
        p[3] = alpha;
    };
    for (size_t i = 0; i < sprites.size(); ++i) {
        const PlaceholderSprite& sprite = sprites[i];
        const int32_t left = int32_t(frames[i].x);
        const int32_t top = int32_t(frames[i].y);
        const uint32_t colour = sprite.rgb != 0 ? sprite.rgb : ColourOf(sprite.name);
        if (sprite.style != PlaceholderSprite::kInk) {
            for (int32_t py = 0; py < sprite.h; ++py) {
                for (int32_t px = 0; px < sprite.w; ++px) {
                    const bool edge = px < 2 || py < 2 || px >= sprite.w - 2 || py >= sprite.h - 2;
                    if (sprite.style == PlaceholderSprite::kBlock || edge) {
                        put(left + px, top + py, colour, 0xFF);
                    }
                }
            }
        }
        std::vector<bool> mask(size_t(sprite.w) * size_t(sprite.h));
        const int32_t scale = TextScale(sprite);
        const int32_t textWidth = int32_t(sprite.text.size()) * 6 * scale - scale;
        const int32_t textTop = sprite.h > 64 ? (sprite.h / 4 - 7 * scale) / 2 : (sprite.h - 7 * scale) / 2;
        StampPixelText(mask, sprite.w, sprite.h, (sprite.w - textWidth) / 2, std::max(textTop, 0), scale,
                       sprite.text);
        const uint32_t r = colour >> 16, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
        const uint32_t ink =
            sprite.style == PlaceholderSprite::kInk || (r * 3 + g * 6 + b) / 10 < 0x90 ? 0xFFFFFF : 0x000000;
        for (int32_t py = 0; py < sprite.h; ++py) {
            for (int32_t px = 0; px < sprite.w; ++px) {
                if (mask[size_t(py * sprite.w + px)]) {
                    put(left + px, top + py, ink, 0xFF);
                }
            }
        }
    }
}

int32_t AddPlaceholderSheet(MbdWriter& writer, const char* sheetName, int32_t width,
                            const std::vector<PlaceholderSprite>& sprites) {
    int32_t bottom = 0;
    const std::vector<MbdWriter::Frame> frames = PackPlaceholderSprites(sprites, 0, width, &bottom);
    int32_t height = 1;
    while (height < bottom) {
        height *= 2;
    }
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4, 0);
    PaintPlaceholderSprites(rgba, width, frames, sprites);
    const int32_t image = writer.AddImage(EncodePng(width, height, rgba));
    writer.AddSprite(sheetName, image, frames);
    return image;
}

int32_t AddPlaceholderFullSystemImage(MbdWriter& writer) {
    using S = PlaceholderSprite;
    std::vector<S> sprites = {
        {"credit", 80, 16, "credit", 0, S::kInk},
        {"FreePlay_002", 128, 16, "FREE PLAY", 0, S::kInk},
        {"Enjoy", 80, 16, "Enjoy", 0, S::kInk},
    };
    for (int digit = 0; digit < 10; ++digit) {
        sprites.push_back(
            {"1016_Coin_kazu_" + std::to_string(digit), 16, 16, std::to_string(digit), 0, S::kInk});
    }
    Append(sprites, {{"now_loading", 192, 24, "NOW LOADING", 0},
                     {"brova_logo", 320, 160, "BROVA", 0},
                     {"orsane_logo", 320, 160, "ORSANE", 0},
                     {"C_hyouki", 440, 16, "(C) MARELDON", 0},
                     {"PressStartButton", 208, 24, "PRESS START", 0},
                     {"ToStart", 96, 24, "TO START", 0},
                     {"Add", 48, 24, "ADD", 0},
                     {"COINS", 64, 24, "COINS", 0},
                     {"SelectYourFighter", 176, 16, "SELECT FIGHTER", 0},
                     {"1P", 32, 16, "1P", 0, S::kInk},
                     {"2P", 32, 16, "2P", 0, S::kInk},
                     {"Insert", 64, 24, "INSERT", 0, S::kInk},
                     {"ToContinue", 128, 24, "TO CONTINUE", 0, S::kInk},
                     {"PleaseWait", 128, 24, "PLEASE WAIT", 0, S::kInk}});
    Append(sprites, Digits("1016_kazu_", 16, 24));
    return AddPlaceholderSheet(writer, "systemimage", 512, sprites);
}

std::vector<PlaceholderSprite> PlaceholderGameSprites() {
    using S = PlaceholderSprite;
    std::vector<S> game = {{"gameover002", 480, 128, "GAME OVER", 0}};
    const char* icons[] = {"2psanka_ziki_01_ao_00", "2psanka_ziki_02_aka_00", "2psanka_ziki_03_ki_00",
                           "2psanka_ziki_04_midori_00"};
    const uint32_t iconColours[] = {0x2040E0, 0xE02020, 0xE0E020, 0x20C040};
    for (int ship = 0; ship < 4; ++ship) {
        game.push_back({icons[ship], 32, 32, std::to_string(ship + 1), iconColours[ship]});
    }
    game.push_back({"2psanka_ziki_05_waku_ao_00", 40, 40, "", 0x4080FF, S::kFrame});
    game.push_back({"2psanka_ziki_06_waku_aka_00", 40, 40, "", 0xFF4040, S::kFrame});
    Append(game, Digits("namerezi_con_su_", 16, 16));
    game.push_back({"namerezi_nameentry_00", 112, 16, "NAME ENTRY", 0});
    game.push_back({"namerezi_carsoru_00", 32, 8, "", 0xFFFFFF});
    const char* places[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
    for (const char* place : places) {
        game.push_back({std::string("namerezi_") + place + "_00", 40, 16, place, 0});
    }
    game.push_back({"continue_dai", 192, 48, "CONTINUE", 0});
    game.push_back({"continue_syou", 64, 16, "CONT", 0});
    Append(game, Digits("continue_dai_kazu_", 40, 64));
    Append(game, PlaceholderNoticeSprites());
    return game;
}

std::vector<PlaceholderSprite> PlaceholderHudSprites() {
    std::vector<PlaceholderSprite> hud;
    const uint32_t white = 0xF0F0F0, green = 0x20C040, yellow = 0xE0E020, red = 0xE02020, blue = 0x2040E0;
    for (int digit = 0; digit < 10; ++digit)
        hud.push_back({std::to_string(digit) + "_00_00", 16, 24, std::to_string(digit), white});
    hud.push_back({"time_TIME", 64, 16, "TIME", 0});
    const std::pair<const char*, uint32_t> popups[] = {
        {"su_02_ki_", yellow}, {"su_02_ao_", blue}, {"su_02_aka_", red}};
    for (const auto& [prefix, colour] : popups) {
        Append(hud, Digits(prefix, 8, 16, colour));
        hud.push_back({std::string(prefix) + "purasu", 8, 16, "+", colour});
    }
    Append(hud, Digits("aggresive_white_", 16, 24, white));
    hud.push_back({"aggresive_white_ap", 16, 24, "!", white});
    const std::pair<const char*, uint32_t> scores[] = {
        {"1616_su_siro_", white}, {"1616_su_midori_", green}, {"1616_su_ki_", yellow}, {"1616_su_aka_", red}};
    for (const auto& [prefix, colour] : scores)
        Append(hud, Digits(prefix, 10, 16, colour));
    Append(hud, Digits("bairitu_", 20, 16, 0xE08020));
    Append(hud, Digits("bomb_ziki_", 20, 16, white));
    hud.push_back({"bomb_ziki_mugen", 20, 16, "oo", white});
    Append(hud, Digits("bomb_ziki_ki_", 20, 16, yellow));
    hud.push_back({"bomb_ziki_ki_mugen", 20, 16, "oo", yellow});
    const std::pair<const char*, const char*> labels[] = {
        {"sonota_single", "SINGLE"}, {"sonota_double", "DOUBLE"}, {"sonota_1P", "1P"},    {"sonota_2P", "2P"},
        {"sonota_X", "x"},           {"sonota_bomb", "B"},        {"sonota_bairitu", "M"}};
    for (const auto& [name, text] : labels)
        hud.push_back({name, text[1] == 0 ? 24 : 48, 16, text, 0});
    hud.push_back({"rihurekutogeizi_001", 64, 16, "REFLECT", 0});
    hud.push_back({"rihurekutogeizi_003", 16, 16, "1", green});
    hud.push_back({"rihurekutogeizi_003_02", 16, 16, "2", green});
    hud.push_back({"rihurekutogeizi_003_03", 16, 16, "3", green});
    hud.push_back({"rihurekutogeizi_004", 16, 16, "!", red});
    const uint32_t icons[] = {0x2040E0, 0xE02020, 0xE0E020, 0x20C040};
    for (int ship = 0; ship < 4; ++ship)
        hud.push_back(
            {"zikiaikon_00" + std::to_string(ship + 1), 24, 24, std::to_string(ship + 1), icons[ship]});
    return hud;
}

std::vector<int32_t> AddPlaceholderScreenSheets(MbdWriter& writer) {
    using S = PlaceholderSprite;
    std::vector<int32_t> images;
    images.push_back(AddPlaceholderSheet(writer, "title", 512,
                                         {{"titleback", 480, 640, "", kPlaceholderTitleBackColour},
                                          {"title", 400, 160, "MARELDON", kPlaceholderTitleColour}}));
    images.push_back(AddPlaceholderSheet(writer, "NOTICE", 512,
                                         {{"NOTICE", 440, 300, "NOTICE", kPlaceholderNoticeColour}}));
    images.push_back(AddPlaceholderSheet(writer, "mentoji", 512, {{"mentoji", 480, 160, "READY", 0}}));

    std::vector<S> rank;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        rank.push_back({std::string("3232_ei_dai_") + letter, 32, 32, std::string(1, letter), 0});
    }
    Append(rank, Digits("3232_su_name_", 32, 32));
    const std::pair<const char*, const char*> marks[] = {
        {"3232_ki_001", "!"}, {"3232_ki_002", "?"}, {"3232_ki_004", "."}, {"3232_ki_005", ","},
        {"3232_ki_007", "<"}, {"3232_ki_008", "*"}, {"3232_ki_009", "a"}, {"3232_ki_010", "b"},
        {"3232_ki_011", "c"}, {"3232_ki_012", "d"}, {"3232_ki_013", "e"}};
    for (const auto& [name, text] : marks) {
        rank.push_back({name, 32, 32, text, 0});
    }
    Append(rank, PlaceholderRankingSprites());
    images.push_back(AddPlaceholderSheet(writer, "rank", 512, rank));

    std::vector<S> result = {{"RESULT", 96, 24, "RESULT", 0},
                             {"BONUS", 96, 24, "BONUS", 0},
                             {"Time", 64, 24, "TIME", 0},
                             {"SHOOTDOWN", 144, 24, "SHOOTDOWN", 0},
                             {"BombStock", 144, 24, "BOMB STOCK", 0},
                             {"sonota_total", 96, 24, "TOTAL", 0},
                             {"stageclear_stage", 240, 64, "STAGE", 0},
                             {"stageclear_clear", 240, 64, "CLEAR", 0},
                             {"NoBonus", 96, 16, "NO BONUS", 0},
                             {"PerfectBonus", 128, 16, "PERFECT", 0},
                             {"1616_resu_tani_kakeru", 16, 16, "x", 0},
                             {"2424_resu_kazu_siro_par", 24, 24, "%", 0},
                             {"sonota_bomb", 48, 24, "BOMB", 0},
                             {"sonota_bairitu", 64, 24, "RATE", 0},
                             {"1P2P_syou", 48, 16, "1P2P", 0},
                             {"1P_syou", 32, 16, "1P", 0},
                             {"2P_syou", 32, 16, "2P", 0},
                             {"1P", 48, 32, "1P", 0},
                             {"2P", 48, 32, "2P", 0},
                             {"1P2P", 64, 32, "1P2P", 0},
                             {"1616_resu_tani_ten", 16, 16, ".", 0}};
    Append(result, Digits("1616_resu_kazu_", 16, 16));
    Append(result, Digits("su_1632_", 16, 32));
    Append(result, Digits("su_1616_", 16, 16));
    Append(result, Digits("2424_resu_kazu_siro_", 24, 24));
    Append(result, Digits("1624_resu_kazu_ki_", 16, 24));
    const char* units[] = {"3232_riza_tani_01_oku", "3232_riza_tani_02_cyou", "3232_riza_tani_03_kyo",
                           "3232_riza_tani_04_gai"};
    const char* unitText[] = {"OK", "CH", "KY", "GA"};
    for (int unit = 0; unit < 4; ++unit) {
        result.push_back({units[unit], 32, 32, unitText[unit], 0});
    }
    images.push_back(AddPlaceholderSheet(writer, "result", 512, result));
    for (int32_t image : AddPlaceholderAttractSheets(writer)) {
        images.push_back(image);
    }
    return images;
}

}  // namespace mareldon
