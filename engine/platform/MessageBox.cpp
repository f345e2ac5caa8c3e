#include "engine/platform/MessageBox.h"

#include "engine/platform/Cp932.h"

#include <atomic>
#include <cstdio>

namespace mareldon {

namespace {
std::atomic<MessageBoxPresenter*> currentPresenter{nullptr};
}  // namespace

void ShowMessageBox(const char* caption, const char* text) {
    MessageBoxPresenter* presenter = currentPresenter.load(std::memory_order_acquire);
    if (presenter != nullptr) {
        presenter->ShowMessageBox(caption, text);
    } else {
        PrintMessageBox(caption, text);
    }
}

MessageBoxPresenter* SetMessageBoxPresenter(MessageBoxPresenter* presenter) {
    return currentPresenter.exchange(presenter, std::memory_order_acq_rel);
}

void PrintMessageBox(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", Cp932ToUtf8(caption).c_str(), Cp932ToUtf8(text).c_str());
}

}  // namespace mareldon
