#include "game/screens/NameEditor.h"

#include "game/screens/NameGlyphs.h"

namespace mareldon {

namespace {

// Never shown in the ranking.
constexpr const char* kRefused[] = {
    "AAA", "XXX", "XX ", " XX", "X X", "X  ", " X ", "  X", "AHO", "ASS", "AUM", "BAR", "CIA",
    "DET", "DIE", "DMT", "DOM", "DOB", "ETA", "FUC", "FUK", "GHQ", "GOD", "HIV", "HOG", "IRA",
    "KKK", "LSD", "MDA", "MDM", "NUM", "OSI", "STP", "SEX", "PCE", "PCP", "PEE", "PIS", "PLO",
    "PMA", "POT", "PPA", "TCP", "TMA", "   ", "666", "FBI", "ANO", "ASG", "GIA", "HUM", "JRA",
    "PKK", "MEK", "MKO", "NCR", "ELN", "PIJ", "ELA", "PLF", "SAT", "SIT", "SST", "LRF", "SOG",
    "APG", "GSU", "CTU", "SAS", "RUC", "SEK", "GIS", "BSE", "GEO", "PET", "ESI", "NI5", "NI6"};

}  // namespace

int NameEditor::Lowest(int slot) {
    return slot == 3 ? NameGlyphs::kEndMark : 0;
}

int NameEditor::Highest(int slot) {
    return slot == 0 ? NameGlyphs::kBlank - 1 : NameGlyphs::kCount - 1;
}

void NameEditor::StepDown() {
    int& letter = letters_[cursor_];
    letter = letter <= Lowest(cursor_) ? Highest(cursor_) : letter - 1;
}

void NameEditor::StepUp() {
    int& letter = letters_[cursor_];
    letter = letter >= Highest(cursor_) ? Lowest(cursor_) : letter + 1;
}

bool NameEditor::Confirm() {
    const int letter = letters_[cursor_];
    if (letter == NameGlyphs::kBackMark) {
        if (cursor_ > 0) {
            --cursor_;
        }
        return false;
    }
    if (letter == NameGlyphs::kEndMark) {
        return true;
    }
    ++cursor_;
    letters_[cursor_] = cursor_ == 3 ? NameGlyphs::kEndMark : letter;
    return false;
}

void NameEditor::Erase() {
    if (cursor_ != 0) {
        letters_[cursor_] = 0;
        --cursor_;
    }
}

std::string NameEditor::Name() const {
    std::string name(3, ' ');
    for (int slot = 0; slot < cursor_ && slot < 3; ++slot) {
        name[size_t(slot)] = NameGlyphs::Letter(letters_[slot]);
    }
    return Filter(name);
}

std::string NameEditor::Filter(const std::string& name) {
    for (const char* refused : kRefused) {
        if (name == refused) {
            return "ZEV";
        }
    }
    return name;
}

}  // namespace mareldon
