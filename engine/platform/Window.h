#pragma once

#include "engine/core/Math.h"
#include "engine/core/String.h"
#include "engine/core/TreeNode.h"
#include "engine/platform/NativeWindowBackend.h"

#include <cstdint>

namespace mareldon {

class Window;
class WindowSystem;

// Receives the key and character events of a window.
class KeyListener {
  public:
    virtual ~KeyListener() = default;
    // One whole cp932 character (Win32 gave double-byte characters byte by byte).
    virtual void OnChar(const String& /*character*/) {}
    // The IME composition string and one attribute byte per byte of it.
    virtual void OnComposition(const String& /*text*/, const uint8_t* /*attributes*/, uint32_t /*count*/) {}
    virtual void OnKeyDown(int32_t /*virtualKey*/) {}
    virtual void OnKeyUp(int32_t /*virtualKey*/) {}
};

// Receives the button events of a window: 0 left, 1 right.
class MouseListener {
  public:
    virtual ~MouseListener() = default;
    virtual void OnButtonDown(int32_t /*button*/) {}
    virtual void OnButtonUp(int32_t /*button*/) {}
};

// Each edge of a window relative to its parent's client area:
// edge = int(parent size * factor) + offset.
struct WindowLayout {
    float leftFactor = 0.0f;
    int32_t leftOffset = 0;
    float topFactor = 0.0f;
    int32_t topOffset = 0;
    float rightFactor = 0.0f;
    int32_t rightOffset = 0;
    float bottomFactor = 0.0f;
    int32_t bottomOffset = 0;
};

// Three colour bytes; the native value is b0 * 65536 + b1 * 256 + b2.
struct WindowColour {
    uint8_t b0 = 0;
    uint8_t b1 = 0;
    uint8_t b2 = 0;
    uint32_t Native() const { return static_cast<uint32_t>(b0) << 16 | static_cast<uint32_t>(b1) << 8 | b2; }
};

// The record of one live native window ("COREWINDOW").
class NativeWindow {
  public:
    NativeWindow(WindowSystem* system, Window* window, NativeHandle handle)
        : system(system), window(window), handle(handle) {}
    virtual ~NativeWindow() = default;
    WindowSystem* GetSystem() const { return system; }

    WindowSystem* system;
    Window* window;
    NativeHandle handle;
    bool imePresent = false;
    // Timer 0, run by the pump on the Clock.
    bool timerActive = false;
    uint32_t timerInterval = 0;
    uint32_t timerDue = 0;
};

// A node of the window tree. The native window is made by the constructor and
// may go before the node does; every operation then does nothing.
class Window : public TreeNode {
  public:
    // kind: "TOPWINDOW", "NORMALWINDOW", "EDIT", "STATICTEXT" or "BUTTON"; any
    // other kind (or one the backend lacks) gives a node without native window.
    Window(Window* parent, const String& kind, const String& title, int32_t id, const WindowLayout& layout,
           uint32_t flags = 0);
    ~Window() override;

    // The message pump of the window system; false for a plain window.
    virtual bool Pump() { return false; }
    virtual void OnRedraw() {}
    virtual void OnActivate() {}
    virtual void OnCopyData(uint32_t /*size*/, const void* /*data*/) {}
    virtual void OnTimer() {}
    virtual bool OnCreate() { return true; }
    virtual void OnDestroy() {}
    // false destroys the window.
    virtual bool OnCommand(int32_t /*id*/) { return true; }
    virtual void OnDropFile(const String& /*path*/) {}

    int32_t LayoutLeft() const;
    int32_t LayoutTop() const;
    int32_t LayoutRight() const;
    int32_t LayoutBottom() const;

    void Show(bool show);
    void ShowCursor(bool show);
    void SetFocus();
    // Client coordinates as x, y, 0 (zeros without a native window).
    void GetCursorPosition(Vec3& position) const;

    WindowSystem* system = nullptr;
    NativeWindow* native = nullptr;
    KeyListener* keySink = nullptr;
    MouseListener* mouseSink = nullptr;
    WindowLayout layout;

  protected:
    // The root of the tree, the window system itself.
    Window() = default;

  private:
    // int(parent client size * factor) + offset; a parent without native
    // window counts as size 0.
    int32_t Edge(float factor, int32_t offset, bool horizontal) const;
};

}  // namespace mareldon
