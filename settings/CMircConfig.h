#pragma once
// mIRC: the [socks] section of mirc.ini in mIRC's own folder, which its
// uninstall entry names; backup [backup folder]\mirc.ini.

#include "common/eProxyType.h"
#include "settings/CCnfRegUtil.h"

class CMircConfig : public CCnfRegUtil {
public:
    virtual ~CMircConfig() = default;

    // Rewrites the [socks] section with the port and the listener's method
    // (no address). 1, with nothing written, when mIRC's folder is unknown
    // or mirc.ini cannot be written.
    long SetToKV(eProxyType type, int, const char* startingAddress, unsigned int port, const char* address);
    // An exact copy of mirc.ini, or a note that there was none
    // (configfiles::BackUpFile), and its way back. 0, doing nothing, when
    // mIRC's folder is unknown; 1 when either cannot be done.
    long Backup();
    long Restore();
    // 1 when the uninstall entry names mIRC's folder.
    int IsInstalled();
};
