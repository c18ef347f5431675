#include "settings/CCleanupSettings.h"

namespace {
constexpr const char* kSubKey = "Cleanup";
}  // namespace

void CCleanupSettings::Clear() {
    mCleanupAdvanced.Clear();
    mCleanupSys.Clear();
    mCleanupInternet.Clear();
}

void CCleanupSettings::SetAdvanceSettings(bool on) {
    mCleanupAdvanced.mBrowserExit = on;
    mCleanupAdvanced.mWindowsExit = on;
    mCleanupAdvanced.mWindowsStart = on;
}

void CCleanupSettings::SetInternetSettings(bool on) {
    CCleanupInternet& c = mCleanupInternet;
    c.mAutoForms = c.mAutoPass = c.mCookies = c.mFavourites = c.mHistory = c.mTempFiles = c.mURLs = on;
}

void CCleanupSettings::SetSystemSettings(bool on) {
    CCleanupSys& c = mCleanupSys;
    c.mRun = c.mFindComp = c.mFindFile = c.mTelnet = c.mLogin = c.mNetwork = c.mRecycle = c.mTemp =
        c.mRecent = on;
}

void CCleanupSettings::SetToPersonalDefaults() {
    SetAdvanceSettings(false);
    mCleanupSys.mAll = 0;
    mCleanupSys.SetToPersonalDefaults();
}

void CCleanupSettings::SetToMaximumProtection() {
    mCleanupAdvanced.mBrowserExit = 1;
    mCleanupAdvanced.mWindowsExit = 0;
    mCleanupAdvanced.mWindowsStart = 0;
    SetInternetSettings(true);
    mCleanupInternet.mFavourites = 0;
    SetSystemSettings(false);
}

void CCleanupSettings::SetToMediumProtection() {
    SetAdvanceSettings(false);
    SetInternetSettings(false);
    SetSystemSettings(false);
}

void CCleanupSettings::SetToMinimumProtection() {
    SetAdvanceSettings(false);
    SetInternetSettings(false);
    SetSystemSettings(false);
}

bool CCleanupSettings::SetRegistry(const platform::RegKey& root) const {
    platform::RegKey cleanup;
    if (cleanup.Create(root, kSubKey) != platform::ERROR_SUCCESS) return false;
    // Without the fixed key the advanced flags go nowhere and the groups
    // stay below root\Cleanup.
    mCleanupAdvanced.SetRegistry(cleanup);
    mCleanupSys.SetRegistry(cleanup);
    mCleanupInternet.SetRegistry(cleanup);
    return true;
}

bool CCleanupSettings::QueryRegistry(const platform::RegKey& root) {
    platform::RegKey cleanup;
    if (cleanup.Create(root, kSubKey) != platform::ERROR_SUCCESS) return false;
    mCleanupAdvanced.QueryRegistry(cleanup);
    mCleanupSys.QueryRegistry(cleanup);
    mCleanupInternet.QueryRegistry(cleanup);
    return true;
}
