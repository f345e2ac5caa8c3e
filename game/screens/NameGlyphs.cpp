#include "game/screens/NameGlyphs.h"

#include <array>
#include <string>

namespace mareldon {

namespace {

std::array<std::string, NameGlyphs::kCount> MakeNames() {
    std::array<std::string, NameGlyphs::kCount> names;
    for (int i = 0; i < 26; ++i) {
        names[size_t(i)] = std::string("3232_ei_dai_") + char('A' + i);
    }
    for (int i = 0; i < 10; ++i) {
        names[size_t(26 + i)] = "3232_su_name_" + std::to_string(i);
    }
    // ".,!?" then "abcde", then blank, end and back marks.
    const char* marks[] = {"3232_ki_004", "3232_ki_005", "3232_ki_001", "3232_ki_002", "3232_ki_009",
                           "3232_ki_010", "3232_ki_011", "3232_ki_012", "3232_ki_013"};
    for (int i = 0; i < 9; ++i) {
        names[size_t(36 + i)] = marks[i];
    }
    names[NameGlyphs::kEndMark] = "3232_ki_008";
    names[NameGlyphs::kBackMark] = "3232_ki_007";
    return names;
}

}  // namespace

int NameGlyphs::IndexOf(char letter) {
    for (int i = 0; i < kCount; ++i) {
        if (kLetters[i] == letter) {
            return i;
        }
    }
    return kBlank;
}

const char* NameGlyphs::SpriteName(int index) {
    static const std::array<std::string, kCount> names = MakeNames();
    if (index < 0 || index >= kCount || index == kBlank) {
        return nullptr;
    }
    return names[size_t(index)].c_str();
}

}  // namespace mareldon
