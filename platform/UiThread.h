#pragma once
// A thread with a message loop, after the user-interface thread of the
// Windows class libraries: CreateThread starts it; on the new thread
// InitInstance runs, then Run pumps messages until WM_QUIT, then
// ExitInstance gives the exit code.
//
// Each message goes to PreTranslateMessage first; when that returns false a
// window message is dispatched to its window procedure. WM_QUIT is offered
// to PreTranslateMessage too and then ends the loop whatever it returns.
//
// With auto-delete set the thread deletes its object after ExitInstance;
// the creator must not touch the object after the thread may have ended,
// but a copy of thread() stays valid for waiting.

#include "platform/Messages.h"
#include "platform/Thread.h"
#include "platform/Types.h"

namespace platform {

class UiThread {
public:
    UiThread() = default;
    virtual ~UiThread() = default;
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // Starts the thread; returns once its queue exists, so thread messages
    // posted right after are kept. False when it is already started or no
    // thread can be made.
    bool CreateThread();

    // Returns false to skip Run (ExitInstance still runs).
    virtual bool InitInstance() { return true; }
    // The message loop: PumpMessage until it returns false, then
    // ExitInstance; the result is the thread's exit code.
    virtual int Run();
    // Takes one message (waiting for it) and handles it; false on WM_QUIT.
    virtual bool PumpMessage();
    // True when the message was handled here and must not be dispatched.
    virtual bool PreTranslateMessage(MSG& msg);
    // The exit code; by default the WM_QUIT code.
    virtual int ExitInstance();

    bool PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

    // 0 before CreateThread.
    DWORD ThreadId() const { return threadId_; }
    const Thread& thread() const { return thread_; }
    void SetAutoDelete(bool autoDelete) { autoDelete_ = autoDelete; }
    bool AutoDelete() const { return autoDelete_; }

protected:
    // wParam of the WM_QUIT that ended the loop.
    int QuitCode() const { return quitCode_; }

private:
    DWORD Main();

    Thread thread_;
    DWORD threadId_ = 0;
    bool autoDelete_ = false;
    int quitCode_ = 0;
};

}  // namespace platform
