#pragma once
// Yahoo! Messenger: its proxy values under HKCU\Software\Yahoo\Pager.

#include <string>

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"
#include "settings/ConfigValues.h"

class CYahooConfig : public CCnfRegUtil {
public:
    virtual ~CYahooConfig() = default;

    // 1 when Yahoo's key is missing, the address is too long to hold or the
    // save fails.
    long SetToKV(eProxyType type, const char* address, unsigned long port);
    // The backup key (made when missing) holds Yahoo's proxy values exactly,
    // zeros and empty texts included, and the restore gives exactly those
    // back. 1 when either cannot be stored; a restore without a backup
    // changes nothing.
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
