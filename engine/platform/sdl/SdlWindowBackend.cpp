#include "engine/platform/sdl/SdlWindowBackend.h"

#include "engine/core/Cp932.h"
#include "engine/core/Log.h"
#include "engine/platform/Window.h"
#include "engine/platform/WindowSystem.h"

#include <SDL.h>

#include <cstring>

namespace mareldon {

namespace {

SDL_Window* AsSdl(NativeHandle window) {
    return reinterpret_cast<SDL_Window*>(window);
}
NativeHandle AsHandle(SDL_Window* window) {
    return reinterpret_cast<NativeHandle>(window);
}
NativeHandle FromId(uint32_t id) {
    return AsHandle(SDL_GetWindowFromID(id));
}

// Bytes of the UTF-8 character that starts with lead.
size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

// Frame sizes, or zeros where the window manager does not say (Wayland).
void Borders(SDL_Window* window, int& top, int& left, int& bottom, int& right) {
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) {
        top = left = bottom = right = 0;
    }
}

}  // namespace

SdlWindowBackend::SdlWindowBackend() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        LOG_ERROR("window", "no video: %s", SDL_GetError());
        return;
    }
    videoReady_ = true;
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
}

SdlWindowBackend::~SdlWindowBackend() {
    if (videoReady_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

NativeHandle SdlWindowBackend::Create(const char* kind, const char* title, const WindowRect& client,
                                      NativeHandle, int32_t) {
    if (!videoReady_ || std::strcmp(kind, "TOPWINDOW") != 0) {
        return 0;  // SDL has no child windows or native controls
    }
    // The pixel format is fixed when the window is made, before the graphics
    // device exists: ask for what it needs (depth and stencil, double buffer).
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    const std::string utf8 = Cp932ToUtf8(title);
    const int width = std::max(1, client.right - client.left);
    const int height = std::max(1, client.bottom - client.top);
    const uint32_t flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
    SDL_Window* window = nullptr;
    for (int attempt = 0; attempt < 2 && window == nullptr; ++attempt) {
        window = SDL_CreateWindow(utf8.c_str(), client.left, client.top, width, height, flags);
    }
    if (window == nullptr) {
        LOG_ERROR("window", "cannot create the window \"%s\": %s", utf8.c_str(), SDL_GetError());
        return 0;
    }
    return AsHandle(window);
}

void SdlWindowBackend::Destroy(NativeHandle window) {
    if (window == pendingTextWindow_) {
        pendingText_.clear();
    }
    SDL_DestroyWindow(AsSdl(window));
}

bool SdlWindowBackend::PollEvent(WindowEvent& event) {
    if (!videoReady_) {
        return false;
    }
    for (;;) {
        // A text input is handed out one character at a time, as the game's
        // character handler expects whole characters (not bytes as under Win32).
        while (!pendingText_.empty()) {
            const size_t length =
                std::min(Utf8Length(static_cast<unsigned char>(pendingText_[0])), pendingText_.size());
            const std::string utf8 = pendingText_.substr(0, length);
            pendingText_.erase(0, length);
            std::string cp932 = Utf8ToCp932(utf8);
            if (cp932 == "?" && utf8 != "?") {
                continue;  // no cp932 form: dropped
            }
            event = WindowEvent{};
            event.type = WindowEventType::Char;
            event.window = pendingTextWindow_;
            event.text = std::move(cp932);
            return true;
        }
        SDL_Event sdl;
        if (SDL_PollEvent(&sdl) == 0) {
            return false;
        }
        event = WindowEvent{};
        if (Translate(&sdl, event)) {
            return true;
        }
    }
}

bool SdlWindowBackend::Translate(const void* raw, WindowEvent& event) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    switch (e.type) {
        case SDL_QUIT:
            event.type = WindowEventType::QuitRequest;
            return true;
        case SDL_WINDOWEVENT:
            event.window = FromId(e.window.windowID);
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    event.type = WindowEventType::Close;
                    return true;
                case SDL_WINDOWEVENT_RESIZED:
                    event.type = WindowEventType::Resized;
                    event.value = e.window.data1;
                    event.value2 = e.window.data2;
                    return true;
                case SDL_WINDOWEVENT_EXPOSED:
                    event.type = WindowEventType::Paint;
                    return true;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    event.type = WindowEventType::Activate;
                    return true;
                default:
                    return false;
            }
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.type = e.type == SDL_KEYDOWN ? WindowEventType::KeyDown : WindowEventType::KeyUp;
            event.window = FromId(e.key.windowID);
            event.value = VirtualKeyFromSdl(e.key.keysym.sym);
            return event.value != 0;
        case SDL_TEXTINPUT:
            pendingText_ = e.text.text;
            pendingTextWindow_ = FromId(e.text.windowID);
            return false;
        case SDL_TEXTEDITING:
            event.type = WindowEventType::Composition;
            event.window = FromId(e.edit.windowID);
            event.text = Utf8ToCp932(e.edit.text);
            event.attributes.assign(event.text.size(), '\0');  // SDL gives no attributes
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) {
                return false;
            }
            event.type =
                e.type == SDL_MOUSEBUTTONDOWN ? WindowEventType::ButtonDown : WindowEventType::ButtonUp;
            event.window = FromId(e.button.windowID);
            event.value = e.button.button == SDL_BUTTON_LEFT ? 0 : 1;
            return true;
        case SDL_DROPFILE:
            event.type = WindowEventType::DropFile;
            event.window = FromId(e.drop.windowID);
            event.text = Utf8ToCp932(e.drop.file != nullptr ? e.drop.file : "");
            SDL_free(e.drop.file);
            return true;
        default:
            return false;
    }
}

void SdlWindowBackend::Move(NativeHandle window, int32_t x, int32_t y, int32_t width, int32_t height) {
    int top, left, bottom, right;
    Borders(AsSdl(window), top, left, bottom, right);
    SDL_SetWindowPosition(AsSdl(window), x + left, y + top);
    SDL_SetWindowSize(AsSdl(window), std::max(1, width - left - right), std::max(1, height - top - bottom));
}

void SdlWindowBackend::SetClientSize(NativeHandle window, int32_t width, int32_t height) {
    SDL_SetWindowSize(AsSdl(window), std::max(1, width), std::max(1, height));
}

WindowRect SdlWindowBackend::GetWindowRect(NativeHandle window) {
    int x = 0, y = 0, w = 0, h = 0, top, left, bottom, right;
    SDL_GetWindowPosition(AsSdl(window), &x, &y);
    SDL_GetWindowSize(AsSdl(window), &w, &h);
    Borders(AsSdl(window), top, left, bottom, right);
    return WindowRect{x - left, y - top, x + w + right, y + h + bottom};
}

WindowRect SdlWindowBackend::GetClientRect(NativeHandle window) {
    int w = 0, h = 0;
    SDL_GetWindowSize(AsSdl(window), &w, &h);
    return WindowRect{0, 0, w, h};
}

void SdlWindowBackend::Show(NativeHandle window, bool show) {
    if (show) {
        SDL_ShowWindow(AsSdl(window));
    } else {
        SDL_HideWindow(AsSdl(window));
    }
}

void SdlWindowBackend::SetFocus(NativeHandle window) {
    SDL_RaiseWindow(AsSdl(window));
}

void SdlWindowBackend::SetText(NativeHandle window, const char* text) {
    SDL_SetWindowTitle(AsSdl(window), Cp932ToUtf8(text).c_str());
}

void SdlWindowBackend::ShowCursor(bool show) {
    if (videoReady_) {
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }
}

bool SdlWindowBackend::IsCursorShown() {
    return videoReady_ && SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

void SdlWindowBackend::GetCursorPosition(NativeHandle window, int32_t& x, int32_t& y) {
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(AsSdl(window), &wx, &wy);
    x = gx - wx;
    y = gy - wy;
}

void SdlWindowBackend::SetCursorPosition(NativeHandle window, int32_t x, int32_t y) {
    SDL_WarpMouseInWindow(AsSdl(window), x, y);
}

void SdlWindowBackend::ShowMessageBox(const char* caption, const char* text) {
    const std::string utf8Caption = Cp932ToUtf8(caption);
    const std::string utf8Text = Cp932ToUtf8(text);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, utf8Caption.c_str(), utf8Text.c_str(), nullptr) != 0) {
        PrintMessageBox(caption, text);  // no display to show it on
    }
}

int32_t SdlWindowBackend::VirtualKeyFromSdl(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return 0x70 + (key - SDLK_F1);
    }
    if (key >= SDLK_F13 && key <= SDLK_F24) {
        return 0x7C + (key - SDLK_F13);
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        return 0x61 + (key - SDLK_KP_1);
    }
    switch (key) {
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_TAB:
            return 0x09;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 0x0D;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 0x10;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 0x11;
        case SDLK_LALT:
        case SDLK_RALT:
            return 0x12;
        case SDLK_PAUSE:
            return 0x13;
        case SDLK_CAPSLOCK:
            return 0x14;
        case SDLK_ESCAPE:
            return 0x1B;
        case SDLK_SPACE:
            return 0x20;
        case SDLK_PAGEUP:
            return 0x21;
        case SDLK_PAGEDOWN:
            return 0x22;
        case SDLK_END:
            return 0x23;
        case SDLK_HOME:
            return 0x24;
        case SDLK_LEFT:
            return 0x25;
        case SDLK_UP:
            return 0x26;
        case SDLK_RIGHT:
            return 0x27;
        case SDLK_DOWN:
            return 0x28;
        case SDLK_INSERT:
            return 0x2D;
        case SDLK_DELETE:
            return 0x2E;
        case SDLK_KP_0:
            return 0x60;
        case SDLK_KP_MULTIPLY:
            return 0x6A;
        case SDLK_KP_PLUS:
            return 0x6B;
        case SDLK_KP_MINUS:
            return 0x6D;
        case SDLK_KP_PERIOD:
            return 0x6E;
        case SDLK_KP_DIVIDE:
            return 0x6F;
        case SDLK_MINUS:
            return 0xBD;
        case SDLK_EQUALS:
            return 0xBB;
        case SDLK_COMMA:
            return 0xBC;
        case SDLK_PERIOD:
            return 0xBE;
        case SDLK_SLASH:
            return 0xBF;
        case SDLK_SEMICOLON:
            return 0xBA;
        case SDLK_BACKQUOTE:
            return 0xC0;
        case SDLK_LEFTBRACKET:
            return 0xDB;
        case SDLK_BACKSLASH:
            return 0xDC;
        case SDLK_RIGHTBRACKET:
            return 0xDD;
        case SDLK_QUOTE:
            return 0xDE;
        case SDLK_PRINTSCREEN:
            return 0x2C;
        case SDLK_LGUI:
            return 0x5B;
        case SDLK_RGUI:
            return 0x5C;
        case SDLK_APPLICATION:
            return 0x5D;
        case SDLK_NUMLOCKCLEAR:
            return 0x90;
        case SDLK_SCROLLLOCK:
            return 0x91;
        default:
            return 0;
    }
}

SDL_Window* GetSdlWindow(const Window& window) {
    if (window.native == nullptr || window.system == nullptr ||
        dynamic_cast<SdlWindowBackend*>(&window.system->Backend()) == nullptr) {
        return nullptr;
    }
    return AsSdl(window.native->handle);
}

WindowSystem* CreateWindowSystem() {
    return new WindowSystem(std::make_unique<SdlWindowBackend>());
}

}  // namespace mareldon
