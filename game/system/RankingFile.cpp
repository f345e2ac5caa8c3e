#include "game/system/RankingFile.h"

#include <cstring>

#include "game/system/ByteReader.h"

namespace mareldon {

namespace {

void WriteRecord(ByteWriter& out, const PlayerRecord& record) {
    out.U64(record.score);
    out.I32(record.multiplier);
    out.I32(record.chain);
    out.I32(record.shipStock);
    out.I32(record.bombStock);
    out.I32(record.continueCount);
    out.I32(record.stage);
    const uint32_t length = record.name.Length();
    out.U32(length + 1);
    out.Bytes(record.name.Text(), length);
    out.U8(0);
    out.I32(record.shipType);
    out.I32(record.powerLevel);
}

bool ReadRecord(ByteReader& in, PlayerRecord& record) {
    in.U64(record.score);
    in.I32(record.multiplier);
    in.I32(record.chain);
    in.I32(record.shipStock);
    in.I32(record.bombStock);
    in.I32(record.continueCount);
    in.I32(record.stage);
    uint32_t stored = 0;
    if (!in.U32(stored) || stored < 1 || stored > RankingFile::kMaxStoredNameLength) {
        return false;
    }
    const uint8_t* name = in.Bytes(stored);
    if (name == nullptr) {
        return false;
    }
    // The name ends at the first zero byte, or fills the whole field.
    char text[RankingFile::kMaxStoredNameLength + 1];
    std::memcpy(text, name, stored);
    text[stored] = '\0';
    record.name = text;
    in.I32(record.shipType);
    in.I32(record.powerLevel);
    return in.Ok();
}

}  // namespace

std::vector<uint8_t> RankingFile::Encode(const Rankings& rankings) {
    std::vector<uint8_t> bytes;
    bytes.reserve(3 * kRankingSize * 48);
    ByteWriter out(bytes);
    for (const PlayerRecord& record : rankings.single) {
        WriteRecord(out, record);
    }
    for (const PairRankingEntry& pair : rankings.pairs) {
        WriteRecord(out, pair.first);
        WriteRecord(out, pair.second);
    }
    return bytes;
}

bool RankingFile::Decode(const uint8_t* data, size_t size, Rankings& rankings) {
    ByteReader in(data, size);
    Rankings read = rankings;
    for (PlayerRecord& record : read.single) {
        if (!ReadRecord(in, record)) {
            return false;
        }
    }
    for (PairRankingEntry& pair : read.pairs) {
        if (!ReadRecord(in, pair.first) || !ReadRecord(in, pair.second)) {
            return false;
        }
    }
    rankings = std::move(read);
    return true;
}

}  // namespace mareldon
