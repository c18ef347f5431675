#pragma once
// Opera 7: the [Proxy] section of [AppData]\Opera\Opera7\profile\opera6.ini;
// backup [backup folder]\opera.bak.

#include <string>

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"

class COperaConfig : public CCnfRegUtil {
public:
    virtual ~COperaConfig() = default;

    // Rewrites the [Proxy] section. E_FAIL, with nothing written, when the
    // INI's path is unknown (Opera not installed); 1 when it cannot be read
    // or written.
    long SetToKV(eProxyType type, const char* address, unsigned long port);
    // An exact copy of opera6.ini, or a note that there was none
    // (configfiles::BackUpFile), and its way back. E_FAIL when Opera is not
    // installed; 1 when either cannot be done.
    long Backup();
    long Restore();
    // Also sets both paths.
    int IsInstalled();
    void SetOperaFileName();
    void SetOperaBackupFileName();

private:
    std::string m_OperaFileName;
    std::string m_OperaBackupFileName;
};
