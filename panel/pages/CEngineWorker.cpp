#include "panel/pages/CEngineWorker.h"

#include "relay/analyzer/CAnalyzerThread.h"
#include "relay/engine/CBaseServer.h"
#include "relay/hunter/CHunterThread.h"
#include "relay/pool/CThread.h"

CEngineWorker::CEngineWorker(CThread& thread, std::function<void()> reset)
    : m_Thread(thread), m_Reset(std::move(reset)) {}

CEngineWorker& CEngineWorker::Analyzer() {
    static CEngineWorker worker(CBaseServer::mAnalyzerThread,
                                [] { CBaseServer::mAnalyzerThread.Reset(); });
    return worker;
}

CEngineWorker& CEngineWorker::Hunter() {
    static CEngineWorker worker(CBaseServer::m_HunterThread);
    return worker;
}

bool CEngineWorker::IsRunning() { return m_Thread.IsRunning(); }
bool CEngineWorker::Start() { return m_Thread.Start(); }
bool CEngineWorker::Stop() { return m_Thread.Stop(); }

void CEngineWorker::Reset() {
    if (m_Reset) m_Reset();
}
