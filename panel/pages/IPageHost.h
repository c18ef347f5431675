#pragma once
// What the pages ask of the control panel: the working settings copy, the
// main window's change notice, the engine commands and the help file. The
// views answer it from CServerHost and CMainDlg; the page models only see
// this, so they are tested without a window.

class CSettings;

class IPageHost {
public:
    virtual ~IPageHost() = default;

    // The working copy every settings page edits in place.
    virtual CSettings& WorkingSettings() = 0;
    // CMainDlg::SetModified on the main window (kind 0 ordinary, 1 to 4 a
    // preset button, 5 a General-page setting).
    virtual void SetModified(bool modified, int kind) = 0;
    virtual void StartServer() = 0;
    virtual void StopServer() = 0;
    // Whether the engine's proxy server reports running.
    virtual bool IsServerRunning() = 0;
    // CServerHost::ApplySettings: the copy goes to the engine, is written
    // and the main window applies it.
    virtual void ApplySettings() = 0;
    virtual void ShowHelp() = 0;
};
