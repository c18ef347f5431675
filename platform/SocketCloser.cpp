#include "platform/SocketCloser.h"

#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "platform/ForkSafeInstance.h"
#include "platform/MessageQueue.h"

namespace platform::detail {

namespace {

// Endings a busy thread hands over before it wakes the closer for them.
constexpr std::size_t kBatchBeforeWaking = 16;
// The calling thread handed endings over without waking the closer.
thread_local bool tlsWakeOwed = false;

// One ForkSafeInstance: its thread may still close while the process exits.
class SocketCloser {
public:
    void Hand(int fd, bool close) {
        std::unique_lock lock(mutex_);
        // A caller with time to spare ends the stream itself, sooner than
        // a wake-up of the closer would; it may do so only while the closer
        // holds nothing, which keeps the order of the endings.
        const bool closerIdle = waiting_.empty() && (sleeping_ || !started_);
        if (closerIdle && !CallerIsBusy()) {
            lock.unlock();
            End({fd, close});
            return;
        }
        if (!started_ && !Start()) {
            lock.unlock();
            End({fd, close});
            return;
        }
        waiting_.push_back({fd, close});
        // A closer at work, or one woken already, takes this one with the
        // rest. A busy caller wakes it once for a batch, at its next look
        // at its sockets (WakeIfOwed), unless the batch is large already.
        if (!sleeping_ || woken_) return;
        if (CallerIsBusy() && waiting_.size() < kBatchBeforeWaking) {
            tlsWakeOwed = true;
            return;
        }
        Wake(lock);
    }

    void WakeIfOwed() {
        tlsWakeOwed = false;
        std::unique_lock lock(mutex_);
        if (sleeping_ && !woken_ && !waiting_.empty()) Wake(lock);
    }

    void AfterForkInChild() {
        // The child has its own copies of the waiting descriptors but not
        // the thread: it closes them itself and starts a closer when needed.
        new (&mutex_) std::mutex;
        new (&wake_) std::condition_variable;
        for (const Ending& ending : waiting_) End(ending);
        waiting_.clear();
        started_ = false;
        sleeping_ = false;
        woken_ = false;
    }

private:
    struct Ending {
        int fd;
        bool close;  // else: shut the sending down
    };

    static void End(const Ending& ending) {
        if (ending.close) {
            ::close(ending.fd);
        } else {
            ::shutdown(ending.fd, SHUT_WR);
        }
    }

    bool Start() {
        try {
            std::thread([this] { Run(); }).detach();
        } catch (const std::system_error&) {
            return false;
        }
        started_ = true;
        return true;
    }

    void Run() {
        std::vector<Ending> closing;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                sleeping_ = true;
                wake_.wait(lock, [&] { return !waiting_.empty(); });
                sleeping_ = false;
                woken_ = false;
                closing.swap(waiting_);
            }
            for (const Ending& ending : closing) End(ending);
            closing.clear();
        }
    }

    // Marks the closer woken under the lock and wakes it after, so that it
    // does not wake only to wait for the lock (this object never goes).
    void Wake(std::unique_lock<std::mutex>& lock) {
        woken_ = true;
        lock.unlock();
        wake_.notify_one();
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Ending> waiting_;
    bool started_ = false;
    bool sleeping_ = false;
    bool woken_ = false;  // notified, not yet awake
};

}  // namespace

void CloseInBackground(int fd) { ForkSafeInstance<SocketCloser>().Hand(fd, true); }

void ShutDownSendingInBackground(int fd) { ForkSafeInstance<SocketCloser>().Hand(fd, false); }

void WakeCloserIfOwed() {
    if (tlsWakeOwed) ForkSafeInstance<SocketCloser>().WakeIfOwed();
}

}  // namespace platform::detail
