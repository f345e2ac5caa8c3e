#include "game/system/JvsBus.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "engine/core/Clock.h"
#include "engine/core/Log.h"
#include "engine/platform/JvsFrame.h"
#include "engine/platform/JvsProtocol.h"
#include "game/system/SerialPort.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "jvs";
constexpr int kResetTries = 10;
constexpr int kMaxRetries = 5;
constexpr int kReadChunk = 516;
constexpr int kReceiveBuffer = 258;
// Bytes one receive may take in without a reply for the host before it counts a
// retry: far more than a reply plus a frame for a node, so only a line that
// babbles (noise, a stuck transmitter) reaches it, and the receive still ends.
constexpr int kNoiseLimit = 4 * kJvsMaxWire;
// Nodes take the addresses 1 to 31.
constexpr int kLastNodeAddress = 31;
// Longest slice of a long sleep, so Stop never waits for a whole reset pause.
constexpr uint32_t kSleepSliceMs = 10;

std::atomic<int> g_state{kJvsClosed};
std::atomic<bool> g_stop{true};
std::atomic<int> g_nextAddress{0};
std::atomic<uint32_t> g_resetDelay{1000};
std::atomic<bool> g_waitForCycles{false};
JvsReplyCallback g_callback = nullptr;
std::thread g_thread;

std::mutex g_stateMutex;
std::condition_variable g_stateChanged;
std::mutex g_wakeMutex;
std::condition_variable g_wakeSignal;
bool g_wakePending = false;

JvsNodeInfo g_nodes[32];
JvsSendQueue g_queues[JvsBus::kQueueCount];
uint8_t g_lastFrame[kJvsMaxWire];
int g_lastFrameLength = 0;
JvsFrameDecoder g_decoder(0);

// A program that ends without closing the link still ends its bus thread
// (a running std::thread would abort the exit).
struct StopAtExit {
    ~StopAtExit() {
        if (g_thread.joinable()) {
            JvsBus::Stop();
        }
    }
} g_stopAtExit;

int QueueIndex(int address) {
    return address > 32 || address < 0 ? JvsBus::kBroadcastQueue : address;
}

void SetState(int state) {
    {
        std::lock_guard lock(g_stateMutex);
        g_state.store(state, std::memory_order_release);
    }
    g_stateChanged.notify_all();
}

bool Stopping() {
    return g_stop.load(std::memory_order_acquire);
}

// Sleeps on the process clock; false when a stop came in meanwhile.
bool SleepUnlessStopped(uint32_t ms) {
    while (ms > 0 && !Stopping()) {
        const uint32_t slice = std::min(ms, kSleepSliceMs);
        GetClock().Sleep(slice);
        ms -= slice;
    }
    return !Stopping();
}

void Fail(int state, const char* why) {
    LOG_ERROR(kLog, "bus %s (state %d)", why, state);
    SetState(state);
}

// Sends the one-command (or two-byte) request and checks status 1, report 1.
int Exchange(int address, const uint8_t* request, int length, uint8_t* reply) {
    JvsBus::QueuePacket(address, nullptr, 0);
    JvsBus::QueuePacket(address, request, length);
    JvsBus::SendFrame(address);
    const int n = JvsBus::ReceiveFrame(reply);
    if (n < 2 || reply[0] != kJvsStatusOk || reply[1] != kJvsReportOk) {
        return -1;
    }
    return n;
}

void TryRaisePriority() {
    sched_param param{};
    param.sched_priority = std::min(sched_get_priority_max(SCHED_FIFO), 20);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);  // best effort
}

// Resets every node until the sense line says some node waits for an address;
// false when it never does (or a stop came in).
bool ResetBus() {
    static const uint8_t kResetFrame[] = {kJvsReset, kJvsResetCheck};
    for (int attempt = 0; attempt < kResetTries; ++attempt) {
        JvsBus::QueuePacket(kJvsBroadcast, nullptr, 0);
        JvsBus::QueuePacket(kJvsBroadcast, kResetFrame, 2);
        JvsBus::SendFrame(kJvsBroadcast);
        if (!SleepUnlessStopped(g_resetDelay.load())) {
            return false;
        }
        if (SerialPort::ReadSense() == 0) {
            return true;
        }
    }
    Fail(kJvsError, "reset: the sense line never went low");
    return false;
}

// Gives addresses from 1 up while a node is still without one; the first
// address not given, or 0 on failure.
int AssignAddresses() {
    uint8_t reply[kReceiveBuffer];
    int address = 1;
    while (SerialPort::ReadSense() == 0 && address <= kLastNodeAddress) {
        if (Stopping()) {
            return 0;
        }
        const uint8_t request[] = {kJvsSetAddress, static_cast<uint8_t>(address)};
        if (Exchange(kJvsBroadcast, request, 2, reply) < 0) {
            Fail(kJvsError, "set address: no good reply");
            return 0;
        }
        ++address;
    }
    if (address > kLastNodeAddress) {
        Fail(kJvsAddressesExhausted, "set address: ran out of addresses");
        return 0;
    }
    return address;
}

// Stores one identification reply (after its status and report bytes).
void StoreIdentification(JvsNodeInfo& info, uint8_t command, const uint8_t* data, int size) {
    switch (command) {
        case kJvsReadIdentity: {
            const int length = std::min(size, static_cast<int>(sizeof info.identity) - 1);
            std::memcpy(info.identity, data, static_cast<size_t>(length));
            info.identity[length] = '\0';
            break;
        }
        case kJvsCommandRevision:
            info.commandRevision = size > 0 ? data[0] : 0;
            break;
        case kJvsJvsRevision:
            info.jvsRevision = size > 0 ? data[0] : 0;
            break;
        case kJvsCommVersion:
            info.commVersion = size > 0 ? data[0] : 0;
            break;
        case kJvsFeatureCheck:
            std::memset(info.features, 0, sizeof info.features);
            // The list ends at code 0, which a node may send as one byte.
            for (int at = 0; at + 4 <= size && data[at] != kJvsFeatureEnd; at += 4) {
                if (data[at] < 32) {
                    info.features[data[at]] = {data[at], data[at + 1], data[at + 2], data[at + 3]};
                }
            }
            break;
    }
}

// Asks every node below endAddress who it is, command by command; false on
// failure (or a stop).
bool IdentifyNodes(int endAddress) {
    static const uint8_t kCommands[] = {kJvsReadIdentity, kJvsCommandRevision, kJvsJvsRevision,
                                        kJvsCommVersion, kJvsFeatureCheck};
    uint8_t reply[kReceiveBuffer];
    for (const uint8_t command : kCommands) {
        for (int node = 1; node < endAddress; ++node) {
            if (Stopping()) {
                return false;
            }
            const int n = Exchange(node, &command, 1, reply);
            if (n < 0) {
                Fail(kJvsError, "identification: no good reply");
                return false;
            }
            StoreIdentification(g_nodes[node], command, reply + 2, n - 2);
        }
    }
    return true;
}

// Hands a good reply's sub-packets to the callback, each from its report byte.
void WalkReply(int node, const uint8_t* reply, int n) {
    const JvsSendQueue& queue = g_queues[node];
    int at = 1;
    for (int i = 0; i < queue.count; ++i) {
        const int consumed = g_callback(node, queue.data + queue.start[i],
                                        queue.start[i + 1] - queue.start[i], reply + at, n - at);
        if (consumed < 0) {
            break;
        }
        at = std::min(n, at + consumed);
    }
}

// One cycle each time the game wakes the bus, until a stop or a failure.
void RunCycles(int endAddress) {
    uint8_t reply[kReceiveBuffer];
    while (!Stopping()) {
        SerialPort::SetRtsIdle(true);
        SetState(kJvsReady);
        {
            std::unique_lock lock(g_wakeMutex);
            g_wakeSignal.wait(lock, [] { return g_wakePending || Stopping(); });
            g_wakePending = false;
        }
        if (Stopping()) {
            return;
        }
        SerialPort::SetRtsIdle(false);
        if (SerialPort::ReadSense() == 0) {
            Fail(kJvsError, "a node lost its address");
            return;
        }
        SetState(kJvsSending);
        for (int node = 0; node < endAddress; ++node) {
            if (!JvsBus::SendFrame(node)) {
                continue;
            }
            SetState(kJvsAwaitingReply);
            const int n = JvsBus::ReceiveFrame(reply);
            if (n < 1 || reply[0] != kJvsStatusOk) {
                Fail(kJvsError, "cycle: no good reply");
                return;
            }
            if (g_callback != nullptr) {
                WalkReply(node, reply, n);
            }
        }
    }
}

void ThreadMain() {
    TryRaisePriority();
    g_nextAddress.store(0);
    JvsBus::ClearQueues();
    if (!ResetBus()) {
        return;
    }
    const int endAddress = AssignAddresses();
    if (endAddress == 0) {
        return;
    }
    g_nextAddress.store(endAddress);
    if (!IdentifyNodes(endAddress)) {
        return;
    }
    LOG_INFO(kLog, "bus ready with %d node(s)", endAddress - 1);
    RunCycles(endAddress);
}

}  // namespace

namespace JvsBus {

int Start(const char* portName, const SerialLinkOpener& open, JvsReplyCallback callback) {
    if (g_thread.joinable()) {
        return 0;
    }
    SetState(kJvsStarting);
    if (!SerialPort::Open(portName, open)) {
        return 0;
    }
    g_callback = callback;
    g_stop.store(false, std::memory_order_release);
    {
        std::lock_guard lock(g_wakeMutex);
        g_wakePending = false;
    }
    try {
        g_thread = std::thread(ThreadMain);
    } catch (const std::system_error& error) {
        LOG_ERROR(kLog, "cannot start the bus thread: %s", error.what());
        Stop();
        return 0;
    }
    return 1;
}

int Stop() {
    {
        std::lock_guard lock(g_wakeMutex);
        g_stop.store(true, std::memory_order_release);
    }
    g_wakeSignal.notify_all();
    if (g_thread.joinable()) {
        g_thread.join();
    }
    SerialPort::Close();
    SetState(kJvsClosed);
    return 1;
}

int Wake() {
    int expected = kJvsReady;
    if (!g_state.compare_exchange_strong(expected, kJvsSending, std::memory_order_acq_rel)) {
        return 0;
    }
    {
        std::lock_guard lock(g_wakeMutex);
        g_wakePending = true;
    }
    g_wakeSignal.notify_one();
    if (g_waitForCycles.load(std::memory_order_acquire)) {
        std::unique_lock lock(g_stateMutex);
        g_stateChanged.wait(lock, [] {
            const int state = g_state.load(std::memory_order_acquire);
            return state == kJvsReady || state < 0;
        });
    }
    return 1;
}

int GetState() {
    return g_state.load(std::memory_order_acquire);
}

int GetNodeCount() {
    return g_nextAddress.load(std::memory_order_acquire) - 1;
}

const JvsNodeInfo* GetNodeInfo(int address) {
    return address >= 0 && address < 32 ? &g_nodes[address] : nullptr;
}

int QueuePacket(int address, const uint8_t* bytes, int length) {
    JvsSendQueue& queue = g_queues[QueueIndex(address)];
    if (bytes == nullptr) {
        queue.count = 0;
        queue.start[0] = 0;
        return 1;
    }
    const int end = queue.start[queue.count];
    // An empty sub-packet would let the start table run past its end.
    if (length <= 0 || queue.count >= 255 || end + length >= 256) {
        return 0;
    }
    std::memcpy(queue.data + end, bytes, static_cast<size_t>(length));
    queue.start[queue.count + 1] = static_cast<uint8_t>(end + length);
    ++queue.count;
    return 1;
}

const uint8_t* GetSubPacket(int address, int index) {
    const JvsSendQueue& queue = g_queues[QueueIndex(address)];
    if (index < 0 || index >= queue.count) {
        return nullptr;
    }
    return queue.data + queue.start[index];
}

void ClearQueues() {
    for (int i = 0; i < kQueueCount; ++i) {
        QueuePacket(i, nullptr, 0);
    }
}

int SendFrame(int address) {
    const JvsSendQueue& queue = g_queues[QueueIndex(address)];
    if (queue.count == 0) {
        return 0;
    }
    const int length = queue.start[queue.count];
    if (length > kJvsMaxData) {
        return 0;
    }
    g_lastFrameLength = EncodeJvsFrame(static_cast<uint8_t>(address), queue.data, length, g_lastFrame);
    // A node slower than the read timeout answers both the frame and the
    // retransmit request; the copy left over would pass for the next reply.
    SerialPort::DiscardInput();
    SerialPort::Write(g_lastFrame, g_lastFrameLength);
    return 1;
}

int ReceiveFrame(uint8_t* out) {
    uint8_t chunk[kReadChunk];
    int tally = 0;
    int noise = 0;
    g_decoder.Reset();
    for (;;) {
        bool retransmit = false;
        const int n = SerialPort::Read(chunk, kReadChunk);
        if (n < 0) {
            LOG_ERROR(kLog, "receive: the line is gone");
            return -1;
        }
        if (n == 0) {
            ++tally;
            retransmit = true;
        }
        noise += n;
        if (noise > kNoiseLimit) {
            noise = 0;
            ++tally;
            retransmit = true;
        }
        for (int i = 0; i < n; ++i) {
            switch (g_decoder.Feed(chunk[i])) {
                case JvsFrameDecoder::Event::None:
                    break;
                case JvsFrameDecoder::Event::Frame: {
                    const int size = g_decoder.Size();
                    const uint8_t status = g_decoder.Data()[0];
                    if (status == kJvsStatusSumError) {
                        ++tally;
                        SerialPort::Write(g_lastFrame, g_lastFrameLength);
                        break;
                    }
                    if (status == 0 || status > kJvsStatusOverflow) {
                        LOG_WARN(kLog, "receive: reply status %d", status);
                        return -1;
                    }
                    std::memcpy(out, g_decoder.Data(), static_cast<size_t>(size));
                    return size;
                }
                case JvsFrameDecoder::Event::BadSum:
                case JvsFrameDecoder::Event::BadLength:
                    ++tally;
                    retransmit = true;
                    break;
            }
        }
        if (tally > kMaxRetries) {
            LOG_WARN(kLog, "receive: gave up after %d retries", tally - 1);
            return -1;
        }
        if (retransmit) {
            const uint8_t request = kJvsRetransmit;
            uint8_t frame[8];
            const int size = EncodeJvsFrame(g_lastFrame[1], &request, 1, frame);
            SerialPort::Write(frame, size);
        }
    }
}

int WaitIdle(uint32_t timeoutMs) {
    // Without a bus thread (the port would not open) nothing will change.
    if (!g_thread.joinable()) {
        return GetState();
    }
    const uint32_t start = TickCount();
    std::unique_lock lock(g_stateMutex);
    for (;;) {
        const int state = g_state.load(std::memory_order_acquire);
        if (state == kJvsReady || state < 0 || TickCount() - start >= timeoutMs) {
            return state;
        }
        g_stateChanged.wait_for(lock, std::chrono::milliseconds(1));
    }
}

void SetResetDelay(uint32_t ms) {
    g_resetDelay.store(ms);
}

void SetWaitForCycles(bool on) {
    g_waitForCycles.store(on, std::memory_order_release);
}

}  // namespace JvsBus

}  // namespace mareldon
