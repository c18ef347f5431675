#include <gtest/gtest.h>

#include <string>

#include "logs/LogSinks.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"
#include "relay/engine/IEngineLogs.h"
#include "relay/pool/CBProxyChain.h"

namespace {

using Posts = std::vector<std::pair<platform::UINT, platform::WPARAM>>;

// The facade's log calls land in its own static logs.
class EngineLogsTest : public logtest::LogTest {
protected:
    EngineLogsTest() {
        CBaseServer::m_ChainLog.RemoveAllElements();
        CBaseServer::m_ProgLog.RemoveAllElements();
        CBaseServer::m_FiltrationLog.ResetLog();
    }
    ~EngineLogsTest() override {
        CBaseServer::m_ChainLog.Dettach();
        CBaseServer::m_ProgLog.Dettach();
        CBaseServer::m_FiltrationLog.Dettach();
    }
};

TEST_F(EngineLogsTest, FacadeCallsReachTheStaticLogs) {
    CBaseServer::m_ChainLog.Attach(view_.hwnd());
    CProxy hop("10.2.2.2", 3128, PROXY_TYPE_HTTPS, "FR");
    CBProxyChain chain;
    chain.push_back(&hop);
    CBaseServer::EngineLogs().ChainLogAddItem(chain, "origin.example");
    CBaseServer::EngineLogs().UpdateProgLog("GET / HTTP/1.0\r\nUser-Agent: MSIE\r\nHost: origin.example\r\n\r\n");
    CBaseServer::m_FiltrationLog.IncrementCookies(5);

    EXPECT_EQ(CBaseServer::m_ChainLog.GetDestAt(0), "origin.example");
    EXPECT_STREQ(CBaseServer::m_ChainLog.GetProxyAt(0, 0).getIP(), "10.2.2.2");
    std::string program;
    std::string host;
    CBaseServer::m_ProgLog.GetProgLogAt(0, program, host);
    EXPECT_EQ(program, "Internet Explorer");
    EXPECT_EQ(host, "origin.example");

    CBaseServer::ResetStatistics();
    logtest::RecordingText edit;
    CBaseServer::m_FiltrationLog.AddToLog(edit);
    EXPECT_NE(edit.text.find("cookies are : 0\r\n"), std::string::npos);

    CBaseServer::EngineLogs().ChainLogFreeStoredChains();
    EXPECT_EQ(CBaseServer::m_ChainLog.GetListCount(), 0);
    CBaseServer::EngineLogs().ChainLogAddItem(chain, "again.example");
    CBaseServer::EngineLogs().ChainLogDettach();
    CBaseServer::EngineLogs().ChainLogAddItem(chain, "unseen.example");
    Settle();
    EXPECT_EQ(Posted(), (Posts{{WM_RELAY_CHAINLOG_ITEM, 0}, {WM_RELAY_CHAINLOG_RESET, 0}, {WM_RELAY_CHAINLOG_ITEM, 0}}));
    EXPECT_EQ(CBaseServer::m_ChainLog.GetListCount(), 2);
}

}  // namespace
