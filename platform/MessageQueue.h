#pragma once
// Inside the platform layer only: the per-thread message queue behind
// Messages.h, and what the socket notifier needs of it.
//
// A queue owns an epoll descriptor and an eventfd inside it. Posts and sends
// write the eventfd (once until the owner clears it); the socket notifier
// adds watched sockets to the same epoll, so one poll of the epoll
// descriptor waits for both.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/Messages.h"
#include "platform/SocketHandle.h"

namespace platform::detail {

// A message sent from another thread, waiting for its result.
struct SentMessage {
    MSG msg;
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    LRESULT result = 0;

    void Finish(LRESULT value);
};

class MessageQueue {
public:
    explicit MessageQueue(DWORD threadId);
    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    DWORD threadId() const { return threadId_; }
    int epollFd() const { return epollFd_; }

    // False once the queue is closed. A notice names the socket it is
    // about, so that it can be dropped when the socket goes. wake false:
    // the owning thread posts while it looks for messages and takes them
    // before it waits, so the eventfd need not be written.
    bool Post(const MSG& msg, SOCKET noticeOf = INVALID_SOCKET, bool wake = true);
    bool Send(const std::shared_ptr<SentMessage>& sent);

    // Clears the wake-up signal; call before looking for messages so that a
    // post arriving afterwards wakes the next wait.
    void ClearWake();
    // Set by the owning thread while it runs a message loop that looks at
    // the queue before each wait: its own posts then wake nothing.
    void SetOwnerPumps(bool pumps) { ownerPumps_ = pumps; }
    // Wakes the queue when posted messages wait in it.
    void WakeIfPosted();
    // Runs every waiting sent message on the calling (owning) thread.
    void RunSent();
    // The first matching posted message (see GetMessage for the filter).
    bool Take(MSG& msg, HWND filter, UINT first, UINT last, bool remove);

    void DropNotices(SOCKET s);
    void DropWindow(HWND hwnd);

    // Closes the queue: later posts fail, waiting senders get 0.
    void Close();

    // Sockets in the epoll, kept by the socket notifier; none means no
    // socket can be ready.
    std::atomic<int> watchedSockets{0};

private:
    struct Entry {
        MSG msg;
        SOCKET noticeOf;
    };
    void Wake();

    const DWORD threadId_;
    int epollFd_ = -1;
    int wakeFd_ = -1;
    // Read and written on the owning thread only.
    bool ownerPumps_ = false;
    // The eventfd has been (or is about to be) written and not yet read.
    std::atomic<bool> wakePending_{false};
    std::mutex mutex_;
    std::deque<Entry> posted_;
    std::deque<std::shared_ptr<SentMessage>> sent_;
    bool closed_ = false;
};

// The calling thread's queue, made on first use.
std::shared_ptr<MessageQueue> CurrentQueue();
// True while the calling thread has taken many messages in a row without
// once finding nothing to do: it is working through a backlog.
bool CallerIsBusy();
// Ends the calling thread's queue and its windows now (threads started by
// platform::Thread do this before they report their end).
void EndCurrentQueue();
std::shared_ptr<MessageQueue> FindThreadQueue(DWORD threadId);
// The queue of the window's thread; null for a dead window.
std::shared_ptr<MessageQueue> WindowQueue(HWND hwnd);
// Posts a socket notice to a live window (wake: see MessageQueue::Post).
bool PostNotice(HWND hwnd, UINT message, SOCKET s, LPARAM lParam, bool wake = true);

// A socket notice has left its queue, taken or dropped (SocketNotify.cpp).
void SocketNoticeTaken(SOCKET s, LPARAM lParam);

// Turns ready sockets of this queue into notices (SocketNotify.cpp). With
// waitMs (-1: no limit) it first waits that long for a ready socket or a
// wake-up of the queue, whichever comes first.
void CollectSocketNotices(MessageQueue& queue, int waitMs = 0);

}  // namespace platform::detail
