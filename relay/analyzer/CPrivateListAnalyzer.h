#pragma once
// Checks the pool's private lists (run once the server has started): every
// private proxy is checked and the ones that fail leave their list. Its
// bridge has no window, so its log text is dropped.
//
// The lists are walked on copies taken under the pool lock, and each check
// works on a copy of the pooled record: connects never hold the pool lock,
// and chain-setup workers reading the pooled records never race the check.
// Only the rank goes back into the pooled record.

#include <mutex>

#include "relay/analyzer/CAnalyzerConfig.h"
#include "relay/analyzer/CProxyVerifyer.h"
#include "relay/pool/CThread.h"

class CProxyMap;
class CTProxyList;

class CPrivateListAnalyzer : public CThread {
public:
    static constexpr int kTimeOut = 5000;

    // Marks the pool's private lists as not analysed.
    explicit CPrivateListAnalyzer(CProxyMap* pool);
    ~CPrivateListAnalyzer() override;

    bool Stop() override;
    // Checks the third, fourth, first and second private lists, then marks
    // them analysed. Exit code 1.
    platform::DWORD Run() override;
    void AnalyzeList(CTProxyList& list);

    CAnalyzerConfig& GetConfig() { return m_Config; }

private:
    CProxyMap* m_pPool;
    CAnalyzerConfig m_Config;
    CProxyVerifyer m_Verifyer;
    // Orders a run's clearing of the bridge's stop flag against Stop.
    std::mutex m_StopCS;
};
