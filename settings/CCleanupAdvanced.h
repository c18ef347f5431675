#pragma once
// When the cleaner runs: on the last browser close, on the control panel's
// exit, at Windows start. These flags have no accessors; other modules reach
// them by name, and the setup wizard's layout relies on their order.

#include <cstddef>
#include <type_traits>

#include "platform/Registry.h"
#include "platform/Types.h"

class CCleanupAdvanced {
public:
    void Clear();
    void SetToPersonalDefaults();

    // cleanupKey is root\Cleanup; both switch it to the fixed Cleanup key
    // (which every program variant shares) when that key can be made.
    bool SetRegistry(platform::RegKey& cleanupKey) const;
    bool QueryRegistry(platform::RegKey& cleanupKey);

    platform::DWORD mBrowserExit = 0;   // _BROWSER_EXIT
    platform::DWORD mWindowsExit = 0;   // _WINDOWS_EXIT
    platform::DWORD mWindowsStart = 0;  // _WINDOWS_START
};

static_assert(std::is_standard_layout_v<CCleanupAdvanced>);
static_assert(offsetof(CCleanupAdvanced, mBrowserExit) == 0 * sizeof(platform::DWORD));
static_assert(offsetof(CCleanupAdvanced, mWindowsExit) == 1 * sizeof(platform::DWORD));
static_assert(offsetof(CCleanupAdvanced, mWindowsStart) == 2 * sizeof(platform::DWORD));
static_assert(sizeof(CCleanupAdvanced) == 3 * sizeof(platform::DWORD));
