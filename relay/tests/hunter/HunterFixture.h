#pragma once
// Test support for the hunter: the engine's hunter with its download thread
// over the pool database of the test's own root, pages served on loopback
// by python3's http.server, and a simulated shortage of memory.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/hunter/CHunterThread.h"
#include "rig/LoopbackRig.h"
#include "settings/CHunterSettings.h"

namespace huntertest {

// "address:port" of stored proxies.
using Found = std::set<std::string>;

inline constexpr platform::DWORD kHuntLimitMs = 30000;

// A page listing proxies in a table cell, then one anchor per link.
std::string Page(const std::string& proxies, const std::vector<std::string>& links);

class HunterCrawlTest : public pooltest::PoolTest {
protected:
    HunterCrawlTest();
    ~HunterCrawlTest() override;

    static CHunterThread& hunter();

    // Source type, address and depth; the default flag off.
    static void Configure(eUrlSource source, const std::string& address, int depth, bool limitDepth = true);
    // Runs one hunt to its end (bounded).
    static void Hunt();
    Found Stored() const;

    // Serves pages (name, text) from a python3 http.server on loopback; the
    // texts may name the server's own address as "@ORIGIN@". The server's
    // address, "http://127.0.0.1:port".
    std::string Serve(const std::vector<std::pair<std::string, std::string>>& pages);
    // The folder the origin serves.
    std::filesystem::path OriginFolder() const;

    kvtest::LoopbackRig rig_;
};

// Allocations for pages fail while it lives.
struct LowResources {
    LowResources();
    ~LowResources();
    LowResources(const LowResources&) = delete;
    LowResources& operator=(const LowResources&) = delete;
};

}  // namespace huntertest
