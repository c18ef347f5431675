#pragma once
// The application's side of the host (everything of the application object
// but the toolkit's application class, so tests run it without one): the
// start-up before the host's own (settings root, start-with-Windows value),
// the command line and the automation server registration, the main window,
// help, and the exit with its cleaner start.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "panel/app/CKVDeskCommandLine.h"
#include "panel/app/CServerHost.h"

namespace platform {
class SessionClient;
}

class CKVDeskHost : public CServerHost {
public:
    // arguments: the command line without the program name.
    explicit CKVDeskHost(std::vector<std::string> arguments = {},
                         std::unique_ptr<CEngineControl> engine = nullptr);
    ~CKVDeskHost() override;

    // Replaces the command line (the toolkit gives it only once it runs).
    void SetCommandLine(const std::vector<std::string>& arguments);

    // The start-up; what Run returns (0 end, 1 run the message loop).
    int InitInstance();
    // The exit: waits for the engine, then the outside cleaner when the
    // engine's settings ask for it; a session that is ending hears that the
    // program is ready.
    int ExitInstance();
    // A request from outside to end (SIGTERM, SIGHUP, SIGINT, the session's
    // end or stop): the main window's exit road, or the end of the
    // window-less loop.
    void EndOrderly();

    // CServerHost
    int InitInstanceCore() override;
    int HandleCommandLine() override;
    void RevokeClassObjects() override;
    void ApplySettings() override;
    CMainDlg* GetMainWnd() override;
    void RunMainDialog() override;
    void ShowHelp() override;

protected:
    // From here on the end requests take EndOrderly; the session's question
    // whether it may end gives the browser its own settings back. Tests
    // record the call instead.
    virtual void WatchEndRequests();
    // Starts a program detached (the help viewer, the cleaner); tests
    // record the starts instead.
    virtual void StartDetached(const std::string& program, const std::vector<std::string>& arguments);
    // Where the program's own files are (the help below it).
    virtual std::filesystem::path ProgramFolder() const;

private:
    CKVDeskCommandLine m_CommandLine;
    CMainDlg* m_pMainDlg = nullptr;
    bool m_bClassObjectsRegistered = false;
    bool m_bWatchingEnd = false;
    std::unique_ptr<platform::SessionClient> m_pSession;
};
