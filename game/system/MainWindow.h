#pragma once

#include "engine/platform/Window.h"

namespace mareldon {

// The program's one top-level window, which the graphics device draws into.
class MainWindow final : public Window {
  public:
    MainWindow(Window* parent, const String& title, const WindowLayout& layout)
        : Window(parent, "TOPWINDOW", title, 0, layout) {}
    ~MainWindow() override;
};

}  // namespace mareldon
