#pragma once

#include <cstdint>
#include <vector>

#include "game/testmode/TestMenuSetting.h"

namespace mareldon {

// The lines of a settings page, in order; the last one is RETURN.
class TestMenuList {
  public:
    TestMenuList() { lines_.reserve(4); }

    void Add(const TestMenuSetting& line) { lines_.push_back(line); }
    int32_t Count() const { return int32_t(lines_.size()); }
    TestMenuSetting& operator[](int32_t i) { return lines_[size_t(i)]; }
    const TestMenuSetting& operator[](int32_t i) const { return lines_[size_t(i)]; }
    // Every line's colours for a cursor on `cursor`.
    void Colour(int32_t cursor) {
        for (int32_t i = 0; i < Count(); ++i) {
            lines_[size_t(i)].Colour(i == cursor);
        }
    }

  private:
    std::vector<TestMenuSetting> lines_;
};

}  // namespace mareldon
