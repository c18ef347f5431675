#pragma once
// CuteFTP 5: its firewall and SOCKS values under
// HKCU\Software\GlobalSCAPE\CuteFTP 5.0\CuteFTP.

#include <string>

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"
#include "settings/ConfigValues.h"

class CCuteFtpConfig : public CCnfRegUtil {
public:
    virtual ~CCuteFtpConfig() = default;

    // Writes the three values of the listener type directly (zeros
    // included), in one registry save. E_FAIL when CuteFTP's key is missing;
    // 1 when a write fails, the address is too long, or the type is none of
    // 2, 4 and 5 (nothing is then written).
    long SetToKV(const char* address, unsigned int port, eProxyType type);
    // Reads CuteFTP's firewall host, port and type (6 given back as 4) and
    // copies them into the backup key as "cuteFireHost", "CuteFirePort" and
    // "CuteFireType". 0 when all three were read and the type was written.
    long SetToKV(std::string& host, unsigned long& port, eProxyType& type);
    // The backup key (made when missing) holds CuteFTP's six values
    // exactly, zeros and empty texts included, and the restore gives
    // exactly those back. 1 when either cannot be stored; a restore without
    // a backup changes nothing.
    long Backup();
    long Restore();
    int IsInstalled();

private:
    static configvalues::Table<CCuteFtpConfig> Values();

    std::string m_FireHost;
    platform::DWORD m_FirePort = 0;
    platform::DWORD m_FireType = 0;
    std::string m_SocksHost;
    platform::DWORD m_SocksType = 0;
    platform::DWORD m_SocksPort = 0;
};
