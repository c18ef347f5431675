#pragma once
// A system thread with an id, an exit code and an "ended" state that
// WaitForMultipleObjects can wait on.
//
// Copies share one thread. The thread runs on when the last copy goes (it
// is then detached, as a self-deleting worker); Wait or Join give its end.
// Each thread started by Start has its message queue from its first
// instruction, so PostThreadMessage to its id works as soon as Start
// returns; StartWorker spares a worker both the queue and the wait.

#include <functional>
#include <memory>

#include "platform/Types.h"
#include "platform/Wait.h"

namespace platform {

inline constexpr DWORD STILL_ACTIVE = 259;

class Thread {
public:
    Thread() = default;

    // Runs body on a new thread; its result is the exit code. Returns once
    // the new thread's id is known. An empty Thread when none can be made.
    static Thread Start(std::function<DWORD()> body);
    // The same for a short-lived worker that nobody posts to: it gets no
    // message queue and a small stack (512 KiB), and the call returns
    // without waiting for it to run. A finished worker's system thread
    // waits a while to carry the next worker, so a worker's id may be an
    // earlier worker's; everything else (end, exit code, IsCurrent) is the
    // worker's own.
    static Thread StartWorker(std::function<DWORD()> body);

    bool IsValid() const { return static_cast<bool>(state_); }
    // 0 for an empty Thread, and for a worker until it runs.
    DWORD id() const;
    // True when called on this thread itself.
    bool IsCurrent() const;
    bool IsRunning() const;
    // True when the thread has ended, waiting at most ms (INFINITE: no limit).
    bool Wait(DWORD ms) const;
    // Waits for the end and releases the system thread; not from the thread
    // itself.
    void Join() const;
    // STILL_ACTIVE while running.
    DWORD ExitCode() const;

    struct State;
    const std::shared_ptr<State>& state() const { return state_; }

private:
    std::shared_ptr<State> state_;
};

// Asks that the calling thread, once woken, not take the processor from the
// thread running there: it runs when that one waits or its slice ends. For
// a server thread whose clients are on this host: a client goes on to its
// next step before the server answers, instead of a switch each way for
// every message. Its share of the processor and its nice value stay; the
// threads it starts afterwards inherit the policy.
void KeepFromPreemptingOnWake();

}  // namespace platform
