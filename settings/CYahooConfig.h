#pragma once
// Yahoo! Messenger: its proxy values under HKCU\Software\Yahoo\Pager.

#include <string>

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"
#include "settings/ConfigValues.h"

class CYahooConfig : public CCnfRegUtil {
public:
    virtual ~CYahooConfig() = default;

    // 1 when Yahoo's key is missing or the address is too long to hold.
    long SetToKV(eProxyType type, const char* address, unsigned long port);
    // Stores every value in the backup key (made when missing), zeros and
    // empty texts included.
    long Backup();
    long Restore();
    int IsInstalled();

private:
    static configvalues::Table<CYahooConfig> Values();

    platform::DWORD m_ConnectionState = 0;
    platform::DWORD m_ProxyPort = 0;
    platform::DWORD m_ProxyEnabled = 0;
    platform::DWORD m_SocksEnabled = 0;
    platform::DWORD m_SocksVersion = 0;
    platform::DWORD m_SocksPort = 0;
    std::string m_HTTPProxy;
    std::string m_SocksServer;
};
