#pragma once
// A toolbar as the channel sees it: a loopback connection that sends raw
// request bytes and reads 5-byte notices, every wait bounded.

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "rig/Loopback.h"

namespace tbtest {

using Notice = std::array<std::uint8_t, 5>;

inline constexpr std::chrono::seconds kLimit{5};

Notice MakeNotice(std::uint8_t type, std::uint32_t value);

class ToolbarPeer {
public:
    // Connects; receiveBuffer > 0 shrinks the socket's receive buffer first.
    explicit ToolbarPeer(std::uint16_t port, int receiveBuffer = 0);

    bool connected() const { return static_cast<bool>(fd_); }
    bool Send(const std::vector<std::uint8_t>& bytes);
    // Exactly count notices, or fewer when the limit passes or the channel
    // closes.
    std::vector<Notice> Read(std::size_t count, std::chrono::milliseconds limit = kLimit);
    // True when the engine closes the connection within the limit with no
    // further bytes.
    bool ClosedWithoutBytes(std::chrono::milliseconds limit = kLimit);
    // Every byte until the engine closes; closed tells whether it did.
    std::string ReadUntilClosed(bool& closed, std::chrono::milliseconds limit);
    void Close() { fd_.reset(); }

private:
    kvtest::UniqueFd fd_;
    std::string pending_;
};

}  // namespace tbtest
