#pragma once
// IPageHost answered by the control panel's host and its main window.

#include "panel/pages/IPageHost.h"

class CServerHost;

class CHostPageLink : public IPageHost {
public:
    explicit CHostPageLink(CServerHost& host) : m_Host(host) {}

    // IPageHost
    CSettings& WorkingSettings() override;
    void SetModified(bool modified, int kind) override;
    void StartServer() override;
    void StopServer() override;
    bool IsServerRunning() override;
    void ApplySettings() override;
    void ShowHelp() override;

private:
    CServerHost& m_Host;
};
