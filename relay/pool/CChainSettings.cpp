#include "relay/pool/CChainSettings.h"

#include "relay/pool/IPoolHost.h"
#include "settings/CSettings.h"

CChainSettings::CChainSettings() = default;

CChainSettings& CChainSettings::operator=(CSettings& settings) {
    CPrivacySettings& privacy = *settings.getPrivacySettings();
    const CGnrlSettings& general = *settings.getGeneralSettings();

    m_UseSingleProxy = false;
    m_SingleProxy.Clear();
    m_FireWallProxy.Clear();

    m_BehindFirewall = general.mBehindFireWall != 0;
    if (m_BehindFirewall) {
        m_FireWallProxy.Set(general.getFireWallIP(), static_cast<int>(general.mFireWallPort),
                            static_cast<eProxyType>(general.mFireWallType));
    }

    const int userPort = static_cast<int>(privacy.mUserPort);
    const eProxyType userType = static_cast<eProxyType>(privacy.mUserType);
    if (privacy.mEnableIPShielding) {
        m_ProxyChoice = PROXY_CHOICE_CHAIN;
        if (privacy.mEnableProxyChain) {
            m_SecCount = static_cast<int>(privacy.mChainTimer);
        } else if (privacy.mProxyBestChoice) {
            privacy.mChainLength = 1;
            m_SecCount = 0;
        } else if (privacy.mUserIP != "127.0.0.1") {
            privacy.mChainLength = 1;
            m_ProxyChoice = PROXY_CHOICE_SINGLE;
            m_SingleProxy.Set(privacy.mUserIP.c_str(), userPort, userType);
        } else if (privacy.mUserPort == privacy.mListenerPort) {
            // The user's proxy would be the relay itself.
            privacy.mProxyBestChoice = 1;
            privacy.mChainLength = 1;
            m_SecCount = 0;
        } else {
            privacy.mChainLength = 1;
            m_ProxyChoice = PROXY_CHOICE_SINGLE;
            m_SingleProxy.Set("127.0.0.1", userPort, userType);
        }
    } else {
        privacy.mChainLength = 0;
    }

    m_ListenerType = static_cast<eProxyType>(privacy.mListenerType);
    m_ChainLength = static_cast<int>(privacy.mChainLength);
    m_UsePrivateProxies = privacy.mUsePrivateProxies != 0;
    GetPoolHost().SetListenerType(m_ListenerType);
    return *this;
}

int CChainSettings::getChainLength() const {
    const CPrivacySettings privacy = GetPoolHost().GetPrivacySettings();
    if (!privacy.mEnableIPShielding) return 0;
    return privacy.mEnableProxyChain ? m_ChainLength : 1;
}
