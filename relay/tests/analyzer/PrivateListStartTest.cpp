// The private-list analysis as the engine runs it: once at every server
// start, over the private lists that start has just read.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "analyzer/AnalyzerFixture.h"
#include "engine/EngineFixture.h"
#include "relay/analyzer/CPrivateListAnalyzer.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/EngineMessages.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyMap.h"
#include "rig/Loopback.h"

namespace anatest {
namespace {

using namespace std::chrono_literals;

class PrivateListStartTest : public srvtest::EngineTest {
protected:
    srvtest::EngineSettings Settings() {
        srvtest::EngineSettings settings;
        settings.privateListAnalyzer = [this]() -> std::unique_ptr<CThread> {
            auto analyzer = std::make_unique<CPrivateListAnalyzer>(&CBaseServer::m_ProxyPool);
            analyzer->GetConfig().setJudgeHosts(LoopbackJudges(judge_.port()));
            return analyzer;
        };
        return settings;
    }

    static std::vector<std::uint16_t> PortsOf(eProxyType type) {
        std::vector<std::uint16_t> ports;
        for (CProxy* proxy : CBaseServer::m_ProxyPool.CopyPrivateList(type)) {
            ports.push_back(static_cast<std::uint16_t>(proxy->getPort()));
        }
        return ports;
    }

    kvtest::LoopbackRig rig_;
    kvtest::FakeUpstream judge_{kvtest::FakeScript().ExpectUntil("\r\n\r\n").Send(kJudgeReply).Close()};
};

TEST_F(PrivateListStartTest, EveryServerStartChecksThePrivateListsItRead) {
    const std::uint16_t working = rig_.StartDante().port();
    // Answers every connection with a page of its own at once.
    kvtest::FakeUpstream lying(kvtest::FakeScript().Send(kLyingReply).Close());
    const kvtest::RefusingPort refusing;
    pooltest::SeedEngineDatabase({pooltest::LoopbackHop(working, PROXY_TYPE_SOCKS4),
                                  pooltest::LoopbackHop(refusing.port(), PROXY_TYPE_HTTPS),
                                  pooltest::LoopbackHop(lying.port(), PROXY_TYPE_HTTP)},
                                 {});
    const auto checkedOnce = [&] {
        // The proxies that fail their check leave their lists; the one that
        // passes stays.
        EXPECT_TRUE(WaitUntil(
            [] { return PortsOf(PROXY_TYPE_HTTP).empty() && PortsOf(PROXY_TYPE_HTTPS).empty(); }, 20s));
        EXPECT_EQ(PortsOf(PROXY_TYPE_SOCKS4), std::vector<std::uint16_t>{working});
    };
    StartRunningEngine(Settings());
    checkedOnce();
    const std::size_t sessions = lying.Sessions().size();
    EXPECT_GE(sessions, 1u);

    // A restart reads the lists again and checks them again.
    CBaseServer::mpProxyServer.load()->HandleSettingsChange();
    ASSERT_TRUE(view_.WaitFor(WM_RELAY_SERVER_RUNNING, 2, srvtest::kEngineLimit));
    EXPECT_TRUE(WaitUntil([&] { return lying.Sessions().size() > sessions; }, 20s));
    checkedOnce();
}

}  // namespace
}  // namespace anatest
