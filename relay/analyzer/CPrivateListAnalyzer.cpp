#include "relay/analyzer/CPrivateListAnalyzer.h"

#include <algorithm>
#include <exception>
#include <mutex>

#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyMap.h"
#include "relay/pool/CTProxyList.h"

CPrivateListAnalyzer::CPrivateListAnalyzer(CProxyMap* pool) : m_pPool(pool), m_Verifyer(&m_Config, pool) {
    m_Config.setTimeOut(kTimeOut);
    m_Config.GetProxyConfig().DetachWindow();
    if (m_pPool) m_pPool->SetIsPrivateAnalyzed(false);
}

CPrivateListAnalyzer::~CPrivateListAnalyzer() { CPrivateListAnalyzer::Stop(); }

bool CPrivateListAnalyzer::Stop() {
    {
        std::lock_guard lock(m_StopCS);
        m_Config.GetProxyConfig().setShouldStop(true);
        SetShouldStop(true);
        m_Verifyer.Abort();
    }
    return CThread::Stop();
}

platform::DWORD CPrivateListAnalyzer::Run() {
    CProxyConfig& bridge = m_Config.GetProxyConfig();
    {
        // A stop asked for before this run got here stays asked for.
        std::lock_guard lock(m_StopCS);
        if (!ShouldStop()) {
            bridge.Reset();
            bridge.setShouldStop(false);
        }
    }
    if (!m_pPool) return 1;
    CPrivateProxyList& lists = m_pPool->GetPrivateLists();
    for (const int index : {2, 3, 0, 1}) {
        if (ShouldStop()) break;
        AnalyzeList(lists[index]);
    }
    m_pPool->SetIsPrivateAnalyzed(true);
    // The run is over: IsRunning answers false from now on.
    SetShouldStop(true);
    return 1;
}

void CPrivateListAnalyzer::AnalyzeList(CTProxyList& list) {
    std::vector<CProxy*> entries;
    {
        std::lock_guard lock(m_pPool->GetPoolLock());
        entries = list.Snapshot();
    }
    for (CProxy* pooled : entries) {
        if (ShouldStop() || m_Config.GetProxyConfig().getShouldStop()) return;
        CProxy checked;
        {
            // An entry that left the list meanwhile (its record may be
            // freed) is not touched.
            std::lock_guard lock(m_pPool->GetPoolLock());
            const std::vector<CProxy*> now = list.Snapshot();
            if (std::find(now.begin(), now.end(), pooled) == now.end()) continue;
            checked = *pooled;
        }
        if (!*checked.getIP()) continue;
        try {
            m_Verifyer.CheckProxy(&checked, PROXY_TYPE_UNKNOWN);
            if (m_Config.GetProxyConfig().getShouldStop()) return;
            std::lock_guard lock(m_pPool->GetPoolLock());
            const std::vector<CProxy*> now = list.Snapshot();
            if (std::find(now.begin(), now.end(), pooled) == now.end()) continue;
            pooled->setRank(checked.getRank());
            // A failed check leaves rank -1; one that passed ranks the proxy
            // by its response time.
            if (checked.getRank() <= 0) list.Remove(pooled);
        } catch (const std::exception&) {
            // That entry is skipped; the walk goes on.
        }
    }
}
