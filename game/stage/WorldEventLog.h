#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mareldon {

// One entry of the world's event log: the screen's update count, the operation's
// name and its arguments as text.
struct WorldEvent {
    int32_t step;
    std::string operation;
    std::string arguments;
};

// An optional sink for what the world screen does (spawns, fires and their refusals,
// cancels, scores, kills, bombs, clears, scene requests, cue operations). The game
// runs without one; tests and replay checks read it. The owner sets the step at the
// start of each update.
class WorldEventLog {
  public:
    void SetStep(int32_t value) { step = value; }
    int32_t GetStep() const { return step; }

    void Record(std::string_view operation, std::string_view arguments = {});
    // printf-style arguments.
    void RecordFormat(std::string_view operation, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 3, 4)))
#endif
        ;

    const std::vector<WorldEvent>& Events() const {
        return events;
    }
    int32_t Count(std::string_view operation) const;
    int32_t Count(std::string_view operation, std::string_view arguments) const;
    void Clear() {
        events.clear();
    }

  private:
    int32_t step = 0;
    std::vector<WorldEvent> events;
};

}  // namespace mareldon
