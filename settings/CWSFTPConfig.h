#pragma once
// WS_FTP Pro: the [firewall] section of [Program Files]\WS_FTP\WS_FTP.ini.
// Its backup, [backup folder]\firewall.ini, is a copy of that same file, so
// that a restore undoes what SetToKV wrote.

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"

class CWSFTPConfig : public CCnfRegUtil {
public:
    virtual ~CWSFTPConfig() = default;

    // Rewrites the [firewall] section for 127.0.0.1 and the port, whatever
    // the listener type. E_FAIL when WS_FTP is not installed; 1 when
    // WS_FTP.ini cannot be written.
    long SetToKV(int, const char* startingAddress, unsigned int port, eProxyType type);
    // An exact copy of WS_FTP.ini, or a note that there was none
    // (configfiles::BackUpFile), and its way back. Backup: 1 when WS_FTP's
    // uninstall entry has no readable "UninstallString"; both: 1 when they
    // cannot be done.
    long Backup();
    long Restore();
    int IsInstalled();
};
