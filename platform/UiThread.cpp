#include "platform/UiThread.h"

#include <future>

#include "platform/MessageQueue.h"

namespace platform {

bool UiThread::CreateThread() {
    if (thread_.IsValid()) return false;
    // The new thread waits until its handle and id are stored here, so that
    // it never reads them half written, nor deletes itself before.
    std::promise<void> stored;
    auto go = stored.get_future().share();
    thread_ = Thread::Start([this, go] {
        go.wait();
        return Main();
    });
    if (!thread_.IsValid()) return false;
    threadId_ = thread_.id();
    stored.set_value();
    return true;
}

DWORD UiThread::Main() {
    const int code = InitInstance() ? Run() : ExitInstance();
    if (autoDelete_) delete this;
    return static_cast<DWORD>(code);
}

int UiThread::Run() {
    {
        // This loop looks at the queue before every wait: what the thread
        // posts to itself meanwhile needs no wake-up.
        const auto queue = detail::CurrentQueue();
        queue->SetOwnerPumps(true);
        while (PumpMessage()) {
        }
        queue->SetOwnerPumps(false);
    }
    return ExitInstance();
}

bool UiThread::PumpMessage() {
    MSG msg;
    if (!GetMessage(msg)) {
        quitCode_ = static_cast<int>(msg.wParam);
        PreTranslateMessage(msg);
        return false;
    }
    if (!PreTranslateMessage(msg)) DispatchMessage(msg);
    return true;
}

bool UiThread::PreTranslateMessage(MSG&) {
    return false;
}

int UiThread::ExitInstance() {
    return quitCode_;
}

bool UiThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return threadId_ != 0 && platform::PostThreadMessage(threadId_, message, wParam, lParam);
}

}  // namespace platform
