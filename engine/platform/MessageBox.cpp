#include "engine/platform/MessageBox.h"

#include <cstdio>

#include "engine/core/Cp932.h"

namespace mareldon {

void ShowMessageBox(MessageBoxPresenter* presenter, const char* caption, const char* text) {
    if (presenter != nullptr) {
        presenter->ShowMessageBox(caption, text);
    } else {
        PrintMessageBox(caption, text);
    }
}

void PrintMessageBox(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", Cp932ToUtf8(caption).c_str(), Cp932ToUtf8(text).c_str());
}

}  // namespace mareldon
