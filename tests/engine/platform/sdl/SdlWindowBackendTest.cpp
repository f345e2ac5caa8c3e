#include "engine/platform/sdl/SdlWindowBackend.h"

#include "engine/core/Cp932.h"
#include "engine/platform/WindowSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace mareldon {
namespace {

// Holds SDL video and its GL library for the whole run: the GL driver, once
// unloaded with the last window, leaves allocations behind that no leak
// suppression can name.
class KeepVideo : public ::testing::Environment {
  public:
    void SetUp() override {
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        SDL_GL_LoadLibrary(nullptr);
    }
};
[[maybe_unused]] ::testing::Environment* const keepVideo = ::testing::AddGlobalTestEnvironment(new KeepVideo);

WindowLayout MainLayout() {
    WindowLayout layout;
    layout.rightOffset = 480;
    layout.bottomOffset = 640;
    return layout;
}

void PushWindowEvent(SDL_Window* window, uint8_t what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    event.window.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&event);
}

class Counting : public Window {
  public:
    using Window::Window;
    int destroyed = 0;
    void OnDestroy() override { ++destroyed; }
};

TEST(SdlWindowBackendTest, MainWindowOpensForGlAndCloseEndsThePump) {
    std::unique_ptr<WindowSystem> system(CreateWindowSystem());
    auto* main = new Counting(system.get(), "TOPWINDOW", "MARELDON", 0, MainLayout());
    ASSERT_NE(main->native, nullptr) << SDL_GetError();
    main->Show(true);
    main->SetFocus();
    main->ShowCursor(false);
    EXPECT_FALSE(system->IsCursorShown(main));

    SDL_Window* window = GetSdlWindow(*main);
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "MARELDON");
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL, 0u);
    const WindowRect client = system->GetClientRect(main);
    EXPECT_EQ(client.right, 480);
    EXPECT_EQ(client.bottom, 640);
    // Placement saved and restored through the window system does not drift.
    const WindowRect placed = system->GetWindowRect(main);
    system->SetPosition(main, placed.left, placed.top);
    const WindowRect again = system->GetWindowRect(main);
    EXPECT_EQ(again.right - again.left, placed.right - placed.left);
    system->SetClientSize(main, 640, 480);
    EXPECT_EQ(system->GetClientRect(main).right, 640);

    // The graphics device puts its context on this window.
    SDL_GLContext context = SDL_GL_CreateContext(window);
    EXPECT_NE(context, nullptr) << SDL_GetError();
    if (context != nullptr) {
        SDL_GL_DeleteContext(context);
    }

    // Titles are cp932 inside the program and UTF-8 for SDL.
    system->SetText(main, String(Utf8ToCp932("表示").c_str()));
    EXPECT_STREQ(SDL_GetWindowTitle(window), "表示");

    EXPECT_TRUE(system->Pump());
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    EXPECT_FALSE(system->Pump());
    EXPECT_TRUE(system->quitReceived);
    EXPECT_EQ(main->native, nullptr);
    EXPECT_EQ(main->destroyed, 1);
    EXPECT_EQ(system->windowCount, 0);
    EXPECT_EQ(GetSdlWindow(*main), nullptr);
}

TEST(SdlWindowBackendTest, ChildKindsMakeNoNativeWindow) {
    std::unique_ptr<WindowSystem> system(CreateWindowSystem());
    auto* main = new Window(system.get(), "TOPWINDOW", "MARELDON", 0, MainLayout());
    ASSERT_NE(main->native, nullptr);
    for (const char* kind : {"NORMALWINDOW", "EDIT", "STATICTEXT", "BUTTON"}) {
        auto* child = new Window(main, kind, "child", 1, MainLayout());
        EXPECT_EQ(child->native, nullptr) << kind;
        system->AppendText(child, "ignored");
    }
    EXPECT_EQ(system->windowCount, 1);
}

TEST(SdlWindowBackendTest, KeysMapToVirtualKeyCodes) {
    struct Case {
        int32_t sdl, vk;
    };
    const Case cases[] = {
        {SDLK_a, 'A'},          {SDLK_z, 'Z'},      {SDLK_5, '5'},      {SDLK_F2, 0x71},   {SDLK_LEFT, 0x25},
        {SDLK_RETURN, 0x0D},    {SDLK_LCTRL, 0x11}, {SDLK_SPACE, 0x20}, {SDLK_KP_9, 0x69}, {SDLK_F13, 0x7C},
        {SDLK_BACKQUOTE, 0xC0}, {SDLK_QUOTE, 0xDE}, {SDLK_UNDO, 0},     {-1, 0},           {0x7FFFFFFF, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(SdlWindowBackend::VirtualKeyFromSdl(c.sdl), c.vk) << c.sdl;
    }
}

TEST(SdlWindowBackendTest, MessageBoxWithoutDisplayGoesToStderr) {
    if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr) {
        GTEST_SKIP() << "a real display would show a blocking box";
    }
    SdlWindowBackend backend;
    testing::internal::CaptureStderr();
    backend.ShowMessageBox(Utf8ToCp932("これは致命的！").c_str(), Utf8ToCp932("x が読み込めません!").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "これは致命的！: x が読み込めません!\n");
}

}  // namespace
}  // namespace mareldon
