#pragma once
// The proxy-server thread: owns the local listeners and every connection
// socket, starts and stops the server on thread messages, and attaches the
// upstream sockets that chain-setup workers connect.

#include <array>
#include <atomic>

#include "platform/CriticalSection.h"
#include "platform/Event.h"
#include "platform/UiThread.h"
#include "relay/engine/EngineMessages.h"
#include "relay/http/CHttpProxy.h"
#include "relay/socks/CGeneralProxy.h"
#include "relay/socks/CSock4Proxy.h"
#include "relay/socks/CSock5Proxy.h"

class CCommonBase;
class CVirtualProxy;

class CProxyServer : public platform::UiThread {
public:
    CProxyServer();
    ~CProxyServer() override;

    // platform::UiThread
    bool InitInstance() override;
    int ExitInstance() override;
    bool PreTranslateMessage(platform::MSG& msg) override;

    // Posts to the running proxy-server thread (from any thread, without
    // touching the object, which deletes itself when the thread ends);
    // false when none runs.
    static bool PostToThread(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);

    // Server preparations a host may call before the first start: Start
    // backs up the client programs' own settings and reads the settings
    // (true); PreRunServer clears the stop flag, reads the settings and
    // points the client programs at the relay.
    bool Start();
    void PreRunServer();

    // Post 2253 / 2254 to the thread; true.
    bool StartServer();
    bool StopServer();
    bool Exit() { return StopServer(); }
    // Reloads the chain settings and, while running, restarts the server so
    // the filter and chain settings follow.
    bool HandleSettingsChange();

    bool IsRunning() const { return m_bRunning.load(); }
    static void SetType(int type) { m_nProxyType.store(type); }
    static int GetType() { return m_nProxyType.load(); }
    static void setStopFlag(bool stop) { msShouldStop.store(stop); }
    static bool getStopFlag() { return msShouldStop.load(); }

    // Manual reset; set when the engine stops (every chain-setup wait also
    // waits on it). One event for the process; the constructor resets it.
    static platform::Event mStopEvent;
    static std::atomic<bool> m_bShuttingDown;
    static std::atomic<bool> msShouldStop;
    static std::atomic<int> m_nProxyType;

    // The four local listeners; the server starts the one of the listener
    // type and stops all of them.
    static CHttpProxy mHttpProxy;
    static CSock4Proxy mSock4Proxy;
    static CSock5Proxy mSock5Proxy;
    static CGeneralProxy mGeneralProxy;
    static std::array<CVirtualProxy*, 4> AllListeners();

    // Handlers of the thread messages (on the thread).
    void OnStartServer();
    void OnStopServer();
    void OnAttachSocket(platform::WPARAM socket, platform::LPARAM object);

private:
    static CVirtualProxy* ListenerFor(int type);
    static void StopListeners();
    // At the thread's end: lets the chain-setup workers end (bounded), still
    // handling their hand-overs, then frees every connection.
    void FreeConnections();
    void DrainHandOvers();

    static std::atomic<platform::DWORD> msThreadId;

    platform::CriticalSection m_StartStopCS;
    std::atomic<bool> m_bRunning{false};
};
