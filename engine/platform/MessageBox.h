#pragma once

namespace mareldon {

// Where message boxes go: the window system's backend, handed to whoever may
// have to show one.
class MessageBoxPresenter {
  public:
    virtual ~MessageBoxPresenter() = default;
    // cp932 caption and text, an OK button. Must not block without a display.
    virtual void ShowMessageBox(const char* caption, const char* text) = 0;
};

// Shows a notice through the presenter, or prints it to stderr when there is none.
void ShowMessageBox(MessageBoxPresenter* presenter, const char* caption, const char* text);

// The stderr form: "caption: text" in UTF-8.
void PrintMessageBox(const char* caption, const char* text);

}  // namespace mareldon
