#pragma once
// Kazaa: its SOCKS server values under HKCU\Software\Kazaa\Socks.

#include <string>

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"
#include "settings/ConfigValues.h"

class CKAZAAConfig : public CCnfRegUtil {
public:
    virtual ~CKAZAAConfig() = default;

    // SOCKS5 and general listeners get the server; any other type deletes
    // every value. -1 when Kazaa's key is missing; 1 for a text too long to
    // hold.
    long SetToKV(eProxyType type, const char* address, unsigned long port, const char* userName,
                 const char* password);
    long Backup();
    long Restore();
    int IsInstalled();

private:
    static configvalues::Table<CKAZAAConfig> Values();

    platform::DWORD m_Enabled = 0;
    platform::DWORD m_ServerPort = 0;
    platform::DWORD m_UseAuthentication = 0;
    std::string m_UserName;
    std::string m_Password;
    std::string m_ServerAddress;
};
