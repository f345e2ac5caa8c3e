#pragma once

#include <string>

namespace mareldon {

// Three initials edited slot by slot. Slot 3 holds only the end or back mark;
// slot 0 never offers the blank or the marks.
class NameEditor {
  public:
    static constexpr int kSlots = 4;

    // One index down (up or left) or up (down or right), wrapping within the slot's range.
    void StepDown();
    void StepUp();
    // The first button: the back mark goes one slot back, the end mark finishes,
    // any other letter moves on, the next slot starting on the same letter (the
    // end mark on slot 3). True when the entry is finished.
    bool Confirm();
    // The second button: the slot is cleared to the first letter and the cursor goes back.
    void Erase();

    int Cursor() const { return cursor_; }
    int Letter(int slot) const { return letters_[slot]; }
    // The letters before the cursor, padded with blanks to three; a refused name is "ZEV".
    std::string Name() const;
    // The name as stored: a refused one becomes "ZEV".
    static std::string Filter(const std::string& name);

  private:
    static int Lowest(int slot);
    static int Highest(int slot);

    int letters_[kSlots] = {0, 0, 0, 0};
    int cursor_ = 0;
};

}  // namespace mareldon
