#include "engine/platform/JvsFrame.h"

namespace mareldon {

namespace {

int PutEscaped(uint8_t value, uint8_t* out) {
    if (value == kJvsSync || value == kJvsEscape) {
        out[0] = kJvsEscape;
        out[1] = static_cast<uint8_t>(value - 1);
        return 2;
    }
    out[0] = value;
    return 1;
}

}  // namespace

int EncodeJvsFrame(uint8_t address, const uint8_t* data, int length, uint8_t* out) {
    if (length < 0 || length > kJvsMaxData) {
        return 0;
    }
    const uint8_t n = static_cast<uint8_t>(length + 1);
    uint8_t sum = static_cast<uint8_t>(address + n);
    int at = 0;
    out[at++] = kJvsSync;
    out[at++] = address;
    at += PutEscaped(n, out + at);
    for (int i = 0; i < length; ++i) {
        sum = static_cast<uint8_t>(sum + data[i]);
        at += PutEscaped(data[i], out + at);
    }
    at += PutEscaped(sum, out + at);
    return at;
}

void JvsFrameDecoder::Reset() {
    expect_ = Expect::Nothing;
    escaped_ = false;
    remaining_ = 0;
    stored_ = 0;
}

JvsFrameDecoder::Event JvsFrameDecoder::Feed(uint8_t byte) {
    if (byte == kJvsSync) {
        expect_ = Expect::Address;
        escaped_ = false;
        return Event::None;
    }
    if (byte == kJvsEscape) {
        escaped_ = true;
        return Event::None;
    }
    if (escaped_) {
        byte = static_cast<uint8_t>(byte + 1);
        escaped_ = false;
    }
    switch (expect_) {
        case Expect::Nothing:
            return Event::None;
        case Expect::Address:
            address_ = byte;
            stored_ = 0;
            expect_ = (listen_ < 0 || byte == listen_) ? Expect::Length : Expect::Nothing;
            return Event::None;
        case Expect::Length:
            // A frame holds at least the sum and one data byte; anything shorter is
            // damage, and must not leave the counter running past the buffer.
            if (byte < 2) {
                expect_ = Expect::Nothing;
                return Event::BadLength;
            }
            remaining_ = byte;
            sum_ = static_cast<uint8_t>(address_ + byte);
            expect_ = Expect::Data;
            return Event::None;
        case Expect::Data:
            if (--remaining_ > 0) {
                data_[stored_++] = byte;
                sum_ = static_cast<uint8_t>(sum_ + byte);
                return Event::None;
            }
            expect_ = Expect::Nothing;
            return byte == sum_ ? Event::Frame : Event::BadSum;
    }
    return Event::None;
}

}  // namespace mareldon
