#include "platform/Event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "platform/EventState.h"

namespace platform {

namespace {

void Signal(int fd) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(fd, &one, sizeof one);
}

}  // namespace

EventState::EventState(bool manual, bool signalled) : manualReset(manual), signalled_(signalled) {}

EventState::~EventState() {
    if (fd_ >= 0) ::close(fd_);
}

int EventState::Fd() {
    std::lock_guard lock(mutex_);
    if (fd_ < 0) {
        fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (fd_ >= 0 && signalled_) Signal(fd_);
    }
    return fd_;
}

void EventState::Drain() {
    if (fd_ < 0) return;
    std::uint64_t count = 0;
    [[maybe_unused]] const auto n = ::read(fd_, &count, sizeof count);
}

bool EventState::Set() {
    std::lock_guard lock(mutex_);
    if (!signalled_) {
        if (fd_ >= 0) Signal(fd_);
        signalled_ = true;
    }
    return true;
}

bool EventState::Reset() {
    std::lock_guard lock(mutex_);
    if (signalled_) {
        Drain();
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
        Drain();
        signalled_ = false;
    }
    return true;
}

void EventState::Restore() {
    if (!manualReset) Set();
}

Event::Event(bool manualReset, bool initiallySignalled)
    : state_(std::make_shared<EventState>(manualReset, initiallySignalled)) {}

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
