#include "game/system/RankingFile.h"

#include <cstring>

#include "engine/core/ByteReader.h"
#include "engine/core/ByteWriter.h"

namespace mareldon {

namespace {

void TransferName(ByteWriter& out, const String& name) {
    out.U32(name.Length() + 1);
    out.Bytes(name.Text(), name.Length());
    out.U8(0);
}

void TransferName(ByteReader& in, String& name) {
    uint32_t stored = 0;
    if (!in.U32(stored) || stored < 1 || stored > RankingFile::kMaxStoredNameLength) {
        in.Fail();
        return;
    }
    const uint8_t* bytes = nullptr;
    if (!in.Bytes(stored, bytes)) {
        return;
    }
    // The name ends at the first zero byte, or fills the whole field.
    char text[RankingFile::kMaxStoredNameLength + 1];
    std::memcpy(text, bytes, stored);
    text[stored] = '\0';
    name = text;
}

// One record's layout, for writing (ByteWriter, const record) and reading.
template <typename Stream, typename Record>
void TransferRecord(Stream& io, Record& record) {
    io.U64(record.score);
    io.I32(record.multiplier);
    io.I32(record.chain);
    io.I32(record.shipStock);
    io.I32(record.bombStock);
    io.I32(record.continueCount);
    io.I32(record.stage);
    TransferName(io, record.name);
    io.I32(record.shipType);
    io.I32(record.powerLevel);
}

// The single ranking, best first, then each pair as its first and second record.
template <typename Stream, typename Tables>
bool TransferTables(Stream& io, Tables& rankings) {
    for (auto& record : rankings.single) {
        TransferRecord(io, record);
    }
    for (auto& pair : rankings.pairs) {
        TransferRecord(io, pair.first);
        TransferRecord(io, pair.second);
    }
    return io.Ok();
}

}  // namespace

std::vector<uint8_t> RankingFile::Encode(const Rankings& rankings) {
    ByteWriter out;
    out.bytes.reserve(3 * kRankingSize * 48);
    TransferTables(out, rankings);
    return std::move(out.bytes);
}

bool RankingFile::Decode(const uint8_t* data, size_t size, Rankings& rankings) {
    // Parsed into a copy, so a file that fails half-way changes nothing.
    ByteReader in(data, size);
    Rankings read = rankings;
    if (!TransferTables(in, read)) {
        return false;
    }
    rankings = std::move(read);
    return true;
}

}  // namespace mareldon
