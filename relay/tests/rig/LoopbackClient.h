#pragma once
// A tiny blocking client for tests: connect to a loopback port, send, and
// receive with a time limit. Every call is bounded.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "rig/Loopback.h"

namespace kvtest {

class LoopbackClient {
public:
    enum class Read { Data, TimedOut, Closed, Error };

    bool Connect(std::uint16_t port, std::chrono::milliseconds limit = std::chrono::seconds(5));
    bool SendAll(std::string_view bytes, std::chrono::milliseconds limit = std::chrono::seconds(5));
    // One receive of at most maxBytes, appended to out.
    Read ReadSome(std::string& out, std::chrono::milliseconds limit, std::size_t maxBytes = 65536);
    // Everything until the other side closes; stops early at the limit.
    std::string ReadUntilClosed(std::chrono::milliseconds limit);
    // Ends the sending side only; the client goes on reading.
    bool EndSending();
    void Close() { socket_.reset(); }
    bool connected() const { return static_cast<bool>(socket_); }

private:
    UniqueFd socket_;
};

}  // namespace kvtest
