#pragma once
// Inside the platform layer only: the shared record of an Event.
//
// The eventfd is made when a wait first needs one (most events are only
// set and tested); from then on it is readable exactly while the event is
// signalled: Set writes it once, Reset and a satisfied auto-reset wait read
// it back, all under the record's lock, so its count is never above 1.

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
    // The descriptor a wait polls, made on first use; -1 when none can be
    // made.
    int Fd();

    const bool manualReset;

private:
    void Drain();

    std::mutex mutex_;
    int fd_ = -1;
    bool signalled_ = false;
};

}  // namespace platform
