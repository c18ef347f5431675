#pragma once
// A stand-in for the control panel's main window: a message-only window on
// a thread of its own that records every message posted to it.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/Messages.h"
#include "platform/Thread.h"

namespace srvtest {

struct ViewMessage {
    platform::UINT message = 0;
    platform::WPARAM wParam = 0;
    platform::LPARAM lParam = 0;
};

class RecordingView {
public:
    RecordingView();
    ~RecordingView();
    RecordingView(const RecordingView&) = delete;
    RecordingView& operator=(const RecordingView&) = delete;

    platform::HWND hwnd() const { return hwnd_; }
    std::vector<ViewMessage> Messages() const;
    // How many messages of that number arrived so far.
    int Count(platform::UINT message) const;
    // Waits (bounded) until count messages of that number arrived.
    bool WaitFor(platform::UINT message, int count, std::chrono::milliseconds limit) const;
    void Clear();

private:
    platform::Thread thread_;
    platform::HWND hwnd_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<ViewMessage> messages_;
};

}  // namespace srvtest
