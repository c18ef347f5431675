#include "FakePageHost.h"

namespace pagetest {

PageWindow::PageWindow() {
    hwnd_ = platform::CreateMessageWindow(
        "KVTestPage", "", [this](platform::HWND, platform::UINT message, platform::WPARAM w,
                                 platform::LPARAM) -> platform::LRESULT {
            seen_.emplace_back(message, w);
            return 0;
        });
}

PageWindow::~PageWindow() {
    platform::DestroyWindow(hwnd_);
    platform::MSG msg;
    while (platform::PeekMessage(msg, nullptr, 0, 0, platform::PM_REMOVE)) {
    }
}

std::vector<std::pair<platform::UINT, platform::WPARAM>> PageWindow::Take() {
    platform::MSG msg;
    while (platform::PeekMessage(msg, hwnd_, 0, 0, platform::PM_REMOVE)) {
        platform::DispatchMessage(msg);
    }
    return std::exchange(seen_, {});
}

}  // namespace pagetest
