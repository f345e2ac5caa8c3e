#pragma once

#include <cstdint>
#include <string>

#include "engine/platform/MessageBox.h"

namespace mareldon {

// A native window as its backend names it; 0 is none.
using NativeHandle = uintptr_t;

struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// What a native window reports; the window system turns these into the
// handler calls of its window nodes.
enum class WindowEventType {
    Close,        // the user asked to close: the window is destroyed
    Resized,      // value, value2: new client size, changed from outside
    Paint,        // the window must be drawn again
    Activate,     // the window became the active one
    KeyDown,      // value: Windows virtual-key code
    KeyUp,        // value: Windows virtual-key code
    Char,         // text: one whole cp932 character
    Composition,  // text: the composition string (cp932), attributes: one byte per byte of it
    ButtonDown,   // value: 0 left, 1 right
    ButtonUp,     // value: 0 left, 1 right
    DropFile,     // text: one dropped path (cp932)
    CopyData,     // text: the bytes sent
    Command,      // value: the command identifier
    QuitRequest,  // the session or a signal asks the program to end: every window closes
};

struct WindowEvent {
    WindowEventType type = WindowEventType::Paint;
    NativeHandle window = 0;
    int32_t value = 0;
    int32_t value2 = 0;
    std::string text;
    std::string attributes;
};

// The native side of the window system: SDL2 on a desktop, a headless
// recorder in tests. Texts are cp932; a backend converts at its boundary.
// Coordinates of a child are relative to its parent's client area.
class NativeWindowBackend : public MessageBoxPresenter {
  public:
    virtual ~NativeWindowBackend() = default;

    // A window of the given kind ("TOPWINDOW", "NORMALWINDOW", "EDIT",
    // "STATICTEXT", "BUTTON") whose client area is client. 0 when the backend
    // has no such kind or creation failed.
    virtual NativeHandle Create(const char* kind, const char* title, const WindowRect& client,
                                NativeHandle parent, int32_t id) = 0;
    virtual void Destroy(NativeHandle window) = 0;
    // The next pending event; false when none is left. Never blocks.
    virtual bool PollEvent(WindowEvent& event) = 0;

    // The outer rectangle: position and size including any frame.
    virtual void Move(NativeHandle window, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void SetClientSize(NativeHandle window, int32_t width, int32_t height) = 0;
    virtual WindowRect GetWindowRect(NativeHandle window) = 0;
    // Always 0, 0, width, height.
    virtual WindowRect GetClientRect(NativeHandle window) = 0;
    virtual void Show(NativeHandle window, bool show) = 0;
    virtual void Enable(NativeHandle window, bool enable) = 0;
    virtual void SetFocus(NativeHandle window) = 0;

    // The title, or an edit control's text.
    virtual void SetText(NativeHandle window, const char* text) = 0;
    virtual void AppendText(NativeHandle window, const char* text) = 0;
    virtual void ScrollTextToTop(NativeHandle window) = 0;
    // Colours are 0xRRGGBB-ordered as byte0 * 65536 + byte1 * 256 + byte2.
    virtual void DrawText(NativeHandle window, int32_t x, int32_t y, const char* text, uint32_t textColour,
                          uint32_t backColour) = 0;
    virtual void FillRect(NativeHandle window, const WindowRect& rect, uint32_t colour) = 0;

    virtual bool HasIme() = 0;
    virtual void SetImeOpen(NativeHandle window, bool open) = 0;
    virtual bool IsImeOpen(NativeHandle window) = 0;

    virtual void ShowCursor(bool show) = 0;
    virtual bool IsCursorShown() = 0;
    // Client coordinates of the pointer.
    virtual void GetCursorPosition(NativeHandle window, int32_t& x, int32_t& y) = 0;
    virtual void SetCursorPosition(NativeHandle window, int32_t x, int32_t y) = 0;
};

}  // namespace mareldon
