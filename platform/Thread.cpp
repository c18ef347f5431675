#include "platform/Thread.h"

#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/ForkSafeInstance.h"
#include "platform/MessageQueue.h"
#include "platform/ThreadState.h"

namespace platform {

namespace {

// A worker's stack: its calls are bounded socket steps, the pool's SQL and
// the resolver. Small stacks stay in the C library's cache of stacks, so
// that starting a worker maps no memory.
constexpr std::size_t kWorkerStackSize = 512 * 1024;
// A worker that has finished waits this long for the next one to start on
// it, and at most this many wait at once: making a system thread costs more
// than a whole relayed connection on loopback, and a browser opens its
// connections in bursts.
constexpr auto kIdleWorkerLimit = std::chrono::seconds(10);
constexpr std::size_t kIdleWorkersMax = 64;
// The shortest slice the system grants.
constexpr std::uint64_t kWorkerSliceNs = 100 * 1000;

struct Launch {
    std::shared_ptr<ThreadEnd> end;
    std::function<DWORD()> body;
    // Set for Start: the starter waits until the queue exists.
    std::shared_ptr<std::promise<void>> started;
};

// The run of the body that this system thread carries now; a thread that
// carries worker after worker is "current" only for the one it runs.
thread_local const ThreadEnd* tlsRunning = nullptr;

// The system's record of a thread's scheduling (the first version of it,
// which every kernel since 3.14 reads).
struct SchedulingRecord {
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtime;
    std::uint64_t deadline;
    std::uint64_t period;
};
constexpr std::uint64_t kResetOnFork = 0x01;

// The calling thread's scheduling; false where the system gives none.
bool ReadOwnScheduling(SchedulingRecord& record) {
    record = {};
    return ::syscall(SYS_sched_getattr, 0, &record, sizeof record, 0) == 0;
}

// A refusal leaves the thread as it was.
void WriteOwnScheduling(SchedulingRecord record) {
    record.size = sizeof record;
    record.flags &= kResetOnFork;
    ::syscall(SYS_sched_setattr, 0, &record, 0);
}

// Asks for short time slices for the calling thread, keeping its policy and
// nice value. A worker's job is a burst of socket calls between waits; a
// connect on this host wakes the server it reaches, which would otherwise
// take the processor from the worker in the middle of the burst (on
// loopback that doubled the time a connect takes). Kernels without custom
// slices keep their own; nothing else changes.
void AskForShortSlices() {
    SchedulingRecord record;
    if (!ReadOwnScheduling(record) || (record.policy != SCHED_OTHER && record.policy != SCHED_BATCH)) return;
    record.runtime = kWorkerSliceNs;
    WriteOwnScheduling(record);
}

void RunBody(std::unique_ptr<Launch> launch) {
    ThreadEnd& end = *launch->end;
    if (launch->started) detail::CurrentQueue();
    end.id.store(GetCurrentThreadId());
    tlsRunning = &end;
    if (launch->started) launch->started->set_value();
    const DWORD code = launch->body();
    // Body and captures go before the end is reported, so that a waiter
    // sees the thread's objects released.
    const std::shared_ptr<ThreadEnd> keep = std::move(launch->end);
    launch.reset();
    detail::EndCurrentQueue();
    tlsRunning = nullptr;
    keep->exitCode = code;
    keep->ended.Set();
}

void* Run(void* argument) {
    RunBody(std::unique_ptr<Launch>(static_cast<Launch*>(argument)));
    return nullptr;
}

// Finished workers waiting for the next body (one ForkSafeInstance:
// parked threads still wait on it while the process exits).
class IdleWorkers {
public:
    // Gives launch to a waiting worker; false (launch untouched) when none waits.
    bool Hand(std::unique_ptr<Launch>& launch) {
        std::shared_ptr<Parked> parked;
        {
            std::lock_guard lock(mutex_);
            if (waiting_.empty()) return false;
            parked = std::move(waiting_.back());
            waiting_.pop_back();
            parked->next = std::move(launch);
        }
        // Outside the lock, so that the woken worker does not block on it
        // at once; the shared record outlives a worker that has gone.
        parked->wake.notify_one();
        return true;
    }

    // Runs bodies on the calling worker thread until none comes in time.
    void Serve(std::unique_ptr<Launch> launch) {
        const auto self = std::make_shared<Parked>();
        while (launch) {
            RunBody(std::move(launch));
            std::unique_lock lock(mutex_);
            if (waiting_.size() >= kIdleWorkersMax) return;
            waiting_.push_back(self);
            if (!self->wake.wait_for(lock, kIdleWorkerLimit, [&] { return self->next != nullptr; })) {
                std::erase(waiting_, self);
                return;
            }
            launch = std::move(self->next);
        }
    }

    void AfterForkInChild() {
        // The mutex may have been held by a thread that the child lacks.
        new (&mutex_) std::mutex;
        waiting_.clear();
    }

private:
    struct Parked {
        std::condition_variable wake;
        std::unique_ptr<Launch> next;
    };

    std::mutex mutex_;
    std::vector<std::shared_ptr<Parked>> waiting_;
};

void* RunWorker(void* argument) {
    AskForShortSlices();
    detail::ForkSafeInstance<IdleWorkers>().Serve(std::unique_ptr<Launch>(static_cast<Launch*>(argument)));
    return nullptr;
}

// Starts a system thread that runs launch (a worker's, on and on: see
// IdleWorkers); false when none can be made. A worker's thread is detached
// at once: it outlives the body.
bool Create(pthread_t& handle, std::unique_ptr<Launch>& launch, bool worker) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    if (worker) {
        pthread_attr_setstacksize(&attributes, kWorkerStackSize);
        pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    }
    const int rc = pthread_create(&handle, &attributes, worker ? RunWorker : Run, launch.get());
    pthread_attr_destroy(&attributes);
    if (rc != 0) return false;
    launch.release();  // the thread owns it now
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
    if (!Create(result.state_->handle, launch, false)) return Thread();
    result.state_->joinable = true;
    queued.wait();
    return result;
}

Thread Thread::StartWorker(std::function<DWORD()> body) {
    Thread result;
    result.state_ = std::make_shared<State>();
    result.state_->worker = true;
    auto launch = std::make_unique<Launch>(Launch{result.state_->end, std::move(body), nullptr});
    if (detail::ForkSafeInstance<IdleWorkers>().Hand(launch)) return result;
    pthread_t handle;
    if (!Create(handle, launch, true)) return Thread();
    return result;
}

DWORD Thread::id() const {
    return state_ ? state_->end->id.load() : 0;
}

bool Thread::IsCurrent() const {
    return state_ && tlsRunning == state_->end.get();
}

bool Thread::IsRunning() const {
    return state_ && !state_->ended.IsSignalled();
}

bool Thread::Wait(DWORD ms) const {
    return state_ && WaitForSingleObject(*this, ms) == WAIT_OBJECT_0;
}

void Thread::Join() const {
    if (!state_) return;
    // A worker's system thread is not its own: its end is the body's end.
    if (state_->worker) {
        if (!IsCurrent()) Wait(INFINITE);
        return;
    }
    std::lock_guard lock(state_->joinMutex);
    if (state_->joinable && !pthread_equal(state_->handle, pthread_self())) {
        pthread_join(state_->handle, nullptr);
        state_->joinable = false;
    }
}

DWORD Thread::ExitCode() const {
    return state_ ? state_->end->exitCode.load() : STILL_ACTIVE;
}

void KeepFromPreemptingOnWake() {
    SchedulingRecord record;
    // Real-time and idle threads keep what they were given.
    if (!ReadOwnScheduling(record) || record.policy != SCHED_OTHER) return;
    // A batch thread is woken like any other but never preempts on a wake.
    record.policy = SCHED_BATCH;
    WriteOwnScheduling(record);
}

}  // namespace platform
