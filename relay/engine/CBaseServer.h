#pragma once
// The engine facade: its static members are the engine's singletons (all
// defined in CBaseServer.cpp, so their construction order is fixed) and its
// static operations are what the control panel and the engine's sockets
// call.
//
// Locks: mSettingsCS guards mSettings and mChainSettings (the control panel
// writes them, the proxy-server thread and the chain-setup workers read
// them); mVwCSect guards mpView, m_StrBallonLog and every post to the view
// but the server-state notice. Neither is held while the other is taken.
//
// The host calls InitEngine before it starts the proxy-server thread and
// ExitEngine after both engine threads have ended.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CriticalSection.h"
#include "platform/Messages.h"
#include "platform/Types.h"
#include "relay/engine/eRequestState.h"
#include "relay/engine/eServerState.h"
#include "relay/filter/CFiltrationManager.h"
#include "relay/logs/CChainLogger.h"
#include "relay/logs/CFiltrationLogger.h"
#include "relay/logs/CProgLog.h"
#include "relay/pool/CChainSettings.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/CTimerThread.h"
#include "settings/CPrefsKeeper.h"
#include "settings/CSettings.h"

class CAnalyzerThread;
class CProxyServer;
class CUtilThread;
class CHunterThread;
class IEngineLogs;

class CBaseServer {
public:
    virtual ~CBaseServer() = default;

    // Engine lifetime (in place of the library's load and unload): installs
    // the pool host and the string table; ExitEngine frees every client of
    // the listeners and uninstalls the host.
    static bool InitEngine();
    static void ExitEngine();

    static bool Startup();
    static void ApplySettings(CSettings& settings);
    static void ResetStatistics();
    static void SetAutoConfigSettings();
    static void ResetAutoConfigSettings();
    static bool Shutdown();

    // data is one request head (bodies pass as they are).
    static eRequestState FilterSend(char* data, int& length);
    // A final response head: true when the body that follows goes through
    // FilterRecv (incoming filtration is on and a filter applies to the
    // body's type). state is the connection's own (reset when its upstream
    // starts).
    static bool FilterRecvHead(std::string_view head, CScriptFilterState& state);
    // The next decoded bytes of such a body, in place; length becomes the
    // count decided (the rest comes again in front of the next bytes; with
    // last, every byte is decided).
    static void FilterRecv(char* data, int& length, CScriptFilterState& state, bool last);

    static void SetToolBarIncomingData(int n);
    static void SetToolBarOutgoingData(int n);

    static void AttachView(platform::HWND view);
    static void DettachView();
    static platform::HWND GetView();

    // Loads the text of id (empty when the table has none) into
    // m_StrBallonLog, then posts it.
    static void LogToolTip(unsigned id);
    // Posts WM_RELAY_BALLOON; the caller has put the text into
    // m_StrBallonLog under mVwCSect (or uses SetBallonText).
    static void LogToolTip();
    // Sets m_StrBallonLog under mVwCSect and posts it.
    static void LogToolTip(const std::string& text);
    static std::string GetBallonText();

    static void PostToolBarRequest(unsigned code);
    static void NotifyServerState(unsigned state);
    // Throws false when the proxy server's stop flag is set.
    static void CheckServerStop();

    // Copies taken under mSettingsCS, for threads other than the control
    // panel's.
    static CSettings GetSettings();
    static CChainSettings GetChainSettings();

    // The parts of the engine that live in their own areas; null puts the
    // pass-through default back. Installed before the engine threads start.
    static void SetEngineLogs(IEngineLogs* logs);
    static IEngineLogs& EngineLogs();

    static CSettings mSettings;
    static platform::CriticalSection mSettingsCS;
    static std::atomic<CProxyServer*> mpProxyServer;
    static std::atomic<CUtilThread*> mpUtilThread;
    static std::atomic<std::int32_t> m_nDataSent;
    static std::atomic<std::int32_t> m_nDataReceived;
    static platform::HWND mpView;
    static platform::CriticalSection mVwCSect;
    static std::string m_StrBallonLog;
    static CChainSettings mChainSettings;
    static CTimerThread mChainTimerThread;
    static CProxyMap m_ProxyPool;
    static CPrefsKeeper mCnfgMngr;
    // Used on the proxy-server thread only (filters and the copy at start).
    static CFiltrationManager mFltrMngr;
    // The logs; EngineLogs() reaches them unless a test installs a recorder.
    static CChainLogger m_ChainLog;
    static CProgLog m_ProgLog;
    static CFiltrationLogger m_FiltrationLog;
    // The stored-proxy analyzer, working on m_ProxyPool.
    static CAnalyzerThread mAnalyzerThread;
    // The proxy hunter, filling m_ProxyPool; its download thread lives while
    // a view is attached.
    static CHunterThread m_HunterThread;
};
