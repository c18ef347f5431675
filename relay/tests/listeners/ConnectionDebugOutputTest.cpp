// The debug output lines of new connections: one for each client side, one
// for each destination side (the general listener's client side embeds
// three), written only while the switch is on.

#include <gtest/gtest.h>

#include <string>

#include "engine/EngineFixture.h"
#include "platform/DebugOutput.h"
#include "rig/LoopbackClient.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kClientLine = "\r\nnew connection with internet explorer\r\n";
constexpr const char* kSiteLine = "\r\nnew connection with site\r\n";

int Count(const std::string& text, const std::string& line) {
    int n = 0;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + line.size())) ++n;
    return n;
}

class ConnectionDebugOutputTest : public srvtest::EngineTest, public testing::WithParamInterface<int> {
protected:
    ~ConnectionDebugOutputTest() override {
        StopEngine();
        platform::SetDebugOutput(false);
    }
};

TEST_P(ConnectionDebugOutputTest, EachNewConnectionWritesItsLinesWhileSwitchedOn) {
    const int type = GetParam();
    StartRunningEngine({.adjust = [type](CSettings& s) { s.getPrivacySettings()->mListenerType = type; }});
    for (const bool on : {false, true}) {
        platform::SetDebugOutput(on);
        testing::internal::CaptureStderr();
        for (int i = 0; i < 2; ++i) {
            kvtest::LoopbackClient client;
            ASSERT_TRUE(client.Connect(port()));
            // The relay's answer shows the connection was accepted.
            ASSERT_TRUE(client.SendAll("GET / HTTP/1.0\r\n\r\n"));
            EXPECT_NE(client.ReadUntilClosed(10s), "");
        }
        const std::string written = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Count(written, kClientLine), on ? 2 : 0) << written;
        EXPECT_EQ(Count(written, kSiteLine), on ? (type == 6 ? 6 : 2) : 0) << written;
    }
}

INSTANTIATE_TEST_SUITE_P(Listeners, ConnectionDebugOutputTest, testing::Values(2, 6),
                         [](const testing::TestParamInfo<int>& info) {
                             return "listener" + std::to_string(info.param);
                         });

}  // namespace
