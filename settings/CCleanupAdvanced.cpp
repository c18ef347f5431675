#include "settings/CCleanupAdvanced.h"

#include "settings/RegValues.h"

namespace {

// Every program variant keeps its cleanup choices here, so the outside
// cleaner reads one place.
constexpr const char* kFixedCleanupKey = "Software\\Kavelin Ver 2.0\\Cleanup";

constexpr regvalues::DwordValue<CCleanupAdvanced> kValues[] = {
    {"_BROWSER_EXIT", &CCleanupAdvanced::mBrowserExit},
    {"_WINDOWS_EXIT", &CCleanupAdvanced::mWindowsExit},
    {"_WINDOWS_START", &CCleanupAdvanced::mWindowsStart},
};

// Replaces cleanupKey with the fixed key; false (key untouched) when the
// fixed key cannot be made.
bool SwitchToFixedKey(platform::RegKey& cleanupKey) {
    platform::RegKey fixed;
    if (fixed.Create(platform::HKEY_CURRENT_USER, kFixedCleanupKey) != platform::ERROR_SUCCESS) {
        return false;
    }
    cleanupKey.Close();
    cleanupKey = fixed;
    return true;
}

}  // namespace

void CCleanupAdvanced::Clear() {
    mBrowserExit = 0;
    mWindowsExit = 0;
    mWindowsStart = 0;
}

void CCleanupAdvanced::SetToPersonalDefaults() { Clear(); }

bool CCleanupAdvanced::SetRegistry(platform::RegKey& cleanupKey) const {
    if (!SwitchToFixedKey(cleanupKey)) return false;
    regvalues::WriteDWORDs(cleanupKey, *this, kValues);
    return true;
}

bool CCleanupAdvanced::QueryRegistry(platform::RegKey& cleanupKey) {
    if (!SwitchToFixedKey(cleanupKey)) return false;
    regvalues::ReadDWORDs(cleanupKey, *this, kValues);
    return true;
}
