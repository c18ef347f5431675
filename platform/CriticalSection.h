#pragma once
// A recursive lock: the owning thread may enter again, and must leave as
// often as it entered. Lock/unlock make it usable with std::lock_guard and
// std::unique_lock.

#include <mutex>

namespace platform {

class CriticalSection {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }
    bool TryLock() { return mutex_.try_lock(); }

    void lock() { Lock(); }
    void unlock() { Unlock(); }
    bool try_lock() { return TryLock(); }

private:
    std::recursive_mutex mutex_;
};

}  // namespace platform
