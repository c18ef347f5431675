#include "settings/CSettings.h"

std::string CSettings::mRunningApp = kDefaultRunningApp;
eAppName CSettings::mAppName = eKavelinP;

namespace {

constexpr platform::REGSAM kRootAccess =
    platform::KEY_READ | platform::KEY_SET_VALUE | platform::KEY_CREATE_SUB_KEY;

std::string RootPath() { return "SOFTWARE\\" + CSettings::mRunningApp; }

// An empty name would put the sections straight below HKCU\SOFTWARE.
void EnsureRunningApp() {
    if (CSettings::mRunningApp.empty()) CSettings::mRunningApp = kDefaultRunningApp;
}

}  // namespace

CSettings::CSettings() { SetToMediumProtection(); }

void CSettings::SetToMaximumProtection() {
    mCleanupSettings.SetToMaximumProtection();
    mFiltrationSettings.SetToMaximumProtection();
    mPrivacySettings.SetToMaximumProtection();
    mGnrlSettings.SetToMaximumProtection();
    mSysConfig.SetToMaximumProtection();
}

void CSettings::SetToMediumProtection() {
    mCleanupSettings.SetToMediumProtection();
    mFiltrationSettings.SetToMediumProtection();
    mPrivacySettings.SetToMediumProtection();
    mGnrlSettings.SetToMediumProtection();
    mSysConfig.SetToMediumProtection();
}

void CSettings::SetToMinimumProtection() {
    mCleanupSettings.SetToMinimumProtection();
    mFiltrationSettings.SetToMinimumProtection();
    mPrivacySettings.SetToMinimumProtection();
    mGnrlSettings.SetToMinimumProtection();
    mSysConfig.SetToMinimumProtection();
}

void CSettings::SetToPersonalDefaults() {
    mCleanupSettings.SetToPersonalDefaults();
    mGnrlSettings.setStartingPort(8082);
    mSysConfig.ResetToDefault();
    mHunterSettings.SetDefaultHunterSettings();
}

bool CSettings::SetRegistry() {
    EnsureRunningApp();
    const platform::RegistryBatch batch;
    try {
        // A root that cannot be made leaves the key closed: the sections
        // then write nothing and the hunter section reports the failure.
        platform::RegKey root;
        root.Create(platform::HKEY_CURRENT_USER, RootPath(), kRootAccess);
        mCleanupSettings.SetRegistry(root);
        mFiltrationSettings.SetRegistry(root);
        mPrivacySettings.SetRegistry(root);
        mGnrlSettings.SetRegistry(root);
        mSysConfig.SetRegistry(root);
        mHunterSettings.SetRegistry(root);
        return true;
    } catch (...) {
        return false;
    }
}

bool CSettings::QueryRegistry() {
    EnsureRunningApp();
    const platform::RegistryBatch batch;   // reading creates missing keys
    platform::RegKey root;
    if (root.Open(platform::HKEY_CURRENT_USER, RootPath(), kRootAccess) != platform::ERROR_SUCCESS) {
        // First run: the defaults, with the shipped lists, become the stored
        // settings.
        mFiltrationSettings.LoadDefaultLists();
        return SetRegistry();
    }
    try {
        mCleanupSettings.QueryRegistry(root);
        mFiltrationSettings.QueryRegistry(root);
        mPrivacySettings.QueryRegistry(root);
        mGnrlSettings.QueryRegistry(root);
        mSysConfig.QueryRegistry(root);
        mHunterSettings.QueryRegistry(root);
        return true;
    } catch (...) {
        return false;
    }
}
