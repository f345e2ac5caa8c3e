#include "game/system/InputManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "engine/core/Log.h"
#include "engine/core/Stopwatch.h"
#include "engine/platform/InputDevices.h"
#include "engine/platform/JvsProtocol.h"
#include "game/system/JvsLib.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "input";
constexpr float kOn = 1.0f;
constexpr int kCoinButton = 4;
constexpr int kTestButton = 8;
constexpr int kCoinErrorButton = 22;
constexpr int kIoErrorButton = 23;

struct Stick {
    float x, y;
};

// By Up + 2 Down + 4 Left + 8 Right. The diagonals are sqrt(2), as the game
// expects (the player input clamps the length). Left with Right is no direction.
const float kRoot2 = std::sqrt(2.0f);
const Stick kStickTable[16] = {
    {0, 0},
    {0, -1},
    {0, 1},
    {0, 0},
    {-1, 0},
    {-kRoot2, -kRoot2},
    {-kRoot2, kRoot2},
    {0, 0},
    {1, 0},
    {kRoot2, -kRoot2},
    {kRoot2, kRoot2},
    {0, 0},
    {0, 0},
    {0, 0},
    {0, 0},
    {0, 0},
};

void Clear(PadState& state) {
    std::memset(&state, 0, sizeof state);
}

}  // namespace

InputManager::InputManager(AppBase* app, int pads, int mice, int keyboardSlots, InputDevices* devices,
                           const SerialLinkOpener& openSerialLink, std::function<bool()> stopRequested)
    : application(app),
      padCount(pads),
      mouseCount(mice),
      keyboardCount(keyboardSlots),
      padStates(static_cast<size_t>(std::max(pads, 0))),
      mouseStates(static_cast<size_t>(std::max(mice, 0))),
      keyboardStates(static_cast<size_t>(std::max(keyboardSlots, 0))),
      devices_(devices),
      stopRequested_(std::move(stopRequested)) {
    for (PadState& state : padStates) {
        Clear(state);
    }
    std::fill(mouseStates.begin(), mouseStates.end(), MouseState{});
    std::fill(keyboardStates.begin(), keyboardStates.end(), KeyboardState{});
    if (devices_ != nullptr) {
        padsTaken = std::min(padCount, devices_->PadCount());
        miceTaken = std::min(mouseCount, devices_->MouseConnected() ? 1 : 0);
    }
    OpenJvs(openSerialLink);
    Update();
}

InputManager::~InputManager() {
    // The players are stepped by this manager; they go first.
    DeleteChildren();
    if (jvsOpen_) {
        JvsLib::Close();
    }
}

void InputManager::OpenJvs(const SerialLinkOpener& openSerialLink) {
    coinsToEmit = 0;
    jvsActive = JvsLib::Open("COM2", openSerialLink) == 1;
    jvsOpen_ = jvsActive;
    if (!jvsActive) {
        return;
    }
    // Waits for the bus to be ready, at most five seconds; a failed bus ends the
    // wait, and so does a port that would not open (its bus never starts).
    Stopwatch stopwatch;
    int state = JvsLib::Poll();
    jvsActive = false;
    while (state >= 0 && JvsLib::IsPortOpen()) {
        if (stopwatch.ElapsedSeconds() > kReadyTimeoutMs / 1000.0f) {
            LOG_WARN(kLog, "the I/O board did not become ready in %u ms", kReadyTimeoutMs);
            break;
        }
        if (StopRequested()) {
            LOG_INFO(kLog, "stop requested while waiting for the I/O board");
            break;
        }
        jvsActive = true;
        if (state == kJvsReady) {
            jvsNodeCount = JvsLib::GetNodeCount();
            if (jvsNodeCount <= 0) {
                jvsActive = false;
            }
            // A board without switch inputs gives the game nothing to play with.
            bool switchInputs = false;
            for (int address = 1; address <= jvsNodeCount && address < 32; ++address) {
                const JvsNodeInfo& info = JvsLib::GetNodeRecord(address)->info;
                for (const JvsFeature& feature : info.features) {
                    if (feature.code == kJvsFeatureSwitches) {
                        switchInputs = true;
                        jvsSwitchesPerPlayer = feature.param2;
                        JvsLib::SwitchRequestSize(info, jvsPlayers, jvsBytesPerPlayer);
                        if (feature.param2 < 2) {
                            jvsActive = false;
                        }
                    } else if (feature.code == kJvsFeatureCoins) {
                        jvsCoinSlots = JvsLib::CoinSlotCount(info);
                    }
                }
            }
            if (!switchInputs) {
                jvsActive = false;
            }
            JvsLib::RequestInputs();
            break;
        }
        JvsLib::WaitIdle(1);
        state = JvsLib::Poll();
        jvsActive = false;
    }
    // Switches beyond the bytes the record holds are never read.
    jvsSwitchesPerPlayer = std::min(jvsSwitchesPerPlayer, jvsBytesPerPlayer * 8);
    if (jvsActive) {
        // The first cycle; a bus that fails instead counts as no link.
        Stopwatch firstCycle;
        while (JvsLib::WaitIdle(10) > kJvsReady && !StopRequested() &&
               firstCycle.ElapsedSeconds() < kReadyTimeoutMs / 1000.0f) {
        }
        if (JvsLib::Poll() != kJvsReady) {
            jvsActive = false;
        }
    }
    if (!jvsActive && !StopRequested()) {
        LOG_ERROR(kLog, "no usable I/O board: the game reports an I/O error");
    }
}

void InputManager::CloseJvs() {
    if (jvsOpen_) {
        JvsLib::Close();
        jvsOpen_ = false;
    }
    jvsActive = false;
}

void InputManager::ReadPad(int index, PadState& state) {
    Clear(state);
    if (index >= 0 && index < padsTaken && devices_ != nullptr && devices_->PadConnected(index)) {
        state.connected = 1;
    }
}

void InputManager::RaiseIoError() {
    if (padCount > 0) {
        padStates[0].connected = 1;
        padStates[0].buttons[kIoErrorButton] = kOn;
    }
}

void InputManager::Update() {
    if (!enabled) {
        return;
    }
    ++stepCounter;
    // What the players saw last step: a coin press needs a released step before it.
    coinHeld_ = padCount > 0 && padStates[0].buttons[kCoinButton] > 0.6f;
    if (jvsActive) {
        switch (JvsLib::Poll()) {
            case kJvsError:
                if (padCount > 0) {
                    Clear(padStates[0]);
                }
                RaiseIoError();
                break;
            case kJvsReady:
                if (JvsLib::GetNodeCount() < 1) {
                    RaiseIoError();
                } else {
                    JvsNodeRecord& record = *JvsLib::GetNodeRecord(1);
                    for (int i = 0; i < padCount; ++i) {
                        ReadPad(i, padStates[static_cast<size_t>(i)]);
                    }
                    PlayerPass(record, CoinPass(record));
                }
                JvsLib::RequestInputs();
                break;
            default:
                // A cycle is still running: the states stay as they were.
                break;
        }
    } else {
        for (int i = 0; i < padCount; ++i) {
            ReadPad(i, padStates[static_cast<size_t>(i)]);
        }
        RaiseIoError();
    }

    for (int i = 0; i < mouseCount; ++i) {
        MouseState& mouse = mouseStates[static_cast<size_t>(i)];
        std::memset(&mouse, 0, sizeof mouse);
        mouse.connected = i < miceTaken && devices_ != nullptr && devices_->MouseConnected() ? 1 : 0;
    }
    std::fill(keyboardStates.begin(), keyboardStates.end(), KeyboardState{});

    if (TreeNode* first = firstChild) {
        TreeNode* child = first;
        do {
            TreeNode* next = child->next;
            static_cast<InputNode*>(child)->Update();
            child = next;
        } while (child != first);
    }
}

// Turns node 1's coin counters into coins to pass on. Only a coin word that this
// cycle's reply refreshed is counted, less any decrement the board has not yet
// confirmed, so no coin is counted twice.
bool InputManager::CoinPass(JvsNodeRecord& record) {
    bool jam = false;
    coinSlotMask = 0;
    for (int slot = 0; slot < jvsCoinSlots && slot < JvsLib::kMaxCoinSlots; ++slot) {
        const uint16_t word = record.coins[slot];
        if ((word & kJvsCoinConditionMask) == kJvsCoinJam) {
            jam = true;
        }
        if (!record.coinsFresh[slot]) {
            continue;
        }
        record.coinsFresh[slot] = false;
        const uint16_t count = word & kJvsCoinCountMask;
        const uint16_t pending = record.pendingDecrement[slot];
        coinsToEmit += count > pending ? count - pending : 0;
        record.pendingDecrement[slot] = count;
        if (count != 0) {
            coinSlotMask |= 1u << slot;
        }
    }
    return jam;
}

void InputManager::PlayerPass(const JvsNodeRecord& record, bool jam) {
    const bool testSwitch = (record.systemSwitches & kJvsSystemTest) != 0;
    for (int player = 0; player < padCount && player < jvsPlayers; ++player) {
        PadState& pad = padStates[static_cast<size_t>(player)];
        pad.connected = 1;
        bool on[9] = {};
        for (int i = 0; i < jvsSwitchesPerPlayer && i < 9; ++i) {
            const uint8_t byte = record.playerSwitches[player * jvsBytesPerPlayer + i / 8];
            on[i] = ((byte >> (7 - i % 8)) & 1) != 0;
        }
        const Stick& stick = kStickTable[on[kJvsSwitchUp] + 2 * on[kJvsSwitchDown] + 4 * on[kJvsSwitchLeft] +
                                         8 * on[kJvsSwitchRight]];
        pad.axes[0] = stick.x;
        pad.axes[1] = stick.y;
        uint32_t word = (on[kJvsSwitchPush1] ? 1u << 0 : 0u) | (on[kJvsSwitchPush2] ? 1u << 1 : 0u) |
                        (on[kJvsSwitchPush3] ? 1u << 2 : 0u) | (on[kJvsSwitchStart] ? 1u << 3 : 0u) |
                        (on[kJvsSwitchService] ? 1u << 5 : 0u);
        if (player == 0 && stepCounter % 2 == 0) {
            // A step that kept last step's states (a cycle still running) may
            // have kept the coin down: pressing again then would merge two coins.
            if (coinsToEmit > 0 && !coinHeld_) {
                word |= 1u << kCoinButton;
                --coinsToEmit;
            }
            if (jam) {
                word |= 1u << kCoinErrorButton;
            }
            if (JvsLib::GetNodeCount() != 1) {
                word |= 1u << kIoErrorButton;
            }
        }
        for (int button = 0; button < 24; ++button) {
            if ((word >> button) & 1u) {
                pad.buttons[button] = kOn;
            }
        }
        if (testSwitch) {
            pad.buttons[kTestButton] = kOn;
        }
    }
}

}  // namespace mareldon
