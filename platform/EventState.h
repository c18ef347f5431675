#pragma once
// Inside the platform layer only: the shared record of an Event.
//
// The eventfd is readable exactly while the event is signalled: Set writes
// it once, Reset and a satisfied auto-reset wait read it back, all under
// the record's lock, so its count is never above 1.

#include <mutex>

namespace platform {

struct EventState {
    EventState(bool manualReset, bool signalled);
    ~EventState();
    EventState(const EventState&) = delete;
    EventState& operator=(const EventState&) = delete;

    bool Set();
    bool Reset();
    bool IsSignalled();
    // For a wait that the event satisfied: true when it is still signalled
    // (and, for auto reset, takes the signal).
    bool Consume();
    // Gives back a signal taken by Consume (a wait for all that lost a race).
    void Restore();

    const bool manualReset;
    int fd = -1;

private:
    std::mutex mutex_;
    bool signalled_ = false;
};

}  // namespace platform
