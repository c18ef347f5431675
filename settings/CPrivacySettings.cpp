#include "settings/CPrivacySettings.h"

#include "settings/CRegHelper.h"
#include "settings/RegValues.h"
#include "settings/TextLimits.h"

namespace {

constexpr const char* kSubKey = "Privacy";
constexpr const char* kListenerType = "_LISTENER_TYPE";
constexpr const char* kUserIP = "_USER_IP";
constexpr const char* kListenerIP = "_LISTENER_IP";
constexpr platform::DWORD kDefaultListenerType = 2;  // HTTP

// Write order; the listener type goes right after the listener port.
constexpr regvalues::DwordValue<CPrivacySettings> kValues[] = {
    {"_ENABLE_IP_SHIELDING", &CPrivacySettings::mEnableIPShielding},
    {"_ENABLE_PROXY_CHAIN", &CPrivacySettings::mEnableProxyChain},
    {"_CHAIN_LENGTH", &CPrivacySettings::mChainLength},
    {"_CHAIN_TIMER", &CPrivacySettings::mChainTimer},
    {"_PROXY_BEST_CHOICE", &CPrivacySettings::mProxyBestChoice},
    {"_USER_TYPE", &CPrivacySettings::mUserType},
    {"_USER_PORT", &CPrivacySettings::mUserPort},
    {"_LISTENER_PORT", &CPrivacySettings::mListenerPort},
    {kListenerType, &CPrivacySettings::mListenerType},
    {"_USE_PRIVATE_PROXIES", &CPrivacySettings::mUsePrivateProxies},
    {"_MIN_CHECK_TIME", &CPrivacySettings::mMinCheckTime},
};

}  // namespace

void CPrivacySettings::SetToMaximumProtection() {
    mEnableIPShielding = 1;
    mEnableProxyChain = 1;
    mProxyBestChoice = 1;
    mUsePrivateProxies = 1;
    mChainLength = 2;
    mMinCheckTime = 7;
}

void CPrivacySettings::SetToMediumProtection() {
    mEnableIPShielding = 1;
    mEnableProxyChain = 1;
    mProxyBestChoice = 1;
    mUsePrivateProxies = 1;
    mChainLength = 1;
}

void CPrivacySettings::SetToMinimumProtection() {
    mEnableIPShielding = 1;
    mEnableProxyChain = 0;
    mProxyBestChoice = 1;
    mUsePrivateProxies = 1;
    mMinCheckTime = 14;
}

bool CPrivacySettings::SetRegistry(const platform::RegKey& root) const {
    platform::RegKey key;
    if (key.Create(root, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::WriteDWORDs(key, *this, kValues);
    key.SetStringValue(kUserIP, mUserIP);
    key.SetStringValue(kListenerIP, mListenerIP);
    return true;
}

bool CPrivacySettings::QueryRegistry(const platform::RegKey& root) {
    mUsePrivateProxies = 1;
    mMinCheckTime = 7;
    platform::RegKey key;
    if (key.Open(root, kSubKey) != platform::ERROR_SUCCESS) return true;
    mListenerType = kDefaultListenerType;
    regvalues::ReadDWORDs(key, *this, kValues);
    CRegHelper::utl_QueryStringValue(key, kUserIP, mUserIP, textlimits::kAddress);
    CRegHelper::utl_QueryStringValue(key, kListenerIP, mListenerIP, textlimits::kAddress);
    return true;
}
