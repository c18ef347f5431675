#pragma once
// The engine's side of the toolbar channel for client tests: a loopback
// listener on a free port whose connections the test reads and writes.
// Every call is bounded.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tbtest {

inline constexpr std::chrono::seconds kLimit{5};

class FakeEngine {
public:
    FakeEngine();
    ~FakeEngine();
    FakeEngine(const FakeEngine&) = delete;
    FakeEngine& operator=(const FakeEngine&) = delete;

    std::uint16_t port() const { return port_; }
    // The next connection, or false at the limit.
    bool Accept(std::chrono::milliseconds limit = kLimit);
    // Exactly n bytes of the current connection; fewer at the limit or end.
    std::vector<std::uint8_t> Read(std::size_t n, std::chrono::milliseconds limit = kLimit);
    // True when the client closes the current connection within the limit.
    bool SeesClose(std::chrono::milliseconds limit = kLimit);
    bool Send(const std::vector<std::uint8_t>& bytes);
    void CloseConnection();
    void CloseListener();

private:
    int listener_ = -1;
    int connection_ = -1;
    std::uint16_t port_ = 0;
};

// Reads the state queries a new connection starts with: each of the four
// asked at least once and nothing else. A window registered just after the
// client started may send a second round, interleaved with the
// connection's request by request and missing those sent while the
// connect was still under way.
testing::AssertionResult ReadsStateQueries(FakeEngine& engine);

}  // namespace tbtest
