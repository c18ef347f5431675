#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/HttpTestBytes.h"
#include "relay/http/CChunkedBody.h"
#include "relay/http/CRequestFramer.h"
#include "relay/http/HttpFraming.h"

namespace {

using eStep = CRequestFramer::eStep;

struct Event {
    eStep kind;
    std::string bytes;
    bool operator==(const Event&) const = default;
    friend void PrintTo(const Event& e, std::ostream* os) {
        *os << static_cast<int>(e.kind) << ":" << ::testing::PrintToString(e.bytes);
    }
};

// What the framer makes of bytes fed in the given pieces; adjacent body
// steps are joined (how a body is cut is the reads' business).
std::vector<Event> Frame(const std::vector<std::string_view>& pieces, CRequestFramer::eFailure* failure = nullptr) {
    CRequestFramer framer;
    std::vector<Event> events;
    for (const std::string_view piece : pieces) {
        std::string_view input = piece;
        for (int guard = 0; guard < 100000; ++guard) {
            const CRequestFramer::Step step = framer.Next(input);
            if (step.kind == eStep::NeedMore) break;
            if (step.kind == eStep::Body && !events.empty() && events.back().kind == eStep::Body) {
                events.back().bytes += step.bytes;
            } else {
                events.push_back({step.kind, std::string(step.bytes)});
            }
            if (step.kind == eStep::Failed) {
                if (failure) *failure = framer.Failure();
                return events;
            }
        }
        EXPECT_TRUE(input.empty());
    }
    return events;
}

const std::string kGet = "GET http://a.example/ HTTP/1.1\r\nHost: a.example\r\n\r\n";
// A body that looks like requests must stay a body.
const std::string kTrickyBody = "x=1\r\nHost: other.example:81\r\n\r\nGET /evil HTTP/1.1\r\nHost: b\r\n\r\n";
const std::string kPost = "POST /up HTTP/1.1\r\nHost: a.example\r\nContent-Length: " +
                          std::to_string(kTrickyBody.size()) + "\r\n\r\n";
const std::string kChunkedHead = "POST /c HTTP/1.1\r\nhost: a.example\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n";
const std::string kChunkedBody = "5;name=val\r\n0\r\n\r\n\r\n1A\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\nX-Sum: 1\r\n\r\n";
const std::string kBareHead = "GET /bare HTTP/1.0\nHost: a.example\n\n";
const std::string kConnect = "CONNECT a.example:443 HTTP/1.1\r\nHost: a.example:443\r\n\r\n";
const std::string kTunnel = "\x16\x03\x01 GET / HTTP/1.1\r\nContent-Length: 0\r\n\r\n";

const std::string kStream = kGet + kPost + kTrickyBody + "\r\n" + kChunkedHead + kChunkedBody + kBareHead + kConnect + kTunnel;

const std::vector<Event> kExpected = {
    {eStep::Head, kGet},         {eStep::End, ""},
    {eStep::Head, kPost},        {eStep::Body, kTrickyBody},  {eStep::End, ""},
    {eStep::Head, kChunkedHead}, {eStep::Body, kChunkedBody}, {eStep::End, ""},
    {eStep::Head, kBareHead},    {eStep::End, ""},
    {eStep::Head, kConnect},     {eStep::Body, kTunnel},
};

TEST(RequestFramerTest, FramesTheSameMessagesWhereverTheReadsSplitThem) {
    EXPECT_EQ(Frame({kStream}), kExpected);
    for (std::size_t a = 0; a <= kStream.size(); ++a) {
        ASSERT_EQ(Frame(httptest::CutAt(kStream, {a})), kExpected) << "split at " << a;
    }
    for (std::size_t a = 0; a <= kStream.size(); a += 3) {
        for (std::size_t b = a; b <= kStream.size(); b += 11) {
            ASSERT_EQ(Frame(httptest::CutAt(kStream, {a, b})), kExpected) << "splits at " << a << ", " << b;
        }
    }
    // One byte a read.
    std::vector<std::size_t> everyByte;
    for (std::size_t at = 1; at < kStream.size(); ++at) everyByte.push_back(at);
    EXPECT_EQ(Frame(httptest::CutAt(kStream, everyByte)), kExpected);
}

TEST(RequestFramerTest, TakesAHeadUpToItsLimitAndRefusesALongerOne) {
    const std::string fields = "X-Pad: " + std::string(100, 'p') + "\r\n";
    std::string head = "GET / HTTP/1.1\r\nHost: a\r\n";
    while (head.size() + fields.size() + 2 <= CRequestFramer::kMaxHead) head += fields;
    head += "\r\n";
    std::vector<std::size_t> cuts;
    for (std::size_t at = 1000; at < head.size(); at += 1000) cuts.push_back(at);
    EXPECT_EQ(Frame(httptest::CutAt(head, cuts)), (std::vector<Event>{{eStep::Head, head}, {eStep::End, ""}}));

    std::string longer = head.substr(0, head.size() - 2) + fields + "\r\n";
    CRequestFramer::eFailure failure = CRequestFramer::eFailure::None;
    EXPECT_EQ(Frame({longer}, &failure).back().kind, eStep::Failed);
    EXPECT_EQ(failure, CRequestFramer::eFailure::HeadTooLarge);
}

TEST(RequestFramerTest, RefusesBodiesItCannotFrame) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"coding other than chunked last", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked, gzip\r\n\r\n"},
        {"length with letters", "POST / HTTP/1.1\r\nContent-Length: 12a\r\n\r\n"},
        {"lengths that disagree", "POST / HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\n"},
        {"chunk size that is no number", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n"},
        {"chunk without its line end", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabc"},
        {"chunk size beyond belief", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n10000000000000000\r\n"},
    };
    for (const auto& c : cases) {
        CRequestFramer::eFailure failure = CRequestFramer::eFailure::None;
        EXPECT_EQ(Frame({c.bytes}, &failure).back().kind, eStep::Failed) << c.name;
        EXPECT_EQ(failure, CRequestFramer::eFailure::BadFraming) << c.name;
    }
    // Agreeing lengths are one length.
    const std::string same = "POST / HTTP/1.1\r\nContent-Length: 2, 2\r\ncontent-length: 2\r\n\r\nokGET";
    EXPECT_EQ(Frame({same}).at(1), (Event{eStep::Body, "ok"}));
}

TEST(ChunkedBodyTest, DecodesDataAndTrailerAcrossAnySplit) {
    const std::string body = "The quick brown fox\r\n0\r\n\r\njumps";
    const std::string coded = httptest::Chunked(body, {3, 1, 17, 64}, "Expires: never\r\nX-A: b\r\n");
    for (std::size_t split = 0; split <= coded.size(); ++split) {
        CChunkedBody chunks;
        std::string data;
        CChunkedBody::eStep last = CChunkedBody::eStep::NeedMore;
        for (std::string_view piece : {std::string_view(coded).substr(0, split), std::string_view(coded).substr(split)}) {
            while (!piece.empty() && last != CChunkedBody::eStep::End) {
                const CChunkedBody::Step step = chunks.Next(piece);
                last = step.kind;
                ASSERT_NE(last, CChunkedBody::eStep::Failed) << split;
                data += step.data;
            }
        }
        EXPECT_EQ(last, CChunkedBody::eStep::End) << split;
        EXPECT_EQ(data, body) << split;
        EXPECT_EQ(chunks.Trailer(), "Expires: never\r\nX-A: b\r\n");
    }
}

TEST(ChunkedBodyTest, RefusesASizeLineLongerThanItsLimit) {
    CChunkedBody chunks;
    const std::string line = "1;" + std::string(CChunkedBody::kMaxLine, 'e');
    std::string_view input = line;
    EXPECT_EQ(chunks.Next(input).kind, CChunkedBody::eStep::Failed);
}

TEST(HttpFramingTest, ResponseBodiesFollowTheirHeadAndTheRequest) {
    using eKind = BodyFraming::eKind;
    const struct {
        std::string head;
        bool answersHead;
        eKind kind;
        std::uint64_t length;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n", false, eKind::Length, 12},
        {"HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n", true, eKind::None, 0},
        {"HTTP/1.1 204 No Content\r\nContent-Length: 3\r\n\r\n", false, eKind::None, 0},
        {"HTTP/1.1 304 Not Modified\r\nTransfer-Encoding: chunked\r\n\r\n", false, eKind::None, 0},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\nContent-Length: 3\r\n\r\n", false, eKind::Chunked, 0},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n", false, eKind::UntilClose, 0},
        {"HTTP/1.0 200 OK\r\n\r\n", false, eKind::UntilClose, 0},
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false, eKind::None, 0},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", false, eKind::Invalid, 0},
    };
    for (const auto& c : cases) {
        const BodyFraming framing = ResponseBodyFraming(c.head, ResponseStatus(c.head), c.answersHead);
        EXPECT_EQ(framing.kind, c.kind) << c.head;
        EXPECT_EQ(framing.length, c.length) << c.head;
    }
    EXPECT_EQ(ResponseStatus("HTTP/1.1 404 Not Found\r\n\r\n"), 404);
    EXPECT_EQ(ResponseStatus("ICY 200 OK\r\n\r\n"), -1);
    EXPECT_EQ(ResponseStatus("HTTP/1.1 20x OK\r\n\r\n"), -1);
    EXPECT_TRUE(KeepsHttp11("HTTP/1.1"));
    EXPECT_TRUE(KeepsHttp11("HTTP/2.0"));
    EXPECT_FALSE(KeepsHttp11("HTTP/1.0"));
    EXPECT_FALSE(KeepsHttp11("HTTP/1"));
}

}  // namespace
