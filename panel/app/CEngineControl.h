#pragma once
// The engine as the control panel's host drives it: each operation is one
// step of the start-up or the exit road, so the host's order of steps can
// be followed (tests record them by overriding). The default acts on the
// engine's facade in this process.

#include <string>

#include "platform/Messages.h"
#include "platform/Thread.h"

class CProxyServer;
class CSettings;

class CEngineControl {
public:
    virtual ~CEngineControl() = default;

    // Start-up.
    virtual bool InitEngine();
    // A new CPanelProxyServer in CBaseServer::mpProxyServer and its thread;
    // false (and no server) when the thread could not be made.
    virtual bool CreateServerThread();
    virtual void SetAnalyzerOnlyHttp(bool onlyHttp);
    virtual void AttachView(platform::HWND view);
    virtual void DettachView();

    // Commands; nothing happens without a live proxy-server object.
    virtual void StartServer();
    virtual void StopServer();
    virtual bool IsRunning() const;
    virtual CProxyServer* ProxyServer() const;

    // The exit road.
    virtual void SetShuttingDown(bool shuttingDown);
    virtual bool IsShuttingDown() const;
    virtual void StopAnalyzer();
    virtual void StopHunter();
    virtual void StopAnalyzingPrivateList();
    virtual void PostQuitToServerThread();
    virtual void PostQuitToUtilThread();
    // Waits for the stop event and the end of the proxy-server thread, then
    // for the util thread's end.
    virtual void WaitForServerThread();
    virtual void WaitForUtilThread();
    virtual void ExitEngine();

    // The settings of the engine (CBaseServer::mSettings).
    virtual CSettings EngineSettings() const;
    virtual void ApplySettings(CSettings& settings);
    virtual void HandleSettingsChange();
    virtual void SendProxyStatusChange(unsigned state);
    // The exit timer's restore of the client programs' own settings, and
    // the browser's settings at the end of the user's session.
    virtual void RestoreConfiguration();
    virtual void SetToIE();
    // The balloon text the engine left for the view.
    virtual std::string BallonText() const;

private:
    platform::Thread m_ServerThread;
};
