#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "game/render/ScreenDrawers.h"

namespace mareldon {

// One adjustable line of a settings page; a RETURN line has no value of its own.
class TestMenuSetting {
  public:
    static constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
    static constexpr ScreenColor kRed{1.0f, 0.0f, 0.0f, 1.0f};
    static constexpr ScreenColor kBlue{0.25f, 0.25f, 1.0f, 1.0f};
    static constexpr ScreenColor kYellow{1.0f, 1.0f, 0.0f, 1.0f};
    static constexpr ScreenColor kHidden{0.0f, 0.0f, 0.0f, 0.0f};

    TestMenuSetting(const String& label, int32_t value, int32_t defaultValue, int32_t minimum,
                    int32_t maximum)
        : label(label), value(value), defaultValue(defaultValue), minimum(minimum), maximum(maximum) {}
    virtual ~TestMenuSetting() = default;

    // One step up or down, wrapping past either end.
    void Step(int direction) {
        value += direction;
        if (value > maximum) {
            value = minimum;
        } else if (value < minimum) {
            value = maximum;
        }
    }
    // The label by selection; the value in the default's colours while it holds
    // the factory value.
    void Colour(bool selected) {
        labelColour = selected ? kRed : kWhite;
        valueColour = value == defaultValue ? (selected ? kYellow : kBlue) : labelColour;
    }
    void Hide() {
        labelColour = kHidden;
        valueColour = kHidden;
    }
    bool IsHidden() const {
        return valueColour.r == 0.0f && valueColour.g == 0.0f && valueColour.b == 0.0f &&
               valueColour.a == 0.0f;
    }

    uint8_t enabled = 1;
    String label;
    int32_t value;
    int32_t defaultValue;
    int32_t minimum;
    int32_t maximum;
    ScreenColor labelColour = kWhite;
    ScreenColor valueColour = kBlue;
};

}  // namespace mareldon
