#pragma once

#include "engine/platform/NativeWindowBackend.h"

struct SDL_Window;

namespace mareldon {

class Window;
class WindowSystem;

// Top-level windows on SDL2. Only "TOPWINDOW" has an SDL counterpart: child
// windows, edit controls, GDI drawing and the IME are not available and create
// or do nothing. Windows are made with SDL_WINDOW_OPENGL so the graphics device
// can put its context on them.
class SdlWindowBackend final : public NativeWindowBackend {
  public:
    SdlWindowBackend();
    ~SdlWindowBackend() override;

    bool IsAvailable() const { return videoReady_; }

    NativeHandle Create(const char* kind, const char* title, const WindowRect& client, NativeHandle parent,
                        int32_t id) override;
    void Destroy(NativeHandle window) override;
    bool PollEvent(WindowEvent& event) override;
    void Move(NativeHandle window, int32_t x, int32_t y, int32_t width, int32_t height) override;
    void SetClientSize(NativeHandle window, int32_t width, int32_t height) override;
    WindowRect GetWindowRect(NativeHandle window) override;
    WindowRect GetClientRect(NativeHandle window) override;
    void Show(NativeHandle window, bool show) override;
    void Enable(NativeHandle, bool) override {}
    void SetFocus(NativeHandle window) override;
    void SetText(NativeHandle window, const char* text) override;
    void AppendText(NativeHandle, const char*) override {}
    void ScrollTextToTop(NativeHandle) override {}
    void DrawText(NativeHandle, int32_t, int32_t, const char*, uint32_t, uint32_t) override {}
    void FillRect(NativeHandle, const WindowRect&, uint32_t) override {}
    bool HasIme() override { return false; }
    void SetImeOpen(NativeHandle, bool) override {}
    bool IsImeOpen(NativeHandle) override { return false; }
    void ShowCursor(bool show) override;
    bool IsCursorShown() override;
    void GetCursorPosition(NativeHandle window, int32_t& x, int32_t& y) override;
    void SetCursorPosition(NativeHandle window, int32_t x, int32_t y) override;
    void ShowMessageBox(const char* caption, const char* text) override;

    // Windows virtual-key code of an SDL key; 0 for keys without one.
    static int32_t VirtualKeyFromSdl(int32_t sdlKey);

  private:
    bool Translate(const void* sdlEvent, WindowEvent& event);

    bool videoReady_ = false;
    // SDL_TEXTINPUT may carry several characters: they are handed out one by one.
    std::string pendingText_;
    NativeHandle pendingTextWindow_ = 0;
};

// The SDL window of a window whose system runs on SdlWindowBackend; null for
// any other window, or once its native window is gone.
SDL_Window* GetSdlWindow(const Window& window);

// The window system on SDL2.
WindowSystem* CreateWindowSystem();

}  // namespace mareldon
