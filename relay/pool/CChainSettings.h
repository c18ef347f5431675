#pragma once
// The chain configuration the engine derives from the user's settings (one
// instance in the engine facade), read by the chain-setup workers and the
// pool.

#include <string>

#include "common/eProxyType.h"
#include "platform/Types.h"
#include "relay/pool/CProxy.h"

class CSettings;

// Where chain members come from: 1025 and 1026 pick them from the pool,
// 1027 uses the one configured single proxy.
enum eProxyChoice : int {
    PROXY_CHOICE_POOL = 1025,
    PROXY_CHOICE_CHAIN = 1026,
    PROXY_CHOICE_SINGLE = 1027,
};

class CChainSettings {
public:
    CChainSettings();
    CChainSettings(const CChainSettings&) = default;
    CChainSettings& operator=(const CChainSettings&) = default;
    virtual ~CChainSettings() = default;

    // Loads the chain configuration from settings, rewriting the settings'
    // chain length (and best choice) as the load decides, and sets the
    // proxy server's listener kind.
    CChainSettings& operator=(CSettings& settings);

    // 0 while IP shielding is off in the engine's settings; else the stored
    // length when the proxy chain is on, else 1.
    int getChainLength() const;

    bool getMixChain() const { return m_MixChain; }
    void SetMixChain(bool mix) { m_MixChain = mix; }
    int getStoredChainLength() const { return m_ChainLength; }
    void SetChainLength(int length) { m_ChainLength = length; }
    int getSecCount() const { return m_SecCount; }
    void setSecCount(int seconds) { m_SecCount = seconds; }
    eProxyChoice getProxyChoice() const { return m_ProxyChoice; }
    void SetProxyChoice(eProxyChoice choice) { m_ProxyChoice = choice; }
    const std::string& getName() const { return m_Name; }
    void SetName(const std::string& name) { m_Name = name; }
    platform::DWORD getChangingPeroid() const { return m_ChangingPeroid; }
    void SetChangingPeroid(platform::DWORD period) { m_ChangingPeroid = period; }
    eProxyType getListenerType() const { return m_ListenerType; }
    void SetListenerType(eProxyType type) { m_ListenerType = type; }
    bool IsBehindFireWall() const { return m_BehindFirewall; }
    void SetBehindFirewall(bool behind) { m_BehindFirewall = behind; }
    bool UseSingleProxy() const { return m_UseSingleProxy; }
    CProxy& getFireWallProxy() { return m_FireWallProxy; }
    const CProxy& getFireWallProxy() const { return m_FireWallProxy; }
    CProxy& getSingleProxy() { return m_SingleProxy; }
    const CProxy& getSingleProxy() const { return m_SingleProxy; }
    bool getUsePrivateProxies() const { return m_UsePrivateProxies; }
    void SetUsePrivateProxies(bool use) { m_UsePrivateProxies = use; }

private:
    bool m_MixChain = true;
    int m_ChainLength = 0;
    int m_SecCount = 60;
    eProxyChoice m_ProxyChoice = PROXY_CHOICE_CHAIN;
    std::string m_Name;
    platform::DWORD m_ChangingPeroid = 0;
    eProxyType m_ListenerType = PROXY_TYPE_HTTP;
    bool m_BehindFirewall = false;
    bool m_UseSingleProxy = false;
    CProxy m_FireWallProxy;
    CProxy m_SingleProxy;
    bool m_UsePrivateProxies = false;
};
