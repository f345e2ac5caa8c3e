#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "engine/platform/JvsFrame.h"
#include "engine/platform/JvsSwitchSource.h"

namespace mareldon {

// What one simulated node is.
struct JvsNodeConfig {
    std::string identity = "MARELDON;Simulated I/O;Ver1.00;JPN,2P";
    uint8_t commandRevision = 0x13;
    uint8_t jvsRevision = 0x30;
    uint8_t commVersion = 0x10;
    int players = 2;
    int switches = 13;
    int coinSlots = 2;
    // End the feature list with four zero bytes instead of the usual single one.
    bool longFeatureEnd = false;
    // When not empty, the feature reply data as it stands (players, switches and
    // coin slots above still shape the switch and coin replies).
    std::vector<uint8_t> features;
};

// Scripted misbehaviour. Counters apply to that many of the next replies.
struct JvsBoardFaults {
    int dropReplies = 0;    // keep quiet; the reply is still kept for a 2F request
    bool silent = false;    // never answer anything
    int corruptSums = 0;    // send the reply with a wrong sum
    int statusReplies = 0;  // answer with this status and no reports instead
    uint8_t status = 2;     //   (status 3 leaves the command undone, as a board would)
    int failReports = 0;    // report 2 (not done) for sub-packets of this command
    uint8_t failCommand = 0;
    int splitReplies = 0;       // deliver each reply in this many pieces
    bool echo = false;          // send the host's frames back, as a half-duplex adapter may
    int lengthZeroReplies = 0;  // send a frame with length byte 0 instead of the reply
    int lateReplies = 0;        // hold the reply back until the host writes again
};

// Switches held for a count of the node's switch reads (one a host input cycle)
// rather than for a time: player -1 is the TEST switch. Reads count from 1.
struct JvsSwitchHold {
    int node = 0;
    int player = 0;
    uint16_t mask = 0;
    int cycles = 0;
    int from = 0;   // the read asked for; 0: the next
    int first = 0;  // the first read that carries it; 0 until it starts
};

// A chain of JVS I/O nodes plus the event-report device at address 0, as the
// host sees them through the wire: it parses the host's bytes and produces the
// reply bytes. Thread-safe: the host side and a script may call it concurrently.
class JvsBoard {
  public:
    explicit JvsBoard(std::vector<JvsNodeConfig> nodes = {JvsNodeConfig{}}, bool eventDevice = true);

    // Bytes from the host. Replies become readable through TakeReply.
    void HostWrite(const uint8_t* data, int length);
    // The next piece of reply bytes (a split reply comes in several pieces); the
    // size, 0 when nothing waits.
    int TakeReply(uint8_t* out, int max);
    // Size of the piece TakeReply would give now.
    int ReadyReplyBytes() const;
    // 1 when every node has an address, else 0.
    int Sense() const;

    // Scripted controls of node n (0 = the first in the chain). Each is false,
    // and changes nothing, for a node, player or coin slot the board lacks.
    bool SetSwitches(int node, int player, uint16_t switches);
    bool SetTest(int node, bool on);
    // Holds `mask` (over the switches set) in `cycles` replies to the node's
    // switch reads, from read `from` on (0, or a read already past: the next).
    // Player -1 holds the TEST switch.
    bool HoldSwitches(int node, int player, uint16_t mask, int cycles, int from = 0);
    // The node's switch reads so far, or -1 when the board lacks the node.
    int SwitchReads(int node) const;
    // The holds whose last read has gone out since the last call, in order.
    std::vector<JvsSwitchHold> TakeEndedHolds();
    bool AddCoins(int node, int slot, int count);
    bool SetCoinCondition(int node, int slot, uint16_t condition);  // kJvsCoinJam = jam
    // The slot's coin counter, or -1 when the board has no such slot.
    int Coins(int node, int slot) const;
    // Takes every node's address away, as a node losing power would (sense 0).
    void DropAddresses();
    void SetFaults(const JvsBoardFaults& faults);
    // The faults with what is left of their counters.
    JvsBoardFaults Faults() const;
    void SetSwitchSource(JvsSwitchSource* source);

    // Every complete host frame as it came over the wire (escaped), in order.
    std::vector<std::vector<uint8_t>> HostFrames() const;
    void ClearHostFrames();
    // Whether HostFrames keeps the frames (it does from the start). A board that
    // nobody reads them from turns it off: the host polls it all day.
    void KeepHostFrames(bool keep);

  private:
    struct Node {
        JvsNodeConfig config;
        int address = 0;
        uint8_t system = 0;
        uint16_t switches[2] = {};
        uint16_t coins[4] = {};
        uint16_t condition[4] = {};
        int switchReads = 0;
    };

    bool HasPlayer(int node, int player) const;
    bool HasSlot(int node, int slot) const;
    void HandleFrame(uint8_t address, const uint8_t* data, int size);
    bool AnswerNode(Node& node, const uint8_t* data, int size, std::vector<uint8_t>& reply);
    void AnswerEventDevice(const uint8_t* data, int size, std::vector<uint8_t>& reply);
    void SendReply(const std::vector<uint8_t>& payload);
    void Emit(const uint8_t* wire, int size);
    void SampleSource(Node& node);
    Node* NodeAt(uint8_t address);

    mutable std::mutex mutex_;
    std::vector<Node> nodes_;
    bool eventDevice_;
    JvsFrameDecoder decoder_;
    std::vector<uint8_t> rawFrame_;
    std::vector<std::vector<uint8_t>> hostFrames_;
    bool keepHostFrames_ = true;
    std::deque<std::vector<uint8_t>> out_;
    std::vector<uint8_t> lastReply_;
    std::vector<uint8_t> late_;
    JvsBoardFaults faults_;
    JvsSwitchSource* source_ = nullptr;
    std::vector<JvsSwitchHold> holds_;
    std::vector<JvsSwitchHold> endedHolds_;
};

}  // namespace mareldon
