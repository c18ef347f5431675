#pragma once
// A worker-thread base: Start runs Run on a new thread, Stop signals the
// stop event and waits for the thread's end.

#include <atomic>
#include <mutex>

#include "platform/Event.h"
#include "platform/Thread.h"

class CThreadBase {
public:
    CThreadBase();
    virtual ~CThreadBase();
    CThreadBase(const CThreadBase&) = delete;
    CThreadBase& operator=(const CThreadBase&) = delete;

    virtual bool Stop();
    // True at once while running; otherwise whether a new thread was made.
    virtual bool Start();
    virtual int Run() = 0;

    bool IsRunning() const { return m_bRunning.load(); }

protected:
    // Manual reset; every wait of the thread body includes it.
    platform::Event m_StopEvent{true, false};
    std::atomic<bool> m_bStopRequested{false};

private:
    // Waits for the thread's end unless called on it.
    void JoinThread();

    std::atomic<bool> m_bRunning{false};
    std::mutex m_ThreadCS;  // guards m_Thread
    platform::Thread m_Thread;
};
