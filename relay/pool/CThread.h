#pragma once
// The engine's worker-thread base: Start runs Run on a new thread, Stop asks
// it to end (stop flag and stop event) and waits up to 20 s.
//
// A worker that does not end within the wait is kept aside, not dropped:
// Start refuses to run a second worker on the object while it lives, and the
// destructor waits for it, so no worker ever runs on a destroyed object. A
// class whose Run uses its own members calls Stop in its own destructor.

#include <atomic>
#include <vector>

#include "platform/CriticalSection.h"
#include "platform/Event.h"
#include "platform/Thread.h"
#include "platform/Types.h"

class CThread {
public:
    static constexpr platform::DWORD kStopWaitMs = 20000;

    CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;
    virtual ~CThread();

    // Sets the stop event and waits for the worker. True.
    virtual bool Stop();
    // Starts a new worker after stopping any previous one. True when the
    // thread was created.
    virtual bool Start();
    // The worker's body; its result is the thread's exit code.
    virtual platform::DWORD Run() = 0;

    // False with no worker; once a stop was asked for, stops (Stop) and
    // answers false.
    bool IsRunning();
    bool ShouldStop() const { return m_bShouldStop.load(); }
    // Manual reset; set by Stop, for Run to wait on.
    const platform::Event& GetStopEvent() const { return m_StopEvent; }

protected:
    // Sets the stop flag; false with no worker, else waits for it (bounded)
    // and forgets it.
    bool _Stop();
    void SetShouldStop(bool stop) { m_bShouldStop.store(stop); }

private:
    static platform::DWORD StaticThread(CThread* self);
    // Forgets workers kept aside that have ended since.
    void ReapStragglers();

    std::atomic<bool> m_bShouldStop{false};
    platform::Event m_StopEvent;
    platform::Thread m_Worker;
    // Workers that outlived the stop wait, or that stopped themselves.
    std::vector<platform::Thread> m_Stragglers;
    platform::CriticalSection m_Lock;
};
