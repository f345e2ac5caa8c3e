#pragma once

#include <memory>

#include "engine/platform/SerialLink.h"

namespace mareldon {

class JvsSwitchSource;

// Opens a port by its name ("COM2"). The device comes from MARELDON_<NAME>
// (for example MARELDON_COM2=/dev/ttyUSB0); without it a simulated I/O board
// answers in-process, its switches read from `controls` (left alone when null;
// it must outlive the link). nullptr when the device cannot be opened.
std::unique_ptr<SerialLink> OpenSerialLink(const char* portName, JvsSwitchSource* controls);

}  // namespace mareldon
