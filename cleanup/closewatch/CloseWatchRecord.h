#pragma once
// The browser-close watcher's state shared by all of the user's processes:
// the armed notify window, the process that armed it and the count of open
// browser frames. Every field is changed with atomic operations only.

#include <cstdint>
#include <optional>

#include "platform/Messages.h"
#include "platform/SharedRecord.h"
#include "platform/Types.h"

class CloseWatchRecord {
public:
    // The record of the current per-user root; nothing when it cannot be
    // mapped.
    static std::optional<CloseWatchRecord> Open();
    // Forgets the record of the current root (tests end with it).
    static void Remove();

    // Takes the record for process pid when no live process holds it; a
    // record whose holder has ended counts as free.
    bool Reserve(platform::DWORD pid);
    // Gives up a record held by pid, notify window first.
    void Release(platform::DWORD pid);
    // Names the window told when the last frame closes.
    void Publish(platform::HWND notify);

    platform::HWND hNotifyWnd() const;
    platform::DWORD owner() const;

    std::int32_t nFrameCount() const;
    void SeedFrames(std::int32_t count);
    // Both give the count as it was before the change.
    std::int32_t AddFrame();
    std::int32_t RemoveFrame();

private:
    struct Layout {
        std::uint64_t hNotifyWnd;
        std::int32_t nFrameCount;
        std::uint32_t ownerPid;
    };

    explicit CloseWatchRecord(platform::SharedRecord record) : record_(std::move(record)) {}
    Layout& layout() const { return *static_cast<Layout*>(record_.data()); }

    platform::SharedRecord record_;
};
