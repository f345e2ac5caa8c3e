#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/InputManagerBase.h"

namespace mareldon {

struct ButtonSet {
    uint32_t held;
    uint32_t pressed;
    uint32_t repeat;  // pressed, with auto-repeat
    uint32_t released;
};

// Windows virtual-key code of each logical bit.
struct KeyMap {
    uint8_t keys[32];
};

// One player's 32 logical buttons and three analog values, from up to four
// controllers and the keyboard, or from a recorded table.
//
// Logical bits: 0 up, 1 down, 2 left, 3 right, 4/5 the third axis pair,
// 6..29 controller buttons 0..23, 30 some enabled device answered, 31 none did.
//
// Record table, 16 bytes a record, little-endian (as stored in ".trace" files):
//   0  u32  button word of the step
//   4  f32  analog x
//   8  f32  analog y
//   12 f32  analog z
// Record 0 is the header: the tag "VJTR", 0, bytes of header and records,
// number of records after the header.
class PlayerInput : public InputNode {
  public:
    enum Flag : uint32_t {
        kPad0 = 1u << 0,
        kPad1 = 1u << 1,
        kPad2 = 1u << 2,
        kPad3 = 1u << 3,
        kKeyboard = 1u << 4,
        kReplay = 1u << 7,
        kRecord = 1u << 8,
    };
    static constexpr uint32_t kTraceTag = 0x52544A56;  // "VJTR"
    static constexpr int kRecordSize = 16;
    static constexpr int kInitialRecords = 3600;  // 60 s at 60 steps

    // Attaches under the input manager. A replay table (header and records) is
    // copied as SetReplayData does.
    PlayerInput(InputManagerBase* inputManager, uint32_t flags, const uint8_t* replayTable = nullptr,
                size_t replayBytes = 0);
    ~PlayerInput() override;

    void Update() override;
    virtual void Reset();
    virtual void SetRepeat(uint32_t mask, int32_t delay, int32_t interval);
    virtual void SetKey(uint32_t mask, uint8_t virtualKey);
    virtual void SetKeyMap(const KeyMap& map);
    virtual const float* GetAnalog() const { return analog; }
    virtual const ButtonSet& GetButtons() const { return buttons; }
    virtual bool TestButtons(const ButtonSet& set) const;
    virtual uint32_t GetConnectedDevices() const { return connected; }
    virtual uint8_t GetKey(uint32_t mask) const;
    virtual KeyMap& GetSecondInterface() { return keys; }

    int32_t GetRecordBytes() const { return tableIndex * kRecordSize; }
    // Installs a recorded table of byteLength bytes. The record count in its
    // header is clamped to the records present; a wrong tag, a negative count
    // or a block shorter than the header installs no table.
    void SetReplayData(const uint8_t* data, size_t byteLength);
    // Fills the header; the first GetRecordBytes() bytes are the recording.
    // nullptr without a table.
    const uint8_t* FinishTrace();

    static KeyMap DefaultKeyMap();

    InputManagerBase* inputManager;
    uint32_t flags = 0;
    uint32_t connected = 0;
    ButtonSet buttons{};
    int32_t repeatCount[32] = {};
    int32_t repeatDelay[32] = {};
    int32_t repeatInterval[32] = {};
    float analog[3] = {};
    KeyMap keys;
    std::vector<uint8_t> table;
    int32_t tableCapacity = 0;
    int32_t tableIndex = 1;

  private:
    uint32_t ReadLive();
};

}  // namespace mareldon
