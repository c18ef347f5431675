#pragma once
// The privacy section: listener, chain and user-proxy settings. Only the
// check time has accessors; other modules use the fields by name, and the
// setup wizard's layout relies on their order.

#include <cstddef>
#include <string>
#include <type_traits>

#include "platform/Registry.h"
#include "platform/Types.h"

class CPrivacySettings {
public:
    platform::DWORD getMinCheckTime() const { return mMinCheckTime; }
    void setMinCheckTime(platform::DWORD value) { mMinCheckTime = value; }

    void SetToMaximumProtection();
    void SetToMediumProtection();
    void SetToMinimumProtection();

    bool SetRegistry(const platform::RegKey& root) const;
    bool QueryRegistry(const platform::RegKey& root);

    platform::DWORD mEnableIPShielding = 0;   // _ENABLE_IP_SHIELDING
    platform::DWORD mEnableProxyChain = 0;    // _ENABLE_PROXY_CHAIN
    platform::DWORD mChainLength = 1;         // _CHAIN_LENGTH (hops)
    platform::DWORD mChainTimer = 10;         // _CHAIN_TIMER
    platform::DWORD mProxyBestChoice = 0;     // _PROXY_BEST_CHOICE
    platform::DWORD mUserType = 0;            // _USER_TYPE (an eProxyType)
    platform::DWORD mUserPort = 80;           // _USER_PORT
    platform::DWORD mListenerPort = 8082;     // _LISTENER_PORT
    platform::DWORD mUsePrivateProxies = 1;   // _USE_PRIVATE_PROXIES
    platform::DWORD mMinCheckTime = 7;        // _MIN_CHECK_TIME
    platform::DWORD mListenerType = 2;        // _LISTENER_TYPE (2 HTTP, 4 SOCKS4, 5 SOCKS5, 6 general)
    std::string mUserIP = "127.0.0.1";        // _USER_IP
    std::string mListenerIP = "127.0.0.1";    // _LISTENER_IP
};

static_assert(std::is_standard_layout_v<CPrivacySettings>);
static_assert(offsetof(CPrivacySettings, mEnableIPShielding) == 0 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mEnableProxyChain) == 1 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mChainLength) == 2 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mChainTimer) == 3 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mProxyBestChoice) == 4 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mUserType) == 5 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mUserPort) == 6 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mListenerPort) == 7 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mUsePrivateProxies) == 8 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mMinCheckTime) == 9 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mListenerType) == 10 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mUserIP) >= 11 * sizeof(platform::DWORD));
static_assert(offsetof(CPrivacySettings, mListenerIP) > offsetof(CPrivacySettings, mUserIP));
