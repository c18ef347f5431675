#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filter/FilterFixture.h"
#include "http/HttpTestBytes.h"
#include "http/ManagerFilter.h"
#include "relay/http/CHttpResponseStream.h"

namespace {

using filtertest::FilterTest;
using httptest::ManagerFilter;

struct Outcome {
    std::string out;
    bool open = true;  // no Feed asked to close the client
    bool switched = false;
};

// Feeds the stream the bytes split at the given offsets (sorted), then the
// end of the upstream's stream.
Outcome Relay(CFiltrationManager& manager, const std::vector<std::string>& requests, const std::string& bytes,
            std::vector<std::size_t> splits) {
    ManagerFilter filter(manager);
    CHttpResponseStream stream(filter);
    for (const std::string& r : requests) stream.ExpectResponse(r);
    httptest::CollectingSink sink;
    Outcome outcome;
    std::size_t from = 0;
    splits.push_back(bytes.size());
    for (std::size_t to : splits) {
        if (outcome.open) outcome.open = stream.Feed(std::string_view(bytes).substr(from, to - from), sink);
        from = to;
    }
    if (outcome.open) stream.End(sink);
    outcome.out = sink.out;
    outcome.switched = stream.SwitchedProtocols();
    return outcome;
}

const std::string kGet11 = "GET / HTTP/1.1\r\nHost: a\r\n\r\n";
const std::string kGet10 = "GET / HTTP/1.0\r\nHost: a\r\n\r\n";
const std::string kHead11 = "HEAD / HTTP/1.1\r\nHost: a\r\n\r\n";

// Markers cut by every read size the tests use.
const std::string kPage = [] {
    std::string page = "<html><head><title>Old title</title></head><body>";
    for (int i = 0; i < 40; ++i) {
        page += "<p>para " + std::to_string(i) + "</p><script>var x" + std::to_string(i) +
                "=1;</script><a href=# onclick=\"window.open('u')\">o</a> window.onunload=f" + std::to_string(i) + ";\n";
    }
    return page + "</body></html>";
}();

class ResponseStreamTest : public FilterTest {
protected:
    CFiltrationManager manager_ = Manager([](CFiltrationSettings& f) { filtertest::EveryResponseFilter(f, "New"); });

    // What the filter makes of a whole page in one piece.
    std::string Filtered(const std::string& page) { return filtertest::FilterWhole(manager_, page); }
};

TEST_F(ResponseStreamTest, WhatIsNotFilteredPassesByteForByteWhateverTheSplit) {
    const std::string binary = "\x89PNG<script>window.open(1)</script>" + std::string(300, '\0') + "<title>t</title>";
    const std::string br = httptest::Chunked("<script>compressed?</script>", {7});
    const std::string stream =
        "HTTP/1.1 100 Continue\r\n\r\n"
        "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " + std::to_string(binary.size()) + "\r\n\r\n" +
        binary +
        // A HEAD answer has no body, whatever its length says.
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 999\r\n\r\n"
        "HTTP/1.1 206 Partial Content\r\nContent-Type: text/html\r\nContent-Range: bytes 0-16/99\r\nContent-Length: 17\r\n\r\n"
        "<script>x</script"
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: br\r\nTransfer-Encoding: chunked\r\n\r\n" + br +
        "HTTP/1.1 304 Not Modified\r\nContent-Type: text/html\r\n\r\n"
        "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\n\r\n" +
        httptest::Chunked("<script>plain text</script>", {5}, "X-T: 1\r\n") +
        "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n" + binary;
    const std::vector<std::string> requests = {kGet11, kHead11, kGet11, kGet11, kGet11, kGet11, kGet10};
    for (std::size_t split = 0; split <= stream.size(); ++split) {
        const Outcome got = Relay(manager_, requests, stream, {split});
        ASSERT_TRUE(got.out == stream) << "split at " << split;
        ASSERT_TRUE(got.open);
    }
}

TEST_F(ResponseStreamTest, FilteredBodiesAreDecodedFilteredAndFramedValidly) {
    const std::string expected = Filtered(kPage);
    ASSERT_NE(expected, kPage);
    const struct {
        const char* coding;
        std::string body;
    } codings[] = {
        {"", kPage},
        {"gzip", httptest::Gzip(kPage)},
        {"deflate", httptest::Deflate(kPage, false)},
        {"deflate", httptest::Deflate(kPage, true)},
    };
    enum class eFraming { Length, Chunked, UntilClose };
    for (const auto& c : codings) {
        for (const eFraming framing : {eFraming::Length, eFraming::Chunked, eFraming::UntilClose}) {
            std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nETag: \"e\"\r\n";
            if (*c.coding) head += std::string("Content-Encoding: ") + c.coding + "\r\n";
            std::string body = c.body;
            if (framing == eFraming::Length) head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
            if (framing == eFraming::Chunked) {
                head += "Transfer-Encoding: chunked\r\n";
                body = httptest::Chunked(body, {1, 100, 333, 4096}, "X-Checksum: 7\r\n");
            }
            if (framing == eFraming::UntilClose) head += "Connection: close\r\n";
            const std::string response = head + "\r\n" + body;
            const std::string what = std::string(c.coding) + " framing " + std::to_string(static_cast<int>(framing));
            for (std::size_t split = 0; split <= response.size(); split += 37) {
                const Outcome got = Relay(manager_, {kGet11}, response, {split, std::min(response.size(), split + 1500)});
                const auto read = httptest::ReadResponses(got.out);
                ASSERT_EQ(read.size(), 1u) << what << " split " << split;
                EXPECT_TRUE(read[0].whole) << what << " split " << split;
                ASSERT_TRUE(read[0].body == expected) << what << " split " << split;
                EXPECT_TRUE(got.open) << what;
                bool coded = false;
                httptest::Field(read[0].head, "content-encoding", &coded);
                EXPECT_FALSE(coded) << what;
                EXPECT_EQ(httptest::Field(read[0].head, "etag"), "\"e\"");
                if (framing == eFraming::Chunked) {
                    EXPECT_EQ(read[0].trailer, "X-Checksum: 7\r\n") << what;
                }
                if (!*c.coding && framing == eFraming::Length) {
                    // Only the chunks could change; a length stays true.
                    EXPECT_EQ(read[0].head, head + "\r\n");
                }
            }
        }
    }
}

TEST_F(ResponseStreamTest, AnHttp10ClientGetsADecodedBodyEndedByTheClose) {
    const std::string gz = httptest::Gzip(kPage);
    const std::string response = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: gzip\r\nContent-Length: " +
                                 std::to_string(gz.size()) + "\r\nConnection: keep-alive\r\n\r\n" + gz;
    const Outcome got = Relay(manager_, {kGet10}, response, {100});
    EXPECT_FALSE(got.open);
    const auto read = httptest::ReadResponses(got.out);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(httptest::Field(read[0].head, "connection"), "close");
    bool chunked = false;
    httptest::Field(read[0].head, "transfer-encoding", &chunked);
    EXPECT_FALSE(chunked);
    EXPECT_TRUE(read[0].body == Filtered(kPage));
}

TEST_F(ResponseStreamTest, BrokenCompressedBodyEndsTheConnectionUnfinished) {
    std::string gz = httptest::Gzip(kPage);
    for (std::size_t i = gz.size() / 2; i < gz.size() / 2 + 16; ++i) gz[i] = static_cast<char>(gz[i] ^ 0x5A);
    const std::string response = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: gzip\r\nContent-Length: " +
                                 std::to_string(gz.size()) + "\r\n\r\n" + gz + kGet11;
    const Outcome got = Relay(manager_, {kGet11}, response, {});
    EXPECT_FALSE(got.open);
    const auto read = httptest::ReadResponses(got.out);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_FALSE(read[0].whole);
}

TEST_F(ResponseStreamTest, PipelinedAnswersAreFramedEachByItsOwnRequest) {
    const std::string gz = httptest::Gzip(kPage);
    const std::string stream = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 40\r\n\r\n" +  // HEAD
                               std::string("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: gzip\r\n"
                                           "Content-Length: ") +
                               std::to_string(gz.size()) + "\r\n\r\n" + gz +
                               "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nTransfer-Encoding: chunked\r\n\r\n" +
                               httptest::Chunked(kPage, {10, 2000});
    const Outcome got = Relay(manager_, {kHead11, kGet11, kGet11}, stream, {stream.size() / 3});
    const auto read = httptest::ReadResponses(got.out, {true, false, false});
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].body, "");
    EXPECT_TRUE(read[1].body == Filtered(kPage));
    EXPECT_TRUE(read[2].body == Filtered(kPage));
    EXPECT_TRUE(read[2].whole);
}

TEST_F(ResponseStreamTest, StreamsThatAreNotHttpOrSwitchProtocolsPassAsTheyAre) {
    const std::string websocket = "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n\r\n\x81\x05<script>";
    const std::string notHttp = "ICY 200 OK\r\nicy-name: radio\r\n\r\n<script>x</script>";
    const std::string hugeHead = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nX: " +
                                 std::string(CHttpResponseStream::kMaxHead, 'x') + "\r\n\r\n<script>x</script>";
    const std::string badLength = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 3, 4\r\n\r\n<script>";
    const struct {
        std::string stream;
        bool switched;
    } cases[] = {{websocket, true}, {notHttp, false}, {hugeHead, false}, {badLength, false}};
    for (const auto& c : cases) {
        const Outcome got = Relay(manager_, {kGet11}, c.stream, {c.stream.size() / 2});
        EXPECT_TRUE(got.out == c.stream) << c.stream.substr(0, 40);
        EXPECT_EQ(got.switched, c.switched);
    }
}

}  // namespace
