#pragma once
// MSN Messenger: its proxy values under HKCU\Software\Microsoft\MSNMessenger.

#include <string>

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"
#include "settings/ConfigValues.h"

class CMSNConfig : public CCnfRegUtil {
public:
    virtual ~CMSNConfig() = default;

    // Points MSN at address:port in the form the listener type needs, in
    // one registry save. -1 when MSN's key is missing; 1 for an address too
    // long to hold or a save that fails.
    long SetToKV(eProxyType type, const char* address, unsigned long port);
    // The backup holds MSN's proxy values exactly ("ProxyState" and zeros
    // included), and the restore gives exactly those back. -1 when either
    // cannot be stored; a restore without a backup changes nothing.
    long Backup();
    long Restore();
    int IsInstalled();

private:
    static configvalues::Table<CMSNConfig> Values();

    platform::DWORD m_ProxyType = 0;
    platform::DWORD m_HTTPPort = 0;
    platform::DWORD m_SOCKS4Port = 0;
    platform::DWORD m_SOCKS5Port = 0;
    platform::DWORD m_ProxyState = 0;
    std::string m_HTTPProxy;
    std::string m_SOCKS4Server;
    std::string m_SOCKS5Server;
};
