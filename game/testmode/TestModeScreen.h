#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/PlayerInput.h"
#include "engine/core/RefPtr.h"
#include "game/render/ScreenDrawers.h"
#include "game/system/SceneTask.h"
#include "game/testmode/TestMenuText.h"

namespace mareldon {

class ColoredScreenDrawer;
class SceneDrawSet;
class ShaderGenBase;
class TextDrawer;
struct TextPair;

// One drawing call of the test mode, as tests read it back.
struct TestDrawCall {
    enum Kind { kTextCentred, kTextFrom, kQuad, kLine };
    Kind kind;
    float x0, y0, x1, y1, z;
    ScreenColor colour;
    std::string text;
};

// The operator's test mode, scene "testmode": the menu of seven pages and
// EXIT(RESET). An open page is a child task that takes the input until it
// closes; the pages draw with this screen's drawers.
class TestModeScreen : public SceneTask, public TestMenuText {
  public:
    static constexpr int32_t kEntryCount = 8;
    static constexpr int32_t kExitEntry = 7;
    static constexpr int32_t kRepeatDelay = 20;
    static constexpr int32_t kRepeatInterval = 4;
    // The game buttons that open, confirm and answer.
    static constexpr uint32_t kAnyButton = 0x40 | 0x80 | 0x100 | 0x200;
    static constexpr uint32_t kUp = 0x1;
    static constexpr uint32_t kDown = 0x2;
    static constexpr uint32_t kLeft = 0x4;
    static constexpr uint32_t kRight = 0x8;
    static constexpr uint32_t kService = 0x800;
    static constexpr uint32_t kTest = 0x4000;

    // `language` 0 draws the Japanese texts, 1 the English ones.
    TestModeScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                   int language = 0);
    ~TestModeScreen() override;

    bool IsAlive() override { return IsAliveWhileCurrent(); }
    void OnUpdatePre() override { OpenPage(); }
    void OnDrawPre() override { DrawMenu(); }
    // The draw set goes after the open page queued its part.
    void OnDrawPost() override;

    void HandleInput() override { OpenPage(); }
    void DrawPage() override { DrawMenu(); }
    // The menu's input: moves the cursor, opens a page or leaves.
    void OpenPage();
    // Clears the screen and, while no page is open, queues the menu.
    void DrawMenu();

    int Language() const { return language; }
    // The play area the layouts are made for.
    float Width() const;
    float Height() const;
    // A player's input like the menu's: the game's key map, repeat after 20 steps
    // then every 4; null without an input manager. The caller deletes it.
    PlayerInput* MakeInput(uint32_t deviceFlags);
    // The page's own buttons this step; nothing without an input.
    static const ButtonSet& ButtonsOf(const PlayerInput* input);

    // Drawing for the menu and the pages; the text is cp932.
    void TextCentred(float x, float y, const ScreenColor& colour, const char* text);
    void TextFrom(float x, float y, const ScreenColor& colour, const char* text);
    void Quad(float x0, float y0, float x1, float y1, const ScreenColor& colour);
    void Line(float x0, float y0, float x1, float y1, float z, const ScreenColor& colour);
    const char* Pick(const TextPair& pair) const;

    // Where tests collect the drawing calls; null in the program.
    std::vector<TestDrawCall>* drawLog = nullptr;
    // The open page; null while the menu is active.
    TestMenuText* OpenedPage() const { return page; }

  private:
    void Note(TestDrawCall::Kind kind, float x0, float y0, float x1, float y1, float z,
              const ScreenColor& colour, const char* text);
    TestMenuText* CreatePage(int32_t entry);

    PlayerInput* input = nullptr;
    uint8_t language;
    RefPtr<ShaderGenBase> generator;
    RefPtr<SceneDrawSet> drawSet;
    RefPtr<TextDrawer> text;
    RefPtr<ColoredScreenDrawer> colored;
    TestMenuText* page = nullptr;

    friend class TestModePage;
};

}  // namespace mareldon
