#include <gtest/gtest.h>

#include <string>

#include "relay/http/HttpRequestText.h"

namespace {

struct InfoCase {
    const char* name;
    std::string request;
    std::string host;
    int port;
    bool connect;
    friend void PrintTo(const InfoCase& c, std::ostream* os) { *os << c.name; }
};

class ExtractRequestInfoTest : public ::testing::TestWithParam<InfoCase> {};

TEST_P(ExtractRequestInfoTest, FindsDestination) {
    const InfoCase& c = GetParam();
    const HttpRequestInfo info = ExtractRequestInfo(c.request);
    EXPECT_EQ(info.host, c.host);
    EXPECT_EQ(info.port, c.port);
    EXPECT_EQ(info.connect, c.connect);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ExtractRequestInfoTest,
    ::testing::Values(
        InfoCase{"ConnectLowerCasesHostAndKeepsPort", "CONNECT WWW.Example.COM:443 HTTP/1.1\r\nHost: x\r\n\r\n",
                 "www.example.com", 443, true},
        InfoCase{"ConnectMethodIgnoresCase", "connect a.b:8443 HTTP/1.0\r\n\r\n", "a.b", 8443, true},
        InfoCase{"ConnectWithoutPortIsEighty", "CONNECT host.example HTTP/1.1\r\n\r\n", "host.example", 80, true},
        InfoCase{"GetTakesHostLine", "GET http://Example.com/ HTTP/1.1\r\nHost: Example.com\r\n\r\n", "example.com",
                 80, false},
        InfoCase{"HostLineWithPort", "GET / HTTP/1.1\r\nHost: example.com:8080\r\n\r\n", "example.com", 8080, false},
        InfoCase{"HostLineWithoutBlankKeepsFirstLetter", "GET / HTTP/1.1\r\nhost:example.com\r\n\r\n", "example.com",
                 80, false},
        InfoCase{"HostLineNameIgnoresCase", "GET / HTTP/1.1\r\nHOST: a.example\r\n\r\n", "a.example", 80, false},
        InfoCase{"OtherHeaderEndingInHostIsNotTheHost",
                 "GET / HTTP/1.1\r\nX-Forwarded-Host: evil.example\r\nHost: good.example\r\n\r\n", "good.example", 80,
                 false},
        // A blanked field's line end stays, so Host right after it counts.
        InfoCase{"HostAfterBlankedFieldsIsFound",
                 "GET / HTTP/1.1\r\nUser-Agent:        \r\nCookie:    \r\nHost: b.example\r\n\r\n", "b.example", 80,
                 false},
        InfoCase{"HostWithBareLineFeeds", "GET / HTTP/1.1\nAccept: */*\nhost: c.example:81\n\n", "c.example", 81,
                 false},
        InfoCase{"NoHostLineGivesEmptyHost", "GET / HTTP/1.0\r\nAccept: */*\r\n\r\n", "", 80, false},
        InfoCase{"NoHostLineTakesTheAbsoluteTarget", "GET http://Example.com:8080/x HTTP/1.0\r\n\r\n", "example.com",
                 8080, false},
        InfoCase{"NoHostLineTakesABareAbsoluteTarget", "GET HTTP://b.example HTTP/1.0\r\nAccept: */*\r\n\r\n",
                 "b.example", 80, false},
        InfoCase{"HostLineWinsOverTheTarget", "GET http://a.example/ HTTP/1.1\r\nHost: b.example\r\n\r\n",
                 "b.example", 80, false},
        InfoCase{"SchemeWithoutHostGivesEmptyHost", "GET http:///x HTTP/1.0\r\n\r\n", "", 80, false},
        InfoCase{"NoBlankGivesEmptyHost", "abcdef", "", 80, false},
        InfoCase{"HostLineWithoutEndGivesEmptyHost", "GET / HTTP/1.1\r\nHost: cut.example", "", 80, false},
        InfoCase{"EmptyPortTextIsNoPort", "GET / HTTP/1.1\r\nHost: a.example:\r\n\r\n", "a.example", 0, false},
        InfoCase{"PortBeyondRangeIsNoPort", "CONNECT a.example:70000 HTTP/1.1\r\n\r\n", "a.example", 0, true},
        InfoCase{"PortWithLettersIsNoPort", "CONNECT a.example:8o HTTP/1.1\r\n\r\n", "a.example", 0, true}),
    [](const ::testing::TestParamInfo<InfoCase>& info) { return std::string(info.param.name); });

struct RelativeCase {
    const char* name;
    std::string request;
    std::string sent;  // after the leading blanks are dropped
    friend void PrintTo(const RelativeCase& c, std::ostream* os) { *os << c.name; }
};

class MakeRequestRelativeTest : public ::testing::TestWithParam<RelativeCase> {};

TEST_P(MakeRequestRelativeTest, RewritesOnlyTheRequestLineTarget) {
    const RelativeCase& c = GetParam();
    std::string buffer = c.request;
    MakeRequestRelative(buffer.data(), buffer.size());
    ASSERT_EQ(buffer.size(), c.request.size());
    EXPECT_EQ(buffer.substr(CountLeadingBlanks(buffer)), c.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, MakeRequestRelativeTest,
    ::testing::Values(
        RelativeCase{"AbsoluteGetBecomesPath", "GET http://a.example/x?y HTTP/1.1\r\nHost: a.example\r\n\r\n",
                     "GET /x?y HTTP/1.1\r\nHost: a.example\r\n\r\n"},
        RelativeCase{"HostWithPort", "POST http://a.example:8080/up HTTP/1.1\r\nHost: a.example:8080\r\n\r\n",
                     "POST /up HTTP/1.1\r\nHost: a.example:8080\r\n\r\n"},
        RelativeCase{"PrefixIgnoresCase", "GET http://A.Example/ HTTP/1.1\r\nhost: a.example\r\n\r\n",
                     "GET / HTTP/1.1\r\nhost: a.example\r\n\r\n"},
        RelativeCase{"BareHostAsksForRoot", "GET http://a.example HTTP/1.1\r\nHost: a.example\r\n\r\n",
                     "GET / HTTP/1.1\r\nHost: a.example\r\n\r\n"},
        RelativeCase{"FtpDropsHostPort", "GET ftp://f.example/pub HTTP/1.0\r\nHost: f.example:21\r\n\r\n",
                     "GET /pub HTTP/1.0\r\nHost: f.example:21\r\n\r\n"},
        RelativeCase{"RelativeStaysAsItIs", "GET /x HTTP/1.1\r\nHost: a.example\r\nReferer: http://a.example/\r\n\r\n",
                     "GET /x HTTP/1.1\r\nHost: a.example\r\nReferer: http://a.example/\r\n\r\n"},
        RelativeCase{"OtherHostStaysAsItIs", "GET http://b.example/ HTTP/1.1\r\nHost: a.example\r\n\r\n",
                     "GET http://b.example/ HTTP/1.1\r\nHost: a.example\r\n\r\n"},
        RelativeCase{"LongerHostStaysAsItIs", "GET http://a.example.evil/ HTTP/1.1\r\nHost: a.example\r\n\r\n",
                     "GET http://a.example.evil/ HTTP/1.1\r\nHost: a.example\r\n\r\n"},
        RelativeCase{"WithoutHostLineTheTargetsHostGoes", "GET http://a.example/x HTTP/1.0\r\n\r\n",
                     "GET /x HTTP/1.0\r\n\r\n"},
        RelativeCase{"RelativeWithoutHostLineStaysAsItIs", "GET /x HTTP/1.0\r\n\r\n", "GET /x HTTP/1.0\r\n\r\n"},
        RelativeCase{"BodyMentioningUrlStaysAsItIs", "{\"u\": \"http://a.example/\"}\r\nHost: a.example\r\n",
                     "{\"u\": \"http://a.example/\"}\r\nHost: a.example\r\n"},
        RelativeCase{"LeadingBlanksAreDropped", "   GET /a HTTP/1.1\r\n\r\n", "GET /a HTTP/1.1\r\n\r\n"}),
    [](const ::testing::TestParamInfo<RelativeCase>& info) { return std::string(info.param.name); });

}  // namespace
