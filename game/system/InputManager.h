#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/core/InputManagerBase.h"
#include "engine/platform/SerialLink.h"

namespace mareldon {

class AppBase;
class InputDevices;
struct JvsNodeRecord;

// The program's one input service. The JVS I/O board is the only source of
// buttons, directions and coins; controllers and mice only report that they
// are connected, and no keyboard is read.
//
// Controller buttons it sets: Push 1-3 -> 0-2, Start -> 3, a counted coin -> 4
// (controller 0), Service -> 5, TEST -> 8, coin jam -> 22 and I/O error -> 23
// (controller 0). The main stick follows the lever.
class InputManager final : public InputManagerBase {
  public:
    // How long construction waits for the bus to become ready.
    static constexpr uint32_t kReadyTimeoutMs = 5000;

    // `devices` reports the controllers and mice attached (none when null); the
    // I/O board's port is opened through `openSerialLink`. The wait for the board
    // at start-up ends early once `stopRequested` answers true (a signal to end).
    InputManager(AppBase* application, int padCount, int mouseCount, int keyboardCount, InputDevices* devices,
                 const SerialLinkOpener& openSerialLink, std::function<bool()> stopRequested = {});
    ~InputManager() override;

    void Update() override;
    const PadState& GetPadState(int index) override { return padStates[static_cast<std::size_t>(index)]; }
    const MouseState& GetMouseState(int index) override {
        return mouseStates[static_cast<std::size_t>(index)];
    }
    const KeyboardState& GetKeyboardState(int index) override {
        return keyboardStates[static_cast<std::size_t>(index)];
    }

    // Closes the link for good; from then on every step reports the I/O error.
    void CloseJvs();
    void ReadPad(int index, PadState& state);

    AppBase* application;
    int padsTaken = 0;
    int miceTaken = 0;
    int keyboardsTaken = 0;
    int padCount;
    int mouseCount;
    int keyboardCount;
    std::vector<PadState> padStates;
    std::vector<MouseState> mouseStates;
    std::vector<KeyboardState> keyboardStates;
    uint32_t stepCounter = 0;
    int32_t coinsToEmit = 0;
    bool jvsActive = false;
    int jvsNodeCount = 0;
    int jvsPlayers = 0;
    int jvsSwitchesPerPlayer = 0;
    int jvsCoinSlots = 0;
    int jvsBytesPerPlayer = 0;
    bool enabled = true;
    uint32_t coinSlotMask = 0;

  private:
    void OpenJvs(const SerialLinkOpener& openSerialLink);
    bool CoinPass(JvsNodeRecord& record);
    void PlayerPass(const JvsNodeRecord& record, bool jam);
    void RaiseIoError();

    bool StopRequested() const { return stopRequested_ && stopRequested_(); }

    InputDevices* devices_;
    std::function<bool()> stopRequested_;
    // The link was opened, whether or not it turned out usable; it is closed
    // with the manager either way.
    bool jvsOpen_ = false;
    // The coin button was down in the states of the step before.
    bool coinHeld_ = false;
};

}  // namespace mareldon
