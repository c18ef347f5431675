#include "platform/Messages.h"

#include <pthread.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <map>
#include <unordered_map>
#include <vector>

#include "platform/MessageQueue.h"
#include "platform/SocketCloser.h"
#include "platform/Time.h"

namespace platform {
namespace detail {

namespace {

struct Window {
    HWND hwnd;
    DWORD threadId;
    std::weak_ptr<MessageQueue> queue;
    WNDPROC proc;
    std::string className;
    std::string title;
};

// Process-wide tables. They are never destroyed, so that threads still
// running while the process exits find them intact.
struct Tables {
    std::mutex mutex;
    std::unordered_map<DWORD, std::weak_ptr<MessageQueue>> threads;
    std::unordered_map<std::uint64_t, std::shared_ptr<Window>> windows;
    std::uint64_t nextWindow = 0;
};

Tables& tables() {
    static Tables* t = new Tables;
    return *t;
}

std::shared_ptr<Window> FindWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    const auto it = t.windows.find(hwnd.value());
    return it == t.windows.end() ? nullptr : it->second;
}

// Owns the calling thread's queue; ends it when the thread ends.
struct QueueHolder {
    std::shared_ptr<MessageQueue> queue;
    ~QueueHolder() { EndCurrentQueue(); }
};
thread_local QueueHolder tlsQueue;

bool Matches(const MSG& msg, HWND filter, UINT first, UINT last) {
    if (filter && msg.hwnd != filter) return false;
    if (first == 0 && last == 0) return true;
    return msg.message >= first && msg.message <= last;
}

}  // namespace

void SentMessage::Finish(LRESULT value) {
    std::lock_guard lock(mutex);
    if (finished) return;
    result = value;
    finished = true;
    done.notify_all();
}

MessageQueue::MessageQueue(DWORD threadId) : threadId_(threadId) {
    epollFd_ = epoll_create1(EPOLL_CLOEXEC);
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u64 = 0;  // socket watches use keys from 1
    epoll_ctl(epollFd_, EPOLL_CTL_ADD, wakeFd_, &ev);
}

MessageQueue::~MessageQueue() {
    Close();
    ::close(wakeFd_);
    ::close(epollFd_);
}

void MessageQueue::Wake() {
    // One write until the owner reads it: later posts are found by the same
    // look at the queue.
    if (wakePending_.exchange(true)) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(wakeFd_, &one, sizeof one);
}

void MessageQueue::ClearWake() {
    if (!wakePending_.load()) return;
    // Read first, then clear: cleared first, a poster could mark a new wake
    // whose write this read swallows, and later posts would skip theirs.
    // Nothing to read yet means the poster has marked the wake but not
    // written it: it stays pending until the write lands.
    std::uint64_t count = 0;
    if (::read(wakeFd_, &count, sizeof count) == sizeof count) wakePending_.store(false);
}

bool MessageQueue::Post(const MSG& msg, SOCKET noticeOf, bool wake) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        posted_.push_back({msg, noticeOf});
    }
    const bool ownerLooksNext = GetCurrentThreadId() == threadId_ && ownerPumps_;
    if (wake && !ownerLooksNext) Wake();
    return true;
}

void MessageQueue::WakeIfPosted() {
    bool any = false;
    {
        std::lock_guard lock(mutex_);
        any = !posted_.empty();
    }
    if (any) Wake();
}

bool MessageQueue::Send(const std::shared_ptr<SentMessage>& sent) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        sent_.push_back(sent);
    }
    Wake();
    return true;
}

void MessageQueue::RunSent() {
    for (;;) {
        std::shared_ptr<SentMessage> sent;
        {
            std::lock_guard lock(mutex_);
            if (sent_.empty()) return;
            sent = sent_.front();
            sent_.pop_front();
        }
        const auto window = FindWindow(sent->msg.hwnd);
        LRESULT result = 0;
        if (window && window->threadId == threadId_) {
            result = window->proc(sent->msg.hwnd, sent->msg.message, sent->msg.wParam, sent->msg.lParam);
        }
        sent->Finish(result);
    }
}

bool MessageQueue::Take(MSG& msg, HWND filter, UINT first, UINT last, bool remove) {
    std::unique_lock lock(mutex_);
    const auto it = std::find_if(posted_.begin(), posted_.end(),
                                 [&](const Entry& e) { return Matches(e.msg, filter, first, last); });
    if (it == posted_.end()) return false;
    msg = it->msg;
    SOCKET notice = INVALID_SOCKET;
    if (remove) {
        notice = it->noticeOf;
        posted_.erase(it);
    }
    lock.unlock();
    if (notice != INVALID_SOCKET) SocketNoticeTaken(notice, msg.lParam);
    return true;
}

void MessageQueue::DropNotices(SOCKET s) {
    std::lock_guard lock(mutex_);
    std::erase_if(posted_, [s](const Entry& e) { return e.noticeOf == s; });
}

void MessageQueue::DropWindow(HWND hwnd) {
    std::vector<Entry> dropped;
    {
        std::lock_guard lock(mutex_);
        std::erase_if(posted_, [&](const Entry& e) {
            if (e.msg.hwnd != hwnd) return false;
            if (e.noticeOf != INVALID_SOCKET) dropped.push_back(e);
            return true;
        });
    }
    // A dropped notice is as good as taken: its socket may be watched again.
    for (const Entry& e : dropped) SocketNoticeTaken(e.noticeOf, e.msg.lParam);
}

void MessageQueue::Close() {
    std::deque<std::shared_ptr<SentMessage>> waiting;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        posted_.clear();
        waiting.swap(sent_);
    }
    for (const auto& sent : waiting) sent->Finish(0);
}

std::shared_ptr<MessageQueue> CurrentQueue() {
    if (!tlsQueue.queue) {
        auto queue = std::make_shared<MessageQueue>(GetCurrentThreadId());
        Tables& t = tables();
        std::lock_guard lock(t.mutex);
        t.threads[queue->threadId()] = queue;
        tlsQueue.queue = queue;
    }
    return tlsQueue.queue;
}

void EndCurrentQueue() {
    WakeCloserIfOwed();
    auto queue = std::move(tlsQueue.queue);
    if (!queue) return;
    {
        Tables& t = tables();
        std::lock_guard lock(t.mutex);
        t.threads.erase(queue->threadId());
        std::erase_if(t.windows, [&](const auto& entry) { return entry.second->threadId == queue->threadId(); });
    }
    queue->Close();
}

std::shared_ptr<MessageQueue> FindThreadQueue(DWORD threadId) {
    Tables& t = tables();
    std::lock_guard lock(t.mutex);
    const auto it = t.threads.find(threadId);
    return it == t.threads.end() ? nullptr : it->second.lock();
}

std::shared_ptr<MessageQueue> WindowQueue(HWND hwnd) {
    const auto window = FindWindow(hwnd);
    return window ? window->queue.lock() : nullptr;
}

bool PostNotice(HWND hwnd, UINT message, SOCKET s, LPARAM lParam, bool wake) {
    const auto queue = WindowQueue(hwnd);
    return queue && queue->Post(MSG{hwnd, message, static_cast<WPARAM>(s), lParam, GetTickCount()}, s, wake);
}

}  // namespace detail

using detail::MessageQueue;

namespace {

// The system call is made once per thread; a forked child's only thread
// asks again.
thread_local DWORD tlsThreadId = 0;
const bool kThreadIdResetAtFork = [] {
    return ::pthread_atfork(nullptr, nullptr, [] { tlsThreadId = 0; }) == 0;
}();

}  // namespace

DWORD GetCurrentThreadId() {
    if (tlsThreadId == 0) tlsThreadId = static_cast<DWORD>(::gettid());
    return tlsThreadId;
}

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto queue = hwnd ? detail::WindowQueue(hwnd) : detail::CurrentQueue();
    return queue && queue->Post(MSG{hwnd, message, wParam, lParam, GetTickCount()});
}

bool PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto queue = detail::FindThreadQueue(threadId);
    return queue && queue->Post(MSG{nullptr, message, wParam, lParam, GetTickCount()});
}

void PostQuitMessage(int exitCode) {
    detail::CurrentQueue()->Post(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, GetTickCount()});
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto window = detail::FindWindow(hwnd);
    if (!window) return 0;
    if (window->threadId == GetCurrentThreadId()) return window->proc(hwnd, message, wParam, lParam);
    const auto queue = window->queue.lock();
    if (!queue) return 0;
    auto sent = std::make_shared<detail::SentMessage>();
    sent->msg = MSG{hwnd, message, wParam, lParam, GetTickCount()};
    if (!queue->Send(sent)) return 0;
    std::unique_lock lock(sent->mutex);
    sent->done.wait(lock, [&] { return sent->finished; });
    return sent->result;
}

namespace {

// Asking the epoll for ready sockets is a system call: while messages wait
// it is done once every so many messages taken, so that a busy thread
// turns a whole batch of ready sockets into notices at a time.
constexpr int kTakesBetweenSocketChecks = 8;
thread_local int tlsTakesSinceSocketCheck = kTakesBetweenSocketChecks;
// Messages taken since the thread last found nothing to do (its queue
// empty and no socket ready); so many mean a backlog (see CallerIsBusy).
constexpr int kTakesInARowWhenBusy = 16;
thread_local int tlsTakesSinceEmpty = 0;

bool NextMessage(MSG& msg, HWND filter, UINT first, UINT last, bool remove, bool wait) {
    const auto queue = detail::CurrentQueue();
    const auto collect = [&queue](int waitMs) {
        detail::WakeCloserIfOwed();
        detail::CollectSocketNotices(*queue, waitMs);
        tlsTakesSinceSocketCheck = 0;
    };
    const auto take = [&] {
        if (!queue->Take(msg, filter, first, last, remove)) return false;
        ++tlsTakesSinceSocketCheck;
        ++tlsTakesSinceEmpty;
        return true;
    };
    for (;;) {
        queue->ClearWake();
        queue->RunSent();
        const bool due = tlsTakesSinceSocketCheck >= kTakesBetweenSocketChecks;
        if (due) collect(0);
        if (take()) return true;
        if (!due) {
            collect(0);
            if (take()) return true;
        }
        // Nothing in the queue, nothing ready: the thread has time to spare.
        tlsTakesSinceEmpty = 0;
        if (!wait) {
            // Notices left by a filter were posted without a wake-up; one
            // who polls the queue's descriptor next must still see them.
            queue->WakeIfPosted();
            return false;
        }
        // One call both waits and finds what is ready.
        collect(-1);
    }
}

}  // namespace

namespace detail {

bool CallerIsBusy() { return tlsTakesSinceEmpty >= kTakesInARowWhenBusy; }

}  // namespace detail

BOOL GetMessage(MSG& msg, HWND filter, UINT first, UINT last) {
    NextMessage(msg, filter, first, last, true, true);
    return msg.message == WM_QUIT ? 0 : 1;
}

bool PeekMessage(MSG& msg, HWND filter, UINT first, UINT last, UINT remove) {
    return NextMessage(msg, filter, first, last, (remove & PM_REMOVE) != 0, false);
}

LRESULT DispatchMessage(const MSG& msg) {
    const auto window = detail::FindWindow(msg.hwnd);
    if (!window || window->threadId != GetCurrentThreadId()) return 0;
    return window->proc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

int GetMessageQueueFd() {
    return detail::CurrentQueue()->epollFd();
}

HWND CreateMessageWindow(std::string_view className, std::string_view title, WNDPROC proc) {
    const auto queue = detail::CurrentQueue();
    auto window = std::make_shared<detail::Window>();
    window->threadId = queue->threadId();
    window->queue = queue;
    window->proc = proc ? std::move(proc) : WNDPROC(DefWindowProc);
    window->className = className;
    window->title = title;
    detail::Tables& t = detail::tables();
    std::lock_guard lock(t.mutex);
    window->hwnd = HWND(++t.nextWindow);
    t.windows.emplace(window->hwnd.value(), window);
    return window->hwnd;
}

bool DestroyWindow(HWND hwnd) {
    const auto window = detail::FindWindow(hwnd);
    if (!window) return false;
    if (window->threadId == GetCurrentThreadId()) window->proc(hwnd, WM_DESTROY, 0, 0);
    {
        detail::Tables& t = detail::tables();
        std::lock_guard lock(t.mutex);
        if (t.windows.erase(hwnd.value()) == 0) return false;
    }
    if (const auto queue = window->queue.lock()) queue->DropWindow(hwnd);
    return true;
}

bool IsWindow(HWND hwnd) {
    return detail::FindWindow(hwnd) != nullptr;
}

DWORD GetWindowThreadId(HWND hwnd) {
    const auto window = detail::FindWindow(hwnd);
    return window ? window->threadId : 0;
}

std::string GetClassName(HWND hwnd) {
    const auto window = detail::FindWindow(hwnd);
    return window ? window->className : std::string();
}

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

UINT RegisterWindowMessage(std::string_view name) {
    if (name.empty()) return 0;
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static std::mutex* mutex = new std::mutex;
    static auto* numbers = new std::map<std::string, UINT>;
    std::lock_guard lock(*mutex);
    if (const auto it = numbers->find(key); it != numbers->end()) return it->second;
    const UINT next = WM_REGISTERED_FIRST + static_cast<UINT>(numbers->size());
    if (next > WM_REGISTERED_LAST) return 0;
    numbers->emplace(std::move(key), next);
    return next;
}

}  // namespace platform
