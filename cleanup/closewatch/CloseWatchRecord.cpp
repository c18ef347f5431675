#include "cleanup/closewatch/CloseWatchRecord.h"

#include <atomic>

#include "platform/Process.h"

namespace {

constexpr const char* kRecordName = "CloseWatch";

template <typename T>
std::atomic_ref<T> Atomic(T& field) {
    static_assert(std::atomic_ref<T>::is_always_lock_free, "shared between processes");
    return std::atomic_ref<T>(field);
}

}  // namespace

std::optional<CloseWatchRecord> CloseWatchRecord::Open() {
    auto record = platform::SharedRecord::Open(kRecordName, sizeof(Layout));
    if (!record) return std::nullopt;
    return CloseWatchRecord(std::move(*record));
}

void CloseWatchRecord::Remove() { platform::SharedRecord::Remove(kRecordName); }

bool CloseWatchRecord::Reserve(platform::DWORD pid) {
    auto owner = Atomic(layout().ownerPid);
    std::uint32_t holder = 0;
    while (!owner.compare_exchange_strong(holder, pid)) {
        if (platform::Process(holder).IsRunning()) return false;
        // The holder ended without giving the record up; holder now names
        // it, so the exchange takes over exactly that stale entry.
    }
    Atomic(layout().hNotifyWnd).store(0);
    return true;
}

void CloseWatchRecord::Release(platform::DWORD pid) {
    if (owner() != pid) return;
    Atomic(layout().hNotifyWnd).store(0);
    std::uint32_t holder = pid;
    Atomic(layout().ownerPid).compare_exchange_strong(holder, 0);
}

void CloseWatchRecord::Publish(platform::HWND notify) {
    Atomic(layout().hNotifyWnd).store(notify.value());
}

platform::HWND CloseWatchRecord::hNotifyWnd() const {
    return platform::HWND(Atomic(layout().hNotifyWnd).load());
}

platform::DWORD CloseWatchRecord::owner() const { return Atomic(layout().ownerPid).load(); }

std::int32_t CloseWatchRecord::nFrameCount() const { return Atomic(layout().nFrameCount).load(); }

void CloseWatchRecord::SeedFrames(std::int32_t count) { Atomic(layout().nFrameCount).store(count); }

std::int32_t CloseWatchRecord::AddFrame() { return Atomic(layout().nFrameCount).fetch_add(1); }

std::int32_t CloseWatchRecord::RemoveFrame() { return Atomic(layout().nFrameCount).fetch_sub(1); }
