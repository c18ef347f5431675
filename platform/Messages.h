#pragma once
// Window messages and per-thread message queues.
//
// Every thread that uses messages has one queue. The queue is made the first
// time the thread calls a function below that needs it (GetMessage,
// PeekMessage, CreateMessageWindow, GetMessageQueueFd), or at once for
// threads started with platform::Thread. It ends with its thread: the
// thread's windows die with it and later posts to them fail.
//
// A window is a value handle, an owning thread and a window procedure; the
// handle values are never reused, so a handle kept past DestroyWindow can
// never reach a newer window. Messages for a window run on its owning thread
// only, from DispatchMessage.
//
// SendMessage to a window of the calling thread calls its procedure
// directly. To a window of another thread it hands the message to that
// thread, which runs it the next time it calls GetMessage or PeekMessage
// (before any posted message), and waits for the result; while it waits the
// sender does not run messages sent to itself, so two threads that send to
// each other at the same moment would wait forever: engine code only posts.
// The result is 0 when the window dies or its thread ends first.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace platform {

// A window handle. The null handle names no window; PostMessage with it
// (like PostThreadMessage) posts to the calling thread's queue.
class HWND {
public:
    constexpr HWND() = default;
    constexpr HWND(std::nullptr_t) {}
    constexpr explicit HWND(std::uint64_t value) : value_(value) {}

    constexpr std::uint64_t value() const { return value_; }
    constexpr explicit operator bool() const { return value_ != 0; }
    friend constexpr bool operator==(HWND, HWND) = default;

private:
    std::uint64_t value_ = 0;
};

struct MSG {
    HWND hwnd;          // null for a thread message
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;     // GetTickCount when posted
};

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;
// First and last number handed out by RegisterWindowMessage.
inline constexpr UINT WM_REGISTERED_FIRST = 0xC000;
inline constexpr UINT WM_REGISTERED_LAST = 0xFFFF;

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

inline constexpr WORD LOWORD(LPARAM v) { return static_cast<WORD>(static_cast<std::uintptr_t>(v) & 0xFFFF); }
inline constexpr WORD HIWORD(LPARAM v) { return static_cast<WORD>((static_cast<std::uintptr_t>(v) >> 16) & 0xFFFF); }
inline constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>((static_cast<DWORD>(high) << 16) | low);
}

using WNDPROC = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// The calling thread's id (the kernel thread id; fits 32 bits).
DWORD GetCurrentThreadId();

// Posting never blocks and keeps order per queue.
// False when the window does not exist (destroyed, or its thread ended).
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// False when no live thread with that id has a queue.
bool PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Posts WM_QUIT with the exit code to the calling thread.
void PostQuitMessage(int exitCode);

// See the file comment for the cross-thread case. 0 for a dead window.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Waits for the next message for the calling thread, delivering socket
// notices registered with WSAAsyncSelect on the way. A null filter window
// takes the window messages of every window and thread messages; a non-null
// one takes that window's messages only. first = last = 0 takes every
// number, else only first..last. Returns 0 for WM_QUIT (the message is
// filled in), 1 for any other message.
BOOL GetMessage(MSG& msg, HWND filter = nullptr, UINT first = 0, UINT last = 0);
// As GetMessage without waiting; false when nothing matches. With
// PM_NOREMOVE the message stays queued.
bool PeekMessage(MSG& msg, HWND filter = nullptr, UINT first = 0, UINT last = 0,
                 UINT remove = PM_REMOVE);
// Calls the procedure of msg.hwnd when it is a live window of the calling
// thread; 0 otherwise (thread messages are not dispatched).
LRESULT DispatchMessage(const MSG& msg);

// A file descriptor of the calling thread's queue for event loops (the GUI
// toolkit's): it polls readable when a message was posted or sent, or a
// socket notice may be due, since the thread last called GetMessage or
// PeekMessage. Drain with PeekMessage until it returns false when it fires.
int GetMessageQueueFd();

// A message-only window owned by the calling thread. Class name and title
// are kept for GetClassName; nothing draws.
HWND CreateMessageWindow(std::string_view className, std::string_view title, WNDPROC proc);
// Any thread may destroy a window. The procedure gets WM_DESTROY first when
// called on the owning thread. False when the window is already gone.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
// 0 for a dead window.
DWORD GetWindowThreadId(HWND hwnd);
// Empty for a dead window.
std::string GetClassName(HWND hwnd);
// What a window procedure returns for a message it does not handle.
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The same number (0xC000..0xFFFF) for the same text in this process,
// letters compared without case; 0 for an empty text or a full range.
UINT RegisterWindowMessage(std::string_view name);

}  // namespace platform
