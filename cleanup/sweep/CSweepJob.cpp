#include "cleanup/sweep/CSweepJob.h"

#include <sys/stat.h>

#include "cleanup/CTraceSweeper.h"
#include "platform/Autostart.h"
#include "platform/InstanceLock.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "settings/CCleanupSettings.h"

namespace {

constexpr const char* kSettingsRoot = "Software\\Kavelin Ver 2.0";
constexpr const char* kCleanupKey = "Software\\Kavelin Ver 2.0\\Cleanup";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "KVSweep";
constexpr const char* kLockName = "KVSweep";

struct SysItem {
    platform::DWORD CCleanupSys::*flag;
    unsigned long item;
};

constexpr SysItem kSysItems[] = {
    {&CCleanupSys::mRun, CI_RUN_MRU},
    {&CCleanupSys::mFindComp, CI_FIND_COMPUTER},
    {&CCleanupSys::mNetwork, CI_NETWORK},
    {&CCleanupSys::mTelnet, CI_TELNET},
    {&CCleanupSys::mLogin, CI_LAST_LOGON},
    {&CCleanupSys::mFindFile, CI_FIND_FILES},
    {&CCleanupSys::mRecycle, CI_RECYCLE_BIN},
    {&CCleanupSys::mTemp, CI_TEMP_SYS_FILES},
    {&CCleanupSys::mRecent, CI_RECENT_FOLDER},
};

struct InternetItem {
    platform::DWORD CCleanupInternet::*flag;
    unsigned long item;
};

constexpr InternetItem kInternetItems[] = {
    {&CCleanupInternet::mTempFiles, CI_TEMP_INTERNET_FILES},
    {&CCleanupInternet::mCookies, CI_COOKIES},
    {&CCleanupInternet::mHistory, CI_URL_HISTORY},
    {&CCleanupInternet::mAutoForms, CI_AUTO_FORMS},
    {&CCleanupInternet::mAutoPass, CI_AUTO_PASS},
    {&CCleanupInternet::mFavourites, CI_FAVORITES},
    {&CCleanupInternet::mURLs, CI_TYPED_URLS},
};

// Browser traces are cleaned for all three browsers: the cleaner starts on
// the last close of any of them, and a browser that is not there has
// nothing to remove.
constexpr unsigned long kAllBrowsers = CB_IE | CB_NETSCAPE | CB_OPERA;

}  // namespace

unsigned long CSweepJob::ItemsOf(const CCleanupSettings& settings) {
    unsigned long items = 0;
    for (const SysItem& row : kSysItems)
        if (settings.mCleanupSys.*row.flag != 0) items |= row.item;
    for (const InternetItem& row : kInternetItems)
        if (settings.mCleanupInternet.*row.flag != 0) items |= row.item;
    return items;
}

bool CSweepJob::Clean() {
    const platform::InstanceLock lock(kLockName);
    if (!lock.IsHeld()) return false;
    // No stored cleanup choices, nothing to clean; reading creates no key.
    platform::RegKey cleanup;
    if (cleanup.Open(platform::HKEY_CURRENT_USER, kCleanupKey, platform::KEY_READ) != platform::ERROR_SUCCESS)
        return true;
    platform::RegKey root;
    CCleanupSettings settings;
    if (root.Open(platform::HKEY_CURRENT_USER, kSettingsRoot) != platform::ERROR_SUCCESS ||
        !settings.QueryRegistry(root))
        return true;
    CTraceSweeper().Clean(ItemsOf(settings), kAllBrowsers);
    return true;
}

bool CSweepJob::RootIsUsable() {
    struct stat st {};
    return ::stat(platform::UserRoot().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The Run value, and the desktop's autostart entry that makes it start.
bool CSweepJob::RegisterAtStart(const std::string& programPath) {
    platform::RegKey run;
    return run.Create(platform::HKEY_CURRENT_USER, kRunKey) == platform::ERROR_SUCCESS &&
           run.SetStringValue(kRunValue, programPath) == platform::ERROR_SUCCESS &&
           platform::WriteAutostartEntry(kRunValue, programPath);
}

bool CSweepJob::UnregisterAtStart() {
    const bool entryGone = platform::RemoveAutostartEntry(kRunValue);
    platform::RegKey run;
    if (run.Open(platform::HKEY_CURRENT_USER, kRunKey) != platform::ERROR_SUCCESS) return entryGone;
    const platform::LONG result = run.DeleteValue(kRunValue);
    return entryGone && (result == platform::ERROR_SUCCESS || result == platform::ERROR_FILE_NOT_FOUND);
}
