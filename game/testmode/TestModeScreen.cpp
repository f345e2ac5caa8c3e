#include "game/testmode/TestModeScreen.h"

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/TextDrawing.h"
#include "game/system/GameSystem.h"
#include "game/system/InputManager.h"
#include "game/testmode/FactorySettingPage.h"
#include "game/testmode/GameConfigurationPage.h"
#include "game/testmode/InputDeviceTestPage.h"
#include "game/testmode/ResetHighScorePage.h"
#include "game/testmode/ScreenAdjustmentPage.h"
#include "game/testmode/SetSystemPage.h"
#include "game/testmode/SoundTestPage.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

namespace {

using namespace TestModeTexts;

constexpr ScreenColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr ScreenColor kRed{1.0f, 0.0f, 0.0f, 1.0f};
constexpr ScreenColor kGreen{0.0f, 1.0f, 0.0f, 1.0f};
constexpr float kCell = 12.0f;
constexpr float kCellHeight = 24.0f;

struct MenuEntry {
    const TextPair* title;
    const TextPair* help;
    int32_t itemCount;
};
constexpr MenuEntry kEntries[TestModeScreen::kEntryCount] = {
    {&kMenuScreenAdjustment, &kHelpScreenAdjustment, 0},
    {&kMenuInputTest, &kHelpInputTest, 0},
    {&kMenuSoundTest, &kHelpSoundTest, 3},
    {&kMenuSystem, &kHelpSystem, 3},
    {&kMenuGameConfiguration, &kHelpGameConfiguration, 4},
    {&kMenuFactory, &kHelpFactory, 3},
    {&kMenuResetHighScore, &kHelpResetHighScore, 3},
    {&kMenuExit, &kHelpExit, 0},
};

const ButtonSet kNoButtons{};

}  // namespace

TestModeScreen::TestModeScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                               int language)
    : SceneTask(owner, breakInName, successorName, 0),
      TestMenuText(kEntryCount, "MAIN"),
      language(uint8_t(language == 1 ? 1 : 0)) {
    input = MakeInput(PlayerInput::kPad0 | PlayerInput::kKeyboard);
    if (renderer) {
        generator = RefPtr<ShaderGenBase>(new NormalShaderGen(renderer));
        drawSet = RefPtr<SceneDrawSet>(new SceneDrawSet(renderer));
        const TextureViewport whole{0, 0, 0, 0, 0.0f, 0.0f};
        drawSet->AddView(RefPtr<RenderView>(new RenderView(renderer, RefPtr<TextureBase>(screenTarget),
                                                           RenderView::DefaultClear(), generator, whole)));
        text = RefPtr<TextDrawer>(new TextDrawer(*drawSet, "shadingname", "F24"));
        colored = RefPtr<ColoredScreenDrawer>(new ColoredScreenDrawer(*drawSet, "shadingname"));
    }
}

TestModeScreen::~TestModeScreen() {
    // An open page draws with the drawers below: it goes first.
    DeleteChildren();
    delete input;
    colored = RefPtr<ColoredScreenDrawer>();
    text = RefPtr<TextDrawer>();
    drawSet = RefPtr<SceneDrawSet>();
    generator = RefPtr<ShaderGenBase>();
}

PlayerInput* TestModeScreen::MakeInput(uint32_t deviceFlags) {
    if (inputManager == nullptr) {
        return nullptr;
    }
    auto* made = new PlayerInput(inputManager, deviceFlags);
    made->SetKeyMap(owner->GetKeyMap());
    made->SetRepeat(0xFFFFFFFFu, kRepeatDelay, kRepeatInterval);
    return made;
}

const ButtonSet& TestModeScreen::ButtonsOf(const PlayerInput* input) {
    return input != nullptr ? input->GetButtons() : kNoButtons;
}

float TestModeScreen::Width() const {
    return float(GameSystem::kScreenWidth);
}

float TestModeScreen::Height() const {
    return float(GameSystem::kScreenHeight);
}

const char* TestModeScreen::Pick(const TextPair& pair) const {
    return pair[language];
}

void TestModeScreen::OpenPage() {
    if (active != 1) {
        return;
    }
    const ButtonSet& buttons = ButtonsOf(input);
    if (buttons.repeat & kDown) {
        cursor = cursor + 1 > kExitEntry ? 0 : cursor + 1;
    } else if (buttons.repeat & kUp) {
        cursor = cursor - 1 < 0 ? kExitEntry : cursor - 1;
    }
    if ((buttons.pressed & kAnyButton) == 0) {
        return;
    }
    if (cursor == kExitEntry) {
        RequestSuccessor("");
        return;
    }
    page = CreatePage(cursor);
    active = 0;
}

TestMenuText* TestModeScreen::CreatePage(int32_t entry) {
    const MenuEntry& row = kEntries[entry];
    const String title(Pick(*row.title));
    switch (entry) {
        case 0:
            return new ScreenAdjustmentPage(*this, row.itemCount, title);
        case 1:
            return new InputDeviceTestPage(*this, row.itemCount, title);
        case 2:
            return new SoundTestPage(*this, row.itemCount, title);
        case 3:
            return new SetSystemPage(*this, row.itemCount, title);
        case 4:
            return new GameConfigurationPage(*this, row.itemCount, title);
        case 5:
            return new FactorySettingPage(*this, row.itemCount, title);
        default:
            return new ResetHighScorePage(*this, row.itemCount, title);
    }
}

void TestModeScreen::DrawMenu() {
    if (screenTarget) {
        ClearRecord clear;
        clear.flags = 0x3;  // colour and depth
        clear.color = 0;
        clear.z = 1.0f;
        screenTarget->ClearAll(clear);
    }
    if (active == 0) {
        return;
    }
    const float w = Width();
    const float h = Height();
    TextCentred(w / 2, 4, kWhite, Pick(kMenuTitle));
    for (int32_t i = 0; i < kEntryCount; ++i) {
        TextCentred(w / 2, 48.0f + 24.0f * float(i), i == cursor ? kRed : kWhite, Pick(*kEntries[i].title));
    }
    TextCentred(w / 2, h - 144, kWhite, Pick(*kEntries[cursor].help));
    TextCentred(w / 2, h - 120, kGreen, Pick(kMenuKeySelect));
    TextCentred(w / 2, h - 96, kGreen, Pick(kMenuKeyAction));
    TextCentred(w / 2, h - 72, kWhite, Pick(kVersion));
    TextCentred(w / 2, h - 48, kWhite, Pick(kBuildDate));
    TextFrom(110, 24.0f * float(cursor + 2), kRed, Pick(kCursorMark));
}

void TestModeScreen::OnDrawPost() {
    if (drawSet) {
        drawSet->Draw();
    }
}

void TestModeScreen::Note(TestDrawCall::Kind kind, float x0, float y0, float x1, float y1, float z,
                          const ScreenColor& colour, const char* what) {
    if (drawLog != nullptr) {
        drawLog->push_back(TestDrawCall{kind, x0, y0, x1, y1, z, colour, what != nullptr ? what : ""});
    }
}

void TestModeScreen::TextCentred(float x, float y, const ScreenColor& colour, const char* what) {
    Note(TestDrawCall::kTextCentred, x, y, x, y, 0.0f, colour, what);
    if (text) {
        Vec3 end{};
        text->DrawText(end, Vec3{x, y, 0.0f}, kCell, kCellHeight, colour, what, true);
    }
}

void TestModeScreen::TextFrom(float x, float y, const ScreenColor& colour, const char* what) {
    Note(TestDrawCall::kTextFrom, x, y, x, y, 0.0f, colour, what);
    if (text) {
        Vec3 end{};
        text->DrawWideText(end, Vec3{x, y, 0.0f}, kCell, kCellHeight, colour, what, true);
    }
}

void TestModeScreen::Quad(float x0, float y0, float x1, float y1, const ScreenColor& colour) {
    Note(TestDrawCall::kQuad, x0, y0, x1, y1, 0.0f, colour, nullptr);
    if (colored) {
        colored->DrawQuad(ColoredVertex{x0, y0, 0.0f, colour.r, colour.g, colour.b, colour.a},
                          ColoredVertex{x1, y1, 0.0f, colour.r, colour.g, colour.b, colour.a});
    }
}

void TestModeScreen::Line(float x0, float y0, float x1, float y1, float z, const ScreenColor& colour) {
    Note(TestDrawCall::kLine, x0, y0, x1, y1, z, colour, nullptr);
    if (colored) {
        colored->DrawLine(ColoredVertex{x0, y0, z, colour.r, colour.g, colour.b, colour.a},
                          ColoredVertex{x1, y1, z, colour.r, colour.g, colour.b, colour.a});
    }
}

}  // namespace mareldon
