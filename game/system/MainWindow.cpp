#include "game/system/MainWindow.h"

namespace mareldon {

MainWindow::~MainWindow() = default;

}  // namespace mareldon
