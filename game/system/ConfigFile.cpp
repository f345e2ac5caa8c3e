#include "game/system/ConfigFile.h"

#include <algorithm>

#include "engine/core/ByteReader.h"
#include "engine/core/ByteWriter.h"

namespace mareldon {

namespace {

bool InRange(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

// The file layout, for writing (ByteWriter, const blocks) and reading.
template <typename Stream, typename Blocks>
void Transfer(Stream& io, uint32_t& version, Blocks& blocks) {
    io.U32(version);
    io.I32(blocks.operating.playMode);
    io.I32(blocks.operating.coins);
    io.I32(blocks.operating.credits);
    io.I32(blocks.operating.continueCoins);
    io.U8(blocks.operating.continueEnabled);
    io.U8(blocks.operating.demoSound);
    io.Skip(2);  // unused
    io.I32(blocks.game.difficulty);
    io.I32(blocks.game.shipStock);
    io.I32(blocks.game.bombStock);
    io.I32(blocks.sound.seVolume);
    io.I32(blocks.sound.bgmVolume);
    io.I32(blocks.sound.balance);
}

}  // namespace

std::array<uint8_t, ConfigFile::kSize> ConfigFile::Encode(const ConfigBlocks& blocks) {
    ByteWriter out;
    out.bytes.reserve(kSize);
    uint32_t version = kVersion;
    Transfer(out, version, blocks);
    std::array<uint8_t, kSize> file{};
    std::copy(out.bytes.begin(), out.bytes.end(), file.begin());
    return file;
}

bool ConfigFile::Decode(const uint8_t* data, size_t size, ConfigBlocks& blocks) {
    if (size != kSize) {
        return false;
    }
    ByteReader in(data, size);
    uint32_t version = 0;
    ConfigBlocks read;
    Transfer(in, version, read);
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
