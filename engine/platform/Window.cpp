#include "engine/platform/Window.h"

#include "engine/platform/WindowSystem.h"

namespace mareldon {

Window::Window(Window* parent, const String& kind, const String& title, int32_t id,
               const WindowLayout& layout, uint32_t flags)
    : layout(layout) {
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

int32_t Window::Edge(float factor, int32_t offset, bool horizontal) const {
    int32_t size = 0;
    const Window* owner = static_cast<const Window*>(parent);
    if (owner != nullptr && system != nullptr) {
        const WindowRect client = system->GetClientRect(owner);
        size = horizontal ? client.right - client.left : client.bottom - client.top;
    }
    return TruncateToInt32(static_cast<float>(size) * factor) + offset;
}

int32_t Window::LayoutLeft() const {
    return Edge(layout.leftFactor, layout.leftOffset, true);
}
int32_t Window::LayoutTop() const {
    return Edge(layout.topFactor, layout.topOffset, false);
}
int32_t Window::LayoutRight() const {
    return Edge(layout.rightFactor, layout.rightOffset, true);
}
int32_t Window::LayoutBottom() const {
    return Edge(layout.bottomFactor, layout.bottomOffset, false);
}

void Window::Show(bool show) {
    if (system != nullptr) {
        system->Show(this, show);
    }
}

void Window::ShowCursor(bool show) {
    if (system != nullptr) {
        system->ShowCursor(this, show);
    }
}

void Window::SetFocus() {
    if (system != nullptr) {
        system->SetFocus(this);
    }
}

void Window::GetCursorPosition(Vec3& position) const {
    position = Vec3{0.0f, 0.0f, 0.0f};
    if (system != nullptr) {
        system->GetCursorPosition(this, position);
    }
}

}  // namespace mareldon
