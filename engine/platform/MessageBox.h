#pragma once

namespace mareldon {

// Where message boxes go: the window backend while a window system exists.
class MessageBoxPresenter {
  public:
    virtual ~MessageBoxPresenter() = default;
    // cp932 caption and text, an OK button. Must not block without a display.
    virtual void ShowMessageBox(const char* caption, const char* text) = 0;
};

// Shows a notice through the installed presenter, or prints it to stderr
// when there is none.
void ShowMessageBox(const char* caption, const char* text);

// Installs a presenter (nullptr: stderr); returns the previous one.
MessageBoxPresenter* SetMessageBoxPresenter(MessageBoxPresenter* presenter);

// The stderr form: "caption: text" in UTF-8.
void PrintMessageBox(const char* caption, const char* text);

}  // namespace mareldon
