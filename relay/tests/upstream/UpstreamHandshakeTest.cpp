// Result tables of the three upstream handshakes. Every row is fed whole,
// in 3-byte chunks and byte by byte: the decision must come exactly when
// the reply's last needed byte arrives, and bytes past the reply's end must
// come back as surplus.

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <string>
#include <vector>

#include "relay/upstream/CHttpConnectHandshake.h"
#include "relay/upstream/CSocks4Handshake.h"
#include "relay/upstream/CSocks5Handshake.h"
#include "support/TempRoot.h"
#include "upstream/HandshakeFeed.h"

namespace {
using kvtest::Bytes;
using kvtest::ChunkEnd;
using kvtest::FeedInChunks;

constexpr std::size_t kNever = std::string::npos;  // the reply never decides: the caller's end of stream gives 1
const std::vector<std::size_t> kChunkSizes = {65536, 3, 1};

struct ReplyRow {
    const char* name;
    std::string reply;
    std::size_t decidedAt;  // bytes needed for the decision, or kNever
    eConnectionStatus status;
};

// Checks the decision point, the status and the surplus of one row for
// every chunk size; make gives a fresh parser.
template <typename Make>
void CheckRow(const ReplyRow& row, Make make) {
    for (const std::size_t chunk : kChunkSizes) {
        SCOPED_TRACE(testing::Message() << row.name << ", chunks of " << chunk);
        auto handshake = make();
        const kvtest::FeedOutcome got = FeedInChunks(handshake, row.reply, chunk);
        if (row.decidedAt == kNever) {
            EXPECT_FALSE(got.done);
            continue;
        }
        ASSERT_TRUE(got.done);
        const std::size_t end = ChunkEnd(row.decidedAt, chunk, row.reply.size());
        EXPECT_EQ(got.doneAt, end);
        EXPECT_EQ(got.status, row.status);
        const std::string expectedSurplus = row.status == CONNECTION_CONNECTED
                                                ? row.reply.substr(row.decidedAt, end - row.decidedAt)
                                                : std::string();
        EXPECT_EQ(got.surplus, expectedSurplus);
    }
}

const platform::DWORD kDestination = htonl(0x0A010203);  // 10.1.2.3

class UpstreamHandshakeTest : public kvtest::RootedTest {};

// ---- SOCKS4

const std::string kGranted4 = Bytes({0x00, 0x5A, 0x1F, 0x90, 10, 1, 2, 3});

const std::vector<ReplyRow> kSocks4Rows = {
    {"granted", kGranted4, 8, CONNECTION_CONNECTED},
    {"granted with the server's first bytes behind it", kGranted4 + "HTTP/1.0 200 OK\r\n\r\nbody", 8,
     CONNECTION_CONNECTED},
    {"granted with an odd version byte", Bytes({0x04, 0x5A, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_CONNECTED},
    {"rejected 5B", Bytes({0x00, 0x5B, 0, 0, 0, 0, 0, 0}) + "junk", 8, CONNECTION_REFUSED},
    {"no identd 5C", Bytes({0x00, 0x5C, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_REFUSED},
    {"identd mismatch 5D", Bytes({0x00, 0x5D, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_REFUSED},
    {"byte 1 is 00", Bytes({0x00, 0x00, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_FAILED},
    {"a SOCKS5 answer", Bytes({0x05, 0xFF, 0, 0, 0, 0, 0, 0}), 8, CONNECTION_FAILED},
    {"a refusal cut after 2 bytes", Bytes({0x00, 0x5B}), kNever, CONNECTION_FAILED},
    {"a grant cut after 7 bytes", kGranted4.substr(0, 7), kNever, CONNECTION_FAILED},
    {"nothing", "", kNever, CONNECTION_FAILED},
};

TEST_F(UpstreamHandshakeTest, JudgesSocks4RepliesOnlyWhenAllEightBytesAreIn) {
    for (const ReplyRow& row : kSocks4Rows) {
        CheckRow(row, [] { return CSocks4Handshake(kDestination, 8080); });
    }
}

TEST_F(UpstreamHandshakeTest, SendsTheSocks4ConnectRequest) {
    CSocks4Handshake handshake(kDestination, 8080);
    const HandshakeStep step = handshake.Start();
    EXPECT_FALSE(step.done());
    EXPECT_EQ(step.send, Bytes({0x04, 0x01, 0x1F, 0x90, 10, 1, 2, 3, 0x00}));
}

// ---- SOCKS5

const std::string kChoice = Bytes({0x05, 0x00});
const std::string kGranted5 = Bytes({0x05, 0x00, 0x00, 0x01, 10, 1, 2, 3, 0x1F, 0x90});

std::string NameReply(int status, const std::string& name) {
    return Bytes({0x05, status, 0x00, 0x03, static_cast<int>(name.size())}) + name + Bytes({0x00, 0x50});
}

const std::vector<ReplyRow> kSocks5Rows = {
    {"granted, IPv4 address", kChoice + kGranted5, 12, CONNECTION_CONNECTED},
    {"granted with the server's first bytes behind it", kChoice + kGranted5 + "SSH-2.0\r\n", 12,
     CONNECTION_CONNECTED},
    {"granted, IPv6 address", kChoice + Bytes({0x05, 0x00, 0x00, 0x04}) + std::string(16, '\x01') + Bytes({0, 80}) + "x",
     24, CONNECTION_CONNECTED},
    {"granted, a name", kChoice + NameReply(0x00, "localhost") + "x", 18, CONNECTION_CONNECTED},
    {"granted, an empty name", kChoice + NameReply(0x00, ""), 9, CONNECTION_CONNECTED},
    {"authentication required 05 02", Bytes({0x05, 0x02}) + kGranted5, 2, CONNECTION_FAILED},
    {"no acceptable method 05 FF", Bytes({0x05, 0xFF}), 2, CONNECTION_FAILED},
    {"a SOCKS4 server's choice", Bytes({0x00, 0x5B}), 2, CONNECTION_FAILED},
    {"general failure 05 01", kChoice + Bytes({0x05, 0x01, 0x00, 0x01, 0, 0, 0, 0, 0, 0}), 12,
     CONNECTION_REFUSED},
    {"connection refused 05 05", kChoice + Bytes({0x05, 0x05, 0x00, 0x01, 0, 0, 0, 0, 0, 0}), 12,
     CONNECTION_REFUSED},
    {"a refusal with a name", kChoice + NameReply(0x04, "example.org"), 20, CONNECTION_REFUSED},
    {"a reply of the wrong version", kChoice + Bytes({0x04, 0x00, 0x00, 0x01, 0, 0, 0, 0, 0, 0}), 6,
     CONNECTION_FAILED},
    {"an unknown address type", kChoice + Bytes({0x05, 0x00, 0x00, 0x07, 0, 0, 0, 0, 0, 0}), 6,
     CONNECTION_FAILED},
    {"a refusal cut after its status", kChoice + Bytes({0x05, 0x01}), kNever, CONNECTION_FAILED},
    {"a grant cut short", kChoice + kGranted5.substr(0, 9), kNever, CONNECTION_FAILED},
    {"half a method choice", Bytes({0x05}), kNever, CONNECTION_FAILED},
};

TEST_F(UpstreamHandshakeTest, JudgesSocks5RepliesToTheEndTheirAddressTypeGives) {
    for (const ReplyRow& row : kSocks5Rows) {
        CheckRow(row, [] { return CSocks5Handshake(kDestination, 8080); });
    }
}

TEST_F(UpstreamHandshakeTest, SendsTheSocks5RequestOnlyAfterNoAuthenticationWasChosen) {
    const std::string request = Bytes({0x05, 0x01, 0x00, 0x01, 10, 1, 2, 3, 0x1F, 0x90});
    for (const std::size_t chunk : kChunkSizes) {
        SCOPED_TRACE(chunk);
        CSocks5Handshake accepted(kDestination, 8080);
        const kvtest::FeedOutcome got = FeedInChunks(accepted, kChoice + kGranted5, chunk);
        EXPECT_EQ(got.opening, Bytes({0x05, 0x01, 0x00}));
        EXPECT_EQ(got.later, request);
        EXPECT_EQ(got.laterAt, ChunkEnd(2, chunk, 12));

        CSocks5Handshake refused(kDestination, 8080);
        EXPECT_EQ(FeedInChunks(refused, Bytes({0x05, 0x02}), chunk).later, "");
    }
}

TEST_F(UpstreamHandshakeTest, JudgesAConnectReplyThatCameWithTheMethodChoice) {
    // The request must still go out, before the tunnel is used.
    CSocks5Handshake handshake(kDestination, 8080);
    handshake.Start();
    const HandshakeStep step = handshake.Feed(kChoice + kGranted5 + "tail");
    EXPECT_TRUE(step.done());
    EXPECT_EQ(step.status, CONNECTION_CONNECTED);
    EXPECT_EQ(step.send.size(), 10u);
    EXPECT_EQ(step.surplus, "tail");
}

// ---- HTTP CONNECT

std::string Padded(const std::string& statusLine, std::size_t headLength) {
    const std::string start = statusLine + "\r\nX-Pad: ";
    return start + std::string(headLength - start.size() - 4, 'p') + "\r\n\r\n";
}

const std::string kTinyproxyGrant = "HTTP/1.0 200 Connection established\r\nProxy-agent: tinyproxy/1.11.1\r\n\r\n";
const std::string kOk = "HTTP/1.1 200 OK\r\n\r\n";

const std::vector<ReplyRow> kHttpRows = {
    {"200 with headers", kTinyproxyGrant, kTinyproxyGrant.size(), CONNECTION_CONNECTED},
    {"200 with the server's first bytes behind it", kOk + "SSH-2.0\r\n\r\n", kOk.size(), CONNECTION_CONNECTED},
    {"200 without a reason", "HTTP/1.0 200\r\n\r\n", 16, CONNECTION_CONNECTED},
    {"another 2xx", "HTTP/1.1 299 Fine\r\n\r\n", 21, CONNECTION_CONNECTED},
    {"a 200 line naming 407 later", "HTTP/1.1 200 OK not 407 \r\n\r\n", 28, CONNECTION_CONNECTED},
    {"a head of exactly the limit", Padded("HTTP/1.1 200 OK", 10240), 10240, CONNECTION_CONNECTED},
    {"407", "HTTP/1.0 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic\r\n\r\n", 44,
     CONNECTION_REFUSED},
    {"403 without a blank line yet", "HTTP/1.1 403 Access violation\r\nServer: x", 31, CONNECTION_REFUSED},
    {"400", "HTTP/1.0 400 Bad Request\r\n\r\n", 26, CONNECTION_REFUSED},
    {"a 4xx beyond 417", "HTTP/1.1 451 Unavailable\r\n\r\n", 26, CONNECTION_REFUSED},
    {"503", "HTTP/1.1 503 Service Unavailable\r\n\r\n", 34, CONNECTION_FAILED},
    {"500", "HTTP/1.1 500 Unable to connect\r\n\r\n", 32, CONNECTION_FAILED},
    {"504", "HTTP/1.0 504 Gateway Timeout\r\n\r\n", 30, CONNECTION_FAILED},
    {"a redirect", "HTTP/1.1 302 Found\r\nLocation: x\r\n\r\n", 20, CONNECTION_FAILED},
    {"100 continue", "HTTP/1.1 100 Continue\r\n\r\n", 23, CONNECTION_FAILED},
    {"HTTP/2", "HTTP/2 200\r\n\r\n", 12, CONNECTION_FAILED},
    {"a lower-case version", "http/1.1 200 OK\r\n\r\n", 17, CONNECTION_FAILED},
    {"a four-digit code", "HTTP/1.1 2000 OK\r\n\r\n", 18, CONNECTION_FAILED},
    {"a code in blanks without a version", "Connection 200 established\r\n\r\n", 28, CONNECTION_FAILED},
    {"another protocol", "SSH-2.0-OpenSSH_9.2\r\n", 21, CONNECTION_FAILED},
    {"a head one byte over the limit", Padded("HTTP/1.1 200 OK", 10241), 10240, CONNECTION_FAILED},
    {"a status line without end", "HTTP/1.1 200 " + std::string(10300, 'x'), 10240, CONNECTION_FAILED},
    {"no line end", "HTTP/1.0 200 OK", kNever, CONNECTION_FAILED},
    {"no blank line", "HTTP/1.0 200 OK\r\nProxy-agent: x\r\n", kNever, CONNECTION_FAILED},
    {"a bare line feed", "HTTP/1.0 200 OK\n\n", kNever, CONNECTION_FAILED},
};

TEST_F(UpstreamHandshakeTest, OpensTheTunnelOnlyForAnHttp1SuccessReadToItsBlankLine) {
    for (const ReplyRow& row : kHttpRows) {
        CheckRow(row, [] { return CHttpConnectHandshake("10.1.2.3", 443); });
    }
}

TEST_F(UpstreamHandshakeTest, SendsTheConnectRequestLine) {
    CHttpConnectHandshake handshake("10.1.2.3", 443);
    EXPECT_EQ(handshake.Start().send, "CONNECT 10.1.2.3:443 HTTP/1.1\r\n\r\n");
}

// ---- shared rules

TEST_F(UpstreamHandshakeTest, RefusesTargetsThatCannotBeAskedForWithoutSending) {
    CSocks4Handshake socks4(kDestination, 0);
    CSocks5Handshake socks5(kDestination, 0);
    CHttpConnectHandshake noPort("10.1.2.3", 0);
    CHttpConnectHandshake empty("", 80);
    CHttpConnectHandshake lineBreak("10.1.2.3:80 HTTP/1.1\r\nX-Evil: 1\r\n\r\nGET", 80);
    CHttpConnectHandshake blank("evil host", 80);
    CHttpConnectHandshake tooLong(std::string(256, 'a'), 80);
    std::vector<CUpstreamHandshake*> all = {&socks4, &socks5, &noPort, &empty, &lineBreak, &blank, &tooLong};
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(i);
        const HandshakeStep step = all[i]->Start();
        EXPECT_TRUE(step.done());
        EXPECT_EQ(step.status, CONNECTION_REFUSED);
        EXPECT_EQ(step.send, "");
    }
    CHttpConnectHandshake longest(std::string(255, 'a'), 80);
    EXPECT_FALSE(longest.Start().done());
}

TEST_F(UpstreamHandshakeTest, KeepsItsDecisionWhenFedAgain) {
    CSocks4Handshake handshake(kDestination, 8080);
    handshake.Start();
    ASSERT_EQ(handshake.Feed(kGranted4 + "more").surplus, "more");
    const HandshakeStep again = handshake.Feed("later bytes");
    EXPECT_TRUE(again.done());
    EXPECT_EQ(again.status, CONNECTION_CONNECTED);
    EXPECT_EQ(again.surplus, "");
    EXPECT_EQ(again.send, "");
}

}  // namespace
