#pragma once
// Test support for the analyzers: the pool fixture (own root, database,
// scripted engine host), the loopback rig for real proxies, a fake judge
// host that answers every HEAD with its marker, and a recording window.

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/RecordingView.h"
#include "pool/PoolFixture.h"
#include "relay/analyzer/CAnalyzerConfig.h"
#include "relay/pool/CProxy.h"
#include "rig/FakeUpstream.h"
#include "rig/LoopbackRig.h"

namespace anatest {

inline constexpr char kMarker[] = ".kavelin-judge.";
// The judge's answer, which names its domain between dots.
inline constexpr char kJudgeReply[] =
    "HTTP/1.1 200 OK\r\nSet-Cookie: id=1; domain=.kavelin-judge.test\r\nContent-Length: 0\r\n\r\n";
// A proxy that answers every request with a page of its own.
inline constexpr char kLyingReply[] =
    "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html>No such page here</html>";
// 127.0.0.1 as the country table's number.
inline constexpr double kLoopbackNumber = 2130706433.0;

// A judge on 127.0.0.1:port for the HTTP and the SOCKS tests alike.
CJudgeHosts LoopbackJudges(std::uint16_t port);

// A proxy record at 127.0.0.1 (or address) on port, type unknown, rank 0.
CProxy Candidate(std::uint16_t port, const char* address = "127.0.0.1");

// Waits (bounded) until done() holds; false when the limit passed.
template <typename Done>
bool WaitUntil(Done done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class AnalyzerTest : public pooltest::PoolTest {
protected:
    AnalyzerTest();

    // The fake judge on loopback, for the HTTP and the SOCKS tests alike.
    CJudgeHosts Judges() const;
    // Rows of table, ordered by port: IP, Port, Type, Rank, FailReason,
    // Country, ResponseTime.
    std::vector<std::vector<std::string>> Rows(const std::string& table) const;
    static pooltest::Row StoredRow(std::uint16_t port, int type, const std::string& rank,
                                   const char* address = "127.0.0.1");

    kvtest::LoopbackRig rig_;
    kvtest::FakeUpstream judge_;
};

}  // namespace anatest
