#include "platform/Event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "platform/EventState.h"

namespace platform {

EventState::EventState(bool manual, bool signalled) : manualReset(manual) {
    fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (signalled) Set();
}

EventState::~EventState() {
    if (fd >= 0) ::close(fd);
}

bool EventState::Set() {
    std::lock_guard lock(mutex_);
    if (fd < 0) return false;
    if (!signalled_) {
        const std::uint64_t one = 1;
        if (::write(fd, &one, sizeof one) != sizeof one) return false;
        signalled_ = true;
    }
    return true;
}

bool EventState::Reset() {
    std::lock_guard lock(mutex_);
    if (fd < 0) return false;
    if (signalled_) {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto n = ::read(fd, &count, sizeof count);
        signalled_ = false;
    }
    return true;
}

bool EventState::IsSignalled() {
    std::lock_guard lock(mutex_);
    return signalled_;
}

bool EventState::Consume() {
    std::lock_guard lock(mutex_);
    if (!signalled_) return false;
    if (!manualReset) {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto n = ::read(fd, &count, sizeof count);
        signalled_ = false;
    }
    return true;
}

void EventState::Restore() {
    if (!manualReset) Set();
}

Event::Event(bool manualReset, bool initiallySignalled)
    : state_(std::make_shared<EventState>(manualReset, initiallySignalled)) {
    if (state_->fd < 0) state_.reset();
}

bool Event::Set() const {
    return state_ && state_->Set();
}

bool Event::Reset() const {
    return state_ && state_->Reset();
}

bool Event::IsSignalled() const {
    return state_ && state_->IsSignalled();
}

}  // namespace platform
