#pragma once

#include <array>
#include <cstdint>

namespace mareldon {

// The enemy groups of a stage, one per group letter (index 0 for enemies without a
// letter). A letter belongs to one wave number while any member of that wave lives: a
// wave whose members activate while another wave of the letter still lives is
// refused whole.
class EnemyGroups {
  public:
    static constexpr int32_t kGroupCount = 27;

    // False when the letter is held by another number, or is no letter at all.
    bool JoinGroup(int32_t group, uint8_t number);
    // Never below 0: an unmatched leave must not lock the letter.
    void LeaveGroup(int32_t group);

    int32_t GetCount(int32_t group) const;
    uint8_t GetOwner(int32_t group) const;

  private:
    static bool IsGroup(int32_t group) { return group >= 0 && group < kGroupCount; }

    std::array<int32_t, kGroupCount> counts{};
    std::array<uint8_t, kGroupCount> owners{};
};

}  // namespace mareldon
