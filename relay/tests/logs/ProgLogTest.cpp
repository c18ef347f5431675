#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logs/LogSinks.h"
#include "relay/engine/EngineMessages.h"
#include "relay/logs/CProgLog.h"

namespace {

using logtest::RecordingRows;
using Posts = std::vector<std::pair<platform::UINT, platform::WPARAM>>;

class ProgLogTest : public logtest::LogTest {
protected:
    CProgLog log_;
};

struct RequestCase {
    const char* name;
    const char* request;
    const char* program;  // null: nothing logged
    const char* host;
};

const RequestCase kRequests[] = {
    {"WordInPathNamesTheProgramAndHostBlanksGo",
     "GET /opera/index.html HTTP/1.1\r\nUser-Agent: Mozilla/5.0 (X11)\r\nHost: two words\r\n\r\n", "Opera",
     "twowords"},
    {"NoKnownWordLogsNothing", "GET / HTTP/1.1\r\nHost: a.example\r\nUser-Agent: curl/7.88\r\n\r\n", nullptr, ""},
    {"MsieWithoutHostHasAnEmptyHost", "GET / HTTP/1.0\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0)\r\n\r\n",
     "Internet Explorer", ""},
    {"WithoutUserAgentNothingIsLogged", "GET /msie HTTP/1.0\r\nHost: a.example\r\n\r\n", nullptr, ""},
    {"FirstWordOfTheOrderWins", "GET / HTTP/1.0\r\nUser-Agent: Netscape Opera MSIE\r\nHost: b\r\n\r\n",
     "Internet Explorer", "b"},
    {"NetscapeBeforeOpera", "GET / HTTP/1.0\r\nuser-agent: OPERA NETSCAPE\r\nHOST:c.example\r\n\r\n", "Netscape",
     "c.example"},
    {"Messenger", "GET / HTTP/1.0\r\nHost:\tm.example:80\r\nUser-Agent: MSMSGS\r\n\r\n", "MSN Messenger",
     "m.example:80"},
    {"HostEndsAtTheEndOfTheText", "GET / HTTP/1.0\r\nUser-Agent: Opera\r\nHost: end.example", "Opera",
     "end.example"},
    {"HostEndsAtABareLineFeed", "GET / HTTP/1.0\nHost: lf.example\nUser-Agent: Opera\n\n", "Opera", "lf.example"},
};

TEST_F(ProgLogTest, LogsTheProgramAndHostARequestNames) {
    log_.Attach(view_.hwnd());
    unsigned expected = 0;
    for (const RequestCase& c : kRequests) {
        SCOPED_TRACE(c.name);
        log_.UpdateProgLog(c.request);
        ASSERT_EQ(log_.GetProgLogCount(), expected + (c.program ? 1 : 0));
        if (!c.program) continue;
        std::string program;
        std::string host;
        log_.GetProgLogAt(expected, program, host);
        EXPECT_EQ(program, c.program);
        EXPECT_EQ(host, c.host);
        ++expected;
    }
    Settle();
    Posts posts;
    for (unsigned i = 0; i < expected; ++i) posts.emplace_back(WM_RELAY_PROGLOG_ITEM, i);
    EXPECT_EQ(Posted(), posts);
}

TEST_F(ProgLogTest, HostKeepsAtMost100Characters) {
    const std::string request = "GET / HTTP/1.0\r\nUser-Agent: Opera\r\nHost: " + std::string(150, 'h') + "\r\n\r\n";
    log_.UpdateProgLog(request.c_str());
    std::string program;
    std::string host;
    log_.GetProgLogAt(0, program, host);
    EXPECT_EQ(host, std::string(100, 'h'));
}

TEST_F(ProgLogTest, AddToListFillsTheThreeColumnsOfRowN) {
    log_.UpdateProgLog("GET / HTTP/1.0\r\nUser-Agent: MSIE\r\nHost: one.example\r\n\r\n");
    log_.UpdateProgLog("GET / HTTP/1.0\r\nUser-Agent: Opera\r\nHost: two.example\r\n\r\n");
    RecordingRows list;
    log_.AddToList(list, 0);
    log_.AddToList(list, 1);
    log_.AddToList(list, 2);
    log_.AddToList(list, CProgLog::kNoEntry);
    EXPECT_EQ(list.rows, (std::vector<std::vector<std::string>>{{"0", "Internet Explorer", "one.example"},
                                                               {"1", "Opera", "two.example"}}));
}

TEST_F(ProgLogTest, OutOfRangeReadsLeaveTheOutArgumentsAlone) {
    std::string program = "p";
    std::string host = "h";
    log_.GetProgLogAt(0, program, host);
    log_.GetProgLogAt(CProgLog::kNoEntry, program, host);
    EXPECT_EQ(program, "p");
    EXPECT_EQ(host, "h");
}

TEST_F(ProgLogTest, ViewsResetsAndTheNoEntryIndex) {
    log_.UpdateProgLog("GET / HTTP/1.0\r\nUser-Agent: MSIE\r\n\r\n");
    log_.UpdateProgLog("GET / HTTP/1.0\r\nUser-Agent: MSIE\r\n\r\n");
    log_.Attach(view_.hwnd());
    unsigned none = CProgLog::kNoEntry;
    log_.UpdateView(none);
    log_.ViewAllElements();
    log_.ClearProgLog();
    EXPECT_EQ(log_.GetProgLogCount(), 0u);
    log_.UpdateProgLog("GET / HTTP/1.0\r\nUser-Agent: Opera\r\n\r\n");
    log_.RemoveAllElements();
    log_.Dettach();
    log_.UpdateProgLog("GET / HTTP/1.0\r\nUser-Agent: Opera\r\n\r\n");
    Settle();
    EXPECT_EQ(Posted(), (Posts{{WM_RELAY_PROGLOG_ITEM, 0},
                               {WM_RELAY_PROGLOG_ITEM, 1},
                               {WM_RELAY_PROGLOG_RESET, 0},
                               {WM_RELAY_PROGLOG_ITEM, 0},
                               {WM_RELAY_PROGLOG_RESET, 0}}));
    EXPECT_EQ(log_.GetProgLogCount(), 1u);
}

TEST_F(ProgLogTest, NullRequestIsIgnored) {
    log_.UpdateProgLog(nullptr);
    EXPECT_EQ(log_.GetProgLogCount(), 0u);
}

}  // namespace
