#pragma once
// Small loopback helpers of the rig: an owned descriptor and free ports.
// Test code only; it talks to 127.0.0.0/8 and nothing else.

#include <cstdint>
#include <string>

namespace kvtest {

// A descriptor closed when the object goes.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release();
    void reset(int fd = -1);

private:
    int fd_ = -1;
};

inline constexpr const char* kLoopbackHost = "127.0.0.1";

// A port on 127.0.0.1 that nothing listened on a moment ago (bound to port
// 0 and released). Also serves as a destination that refuses connections.
std::uint16_t FreeLoopbackPort();

// A port on 127.0.0.1 that refuses connections for as long as the object
// lives: bound and never listening, so no test running beside this one can
// be given it meanwhile (as it can a port that FreeLoopbackPort released).
class RefusingPort {
public:
    RefusingPort();
    std::uint16_t port() const { return port_; }

private:
    UniqueFd fd_;
    std::uint16_t port_ = 0;
};

// "127.0.0.1:port".
std::string LoopbackAddress(std::uint16_t port);

// 127.0.0.1 as a network-order number, as the relay code takes addresses.
std::uint32_t LoopbackNetworkOrder();

}  // namespace kvtest
