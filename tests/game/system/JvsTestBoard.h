#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Clock.h"
#include "engine/platform/SerialLink.h"
#include "engine/platform/serial/JvsBoard.h"
#include "engine/platform/serial/SimulatedSerialLink.h"
#include "game/system/JvsBus.h"
#include "game/system/JvsLib.h"

namespace mareldon {

inline std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    char buffer[4];
    for (uint8_t byte : bytes) {
        std::snprintf(buffer, sizeof buffer, "%s%02X", text.empty() ? "" : " ", byte);
        text += buffer;
    }
    return text;
}

// A simulated board the test scripts, on whatever port its opener is asked
// for; closes the link afterwards.
class ScopedJvsBoard {
  public:
    explicit ScopedJvsBoard(std::vector<JvsNodeConfig> nodes = {JvsNodeConfig{}}, bool eventDevice = true)
        : board(std::make_shared<JvsBoard>(std::move(nodes), eventDevice)) {}
    ScopedJvsBoard(const ScopedJvsBoard&) = delete;
    ScopedJvsBoard& operator=(const ScopedJvsBoard&) = delete;
    ~ScopedJvsBoard() {
        JvsLib::Close();
        JvsBus::SetResetDelay(1000);
    }
    // Opens a link to the board, as the program's opener opens a port.
    SerialLinkOpener Opener() {
        return [this](const char*) {
            auto opened = std::make_unique<SimulatedSerialLink>(board);
            link = opened.get();
            return opened;
        };
    }
    // Every host frame since the last call, in hex.
    std::vector<std::string> TakeFrames() {
        std::vector<std::string> frames;
        for (const auto& frame : board->HostFrames()) {
            frames.push_back(Hex(frame));
        }
        board->ClearHostFrames();
        return frames;
    }

    std::shared_ptr<JvsBoard> board;
    SimulatedSerialLink* link = nullptr;  // the last one opened
};

}  // namespace mareldon
