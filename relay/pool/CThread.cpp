#include "relay/pool/CThread.h"

#include <algorithm>
#include <mutex>

#include "platform/Messages.h"
#include "platform/Wait.h"

CThread::CThread() : m_StopEvent(true, false) {}

CThread::~CThread() {
    CThread::Stop();
    std::lock_guard lock(m_Lock);
    for (const platform::Thread& straggler : m_Stragglers) {
        if (straggler.id() != platform::GetCurrentThreadId()) straggler.Wait(platform::INFINITE);
    }
}

bool CThread::Start() {
    std::lock_guard lock(m_Lock);
    m_StopEvent.Reset();
    _Stop();
    ReapStragglers();
    if (!m_Stragglers.empty()) return false;
    m_bShouldStop.store(false);
    m_Worker = platform::Thread::Start([this] { return StaticThread(this); });
    return m_Worker.IsValid();
}

bool CThread::Stop() {
    std::lock_guard lock(m_Lock);
    m_StopEvent.Set();
    _Stop();
    return true;
}

bool CThread::_Stop() {
    m_bShouldStop.store(true);
    if (!m_Worker.IsValid()) return false;
    // A worker stopping itself cannot wait for its own end.
    const bool self = m_Worker.id() == platform::GetCurrentThreadId();
    if (self || !m_Worker.Wait(kStopWaitMs)) m_Stragglers.push_back(m_Worker);
    m_Worker = platform::Thread();
    return true;
}

bool CThread::IsRunning() {
    std::lock_guard lock(m_Lock);
    if (!m_Worker.IsValid()) return false;
    if (m_bShouldStop.load()) {
        Stop();
        return false;
    }
    return true;
}

platform::DWORD CThread::StaticThread(CThread* self) { return self->Run(); }

void CThread::ReapStragglers() {
    std::erase_if(m_Stragglers, [](const platform::Thread& t) { return !t.IsRunning(); });
}
