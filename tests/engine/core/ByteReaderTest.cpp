#include "engine/core/ByteReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/ByteWriter.h"

namespace mareldon {
namespace {

struct ReadCase {
    std::string name;
    std::vector<uint8_t> bytes;
    // Runs the reads; true when every value read is the one expected.
    std::function<bool(ByteReader&)> read;
    bool ok;
    size_t position;
};

TEST(ByteReaderTest, ReadsLittleEndianAndFailsForGoodOnTheFirstShortRead) {
    const std::vector<ReadCase> cases = {
        {"u32 low byte first",
         {1, 2, 3, 4},
         [](ByteReader& in) {
             uint32_t v = 0;
             return in.U32(v) && v == 0x04030201u && in.Remaining() == 0;
         },
         true,
         4},
        {"u64 low word first",
         {1, 2, 3, 4, 5, 6, 7, 8},
         [](ByteReader& in) {
             uint64_t v = 0;
             return in.U64(v) && v == 0x0807060504030201ull;
         },
         true,
         8},
        {"i32 and f32 keep their bits",
         {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F},
         [](ByteReader& in) {
             int32_t i = 0;
             float f = 0;
             return in.I32(i) && i == -1 && in.F32(f) && f == 1.0f;
         },
         true,
         8},
        {"short u32 leaves the target and fails",
         {1, 2, 3},
         [](ByteReader& in) {
             uint32_t v = 7;
             return !in.U32(v) && v == 7 && in.Remaining() == 0;
         },
         false,
         0},
        {"short u64 takes no half",
         {1, 2, 3, 4, 5, 6, 7},
         [](ByteReader& in) {
             uint64_t v = 7;
             return !in.U64(v) && v == 7;
         },
         false,
         0},
        {"a failed read fails every later one",
         {1, 2, 3, 4, 5},
         [](ByteReader& in) {
             uint32_t v = 0;
             uint8_t b = 0;
             const uint8_t* p = nullptr;
             return !in.Skip(6) && !in.U8(b) && !in.Bytes(0, p) && !in.U32(v);
         },
         false,
         0},
        {"zero bytes at the end",
         {1},
         [](ByteReader& in) {
             const uint8_t* p = nullptr;
             return in.Skip(1) && in.Bytes(0, p) && in.Remaining() == 0;
         },
         true,
         1},
        {"count of 0 or less is none",
         {0xFE, 0xFF, 0xFF, 0xFF},
         [](ByteReader& in) {
             size_t n = 9;
             return in.Count(4, n) && n == 0;
         },
         true,
         4},
        {"count that cannot fit fails",
         {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8},
         [](ByteReader& in) {
             size_t n = 0;
             return !in.Count(4, n);
         },
         false,
         4},
        {"c string moves past its 0",
         {'a', 'b', 0, 'c'},
         [](ByteReader& in) {
             std::string_view s;
             return in.CString(s) && s == "ab" && in.Remaining() == 1;
         },
         true,
         3},
        {"c string without a 0 inside the limit fails",
         {'a', 'b', 0},
         [](ByteReader& in) {
             std::string_view s;
             return !in.CString(2, s);
         },
         false,
         0},
        {"align moves to the next multiple of 4 from the base",
         {1, 2, 3, 4, 5, 6},
         [](ByteReader& in) { return in.Skip(3) && in.AlignTo4(1) && in.Position() == 5 && in.AlignTo4(1); },
         true,
         5},
        {"align before its base fails",
         {1, 2, 3, 4},
         [](ByteReader& in) { return !in.AlignTo4(1); },
         false,
         0},
        {"align past the end fails",
         {1, 2, 3},
         [](ByteReader& in) { return in.Skip(1) && !in.AlignTo4(0); },
         false,
         1},
    };
    for (const ReadCase& c : cases) {
        ByteReader in(c.bytes.data(), c.bytes.size());
        EXPECT_TRUE(c.read(in)) << c.name;
        EXPECT_EQ(in.Ok(), c.ok) << c.name;
        EXPECT_EQ(in.Position(), c.position) << c.name;
        if (!c.ok) {
            EXPECT_EQ(in.Remaining(), 0u) << c.name;
        }
    }
}

TEST(ByteWriterTest, WritesWhatTheReaderReadsBack) {
    ByteWriter out;
    out.U8(0x11);
    out.U16(0x2233);
    out.U32(0x44556677);
    out.U64(0x8899AABBCCDDEEFFull);
    out.Pad4(0);
    out.Text("ab");
    out.Skip(1);
    EXPECT_EQ(out.bytes, (std::vector<uint8_t>{0x11, 0x33, 0x22, 0x77, 0x66, 0x55, 0x44, 0xFF, 0xEE, 0xDD,
                                               0xCC, 0xBB, 0xAA, 0x99, 0x88, 0, 'a', 'b', 0}));

    ByteReader in(out.bytes.data(), out.bytes.size());
    uint8_t b = 0;
    uint32_t word = 0;
    uint64_t wide = 0;
    std::string_view text;
    EXPECT_TRUE(in.U8(b) && in.Skip(2) && in.U32(word) && in.U64(wide) && in.AlignTo4(0) && in.CString(text));
    EXPECT_EQ(word, 0x44556677u);
    EXPECT_EQ(wide, 0x8899AABBCCDDEEFFull);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(in.Remaining(), 0u);
}

}  // namespace
}  // namespace mareldon
