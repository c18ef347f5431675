// The rig's real peers: each relays to the origin byte for byte, and none
// is left running once its rig is gone, whether the test ends normally,
// throws, or the test program dies.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "rig/LoopbackClient.h"
#include "rig/LoopbackRig.h"
#include "rig/PeerProcess.h"
#include "support/TempRoot.h"

namespace {
using namespace std::chrono_literals;
using kvtest::LoopbackRig;
using kvtest::Peer;

class LoopbackRigTest : public kvtest::RootedTest {};

// Waits (bounded) until no process of the group is left, reaping the
// members that came to this process as orphans.
bool GroupGone(pid_t group, std::chrono::milliseconds limit = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (kvtest::ProcessGroupExists(group)) {
        while (::waitpid(-group, nullptr, WNOHANG) > 0) {
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

TEST_F(LoopbackRigTest, EveryPeerRelaysARequestToTheOriginByteExact) {
    LoopbackRig rig;
    const kvtest::Origin& origin = rig.StartOrigin({{"one.bin", 1}, {"large.bin", 300000}});
    const std::string tinyproxy = "http://" + rig.StartTinyproxy().Address();
    const std::string dante = rig.StartDante().Address();
    const std::string microsocks = rig.StartMicrosocks().Address();
    const std::string ncat = "http://" + rig.StartNcatHttp().Address();

    struct Row {
        const char* name;
        std::vector<std::string> proxy;
    };
    const std::vector<Row> rows = {
        {"tinyproxy, plain request", {"--proxy", tinyproxy}},
        {"tinyproxy, CONNECT", {"--proxytunnel", "--proxy", tinyproxy}},
        {"dante, SOCKS4", {"--socks4", dante}},
        {"dante, SOCKS5", {"--socks5-hostname", dante}},
        {"microsocks, SOCKS5", {"--socks5-hostname", microsocks}},
        {"ncat, plain request", {"--proxy", ncat}},
        {"ncat, CONNECT", {"--proxytunnel", "--proxy", ncat}},
    };
    for (const Row& row : rows) {
        for (const char* file : {"one.bin", "large.bin"}) {
            SCOPED_TRACE(testing::Message() << row.name << ", " << file);
            std::vector<std::string> args = row.proxy;
            args.push_back(origin.Url(file));
            const kvtest::CurlResult got = rig.Curl(args);
            EXPECT_EQ(got.exitCode, 0) << got.log;
            EXPECT_EQ(got.body.size(), origin.Content(file).size());
            EXPECT_TRUE(got.body == origin.Content(file));
        }
    }
}

TEST_F(LoopbackRigTest, TinyproxyRefusesConnectToPortsOutsideItsList) {
    LoopbackRig rig;
    const kvtest::Origin& origin = rig.StartOrigin({{"page.bin", 10}});
    const Peer& restricted = rig.StartTinyproxy({.connectPorts = {443}});
    kvtest::LoopbackClient client;
    ASSERT_TRUE(client.Connect(restricted.port()));
    ASSERT_TRUE(client.SendAll("CONNECT 127.0.0.1:" + std::to_string(origin.port()) + " HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(client.ReadUntilClosed(5s).rfind("HTTP/1.1 403 ", 0), 0u);
}

TEST_F(LoopbackRigTest, NoPeerOutlivesItsRigEvenWhenTheTestThrows) {
    std::vector<pid_t> groups;
    kvtest::LoopbackClient tunnel;
    kvtest::LoopbackClient socks;
    EXPECT_THROW(
        {
            LoopbackRig rig;
            const kvtest::Origin& origin = rig.StartOrigin({{"page.bin", 10}});
            rig.StartTinyproxy();
            const Peer& dante = rig.StartDante();
            rig.StartMicrosocks();
            const Peer& ncat = rig.StartNcatHttp();
            groups = rig.ProcessGroups();
            // Connections in progress keep the peers' helper processes busy.
            ASSERT_TRUE(tunnel.Connect(ncat.port()));
            ASSERT_TRUE(tunnel.SendAll("CONNECT 127.0.0.1:" + std::to_string(origin.port()) +
                                       " HTTP/1.1\r\n\r\n"));
            std::string reply;
            ASSERT_EQ(tunnel.ReadSome(reply, 5s), kvtest::LoopbackClient::Read::Data);
            ASSERT_TRUE(socks.Connect(dante.port()));
            ASSERT_TRUE(socks.SendAll(std::string("\x05\x01\x00", 3)));
            ASSERT_EQ(socks.ReadSome(reply, 5s), kvtest::LoopbackClient::Read::Data);
            for (const pid_t group : groups) {
                ASSERT_TRUE(kvtest::ProcessGroupExists(group));
            }
            throw std::runtime_error("a test that fails half-way");
        },
        std::runtime_error);
    ASSERT_EQ(groups.size(), 5u);
    for (const pid_t group : groups) {
        EXPECT_FALSE(kvtest::ProcessGroupExists(group)) << group;
    }
}

TEST_F(LoopbackRigTest, PeersDieWithTheTestProgram) {
    // A copy of this program starts peers, notes their groups and kills
    // itself; the peers must follow it.
    const std::filesystem::path groupsFile = root() / "groups.txt";
    kvtest::PeerProcess helper("/proc/self/exe", {"--start-peers-and-die", groupsFile.string()},
                               root() / "helper.log");
    ASSERT_EQ(helper.WaitExit(60s), 128 + SIGKILL) << helper.Log();
    std::ifstream in(groupsFile);
    std::vector<pid_t> groups;
    for (pid_t group; in >> group;) {
        groups.push_back(group);
    }
    ASSERT_EQ(groups.size(), 3u) << helper.Log();
    for (const pid_t group : groups) {
        EXPECT_TRUE(GroupGone(group)) << group;
    }
}

TEST_F(LoopbackRigTest, WaitingForAPeerToListenIsBounded) {
    const std::uint16_t port = kvtest::FreeLoopbackPort();
    kvtest::PeerProcess silent("sleep", {"30"}, root() / "sleep.log");
    EXPECT_FALSE(silent.WaitListening(port, 200ms));
    EXPECT_TRUE(silent.Running());
    silent.Stop();
    EXPECT_FALSE(kvtest::ProcessGroupExists(silent.pid()));

    kvtest::PeerProcess failing("false", {}, root() / "false.log");
    EXPECT_FALSE(failing.WaitListening(port, 30s));
    EXPECT_EQ(failing.WaitExit(1s), 1);
}

TEST_F(LoopbackRigTest, ReportsAPeerThatCannotStart) {
    EXPECT_THROW(kvtest::PeerProcess("kv-no-such-program", {}, root() / "none.log"), std::runtime_error);
}

}  // namespace

// The helper side of PeersDieWithTheTestProgram.
int StartPeersAndDie(const char* groupsFile) {
    // The rig is never destroyed: the program dies with its peers running.
    LoopbackRig rig;
    rig.StartOrigin({{"page.bin", 10}});
    rig.StartDante();
    rig.StartNcatHttp();
    std::ofstream out(groupsFile);
    for (const pid_t group : rig.ProcessGroups()) {
        out << group << "\n";
    }
    out.close();
    ::raise(SIGKILL);
    return 1;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--start-peers-and-die") {
        return StartPeersAndDie(argv[2]);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
