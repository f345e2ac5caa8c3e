#pragma once

#include <cstddef>
#include <cstdint>

namespace mareldon {

// JVS framing, shared by the host and the simulated board.
//
// On the wire: E0 | address | length N | data[N-1] | sum, sum = address + N +
// data, modulo 256, over the unescaped values. After the sync byte every E0 or
// D0 goes out as D0, value-1 (the address is never one of them). Any E0 starts
// a new frame.
constexpr uint8_t kJvsSync = 0xE0;
constexpr uint8_t kJvsEscape = 0xD0;
constexpr uint8_t kJvsBroadcast = 0xFF;
// Data bytes one frame can carry (the length byte counts them plus the sum).
constexpr int kJvsMaxData = 253;
// Worst case of an encoded frame: sync, address, then length, data and sum all escaped.
constexpr int kJvsMaxWire = 2 + 2 * (kJvsMaxData + 2);

// Writes the frame into out (at least 2 + 2 * (length + 2) bytes) and returns its
// wire size, or 0 when length is above kJvsMaxData.
int EncodeJvsFrame(uint8_t address, const uint8_t* data, int length, uint8_t* out);

// Byte-by-byte receive state machine.
class JvsFrameDecoder {
  public:
    enum class Event { None, Frame, BadSum, BadLength };

    // listenAddress < 0 takes frames for every address; otherwise frames for
    // other addresses are skipped up to the next sync byte.
    explicit JvsFrameDecoder(int listenAddress = -1) : listen_(listenAddress) {}

    Event Feed(uint8_t byte);
    void Reset();

    // The last complete (or rejected) frame.
    uint8_t Address() const { return address_; }
    const uint8_t* Data() const { return data_; }
    int Size() const { return stored_; }

  private:
    enum class Expect { Nothing, Address, Length, Data };
    int listen_;
    Expect expect_ = Expect::Nothing;
    bool escaped_ = false;
    uint8_t address_ = 0;
    uint8_t sum_ = 0;
    int remaining_ = 0;
    int stored_ = 0;
    uint8_t data_[256] = {};
};

}  // namespace mareldon
