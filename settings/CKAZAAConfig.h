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
    // hold or a save that fails.
    long SetToKV(eProxyType type, const char* address, unsigned long port, const char* userName,
                 const char* password);
    // The backup holds Kazaa's values exactly and the restore gives exactly
    // those back. -1 when either cannot be stored; a restore without a
    // backup changes nothing.
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
