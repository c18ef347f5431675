#include "relay/logs/CEngineLogs.h"

#include "relay/engine/CBaseServer.h"

void CEngineLogs::ChainLogAddItem(CBProxyChain& chain, const char* dest) {
    CBaseServer::m_ChainLog.AddItem(chain, -1, true, dest);
}

void CEngineLogs::ChainLogRemoveAllElements() { CBaseServer::m_ChainLog.RemoveAllElements(); }

void CEngineLogs::ChainLogDettach() { CBaseServer::m_ChainLog.Dettach(); }

// The entries hold copies of their hops, so nothing in them points into the
// pool that the stop frees; emptying the log (with its reset notice) keeps
// the panel's tree in step with it.
void CEngineLogs::ChainLogFreeStoredChains() { CBaseServer::m_ChainLog.RemoveAllElements(); }

void CEngineLogs::UpdateProgLog(const char* request) { CBaseServer::m_ProgLog.UpdateProgLog(request); }

void CEngineLogs::ResetFiltrationLog() { CBaseServer::m_FiltrationLog.ResetLog(); }
