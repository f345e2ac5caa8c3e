#include "game/system/ConfigFile.h"

#include <algorithm>
#include <vector>

#include "game/system/ByteReader.h"

namespace mareldon {

namespace {

bool InRange(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

}  // namespace

std::array<uint8_t, ConfigFile::kSize> ConfigFile::Encode(const ConfigBlocks& blocks) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kSize);
    ByteWriter out(bytes);
    out.U32(kVersion);
    const OperatingSettings& op = blocks.operating;
    out.I32(op.playMode);
    out.I32(op.coins);
    out.I32(op.credits);
    out.I32(op.continueCoins);
    out.U8(op.continueEnabled);
    out.U8(op.demoSound);
    out.Zeros(2);  // unused; never let padding garbage reach the file
    out.I32(blocks.game.difficulty);
    out.I32(blocks.game.shipStock);
    out.I32(blocks.game.bombStock);
    out.I32(blocks.sound.seVolume);
    out.I32(blocks.sound.bgmVolume);
    out.I32(blocks.sound.balance);
    std::array<uint8_t, kSize> file{};
    std::copy(bytes.begin(), bytes.end(), file.begin());
    return file;
}

bool ConfigFile::Decode(const uint8_t* data, size_t size, ConfigBlocks& blocks) {
    if (size != kSize) {
        return false;
    }
    ByteReader in(data, size);
    uint32_t version = 0;
    ConfigBlocks read;
    OperatingSettings& op = read.operating;
    in.U32(version);
    in.I32(op.playMode);
    in.I32(op.coins);
    in.I32(op.credits);
    in.I32(op.continueCoins);
    in.U8(op.continueEnabled);
    in.U8(op.demoSound);
    in.Bytes(2);
    in.I32(read.game.difficulty);
    in.I32(read.game.shipStock);
    in.I32(read.game.bombStock);
    in.I32(read.sound.seVolume);
    in.I32(read.sound.bgmVolume);
    in.I32(read.sound.balance);
    if (!in.Ok() || version != kVersion || !IsValid(read)) {
        return false;
    }
    blocks = read;
    return true;
}

bool ConfigFile::IsValid(const ConfigBlocks& blocks) {
    const OperatingSettings& op = blocks.operating;
    const GameSettings& game = blocks.game;
    const SoundSettings& sound = blocks.sound;
    return InRange(op.playMode, 0, 1) && InRange(op.coins, 1, 4) && InRange(op.credits, 1, 4) &&
           InRange(op.continueCoins, 1, 10) && op.continueEnabled <= 1 && op.demoSound <= 1 &&
           InRange(game.difficulty, 1, 8) && InRange(game.shipStock, 1, 9) && InRange(game.bombStock, 1, 9) &&
           InRange(sound.seVolume, 0, 100) && InRange(sound.bgmVolume, 0, 100) &&
           InRange(sound.balance, -100, 100);
}

}  // namespace mareldon
