#pragma once
// The script-level filter switches. No accessors: other modules reach these
// flags by name, and the setup wizard's layout relies on their order.

#include <cstddef>
#include <type_traits>

#include "platform/Registry.h"
#include "platform/Types.h"

class CAdvancedFiltration {
public:
    // filterationKey is root\Filteration; the values live in "Advanced".
    // Reading a missing Advanced key stores the current flags there instead.
    bool SetRegistry(const platform::RegKey& filterationKey) const;
    bool QueryRegistry(const platform::RegKey& filterationKey);

    platform::DWORD mDisableTimerScripts = 0;       // _DISABLE_TIMER_SCRIPTS
    platform::DWORD mDisableWndCloseupEvents = 0;   // _DISABLE_WND_CLOSEUP_EVENTS
    platform::DWORD mRemoveStatusModifier = 0;      // _REMOVE_STATUS_MODIFIER
    platform::DWORD mRemoveContextMenu = 0;         // _REMOVE_CONTEXT_MENU
    platform::DWORD mDisableJavaApplets = 0;        // _DISABLE_JAVA_APPLETS
};

static_assert(std::is_standard_layout_v<CAdvancedFiltration>);
static_assert(offsetof(CAdvancedFiltration, mDisableTimerScripts) == 0 * sizeof(platform::DWORD));
static_assert(offsetof(CAdvancedFiltration, mDisableWndCloseupEvents) == 1 * sizeof(platform::DWORD));
static_assert(offsetof(CAdvancedFiltration, mRemoveStatusModifier) == 2 * sizeof(platform::DWORD));
static_assert(offsetof(CAdvancedFiltration, mRemoveContextMenu) == 3 * sizeof(platform::DWORD));
static_assert(offsetof(CAdvancedFiltration, mDisableJavaApplets) == 4 * sizeof(platform::DWORD));
static_assert(sizeof(CAdvancedFiltration) == 5 * sizeof(platform::DWORD));
