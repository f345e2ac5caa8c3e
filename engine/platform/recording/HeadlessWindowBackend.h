#pragma once

#include "engine/platform/NativeWindowBackend.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace mareldon {

// Windows without a display: every kind is made as a record, events come from
// a script, and what would be drawn or shown is logged. Never blocks.
class HeadlessWindowBackend final : public NativeWindowBackend {
  public:
    struct Record {
        NativeHandle handle = 0;
        std::string kind;
        std::string text;  // title, or an edit control's text
        NativeHandle parent = 0;
        int32_t id = 0;
        WindowRect rect;  // outer rectangle in the parent's client coordinates
        bool visible = true;
        bool enabled = true;
        bool imeOpen = false;
        bool focused = false;
        int32_t cursorX = 0;
        int32_t cursorY = 0;
    };
    struct MessageBoxRecord {
        std::string caption;
        std::string text;
    };

    HeadlessWindowBackend() = default;

    // Scripted events, delivered in order by PollEvent.
    void Post(const WindowEvent& event) { events_.push_back(event); }
    void PostClose(NativeHandle window);
    // Sets the client size, then reports it as a resize from outside.
    void PostResize(NativeHandle window, int32_t width, int32_t height);
    void PostKey(NativeHandle window, int32_t virtualKey, bool down);
    void PostChar(NativeHandle window, const std::string& character);
    void PostButton(NativeHandle window, int32_t button, bool down);
    void PostDropFile(NativeHandle window, const std::string& path);
    void PostSimple(NativeHandle window, WindowEventType type, int32_t value = 0);

    // Live windows, in creation order; null for an unknown or destroyed handle.
    const Record* Find(NativeHandle window) const;
    std::vector<const Record*> Windows() const;
    // "text", "fill", "append" ... one line per drawing or text call.
    const std::vector<std::string>& Log() const { return log_; }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return messageBoxes_; }
    size_t PendingEvents() const { return events_.size(); }
    int PollCount() const { return pollCount_; }
    void SetIme(bool present) { imePresent_ = present; }

    NativeHandle Create(const char* kind, const char* title, const WindowRect& client, NativeHandle parent,
                        int32_t id) override;
    void Destroy(NativeHandle window) override;
    bool PollEvent(WindowEvent& event) override;
    void Move(NativeHandle window, int32_t x, int32_t y, int32_t width, int32_t height) override;
    void SetClientSize(NativeHandle window, int32_t width, int32_t height) override;
    WindowRect GetWindowRect(NativeHandle window) override;
    WindowRect GetClientRect(NativeHandle window) override;
    void Show(NativeHandle window, bool show) override;
    void Enable(NativeHandle window, bool enable) override;
    void SetFocus(NativeHandle window) override;
    void SetText(NativeHandle window, const char* text) override;
    void AppendText(NativeHandle window, const char* text) override;
    void ScrollTextToTop(NativeHandle window) override;
    void DrawText(NativeHandle window, int32_t x, int32_t y, const char* text, uint32_t textColour,
                  uint32_t backColour) override;
    void FillRect(NativeHandle window, const WindowRect& rect, uint32_t colour) override;
    bool HasIme() override { return imePresent_; }
    void SetImeOpen(NativeHandle window, bool open) override;
    bool IsImeOpen(NativeHandle window) override;
    void ShowCursor(bool show) override { cursorShown_ = show; }
    bool IsCursorShown() override { return cursorShown_; }
    void GetCursorPosition(NativeHandle window, int32_t& x, int32_t& y) override;
    void SetCursorPosition(NativeHandle window, int32_t x, int32_t y) override;
    void ShowMessageBox(const char* caption, const char* text) override;

  private:
    void Queue(WindowEventType type, NativeHandle window, int32_t value = 0, int32_t value2 = 0,
               const std::string& text = std::string());
    Record* FindMutable(NativeHandle window);

    std::vector<std::unique_ptr<Record>> windows_;
    std::deque<WindowEvent> events_;
    std::vector<std::string> log_;
    std::vector<MessageBoxRecord> messageBoxes_;
    NativeHandle nextHandle_ = 1;
    int pollCount_ = 0;
    bool cursorShown_ = true;
    bool imePresent_ = false;
};

class WindowSystem;

// A window system on a new headless backend, which it owns; backend is set to it.
WindowSystem* CreateHeadlessWindowSystem(HeadlessWindowBackend*& backend);

}  // namespace mareldon
