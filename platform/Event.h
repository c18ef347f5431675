#pragma once
// An event object with manual or automatic reset, backed by an eventfd (made
// when first waited on) so that WaitForMultipleObjects can poll it together
// with sockets and threads.
//
// Copies share one event (like a duplicated handle): a copy that is set
// wakes the waiters of every copy. The event lives until its last copy goes.
// A default-constructed Event holds no event: Set, Reset and waits on it
// fail.

#include <memory>

namespace platform {

struct EventState;

class Event {
public:
    Event() = default;
    // manualReset: stays signalled until Reset; otherwise one satisfied
    // wait resets it.
    Event(bool manualReset, bool initiallySignalled);

    bool IsValid() const { return static_cast<bool>(state_); }
    bool Set() const;
    bool Reset() const;
    // Without consuming anything: is it signalled now?
    bool IsSignalled() const;

    const std::shared_ptr<EventState>& state() const { return state_; }

private:
    std::shared_ptr<EventState> state_;
};

}  // namespace platform
