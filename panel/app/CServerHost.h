#pragma once
// The control panel's side of the engine: it starts the engine thread,
// answers the engine's running/stopped notices, stops every engine thread on
// the exit road and waits for them, and holds what the windows share (the
// working settings copy, the filter switch, the tray icon, the page most
// recently made by the page factory).
//
// One host lives in the process (the application object); its constructor
// makes it the current one, which every dialog reaches through
// CServerHost::Current(). Everything here runs on the GUI thread.

#include <memory>

#include "panel/app/CEngineControl.h"
#include "settings/CSettings.h"

class CBaseDlg;
class CFilterSwitch;
class CMainDlg;
class CProxyServer;
class CSystemTray;

class CServerHost {
public:
    // engine null: the real engine (CEngineControl).
    explicit CServerHost(std::unique_ptr<CEngineControl> engine = nullptr);
    virtual ~CServerHost();
    CServerHost(const CServerHost&) = delete;
    CServerHost& operator=(const CServerHost&) = delete;

    // The host of the process, or null before one is made / after it ended.
    static CServerHost* Current();

    // The start-up body: the command line, then the engine and the main
    // window. 0 ends the program; 1 runs the message loop until its quit.
    virtual int Run();
    virtual bool Stop();
    // Results: 0 end, 1 window-less automation mode, 2 start the panel.
    virtual int InitInstanceCore();
    virtual int HandleCommandLine();
    virtual void RevokeClassObjects();
    // Pushes the working copy to the engine and applies it through the main
    // window (the filter switch calls it).
    virtual void ApplySettings();
    virtual CMainDlg* GetMainWnd();
    virtual void RunMainDialog();

    // Engine commands; always true.
    bool StartServer();
    bool StopServer();
    // The engine's notices (0x8DC / 0x8DD), also fired by the automation
    // object. While the engine shuts down, OnServerStopped does nothing.
    void OnServerStarted();
    void OnServerStopped();
    // Sends the filtration and privacy states of the engine's settings to
    // the toolbars.
    void UpdateToolBarStatus();
    // The engine stop of the exit road; always true.
    bool Shutdown();
    // Creates and starts the engine thread; false when the thread could not
    // be made.
    bool StartProxyServer();
    // Waits for the engine's threads to end; false when none was started.
    bool WaitForEngineStop();

    CFilterSwitch& GetFilterSwitch();
    CSystemTray& GetTray();
    CSettings& GetSettings();
    const CSettings& GetSettings() const;
    // The page factory leaves the page it made here; the page host takes it
    // at once.
    void SetMadePage(std::unique_ptr<CBaseDlg> page);
    std::unique_ptr<CBaseDlg> TakeMadePage();
    // The engine's proxy-server object, or null while no engine runs.
    CProxyServer* GetProxyServer() const;
    CEngineControl& GetEngine();
    // Opens the help file; the launch's result is ignored.
    virtual void ShowHelp();

private:
    struct Members;
    std::unique_ptr<Members> m_;
};
