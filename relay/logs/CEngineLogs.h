#pragma once
// The engine's own logs behind the IEngineLogs seam: every call reaches
// CBaseServer::m_ChainLog, m_ProgLog or m_FiltrationLog. Tests may still
// install a recorder in its place with CBaseServer::SetEngineLogs.

#include "relay/engine/IEngineLogs.h"

class CEngineLogs : public IEngineLogs {
public:
    // IEngineLogs
    void ChainLogAddItem(CBProxyChain& chain, const char* dest) override;
    void ChainLogRemoveAllElements() override;
    void ChainLogDettach() override;
    void ChainLogFreeStoredChains() override;
    void UpdateProgLog(const char* request) override;
    void ResetFiltrationLog() override;
};
