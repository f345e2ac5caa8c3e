#include "engine/platform/WindowSystem.h"

#include "engine/core/Clock.h"

#include <algorithm>
#include <cstring>

namespace mareldon {

namespace {

bool IsKnownKind(const String& kind) {
    static const char* const kinds[] = {"TOPWINDOW", "NORMALWINDOW", "EDIT", "STATICTEXT", "BUTTON"};
    for (const char* known : kinds) {
        if (kind.Equals(known)) {
            return true;
        }
    }
    return false;
}

constexpr uint32_t kMinimumTimerMs = 10;

// The native window of a node; 0 when it has none (every operation then does nothing).
NativeHandle HandleOf(const Window* window) {
    return window->native != nullptr ? window->native->handle : 0;
}

}  // namespace

WindowSystem::WindowSystem(std::unique_ptr<NativeWindowBackend> backend)
    : backend_(std::move(backend)), rootRecord_(this, this, 0) {
    system = this;
    native = &rootRecord_;
    layout.rightFactor = 1.0f;
    layout.bottomFactor = 1.0f;
}

WindowSystem::~WindowSystem() {
    // The windows call back into the system as they go, so they go first.
    DeleteChildren();
    native = nullptr;
}

NativeWindow* WindowSystem::FindRecord(NativeHandle handle) const {
    if (handle == 0) {
        return nullptr;
    }
    for (NativeWindow* record : records_) {
        if (record->handle == handle) {
            return record;
        }
    }
    return nullptr;
}

bool WindowSystem::CreateNativeWindow(Window* window, const String& kind, const String& title, int32_t id,
                                      const WindowLayout&, uint32_t) {
    if (window == nullptr || window->native != nullptr || !IsKnownKind(kind)) {
        return false;  // an unknown kind makes no native window
    }
    const Window* owner = static_cast<const Window*>(window->parent);
    const NativeHandle parentHandle = owner != nullptr ? HandleOf(owner) : 0;
    if (parentHandle == 0 && !kind.Equals("TOPWINDOW")) {
        return false;  // a child kind needs a native parent
    }
    const WindowRect rect{window->LayoutLeft(), window->LayoutTop(), window->LayoutRight(),
                          window->LayoutBottom()};
    const NativeHandle handle = backend_->Create(kind.Text(), title.Text(), rect, parentHandle, id);
    if (handle == 0) {
        return false;
    }
    auto* record = new NativeWindow(this, window, handle);
    record->imePresent = backend_->HasIme();
    records_.push_back(record);
    window->native = record;
    ++windowCount;
    window->OnCreate();
    return true;
}

void WindowSystem::ReleaseNative(Window* window) {
    NativeWindow* record = window->native;
    if (record == nullptr || record == &rootRecord_) {
        return;
    }
    window->OnDestroy();
    --windowCount;
    records_.erase(std::remove(records_.begin(), records_.end(), record), records_.end());
    window->native = nullptr;
    delete record;
    // Native child windows go with their parent, after it.
    if (TreeNode* child = window->firstChild) {
        const int32_t count = window->childCount;
        for (int32_t i = 0; i < count; ++i, child = child->next) {
            ReleaseNative(static_cast<Window*>(child));
        }
    }
}

void WindowSystem::DestroyNativeWindow(Window* window) {
    if (window == nullptr || window->native == nullptr || window->native == &rootRecord_) {
        return;
    }
    const NativeHandle handle = window->native->handle;
    ReleaseNative(window);
    backend_->Destroy(handle);
}

void WindowSystem::MoveTo(Window* window, int32_t x, int32_t y, int32_t width, int32_t height) {
    const NativeHandle handle = HandleOf(window);
    const WindowRect before = backend_->GetClientRect(handle);
    backend_->Move(handle, x, y, width, height);
    ResizedIfChanged(window, before);
}

void WindowSystem::ResizedIfChanged(Window* window, const WindowRect& before) {
    const WindowRect after = backend_->GetClientRect(HandleOf(window));
    if (after.right != before.right || after.bottom != before.bottom) {
        Resized(window);
    }
}

void WindowSystem::Resized(Window* window) {
    if (TreeNode* child = window->firstChild) {
        const int32_t count = window->childCount;
        for (int32_t i = 0; i < count; ++i, child = child->next) {
            Window* w = static_cast<Window*>(child);
            if (w->native == nullptr) {
                continue;
            }
            const int32_t left = w->LayoutLeft();
            const int32_t top = w->LayoutTop();
            MoveTo(w, left, top, w->LayoutRight() - left, w->LayoutBottom() - top);
        }
    }
    if (window->native != nullptr) {
        window->OnRedraw();
    }
}

void WindowSystem::SetPosition(Window* window, int32_t x, int32_t y) {
    if (const NativeHandle handle = HandleOf(window)) {
        const WindowRect rect = backend_->GetWindowRect(handle);
        MoveTo(window, x, y, rect.right - rect.left, rect.bottom - rect.top);
    }
}

void WindowSystem::SetSize(Window* window, int32_t width, int32_t height) {
    if (const NativeHandle handle = HandleOf(window)) {
        const WindowRect rect = backend_->GetWindowRect(handle);
        MoveTo(window, rect.left, rect.top, width, height);
    }
}

void WindowSystem::SetClientSize(Window* window, int32_t width, int32_t height) {
    const NativeHandle handle = HandleOf(window);
    if (handle == 0) {
        return;
    }
    if (window->parent != this) {
        SetSize(window, width, height);
        return;
    }
    // A top-level window: the backend adds its own frame.
    const WindowRect before = backend_->GetClientRect(handle);
    backend_->SetClientSize(handle, width, height);
    ResizedIfChanged(window, before);
}

void WindowSystem::Show(Window* window, bool show) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->Show(handle, show);
    }
}

WindowRect WindowSystem::GetWindowRect(Window* window) {
    const NativeHandle handle = HandleOf(window);
    return handle != 0 ? backend_->GetWindowRect(handle) : WindowRect{};
}

WindowRect WindowSystem::GetClientRect(const Window* window) {
    const NativeHandle handle = HandleOf(window);
    return handle != 0 ? backend_->GetClientRect(handle) : WindowRect{};
}

void WindowSystem::DrawText(Window* window, int32_t x, int32_t y, const String& text, WindowColour textColour,
                            WindowColour backColour) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->DrawText(handle, x, y, text.Text(), textColour.Native(), backColour.Native());
    }
}

void WindowSystem::FillRect(Window* window, int32_t left, int32_t top, int32_t right, int32_t bottom,
                            WindowColour colour) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->FillRect(handle, WindowRect{left, top, right, bottom}, colour.Native());
    }
}

void WindowSystem::SetImeOpen(Window* window, bool open) {
    const NativeHandle handle = HandleOf(window);
    if (handle != 0 && window->native->imePresent) {
        backend_->SetImeOpen(handle, open);
    }
}

bool WindowSystem::IsImeOpen(Window* window) {
    const NativeHandle handle = HandleOf(window);
    return handle != 0 && window->native->imePresent && backend_->IsImeOpen(handle);
}

void WindowSystem::ShowCursor(Window* window, bool show) {
    // One step towards the requested state, never a second hide or show.
    if (HandleOf(window) != 0 && backend_->IsCursorShown() != show) {
        backend_->ShowCursor(show);
    }
}

bool WindowSystem::IsCursorShown(Window* window) {
    return HandleOf(window) != 0 && backend_->IsCursorShown();
}

void WindowSystem::AppendText(Window* window, const String& text) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->AppendText(handle, text.Text());
    }
}

void WindowSystem::SetText(Window* window, const String& text) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->SetText(handle, text.Text());
    }
}

void WindowSystem::ScrollTextToTop(Window* window) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->ScrollTextToTop(handle);
    }
}

void WindowSystem::StartTimer(Window* window, float seconds) {
    if (HandleOf(window) == 0) {
        return;
    }
    NativeWindow* record = window->native;
    const int32_t ms = TruncateToInt32(seconds * 1000.0f);
    record->timerInterval = std::max(static_cast<uint32_t>(std::max(ms, 0)), kMinimumTimerMs);
    record->timerDue = TickCount() + record->timerInterval;
    record->timerActive = true;
}

void WindowSystem::StopTimer(Window* window) {
    if (HandleOf(window) != 0) {
        window->native->timerActive = false;
    }
}

void WindowSystem::SetFocus(Window* window) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->SetFocus(handle);
    }
}

void WindowSystem::GetCursorPosition(const Window* window, Vec3& position) {
    position = Vec3{0.0f, 0.0f, 0.0f};
    if (const NativeHandle handle = HandleOf(window)) {
        int32_t x = 0, y = 0;
        backend_->GetCursorPosition(handle, x, y);
        position.x = static_cast<float>(x);
        position.y = static_cast<float>(y);
    }
}

void WindowSystem::SetCursorPosition(Window* window, const Vec3& position) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->SetCursorPosition(handle, TruncateToInt32(position.x), TruncateToInt32(position.y));
    }
}

void WindowSystem::EnableWindow(Window* window, bool enable) {
    if (const NativeHandle handle = HandleOf(window)) {
        backend_->Enable(handle, enable);
    }
}

void WindowSystem::RunDueTimers() {
    // Handlers may destroy windows: the due ones are noted first and each is looked up
    // again before its call. The list keeps its storage, so a pump allocates nothing.
    const uint32_t now = TickCount();
    dueTimers_.clear();
    for (NativeWindow* record : records_) {
        if (record->timerActive && static_cast<int32_t>(now - record->timerDue) >= 0) {
            dueTimers_.push_back(record);
        }
    }
    for (size_t i = 0; i < dueTimers_.size(); ++i) {
        NativeWindow* candidate = dueTimers_[i];
        if (std::find(records_.begin(), records_.end(), candidate) == records_.end() ||
            !candidate->timerActive) {
            continue;
        }
        candidate->timerDue = now + candidate->timerInterval;
        candidate->window->OnTimer();
    }
}

void WindowSystem::Dispatch(const WindowEvent& event) {
    if (event.type == WindowEventType::QuitRequest) {
        // As if every window had been closed.
        while (!records_.empty()) {
            DestroyNativeWindow(records_.front()->window);
        }
        return;
    }
    NativeWindow* record = FindRecord(event.window);
    if (record == nullptr) {
        return;
    }
    Window* window = record->window;
    switch (event.type) {
        case WindowEventType::Close:
            DestroyNativeWindow(window);
            break;
        case WindowEventType::Resized:
            Resized(window);
            break;
        case WindowEventType::Paint:
            window->OnRedraw();
            break;
        case WindowEventType::Activate:
            window->OnActivate();
            break;
        case WindowEventType::KeyDown:
            if (window->keySink != nullptr) {
                window->keySink->OnKeyDown(event.value);
            }
            break;
        case WindowEventType::KeyUp:
            if (window->keySink != nullptr) {
                window->keySink->OnKeyUp(event.value);
            }
            break;
        case WindowEventType::Char:
            if (window->keySink != nullptr) {
                window->keySink->OnChar(String(event.text.c_str()));
            }
            break;
        case WindowEventType::Composition:
            if (window->keySink != nullptr) {
                std::string attributes = event.attributes;
                attributes.resize(event.text.size(), '\0');
                window->keySink->OnComposition(String(event.text.c_str()),
                                               reinterpret_cast<const uint8_t*>(attributes.data()),
                                               static_cast<uint32_t>(attributes.size()));
            }
            break;
        case WindowEventType::ButtonDown:
            if (window->mouseSink != nullptr) {
                window->mouseSink->OnButtonDown(event.value);
            }
            break;
        case WindowEventType::ButtonUp:
            if (window->mouseSink != nullptr) {
                window->mouseSink->OnButtonUp(event.value);
            }
            break;
        case WindowEventType::DropFile:
            window->OnDropFile(String(event.text.c_str()));
            break;
        case WindowEventType::CopyData:
            window->OnCopyData(static_cast<uint32_t>(event.text.size()), event.text.data());
            break;
        case WindowEventType::Command:
            if (!window->OnCommand(event.value)) {
                DestroyNativeWindow(window);
            }
            break;
        case WindowEventType::QuitRequest:
            break;
    }
}

bool WindowSystem::Pump() {
    if (quitReceived) {
        return false;
    }
    WindowEvent event;
    for (;;) {
        if (windowCount == 0) {
            quitPosted_ = true;
        }
        if (backend_->PollEvent(event)) {
            Dispatch(event);
            continue;
        }
        RunDueTimers();
        if (quitPosted_) {
            quitReceived = true;
        }
        break;
    }
    return !quitReceived;
}

}  // namespace mareldon
