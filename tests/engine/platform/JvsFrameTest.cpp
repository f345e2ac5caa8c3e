#include "engine/platform/JvsFrame.h"

#include <gtest/gtest.h>

#include <vector>

namespace mareldon {
namespace {

std::vector<uint8_t> Encode(uint8_t address, std::vector<uint8_t> data) {
    std::vector<uint8_t> out(kJvsMaxWire);
    out.resize(
        static_cast<size_t>(EncodeJvsFrame(address, data.data(), static_cast<int>(data.size()), out.data())));
    return out;
}

TEST(JvsFrameTest, EncodesKnownFramesAndEscapes) {
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ(Encode(0xFF, {0xF0, 0xD9}), (Bytes{0xE0, 0xFF, 0x03, 0xF0, 0xD9, 0xCB}));
    EXPECT_EQ(Encode(0xFF, {0xF1, 0x01}), (Bytes{0xE0, 0xFF, 0x03, 0xF1, 0x01, 0xF4}));
    EXPECT_EQ(Encode(0x01, {0x10}), (Bytes{0xE0, 0x01, 0x02, 0x10, 0x13}));
    // E0 and D0 in the data go out as D0, value-1; so does a sum of D0.
    EXPECT_EQ(Encode(0x01, {0xE0}), (Bytes{0xE0, 0x01, 0x02, 0xD0, 0xDF, 0xE3}));
    EXPECT_EQ(Encode(0x01, {0xD0}), (Bytes{0xE0, 0x01, 0x02, 0xD0, 0xCF, 0xD3}));
    EXPECT_EQ(Encode(0x01, {0xCD}), (Bytes{0xE0, 0x01, 0x02, 0xCD, 0xD0, 0xCF}));
    std::vector<uint8_t> big(kJvsMaxData + 1, 0x11);
    uint8_t out[kJvsMaxWire + 4];
    EXPECT_EQ(EncodeJvsFrame(1, big.data(), kJvsMaxData + 1, out), 0);
    EXPECT_GT(EncodeJvsFrame(1, big.data(), kJvsMaxData, out), 0);
}

struct Fed {
    std::vector<JvsFrameDecoder::Event> events;
    std::vector<uint8_t> data;
};

Fed Feed(JvsFrameDecoder& decoder, const std::vector<uint8_t>& wire) {
    Fed fed;
    for (uint8_t byte : wire) {
        const auto event = decoder.Feed(byte);
        if (event != JvsFrameDecoder::Event::None) {
            fed.events.push_back(event);
            if (event == JvsFrameDecoder::Event::Frame) {
                fed.data.assign(decoder.Data(), decoder.Data() + decoder.Size());
            }
        }
    }
    return fed;
}

TEST(JvsFrameTest, DecodesAcrossChunksAndUnescapes) {
    JvsFrameDecoder decoder(0);
    // A reply split over three reads, with an escaped E0 in its data.
    EXPECT_TRUE(Feed(decoder, {0xE0, 0x00}).events.empty());
    EXPECT_TRUE(Feed(decoder, {0x04, 0x01, 0x01}).events.empty());
    const Fed last = Feed(decoder, {0xD0, 0xDF, 0xE6});
    ASSERT_EQ(last.events.size(), 1u);
    EXPECT_EQ(last.events[0], JvsFrameDecoder::Event::Frame);
    EXPECT_EQ(last.data, (std::vector<uint8_t>{0x01, 0x01, 0xE0}));
}

TEST(JvsFrameTest, SkipsOtherAddressesAndRejectsDamage) {
    JvsFrameDecoder decoder(0);
    // A frame for node 1 in front of the host's reply is skipped entirely.
    Fed fed = Feed(decoder, {0xE0, 0x01, 0x03, 0x01, 0x01, 0x06, 0xE0, 0x00, 0x03, 0x01, 0x01, 0x05});
    ASSERT_EQ(fed.events.size(), 1u);
    EXPECT_EQ(fed.data, (std::vector<uint8_t>{0x01, 0x01}));

    fed = Feed(decoder, {0xE0, 0x00, 0x03, 0x01, 0x01, 0x07});
    EXPECT_EQ(fed.events, std::vector{JvsFrameDecoder::Event::BadSum});
    // Lengths 0 and 1 hold no status: damage, and nothing is stored up to the next sync.
    for (uint8_t length : {0x00, 0x01}) {
        std::vector<uint8_t> wire = {0xE0, 0x00, length};
        wire.insert(wire.end(), 600, 0x55);
        fed = Feed(decoder, wire);
        EXPECT_EQ(fed.events, std::vector{JvsFrameDecoder::Event::BadLength});
    }
    // The longest frame fits the buffer.
    std::vector<uint8_t> data(kJvsMaxData, 0x01);
    data.push_back(0x01);
    std::vector<uint8_t> wire(kJvsMaxWire + 8);
    wire.resize(
        static_cast<size_t>(EncodeJvsFrame(0, data.data(), static_cast<int>(data.size()) - 1, wire.data())));
    fed = Feed(decoder, wire);
    EXPECT_EQ(fed.events, std::vector{JvsFrameDecoder::Event::Frame});
    EXPECT_EQ(fed.data.size(), static_cast<size_t>(kJvsMaxData));
}

}  // namespace
}  // namespace mareldon
