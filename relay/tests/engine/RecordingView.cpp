#include "engine/RecordingView.h"

#include <algorithm>
#include <future>

namespace srvtest {

RecordingView::RecordingView() {
    std::promise<platform::HWND> made;
    auto window = made.get_future();
    thread_ = platform::Thread::Start([this, &made]() -> platform::DWORD {
        const platform::HWND hwnd = platform::CreateMessageWindow(
            "RecordingView", "view", [this](platform::HWND h, platform::UINT m, platform::WPARAM w, platform::LPARAM l) {
                if (m != platform::WM_DESTROY) {
                    std::lock_guard lock(mutex_);
                    messages_.push_back({m, w, l});
                    changed_.notify_all();
                }
                return platform::DefWindowProc(h, m, w, l);
            });
        made.set_value(hwnd);
        platform::MSG msg;
        while (platform::GetMessage(msg)) platform::DispatchMessage(msg);
        return 0;
    });
    hwnd_ = window.get();
}

RecordingView::~RecordingView() {
    platform::PostThreadMessage(thread_.id(), platform::WM_QUIT, 0, 0);
    thread_.Join();
}

std::vector<ViewMessage> RecordingView::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

int RecordingView::Count(platform::UINT message) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(messages_.begin(), messages_.end(),
                                          [message](const ViewMessage& m) { return m.message == message; }));
}

bool RecordingView::WaitFor(platform::UINT message, int count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] {
        return std::count_if(messages_.begin(), messages_.end(),
                             [message](const ViewMessage& m) { return m.message == message; }) >= count;
    });
}

void RecordingView::Clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
}

}  // namespace srvtest
