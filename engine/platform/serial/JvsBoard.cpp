#include "engine/platform/serial/JvsBoard.h"

#include <algorithm>
#include <cstring>

#include "engine/platform/JvsProtocol.h"

namespace mareldon {

namespace {

// Argument bytes of the node commands this board knows; -1 for unknown ones.
int NodeArgumentCount(uint8_t command) {
    switch (command) {
        case kJvsReadIdentity:
        case kJvsCommandRevision:
        case kJvsJvsRevision:
        case kJvsCommVersion:
        case kJvsFeatureCheck:
            return 0;
        case kJvsReadSwitches:
            return 2;
        case kJvsReadCoins:
            return 1;
        case kJvsCoinDecrement:
            return 3;
        default:
            return -1;
    }
}

}  // namespace

JvsBoard::JvsBoard(std::vector<JvsNodeConfig> nodes, bool eventDevice) : eventDevice_(eventDevice) {
    for (auto& config : nodes) {
        Node node;
        node.config = std::move(config);
        node.config.players = std::clamp(node.config.players, 0, 2);
        node.config.coinSlots = std::clamp(node.config.coinSlots, 0, 4);
        nodes_.push_back(std::move(node));
    }
}

int JvsBoard::Sense() const {
    std::lock_guard lock(mutex_);
    for (const Node& node : nodes_) {
        if (node.address == 0) {
            return 0;
        }
    }
    return 1;
}

bool JvsBoard::HasPlayer(int node, int player) const {
    return node >= 0 && node < static_cast<int>(nodes_.size()) && player >= 0 &&
           player < std::min(nodes_[node].config.players, 2);
}

bool JvsBoard::HasSlot(int node, int slot) const {
    return node >= 0 && node < static_cast<int>(nodes_.size()) && slot >= 0 &&
           slot < std::min(nodes_[node].config.coinSlots, 4);
}

bool JvsBoard::SetSwitches(int node, int player, uint16_t switches) {
    std::lock_guard lock(mutex_);
    if (!HasPlayer(node, player)) {
        return false;
    }
    nodes_[node].switches[player] = switches;
    return true;
}

bool JvsBoard::HoldSwitches(int node, int player, uint16_t mask, int cycles, int from) {
    std::lock_guard lock(mutex_);
    const bool test = player == -1 && node >= 0 && node < static_cast<int>(nodes_.size());
    if ((!test && !HasPlayer(node, player)) || cycles <= 0 || from < 0) {
        return false;
    }
    holds_.push_back({node, player, mask, cycles, from, 0});
    return true;
}

int JvsBoard::SwitchReads(int node) const {
    std::lock_guard lock(mutex_);
    return node >= 0 && node < static_cast<int>(nodes_.size()) ? nodes_[node].switchReads : -1;
}

std::vector<JvsSwitchHold> JvsBoard::TakeEndedHolds() {
    std::lock_guard lock(mutex_);
    std::vector<JvsSwitchHold> ended;
    ended.swap(endedHolds_);
    return ended;
}

bool JvsBoard::SetTest(int node, bool on) {
    std::lock_guard lock(mutex_);
    if (node < 0 || node >= static_cast<int>(nodes_.size())) {
        return false;
    }
    nodes_[node].system = on ? kJvsSystemTest : 0x00;
    return true;
}

bool JvsBoard::AddCoins(int node, int slot, int count) {
    std::lock_guard lock(mutex_);
    if (!HasSlot(node, slot)) {
        return false;
    }
    uint16_t& coins = nodes_[node].coins[slot];
    coins = static_cast<uint16_t>(std::clamp(coins + count, 0, static_cast<int>(kJvsCoinCountMask)));
    return true;
}

bool JvsBoard::SetCoinCondition(int node, int slot, uint16_t condition) {
    std::lock_guard lock(mutex_);
    if (!HasSlot(node, slot)) {
        return false;
    }
    nodes_[node].condition[slot] = condition & kJvsCoinConditionMask;
    return true;
}

int JvsBoard::Coins(int node, int slot) const {
    std::lock_guard lock(mutex_);
    return HasSlot(node, slot) ? nodes_[node].coins[slot] : -1;
}

void JvsBoard::DropAddresses() {
    std::lock_guard lock(mutex_);
    for (Node& node : nodes_) {
        node.address = 0;
    }
}

void JvsBoard::SetFaults(const JvsBoardFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

JvsBoardFaults JvsBoard::Faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void JvsBoard::SetSwitchSource(JvsSwitchSource* source) {
    std::lock_guard lock(mutex_);
    source_ = source;
}

std::vector<std::vector<uint8_t>> JvsBoard::HostFrames() const {
    std::lock_guard lock(mutex_);
    return hostFrames_;
}

void JvsBoard::ClearHostFrames() {
    std::lock_guard lock(mutex_);
    hostFrames_.clear();
}

void JvsBoard::KeepHostFrames(bool keep) {
    std::lock_guard lock(mutex_);
    keepHostFrames_ = keep;
    if (!keep) {
        hostFrames_ = {};
    }
}

int JvsBoard::ReadyReplyBytes() const {
    std::lock_guard lock(mutex_);
    return out_.empty() ? 0 : static_cast<int>(out_.front().size());
}

int JvsBoard::TakeReply(uint8_t* out, int max) {
    std::lock_guard lock(mutex_);
    if (out_.empty() || max <= 0) {
        return 0;
    }
    std::vector<uint8_t>& piece = out_.front();
    const int size = std::min(max, static_cast<int>(piece.size()));
    std::memcpy(out, piece.data(), static_cast<size_t>(size));
    piece.erase(piece.begin(), piece.begin() + size);
    if (piece.empty()) {
        out_.pop_front();
    }
    return size;
}

void JvsBoard::HostWrite(const uint8_t* data, int length) {
    std::lock_guard lock(mutex_);
    if (!late_.empty()) {
        out_.push_back(std::move(late_));
        late_.clear();
    }
    for (int i = 0; i < length; ++i) {
        const uint8_t byte = data[i];
        if (byte == kJvsSync) {
            rawFrame_.clear();
        }
        rawFrame_.push_back(byte);
        const JvsFrameDecoder::Event event = decoder_.Feed(byte);
        if (event == JvsFrameDecoder::Event::None) {
            continue;
        }
        if (keepHostFrames_) {
            hostFrames_.push_back(rawFrame_);
        }
        if (faults_.echo) {
            out_.push_back(rawFrame_);
        }
        if (event == JvsFrameDecoder::Event::Frame) {
            HandleFrame(decoder_.Address(), decoder_.Data(), decoder_.Size());
        } else if (event == JvsFrameDecoder::Event::BadSum) {
            // A node that sees its own frame damaged asks for it again.
            const uint8_t address = decoder_.Address();
            if (NodeAt(address) != nullptr || (address == 0 && eventDevice_)) {
                SendReply({kJvsStatusSumError});
            }
        }
    }
}

JvsBoard::Node* JvsBoard::NodeAt(uint8_t address) {
    if (address == 0) {
        return nullptr;
    }
    for (Node& node : nodes_) {
        if (node.address == address) {
            return &node;
        }
    }
    return nullptr;
}

void JvsBoard::HandleFrame(uint8_t address, const uint8_t* data, int size) {
    if (address == kJvsBroadcast) {
        if (size >= 2 && data[0] == kJvsReset && data[1] == kJvsResetCheck) {
            for (Node& node : nodes_) {
                node.address = 0;
            }
        } else if (size >= 2 && data[0] == kJvsSetAddress) {
            // The first node still without an address takes it; the sense line
            // changes before the reply, since the host reads it right after.
            for (Node& node : nodes_) {
                if (node.address == 0) {
                    node.address = data[1];
                    SendReply({kJvsStatusOk, kJvsReportOk});
                    break;
                }
            }
        }
        return;
    }
    if (faults_.silent) {
        return;
    }
    if (size >= 1 && data[0] == kJvsRetransmit &&
        (NodeAt(address) != nullptr || (address == 0 && eventDevice_))) {
        if (!lastReply_.empty()) {
            Emit(lastReply_.data(), static_cast<int>(lastReply_.size()));
        }
        return;
    }
    std::vector<uint8_t> reply;
    if (address == 0) {
        if (!eventDevice_) {
            return;
        }
        AnswerEventDevice(data, size, reply);
    } else {
        Node* node = NodeAt(address);
        if (node == nullptr) {
            return;
        }
        if (faults_.statusReplies > 0) {
            // A board that reports a status other than 1 has not carried anything out.
            --faults_.statusReplies;
            SendReply({faults_.status});
            return;
        }
        if (!AnswerNode(*node, data, size, reply)) {
            reply.assign(1, kJvsStatusUnsupported);
        }
    }
    SendReply(reply);
}

bool JvsBoard::AnswerNode(Node& node, const uint8_t* data, int size, std::vector<uint8_t>& reply) {
    reply.assign(1, kJvsStatusOk);
    int at = 0;
    while (at < size) {
        const uint8_t command = data[at];
        const int arguments = NodeArgumentCount(command);
        if (arguments < 0 || at + 1 + arguments > size) {
            return false;
        }
        const uint8_t* arg = data + at + 1;
        at += 1 + arguments;
        if (faults_.failReports > 0 && command == faults_.failCommand) {
            --faults_.failReports;
            reply.push_back(kJvsReportParameterError);
            continue;
        }
        switch (command) {
            case kJvsReadIdentity:
                reply.push_back(kJvsReportOk);
                reply.insert(reply.end(), node.config.identity.begin(), node.config.identity.end());
                reply.push_back(0);
                break;
            case kJvsCommandRevision:
                reply.insert(reply.end(), {kJvsReportOk, node.config.commandRevision});
                break;
            case kJvsJvsRevision:
                reply.insert(reply.end(), {kJvsReportOk, node.config.jvsRevision});
                break;
            case kJvsCommVersion:
                reply.insert(reply.end(), {kJvsReportOk, node.config.commVersion});
                break;
            case kJvsFeatureCheck: {
                reply.push_back(kJvsReportOk);
                if (!node.config.features.empty()) {
                    reply.insert(reply.end(), node.config.features.begin(), node.config.features.end());
                    break;
                }
                const uint8_t players = static_cast<uint8_t>(node.config.players);
                const uint8_t switches = static_cast<uint8_t>(node.config.switches);
                reply.insert(reply.end(), {kJvsFeatureSwitches, players, switches, 0x00});
                if (node.config.coinSlots > 0) {
                    reply.insert(reply.end(),
                                 {kJvsFeatureCoins, static_cast<uint8_t>(node.config.coinSlots), 0x00, 0x00});
                }
                if (node.config.longFeatureEnd) {
                    reply.insert(reply.end(), {kJvsFeatureEnd, 0x00, 0x00, 0x00});
                } else {
                    reply.push_back(kJvsFeatureEnd);
                }
                break;
            }
            case kJvsReadSwitches: {
                SampleSource(node);
                const int read = ++node.switchReads;
                const int index = static_cast<int>(&node - nodes_.data());
                uint16_t held[2] = {};
                bool testHeld = false;
                for (JvsSwitchHold& hold : holds_) {
                    if (hold.node != index) {
                        continue;
                    }
                    if (hold.first == 0 && hold.from <= read) {
                        hold.first = read;  // from 0 or from a read gone by: now
                    }
                    if (hold.first != 0 && read < hold.first + hold.cycles) {
                        if (hold.player < 0) {
                            testHeld = true;
                        } else {
                            held[hold.player] = static_cast<uint16_t>(held[hold.player] | hold.mask);
                        }
                    }
                }
                for (auto hold = holds_.begin(); hold != holds_.end();) {
                    if (hold->node == index && hold->first != 0 && hold->first + hold->cycles - 1 <= read) {
                        endedHolds_.push_back(*hold);
                        hold = holds_.erase(hold);
                    } else {
                        ++hold;
                    }
                }
                reply.push_back(kJvsReportOk);
                reply.push_back(static_cast<uint8_t>(node.system | (testHeld ? kJvsSystemTest : 0)));
                for (int player = 0; player < arg[0]; ++player) {
                    const uint16_t bits =
                        player < 2 ? static_cast<uint16_t>(node.switches[player] | held[player]) : 0;
                    for (int byte = 0; byte < arg[1]; ++byte) {
                        uint8_t value = 0;
                        for (int k = 0; k < 8; ++k) {
                            const int index = byte * 8 + k;
                            if (index < node.config.switches && index < 16 && (bits & (1u << index)) != 0) {
                                value = static_cast<uint8_t>(value | (0x80 >> k));
                            }
                        }
                        reply.push_back(value);
                    }
                }
                break;
            }
            case kJvsReadCoins:
                reply.push_back(kJvsReportOk);
                for (int slot = 0; slot < arg[0]; ++slot) {
                    uint16_t word = 0;
                    if (slot < node.config.coinSlots) {
                        word = static_cast<uint16_t>(node.condition[slot] |
                                                     (node.coins[slot] & kJvsCoinCountMask));
                    }
                    reply.insert(reply.end(), {static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word)});
                }
                break;
            case kJvsCoinDecrement: {
                const int slot = arg[0] - 1;
                if (slot < 0 || slot >= node.config.coinSlots) {
                    reply.push_back(kJvsReportParameterError);
                    break;
                }
                const int amount = arg[1] * 256 + arg[2];
                node.coins[slot] =
                    static_cast<uint16_t>(node.coins[slot] - std::min<int>(amount, node.coins[slot]));
                reply.push_back(kJvsReportOk);
                break;
            }
        }
    }
    return true;
}

void JvsBoard::AnswerEventDevice(const uint8_t* data, int size, std::vector<uint8_t>& reply) {
    reply.assign(1, kJvsStatusOk);
    int at = 0;
    while (at < size) {
        const uint8_t command = data[at];
        at += 1 + JvsEventArgumentBytes(command);
        if (at > size || command > kJvsEventLastCommand) {
            reply.assign(1, kJvsStatusUnsupported);
            return;
        }
        reply.push_back(kJvsReportOk);
        reply.insert(reply.end(), static_cast<size_t>(JvsEventReplyBytes(command)), 0);
    }
}

void JvsBoard::SampleSource(Node& node) {
    if (source_ == nullptr || &node != &nodes_.front()) {
        return;
    }
    JvsSwitchSample sample;
    source_->Sample(sample);
    node.system = sample.test ? kJvsSystemTest : 0x00;
    for (int i = 0; i < 2; ++i) {
        node.switches[i] = sample.players[i];
        node.coins[i] =
            static_cast<uint16_t>(std::min<int>(node.coins[i] + sample.coins[i], kJvsCoinCountMask));
    }
}

void JvsBoard::SendReply(const std::vector<uint8_t>& payload) {
    uint8_t wire[kJvsMaxWire];
    const int size = EncodeJvsFrame(0, payload.data(), static_cast<int>(payload.size()), wire);
    lastReply_.assign(wire, wire + size);
    Emit(wire, size);
}

void JvsBoard::Emit(const uint8_t* wire, int size) {
    if (faults_.silent) {
        return;
    }
    if (faults_.dropReplies > 0) {
        --faults_.dropReplies;
        return;
    }
    if (faults_.lateReplies > 0) {
        --faults_.lateReplies;
        late_.assign(wire, wire + size);
        return;
    }
    if (faults_.lengthZeroReplies > 0) {
        --faults_.lengthZeroReplies;
        out_.push_back({kJvsSync, 0x00, 0x00, 0x01, 0x01, 0x01, 0x01});
        return;
    }
    std::vector<uint8_t> bytes(wire, wire + size);
    if (faults_.corruptSums > 0) {
        --faults_.corruptSums;
        uint8_t& last = bytes.back();
        last = static_cast<uint8_t>(last + 1);
        if (last == kJvsSync || last == kJvsEscape) {
            last = static_cast<uint8_t>(last + 1);
        }
    }
    const int pieces = std::max(1, faults_.splitReplies);
    const int step = (size + pieces - 1) / pieces;
    for (int at = 0; at < size; at += step) {
        out_.emplace_back(bytes.begin() + at, bytes.begin() + std::min(size, at + step));
    }
}

}  // namespace mareldon
