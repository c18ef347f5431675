#include "toolbar/CThreadBase.h"

#include "platform/Messages.h"

CThreadBase::CThreadBase() = default;

CThreadBase::~CThreadBase() {
    m_StopEvent.Set();
    std::lock_guard lock(m_ThreadCS);
    JoinThread();
}

bool CThreadBase::Start() {
    std::lock_guard lock(m_ThreadCS);
    if (m_bRunning.load()) return true;
    m_StopEvent.Reset();
    m_bStopRequested.store(false);
    JoinThread();
    // Set before the thread runs, so that a body that ends at once leaves
    // it cleared.
    m_bRunning.store(true);
    m_Thread = platform::Thread::Start([this]() -> platform::DWORD {
        Run();
        m_bRunning.store(false);
        return 0;
    });
    if (!m_Thread.IsValid()) m_bRunning.store(false);
    return m_Thread.IsValid();
}

bool CThreadBase::Stop() {
    m_StopEvent.Set();
    std::lock_guard lock(m_ThreadCS);
    JoinThread();
    m_bRunning.store(false);
    return true;
}

void CThreadBase::JoinThread() {
    if (!m_Thread.IsValid() || m_Thread.id() == platform::GetCurrentThreadId()) return;
    m_Thread.Join();
    m_Thread = {};
}
