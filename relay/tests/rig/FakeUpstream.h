#pragma once
// A scripted upstream on 127.0.0.1 (a port of its own, picked by the
// kernel): a thread accepts connections and plays a FakeScript on each, for
// replies no real proxy gives on demand (short, silent, split, malformed).
// Connection i plays scripts[i], the last script again for later ones. Each
// connection's accept time and every byte it received are recorded. Every
// wait is bounded; the destructor stops the fake and its connections.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "rig/FakeScript.h"
#include "rig/Loopback.h"

namespace kvtest {

struct FakeSession {
    std::chrono::steady_clock::time_point acceptedAt;
    std::string received;         // every byte the client sent, in order
    bool clientClosed = false;    // the client closed its side
    bool scriptCompleted = false; // every step ran, each expectation met in time
    bool finished = false;        // the connection is closed
};

class FakeUpstream {
public:
    static constexpr std::chrono::seconds kStepLimit{5};   // an Expect waits at most this long
    static constexpr std::chrono::seconds kHoldLimit{30};  // an open end lasts at most this long
    static constexpr std::size_t kMaxSessions = 64;        // later connections are closed at once

    explicit FakeUpstream(FakeScript script);
    explicit FakeUpstream(std::vector<FakeScript> scripts);
    ~FakeUpstream();
    FakeUpstream(const FakeUpstream&) = delete;
    FakeUpstream& operator=(const FakeUpstream&) = delete;

    std::uint16_t port() const { return port_; }
    std::string Address() const { return LoopbackAddress(port_); }

    // A snapshot of the connections so far, in accept order.
    std::vector<FakeSession> Sessions() const;
    // True once count connections were accepted (finished), within limit.
    bool WaitAccepted(std::size_t count, std::chrono::milliseconds limit) const;
    bool WaitFinished(std::size_t count, std::chrono::milliseconds limit) const;

    // Closes the listener and every connection and joins the threads.
    void Stop();

private:
    class Connection;

    void AcceptLoop();
    void Serve(std::size_t index, UniqueFd socket);
    void Update(std::size_t index, const std::function<void(FakeSession&)>& change);

    std::vector<FakeScript> scripts_;
    UniqueFd listener_;
    UniqueFd wake_;  // readable once the fake stops
    std::uint16_t port_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<FakeSession> sessions_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
    bool stopped_ = false;
};

}  // namespace kvtest
