#pragma once

namespace mareldon {

// The characters a player's name is made of, in the order the name entry
// offers them, and the "rank" sheet's glyph of each.
class NameGlyphs {
  public:
    static constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,!?abcde *<";
    static constexpr int kCount = 48;
    static constexpr int kBlank = 45;
    static constexpr int kEndMark = 46;
    static constexpr int kBackMark = 47;

    static char Letter(int index) { return index >= 0 && index < kCount ? kLetters[index] : ' '; }
    // The index of a name's character; the blank for one outside the table.
    static int IndexOf(char letter);
    // The glyph's sprite name; null for the blank (nothing is drawn) and outside the table.
    static const char* SpriteName(int index);
};

}  // namespace mareldon
