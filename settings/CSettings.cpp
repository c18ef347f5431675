#include "settings/CSettings.h"

#include <optional>

#include "platform/ProgramLog.h"
#include "settings/TextLimits.h"

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

// What cannot be read back whole: the first text of the object that does not
// fit the buffer it is read with, or nothing.
std::optional<std::string> FirstUnstorableText(const CSettings& s) {
    const struct {
        const char* name;
        const std::string& text;
        platform::DWORD buffer;
    } texts[] = {
        {"_BLOCK_STR_TITLE", s.getFiltrationSettings()->mInFiltration.mBlockTitle, textlimits::kTitle},
        {"_USER_IP", s.getPrivacySettings()->mUserIP, textlimits::kAddress},
        {"_LISTENER_IP", s.getPrivacySettings()->mListenerIP, textlimits::kAddress},
        {"_STARTING_IP", s.getGeneralSettings()->mStartingIP, textlimits::kAddress},
        {"_FIRE_WALL_IP", s.getGeneralSettings()->mFireWallIP, textlimits::kAddress},
        {"_AUTO_KAZAA_SERVER_ADDRESS", s.getSysConfig()->mAutoKazaaServerAddress, textlimits::kAddress},
        {"_AUTO_KAZAA_SERVER_USR_NAME", s.getSysConfig()->mAutoKazaaServerUserName, textlimits::kAddress},
        {"_AUTO_KAZAA_SERVER_USR_PWD", s.getSysConfig()->mAutoKazaaServerPassword, textlimits::kPassword},
        {"_URL_SOURCE", s.getHunterSettings()->mURL, textlimits::kHunterUrl},
        {"_LOCAL_URL", s.getHunterSettings()->mLocalURL, textlimits::kHunterUrl},
        {"_KAVELIN_URL", s.getHunterSettings()->mKavelinURL, textlimits::kHunterUrl},
    };
    for (const auto& t : texts) {
        if (t.text.size() >= t.buffer) {
            return std::string(t.name) + " holds " + std::to_string(t.text.size()) + " characters, and at most " +
                   std::to_string(t.buffer - 1) + " can be read back";
        }
    }
    const CFiltrationSettings& filtration = *s.getFiltrationSettings();
    const struct {
        const char* name;
        const std::vector<std::string>& list;
    } lists[] = {
        {"AllowedServerList", filtration.mInFiltration.mBanners.mAllowedServerList},
        {"BlockedServerList", filtration.mInFiltration.mBanners.mBlockedServerList},
        {"CustomServerList", filtration.mInFiltration.mBanners.mCustomServerList},
        {"ServerStopList", filtration.mOutFiltration.mServerStopList},
    };
    for (const auto& l : lists) {
        for (const std::string& entry : l.list) {
            if (entry.size() >= textlimits::kListEntry) {
                return std::string(l.name) + " holds an entry of " + std::to_string(entry.size()) +
                       " characters, and at most " + std::to_string(textlimits::kListEntry - 1) +
                       " can be read back";
            }
        }
    }
    return std::nullopt;
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
    // A text longer than its read-back buffer would come back empty at the
    // next read: nothing is stored rather than that.
    if (const auto text = FirstUnstorableText(*this)) {
        platform::LogNotice("The settings were not stored: " + *text);
        return false;
    }
    platform::RegistryBatch batch;
    bool written = true;
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
    } catch (...) {
        written = false;
    }
    // A save that fails (a full disk) leaves the old file and says so.
    return batch.Commit() == platform::ERROR_SUCCESS && written;
}

bool CSettings::QueryRegistry() {
    EnsureRunningApp();
    platform::RegistryBatch batch;   // one save of the hive; reading creates missing keys
    platform::RegKey root;
    if (root.Open(platform::HKEY_CURRENT_USER, RootPath(), kRootAccess) != platform::ERROR_SUCCESS) {
        // First run: the defaults, with the shipped lists, become the stored
        // settings.
        mFiltrationSettings.LoadDefaultLists();
        const bool written = SetRegistry();
        return batch.Commit() == platform::ERROR_SUCCESS && written;
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
