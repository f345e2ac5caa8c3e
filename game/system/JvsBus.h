#pragma once

#include <cstdint>

#include "engine/platform/SerialLink.h"

namespace mareldon {

enum JvsBusState : int {
    kJvsClosed = -1,
    kJvsStarting = 0,
    kJvsReady = 1,
    kJvsSending = 2,
    kJvsAwaitingReply = 3,
    kJvsAddressesExhausted = -2,
    kJvsError = -3,
};

struct JvsFeature {
    uint8_t code;
    uint8_t param1;
    uint8_t param2;
    uint8_t param3;
};

// One node as identification found it.
struct JvsNodeInfo {
    char identity[256];
    uint8_t commandRevision;
    uint8_t jvsRevision;
    uint8_t commVersion;
    JvsFeature features[32];  // by feature code; entry 0 stays zero
};

struct JvsSendQueue {
    uint8_t data[256];
    uint8_t start[256];  // start[i]: offset of sub-packet i; start[count]: end of data
    int count;
};

// Called on the bus thread for every queued sub-packet of a good reply, with the
// reply bytes from that sub-packet's report byte to the reply's end. Returns the
// bytes consumed, or a negative value to stop the walk.
using JvsReplyCallback = int (*)(int address, const uint8_t* request, int requestLength, const uint8_t* reply,
                                 int replyLength);

// The lower half of the I/O library: the send queues, the framing and the bus
// thread (one link per process).
//
// Hand-over: the game touches the queues and the node records only while the
// state is 1. Wake moves the state from 1 to 2 before it lets the thread run,
// so no waiter sees "ready" for a cycle that has not run yet, and no wake is
// lost between the thread's "ready" and its wait.
namespace JvsBus {

constexpr int kQueueCount = 33;
constexpr int kBroadcastQueue = 32;

// Opens the port through `open` and starts the bus thread; 1, or 0 when the
// port does not open or a bus runs already.
int Start(const char* portName, const SerialLinkOpener& open, JvsReplyCallback callback);
int Stop();
int Wake();
int GetState();
int GetNodeCount();
const JvsNodeInfo* GetNodeInfo(int address);
int QueuePacket(int address, const uint8_t* bytes, int length);
const uint8_t* GetSubPacket(int address, int index);
void ClearQueues();
int SendFrame(int address);
// out holds at least 254 bytes. Byte count (status included) or -1.
int ReceiveFrame(uint8_t* out);

// Waits until the state is 1 (ready) or negative (closed, failed), or until
// timeoutMs have passed on the process clock; the state found. Returns at once
// when no bus thread runs. Called from the thread that starts and stops the bus.
int WaitIdle(uint32_t timeoutMs);

// The pause after each bus reset (1000 ms); tests shorten it.
void SetResetDelay(uint32_t ms);

// Tests on a virtual clock: Wake returns only once the cycle it started has
// ended, so no step of the test depends on how fast the bus thread runs.
void SetWaitForCycles(bool on);

}  // namespace JvsBus

}  // namespace mareldon
