#include "panel/pages/CHostPageLink.h"

#include "panel/app/CServerHost.h"
#include "panel/main/CMainDlg.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/CProxyServer.h"

CSettings& CHostPageLink::WorkingSettings() { return m_Host.GetSettings(); }

void CHostPageLink::SetModified(bool modified, int kind) {
    if (CMainDlg* main = m_Host.GetMainWnd()) main->SetModified(modified, kind);
}

void CHostPageLink::StartServer() { m_Host.StartServer(); }
void CHostPageLink::StopServer() { m_Host.StopServer(); }

bool CHostPageLink::IsServerRunning() {
    const CProxyServer* server = CBaseServer::mpProxyServer.load();
    return server && server->IsRunning();
}

void CHostPageLink::ApplySettings() { m_Host.ApplySettings(); }
void CHostPageLink::ShowHelp() { m_Host.ShowHelp(); }
