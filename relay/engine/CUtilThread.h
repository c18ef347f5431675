#pragma once
// The util thread: serves the toolbar channel, stores and removes pool
// entries (2255, 2264) and broadcasts traffic totals and status (12296 to
// 12298).

#include <atomic>

#include "platform/Event.h"
#include "platform/UiThread.h"
#include "relay/toolbar/CToolbarSrvr.h"

class CUtilThread : public platform::UiThread {
public:
    CUtilThread();
    ~CUtilThread() override;

    // platform::UiThread
    bool InitInstance() override;
    int ExitInstance() override;
    bool PumpMessage() override;
    bool PreTranslateMessage(platform::MSG& msg) override;

    // Posts to the running util thread (from any thread); false when none
    // runs.
    static bool PostToThread(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);
    // Called by the creator once the thread exists: posts made before the
    // thread reaches InitInstance (the first status) must not be lost.
    static void NoteThreadId(platform::DWORD id) { msThreadId.store(id); }

    // Manual reset; set when the thread ends. One event for the process; the
    // constructor resets it.
    static platform::Event mStopped;
    // The toolbar channel; started and stopped on the util thread.
    static CToolbarSrvr mToolbarSrvr;

private:
    static std::atomic<platform::DWORD> msThreadId;

    // Every other posted total is broadcast, beginning with the first.
    bool m_BroadcastNextIn = true;
    bool m_BroadcastNextOut = true;
};
