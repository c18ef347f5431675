#pragma once
// The hunter's download thread: a message loop that fetches the hunter's
// pending address on WM_RELAY_HUNTER_DOWNLOAD and queues the result on the
// hunter's download manager. It lives while the control panel's main window
// is attached (CHunterThread::Startup to Shutdown).

#include <atomic>

#include "platform/UiThread.h"

class CHunterThread;

class CHunterDownloadThread : public platform::UiThread {
public:
    explicit CHunterDownloadThread(CHunterThread& hunter) : m_Hunter(hunter) {}

    // Ends a transfer under way at its next progress poll.
    void Abort() { m_bAbort.store(true); }

    bool InitInstance() override;
    bool PreTranslateMessage(platform::MSG& msg) override;

private:
    void OnDownload();

    CHunterThread& m_Hunter;
    std::atomic<bool> m_bAbort{false};
};
