#include "engine/platform/Window.h"

#include "engine/platform/WindowSystem.h"

namespace mareldon {

Window::Window(Window* parent, const String& kind, const String& title, int32_t id,
               const WindowLayout& layout, uint32_t flags)
    : leftFactor(layout.leftFactor),
      leftOffset(layout.leftOffset),
      topFactor(layout.topFactor),
      topOffset(layout.topOffset),
      rightFactor(layout.rightFactor),
      rightOffset(layout.rightOffset),
      bottomFactor(layout.bottomFactor),
      bottomOffset(layout.bottomOffset) {
    Attach(parent, 0);
    // Taken from the parent node rather than its native record, so a child of a
    // window whose native window is gone still knows its system.
    system = parent != nullptr ? parent->system : nullptr;
    if (system != nullptr) {
        system->CreateNativeWindow(this, kind, title, id, layout, flags);
    }
}

Window::~Window() {
    if (native != nullptr && system != this) {
        system->DestroyNativeWindow(this);
    }
}

void Window::ParentClientSize(int32_t& width, int32_t& height) const {
    width = 0;
    height = 0;
    const Window* owner = static_cast<const Window*>(parent);
    if (owner != nullptr && system != nullptr && owner->native != nullptr && owner->native->handle != 0) {
        WindowRect client = system->GetClientRect(owner);
        width = client.right - client.left;
        height = client.bottom - client.top;
    }
}

int32_t Window::LayoutLeft() const {
    int32_t width, height;
    ParentClientSize(width, height);
    return static_cast<int32_t>(static_cast<float>(width) * leftFactor) + leftOffset;
}

int32_t Window::LayoutTop() const {
    int32_t width, height;
    ParentClientSize(width, height);
    return static_cast<int32_t>(static_cast<float>(height) * topFactor) + topOffset;
}

int32_t Window::LayoutRight() const {
    int32_t width, height;
    ParentClientSize(width, height);
    return static_cast<int32_t>(static_cast<float>(width) * rightFactor) + rightOffset;
}

int32_t Window::LayoutBottom() const {
    int32_t width, height;
    ParentClientSize(width, height);
    return static_cast<int32_t>(static_cast<float>(height) * bottomFactor) + bottomOffset;
}

void Window::Show(bool show) {
    if (system != nullptr)
        system->Show(this, show);
}

void Window::ShowCursor(bool show) {
    if (system != nullptr)
        system->ShowCursor(this, show);
}

void Window::SetFocus() {
    if (system != nullptr)
        system->SetFocus(this);
}

void Window::GetCursorPosition(Vec3& position) const {
    position = Vec3{0.0f, 0.0f, 0.0f};
    if (system != nullptr)
        system->GetCursorPosition(this, position);
}

}  // namespace mareldon
