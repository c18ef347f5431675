// The exchanges that tell whether a proxy still works: exact request bytes
// and how each reply is judged.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "relay/upstream/CProxyProbe.h"
#include "support/TempRoot.h"
#include "upstream/HandshakeFeed.h"

namespace {
using kvtest::Bytes;
using kvtest::ChunkEnd;
using kvtest::FeedInChunks;

constexpr std::size_t kNever = std::string::npos;

struct ProbeRow {
    const char* name;
    std::function<CProxyProbe()> make;
    std::string reply;
    std::size_t decidedAt;
    eConnectionStatus status;
};

class ProxyProbeTest : public kvtest::RootedTest {};

const std::string kSocks5Bind = Bytes({0x05, 0x02, 0x00, 0x01, 127, 0, 0, 1, 0x1F, 0x84});

TEST_F(ProxyProbeTest, SendsTheProbeRequestOfEachProxyType) {
    EXPECT_EQ(CProxyProbe::Http("10.0.0.5").Start().send, "GET / HTTP/1.0\r\nHost: 10.0.0.5\r\n\r\n");
    EXPECT_EQ(CProxyProbe::Https("10.0.0.5").Start().send,
              "CONNECT 10.0.0.5:443 HTTP/1.0\r\nHost: 10.0.0.5\r\n\r\n");
    EXPECT_EQ(CProxyProbe::Socks4().Start().send, Bytes({0x04, 0x02, 0x1F, 0x84, 127, 0, 0, 1, '+', 0x00}));
    EXPECT_EQ(CProxyProbe::Socks5().Start().send, Bytes({0x05, 0x01, 0x00}));
}

TEST_F(ProxyProbeTest, JudgesEachProbeReply) {
    const auto http = [] { return CProxyProbe::Http("10.0.0.5"); };
    const auto https = [] { return CProxyProbe::Https("10.0.0.5"); };
    const auto socks4 = [] { return CProxyProbe::Socks4(); };
    const auto socks5 = [] { return CProxyProbe::Socks5(); };
    const std::vector<ProbeRow> rows = {
        {"HTTP: an error page still shows a working proxy", http, "HTTP/1.0 400 Bad Request\r\n\r\n", 1,
         CONNECTION_CONNECTED},
        {"HTTP: one byte", http, "x", 1, CONNECTION_CONNECTED},
        {"HTTP: nothing", http, "", kNever, CONNECTION_FAILED},
        {"HTTPS: a refusal still shows a working proxy", https, "HTTP/1.0 504 Gateway Timeout\r\n\r\n", 1,
         CONNECTION_CONNECTED},
        {"SOCKS4: granted", socks4, Bytes({0, 0x5A, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_CONNECTED},
        {"SOCKS4: rejected", socks4, Bytes({0, 0x5B, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_CONNECTED},
        {"SOCKS4: identd", socks4, Bytes({0, 0x5D, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_CONNECTED},
        {"SOCKS4: byte 1 below the range", socks4, Bytes({0, 0x59, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_FAILED},
        {"SOCKS4: byte 1 above the range", socks4, Bytes({0, 0x5E, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_FAILED},
        {"SOCKS4: a SOCKS5 server's 05 FF", socks4, Bytes({0x05, 0xFF}), kNever, CONNECTION_FAILED},
        {"SOCKS5: bind refused still shows a working proxy", socks5, Bytes({0x05, 0x00, 0x05, 0x07}), 4,
         CONNECTION_CONNECTED},
        {"SOCKS5: bind granted", socks5, Bytes({0x05, 0x00, 0x05, 0x00, 0, 1, 127, 0, 0, 1}), 4,
         CONNECTION_CONNECTED},
        {"SOCKS5: authentication required", socks5, Bytes({0x05, 0x02}), 2, CONNECTION_FAILED},
        {"SOCKS5: a reply of another version", socks5, Bytes({0x05, 0x00, 0x04, 0x00}), 4, CONNECTION_FAILED},
        {"SOCKS5: one byte of reply", socks5, Bytes({0x05, 0x00, 0x05}), kNever, CONNECTION_FAILED},
    };
    for (const ProbeRow& row : rows) {
        for (const std::size_t chunk : {std::size_t{64}, std::size_t{1}}) {
            SCOPED_TRACE(testing::Message() << row.name << ", chunks of " << chunk);
            CProxyProbe probe = row.make();
            const kvtest::FeedOutcome got = FeedInChunks(probe, row.reply, chunk);
            if (row.decidedAt == kNever) {
                EXPECT_FALSE(got.done);
                continue;
            }
            ASSERT_TRUE(got.done);
            EXPECT_EQ(got.doneAt, ChunkEnd(row.decidedAt, chunk, row.reply.size()));
            EXPECT_EQ(got.status, row.status);
        }
    }
}

TEST_F(ProxyProbeTest, AsksASocks5ProxyToBindOnlyAfterNoAuthenticationWasChosen) {
    CProxyProbe accepted = CProxyProbe::Socks5();
    const kvtest::FeedOutcome got = FeedInChunks(accepted, Bytes({0x05, 0x00, 0x05, 0x07}), 1);
    EXPECT_EQ(got.later, kSocks5Bind);
    EXPECT_EQ(got.laterAt, 2u);

    CProxyProbe refused = CProxyProbe::Socks5();
    EXPECT_EQ(FeedInChunks(refused, Bytes({0x05, 0xFF}), 1).later, "");
}

}  // namespace
