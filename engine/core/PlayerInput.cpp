#include "engine/core/PlayerInput.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace mareldon {

namespace {

constexpr float kThreshold = 0.6f;
constexpr float kDeadZone = 0.05f;
constexpr int32_t kDefaultDelay = 20;
constexpr int32_t kDefaultInterval = 5;

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void PutU32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

float DeadZone(float value) {
    return (value > 0.0f && value < kDeadZone) || (value < 0.0f && value > -kDeadZone) ? 0.0f : value;
}

}  // namespace

KeyMap PlayerInput::DefaultKeyMap() {
    KeyMap map{};
    const uint8_t first[] = {0x26, 0x28, 0x25, 0x27, 0x21, 0x22, 'Z', 'X', 'C', 'V', 0x10, 0x11, 0x1B, 0x0D};
    std::memcpy(map.keys, first, sizeof first);
    for (int bit = 14; bit < 32; ++bit) {
        map.keys[bit] = static_cast<uint8_t>(0x70 + bit - 14);  // F1..F18
    }
    return map;
}

PlayerInput::PlayerInput(InputManagerBase* manager, uint32_t initialFlags, const uint8_t* replayTable,
                         size_t replayBytes)
    : inputManager(manager), keys(DefaultKeyMap()) {
    Attach(manager, 0);
    if (replayTable != nullptr) {
        SetReplayData(replayTable, replayBytes);
    }
    flags = initialFlags;
    Reset();
}

PlayerInput::~PlayerInput() = default;

void PlayerInput::Reset() {
    tableIndex = 1;
    if ((flags & kReplay) == 0) {
        table.clear();
        table.shrink_to_fit();
        tableCapacity = 0;
        if ((flags & kRecord) != 0) {
            table.assign(static_cast<size_t>(kInitialRecords) * kRecordSize, 0);
            tableCapacity = kInitialRecords;
        }
    }
    SetRepeat(0xFFFFFFFFu, kDefaultDelay, kDefaultInterval);
    buttons.pressed = 0;
    buttons.repeat = 0;
    buttons.released = 0;
    buttons.held = 0xFFFFFFFFu;  // buttons already down are not reported as pressed
    Update();
}

void PlayerInput::SetRepeat(uint32_t mask, int32_t delay, int32_t interval) {
    for (int bit = 0; bit < 32; ++bit) {
        if ((mask >> bit) & 1u) {
            repeatDelay[bit] = delay;
            repeatInterval[bit] = interval;
            repeatCount[bit] = 0;
        }
    }
}

void PlayerInput::SetKey(uint32_t mask, uint8_t virtualKey) {
    for (int bit = 0; bit < 32; ++bit) {
        if ((mask >> bit) & 1u) {
            keys.keys[bit] = virtualKey;
        }
    }
}

void PlayerInput::SetKeyMap(const KeyMap& map) {
    keys = map;
}

bool PlayerInput::TestButtons(const ButtonSet& set) const {
    return (buttons.held & set.held) == set.held && (buttons.pressed & set.pressed) == set.pressed &&
           (buttons.repeat & set.repeat) == set.repeat && (buttons.released & set.released) == set.released;
}

uint8_t PlayerInput::GetKey(uint32_t mask) const {
    return mask == 0 ? 0 : keys.keys[std::countr_zero(mask)];
}

uint32_t PlayerInput::ReadLive() {
    uint32_t word = 0;
    connected = 0;
    // Without an input manager (a headless run) no device can answer.
    if (inputManager == nullptr) {
        return 1u << 31;
    }
    for (int pad = 0; pad < 4; ++pad) {
        if ((flags & (1u << pad)) == 0) {
            continue;
        }
        const PadState& state = inputManager->GetPadState(pad);
        if (state.connected == 0) {
            continue;
        }
        connected |= 1u << pad;
        analog[0] += state.axes[0];
        analog[1] += state.axes[1];
        for (int triple = 0; triple < 3; ++triple) {
            const float x = state.axes[3 * triple];
            const float y = state.axes[3 * triple + 1];
            const float z = state.axes[3 * triple + 2];
            word |= (y < -kThreshold ? 1u << 0 : 0u) | (y > kThreshold ? 1u << 1 : 0u) |
                    (x < -kThreshold ? 1u << 2 : 0u) | (x > kThreshold ? 1u << 3 : 0u) |
                    (z < -kThreshold ? 1u << 4 : 0u) | (z > kThreshold ? 1u << 5 : 0u);
        }
        for (int button = 0; button < 24; ++button) {
            if (state.buttons[button] > kThreshold) {
                word |= 1u << (6 + button);
            }
        }
    }
    if ((flags & kKeyboard) != 0) {
        const KeyboardState& state = inputManager->GetKeyboardState(0);
        if (state.connected != 0) {
            connected |= 1u << 4;
            const auto down = [&](int bit) { return state.keys[keys.keys[bit]] != 0; };
            analog[1] -= down(0) ? 1.0f : 0.0f;
            analog[1] += down(1) ? 1.0f : 0.0f;
            analog[0] -= down(2) ? 1.0f : 0.0f;
            analog[0] += down(3) ? 1.0f : 0.0f;
            for (int bit = 0; bit < 32; ++bit) {
                if (down(bit)) {
                    word |= 1u << bit;
                }
            }
        }
    }
    analog[0] = DeadZone(analog[0]);
    analog[1] = DeadZone(analog[1]);
    analog[2] = 0.0f;
    const float length = std::sqrt(analog[0] * analog[0] + analog[1] * analog[1] + analog[2] * analog[2]);
    if (length > 1.0f) {
        const float scale = 1.0f / length;
        for (float& value : analog) {
            value *= scale;
        }
    }
    word |= connected == 0 ? 1u << 31 : 1u << 30;
    for (int pair = 0; pair < 3; ++pair) {
        const uint32_t both = 3u << (2 * pair);
        if ((word & both) == both) {
            word &= ~both;
        }
    }
    return word;
}

void PlayerInput::Update() {
    analog[0] = analog[1] = analog[2] = 0.0f;
    uint32_t word = 0;
    // A replaying input without a table gives nothing: it never falls back to the devices.
    if ((flags & kReplay) != 0) {
        if (tableIndex < tableCapacity) {
            const uint8_t* record = table.data() + static_cast<size_t>(tableIndex) * kRecordSize;
            word = GetU32(record);
            for (int i = 0; i < 3; ++i) {
                analog[i] = std::bit_cast<float>(GetU32(record + 4 + 4 * i));
            }
            ++tableIndex;
        }
    } else {
        word = ReadLive();
    }

    if ((flags & kRecord) != 0) {
        if (tableIndex >= tableCapacity) {
            tableCapacity = tableCapacity > 0 ? tableCapacity * 2 : kInitialRecords;
            table.resize(static_cast<size_t>(tableCapacity) * kRecordSize);
        }
        uint8_t* record = table.data() + static_cast<size_t>(tableIndex) * kRecordSize;
        PutU32(record, word);
        for (int i = 0; i < 3; ++i) {
            PutU32(record + 4 + 4 * i, std::bit_cast<uint32_t>(analog[i]));
        }
        ++tableIndex;
    }

    const uint32_t oldHeld = buttons.held;
    buttons.pressed = word & ~oldHeld;
    buttons.released = oldHeld & ~word;
    buttons.repeat = buttons.pressed;
    buttons.held = word;
    for (int bit = 0; bit < 32; ++bit) {
        const uint32_t mask = 1u << bit;
        if ((buttons.pressed & mask) != 0) {
            repeatCount[bit] = repeatDelay[bit];
        } else if ((word & mask) == 0) {
            repeatCount[bit] = 0;
        } else if (repeatCount[bit] == 0) {
            buttons.repeat |= mask;
            repeatCount[bit] = repeatInterval[bit];
        } else {
            --repeatCount[bit];
        }
    }
}

void PlayerInput::SetReplayData(const uint8_t* data, size_t byteLength) {
    table.clear();
    tableCapacity = 0;
    tableIndex = 1;
    if (data == nullptr || byteLength < kRecordSize || GetU32(data) != kTraceTag) {
        return;
    }
    const int32_t count = static_cast<int32_t>(GetU32(data + 12));
    if (count < 0) {
        return;
    }
    const size_t present = byteLength / kRecordSize - 1;
    const size_t records = std::min(static_cast<size_t>(count), present);
    table.assign(data, data + (records + 1) * kRecordSize);
    tableCapacity = static_cast<int32_t>(records + 1);
}

const uint8_t* PlayerInput::FinishTrace() {
    if (table.empty()) {
        return nullptr;
    }
    PutU32(table.data(), kTraceTag);
    PutU32(table.data() + 4, 0);
    PutU32(table.data() + 8, static_cast<uint32_t>(tableIndex * kRecordSize));
    PutU32(table.data() + 12, static_cast<uint32_t>(tableIndex - 1));
    return table.data();
}

}  // namespace mareldon
