#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace mareldon {

// The operator's coin and play rules (test mode, system settings page).
struct OperatingSettings {
    int32_t playMode = 0;         // 0 normal play, 1 free play
    int32_t coins = 1;            // COIN: coins per credit
    int32_t credits = 1;          // CREDIT: credits granted for COIN coins
    int32_t continueCoins = 10;   // CONTINUE COIN; 10 means the same as COIN
    uint8_t continueEnabled = 1;  // CONTINUE
    uint8_t demoSound = 1;        // DEMO'S SOUND: effects sound in the attract loop
    bool operator==(const OperatingSettings&) const = default;
};

// Game rules (test mode, game configuration page).
struct GameSettings {
    int32_t difficulty = 4;
    int32_t shipStock = 3;
    int32_t bombStock = 2;
    bool operator==(const GameSettings&) const = default;
};

// Volumes (test mode, sound test page).
struct SoundSettings {
    int32_t seVolume = 75;   // 0..100
    int32_t bgmVolume = 75;  // 0..100
    int32_t balance = 0;     // -100..100
    bool operator==(const SoundSettings&) const = default;
};

// The three blocks as they travel together through the settings file.
struct ConfigBlocks {
    OperatingSettings operating;
    GameSettings game;
    SoundSettings sound;
    bool operator==(const ConfigBlocks&) const = default;
};

// "sv\MARELDON.config": 48 bytes, little-endian, laid out in docs/save-files.md.
class ConfigFile {
  public:
    static constexpr const char* kPath = "sv\\MARELDON.config";
    static constexpr size_t kSize = 48;
    static constexpr uint32_t kVersion = 1;

    static std::array<uint8_t, kSize> Encode(const ConfigBlocks& blocks);
    // Fills `blocks` only from a whole, valid file: exactly 48 bytes, version 1,
    // every value within what the test mode can set. Otherwise false and `blocks`
    // is left as it was.
    static bool Decode(const uint8_t* data, size_t size, ConfigBlocks& blocks);
    // Whether every value lies within the test mode's ranges; COIN and CREDIT
    // are at least 1, so the credit rules never divide by zero.
    static bool IsValid(const ConfigBlocks& blocks);
};

}  // namespace mareldon
