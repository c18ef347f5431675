#include "platform/Wait.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <vector>

#include "platform/Event.h"
#include "platform/EventState.h"
#include "platform/SocketCloser.h"
#include "platform/SocketWatch.h"
#include "platform/Thread.h"
#include "platform/ThreadState.h"

namespace platform {

WaitHandle::WaitHandle(const Event& event) : kind_(Kind::Event), event_(event.state()) {}

WaitHandle::WaitHandle(const Thread& thread) : kind_(Kind::Event) {
    if (thread.state()) event_ = thread.state()->ended.state();
}

WaitHandle WaitHandle::SocketReadable(SOCKET s) {
    return WaitHandle(Kind::SocketRead, s);
}

WaitHandle WaitHandle::SocketWritable(SOCKET s) {
    return WaitHandle(Kind::SocketWrite, s);
}

WaitHandle WaitHandle::SocketConnected(SOCKET s) {
    return WaitHandle(Kind::SocketWrite, s);
}

namespace {

using Clock = std::chrono::steady_clock;

pollfd PollEntry(const WaitHandle& h) {
    switch (h.kind()) {
    case WaitHandle::Kind::Event:
        return {h.event()->Fd(), POLLIN, 0};
    case WaitHandle::Kind::SocketRead:
        return {h.socket(), POLLIN | POLLRDHUP, 0};
    case WaitHandle::Kind::SocketWrite:
        return {h.socket(), POLLOUT, 0};
    }
    return {-1, 0, 0};
}

// Milliseconds left before the deadline, for poll (-1: no limit).
int Remaining(bool forever, Clock::time_point deadline) {
    if (forever) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return 0;
    // Round up so that a wait never ends a fraction of a millisecond early.
    return static_cast<int>(left) + 1;
}

// Polls; false when a descriptor is not open (or poll itself fails).
bool PollOnce(std::vector<pollfd>& fds, int ms) {
    for (auto& p : fds) p.revents = 0;
    int r;
    do {
        r = ::poll(fds.data(), fds.size(), ms);
    } while (r < 0 && errno == EINTR);
    if (r < 0) return false;
    for (const auto& p : fds) {
        if (p.revents & POLLNVAL) return false;
    }
    return true;
}

// True when the handle is signalled now, for the poll result; events are
// asked again under their lock, and an auto-reset one is taken. A socket
// seen writable without error has connected, which the notifier learns.
bool Claim(const WaitHandle& h, const pollfd& p) {
    if (p.revents == 0) return false;
    if (h.kind() == WaitHandle::Kind::Event) return h.event()->Consume();
    if (h.kind() == WaitHandle::Kind::SocketWrite && p.revents == POLLOUT) detail::WatchConnectSeenDone(h.socket());
    return true;
}

DWORD WaitAny(std::span<const WaitHandle> handles, std::vector<pollfd>& fds, bool forever,
              Clock::time_point deadline) {
    for (;;) {
        const int ms = Remaining(forever, deadline);
        if (!PollOnce(fds, ms)) return WAIT_FAILED;
        for (std::size_t i = 0; i < handles.size(); ++i) {
            if (Claim(handles[i], fds[i])) return WAIT_OBJECT_0 + static_cast<DWORD>(i);
        }
        if (ms == 0) return WAIT_TIMEOUT;
    }
}

DWORD WaitAll(std::span<const WaitHandle> handles, std::vector<pollfd>& fds, bool forever,
              Clock::time_point deadline) {
    for (;;) {
        if (!PollOnce(fds, 0)) return WAIT_FAILED;
        std::vector<pollfd> missing;
        for (const auto& p : fds) {
            if (p.revents == 0) missing.push_back({p.fd, p.events, 0});
        }
        if (missing.empty()) {
            std::vector<std::size_t> taken;
            bool all = true;
            for (std::size_t i = 0; i < handles.size() && all; ++i) {
                if (Claim(handles[i], fds[i])) {
                    taken.push_back(i);
                } else {
                    all = false;
                }
            }
            if (all) return WAIT_OBJECT_0;
            for (const std::size_t i : taken) {
                if (handles[i].kind() == WaitHandle::Kind::Event) handles[i].event()->Restore();
            }
            continue;
        }
        const int ms = Remaining(forever, deadline);
        if (ms == 0) return WAIT_TIMEOUT;
        if (!PollOnce(missing, ms)) return WAIT_FAILED;
    }
}

// The first handle signalled now, found without an event's descriptor
// (events are asked under their lock, sockets polled once without waiting);
// none when the wait must go on.
std::optional<DWORD> FirstReadyNow(std::span<const WaitHandle> handles) {
    std::vector<pollfd> sockets;
    for (const auto& h : handles) {
        if (h.kind() != WaitHandle::Kind::Event) sockets.push_back(PollEntry(h));
    }
    if (!sockets.empty() && !PollOnce(sockets, 0)) return WAIT_FAILED;
    std::size_t socket = 0;
    for (std::size_t i = 0; i < handles.size(); ++i) {
        const bool ready = handles[i].kind() == WaitHandle::Kind::Event ? handles[i].event()->Consume()
                                                                        : Claim(handles[i], sockets[socket++]);
        if (ready) return WAIT_OBJECT_0 + static_cast<DWORD>(i);
    }
    return std::nullopt;
}

}  // namespace

DWORD WaitForMultipleObjects(std::span<const WaitHandle> handles, bool waitAll, DWORD ms) {
    if (handles.empty() || handles.size() > MAXIMUM_WAIT_OBJECTS) return WAIT_FAILED;
    for (const auto& h : handles) {
        if (h.kind() == WaitHandle::Kind::Event ? !h.event() : h.socket() < 0) return WAIT_FAILED;
    }
    // What is ready at once needs no descriptor made for an event: a
    // connect on this host has often finished before its wait begins.
    if (!waitAll) {
        if (const auto ready = FirstReadyNow(handles)) return *ready;
    }
    // Endings this thread left for the closer must not wait out this wait.
    detail::WakeCloserIfOwed();
    std::vector<pollfd> fds;
    fds.reserve(handles.size());
    for (const auto& h : handles) {
        fds.push_back(PollEntry(h));
        if (fds.back().fd < 0) return WAIT_FAILED;
    }
    const bool forever = ms == INFINITE;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : ms);
    return waitAll ? WaitAll(handles, fds, forever, deadline) : WaitAny(handles, fds, forever, deadline);
}

DWORD WaitForMultipleObjects(std::initializer_list<WaitHandle> handles, bool waitAll, DWORD ms) {
    return WaitForMultipleObjects(std::span<const WaitHandle>(handles.begin(), handles.size()), waitAll, ms);
}

DWORD WaitForSingleObject(const WaitHandle& handle, DWORD ms) {
    return WaitForMultipleObjects(std::span<const WaitHandle>(&handle, 1), false, ms);
}

}  // namespace platform
