#pragma once
// The stored-proxy analyzer (CBaseServer::mAnalyzerThread): one run checks
// every stored proxy whose type is still unknown or whose rank is not
// positive, stores each result again and gives the proxies that passed to
// the pool's public lists. Progress, the checked proxies and the end reach
// the page attached to its bridge.
//
// Stop order: finished event, the bridge's stop flag and event (which end
// every wait of a check at once), the thread's stop flag, the verifier's
// socket shut down, then the bounded wait for the thread.

#include <mutex>

#include "platform/Event.h"
#include "relay/analyzer/CAnalyzerConfig.h"
#include "relay/analyzer/CProxyVerifyer.h"
#include "relay/pool/CThread.h"

class CProxyMap;

class CAnalyzerThread : public CThread {
public:
    // pool: the pool whose database is analysed and whose lists get the
    // proxies that pass.
    explicit CAnalyzerThread(CProxyMap& pool);
    ~CAnalyzerThread() override;

    bool Stop() override;
    platform::DWORD Run() override;

    // Resets the bridge (stop event and log text).
    void Reset();
    // The stop settings of Stop, without the wait.
    void Cleanup();
    bool ShoulStop() const { return ShouldStop(); }

    CAnalyzerConfig& GetConfig() { return m_Config; }
    CProxyConfig& GetProxyConfig() { return m_Config.GetProxyConfig(); }
    // Manual reset; set when a run ends or a stop is asked for.
    const platform::Event& GetFinishedEvent() const { return m_Finished; }

private:
    // Checks, reports and stores one row of the work list.
    void AnalyzeRow(const char* const* row, int columns);
    bool Stopping() const;

    platform::Event m_Finished{true, false};
    CAnalyzerConfig m_Config;
    CProxyMap& m_Pool;
    CProxyVerifyer m_Verifyer;
    // Orders a run's clearing of the bridge's stop flag against Stop.
    std::mutex m_StopCS;
};
