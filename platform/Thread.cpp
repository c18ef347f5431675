#include "platform/Thread.h"

#include <future>
#include <system_error>

#include "platform/MessageQueue.h"
#include "platform/ThreadState.h"

namespace platform {

Thread::State::~State() {
    // The last handle is gone: a thread that has finished is joined, one
    // that still runs goes on by itself.
    if (!thread.joinable()) return;
    if (thread.get_id() != std::this_thread::get_id() && end->ended.IsSignalled()) {
        thread.join();
    } else {
        thread.detach();
    }
}

namespace {

void RunBody(ThreadEnd& end, std::function<DWORD()>& body) {
    const DWORD code = body();
    // Body and captures go before the end is reported, so that a waiter
    // sees the thread's objects released.
    body = nullptr;
    detail::EndCurrentQueue();
    end.exitCode = code;
    end.ended.Set();
}

}  // namespace

Thread Thread::Start(std::function<DWORD()> body) {
    Thread result;
    result.state_ = std::make_shared<State>();
    // Shared with the new thread, which may still be inside set_value when
    // this function has its answer and returns.
    auto started = std::make_shared<std::promise<DWORD>>();
    auto id = started->get_future();
    try {
        result.state_->thread = std::thread(
            [end = result.state_->end, body = std::move(body), started]() mutable {
                detail::CurrentQueue();
                end->id.store(GetCurrentThreadId());
                started->set_value(end->id.load());
                RunBody(*end, body);
            });
    } catch (const std::system_error&) {
        return Thread();
    }
    id.wait();
    return result;
}

Thread Thread::StartWorker(std::function<DWORD()> body) {
    Thread result;
    result.state_ = std::make_shared<State>();
    try {
        result.state_->thread = std::thread([end = result.state_->end, body = std::move(body)]() mutable {
            end->id.store(GetCurrentThreadId());
            RunBody(*end, body);
        });
    } catch (const std::system_error&) {
        return Thread();
    }
    return result;
}

DWORD Thread::id() const {
    return state_ ? state_->end->id.load() : 0;
}

bool Thread::IsCurrent() const {
    return state_ && state_->thread.get_id() == std::this_thread::get_id();
}

bool Thread::IsRunning() const {
    return state_ && !state_->ended.IsSignalled();
}

bool Thread::Wait(DWORD ms) const {
    return state_ && WaitForSingleObject(*this, ms) == WAIT_OBJECT_0;
}

void Thread::Join() const {
    if (!state_) return;
    std::lock_guard lock(state_->joinMutex);
    if (state_->thread.joinable() && state_->thread.get_id() != std::this_thread::get_id()) {
        state_->thread.join();
    }
}

DWORD Thread::ExitCode() const {
    return state_ ? state_->end->exitCode.load() : STILL_ACTIVE;
}

}  // namespace platform
