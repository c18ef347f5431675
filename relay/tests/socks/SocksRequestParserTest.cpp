#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Sockets.h"
#include "relay/socks/CSocks4RequestParser.h"
#include "relay/socks/CSocks5RequestParser.h"
#include "support/TempRoot.h"

namespace {

using namespace std::string_literals;

struct ParseCase {
    const char* name;
    std::vector<std::string> reads;  // the blocks, in order
    eSocksState state;               // after the last block
    std::string replies;             // every reply, joined
    std::string address;             // Done: the 4 address bytes
    std::uint16_t port = 0;          // Done
    std::string surplus;             // Done
    std::string host;                // Done: the name asked for
};

std::string Bytes(platform::DWORD address) { return {reinterpret_cast<const char*>(&address), 4}; }

// Every test keeps its own root, although the parsers touch no file.
class Socks4RequestParserTest : public kvtest::RootedTest {};
class Socks5RequestParserTest : public kvtest::RootedTest {};

template <typename Parser>
void Check(const ParseCase& c) {
    Parser parser;
    SocksStep step;
    std::string replies;
    for (const std::string& read : c.reads) {
        step = parser.Feed(read);
        replies += step.reply;
    }
    EXPECT_EQ(step.state, c.state) << c.name;
    EXPECT_EQ(replies, c.replies) << c.name;
    if (c.state != eSocksState::Done) return;
    EXPECT_EQ(Bytes(step.address), c.address) << c.name;
    EXPECT_EQ(step.port, c.port) << c.name;
    EXPECT_EQ(step.surplus, c.surplus) << c.name;
    EXPECT_EQ(step.host, c.host) << c.name;
}

const std::string kS4Fail = "\x00\x5B"s + std::string(6, '\0');
const std::string kS5Fail = "\x05\x01\x00\x01"s + std::string(6, '\0');
const std::string kS5Type = "\x05\x08\x00\x01"s + std::string(6, '\0');
const std::string kS5Hello = "\x05\x00"s;
const std::string kS4Head = "\x04\x01\x00\x50\xC0\x00\x02\x01"s;  // port 80, 192.0.2.1
const std::string kS5Request = "\x05\x01\x00\x01\xC0\x00\x02\x01\x1F\x90"s;  // 192.0.2.1:8080

TEST_F(Socks4RequestParserTest, TakesWholeRequestsAndFailsBadOnesWithTheRejectReply) {
    const ParseCase cases[] = {
        {"one block", {kS4Head + "\0"s}, eSocksState::Done, "", "\xC0\x00\x02\x01"s, 80, "", ""},
        {"user id over three reads, data after it",
         {"\x04\x01\x00"s, "\x50\xC0\x00\x02\x01" "ab"s, "c\0GET"s},
         eSocksState::Done, "", "\xC0\x00\x02\x01"s, 80, "GET", ""},
        {"user id of 255 bytes", {kS4Head + std::string(255, 'u') + "\0"s}, eSocksState::Done, "",
         "\xC0\x00\x02\x01"s, 80, "", ""},
        {"fixed part only", {kS4Head}, eSocksState::NeedMore, "", "", 0, "", ""},
        {"short", {"\x04\x01\x00\x50"s}, eSocksState::NeedMore, "", "", 0, "", ""},
        {"bind command", {"\x04\x02\x00\x50\xC0\x00\x02\x01\x00"s}, eSocksState::Failed, kS4Fail, "", 0, "", ""},
        {"other version, first byte", {"\x05"s}, eSocksState::Failed, kS4Fail, "", 0, "", ""},
        {"text", {"GET / HTTP/1.1\r\n\r\n"}, eSocksState::Failed, kS4Fail, "", 0, "", ""},
        {"user id past its bound", {kS4Head + std::string(256, 'u')}, eSocksState::Failed, kS4Fail, "", 0, "", ""},
        {"a name asked for (SOCKS4a)", {"\x04\x01\x00\x50\x00\x00\x00\x01\x00host\x00"s}, eSocksState::Done,
         "", "\0\0\0\0"s, 80, "", "host"},
        {"a name over two reads, data after it", {"\x04\x01\x00\x50\x00\x00\x00\x07kv\x00loc"s, "alhost\0GET"s},
         eSocksState::Done, "", "\0\0\0\0"s, 80, "GET", "localhost"},
        {"a name of 255 bytes", {"\x04\x01\x00\x50\x00\x00\x00\x01\x00"s + std::string(255, 'n') + "\0"s},
         eSocksState::Done, "", "\0\0\0\0"s, 80, "", std::string(255, 'n')},
        {"a name not ended yet", {"\x04\x01\x00\x50\x00\x00\x00\x01\x00host"s}, eSocksState::NeedMore, "", "", 0,
         "", ""},
        {"a name past its bound", {"\x04\x01\x00\x50\x00\x00\x00\x01\x00"s + std::string(256, 'n')},
         eSocksState::Failed, kS4Fail, "", 0, "", ""},
        {"address 0.0.0.0 asks for no name", {"\x04\x01\x00\x50\x00\x00\x00\x00\x00host\x00"s}, eSocksState::Done,
         "", "\0\0\0\0"s, 80, "host\0"s, ""},
        {"bytes after a failure are ignored", {"\x04\x02"s, kS4Head + "\0"s}, eSocksState::Failed, kS4Fail, "", 0, "",
         ""},
    };
    for (const ParseCase& c : cases) Check<CSocks4RequestParser>(c);
}

TEST_F(Socks4RequestParserTest, SuccessReplyCarriesTheBoundPortAndAddress) {
    EXPECT_EQ(CSocks4RequestParser::SuccessReply(htons(0x1234), htonl(0x7F000001)),
              "\x00\x5A\x12\x34\x7F\x00\x00\x01"s);
}

TEST_F(Socks5RequestParserTest, TakesGreetingAndRequestWholeInAnyBlocks) {
    std::vector<std::string> bytewise;
    for (const char b : "\x05\x02\x00\x02"s + kS5Request) bytewise.emplace_back(1, b);
    const ParseCase cases[] = {
        {"greeting alone", {"\x05\x02\x00\x02"s}, eSocksState::NeedMore, kS5Hello, "", 0, "", ""},
        {"greeting without methods", {"\x05\x00"s}, eSocksState::NeedMore, kS5Hello, "", 0, "", ""},
        {"greeting, request and data in one block", {"\x05\x01\x00"s + kS5Request + "GET"}, eSocksState::Done,
         kS5Hello, "\xC0\x00\x02\x01"s, 8080, "GET", ""},
        {"byte by byte", bytewise, eSocksState::Done, kS5Hello, "\xC0\x00\x02\x01"s, 8080, "", ""},
        {"short request", {"\x05\x01\x00"s, kS5Request.substr(0, 7)}, eSocksState::NeedMore, kS5Hello, "", 0, "", ""},
        {"greeting of another version", {"\x04\x01\x00"s}, eSocksState::Failed, "\x05\xFF"s, "", 0, "", ""},
        {"bind command", {"\x05\x01\x00\x05\x02\x00\x01"s}, eSocksState::Failed, kS5Hello + kS5Fail, "", 0, "", ""},
        {"request of another version", {"\x05\x01\x00"s, "\x04"s}, eSocksState::Failed, kS5Hello + kS5Fail, "", 0, "",
         ""},
        {"name", {"\x05\x01\x00"s, "\x05\x01\x00\x03\x0B" "example.com\x00\x50"s}, eSocksState::Done, kS5Hello,
         "\0\0\0\0"s, 80, "", "example.com"},
        {"name over two reads, data after it", {"\x05\x01\x00\x05\x01\x00\x03\x09" "loc"s, "alhost\x1F\x90GET"s},
         eSocksState::Done, kS5Hello, "\0\0\0\0"s, 8080, "GET", "localhost"},
        {"name of 255 bytes", {"\x05\x01\x00\x05\x01\x00\x03\xFF"s + std::string(255, 'n') + "\x00\x50"s},
         eSocksState::Done, kS5Hello, "\0\0\0\0"s, 80, "", std::string(255, 'n')},
        {"name, not whole yet", {"\x05\x01\x00"s, "\x05\x01\x00\x03\x0B" "example.com\x00"s},
         eSocksState::NeedMore, kS5Hello, "", 0, "", ""},
        {"IPv6, read whole", {"\x05\x01\x00"s, "\x05\x01\x00\x04"s + std::string(18, '\x01')}, eSocksState::Failed,
         kS5Hello + kS5Type, "", 0, "", ""},
        {"unknown address type, at once", {"\x05\x01\x00"s, "\x05\x01\x00\x07"s}, eSocksState::Failed,
         kS5Hello + kS5Type, "", 0, "", ""},
    };
    for (const ParseCase& c : cases) Check<CSocks5RequestParser>(c);
}

TEST_F(Socks5RequestParserTest, FailureReplyFollowsTheStage) {
    CSocks5RequestParser parser;
    EXPECT_EQ(parser.FailureReplyNow(), "\x05\xFF"s);
    parser.Feed("\x05\x01"s);
    EXPECT_EQ(parser.FailureReplyNow(), "\x05\xFF"s);
    parser.Feed("\x00\x05"s);
    EXPECT_EQ(parser.FailureReplyNow(), kS5Fail);
    EXPECT_EQ(CSocks5RequestParser::SuccessReply(), "\x05\x00\x00\x01\x7F\x00\x00\x01\x92\x1F"s);
}

}  // namespace
