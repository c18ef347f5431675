#pragma once
// IWorkerControl over one of the engine's worker threads.

#include <functional>

#include "panel/pages/IWorkerControl.h"

class CThread;

class CEngineWorker : public IWorkerControl {
public:
    // reset: the thread's own reset (empty: none).
    explicit CEngineWorker(CThread& thread, std::function<void()> reset = {});

    // The analyzer and the hunter of CBaseServer.
    static CEngineWorker& Analyzer();
    static CEngineWorker& Hunter();

    // IWorkerControl
    bool IsRunning() override;
    bool Start() override;
    bool Stop() override;
    void Reset() override;

private:
    CThread& m_Thread;
    std::function<void()> m_Reset;
};
