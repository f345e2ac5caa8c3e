#pragma once

#include "engine/core/LoopHooks.h"
#include "engine/platform/NativeWindowBackend.h"
#include "engine/platform/Window.h"

#include <memory>
#include <vector>

namespace mareldon {

// The root of the window tree: makes the native windows of its nodes through a
// backend, turns the backend's events into handler calls, and pumps them once
// per main-loop pass. Its backend shows the message boxes (Backend()).
class WindowSystem : public Window, public MessagePump {
  public:
    explicit WindowSystem(std::unique_ptr<NativeWindowBackend> backend);
    ~WindowSystem() override;

    // Handles every pending event. Once no native window is left, a quit
    // follows and sets quitReceived; after that nothing is read any more.
    // True while no quit was seen.
    bool Pump() override;
    // The main loop's hook (Application::SetMessagePump).
    void PumpMessages() override { Pump(); }

    bool CreateNativeWindow(Window* window, const String& kind, const String& title, int32_t id,
                            const WindowLayout& layout, uint32_t flags);
    void DestroyNativeWindow(Window* window);
    void SetPosition(Window* window, int32_t x, int32_t y);
    void SetSize(Window* window, int32_t width, int32_t height);
    void SetClientSize(Window* window, int32_t width, int32_t height);
    void Show(Window* window, bool show);
    WindowRect GetWindowRect(Window* window);
    WindowRect GetClientRect(const Window* window);
    void DrawText(Window* window, int32_t x, int32_t y, const String& text, WindowColour textColour,
                  WindowColour backColour);
    void FillRect(Window* window, int32_t left, int32_t top, int32_t right, int32_t bottom,
                  WindowColour colour);
    void SetImeOpen(Window* window, bool open);
    bool IsImeOpen(Window* window);
    void ShowCursor(Window* window, bool show);
    bool IsCursorShown(Window* window);
    void AppendText(Window* window, const String& text);
    void SetText(Window* window, const String& text);
    void ScrollTextToTop(Window* window);
    // Timer 0 of the window every int(seconds * 1000) ms, at least 10.
    void StartTimer(Window* window, float seconds);
    void StopTimer(Window* window);
    void SetFocus(Window* window);
    void GetCursorPosition(const Window* window, Vec3& position);
    void SetCursorPosition(Window* window, const Vec3& position);
    void EnableWindow(Window* window, bool enable);

    NativeWindowBackend& Backend() { return *backend_; }

    bool quitReceived = false;
    int32_t windowCount = 0;

  private:
    void Dispatch(const WindowEvent& event);
    NativeWindow* FindRecord(NativeHandle handle) const;
    // What the native side does when a window goes: the node's OnDestroy, the
    // record dropped; then the same for the child windows.
    void ReleaseNative(Window* window);
    // A changed client size: the child windows follow their layouts.
    void Resized(Window* window);
    // Moves and sizes as the user would; a changed client size re-lays the children.
    void MoveTo(Window* window, int32_t x, int32_t y, int32_t width, int32_t height);
    void ResizedIfChanged(Window* window, const WindowRect& before);
    void RunDueTimers();

    std::unique_ptr<NativeWindowBackend> backend_;
    NativeWindow rootRecord_;
    std::vector<NativeWindow*> records_;
    std::vector<NativeWindow*> dueTimers_;  // scratch of RunDueTimers
    bool quitPosted_ = false;
};

}  // namespace mareldon
