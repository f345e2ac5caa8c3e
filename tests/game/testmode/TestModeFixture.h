#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/screens/RegisterScreens.h"
#include "game/system/ConfigFile.h"
#include "game/system/InputManager.h"
#include "game/testmode/RegisterTestMode.h"
#include "game/testmode/TestModeScreen.h"
#include "tests/game/system/ServicesFixture.h"

namespace mareldon {

// Logical buttons as the pages read them.
namespace Key {
constexpr uint32_t kUp = 0x1;
constexpr uint32_t kDown = 0x2;
constexpr uint32_t kLeft = 0x4;
constexpr uint32_t kRight = 0x8;
constexpr uint32_t kButton1 = 0x40;
constexpr uint32_t kButton2 = 0x80;
constexpr uint32_t kButton3 = 0x100;
constexpr uint32_t kStart = 0x200;
constexpr uint32_t kService = 0x800;
constexpr uint32_t kTest = 0x4000;
}  // namespace Key

// The test mode under the game system on the recording services, entered with
// the test switch. The two players' controllers are scripted step by step
// through an input manager without a board; each step draws, and the screen's
// drawing calls of the last step are kept.
class TestModeFixture : public ServicesFixture {
  public:
    explicit TestModeFixture(const std::vector<uint8_t>& archive = MakeBootArchive(), int language = 0)
        : ServicesFixture(archive),
          manager(nullptr, 2, 0, 1, nullptr, [](const char*) { return std::unique_ptr<SerialLink>(); }) {
        root.inputManager = &manager;
        RegisterScreens(ownScenes);
        if (language == 1) {
            ownScenes.Add("testmode", [](GameSystem& s, const SceneSetup& at) -> SceneTask* {
                return new TestModeScreen(&s, at.breakIn, at.successor, 1);
            });
        } else {
            RegisterTestMode(ownScenes);
        }
    }
    ~TestModeFixture() {
        root.DeleteChildren();
        system = nullptr;
        root.inputManager = nullptr;
    }

    // Boots to the attract loop and turns the test switch on.
    void EnterTestMode() {
        system = new GameSystem(&root, GameSystemPorts{&saves, RecordEvent, &inputs, &ownScenes});
        for (int i = 0; i < 10 && !system->AreResourcesLoaded(); ++i) {
            StepTestMode();
        }
        ASSERT_TRUE(RunUntil("logo1"));
        inputs.masks[0].pressed = SystemButton::kTest;
        StepTestMode();
        inputs.masks[0].pressed = 0;
        ASSERT_EQ(system->GetCurrentSceneName(), "testmode");
        Screen()->drawLog = &drawn;
    }

    TestModeScreen* Screen() const {
        return system != nullptr ? dynamic_cast<TestModeScreen*>(system->GetCurrentScene()) : nullptr;
    }
    template <typename Page>
    Page* Opened() const {
        return Screen() != nullptr ? dynamic_cast<Page*>(Screen()->OpenedPage()) : nullptr;
    }

    // One main-loop step with the controllers as held now; false once the
    // program has ended.
    bool StepTestMode() {
        for (int pad = 0; pad < 2; ++pad) {
            SetPad(manager.padStates[size_t(pad)], held[pad]);
        }
        for (TreeNode* child = manager.firstChild; child != nullptr;) {
            TreeNode* next = child->next == manager.firstChild ? nullptr : child->next;
            static_cast<InputNode*>(child)->Update();
            child = next;
        }
        drawn.clear();
        return Step();
    }
    // Holds the buttons for one step, then lets go for one.
    void Tap(uint32_t buttons, int pad = 0) {
        held[pad] = buttons;
        StepTestMode();
        held[pad] = 0;
        StepTestMode();
    }
    void Taps(std::initializer_list<uint32_t> sequence) {
        for (uint32_t buttons : sequence) {
            Tap(buttons);
        }
    }
    // Opens the menu entry `entry` from the cursor on entry 0.
    void OpenEntry(int entry, uint32_t button = Key::kButton1) {
        for (int i = 0; i < entry; ++i) {
            Tap(Key::kDown);
        }
        Tap(button);
    }
    // The settings file as the store last wrote it; empty when never written.
    std::vector<uint8_t> ConfigBytes() const {
        auto it = saves.files.find(ConfigFile::kPath);
        return it == saves.files.end() ? std::vector<uint8_t>() : it->second;
    }
    ConfigBlocks StoredConfig() const {
        ConfigBlocks blocks;
        const std::vector<uint8_t> bytes = ConfigBytes();
        EXPECT_TRUE(ConfigFile::Decode(bytes.data(), bytes.size(), blocks));
        return blocks;
    }
    // The drawing calls of the last step holding `text`.
    std::vector<TestDrawCall> DrawnText(const char* text) const {
        std::vector<TestDrawCall> found;
        for (const TestDrawCall& call : drawn) {
            if (call.text == text) {
                found.push_back(call);
            }
        }
        return found;
    }
    std::vector<TestDrawCall> Drawn(TestDrawCall::Kind kind) const {
        std::vector<TestDrawCall> found;
        for (const TestDrawCall& call : drawn) {
            if (call.kind == kind) {
                found.push_back(call);
            }
        }
        return found;
    }

    SoundBox* Device() const { return root.soundBox.Get(); }

    InputManager manager;
    SceneRegistry ownScenes;
    uint32_t held[2] = {0, 0};
    std::vector<TestDrawCall> drawn;

  private:
    static void SetPad(PadState& pad, uint32_t logical) {
        pad = PadState{};
        pad.connected = 1;
        pad.axes[0] = (logical & Key::kLeft) ? -1.0f : (logical & Key::kRight) ? 1.0f : 0.0f;
        pad.axes[1] = (logical & Key::kUp) ? -1.0f : (logical & Key::kDown) ? 1.0f : 0.0f;
        for (int button = 0; button < 24; ++button) {
            pad.buttons[button] = ((logical >> (6 + button)) & 1u) ? 1.0f : 0.0f;
        }
    }
};

inline bool operator==(const ScreenColor& a, const ScreenColor& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

}  // namespace mareldon
