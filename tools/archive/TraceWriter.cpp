#include "tools/archive/TraceWriter.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "engine/core/InputManagerBase.h"
#include "engine/core/PlayerInput.h"
#include "engine/core/RefPtr.h"

namespace mareldon {

namespace {

// One pad, set by hand before each step.
class ScriptPad : public InputManagerBase {
  public:
    void Update() override {}
    const PadState& GetPadState(int) override { return pad; }
    const MouseState& GetMouseState(int) override { return mouse; }
    const KeyboardState& GetKeyboardState(int) override { return keyboard; }

    void Play(uint32_t word) {
        pad = PadState{};
        pad.connected = 1;
        pad.axes[0] = (word & 4u) ? -1.0f : (word & 8u) ? 1.0f : 0.0f;
        pad.axes[1] = (word & 1u) ? -1.0f : (word & 2u) ? 1.0f : 0.0f;
        pad.axes[2] = (word & 16u) ? -1.0f : (word & 32u) ? 1.0f : 0.0f;
        for (int button = 0; button < 24; ++button)
            pad.buttons[button] = ((word >> (6 + button)) & 1u) ? 1.0f : 0.0f;
    }

  private:
    PadState pad{};
    MouseState mouse{};
    KeyboardState keyboard{};
};

bool ParseButtons(const std::string& text, uint32_t& word) {
    if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) != 0)) {
        char* end = nullptr;
        const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
        if (*end != '\0' || value > 0xFFFFFFFFull)
            return false;
        word = uint32_t(value);
        return true;
    }
    word = 0;
    std::stringstream names(text);
    std::string name;
    while (std::getline(names, name, '+')) {
        static const struct {
            const char* name;
            uint32_t bit;
        } kNames[] = {{"up", 1u << 0},    {"down", 1u << 1}, {"left", 1u << 2},
                      {"right", 1u << 3}, {"shot", 1u << 6}, {"bomb", 1u << 7}};
        bool known = false;
        for (const auto& entry : kNames) {
            if (name == entry.name) {
                word |= entry.bit;
                known = true;
            }
        }
        if (!known && name.size() >= 2 && name[0] == 'b' &&
            std::isdigit(static_cast<unsigned char>(name[1]))) {
            const int button = std::atoi(name.c_str() + 1);
            if (button < 24 && name.find_first_not_of("0123456789", 1) == std::string::npos) {
                word |= 1u << (6 + button);
                known = true;
            }
        }
        if (!known && name != "none")
            return false;
    }
    return true;
}

}  // namespace

bool ParseTraceScript(const std::string& text, std::vector<uint32_t>& words, std::string& error) {
    std::stringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t comment = line.find('#');
        if (comment != std::string::npos)
            line.resize(comment);
        std::stringstream fields(line);
        std::string count, buttons, extra;
        if (!(fields >> count))
            continue;
        char* end = nullptr;
        const long steps = std::strtol(count.c_str(), &end, 10);
        uint32_t word = 0;
        if (*end != '\0' || steps < 0 || steps > 1000000) {
            error = "line " + std::to_string(number) + ": bad step count \"" + count + "\"";
            return false;
        }
        if (!(fields >> buttons) || (fields >> extra) || !ParseButtons(buttons, word)) {
            error = "line " + std::to_string(number) + ": expected \"<steps> <buttons>\"";
            return false;
        }
        words.insert(words.end(), size_t(steps), word);
    }
    return true;
}

std::vector<uint8_t> BuildTraceFile(uint32_t shipType, const std::vector<uint32_t>& words) {
    ScriptPad pad;
    pad.Play(words.empty() ? 0u : words[0]);
    // The input takes its first record when it is built, as the screen's does.
    RefPtr<PlayerInput> input(new PlayerInput(&pad, PlayerInput::kPad0 | PlayerInput::kRecord));
    for (size_t i = 1; i < words.size(); ++i) {
        pad.Play(words[i]);
        input->Update();
    }
    const int32_t bytes = input->GetRecordBytes();
    const uint8_t* table = input->FinishTrace();
    std::vector<uint8_t> file(16, 0);
    for (int i = 0; i < 4; ++i)
        file[size_t(i)] = uint8_t(shipType >> (8 * i));
    file.insert(file.end(), table, table + bytes);
    return file;
}

}  // namespace mareldon
