#include "engine/platform/helper/ShaderAssembler.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>

namespace mareldon {

namespace {

// Token layout: docs/shader-tokens.md.
constexpr uint32_t kVertexVersion11 = 0xFFFE0101u;
constexpr uint32_t kPixelVersion11 = 0xFFFF0101u;
constexpr uint32_t kEndToken = 0x0000FFFFu;
constexpr uint32_t kCommentOpcode = 0xFFFEu;
constexpr uint32_t kParameterBit = 0x80000000u;
constexpr uint32_t kCoIssueBit = 0x40000000u;
constexpr uint32_t kRelativeBit = 1u << 13;
constexpr uint32_t kSaturateBit = 1u << 20;
constexpr uint32_t kIdentitySwizzle = 0xE4u;
constexpr uint32_t kAllComponents = 0xFu;

enum RegisterType : uint32_t {
    kTemp = 0,
    kInput = 1,
    kConst = 2,
    kAddress = 3,  // a0 in vertex shaders
    kTexture = 3,  // tN in pixel shaders
    kRasterOut = 4,
    kColourOut = 5,
    kTexCoordOut = 6,
};

enum SourceModifier : uint32_t {
    kModNone = 0,
    kModNegate = 1,
    kModBias = 2,
    kModBiasNegate = 3,
    kModSign = 4,
    kModSignNegate = 5,
    kModComplement = 6,
};

enum class Stage { Vertex, Pixel };

enum class OpKind {
    Arithmetic,  // destination and sources
    TexAddress,  // ps texture instructions: a tN destination, no sources
    Define,      // def cN, four floats
    NoOperation,
    Unsupported,  // part of ps.1.1, but not something this engine renders
};

struct Opcode {
    const char* name;
    uint16_t code;
    uint8_t sources;
    bool vertex;
    bool pixel;
    OpKind kind;
    uint32_t matrixMask;  // the components m4x4 and friends write, 0 for other opcodes
};

constexpr Opcode kOpcodes[] = {
    {"nop", 0, 0, true, true, OpKind::NoOperation, 0},
    {"mov", 1, 1, true, true, OpKind::Arithmetic, 0},
    {"add", 2, 2, true, true, OpKind::Arithmetic, 0},
    {"sub", 3, 2, true, true, OpKind::Arithmetic, 0},
    {"mad", 4, 3, true, true, OpKind::Arithmetic, 0},
    {"mul", 5, 2, true, true, OpKind::Arithmetic, 0},
    {"rcp", 6, 1, true, false, OpKind::Arithmetic, 0},
    {"rsq", 7, 1, true, false, OpKind::Arithmetic, 0},
    {"dp3", 8, 2, true, true, OpKind::Arithmetic, 0},
    {"dp4", 9, 2, true, false, OpKind::Arithmetic, 0},
    {"min", 10, 2, true, false, OpKind::Arithmetic, 0},
    {"max", 11, 2, true, false, OpKind::Arithmetic, 0},
    {"slt", 12, 2, true, false, OpKind::Arithmetic, 0},
    {"sge", 13, 2, true, false, OpKind::Arithmetic, 0},
    {"exp", 14, 1, true, false, OpKind::Arithmetic, 0},
    {"log", 15, 1, true, false, OpKind::Arithmetic, 0},
    {"lit", 16, 1, true, false, OpKind::Arithmetic, 0},
    {"dst", 17, 2, true, false, OpKind::Arithmetic, 0},
    {"lrp", 18, 3, false, true, OpKind::Arithmetic, 0},
    {"frc", 19, 1, true, false, OpKind::Arithmetic, 0},
    {"m4x4", 20, 2, true, false, OpKind::Arithmetic, 0xF},
    {"m4x3", 21, 2, true, false, OpKind::Arithmetic, 0x7},
    {"m3x4", 22, 2, true, false, OpKind::Arithmetic, 0xF},
    {"m3x3", 23, 2, true, false, OpKind::Arithmetic, 0x7},
    {"m3x2", 24, 2, true, false, OpKind::Arithmetic, 0x3},
    {"texcoord", 64, 0, false, true, OpKind::TexAddress, 0},
    {"texkill", 65, 0, false, true, OpKind::TexAddress, 0},
    {"tex", 66, 0, false, true, OpKind::TexAddress, 0},
    {"texbem", 67, 0, false, true, OpKind::Unsupported, 0},
    {"texbeml", 68, 0, false, true, OpKind::Unsupported, 0},
    {"texreg2ar", 69, 0, false, true, OpKind::Unsupported, 0},
    {"texreg2gb", 70, 0, false, true, OpKind::Unsupported, 0},
    {"texm3x2pad", 71, 0, false, true, OpKind::Unsupported, 0},
    {"texm3x2tex", 72, 0, false, true, OpKind::Unsupported, 0},
    {"texm3x3pad", 73, 0, false, true, OpKind::Unsupported, 0},
    {"texm3x3tex", 74, 0, false, true, OpKind::Unsupported, 0},
    {"texm3x3spec", 76, 0, false, true, OpKind::Unsupported, 0},
    {"texm3x3vspec", 77, 0, false, true, OpKind::Unsupported, 0},
    {"expp", 78, 1, true, false, OpKind::Arithmetic, 0},
    {"logp", 79, 1, true, false, OpKind::Arithmetic, 0},
    {"cnd", 80, 3, false, true, OpKind::Arithmetic, 0},
    {"def", 81, 0, false, true, OpKind::Define, 0},
};

struct Register {
    uint32_t type = 0;
    uint32_t number = 0;
    bool relative = false;
    bool output = false;  // vs outputs are write-only
    bool address = false;
};

struct Source {
    Register reg;
    uint32_t swizzle = kIdentitySwizzle;
    uint32_t modifier = kModNone;
};

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Component index of a swizzle or mask letter, with the set it came from (0 xyzw, 1 rgba).
std::optional<std::pair<int, int>> ComponentOf(char c) {
    constexpr std::string_view kLetters = "xyzwrgba";
    const std::size_t i = kLetters.find(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (i == std::string_view::npos) {
        return std::nullopt;
    }
    return std::pair{static_cast<int>(i % 4), static_cast<int>(i / 4)};
}

class Assembler {
  public:
    Assembler(std::string_view text, const ShaderAssemblerOptions& options)
        : text_(text), options_(options) {}

    AssembledShader Run() {
        AssembledShader result;
        if (text_.size() > kMaxShaderTextBytes) {
            result.error = "shader text is longer than " + std::to_string(kMaxShaderTextBytes) + " bytes";
            return result;
        }
        std::size_t pos = 0;
        bool haveVersion = false;
        while (pos <= text_.size() && error_.empty()) {
            std::size_t end = text_.find('\n', pos);
            if (end == std::string_view::npos) {
                end = text_.size();
            }
            ++line_;
            std::string_view lineText = StripComment(text_.substr(pos, end - pos));
            pos = end + 1;
            if (lineText.empty()) {
                continue;
            }
            if (!haveVersion) {
                haveVersion = ParseVersion(lineText);
            } else {
                ParseInstruction(lineText);
            }
        }
        line_ = 0;
        if (error_.empty() && !haveVersion) {
            Fail("missing version line \"vs.1.1\" or \"ps.1.1\"");
        }
        if (error_.empty() && stage_ == Stage::Pixel && (writtenTemps_ & 1) == 0) {
            Fail("ps.1.1 never writes r0, the pixel colour");
        }
        if (!error_.empty()) {
            result.error = error_;
            return result;
        }
        code_.push_back(kEndToken);
        result.code = std::move(code_);
        return result;
    }

  private:
    bool Fail(const std::string& message) {
        if (error_.empty()) {
            error_ = line_ > 0 ? "line " + std::to_string(line_) + ": " + message : message;
        }
        return false;
    }

    // Quotes a piece of the offending text, cut short so a long line cannot flood the log.
    static std::string Quote(std::string_view s) {
        constexpr std::size_t kMax = 40;
        std::string out = "'";
        for (char c : s.substr(0, kMax)) {
            out += (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) ? '?' : c;
        }
        if (s.size() > kMax) {
            out += "...";
        }
        return out + "'";
    }

    static std::string_view StripComment(std::string_view lineText) {
        std::size_t cut = lineText.find("//");
        std::size_t semicolon = lineText.find(';');
        if (semicolon < cut) {
            cut = semicolon;
        }
        if (cut != std::string_view::npos) {
            lineText = lineText.substr(0, cut);
        }
        return Trim(lineText);
    }

    bool ParseVersion(std::string_view lineText) {
        if (EqualsIgnoreCase(lineText, "vs.1.1")) {
            stage_ = Stage::Vertex;
            code_.push_back(kVertexVersion11);
        } else if (EqualsIgnoreCase(lineText, "ps.1.1")) {
            stage_ = Stage::Pixel;
            code_.push_back(kPixelVersion11);
        } else if (StartsWithIgnoreCase(lineText, "vs") || StartsWithIgnoreCase(lineText, "ps")) {
            return Fail("unsupported shader version " + Quote(lineText) + " (only vs.1.1 and ps.1.1)");
        } else {
            return Fail("expected the version line \"vs.1.1\" or \"ps.1.1\", found " + Quote(lineText));
        }
        if (options_.constantTableRegisters > 0) {
            AppendConstantTable();
        }
        return true;
    }

    // A comment block in the layout translators know as "CTAB": one float4 array "c" over
    // c0..c(n-1). Offsets inside the table count from the first byte after the "CTAB" tag.
    void AppendConstantTable() {
        const uint32_t count = static_cast<uint32_t>(std::min(options_.constantTableRegisters, 256));
        std::vector<uint8_t> table;
        auto put16 = [&](uint32_t v) {
            table.push_back(static_cast<uint8_t>(v));
            table.push_back(static_cast<uint8_t>(v >> 8));
        };
        auto put32 = [&](uint32_t v) {
            put16(v & 0xFFFF);
            put16(v >> 16);
        };
        auto putString = [&](const char* s) {
            table.insert(table.end(), s, s + std::strlen(s) + 1);
            while (table.size() % 4 != 0) {
                table.push_back(0);
            }
        };
        constexpr uint32_t kHeaderSize = 28, kInfoOffset = 28, kTypeOffset = 48, kNameOffset = 64;
        constexpr uint32_t kCreatorOffset = 68, kTargetOffset = 80;
        const bool vertex = stage_ == Stage::Vertex;
        put32(kHeaderSize);
        put32(kCreatorOffset);
        put32(code_.front());  // shader version
        put32(1);              // one constant
        put32(kInfoOffset);
        put32(0);  // flags
        put32(kTargetOffset);
        // Constant info: name, register set FLOAT4 (2), first register 0, count, type, no default.
        put32(kNameOffset);
        put16(2);
        put16(0);
        put16(count);
        put16(0);
        put32(kTypeOffset);
        put32(0);
        // Type: vector class (1) of float (3), 1 row x 4 columns, count elements, no members.
        put16(1);
        put16(3);
        put16(1);
        put16(4);
        put16(count);
        put16(0);
        put32(0);
        putString("c");                           // at 64
        putString("mareldon");                    // at 68
        putString(vertex ? "vs_1_1" : "ps_1_1");  // at 80
        const uint32_t words = 1 + static_cast<uint32_t>(table.size() / 4);
        code_.push_back(kCommentOpcode | (words << 16));
        code_.push_back(0x42415443u);  // "CTAB"
        for (std::size_t i = 0; i < table.size(); i += 4) {
            code_.push_back(table[i] | (table[i + 1] << 8) | (table[i + 2] << 16) |
                            (static_cast<uint32_t>(table[i + 3]) << 24));
        }
    }

    static std::vector<std::string_view> SplitOperands(std::string_view s) {
        std::vector<std::string_view> out;
        std::size_t start = 0;
        while (true) {
            std::size_t comma = s.find(',', start);
            out.push_back(Trim(s.substr(start, comma == std::string_view::npos ? s.npos : comma - start)));
            if (comma == std::string_view::npos) {
                return out;
            }
            start = comma + 1;
        }
    }

    void ParseInstruction(std::string_view lineText) {
        if (++instructions_ > kMaxShaderInstructions) {
            Fail("more than " + std::to_string(kMaxShaderInstructions) + " instructions");
            return;
        }
        bool coIssue = false;
        if (lineText.front() == '+') {
            coIssue = true;
            lineText = Trim(lineText.substr(1));
        }
        std::size_t nameEnd = 0;
        while (nameEnd < lineText.size() &&
               (IsAlpha(lineText[nameEnd]) || IsDigit(lineText[nameEnd]) || lineText[nameEnd] == '_')) {
            ++nameEnd;
        }
        if (nameEnd == 0) {
            Fail("expected an instruction, found " + Quote(lineText));
            return;
        }
        if (nameEnd < lineText.size() && !IsBlank(lineText[nameEnd])) {
            Fail("unexpected character after the opcode in " + Quote(lineText));
            return;
        }
        std::string_view mnemonic = lineText.substr(0, nameEnd);
        std::string_view operandText = Trim(lineText.substr(nameEnd));
        std::string_view name = mnemonic.substr(0, mnemonic.find('_'));
        std::string_view modifiers =
            name.size() < mnemonic.size() ? mnemonic.substr(name.size()) : std::string_view();

        const Opcode* op = nullptr;
        for (const Opcode& candidate : kOpcodes) {
            if (EqualsIgnoreCase(name, candidate.name)) {
                op = &candidate;
                break;
            }
        }
        const bool pixel = stage_ == Stage::Pixel;
        const char* stageName = pixel ? "ps.1.1" : "vs.1.1";
        if (op == nullptr) {
            Fail("unknown opcode " + Quote(name));
            return;
        }
        if (pixel ? !op->pixel : !op->vertex) {
            Fail(Quote(name) + " is not a " + stageName + " instruction");
            return;
        }
        if (op->kind == OpKind::Unsupported) {
            Fail(Quote(name) + " is not supported");
            return;
        }

        uint32_t resultModifier = 0;
        uint32_t shift = 0;
        if (!ParseInstructionModifiers(modifiers, *op, resultModifier, shift)) {
            return;
        }
        if (coIssue && !CheckCoIssueAllowed()) {
            return;
        }
        if (pixel && !CheckPixelOrder(*op)) {
            return;
        }

        std::vector<std::string_view> operands;
        if (!operandText.empty()) {
            operands = SplitOperands(operandText);
        }
        switch (op->kind) {
            case OpKind::NoOperation:
                if (!operands.empty()) {
                    Fail("'nop' takes no operands");
                    return;
                }
                code_.push_back(op->code);
                lastMask_ = 0;
                break;
            case OpKind::Define:
                ParseDefine(operands);
                break;
            case OpKind::TexAddress:
                ParseTexAddress(*op, operands);
                break;
            case OpKind::Arithmetic:
                ParseArithmetic(*op, operands, coIssue, resultModifier, shift);
                break;
            case OpKind::Unsupported:
                break;
        }
    }

    bool ParseInstructionModifiers(std::string_view modifiers, const Opcode& op, uint32_t& resultModifier,
                                   uint32_t& shift) {
        while (!modifiers.empty()) {
            std::size_t next = modifiers.find('_', 1);
            std::string_view modifier = modifiers.substr(0, next);
            modifiers = next == std::string_view::npos ? std::string_view() : modifiers.substr(next);
            const bool allowed = stage_ == Stage::Pixel && op.kind == OpKind::Arithmetic;
            uint32_t newShift = 0;
            if (EqualsIgnoreCase(modifier, "_sat") && allowed && resultModifier == 0) {
                resultModifier = kSaturateBit;
                continue;
            }
            if (EqualsIgnoreCase(modifier, "_x2")) {
                newShift = 1;
            } else if (EqualsIgnoreCase(modifier, "_x4")) {
                newShift = 2;
            } else if (EqualsIgnoreCase(modifier, "_d2")) {
                newShift = 0xF;
            }
            if (newShift == 0 || !allowed || shift != 0) {
                return Fail("bad instruction modifier " + Quote(modifier) + " on " + Quote(op.name));
            }
            shift = newShift;
        }
        return true;
    }

    bool CheckCoIssueAllowed() {
        if (stage_ != Stage::Pixel) {
            return Fail("co-issue '+' is only allowed in ps.1.1");
        }
        if (lastMask_ == 0 || lastCoIssued_) {
            return Fail("a co-issued '+' instruction must directly follow an arithmetic instruction");
        }
        return true;
    }

    // ps.1.1 wants its constants first, then texture instructions, then arithmetic.
    bool CheckPixelOrder(const Opcode& op) {
        if (op.kind == OpKind::Define) {
            if (sawInstruction_) {
                return Fail("'def' must come before every other instruction");
            }
            return true;
        }
        if (op.kind == OpKind::NoOperation) {
            return true;
        }
        sawInstruction_ = true;
        if (op.kind == OpKind::TexAddress && sawArithmetic_) {
            return Fail(Quote(op.name) + " must come before the arithmetic instructions");
        }
        if (op.kind == OpKind::Arithmetic) {
            sawArithmetic_ = true;
        }
        return true;
    }

    void ParseDefine(const std::vector<std::string_view>& operands) {
        if (operands.size() != 5) {
            Fail("'def' takes a constant register and four values");
            return;
        }
        Register reg;
        std::string_view target = operands[0];
        if (!ParseRegister(target, reg, false)) {
            return;
        }
        if (reg.type != kConst || reg.relative || !target.empty()) {
            Fail("'def' needs a whole constant register, found " + Quote(operands[0]));
            return;
        }
        code_.push_back(81);
        code_.push_back(kParameterBit | (reg.type << 28) | reg.number | (kAllComponents << 16));
        lastMask_ = 0;
        for (std::size_t i = 1; i < 5; ++i) {
            std::string_view s = operands[i];
            if (!s.empty() && s.front() == '+') {
                s.remove_prefix(1);
            }
            float value = 0;
            auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
            if (s.empty() || ec != std::errc() || ptr != s.data() + s.size()) {
                Fail("bad value " + Quote(operands[i]) + " in 'def'");
                return;
            }
            code_.push_back(std::bit_cast<uint32_t>(value));
        }
    }

    void ParseTexAddress(const Opcode& op, const std::vector<std::string_view>& operands) {
        if (operands.size() != 1) {
            Fail(Quote(op.name) + " takes one texture register");
            return;
        }
        Register reg;
        uint32_t mask = 0;
        if (!ParseDestination(operands[0], reg, mask)) {
            return;
        }
        if (reg.type != kTexture || mask != kAllComponents) {
            Fail(Quote(op.name) + " needs a texture register t0-t3, found " + Quote(operands[0]));
            return;
        }
        code_.push_back(op.code);
        code_.push_back(kParameterBit | (reg.type << 28) | reg.number | (mask << 16));
        lastMask_ = 0;
    }

    void ParseArithmetic(const Opcode& op, const std::vector<std::string_view>& operands, bool coIssue,
                         uint32_t resultModifier, uint32_t shift) {
        if (operands.size() != 1u + op.sources) {
            Fail(Quote(op.name) + " takes " + std::to_string(1 + op.sources) + " operands, found " +
                 std::to_string(operands.size()));
            return;
        }
        Register dest;
        uint32_t mask = 0;
        bool explicitMask = false;
        if (!ParseDestination(operands[0], dest, mask, &explicitMask)) {
            return;
        }
        if (op.matrixMask != 0) {
            if (!explicitMask) {
                mask = op.matrixMask;
            } else if (mask != op.matrixMask) {
                static constexpr const char* kMaskNames[] = {"", "", "", ".xy", "", "", "", ".xyz",
                                                             "", "", "", "",    "", "", "", ".xyzw"};
                Fail(Quote(op.name) + " writes exactly " + kMaskNames[op.matrixMask] + ", found " +
                     Quote(operands[0]));
                return;
            }
        }
        // frc in vs.1.1 is a two-slot macro that yields only .y (and .x on the way).
        if (op.code == 19 && mask != 0x2 && mask != 0x3) {
            Fail("'frc' writes only .y or .xy, found " + Quote(operands[0]));
            return;
        }
        if (dest.address && (op.code != 1 || mask != 0x1 || !explicitMask)) {
            Fail("the address register can only be written as 'a0.x' by 'mov'");
            return;
        }
        std::array<Source, 3> sources;
        for (int i = 0; i < op.sources; ++i) {
            if (!ParseSource(operands[1 + i], sources[i])) {
                return;
            }
        }
        if (stage_ == Stage::Vertex && !CheckReadPorts(sources, op.sources)) {
            return;
        }
        // rcp, rsq, exp, log, expp and logp work on one component, which the text must name.
        const bool scalar =
            op.code == 6 || op.code == 7 || op.code == 14 || op.code == 15 || op.code == 78 || op.code == 79;
        const uint32_t first = sources[0].swizzle & 3;
        if (scalar && sources[0].swizzle != first * 0x55u) {
            Fail(Quote(op.name) + " needs one component of its source, such as .w, found " +
                 Quote(operands[1]));
            return;
        }
        for (int i = 0; i < op.sources; ++i) {
            const Register& r = sources[i].reg;
            if (r.type == kTemp && (writtenTemps_ & (1u << r.number)) == 0) {
                Fail("r" + std::to_string(r.number) + " is read before it is written");
                return;
            }
        }
        if (stage_ == Stage::Pixel) {
            if (op.code == 80 && !(sources[0].reg.type == kTemp && sources[0].reg.number == 0 &&
                                   sources[0].swizzle == 0xFF && sources[0].modifier == kModNone)) {
                Fail("'cnd' in ps.1.1 needs 'r0.a' as its condition, found " + Quote(operands[1]));
                return;
            }
            if (coIssue && !((lastMask_ == 0x7 && mask == 0x8) || (lastMask_ == 0x8 && mask == 0x7))) {
                Fail("a co-issued pair must write .rgb in one instruction and .a in the other");
                return;
            }
        }
        code_.push_back(op.code | (coIssue ? kCoIssueBit : 0));
        code_.push_back(kParameterBit | (dest.type << 28) | dest.number | (mask << 16) | resultModifier |
                        (shift << 24));
        for (int i = 0; i < op.sources; ++i) {
            const Source& s = sources[i];
            code_.push_back(kParameterBit | (s.reg.type << 28) | s.reg.number | (s.swizzle << 16) |
                            (s.modifier << 24) | (s.reg.relative ? kRelativeBit : 0));
        }
        if (dest.type == kTemp) {
            writtenTemps_ |= 1u << dest.number;
        }
        lastMask_ = mask;
        lastCoIssued_ = coIssue;
    }

    // vs.1.1 reads at most one constant and one input register per instruction.
    bool CheckReadPorts(const std::array<Source, 3>& sources, int count) {
        for (uint32_t type : {uint32_t{kConst}, uint32_t{kInput}}) {
            const Register* first = nullptr;
            for (int i = 0; i < count; ++i) {
                const Register& r = sources[i].reg;
                if (r.type != type || r.output) {
                    continue;
                }
                if (first == nullptr) {
                    first = &r;
                } else if (first->number != r.number || first->relative != r.relative) {
                    return Fail(type == kConst ? "vs.1.1 reads only one constant register per instruction"
                                               : "vs.1.1 reads only one input register per instruction");
                }
            }
        }
        return true;
    }

    // Reads a register name at the front of s and checks it exists in this shader stage.
    bool ParseRegister(std::string_view& s, Register& reg, bool destination) {
        const std::string_view original = s;
        std::size_t letters = 0;
        while (letters < s.size() && IsAlpha(s[letters])) {
            ++letters;
        }
        std::string_view prefix = s.substr(0, letters);
        s.remove_prefix(letters);
        const bool pixel = stage_ == Stage::Pixel;
        auto bad = [&]() { return Fail("bad register " + Quote(original)); };

        // oFog and oPts are left out: nothing here draws with them.
        if (!pixel && EqualsIgnoreCase(prefix, "oPos")) {
            reg.type = kRasterOut;
            reg.number = 0;
            reg.output = true;
        } else if (EqualsIgnoreCase(prefix, "c") && !s.empty() && s.front() == '[') {
            if (!ParseBracket(s, reg, original)) {
                return false;
            }
        } else {
            std::size_t digits = 0;
            while (digits < s.size() && IsDigit(s[digits])) {
                ++digits;
            }
            if (digits == 0 || digits > 3) {
                return bad();
            }
            uint32_t number = 0;
            std::from_chars(s.data(), s.data() + digits, number);
            s.remove_prefix(digits);
            uint32_t limit = 0;
            if (EqualsIgnoreCase(prefix, "r")) {
                reg.type = kTemp;
                limit = pixel ? 2 : 12;
            } else if (EqualsIgnoreCase(prefix, "v")) {
                reg.type = kInput;
                limit = pixel ? 2 : 16;
            } else if (EqualsIgnoreCase(prefix, "c")) {
                reg.type = kConst;
                limit = pixel ? 8 : 256;
            } else if (EqualsIgnoreCase(prefix, "t") && pixel) {
                reg.type = kTexture;
                limit = 4;
            } else if (EqualsIgnoreCase(prefix, "a") && !pixel) {
                reg.type = kAddress;
                reg.address = true;
                limit = 1;
            } else if (EqualsIgnoreCase(prefix, "oD") && !pixel) {
                reg.type = kColourOut;
                reg.output = true;
                limit = 2;
            } else if (EqualsIgnoreCase(prefix, "oT") && !pixel) {
                reg.type = kTexCoordOut;
                reg.output = true;
                limit = 8;
            } else {
                return bad();
            }
            if (number >= limit) {
                return bad();
            }
            reg.number = number;
        }
        if (!s.empty() && s.front() != '.' && s.front() != '_') {
            return bad();
        }
        if (destination) {
            if (reg.type == kInput || reg.type == kConst) {
                return Fail("register " + Quote(original) + " cannot be written");
            }
        } else if (reg.output || reg.address) {
            return Fail("register " + Quote(original) + " cannot be read");
        }
        return true;
    }

    // c[a0.x + N], c[a0.x+N], c[N + a0.x], c[a0.x] or c[N]; s starts at '['.
    bool ParseBracket(std::string_view& s, Register& reg, std::string_view original) {
        std::size_t close = s.find(']');
        if (close == std::string_view::npos) {
            return Fail("missing ']' in " + Quote(original));
        }
        std::string_view inside = s.substr(1, close - 1);
        s.remove_prefix(close + 1);
        reg.type = kConst;
        bool haveIndex = false, haveOffset = false;
        uint32_t offset = 0;
        std::size_t start = 0;
        while (true) {
            std::size_t plus = inside.find('+', start);
            std::string_view term =
                Trim(inside.substr(start, plus == std::string_view::npos ? inside.npos : plus - start));
            if (EqualsIgnoreCase(term, "a0.x") && !haveIndex && stage_ == Stage::Vertex) {
                haveIndex = true;
            } else if (!term.empty() && term.size() <= 3 && !haveOffset &&
                       std::all_of(term.begin(), term.end(), IsDigit)) {
                std::from_chars(term.data(), term.data() + term.size(), offset);
                haveOffset = true;
            } else {
                return Fail("bad relative address " + Quote(original));
            }
            if (plus == std::string_view::npos) {
                break;
            }
            start = plus + 1;
        }
        const uint32_t limit = stage_ == Stage::Pixel ? 8 : 256;
        if (offset >= limit) {
            return Fail("bad register " + Quote(original));
        }
        reg.number = offset;
        reg.relative = haveIndex;
        return true;
    }

    // Letters after '.', all from one set: xyzw or rgba.
    bool ParseComponents(std::string_view& s, std::vector<int>& components, std::string_view original) {
        s.remove_prefix(1);
        int set = -1;
        while (!s.empty() && IsAlpha(s.front())) {
            auto c = ComponentOf(s.front());
            if (!c || (set >= 0 && set != c->second) || components.size() == 4) {
                return Fail("bad component selection in " + Quote(original));
            }
            set = c->second;
            components.push_back(c->first);
            s.remove_prefix(1);
        }
        if (components.empty()) {
            return Fail("bad component selection in " + Quote(original));
        }
        return true;
    }

    bool ParseDestination(std::string_view s, Register& reg, uint32_t& mask, bool* explicitMask = nullptr) {
        const std::string_view original = s;
        if (!ParseRegister(s, reg, true)) {
            return false;
        }
        mask = kAllComponents;
        if (!s.empty() && s.front() == '.') {
            std::vector<int> components;
            if (!ParseComponents(s, components, original)) {
                return false;
            }
            mask = 0;
            int previous = -1;
            for (int c : components) {
                if (c <= previous) {
                    return Fail("write mask out of order in " + Quote(original));
                }
                previous = c;
                mask |= 1u << c;
            }
            if (explicitMask != nullptr) {
                *explicitMask = true;
            }
        }
        if (!s.empty()) {
            return Fail("unexpected text after the destination " + Quote(original));
        }
        if (stage_ == Stage::Pixel && mask != kAllComponents && mask != 0x7 && mask != 0x8) {
            return Fail("ps.1.1 writes only .rgba, .rgb or .a, found " + Quote(original));
        }
        return true;
    }

    bool ParseSource(std::string_view s, Source& source) {
        const std::string_view original = s;
        const bool pixel = stage_ == Stage::Pixel;
        bool negate = false, complement = false;
        if (!s.empty() && s.front() == '-') {
            negate = true;
            s = Trim(s.substr(1));
        }
        if (pixel && !negate && s.size() > 1 && s.front() == '1') {
            std::string_view rest = Trim(s.substr(1));
            if (!rest.empty() && rest.front() == '-') {
                complement = true;
                s = Trim(rest.substr(1));
            }
        }
        if (!ParseRegister(s, source.reg, false)) {
            return false;
        }
        bool haveSwizzle = false;
        uint32_t suffix = kModNone;
        while (!s.empty()) {
            if (s.front() == '.' && !haveSwizzle) {
                std::vector<int> components;
                if (!ParseComponents(s, components, original)) {
                    return false;
                }
                source.swizzle = 0;
                for (int i = 0; i < 4; ++i) {
                    int c = components[std::min<std::size_t>(i, components.size() - 1)];
                    source.swizzle |= static_cast<uint32_t>(c) << (2 * i);
                }
                haveSwizzle = true;
            } else if (s.front() == '_' && pixel && suffix == kModNone) {
                std::size_t end = 1;
                while (end < s.size() && (IsAlpha(s[end]) || IsDigit(s[end]))) {
                    ++end;
                }
                std::string_view name = s.substr(0, end);
                if (EqualsIgnoreCase(name, "_bias")) {
                    suffix = kModBias;
                } else if (EqualsIgnoreCase(name, "_bx2")) {
                    suffix = kModSign;
                } else {
                    return Fail("bad source modifier " + Quote(name) + " in " + Quote(original));
                }
                s.remove_prefix(end);
            } else {
                return Fail("unexpected text in the source " + Quote(original));
            }
        }
        if (complement && suffix != kModNone) {
            return Fail("'1-' cannot be combined with another modifier in " + Quote(original));
        }
        if (complement) {
            source.modifier = kModComplement;
        } else if (suffix != kModNone) {
            source.modifier = suffix + (negate ? 1 : 0);  // bias/sign and their negated forms
        } else {
            source.modifier = negate ? kModNegate : kModNone;
        }
        if (pixel && source.swizzle != kIdentitySwizzle && source.swizzle != 0xFF && source.swizzle != 0xAA) {
            return Fail("ps.1.1 selects only .rgba, .a or .b, found " + Quote(original));
        }
        return true;
    }

    std::string_view text_;
    ShaderAssemblerOptions options_;
    Stage stage_ = Stage::Vertex;
    std::vector<uint32_t> code_;
    std::string error_;
    int line_ = 0;
    int instructions_ = 0;
    uint32_t lastMask_ = 0;  // write mask of the last arithmetic instruction, 0 when none
    bool lastCoIssued_ = false;
    bool sawInstruction_ = false;
    bool sawArithmetic_ = false;
    uint32_t writtenTemps_ = 0;  // bit n: rn has been written
};

}  // namespace

AssembledShader AssembleShader(std::string_view text, const ShaderAssemblerOptions& options) {
    return Assembler(text, options).Run();
}

}  // namespace mareldon
