#include "platform/Thread.h"

#include <pthread.h>

#include <future>
#include <memory>

#include "platform/MessageQueue.h"
#include "platform/ThreadState.h"

namespace platform {

namespace {

// A worker's stack: its calls are bounded socket steps, the pool's SQL and
// the resolver. Small stacks stay in the C library's cache of stacks, so
// that starting a worker maps no memory.
constexpr std::size_t kWorkerStackSize = 512 * 1024;

struct Launch {
    std::shared_ptr<ThreadEnd> end;
    std::function<DWORD()> body;
    // Set for Start: the starter waits until the queue exists.
    std::shared_ptr<std::promise<void>> started;
};

void* Run(void* argument) {
    std::unique_ptr<Launch> launch(static_cast<Launch*>(argument));
    ThreadEnd& end = *launch->end;
    if (launch->started) detail::CurrentQueue();
    end.id.store(GetCurrentThreadId());
    if (launch->started) launch->started->set_value();
    const DWORD code = launch->body();
    // Body and captures go before the end is reported, so that a waiter
    // sees the thread's objects released.
    const std::shared_ptr<ThreadEnd> keep = std::move(launch->end);
    launch.reset();
    detail::EndCurrentQueue();
    keep->exitCode = code;
    keep->ended.Set();
    return nullptr;
}

// Starts the thread of state; false when none can be made.
bool Create(Thread::State& state, std::unique_ptr<Launch> launch, std::size_t stackSize) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    if (stackSize != 0) pthread_attr_setstacksize(&attributes, stackSize);
    const int rc = pthread_create(&state.handle, &attributes, Run, launch.get());
    pthread_attr_destroy(&attributes);
    if (rc != 0) return false;
    launch.release();  // the thread owns it now
    state.joinable = true;
    return true;
}

}  // namespace

Thread::State::~State() {
    // The last handle is gone: a thread that has finished is joined, one
    // that still runs goes on by itself.
    if (!joinable) return;
    if (!pthread_equal(handle, pthread_self()) && end->ended.IsSignalled()) {
        pthread_join(handle, nullptr);
    } else {
        pthread_detach(handle);
    }
}

Thread Thread::Start(std::function<DWORD()> body) {
    Thread result;
    result.state_ = std::make_shared<State>();
    auto started = std::make_shared<std::promise<void>>();
    auto queued = started->get_future();
    auto launch = std::make_unique<Launch>(Launch{result.state_->end, std::move(body), started});
    if (!Create(*result.state_, std::move(launch), 0)) return Thread();
    queued.wait();
    return result;
}

Thread Thread::StartWorker(std::function<DWORD()> body) {
    Thread result;
    result.state_ = std::make_shared<State>();
    auto launch = std::make_unique<Launch>(Launch{result.state_->end, std::move(body), nullptr});
    if (!Create(*result.state_, std::move(launch), kWorkerStackSize)) return Thread();
    return result;
}

DWORD Thread::id() const {
    return state_ ? state_->end->id.load() : 0;
}

bool Thread::IsCurrent() const {
    return state_ && pthread_equal(state_->handle, pthread_self());
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
    if (state_->joinable && !pthread_equal(state_->handle, pthread_self())) {
        pthread_join(state_->handle, nullptr);
        state_->joinable = false;
    }
}

DWORD Thread::ExitCode() const {
    return state_ ? state_->end->exitCode.load() : STILL_ACTIVE;
}

}  // namespace platform
