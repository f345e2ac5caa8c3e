#pragma once

#include <cstdint>

#include "engine/core/String.h"

namespace mareldon {

// What the menu and every page of the test mode share: the selectable lines, the
// cursor, and the input and drawing of one step.
class TestMenuText {
  public:
    // The game system is the task's owner (SystemTask).
    TestMenuText(int32_t itemCount, const String& name) : itemCount(itemCount), name(name) {}
    virtual ~TestMenuText() = default;

    virtual void HandleInput() = 0;
    // Named apart from the task's own Draw, which the screen and the pages also have.
    virtual void DrawPage() = 0;

    int32_t running = 1;
    int32_t itemCount;
    int32_t cursor = 0;
    String name;
    // The menu takes input only while this is 1; 0 while a page is open.
    uint8_t active = 1;
};

}  // namespace mareldon
