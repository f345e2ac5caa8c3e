#include "engine/platform/recording/HeadlessWindowBackend.h"

#include "engine/platform/WindowSystem.h"

#include <algorithm>
#include <cstdio>

namespace mareldon {

namespace {

std::string Format(const char* format, long a, long b, long c, long d) {
    char line[96];
    std::snprintf(line, sizeof line, format, a, b, c, d);
    return line;
}

}  // namespace

void HeadlessWindowBackend::Queue(WindowEventType type, NativeHandle window, int32_t value, int32_t value2,
                                  const std::string& text) {
    WindowEvent event;
    event.type = type;
    event.window = window;
    event.value = value;
    event.value2 = value2;
    event.text = text;
    events_.push_back(std::move(event));
}

void HeadlessWindowBackend::PostClose(NativeHandle window) {
    Queue(WindowEventType::Close, window);
}

void HeadlessWindowBackend::PostResize(NativeHandle window, int32_t width, int32_t height) {
    Queue(WindowEventType::Resized, window, width, height);
}

void HeadlessWindowBackend::PostKey(NativeHandle window, int32_t virtualKey, bool down) {
    Queue(down ? WindowEventType::KeyDown : WindowEventType::KeyUp, window, virtualKey);
}

void HeadlessWindowBackend::PostChar(NativeHandle window, const std::string& character) {
    Queue(WindowEventType::Char, window, 0, 0, character);
}

void HeadlessWindowBackend::PostButton(NativeHandle window, int32_t button, bool down) {
    Queue(down ? WindowEventType::ButtonDown : WindowEventType::ButtonUp, window, button);
}

void HeadlessWindowBackend::PostDropFile(NativeHandle window, const std::string& path) {
    Queue(WindowEventType::DropFile, window, 0, 0, path);
}

void HeadlessWindowBackend::PostSimple(NativeHandle window, WindowEventType type, int32_t value) {
    Queue(type, window, value);
}

WindowSystem* CreateHeadlessWindowSystem(HeadlessWindowBackend*& backend) {
    auto owned = std::make_unique<HeadlessWindowBackend>();
    backend = owned.get();
    return new WindowSystem(std::move(owned));
}

HeadlessWindowBackend::Record* HeadlessWindowBackend::FindMutable(NativeHandle window) {
    for (const auto& record : windows_) {
        if (record->handle == window) {
            return record.get();
        }
    }
    return nullptr;
}

const HeadlessWindowBackend::Record* HeadlessWindowBackend::Find(NativeHandle window) const {
    return const_cast<HeadlessWindowBackend*>(this)->FindMutable(window);
}

std::vector<const HeadlessWindowBackend::Record*> HeadlessWindowBackend::Windows() const {
    std::vector<const Record*> all;
    for (const auto& record : windows_) {
        all.push_back(record.get());
    }
    return all;
}

NativeHandle HeadlessWindowBackend::Create(const char* kind, const char* title, const WindowRect& client,
                                           NativeHandle parent, int32_t id) {
    auto record = std::make_unique<Record>();
    record->handle = nextHandle_++;
    record->kind = kind;
    record->text = title;
    record->parent = parent;
    record->id = id;
    record->rect = client;  // no frames here: outer and client areas agree
    NativeHandle handle = record->handle;
    windows_.push_back(std::move(record));
    return handle;
}

void HeadlessWindowBackend::Destroy(NativeHandle window) {
    // Children go with their parent, as native child windows do.
    std::vector<NativeHandle> children;
    for (const auto& record : windows_) {
        if (record->parent == window) {
            children.push_back(record->handle);
        }
    }
    for (NativeHandle child : children) {
        Destroy(child);
    }
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                  [window](const std::unique_ptr<Record>& r) { return r->handle == window; }),
                   windows_.end());
}

bool HeadlessWindowBackend::PollEvent(WindowEvent& event) {
    ++pollCount_;
    while (!events_.empty()) {
        event = std::move(events_.front());
        events_.pop_front();
        if (event.type == WindowEventType::Resized) {
            Record* record = FindMutable(event.window);
            if (record == nullptr) {
                continue;
            }
            record->rect.right = record->rect.left + event.value;
            record->rect.bottom = record->rect.top + event.value2;
        }
        return true;
    }
    return false;
}

void HeadlessWindowBackend::Move(NativeHandle window, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (Record* record = FindMutable(window)) {
        record->rect = WindowRect{x, y, x + width, y + height};
    }
}

void HeadlessWindowBackend::SetClientSize(NativeHandle window, int32_t width, int32_t height) {
    if (Record* record = FindMutable(window)) {
        record->rect.right = record->rect.left + width;
        record->rect.bottom = record->rect.top + height;
    }
}

WindowRect HeadlessWindowBackend::GetWindowRect(NativeHandle window) {
    const Record* record = Find(window);
    return record != nullptr ? record->rect : WindowRect{};
}

WindowRect HeadlessWindowBackend::GetClientRect(NativeHandle window) {
    const Record* record = Find(window);
    if (record == nullptr) {
        return WindowRect{};
    }
    return WindowRect{0, 0, record->rect.right - record->rect.left, record->rect.bottom - record->rect.top};
}

void HeadlessWindowBackend::Show(NativeHandle window, bool show) {
    if (Record* record = FindMutable(window)) {
        record->visible = show;
    }
}

void HeadlessWindowBackend::Enable(NativeHandle window, bool enable) {
    if (Record* record = FindMutable(window)) {
        record->enabled = enable;
    }
}

void HeadlessWindowBackend::SetFocus(NativeHandle window) {
    for (const auto& record : windows_) {
        record->focused = record->handle == window;
    }
}

void HeadlessWindowBackend::SetText(NativeHandle window, const char* text) {
    if (Record* record = FindMutable(window)) {
        record->text = text;
    }
}

void HeadlessWindowBackend::AppendText(NativeHandle window, const char* text) {
    if (Record* record = FindMutable(window)) {
        record->text += text;
        log_.push_back(std::string("append ") + text);
    }
}

void HeadlessWindowBackend::ScrollTextToTop(NativeHandle window) {
    if (FindMutable(window) != nullptr) {
        log_.push_back("scroll top");
    }
}

void HeadlessWindowBackend::DrawText(NativeHandle window, int32_t x, int32_t y, const char* text,
                                     uint32_t textColour, uint32_t backColour) {
    if (FindMutable(window) == nullptr) {
        return;
    }
    log_.push_back(Format("text %ld %ld %06lx %06lx ", x, y, textColour, backColour) + text);
}

void HeadlessWindowBackend::FillRect(NativeHandle window, const WindowRect& rect, uint32_t colour) {
    if (FindMutable(window) == nullptr) {
        return;
    }
    log_.push_back(Format("fill %ld %ld %ld %ld", rect.left, rect.top, rect.right, rect.bottom) +
                   Format(" %06lx", colour, 0, 0, 0));
}

void HeadlessWindowBackend::SetImeOpen(NativeHandle window, bool open) {
    if (Record* record = FindMutable(window)) {
        record->imeOpen = open;
    }
}

bool HeadlessWindowBackend::IsImeOpen(NativeHandle window) {
    const Record* record = Find(window);
    return record != nullptr && record->imeOpen;
}

void HeadlessWindowBackend::GetCursorPosition(NativeHandle window, int32_t& x, int32_t& y) {
    const Record* record = Find(window);
    x = record != nullptr ? record->cursorX : 0;
    y = record != nullptr ? record->cursorY : 0;
}

void HeadlessWindowBackend::SetCursorPosition(NativeHandle window, int32_t x, int32_t y) {
    if (Record* record = FindMutable(window)) {
        record->cursorX = x;
        record->cursorY = y;
    }
}

void HeadlessWindowBackend::ShowMessageBox(const char* caption, const char* text) {
    messageBoxes_.push_back(MessageBoxRecord{caption, text});
}

}  // namespace mareldon
